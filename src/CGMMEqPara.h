// CGMMEqPara: observation equations of angles between two directions (P
// records): the first direction from PTS(i,0) to PTS(i,1), the second from
// PTS(i,2) to PTS(i,3).
//
// One row per angle: computed value nu2 - nu1 of the two bearings, not
// reduced to a range; the misclosure is brought back by a full turn when it
// lies within 0.1 rad of +-2 pi.  Coefficients (radians per metre): the far
// point of the first direction +d nu1, its station the negative; the far
// point of the second direction -d nu2, its station the negative.  A point
// that serves both directions (a common station, or the far point of one
// being the station of the other) gets the sum.
#ifndef NIVEX_SRC_CGMMEQPARA_H
#define NIVEX_SRC_CGMMEQPARA_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsPara;
class CTerObsCrdA;
class CGMM;
struct GMMEqNelinKind;

class CGMMEqPara : public CGMMEq {
public:
    CGMMEqPara(CProcSet& procset, CTerObsPara& TOPara, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all angles between directions from GMM.iRowBin on; advances it by one each.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsPara& TOPara;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqNelinKind Kind() const;
};

#endif
