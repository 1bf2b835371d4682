// FGMMEqNelin: what the builders of the non-linear observation kinds share
// (horizontal and spatial distances, composed angles, zenith distances,
// azimuths, angles between directions).  A builder only says how its
// observation is computed from the approximate coordinates and what the
// negative derivatives are (its `GMMEqNelinFn`); point lookup, epochs,
// coordinate differences, cofactors, misclosures, row writing, velocity
// columns, the equation print and the console trace are done here.
//
// Facts a caller must know:
// - Rows follow v + B*delta = f: the builder fills B with the NEGATIVE
//   derivatives of its computed value by the coordinates of each point of the
//   observation (in PTS column order), in radians or metres per metre.
// - A point that stands more than once in one observation (an angle between
//   two directions from the same station, say) gets the sum of its
//   coefficients, which is the true derivative.  The sums are assigned, never
//   accumulated into Bmat, so a row rewritten in the next iteration holds the
//   new values only.
// - Coordinate differences are carried to the observation epoch with the
//   a-priori velocities when velocities are estimated; velocity columns get
//   deltaT times the coordinate coefficient.
// - Two points of one observation whose coordinate differences are all below
//   1e-14 m (the horizontal ones, or all three for spatial distances) make the
//   equation undefined: the run ends with a framed message naming the kind,
//   the record number (from 1) and the names.
#ifndef NIVEX_SRC_FGMMEQNELIN_H
#define NIVEX_SRC_FGMMEQNELIN_H

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "src/FGMM.h"

class CGMM;
class CProcSet;
class CTerObs;
class CTerObsCrdA;

// Description of one non-linear kind: trace texts, print layout and the
// treatment of its misclosure.
struct GMMEqNelinKind {
    const char* classLine;             // "C: CGMMEqDist:" ...
    const char* setFn;                 // " F: SetGMMEq() -> Eq#:" ...
    const char* printFn;               // " F: PrintGMMEq() -> Eq#:" ...
    const char* title;                 // subtitle of the equation print
    int nPts;                          // points of one observation (PTS columns), at most 4
    int nCrd;                          // coordinates per point in the row: 2 (plane) or 3
    bool kotna;                        // angular kind: print per roSec, else in metres / mm
    bool redukcija2Pi;                 // a misclosure within 0.1 of +-2 pi is brought back by 2 pi
    int velZamik;                      // velocity coefficients: -1 on the same line, else a line
                                       // end and this many blanks before them
    std::vector<std::string> header;   // header lines, the last with its f piece
};

// Coordinate differences of a point pair (to minus from), carried to the
// epoch; s the horizontal and d the spatial length (d = s in a plane network).
struct GMMEqNelinRazlika {
    real dx = 0.0L, dy = 0.0L, dz = 0.0L;
    real s2 = 0.0L, s = 0.0L, d2 = 0.0L, d = 0.0L;
};

// One observation being linearised: what the builder gets and what it fills.
struct GMMEqNelinVrstica {
    GMMEqNelinVrstica(const CTerObs& TO, const CTerObsCrdA& TOCrdA, const GMMEqNelinKind& kind)
        : TO(TO), TOCrdA(TOCrdA), kind(kind)
    {
    }
    const CTerObs& TO;
    const CTerObsCrdA& TOCrdA;
    const GMMEqNelinKind& kind;

    // Given: record i, its row r, its points (PTS columns) and deltaT.
    long i = 0;
    long r = 0;
    GMMEqTocka t[4];
    bool XVel = false;
    real dT = 0.0L;

    // Filled by the builder.
    real B[4][3] = {};   // negative derivatives, point p, coordinate k
    real F0 = 0.0L;      // computed value from the coordinates (left out with "*OBSRES")
    real Fdod = 0.0L;    // part of the computed value that is always kept (curvature, refraction)
    real q0 = 0.0L;      // covariance factors with the previous and the next row
    real q2 = 0.0L;
    long iDod = -1;             // one further column (a refraction coefficient), -1 when none
    real cDod = 0.0L;

    // Differences from point a to point b of this observation; refuses
    // coinciding points (horizontally, or in space when `prostorska`).
    GMMEqNelinRazlika Razlika(int a, int b, bool prostorska) const;
};

using GMMEqNelinFn = std::function<void(GMMEqNelinVrstica&)>;

// Writes the rows of every observation of TO at GMM.iRowBin (one row each)
// and advances it: Qll(r,1) = SIG(i,0)^2 / So^2 with the covariances q0, q2,
// f = F0 - l + Fdod (or -l + Fdod with "*OBSRES"), the coefficients.
void GMMEqSetNelin(CGMM& GMM, const CProcSet& procset, const CTerObs& TO, const CTerObsCrdA& TOCrdA,
                   const GMMEqNelinKind& kind, const GMMEqNelinFn& lineariziraj);
// Prints those rows from GMM.iRowBout (when TO has records and izpisEnPop is
// on) and advances iRowBout; coefficients in PTS column order.
void GMMEqPrintNelin(std::ostream& izhod, CGMM& GMM, const CProcSet& procset, const CTerObs& TO,
                     const CTerObsCrdA& TOCrdA, const GMMEqNelinKind& kind);

// Header lines: the coefficient line, with velocity estimation the velocity
// line after it; the f piece is appended to the last.
std::vector<std::string> GMMEqNelinGlava(const std::string& koef, const std::string& hitr, const std::string& f,
                                         bool XVel);

// The differences (b minus a) with the lengths that follow from them.
GMMEqNelinRazlika GMMEqRazlika(real dx, real dy, real dz);
// The mark-to-mark differences d of record i carried from its instrument to
// its target: dz + target height - instrument height.  A record without
// heights keeps d exactly.
GMMEqNelinRazlika GMMEqVisini(const GMMEqNelinRazlika& d, const CTerObs& TO, long i);

// Derivatives by the coordinates of the far point of a pair (the near point
// takes their negatives), which are also the equation coefficients of the
// near point: of the distance over the first two coordinates, or over all
// three when `prostorska`, (dx, dy, dz) / d; of the zenith distance
// atan(s / dz), (dx dz / (s d^2), dy dz / (s d^2), -s / d^2).
void GMMEqDolzinaOdvod(const GMMEqNelinRazlika& d, bool prostorska, real c[3]);
void GMMEqZenitOdvod(const GMMEqNelinRazlika& d, real c[3]);

// Bearing of (dx, dy) in [0, 2 pi), from the second axis towards the first.
real GMMEqSmer(const GMMEqNelinRazlika& d);
// Coefficients (dy/s^2, -dx/s^2) of the far point's bearing, i.e. the
// derivative of the bearing by the coordinates of the far point.
void GMMEqSmerOdvod(const GMMEqNelinRazlika& d, real& cx, real& cy);

#endif
