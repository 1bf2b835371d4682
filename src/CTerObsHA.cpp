#include "src/CTerObsHA.h"

CTerObsHA::CTerObsHA() : CTerObsTocke(kTOHA)
{
    sirinaHitrosti = 10;
    sirinaZastavice = 4;
}

std::string CTerObsHA::Stolpci() const
{
    return std::string("        TC          H     ") + (ifVA != 0 ? "    VH    " : "") + (XVel != 0 ? "  VEL" : "");
}

std::string CTerObsHA::Enote() const
{
    return std::string("                   [m]") + (ifVA != 0 ? "        [m]" : "");
}

std::string CTerObsHA::Crta() const { return std::string(26 + (ifVA != 0 ? 10 : 0) + (XVel != 0 ? 5 : 0), '-'); }
