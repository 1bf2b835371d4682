#include "src/CGMMEqH.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/NivexAux.h"
#include "src/TerObsGradniki.h"

CGMMEqH::CGMMEqH(CProcSet& procset_, CTerObsH& TOH_, CTerObsHA& TOHA_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOH(TOH_), TOHA(TOHA_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

const CTerObsTocke& CGMMEqH::Tocke() const
{
    return procset.GetDim() == 1 ? static_cast<const CTerObsTocke&>(TOHA) : TOCrdA;
}

GMMEqLinKind CGMMEqH::Kind() const
{
    const bool v = procset.GetXVel() != 0;
    // The height is the last coordinate of a point: column Dim - 1.
    return {"C: CGMMEqH:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovVisine), 1, 1,
            static_cast<long>(procset.GetDim()) - 1,
            {B(v ? Besedilo::EnGlavaVisineHitrost : Besedilo::EnGlavaVisine)},
            {8, 0}, {8, 0}, 8, 11, 2};
}

void CGMMEqH::SetGMMEq()
{
    if (TOH.NObs() == 0) return;
    if (procset.GetDim() == 2) NivexError(B(Besedilo::NapakaVisineRavninska));
    GMMEqSetLin(GMM, procset, TOH, Tocke(), Kind());
}

void CGMMEqH::PrintGMMEq(std::ostream& izhod)
{
    GMMEqPrintLin(izhod, GMM, procset, TOH, Tocke(), Kind());
}

std::unique_ptr<CGMMEq> GradiH(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqH>(p, TO.TOH, TO.TOHA, TO.TOCrdA, G);
}
