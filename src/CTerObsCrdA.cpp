#include "src/CTerObsCrdA.h"

#include "funkcije/Besedila.h"

CTerObsCrdA::CTerObsCrdA() : CTerObsTocke(kTOCrdA)
{
    Dim = 2;
    sirinaHitrosti = 8;
    sirinaZastavice = 5;
}

CTerObs::Glava CTerObsCrdA::GlavaTabele() const
{
    const bool d3 = Dim == 3, va = ifVA != 0;
    std::string s = std::string(B(Besedilo::GlavaTockaXY)) + (d3 ? B(Besedilo::GlavaTockaZ) : "");
    std::string e = std::string(B(Besedilo::EnoteTockaXY)) + (d3 ? B(Besedilo::EnotaZ) : "");
    if (va) {
        s += std::string(B(Besedilo::GlavaHitrostiXY)) + (d3 ? B(Besedilo::GlavaHitrostZ) : "");
        e += std::string(B(Besedilo::EnoteHitrostiXY)) + (d3 ? B(Besedilo::EnotaHitrostZ) : "");
    }
    return {XVel != 0 ? s + B(Besedilo::GlavaZastavicaHitrosti) : s, e,
            36u + (d3 ? 12 : 0) + (va ? (d3 ? 24 : 16) : 0) + (XVel != 0 ? 6 : 0)};
}
