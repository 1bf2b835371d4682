// CRelEll: relative error ellipses (2D) and relative error ellipsoids with
// their horizontal ellipses (3D) of every pair of points that an observation
// connects, for the results report of each iteration and for the plot files.
//
// Facts a caller must know:
// - Call SetRelEll and then PrintRelEll after the results print of every
//   iteration: the midpoints come from the point list, which by then holds
//   the adjusted coordinates.  A levelling network (Dim 1) does nothing.
// - Pairs come from directions, azimuths, horizontal and spatial distances,
//   height differences, vectors and zenith distances, in that order and in
//   record order; two observations between the same points, in either
//   direction, give one pair, the point earlier in the point list first.
//   Observed coordinates and heights concern one point and give none.
// - The ellipses are standard (one-sigma) ellipses of the coordinate
//   difference, scaled by sqrt(SoIIzracun); a point without unknowns adds
//   nothing, so a pair with one fixed point shows the other point's absolute
//   ellipse and a pair of two fixed points a zero one.
// - SIG, per pair: 2D the semi-axes A, B [m] and the bearing of A [deg];
//   3D the three ellipsoid semi-axes, its three angles (as elipsoidpog
//   gives them), then A, B, theta of the horizontal ellipse.
#ifndef NIVEX_SRC_CRELELL_H
#define NIVEX_SRC_CRELELL_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"

class CProcSet;
class CTerObs;
class CTerObsZbirka;
class CGMM;
class CGMMSol;
class CRezultati;

class CRelEll {
public:
    CRelEll(CProcSet& procset, CTerObsZbirka& TO, CGMM& GMM, CGMMSol& GMMS);
    CRelEll(const CRelEll&) = delete;
    CRelEll& operator=(const CRelEll&) = delete;

    // Pair list and ellipses from the current solution (Dim > 1 only).
    void SetRelEll();
    // The section "RELATIVNE ELIPSE ..." when there are pairs.
    void PrintRelEll(std::ostream& izhod);
    // The relative ellipses of the pass into the results (the horizontal
    // ellipse of each pair; in space after its ellipsoid).
    void SetRezultati(CRezultati& rez) const;

    std::int32_t nline = 0;     // length of the column header, for the closing rule
    std::uint32_t nobs = 0;     // observations of the seven kinds, then pairs
    std::uint16_t Dim = 0;
    matrika<std::string> PTS;   // pairs x 2 names
    matrika<real> OBS;   // pairs x Dim midpoints
    matrika<real> SIG;   // pairs x 3 (2D) or x 9 (3D), see above

private:
    void SetDimensions();
    // Row `row` of the list P: the names of the points at positions i1, i2,
    // the one earlier in the point list first.
    void SetPTS(matrika<std::string>& P, long i1, long i2, long row) const;
    void CalcRelEll();
    void PrintHead(std::ostream& izhod);
    void PrintEll(std::ostream& izhod);

    // Record sets whose observations connect two points, in pair-list order.
    std::vector<const CTerObs*> Povezave() const;

    CProcSet& procset;
    CTerObsZbirka& TO;
    CGMM& GMM;
    CGMMSol& GMMS;
};

#endif
