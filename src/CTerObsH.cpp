#include "src/CTerObsH.h"

#include "funkcije/Besedila.h"

CTerObs::Glava CTerObsH::GlavaTabele() const
{
    return {std::string(B(Besedilo::GlavaVisina)) + (XVel != 0 ? B(Besedilo::GlavaEpohaVisine) : ""),
            B(Besedilo::EnoteVisina), XVel != 0 ? 45u : 36u};
}
