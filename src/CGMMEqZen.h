// CGMMEqZen: observation equations of zenith distances (Z records), with the
// earth's curvature and refraction.
//
// One row per zenith distance from station PTS(i,0) to target PTS(i,1):
// z0 = atan(s / dz) in [0, pi], plus the term c * (u - k) with
// c = s / (2 R) * sin^2(z0), u = 1 with the curvature correction ("*UKRZ"),
// k the refraction coefficient ("*K_REF" when "*KTYP" is given, else 0).
// When the coefficient is estimated ("*KTYP SINGLE" or "STAT") k is the
// model's current estimate (one for the network, or the station's own) and
// the row gets c in that coefficient's column.  The coefficients of the
// coordinates are those of z0 alone.  Zenith distances need a spatial network
// (*DIM 3); in a plane network they are refused.
#ifndef NIVEX_SRC_CGMMEQZEN_H
#define NIVEX_SRC_CGMMEQZEN_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsDir;
class CTerObsCrdA;
class CGMM;
struct GMMEqNelinKind;

class CGMMEqZen : public CGMMEq {
public:
    CGMMEqZen(CProcSet& procset, CTerObsDir& TOZen, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all zenith distances from GMM.iRowBin on; advances it by one each.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsDir& TOZen;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqNelinKind Kind() const;
};

#endif
