#include "src/CGMMEqAzi.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMMEqNelin.h"
#include "src/TerObsGradniki.h"

CGMMEqAzi::CGMMEqAzi(CProcSet& procset_, CTerObsDir& TOAzi_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOAzi(TOAzi_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqAzi::Kind() const
{
    return {"C: CGMMEqAzi:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovAzimuti),
            2, 2, true, true, -1,
            GMMEqNelinGlava(B(Besedilo::EnGlavaAzimuti), B(Besedilo::EnGlavaAzimutiHitrost),
                            B(Besedilo::EnGlavaKotnaOdstopanje), procset.GetXVel() != 0)};
}

void CGMMEqAzi::SetGMMEq()
{
    GMMEqSetNelin(GMM, procset, TOAzi, TOCrdA, Kind(), [](GMMEqNelinVrstica& v) {
        const GMMEqNelinRazlika d = v.Razlika(0, 1, false);
        v.F0 = GMMEqSmer(d);
        real cx, cy;
        GMMEqSmerOdvod(d, cx, cy);
        v.B[0][0] = cx;
        v.B[0][1] = cy;
        v.B[1][0] = -cx;
        v.B[1][1] = -cy;
    });
}

void CGMMEqAzi::PrintGMMEq(std::ostream& izhod) { GMMEqPrintNelin(izhod, GMM, procset, TOAzi, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiAzi(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqAzi>(p, TO.TOAzi, TO.TOCrdA, G);
}
