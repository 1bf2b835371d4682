#include "src/CGMMEqVec.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsVec.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/TerObsGradniki.h"

CGMMEqVec::CGMMEqVec(CProcSet& procset_, CTerObsVec& TOVec_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOVec(TOVec_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqLinKind CGMMEqVec::Kind() const
{
    const int Dim = procset.GetDim();
    const bool v = procset.GetXVel() != 0;
    std::vector<std::string> glava = {B(v ? Besedilo::EnGlavaVektorjiHitrostX : Besedilo::EnGlavaVektorjiX),
                                      B(v ? Besedilo::EnGlavaVektorjiHitrostY : Besedilo::EnGlavaVektorjiY)};
    if (Dim == 3) glava.push_back(B(v ? Besedilo::EnGlavaVektorjiHitrostZ : Besedilo::EnGlavaVektorjiZ));
    return {"C: CGMMEqVec:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovVektorji),
            2, Dim, 0,
            glava, {8, 8}, {8, 8}, 30, 11, 2};
}

void CGMMEqVec::SetGMMEq() { GMMEqSetLin(GMM, procset, TOVec, TOCrdA, Kind()); }

void CGMMEqVec::PrintGMMEq(std::ostream& izhod) { GMMEqPrintLin(izhod, GMM, procset, TOVec, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiVec(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqVec>(p, TO.TOVec, TO.TOCrdA, G);
}
