#include "src/CTerObsCrdA.h"

CTerObsCrdA::CTerObsCrdA() : CTerObsTocke(kTOCrdA)
{
    Dim = 2;
    sirinaHitrosti = 8;
    sirinaZastavice = 5;
}

std::string CTerObsCrdA::Stolpci() const
{
    const bool d3 = Dim == 3;
    std::string s = std::string("        TC          X           Y") + (d3 ? "           Z" : "");
    if (ifVA != 0) s += std::string("      VX      VY") + (d3 ? "      VZ" : "");
    return XVel != 0 ? s + "      VEL" : s;
}

std::string CTerObsCrdA::Enote() const
{
    const bool d3 = Dim == 3;
    std::string s = std::string("                   [m]         [m]") + (d3 ? "         [m]" : "");
    return ifVA != 0 ? s + "     [m]     [m]" + (d3 ? "     [m]" : "") : s;
}

std::string CTerObsCrdA::Crta() const
{
    const std::size_t d3 = Dim == 3 ? 1 : 0;
    return std::string(36 + 12 * d3 + (ifVA != 0 ? 16 + 8 * d3 : 0) + (XVel != 0 ? 6 : 0), '-');
}
