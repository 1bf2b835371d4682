#include "src/CTerObsHA.h"

#include "funkcije/Besedila.h"

CTerObsHA::CTerObsHA() : CTerObsTocke(kTOHA)
{
    sirinaHitrosti = 10;
    sirinaZastavice = 4;
}

CTerObs::Glava CTerObsHA::GlavaTabele() const
{
    const bool va = ifVA != 0;
    return {std::string(B(Besedilo::GlavaTockaH)) + (va ? B(Besedilo::GlavaHitrostH) : "") +
                (XVel != 0 ? B(Besedilo::GlavaZastavicaHitrostiH) : ""),
            std::string(B(Besedilo::EnotaTockaH)) + (va ? B(Besedilo::EnotaHitrostH) : ""),
            26u + (va ? 10 : 0) + (XVel != 0 ? 5 : 0)};
}
