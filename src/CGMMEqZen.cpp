#include "src/CGMMEqZen.h"

#include <cmath>
#include <numbers>

#include "funkcije/Besedila.h"
#include "matrika/najdim.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/FGMMEqNelin.h"
#include "src/NivexAux.h"
#include "src/TerObsGradniki.h"

CGMMEqZen::CGMMEqZen(CProcSet& procset_, CTerObsDir& TOZen_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOZen(TOZen_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqZen::Kind() const
{
    return {"C: CGMMEqZen:", " F: SetGMMEq() -> Eq#:", " F: SetGMMEq() -> Eq#:", B(Besedilo::EnNaslovZenitne),
            2, 3, true, false, -1,
            GMMEqNelinGlava(B(Besedilo::EnGlavaZenitne), B(Besedilo::EnGlavaZenitneHitrost),
                            B(Besedilo::EnGlavaKotnaOdstopanje), procset.GetXVel() != 0)};
}

void CGMMEqZen::SetGMMEq()
{
    if (TOZen.NObs() == 0) return;
    if (procset.GetDim() != 3)
        NivexError(B(Besedilo::NapakaZenitneRavninska));
    const real u = procset.IfUkrZ ? 1.0L : 0.0L;
    const real kPribl = procset.IfkRef ? procset.kRef : 0.0L;
    // The model has coefficient unknowns only when they are estimated; the
    // estimation kind alone (kept when estimation was switched off) gives none.
    const bool ocena = GMM.nunkkref > 0;
    const bool enotna = ocena && procset.kRefType.find("SINGLE") != std::string::npos;
    const bool postaja = ocena && !enotna && procset.kRefType.find("STAT") != std::string::npos;
    const real R = procset.R_Z;
    // The term c is needed only with curvature, refraction or an estimated
    // coefficient; then a radius that is not positive would turn every
    // zenith misclosure into infinity or NaN.
    const bool zCleni = u != 0.0L || kPribl != 0.0L || ocena;
    if (zCleni && !(R > 0.0L))
        NivexError(B(Besedilo::NapakaPolmerZemlje));

    GMMEqSetNelin(GMM, procset, TOZen, TOCrdA, Kind(), [&](GMMEqNelinVrstica& v) {
        // From the instrument to the target, each at its height above its mark.
        const GMMEqNelinRazlika d = GMMEqVisini(v.Razlika(0, 1, false), v.TO, v.i);
        // atan(s / dz), a half turn added when negative: z0 in [0, pi].
        real z0 = std::numbers::pi_v<real> / 2.0L;
        if (d.dz != 0.0L) {
            z0 = std::atan(d.s / d.dz);
            if (z0 < 0.0L) z0 += std::numbers::pi_v<real>;
        }
        v.F0 = z0;

        real k = kPribl;
        if (enotna) {
            k = GMM.kRefEst(0);
            v.iDod = GMM.iDeltaBk(0);
        } else if (postaja) {
            const long q = najdiA(GMM.PTSk, v.TO.GetPTS(v.i, 0));
            GMMPointError(q, v.TO.GetPTS(v.i, 0));
            k = GMM.kRefEst(q);
            v.iDod = GMM.iDeltaBk(q);
        }
        const real sinz = std::sin(static_cast<double>(z0));
        const real c = zCleni ? (d.s / R) / 2.0L * sinz * sinz : 0.0L;
        v.Fdod = c * (u - k);
        v.cDod = c;

        real c3[3];
        GMMEqZenitOdvod(d, c3);
        for (int j = 0; j < 3; ++j) {
            v.B[0][j] = c3[j];
            v.B[1][j] = -c3[j];
        }
    });
}

void CGMMEqZen::PrintGMMEq(std::ostream& izhod) { GMMEqPrintNelin(izhod, GMM, procset, TOZen, TOCrdA, Kind()); }

std::unique_ptr<CGMMEq> GradiZen(CProcSet& p, CTerObsZbirka& TO, CGMM& G)
{
    return std::make_unique<CGMMEqZen>(p, TO.TOZen, TO.TOCrdA, G);
}
