// CGMMEqAngl: observation equations of horizontal angles composed from
// neighbouring directions of one station (CTerObsAngl).
//
// One row per angle at station S from the first target Z1 to the second Z2:
// computed value nu(S->Z2) - nu(S->Z1), a full turn added when negative, so
// in [0, 2 pi); coefficients in radians per metre.  The misclosure is brought
// back by a full turn when it lies within 0.1 rad of +-2 pi (an observed
// angle that crosses zero).  With correlations switched on, neighbouring
// angles of one station share a direction: the band of Qll gets
// -sigma^2 / So^2 of that direction on both sides.  With velocities the
// epoch of an angle is that of its first direction.
#ifndef NIVEX_SRC_CGMMEQANGL_H
#define NIVEX_SRC_CGMMEQANGL_H

#include <ostream>

#include "src/CGMMEq.h"

class CProcSet;
class CTerObsAngl;
class CTerObsCrdA;
class CGMM;
struct GMMEqNelinKind;

class CGMMEqAngl : public CGMMEq {
public:
    CGMMEqAngl(CProcSet& procset, CTerObsAngl& TOAngl, CTerObsCrdA& TOCrdA, CGMM& GMM);

    // Rows of all composed angles from GMM.iRowBin on; advances it by one per angle.
    void SetGMMEq() override;
    // Equation print from GMM.iRowBout on (with izpisEnPop); advances it.
    void PrintGMMEq(std::ostream& izhod) override;

    CProcSet& procset;
    CTerObsAngl& TOAngl;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

private:
    GMMEqNelinKind Kind() const;
};

#endif
