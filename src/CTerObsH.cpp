#include "src/CTerObsH.h"

CTerObs::Glava CTerObsH::GlavaTabele() const
{
    return {std::string("        TC          H         sH") + (XVel != 0 ? "        T" : ""),
            "                   [m]       [mm]", XVel != 0 ? 45u : 36u};
}
