#include "src/CGMMEqHdif.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/NivexAux.h"
#include "src/TerObsGradniki.h"

CGMMEqHdif::CGMMEqHdif(CProcSet& procset_, CTerObsHdif& TOHdif_, CTerObsHA& TOHA_, CTerObsCrdA& TOCrdA_,
                       CGMM& GMM_)
    : procset(procset_), TOHdif(TOHdif_), TOHA(TOHA_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

const CTerObsTocke& CGMMEqHdif::Tocke() const
{
    return procset.GetDim() == 1 ? static_cast<const CTerObsTocke&>(TOHA) : TOCrdA;
}

GMMEqLinKind CGMMEqHdif::Kind() const
{
    const bool v = procset.GetXVel() != 0;
    return {"C: CGMMEqHdif:", " F: SetGMMEq -> Eq#:", " F: PrintGMMEq -> Eq#:", B(Besedilo::EnNaslovVisinskeRazlike),
            2, 1,
            static_cast<long>(procset.GetDim()) - 1,
            {B(v ? Besedilo::EnGlavaVisinskeRazlikeHitrost : Besedilo::EnGlavaVisinskeRazlike)},
            {8, 8}, {10, 8}, 8, 11, 3};
}

void CGMMEqHdif::SetGMMEq()
{
    if (TOHdif.NObs() == 0) return;
    if (procset.GetDim() == 2)
        NivexError(B(Besedilo::NapakaVisinskeRazlikeRavninska));
    GMMEqSetLin(GMM, procset, TOHdif, Tocke(), Kind());
}

void CGMMEqHdif::PrintGMMEq(std::ostream& izhod)
{
    GMMEqPrintLin(izhod, GMM, procset, TOHdif, Tocke(), Kind());
}

std::unique_ptr<CGMMEq> GradiHdif(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqHdif>(p, TO.TOHdif, TO.TOHA, TO.TOCrdA, G);
}
