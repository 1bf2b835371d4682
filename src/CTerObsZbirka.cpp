#include "src/CTerObsZbirka.h"

#include <utility>

const CTerObs& CTerObsZbirka::Set(TerObsSet s) const
{
    const CTerObs* const sets[kTOSetov] = {&TOHA,  &TOCrdA, &TOCrd,   &TOVec,   &TODir, &TOAngl, &TOZen,
                                           &TOAzi, &TOPara, &TODist2, &TODist3, &TOH,   &TOHdif};
    return *sets[s];
}

CTerObs& CTerObsZbirka::Set(TerObsSet s) { return const_cast<CTerObs&>(std::as_const(*this).Set(s)); }
