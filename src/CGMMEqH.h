// CGMMEqH: observation equations of observed heights (H records).
//
// One row per height: B = -1 in the point's height column (its last
// coordinate unknown), f = H0 - l, cofactor sigma^2 / So^2; with velocity
// estimation B = -deltaT in its velocity height column and f += deltaT * V.
// A height at a point without unknowns leaves a zero B row.  The point list
// is the height list in a levelling network and the coordinate list in 3D;
// heights in a plane network are refused.
#ifndef NIVEX_SRC_CGMMEQH_H
#define NIVEX_SRC_CGMMEQH_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsH;
class CTerObsHA;
class CTerObsCrdA;
class CTerObsTocke;
class CGMM;
struct GMMEqLinKind;

class CGMMEqH : public CGMMEq {
public:
    CGMMEqH(CProcSet& procset, CTerObsH& TOH, CTerObsHA& TOHA, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all heights from GMM.iRowBin on; advances it by their number.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsH& TOH;
    CTerObsHA& TOHA;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqLinKind Kind() const;
    // The point list: the heights in a levelling network, else the coordinates.
    const CTerObsTocke& Tocke() const;
};

#endif
