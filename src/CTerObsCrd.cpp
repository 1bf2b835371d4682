#include "src/CTerObsCrd.h"

std::string CTerObsCrd::Stolpci() const
{
    const bool d3 = Dim == 3;
    return std::string("        TC          X           Y") + (d3 ? "           Z" : "") + "        sX      sY" +
           (d3 ? "      sZ" : "") + (XVel != 0 ? "       T" : "");
}

std::string CTerObsCrd::Enote() const
{
    const bool d3 = Dim == 3;
    return std::string("                   [m]         [m]") + (d3 ? "         [m]" : "") + "      [mm]    [mm]" +
           (d3 ? "    [mm]" : "");
}

std::string CTerObsCrd::Crta() const { return std::string(52 + (Dim == 3 ? 20 : 0) + (XVel != 0 ? 9 : 0), '-'); }
