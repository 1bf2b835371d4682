#include "src/CTerObsHdif.h"

#include "funkcije/Besedila.h"

CTerObs::Glava CTerObsHdif::GlavaTabele() const
{
    return {std::string(B(Besedilo::GlavaVisinskaRazlika)) + (XVel != 0 ? B(Besedilo::GlavaEpohaOpazovanja) : ""),
            B(Besedilo::EnoteDvehTock), XVel != 0 ? 50u : 41u};
}
