#include "src/CTerObsVec.h"

#include "funkcije/Besedila.h"

std::string CTerObsVec::Naslov() const
{
    return B(Dim == 3 ? Besedilo::NaslovVektorjiProstorski : Besedilo::NaslovVektorjiHorizontalni);
}

CTerObs::Glava CTerObsVec::GlavaTabele() const
{
    const bool d3 = Dim == 3;
    return {std::string(B(Besedilo::GlavaVektorXY)) + (d3 ? B(Besedilo::GlavaVektorZ) : "") +
                B(Besedilo::GlavaOdkloniVektorXY) + (d3 ? B(Besedilo::GlavaOdklonVektorZ) : "") +
                (XVel != 0 ? B(Besedilo::GlavaEpoha) : ""),
            std::string(B(Besedilo::EnoteVektorXY)) + (d3 ? B(Besedilo::EnotaZ) : "") + B(Besedilo::EnoteOdkloniXY) +
                (d3 ? B(Besedilo::EnotaOdklonZ) : ""),
            58u + (d3 ? 20 : 0) + (XVel != 0 ? 9 : 0)};
}
