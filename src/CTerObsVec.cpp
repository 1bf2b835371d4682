#include "src/CTerObsVec.h"

std::string CTerObsVec::Naslov() const
{
    return std::string("OPAZOVANI ") + (Dim == 3 ? "PROSTORSKI " : "HORIZONTALNI ") + "VEKTORJI:";
}

CTerObs::Glava CTerObsVec::GlavaTabele() const
{
    const bool d3 = Dim == 3;
    return {std::string("        TC1   TC2        DX          DY") + (d3 ? "          DZ" : "") + "       sDX     sDY" +
                (d3 ? "     sDZ" : "") + (XVel != 0 ? "       T" : ""),
            std::string("                         [m]         [m]") + (d3 ? "         [m]" : "") +
                "      [mm]    [mm]" + (d3 ? "    [mm]" : ""),
            58u + (d3 ? 20 : 0) + (XVel != 0 ? 9 : 0)};
}
