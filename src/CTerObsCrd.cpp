#include "src/CTerObsCrd.h"

#include "funkcije/Besedila.h"

CTerObs::Glava CTerObsCrd::GlavaTabele() const
{
    const bool d3 = Dim == 3;
    return {std::string(B(Besedilo::GlavaTockaXY)) + (d3 ? B(Besedilo::GlavaTockaZ) : "") +
                B(Besedilo::GlavaOdkloniXY) + (d3 ? B(Besedilo::GlavaOdklonZ) : "") +
                (XVel != 0 ? B(Besedilo::GlavaEpoha) : ""),
            std::string(B(Besedilo::EnoteTockaXY)) + (d3 ? B(Besedilo::EnotaZ) : "") + B(Besedilo::EnoteOdkloniXY) +
                (d3 ? B(Besedilo::EnotaOdklonZ) : ""),
            52u + (d3 ? 20 : 0) + (XVel != 0 ? 9 : 0)};
}
