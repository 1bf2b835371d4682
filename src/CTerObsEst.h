// CTerObsEst: adjusted observations and their reliability, printed once
// after the last iteration, kind by kind (H, h, C, V, D, L, S, A, P, Z).
//
// For every observation row: observed and adjusted value, residual v and its
// standard deviation, standard deviation of the adjusted value, redundancy
// number r, standardised residual w = v / sigma_v, marginal detectable error
// NAB = sigma * del0 / sqrt(r) and external reliability LAM = (1/r - 1) *
// del0^2; an observation with |w| > N (the normal quantile of the screening
// confidence *PDATAS, strict) is flagged with its estimated gross error -v/r.
//
// Facts a caller must know:
// - The driver calls SetDimensions once, then SetPar, SetReliab, PrintReliab
//   for each kind letter.  SetReliab computes the rows of the kind into
//   `opazovanja` (the results model's rows) whatever the print settings say;
//   PrintReliab prints only from them.  The rows of a kind and their records
//   come from the model's row map (CGMM::vrstice), so a record set aside has
//   no row.
// - Only the diagonals of the residual cofactors (Qvv), of the redundancy
//   matrix (R) and of the observation cofactors (Qll) are read; nothing of
//   size rows x rows or unknowns x unknowns is formed.
// - Without full matrices (*MATFULL 0) the solution leaves R zero: r, NAB,
//   LAM print 0 and no gross error is estimated; w and the flags still work.
// - An observation that no other one checks (residual cofactor zero or a
//   round-off negative, r = 0) has no test: w, NAB and LAM print 0 and it is
//   never flagged.  With no degrees of freedom the a-posteriori variance is
//   0, and so are every sigma_v, w and standard deviation.  A variance that
//   round-off leaves below zero prints as 0; no "nan" or "inf" is printed.
#ifndef NIVEX_SRC_CTEROBSEST_H
#define NIVEX_SRC_CTEROBSEST_H

#include <ostream>
#include <string>

#include <vector>

#include "matrika/matrika.h"
#include "src/CRezultati.h"

class CProcSet;
class CTerObs;
class CTerObsZbirka;
struct TerObsVrsta;
class CGMM;
class CGMMSol;

class CTerObsEst {
public:
    CTerObsEst(CProcSet& procset, CTerObsZbirka& TO, CGMM& GMM, CGMMSol& GMMS);
    CTerObsEst(const CTerObsEst&) = delete;
    CTerObsEst& operator=(const CTerObsEst&) = delete;

    // NAB, LAM for all observation rows; N from the screening confidence.
    void SetDimensions();
    // Kind letter of a kind that enters the model (any other ends the run)
    // and its row range.
    void SetPar(char tip);
    // NAB, LAM and the means of the current kind.
    void SetReliab();
    // Row i with a-priori deviation sig, accumulated into component k.
    void CalcReliab(real sig, unsigned long i, short k);
    // The table of the current kind.
    void PrintReliab(std::ostream& izhod);

    // Everything printed of model row i, in metres or radians.
    struct Vrstica {
        real v = 0.0L;      // residual
        real sv = 0.0L;     // its standard deviation
        real w = 0.0L;      // standardised residual
        real sig = 0.0L;    // standard deviation of the adjusted value
        real r = 0.0L;      // redundancy number
        bool napaka = false;       // |w| > N
        bool ocena = false;        // flagged with r > 0: gross error estimated
        real groba = 0.0L;  // -v / r
    };
    Vrstica GetVrstica(unsigned long i) const;

    matrika<real> NAB;  // rows x 1 marginal detectable errors
    matrika<real> LAM;  // rows x 1 external reliability
    std::vector<RezOpazovanje> opazovanja;   // rows x 1, as the results hold them

    char obsTyp = 0;
    unsigned long start = 0, end = 0;  // model rows [start, end) of the kind
    real del0 = 3.24L;          // bound of the non-centrality
    real N = 0.0L;              // critical value of the screening
    real nabavg[3] = {0.0L, 0.0L, 0.0L};
    real vavg[3] = {0.0L, 0.0L, 0.0L};
    real sigv[3] = {0.0L, 0.0L, 0.0L};

private:
    void CalcIndex();
    // Redundancy number of row i, 0 where it is zero within round-off.
    real Redundanca(unsigned long i) const;
    // The row of the current kind in the table of record kinds.
    const TerObsVrsta& Vrsta() const;
    // Rows per observation of the current kind (Dim for C and V, else 1).
    unsigned long Komponent() const;
    // Record set of the current kind, and its angle unit when it is angular
    // ("" for the linear kinds).
    const CTerObs& Zbirka() const;
    const std::string& KotnaEnota() const;
    // A residual-sized value in its printed unit: mm, arc seconds or milligon.
    real Mala(real x) const;
    // One line of the table: row i of the current kind.
    void PrintReliabVrstica(std::ostream& izhod, unsigned long i) const;
    // The closing lines of the table: mean NAB and mean residual with its deviation.
    void PrintReliabPovprecja(std::ostream& izhod) const;

    CProcSet& procset;
    CTerObsZbirka& TO;
    CGMM& GMM;
    CGMMSol& GMMS;
};

#endif
