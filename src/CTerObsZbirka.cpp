#include "src/CTerObsZbirka.h"

#include <utility>

#include "src/CProcSet.h"
#include "src/TerObsGradniki.h"

const CTerObs& CTerObsZbirka::Set(TerObsSet s) const
{
    const CTerObs* const sets[kTOSetov] = {&TOHA,  &TOCrdA, &TOCrd,   &TOVec,   &TODir, &TOAngl, &TOZen,
                                           &TOAzi, &TOPara, &TODist2, &TODist3, &TOH,   &TOHdif};
    return *sets[s];
}

CTerObs& CTerObsZbirka::Set(TerObsSet s) { return const_cast<CTerObs&>(std::as_const(*this).Set(s)); }

// The sizes of the record sets, for the table of record kinds.
void VelikostHA(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOHA.SetPar(n, p.GetXVel(), p.GetifVA()); }
void VelikostCrdA(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOCrdA.SetPar(n, p.GetXVel(), p.GetDim(), p.GetifVA()); }
void VelikostCrd(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOCrd.SetPar(n, p.GetXVel(), p.GetDim()); }
void VelikostVec(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOVec.SetPar(n, p.GetXVel(), p.GetDim()); }
void VelikostDir(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TODir.SetPar(n, p.GetXVel(), p.GetAngUnit(), "DIR"); }
void VelikostZen(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOZen.SetPar(n, p.GetXVel(), p.GetAngUnit(), "ZEN"); }
void VelikostAzi(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOAzi.SetPar(n, p.GetXVel(), p.GetAngUnit(), "AZI"); }
void VelikostPara(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOPara.SetPar(n, p.GetXVel(), p.GetAngUnit()); }
void VelikostDist2(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TODist2.SetPar(n, p.GetXVel(), 2); }
void VelikostDist3(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TODist3.SetPar(n, p.GetXVel(), 3); }
void VelikostH(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOH.SetPar(n, p.GetXVel()); }
void VelikostHdif(CTerObsZbirka& TO, const CProcSet& p, unsigned long n) { TO.TOHdif.SetPar(n, p.GetXVel()); }
