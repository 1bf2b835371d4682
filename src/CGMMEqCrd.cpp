#include "src/CGMMEqCrd.h"

#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/FGMM.h"

CGMMEqCrd::CGMMEqCrd(CProcSet& procset_, CTerObsCrd& TOCrd_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOCrd(TOCrd_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqLinKind CGMMEqCrd::Kind() const
{
    const int Dim = procset.GetDim();
    const std::string v = procset.GetXVel() ? "        V" : "";
    std::vector<std::string> glava = {"         TC         CX" + (v.empty() ? v : v + "X") + "        fX   ",
                                      "                    CY" + (v.empty() ? v : v + "Y") + "        fY   "};
    if (Dim == 3) glava.push_back("                    CZ" + (v.empty() ? v : v + "Z") + "        fZ   ");
    return {"C: CGMMEqCrd:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", "KOORDINATE TOCK", 1, Dim, 0,
            glava, {8, 0}, {8, 0}, 24, 11, 2};
}

void CGMMEqCrd::SetGMMEq() { GMMEqSetLin(GMM, procset, TOCrd, TOCrdA, Kind()); }

void CGMMEqCrd::PrintGMMEq(std::ostream& izhod) { GMMEqPrintLin(izhod, GMM, procset, TOCrd, TOCrdA, Kind()); }
