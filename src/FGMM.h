// FGMM: the one mechanism that every observation-equation builder (CGMMEq*)
// shares: point lookup, row writing, cofactors, velocity terms and the
// equation print.
//
// Facts a caller must know:
// - Rows follow v + B*delta = f.  A point's coefficients go to its columns
//   iB + k only when it has coordinate unknowns (iB > -1); with velocity
//   estimation the same coefficient times deltaT goes to iBV + k when the
//   point has velocity unknowns (iBV >= 0).  Nothing else of the row is
//   touched, so points without unknowns leave zeros.
// - A point name that the point list lacks ends the run in GMMPointError with
//   the framed point message (console) and exit status 1.
// - The prints switch the report to fixed notation; a coefficient of a point
//   without unknowns prints as a run of dots.
#ifndef NIVEX_SRC_FGMM_H
#define NIVEX_SRC_FGMM_H

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"

class CGMM;
class CProcSet;
class CTerObs;
class CTerObsTocke;

// Nothing for ind >= 0; for a negative ind the framed point message and the end of the run.
void GMMPointError(long ind, const std::string& name);

// "# enacb popravkov:" and n in 15 columns, two line ends.
void NGMMEqPrint(std::ostream& izhod, long n);
// Names of record i: an empty line first when its first name differs from that
// of record prej, the one printed before it (-1: none; a record set aside in
// between is not there); then i+1 in 3 columns, three blanks, each name in 6
// columns, four blanks.
void GMMEqPrintPT(std::ostream& izhod, const matrika<std::string>& PTS, long i, long prej);
// factor * A(row, col) in w columns with p decimals when iUnk >= 0, else p+2 dots in w columns.
void GMMEqCoefMatPrint(std::ostream& izhod, const redkaMatrika& A, long row, long col, long iUnk, int w,
                       int p, real factor);
// factor * value in w columns with p decimals, then a line end.
void GMMEqCoefVecPrint(std::ostream& izhod, real value, int w, int p, real factor);

// ---------------------------------------------------------------------------
// Row writing shared by all builders.

// One point of an observation: position in the point list and first
// coordinate / velocity unknown (-1 when none).
struct GMMEqTocka {
    long ind = -1;
    long iB = -1;
    long iBV = -1;
};

// Looks `name` up in the point list (its first occurrence; a missing name
// ends the run) and gives its position, its first coordinate unknown
// iDeltaB(ind) and, when XVel is on, its first velocity unknown iDeltaBV(ind).
GMMEqTocka GMMEqSetIndex(const CGMM& GMM, const CTerObsTocke& tocke, const std::string& name, unsigned short XVel);
// deltaT = T(i) - T0 of record i when velocities are estimated, else 0.
real GMMEqDeltaT(const CProcSet& procset, const CTerObs& TO, long i);
// Coefficient c of the point's unknown k at row r: B(r, iB+k) = c when
// iB > -1; with XVel on and iBV >= 0 also B(r, iBV+k) = deltaT * c.
void GMMEqSetCoef(CGMM& GMM, long r, const GMMEqTocka& t, long k, real c, unsigned short XVel,
                  real deltaT);
// Uncorrelated cofactor of row r: Qll(r,1) = sigma^2 / So^2, Qll(r,0) = Qll(r,2) = 0.
void GMMEqSetQll(CGMM& GMM, long r, real sigma);
// f = computed - observed, or -observed when the computed part is left out
// (analysis of the influence of observation errors, "*OBSRES").
real GMMEqMisclosure(real computed, real observed, bool ifObsResiduals);

// Console trace of an equation loop (all silent when `on` is 0): the class
// line (skipped when empty) and the operation line; the counter of record i
// (i+1 in 7 characters) and its seven backspaces; the closing line ends.
void GMMEqTraceStart(unsigned short on, const std::string& classLine, const std::string& fnLine);
void GMMEqTraceNum(unsigned short on, long i);
void GMMEqTraceBack(unsigned short on);
void GMMEqTraceEnd(unsigned short on, int lineEnds);

// Subtitle of the kind, number of equations and the column header: every
// header line but the last is printed plainly, the last through PodNaslov.
// Returns the length of the last header line (for GMMEqPrintEnd).
std::size_t GMMEqPrintHead(std::ostream& izhod, const std::string& title, long nEq,
                           const std::vector<std::string>& header);
// A rule of `len` dashes and three line ends.
void GMMEqPrintEnd(std::ostream& izhod, std::size_t len);

// ---------------------------------------------------------------------------
// The linear kinds (heights, height differences, coordinates, vectors).
//
// Observation i has nPts points PTS(i, 0..nPts-1) with the signs -1 (one
// point) or +1, -1 (from-point, to-point), and nRows rows k = 0..nRows-1 that
// all concern coordinate `col0 + k` of the points:
//   B(r, iB_p + col0 + k)  = s_p,            B(r, iBV_p + col0 + k) = deltaT * s_p
//   f(r) = sum_p (-s_p) * X0(p, col0 + k) - l(i, k)     (without the sum with *OBSRES)
//          + deltaT * sum_p (-s_p) * VELA(p, col0 + k)  (velocity estimation only)
//   Qll(r, 1) = SIG(i, k)^2 / So^2.
struct GMMEqLinKind {
    const char* classLine;                // "C: CGMMEqH:" ...
    const char* setFn;                    // " F: SetGMMEq() -> Eq#:" ...
    const char* printFn;                  // " F: PrintGMMEq() -> Eq#:" ...
    const char* title;                    // subtitle of the equation print
    int nPts;                             // 1 or 2
    int nRows;                            // rows per observation
    long col0;                            // coordinate of row 0 within a point's values
    std::vector<std::string> header;      // header lines, velocity pieces already chosen
    int wCoef[2];                         // widths of the point coefficients in row 0
    int wVel[2];                          // widths of the velocity coefficients
    int wCoefNext;                        // width of the first coefficient in rows k > 0
    int wF;                               // width and decimals of f (in mm)
    int pF;
};

// Writes the rows of every observation of TO at GMM.iRowBin and advances it;
// X0 and V are the approximate values and a-priori velocities of the point
// list `tocke`.
void GMMEqSetLin(CGMM& GMM, const CProcSet& procset, const CTerObs& TO, const CTerObsTocke& tocke,
                 const GMMEqLinKind& kind);
// Prints those rows from GMM.iRowBout (when TO has records and izpisEnPop is on)
// and advances iRowBout; the points are looked up again for their columns.
void GMMEqPrintLin(std::ostream& izhod, CGMM& GMM, const CProcSet& procset, const CTerObs& TO,
                   const CTerObsTocke& tocke, const GMMEqLinKind& kind);

#endif
