// CGMMEqHdif: observation equations of height differences (h records).
//
// One row per height difference from PTS(i,0) to PTS(i,1): B = +1 at the
// first point's height column and -1 at the second's, f = (H0 second -
// H0 first) - l, cofactor sigma^2 / So^2; with velocity estimation +deltaT /
// -deltaT in the velocity columns and f += deltaT * (V second - V first).
// The point list is the height list in a levelling network and the
// coordinate list in 3D; height differences in a plane network are refused.
#ifndef NIVEX_SRC_CGMMEQHDIF_H
#define NIVEX_SRC_CGMMEQHDIF_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsHdif;
class CTerObsHA;
class CTerObsCrdA;
class CTerObsTocke;
class CGMM;
struct GMMEqLinKind;

class CGMMEqHdif : public CGMMEq {
public:
    CGMMEqHdif(CProcSet& procset, CTerObsHdif& TOHdif, CTerObsHA& TOHA, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all height differences from GMM.iRowBin on; advances it.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsHdif& TOHdif;
    CTerObsHA& TOHA;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqLinKind Kind() const;
    // The point list: the heights in a levelling network, else the coordinates.
    const CTerObsTocke& Tocke() const;
};

#endif
