#include "src/CTerObsDist.h"

void CTerObsDist::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    Dim = dim;
    vrsta = &kTerObsVrste[dim == 3 ? kTODist3 : kTODist2];
    Velikost(n, xvel, 1, true);
}

CTerObs::Glava CTerObsDist::GlavaTabele() const
{
    return {std::string("        TC1   TC2        DIST       sDIST") + (XVel != 0 ? "     T  " : ""),
            "                          [m]        [mm]", XVel != 0 ? 50u : 41u};
}
