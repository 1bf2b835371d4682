#include "src/CGMMEqCrd.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/TerObsGradniki.h"

CGMMEqCrd::CGMMEqCrd(CProcSet& procset_, CTerObsCrd& TOCrd_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOCrd(TOCrd_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqLinKind CGMMEqCrd::Kind() const
{
    const int Dim = procset.GetDim();
    const bool v = procset.GetXVel() != 0;
    std::vector<std::string> glava = {B(v ? Besedilo::EnGlavaKoordinateHitrostX : Besedilo::EnGlavaKoordinateX),
                                      B(v ? Besedilo::EnGlavaKoordinateHitrostY : Besedilo::EnGlavaKoordinateY)};
    if (Dim == 3) glava.push_back(B(v ? Besedilo::EnGlavaKoordinateHitrostZ : Besedilo::EnGlavaKoordinateZ));
    return {"C: CGMMEqCrd:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovKoordinate),
            1, Dim, 0,
            glava, {8, 0}, {8, 0}, 24, 11, 2};
}

void CGMMEqCrd::SetGMMEq() { GMMEqSetLin(GMM, procset, TOCrd, TOCrdA, Kind()); }

void CGMMEqCrd::PrintGMMEq(std::ostream& izhod) { GMMEqPrintLin(izhod, GMM, procset, TOCrd, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiCrd(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqCrd>(p, TO.TOCrd, TO.TOCrdA, G);
}
