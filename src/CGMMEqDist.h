// CGMMEqDist: observation equations of measured distances, horizontal (D
// records) or spatial (L records); one class, one instance per record set.
//
// One row per distance from PTS(i,0) to PTS(i,1): the computed distance d0
// over the first two coordinates (the set's Dim 2) or all three (Dim 3);
// coefficients (dx/d0, dy/d0[, dz/d0]) at the from-point and their negatives
// at the to-point, f = d0 - l in metres.  Spatial distances need a spatial
// network (*DIM 3); in a plane network they are refused.
#ifndef NIVEX_SRC_CGMMEQDIST_H
#define NIVEX_SRC_CGMMEQDIST_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsDist;
class CTerObsCrdA;
class CGMM;
struct GMMEqNelinKind;

class CGMMEqDist : public CGMMEq {
public:
    CGMMEqDist(CProcSet& procset, CTerObsDist& TODist, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all distances from GMM.iRowBin on; advances it by one per distance.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsDist& TODist;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqNelinKind Kind() const;
};

#endif
