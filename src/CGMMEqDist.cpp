#include "src/CGMMEqDist.h"

#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDist.h"
#include "src/FGMMEqNelin.h"
#include "src/NivexAux.h"

CGMMEqDist::CGMMEqDist(CProcSet& procset_, CTerObsDist& TODist_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TODist(TODist_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqNelinKind CGMMEqDist::Kind() const
{
    const bool tri = TODist.GetDim() == 3;
    const bool v = procset.GetXVel() != 0;
    const std::string c = std::string("         Z    S           CSX         CSY") + (tri ? "         CSZ" : "") +
                          "         CZX         CZY" + (tri ? "         CZZ" : "");
    const std::string h = std::string("                          VSX         VSY") + (tri ? "         VSZ" : "") +
                          "         VZX         VZY" + (tri ? "         VZZ" : "");
    return {"C: CGMMEqDist:", " F: SetGMMEq -> Eq#:", " F: PrintGMMEq -> Eq#:",
            tri ? "PROSTORSKE DOLZINE" : "HORIZONTALNE DOLZINE",
            2, tri ? 3 : 2, false, false, 22, GMMEqNelinGlava(c, h, "           f    ", v)};
}

void CGMMEqDist::SetGMMEq()
{
    if (TODist.NObs() == 0) return;
    const bool tri = TODist.GetDim() == 3;
    if (tri && procset.GetDim() != 3)
        NivexError(" **** Prostorske dolzine (L) v ravninski mrezi (*DIM 2) niso mogoce      *** ");
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
