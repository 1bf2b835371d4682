#include "src/CGMMEqPara.h"

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMMEqNelin.h"
#include "src/TerObsGradniki.h"

CGMMEqPara::CGMMEqPara(CProcSet& procset_, CTerObsPara& TOPara_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOPara(TOPara_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqPara::Kind() const
{
    return {"C: CGMMEqPara:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovKotiMedSmermi),
            4, 2, true, true, -1,
            GMMEqNelinGlava(B(Besedilo::EnGlavaKotiMedSmermi), B(Besedilo::EnGlavaKotiMedSmermiHitrost),
                            B(Besedilo::EnGlavaKotnaOdstopanje), procset.GetXVel() != 0)};
}

void CGMMEqPara::SetGMMEq()
{
    GMMEqSetNelin(GMM, procset, TOPara, TOCrdA, Kind(), [](GMMEqNelinVrstica& v) {
        const GMMEqNelinRazlika d1 = v.Razlika(0, 1, false);
        const GMMEqNelinRazlika d2 = v.Razlika(2, 3, false);
        v.F0 = GMMEqSmer(d2) - GMMEqSmer(d1);
        real c1x, c1y, c2x, c2y;
        GMMEqSmerOdvod(d1, c1x, c1y);
        GMMEqSmerOdvod(d2, c2x, c2y);
        v.B[1][0] = c1x;
        v.B[1][1] = c1y;
        v.B[0][0] = -c1x;
        v.B[0][1] = -c1y;
        v.B[3][0] = -c2x;
        v.B[3][1] = -c2y;
        v.B[2][0] = c2x;
        v.B[2][1] = c2y;
    });
}

void CGMMEqPara::PrintGMMEq(std::ostream& izhod) { GMMEqPrintNelin(izhod, GMM, procset, TOPara, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiPara(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqPara>(p, TO.TOPara, TO.TOCrdA, G);
}
