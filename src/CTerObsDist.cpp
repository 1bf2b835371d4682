#include "src/CTerObsDist.h"

#include "funkcije/Besedila.h"

void CTerObsDist::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    Dim = dim;
    vrsta = &kTerObsVrste[dim == 3 ? kTODist3 : kTODist2];
    Velikost(n, xvel, 1, true);
}

CTerObs::Glava CTerObsDist::GlavaTabele() const
{
    return {std::string(B(Besedilo::GlavaDolzina)) + (XVel != 0 ? B(Besedilo::GlavaEpohaOpazovanja) : ""),
            B(Besedilo::EnoteDvehTock), XVel != 0 ? 50u : 41u};
}
