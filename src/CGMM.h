// CGMM: the Gauss-Markov model of the adjustment.
//
// Holds the counts of points, unknowns and observations, the numbering of the
// unknowns, the coefficient matrix `Bmat`, the misclosures `fvec`, the
// cofactors `Qll` (a three-column band) and the weights `Pll`, and the datum
// matrices `Hdat`, `Hred`, `Ddat`.  The equation builders (CGMMEq*) append
// their rows at `iRowBin`, the datum builders fill the datum matrices, the
// solution reads everything; all members are public for them.
//
// Facts a caller must know:
// - Every observation row reads v + B*delta = f: B is the negative derivative
//   of the computed observation, f = computed - observed (metres, radians),
//   and its cofactor is sigma^2 / So^2.
// - Unknown order: coordinate unknowns of the points that have them, in
//   point-list order, Dim per point (one height in a levelling network); then
//   velocity unknowns of the points whose velocity flag is set; then the
//   refraction coefficients.  `iDeltaB(p)` / `iDeltaBV(p)` give a point's
//   first column, -1 when it has none.  Indices count from 0.
// - `Qll` row r: column 1 the variance factor, column 0 the covariance with
//   row r-1, column 2 with row r+1.  `Pll` is a column of weights when
//   `Qlldiag`; otherwise the inverse of the band is held by its diagonal
//   blocks in `PllB` (one small block per station's chain of correlated
//   angles) and `Pll` stays empty.
// - Covariance blocks of the data file (`kovBloki`, rebuilt by SetPll every
//   pass from the records that take part) hold full cofactors over rows
//   that need not be neighbours; `Qll` keeps only their variances, and
//   `Kofaktor(i, k)` gives the cofactor of any two rows.  Their weights are
//   blocks of `PllB` on the same rows.
// - DataSum / DataSet run after reading, and again before an adjustment
//   without some records: they count only the records that take part
//   (CTerObs::Aktiven) and start from nothing that an earlier run left.  They
//   refuse a data file without observations, a network without unknowns and
//   datum points that are not in the point list, each with a framed message
//   and exit status 1.
#ifndef NIVEX_SRC_CGMM_H
#define NIVEX_SRC_CGMM_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/bdmatrika.h"
#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"
#include "src/FKovBloki.h"
#include "src/TerObsVrste.h"

class CProcSet;
class CGDatum;

// The record behind a model row: its set, its number in the set and the
// component (the coordinate of a C or V record, else 0).  A composed angle
// names its directions through CTerObsAngl::Smeri; a datum row has no record
// (set kTOSetov).
struct VrsticaModela {
    TerObsSet set = kTOSetov;
    long zapis = -1;
    int komponenta = 0;
};
class CTerObsTocke;
class CTerObsZbirka;

class CGMM {
public:
    CGMM(CProcSet& procset, CGDatum& gdatum, CTerObsZbirka& TO);
    ~CGMM() = default;
    CGMM(const CGMM&) = delete;
    CGMM& operator=(const CGMM&) = delete;

    // Row counters of writing and printing back to 0; start of every iteration.
    void GMMResetIndex();
    // Counts, sigma0 and the data summary (once, after the input report).
    void DataSum(std::ostream& izhod);
    // Numbering of the unknowns and sizes of all model matrices (once, after DataSum).
    void DataSet();
    // The weights `Pll` (or `PllB`) of the rows of this pass, from `Qll`.
    void SetPll();
    // The covariance blocks of this pass and the weights around them.
    void SetKovBloki();
    // Whether long chains of correlated angles are held by their bands
    // (bdmatrika::kDolgaVeriga) and solved by their directions.
    bool DolgeVerige() const;
    // Cofactor of rows i and k: a covariance block's, else from the band.
    real Kofaktor(unsigned long i, unsigned long k) const;
    // Memory report and non-zero percentages (every iteration).
    void GMMEqPrint(std::ostream& izhod);

    // Steps of DataSum and DataSet.
    void SetRoSec();
    void SetMmFact();
    void GetDataSum();
    void PrintDataSumSum(std::ostream& izhod);
    // sigma0 a-priori of the records that take part; refuses a model without
    // observations or with all deviations zero.
    void SetSo(std::ostream& izhod);
    void PrintDataSumRefSD(std::ostream& izhod);
    void SetiDeltaB();
    void CountHDatSize();
    void SetHDatSize();
    void SetGMMSize();
    // Percentage of elements whose |value| (in double) exceeds kIzpisNic; 0 for an empty matrix.
    double GetMatrixFullProc(const matrika<real>& A) const;
    double GetMatrixFullProc(const redkaMatrika& A) const;

    // Every name of the datum lists of the chosen kind must be a point of the
    // point list; the first one that is not ends the run (GMMPointError).
    void CheckGDatumPoints() const;
    // The point list of the network: `TOHA` in a levelling network, else `TOCrdA`.
    const CTerObsTocke& Tocke() const;
    // Coordinate unknown k is held at its approximate value ("**VXY",
    // "**VZ"): it keeps its column, but no observation row has a coefficient
    // in it; one datum row below the observations (1 in the column, f = 0)
    // gives it the correction 0, and its cofactors are 0.  So the point's
    // other coordinates are adjusted as if the held ones were given.
    bool Drzana(long k) const
    {
        return k >= 0 && static_cast<std::size_t>(k) < drzana.size() && drzana[static_cast<std::size_t>(k)] != 0;
    }
    // The datum rows of the held coordinates (datum kind V).
    void SetDrzaneVrstice();

    real roSec = 0.0L;     // radians -> arc seconds (DMS, DEG) or milligon (GON)
    real mmFact = 0.0L;    // metres -> millimetres
    std::int32_t iRowBin = 0;     // next row to write
    std::int32_t iRowBout = 0;    // next row to print
    bool Qlldiag = true;          // no composed-angle correlations
    real So = 0.0L;        // a-priori sigma0 of the whole model

    matrika<real> Qll;     // rows x 3 band of cofactors
    matrika<real> Pll;     // rows x 1 weights (Qlldiag), else empty
    bdmatrika PllB;               // block-diagonal weights (correlated angles), else empty
    std::vector<KovBlokModela> kovBloki;   // covariance blocks over the rows of this pass
    std::vector<long> kovBlokVrstice;      // rows x 1: block of the row, -1 for none
    std::vector<unsigned long> kovPolozaj; // rows x 1: place of the row in its block
    redkaMatrika Bmat;            // rows x nunk, kept by rows of non-zero elements
    matrika<real> fvec;    // rows x 1
    std::vector<VrsticaModela> vrstice;   // rows x 1, written with the rows by the equation loops
    matrika<std::int32_t> iDeltaB;   // npts x 1, first coordinate unknown or -1
    matrika<std::int32_t> iDeltaBV;  // npts x 1, first velocity unknown or -1 (velocity estimation only)
    matrika<std::int32_t> iDeltaBk;  // nunkkref x 1, column of each refraction coefficient
    matrika<real> kRefEst;    // nunkkref x 1, current refraction coefficients
    matrika<std::string> PTSk;       // stations with a coefficient of their own ("STAT")
    matrika<real> Hdat;    // nHdat x nunk, inner constraints
    matrika<real> Ddat;    // nD x nunk, minimal constraints
    matrika<real> Hred;    // nHdat x nunk, reduced inner constraints

    // Datum defects of the free network, 1 while the defect remains.
    std::uint16_t tx = 1, ty = 1, tz = 1, wx = 1, wy = 1, wz = 1, m2 = 1, m3 = 1;
    std::uint16_t nHdat = 0;
    std::vector<char> drzana;       // nunk: 1 for a held coordinate unknown, empty without any
    std::int32_t ndrzanih = 0;      // held coordinate unknowns

    std::int32_t npts = 0, nptsunk = 0, nobs = 0, nunk = 0, nunkvel = 0, nunkcrd = 0, nunkkref = 0,
                 nredund = 0;

    CProcSet& procset;
    CGDatum& gdatum;
    CTerObsZbirka& TO;   // the record sets; the model works with composed angles, never with the directions
};

#endif
