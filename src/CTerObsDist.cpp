#include "src/CTerObsDist.h"

void CTerObsDist::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    Dim = dim;
    vrsta = &kTerObsVrste[dim == 3 ? kTODist3 : kTODist2];
    Velikost(n, xvel, 1, true);
}

std::string CTerObsDist::Stolpci() const
{
    return std::string("        TC1   TC2        DIST       sDIST") + (XVel != 0 ? "     T  " : "");
}

std::string CTerObsDist::Enote() const { return "                          [m]        [mm]"; }

std::string CTerObsDist::Crta() const { return std::string(XVel != 0 ? 50 : 41, '-'); }
