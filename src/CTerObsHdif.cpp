#include "src/CTerObsHdif.h"

std::string CTerObsHdif::Stolpci() const
{
    return std::string("        TC1   TC2         DH         sDH ") + (XVel != 0 ? "     T  " : "");
}

std::string CTerObsHdif::Enote() const { return "                          [m]        [mm]"; }

std::string CTerObsHdif::Crta() const { return std::string(XVel != 0 ? 50 : 41, '-'); }
