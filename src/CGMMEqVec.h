// CGMMEqVec: observation equations of coordinate-difference vectors (V records).
//
// Dim rows per vector from PTS(i,0) to PTS(i,1), row k for component k:
// B = +1 at the first point's column iB + k and -1 at the second's,
// f = (X0(second,k) - X0(first,k)) - l(k), cofactor SIG(i,k)^2 / So^2; with
// velocity estimation +deltaT / -deltaT at the velocity columns and
// f += deltaT * (V second - V first).
#ifndef NIVEX_SRC_CGMMEQVEC_H
#define NIVEX_SRC_CGMMEQVEC_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsVec;
class CTerObsCrdA;
class CGMM;
struct GMMEqLinKind;

class CGMMEqVec : public CGMMEq {
public:
    CGMMEqVec(CProcSet& procset, CTerObsVec& TOVec, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all vectors from GMM.iRowBin on; advances it by Dim per vector.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsVec& TOVec;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqLinKind Kind() const;
};

#endif
