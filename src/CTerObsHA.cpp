#include "src/CTerObsHA.h"

CTerObsHA::CTerObsHA() : CTerObsTocke(kTOHA)
{
    sirinaHitrosti = 10;
    sirinaZastavice = 4;
}

CTerObs::Glava CTerObsHA::GlavaTabele() const
{
    const bool va = ifVA != 0;
    return {std::string("        TC          H     ") + (va ? "    VH    " : "") + (XVel != 0 ? "  VEL" : ""),
            std::string("                   [m]") + (va ? "        [m]" : ""),
            26u + (va ? 10 : 0) + (XVel != 0 ? 5 : 0)};
}
