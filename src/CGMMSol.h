// CGMMSol: solution of the linearised Gauss-Markov model, its stochastic
// model with the global test, and the results report of one iteration.
//
// Every outer iteration the driver calls, in this order: SetPar (whitening of
// the model's Bmat and fvec with the Cholesky factor of Pll), SolveFuncModel
// (solution by the method NumSolve of the settings, datum correction of Qdd,
// residuals), SolveStohModel (Qvv, redundancy numbers, sigma0 a-posteriori,
// chi-square global test), PrintResultsSummary (report, then console),
// PrintResults (report), SetResults and PrintCorrUnknown (report); then it
// compares GetNormX() with the iteration threshold.
//
// Facts a caller must know:
// - SetResults alone moves the approximate values to the adjusted ones: it
//   adds xunk to OBS (and VELA) of the point list and to the model's kRefEst,
//   so it must run exactly once per iteration, before the equations are built
//   again.  The prints only read; PrintResults shows the values of the pass
//   (a-priori, correction, adjusted), so it runs before SetResults.  xunk is
//   the correction of the last linearisation only.
// - Qvv and R are always columns (rows x 1) holding the diagonals: the
//   residual cofactors q_vv,ii, and the redundancy numbers r_ii = (Qvv P)_ii
//   with full matrices (MatFull) or zeros without.  The rows x rows matrices
//   are never formed; everything that reads them needs only the diagonal.
// - The system is solved through one contract (CResitev): the sparse L D L'
//   of the normal matrix for every method but the SVD, the dense reference
//   decompositions for the SVD or when `gosto` asks for them.  The residuals,
//   Qvv, R and the robust re-weighting are formed here, once for both.
// - The results of a pass (CRezultati, from Prehod) hold the cofactors as
//   data of their own (KofaktorjiNeznank): they never call back into this.
// - A system that the datum does not fix is not solved: SolveFuncModel
//   returns an outcome naming the points and coordinates that are not
//   determined (FDolocenost), for every method, and the caller decides; with
//   the SVD a rank defect beyond the free network's own likewise, and its
//   rank gives the degrees of freedom.  A solution that is not finite is
//   reported as " **** NEKONCNA RESITEV: ..." before anything of it is used.
// - With no degrees of freedom (f <= 0) sigma0 a-posteriori, the test
//   statistic and its bounds are 0; nothing is divided by zero.
// - With a robust estimator (RobSolve other than "MNK") the solution is
//   repeated with the observation rows re-weighted from the residuals
//   (FWeighRobust, exponent lpnorm for "LPN") until it changes by less than
//   thres, at most 100 re-weightings; the datum rows keep their weight.  The
//   members then hold that last, weighted solution; vvec are its residuals.
//   Rejections that leave an unknown without observations or the system
//   singular give an outcome naming the weight function.  The Lp norms
//   (L1N, LPN) weigh a whitened row by its own whitened residual scaled back
//   to the row's unit, and LPN with p > 2 moves 1/(p-1) of the way to each
//   re-weighted solution (Newton's step for sum |v|^p).
#ifndef NIVEX_SRC_CGMMSOL_H
#define NIVEX_SRC_CGMMSOL_H

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"
#include "src/CResitev.h"
#include "src/ResitevPrehoda.h"

class CProcSet;
class CGDatum;
class CTerObsHA;
class CTerObsCrdA;
class CGMM;
class CRezultati;
class bdmatrika;
struct MetodaResitve;

// What a solution of the functional model came to: solved, or why not, with
// the unknowns it could not determine and the report's message.
struct IzidResitve {
    CResitev::Izid izid = CResitev::Izid::resena;
    bool robustna = false;          // refused after a robust re-weighting
    std::vector<long> nedolocene;   // the unknowns that are not determined
    std::string sporocilo;          // the framed message, empty when solved
    explicit operator bool() const { return sporocilo.empty(); }
};

class CGMMSol {
public:
    CGMMSol(CProcSet& procset, CGDatum& gdatum, CTerObsHA& TOHA, CTerObsCrdA& TOCrdA, CGMM& GMM);
    CGMMSol(const CGMMSol&) = delete;
    CGMMSol& operator=(const CGMMSol&) = delete;

    // Whitened system Bp = L'Bmat, fp = L'fvec (Pll = LL'); xunk = 0, nIter = 0.
    void SetPar();
    // Solution of the current linearisation by datum kind and method; normX = |xunk|.
    IzidResitve SolveFuncModel();
    // 2-norm of the last solution vector (1.0 before the first one).
    real GetNormX() const { return normX; }
    // Cofactor of the unknowns i and j, datum applied.  The quality analyses
    // read only point and pair blocks through this, never Qdd itself, so the
    // way the cofactors are kept may change without touching them.
    // Off the factor's pattern an entry costs a solve of the column j (kept
    // for the next entries of that column), so sweeps run down columns.
    // A held coordinate (CGMM::Drzana) has none.
    real Qxx(long i, long j) const;
    // The same cofactors as a hold of the solution that made them (valid
    // when this object is gone; see ResitevPrehoda).
    KofaktorjiNeznank Kofaktorji() const;
    // The values of the pass for the results (after SolveStohModel).
    ResitevPrehoda Prehod() const;
    // Qvv, R, rsum, rpovp, SoI, the global test and SoIIzracun.
    void SolveStohModel();
    // SoI, the global test with its interval and SoIIzracun for sqrt(v'P v)
    // and f degrees of freedom (after SolveStohModel, or for a model that a
    // record has left since, with its new v'P v and f).
    void GlobalniTest(real korenVPV, long f);

    // Adds the corrections xunk to the approximate values of the points (and
    // velocities) and to the estimated refraction coefficients, so the next
    // pass linearises at the adjusted values.
    void SetResults();

    // Iteration summary with the global test.
    void PrintResultsSummary(std::ostream& izhod) const;
    // Adjusted heights or coordinates (and velocities, refraction
    // coefficients) of the pass as the results hold them (CRezultati::SetPrehod).
    void PrintResults(std::ostream& izhod, const CRezultati& rez) const;
    // The same from the results of this pass, formed here.
    void PrintResults(std::ostream& izhod) const;
    // Correlation matrix of the coordinate unknowns (only with izpisCorrUnk).
    void PrintCorrUnknown(std::ostream& izhod, const CRezultati& rez) const;

    CProcSet& procset;
    CGDatum& gdatum;
    CTerObsHA& TOHA;
    CTerObsCrdA& TOCrdA;
    CGMM& GMM;

    // The reference solution on full matrices (the design matrix and the
    // cofactors dense, every method's own decomposition) for any method; the
    // SVD always takes it.
    bool gosto = false;
    bool Gosto() const;
    // The solution that ran (nullptr before the first pass).
    const CResitev* Resitev() const { return resitev.get(); }

    real thres = 1e-8L;   // convergence of the inner (robust) loop
    real normX = 1.0L;    // |xunk|, 1.0 until the first solution
    std::uint16_t nIter = 0;     // inner iterations of the last solution
    // Robust weight factor (square of the row factor) of every observation
    // row in the last solution; empty for least squares.
    std::vector<real> robustneUtezi;

    matrika<real> xunk;   // u x 1 corrections of the unknowns
    matrika<real> vvec;   // n x 1 residuals fvec - Bmat*xunk
    matrika<real> Qvv;    // n x 1 diagonal of the residual cofactors
    // A design (*NACRT): the residual cofactors of every dense block of
    // correlated weights (m x m, row after row; empty for a row of its own
    // and a band), by block of GMM.PllB, for the directions (FNacrt).
    std::vector<std::vector<real>> qvvBloki;
    matrika<real> R;      // n x 1 redundancy numbers (zeros without MatFull)
    real rsum = 0.0L;     // sum of r_ii over the nobs observations
    real rpovp = 0.0L;    // rsum / nobs
    real SoI = 0.0L;      // sigma0 a-posteriori
    real SoIIzracun = 0.0L;  // reference variance of all accuracy measures
    real gtest = 0.0L;    // SoI^2 / So^2
    real gtestA = 0.0L;   // acceptance interval of gtest
    real gtestB = 0.0L;
    long prostostne = 0;         // degrees of freedom of the global test

private:
    // The solution of the method asked for (rebuilt when the method or the
    // choice of the dense reference changes).
    // Shared with the cofactors the results of a pass hold (Kofaktorji).
    std::shared_ptr<CResitev> resitev;
    const MetodaResitve* metodaResitve = nullptr;
    bool resitevGosta = false;

    // The inner (robust) loop of one linearisation, for every datum kind.
    IzidResitve SolveInnerLoop(CResitev::Datum datum, const char* datumOznaka);
    // The datum rows and constraints of the solution for a datum kind.
    CResitev::DatumSistema SistemDatuma(CResitev::Datum datum) const;
    // The solution x made a step: held coordinates zero, LPN's damped step.
    void KorakResitve(matrika<real>& x, bool utezeno) const;
    // x taken as the corrections, the residuals (and the robust loop's own)
    // formed; returns the change of the solution.
    real OstankiPrehoda(const matrika<real>& x, bool mnk, unsigned long nObs, const bdmatrika& L,
                        matrika<real>& vObs);
    // The robust weights of the next pass; false where the rejections leave
    // the network undetermined.
    bool Preutezi(const matrika<real>& vObs, unsigned long nObs, matrika<real>& W, redkaMatrika& Bp0,
                  matrika<real>& fp0, long& rang0);
    // The outcome of a solution that failed, worded for the report.
    IzidResitve Neuspeh(CResitev::Izid izid, bool utezeno, const char* datumOznaka) const;
    // Qvv, the diagonal of the residual cofactors, from the solution's Par.
    void QvvDiagonala();
    // R, the diagonal of Qvv P with correlated weights, block by block.
    void RDiagonala();
    // Degrees of freedom of the global test by datum kind.
    long ProstostneStopnje() const;
};

#endif
