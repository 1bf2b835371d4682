#include "src/CTerObsCrdA.h"

CTerObsCrdA::CTerObsCrdA() : CTerObsTocke(kTOCrdA)
{
    Dim = 2;
    sirinaHitrosti = 8;
    sirinaZastavice = 5;
}

CTerObs::Glava CTerObsCrdA::GlavaTabele() const
{
    const bool d3 = Dim == 3, va = ifVA != 0;
    std::string s = std::string("        TC          X           Y") + (d3 ? "           Z" : "");
    std::string e = std::string("                   [m]         [m]") + (d3 ? "         [m]" : "");
    if (va) {
        s += std::string("      VX      VY") + (d3 ? "      VZ" : "");
        e += std::string("     [m]     [m]") + (d3 ? "     [m]" : "");
    }
    return {XVel != 0 ? s + "      VEL" : s, e, 36u + (d3 ? 12 : 0) + (va ? (d3 ? 24 : 16) : 0) + (XVel != 0 ? 6 : 0)};
}
