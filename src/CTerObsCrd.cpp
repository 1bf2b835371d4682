#include "src/CTerObsCrd.h"

CTerObs::Glava CTerObsCrd::GlavaTabele() const
{
    const bool d3 = Dim == 3;
    return {std::string("        TC          X           Y") + (d3 ? "           Z" : "") + "        sX      sY" +
                (d3 ? "      sZ" : "") + (XVel != 0 ? "       T" : ""),
            std::string("                   [m]         [m]") + (d3 ? "         [m]" : "") + "      [mm]    [mm]" +
                (d3 ? "    [mm]" : ""),
            52u + (d3 ? 20 : 0) + (XVel != 0 ? 9 : 0)};
}
