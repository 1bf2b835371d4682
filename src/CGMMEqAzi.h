// CGMMEqAzi: observation equations of azimuths or grid bearings (A records).
//
// One row per bearing from PTS(i,0) to PTS(i,1): computed value
// nu = SmerniKot in [0, 2 pi), measured from the second coordinate axis
// towards the first; coefficients (dy/s^2, -dx/s^2) at the from-point and
// their negatives at the to-point (radians per metre).  A misclosure within
// 0.1 rad of +-2 pi (a bearing just either side of zero) is brought back by
// a full turn.
#ifndef NIVEX_SRC_CGMMEQAZI_H
#define NIVEX_SRC_CGMMEQAZI_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsDir;
class CTerObsCrdA;
class CGMM;
struct GMMEqNelinKind;

class CGMMEqAzi : public CGMMEq {
public:
    CGMMEqAzi(CProcSet& procset, CTerObsDir& TOAzi, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all bearings from GMM.iRowBin on; advances it by one each.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsDir& TOAzi;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqNelinKind Kind() const;
};

#endif
