#include "src/CGMMEqDist.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMMEqNelin.h"
#include "src/NivexAux.h"
#include "src/TerObsGradniki.h"

CGMMEqDist::CGMMEqDist(CProcSet& procset_, CTerObsDist& TODist_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TODist(TODist_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqDist::Kind() const
{
    const bool tri = TODist.GetDim() == 3;
    const bool v = procset.GetXVel() != 0;
    const char* c = B(tri ? Besedilo::EnGlavaDolzine3 : Besedilo::EnGlavaDolzine2);
    const char* h = B(tri ? Besedilo::EnGlavaDolzineHitrost3 : Besedilo::EnGlavaDolzineHitrost2);
    return {"C: CGMMEqDist:", " F: SetGMMEq -> Eq#:", " F: PrintGMMEq -> Eq#:",
            B(tri ? Besedilo::EnNaslovProstorskeDolzine : Besedilo::EnNaslovHorizontalneDolzine),
            2, tri ? 3 : 2, false, false, 22, GMMEqNelinGlava(c, h, B(Besedilo::EnGlavaDolzineOdstopanje), v)};
}

void CGMMEqDist::SetGMMEq()
{
    if (TODist.NObs() == 0) return;
    const bool tri = TODist.GetDim() == 3;
    if (tri && procset.GetDim() != 3)
        NivexError(B(Besedilo::NapakaProstorskeDolzineRavninska));
    GMMEqSetNelin(GMM, procset, TODist, TOCrdA, Kind(), [tri](GMMEqNelinVrstica& v) {
        // A slope distance runs from the instrument to the target, each at
        // its height above its mark; a horizontal one is not changed by them.
        const GMMEqNelinRazlika d = tri ? GMMEqVisini(v.Razlika(0, 1, tri), v.TO, v.i) : v.Razlika(0, 1, tri);
        v.F0 = tri ? d.d : d.s;
        real c[3];
        GMMEqDolzinaOdvod(d, tri, c);
        for (int k = 0; k < (tri ? 3 : 2); ++k) {
            v.B[0][k] = c[k];
            v.B[1][k] = -c[k];
        }
    });
}

void CGMMEqDist::PrintGMMEq(std::ostream& izhod) { GMMEqPrintNelin(izhod, GMM, procset, TODist, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiDist2(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqDist>(p, TO.TODist2, TO.TOCrdA, G);
}

std::unique_ptr<CGMMEq> GradiDist3(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqDist>(p, TO.TODist3, TO.TOCrdA, G);
}
