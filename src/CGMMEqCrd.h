// CGMMEqCrd: observation equations of observed coordinates (C records).
//
// Dim rows per record, row k for coordinate k: B = -1 at the point's column
// iB + k, f = X0(p,k) - l(k), cofactor SIG(i,k)^2 / So^2; with velocity
// estimation -deltaT at iBV + k and f += deltaT * VELA(p,k).
#ifndef NIVEX_SRC_CGMMEQCRD_H
#define NIVEX_SRC_CGMMEQCRD_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsCrd;
class CTerObsCrdA;
class CGMM;
struct GMMEqLinKind;

class CGMMEqCrd : public CGMMEq {
public:
    CGMMEqCrd(CProcSet& procset, CTerObsCrd& TOCrd, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all observed coordinates from GMM.iRowBin on; advances it by Dim per record.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsCrd& TOCrd;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqLinKind Kind() const;
};

#endif
