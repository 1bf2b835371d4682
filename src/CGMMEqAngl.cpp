#include "src/CGMMEqAngl.h"

#include "funkcije/Besedila.h"
#include "funkcije/KotnePretvorbe.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsAngl.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMMEqNelin.h"
#include "src/TerObsGradniki.h"

CGMMEqAngl::CGMMEqAngl(CProcSet& procset_, CTerObsAngl& TOAngl_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOAngl(TOAngl_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqAngl::Kind() const
{
    return {"C: CGMMEqAngl:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", B(Besedilo::EnNaslovKoti),
            3, 2, true, true, 28,
            GMMEqNelinGlava(B(Besedilo::EnGlavaKoti), B(Besedilo::EnGlavaKotiHitrost),
                            B(Besedilo::EnGlavaKotnaOdstopanje), procset.GetXVel() != 0)};
}

void CGMMEqAngl::SetGMMEq()
{
    const long n = static_cast<long>(TOAngl.NObs());
    const bool korelacije = TOAngl.GetCorrAng() != 0;
    const real So2 = GMM.So * GMM.So;
    // Covariance factor of two neighbouring angles: minus the variance of
    // their shared direction (0 when they share none).
    const auto kovarianca = [&](long i) {
        const real s = TOAngl.GetSIG(i, 1);
        return s != 0.0L ? -(s * s) / So2 : 0.0L;
    };
    GMMEqSetNelin(GMM, procset, TOAngl, TOCrdA, Kind(), [&](GMMEqNelinVrstica& v) {
        const GMMEqNelinRazlika d1 = v.Razlika(0, 1, false);
        const GMMEqNelinRazlika d2 = v.Razlika(0, 2, false);
        const real nu1 = GMMEqSmer(d1);
        real nu2 = GMMEqSmer(d2);
        if (nu2 < nu1) nu2 += 2.0L * static_cast<real>(kotne::PI);
        v.F0 = nu2 - nu1;
        real c1x, c1y, c2x, c2y;
        GMMEqSmerOdvod(d1, c1x, c1y);
        GMMEqSmerOdvod(d2, c2x, c2y);
        // Z1: +d nu1, Z2: -d nu2, S: minus their sum.
        v.B[1][0] = c1x;
        v.B[1][1] = c1y;
        v.B[2][0] = -c2x;
        v.B[2][1] = -c2y;
        v.B[0][0] = -(v.B[1][0] + v.B[2][0]);
        v.B[0][1] = -(v.B[1][1] + v.B[2][1]);
        if (korelacije) {
            v.q0 = v.i > 0 ? kovarianca(v.i - 1) : 0.0L;
            v.q2 = v.i + 1 < n ? kovarianca(v.i) : 0.0L;
        }
    });
}

void CGMMEqAngl::PrintGMMEq(std::ostream& izhod) { GMMEqPrintNelin(izhod, GMM, procset, TOAngl, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiAngl(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqAngl>(p, TO.TOAngl, TO.TOCrdA, G);
}
