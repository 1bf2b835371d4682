#include "src/CGMMEqVec.h"

#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsVec.h"
#include "src/FGMM.h"

CGMMEqVec::CGMMEqVec(CProcSet& procset_, CTerObsVec& TOVec_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), TOVec(TOVec_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

GMMEqLinKind CGMMEqVec::Kind() const
{
    const int Dim = procset.GetDim();
    const bool v = procset.GetXVel() != 0;
    const auto vrsta = [v](const char* zacetek, const char* c) {
        std::string s = std::string(zacetek) + "CS" + c + "     CZ" + c;
        if (v) s += std::string("       VS") + c + "     VZ" + c;
        return s + "        f" + c + "   ";
    };
    std::vector<std::string> glava = {vrsta("         Z    S          ", "X"),
                                      vrsta("                         ", "Y")};
    if (Dim == 3) glava.push_back(vrsta("                         ", "Z"));
    return {"C: CGMMEqVec:", " F: SetGMMEq() -> Eq#:", " F: PrintGMMEq() -> Eq#:", "VEKTORJI MED TOCKAMI", 2, Dim, 0,
            glava, {8, 8}, {8, 8}, 30, 11, 2};
}

void CGMMEqVec::SetGMMEq() { GMMEqSetLin(GMM, procset, TOVec, TOCrdA, Kind()); }

void CGMMEqVec::PrintGMMEq(std::ostream& izhod) { GMMEqPrintLin(izhod, GMM, procset, TOVec, TOCrdA, Kind()); }
