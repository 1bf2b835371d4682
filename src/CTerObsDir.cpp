#include "src/CTerObsDir.h"

#include "funkcije/Besedila.h"
#include "src/NivexAux.h"

void CTerObsDir::SetPar(unsigned long n, unsigned short xvel, const std::string& unit, const std::string& kind)
{
    SetAngUnit(unit);
    if (kind != "DIR" && kind != "ZEN" && kind != "AZI")
        NivexError(B(Besedilo::NapakaNastavitevVrste));
    AngTyp = kind;
    vrsta = &kTerObsVrste[kind == "DIR" ? kTODir : kind == "ZEN" ? kTOZen : kTOAzi];
    Velikost(n, xvel, 1, true);
}

CTerObs::Glava CTerObsDir::GlavaTabele() const
{
    const std::string t = XVel != 0 ? B(Besedilo::GlavaEpohaOpazovanja) : "";
    const Besedilo glava = AngTyp == "ZEN"   ? Besedilo::GlavaZenitneRazdalje
                           : AngTyp == "AZI" ? Besedilo::GlavaAzimuti
                                             : Besedilo::GlavaSmeri;
    return {B(glava) + t,
            "                       " + EnotaKota() + "        " + EnotaOdklona() + std::string(t.size(), ' '),
            XVel != 0 ? 49u : 40u};
}
