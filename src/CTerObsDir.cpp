#include "src/CTerObsDir.h"

#include "src/NivexAux.h"

void CTerObsDir::SetPar(unsigned long n, unsigned short xvel, const std::string& unit, const std::string& kind)
{
    SetAngUnit(unit);
    if (kind != "DIR" && kind != "ZEN" && kind != "AZI")
        NivexError(" **** Nastavitev vrste opazovanj NAPACNO [DIR, ZEN, AZI]!!     *** ");
    AngTyp = kind;
    vrsta = &kTerObsVrste[kind == "DIR" ? kTODir : kind == "ZEN" ? kTOZen : kTOAzi];
    Velikost(n, xvel, 1, true);
}

std::string CTerObsDir::Stolpci() const
{
    return "        TC1   TC2       " + AngTyp + "         s" + AngTyp + (XVel != 0 ? "     T  " : "");
}

std::string CTerObsDir::Enote() const
{
    return "                       " + EnotaKota() + "        " + EnotaOdklona() + (XVel != 0 ? "        " : "");
}

std::string CTerObsDir::Crta() const { return std::string(XVel != 0 ? 49 : 40, '-'); }
