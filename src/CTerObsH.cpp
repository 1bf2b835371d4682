#include "src/CTerObsH.h"

std::string CTerObsH::Stolpci() const
{
    return std::string("        TC          H         sH") + (XVel != 0 ? "        T" : "");
}

std::string CTerObsH::Enote() const { return "                   [m]       [mm]"; }

std::string CTerObsH::Crta() const { return std::string(XVel != 0 ? 45 : 36, '-'); }
