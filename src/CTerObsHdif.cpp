#include "src/CTerObsHdif.h"

CTerObs::Glava CTerObsHdif::GlavaTabele() const
{
    return {std::string("        TC1   TC2         DH         sDH ") + (XVel != 0 ? "     T  " : ""),
            "                          [m]        [mm]", XVel != 0 ? 50u : 41u};
}
