// CResitev: the one contract of the solutions of the whitened Gauss-Markov
// system, so that the solution loop (CGMMSol) is written once for the dense
// decompositions (CResitevGosta) and the sparse L D L' (CGMMSolRedka).
//
//   Beli (GMM)            whitened rows Bp = L'B, fp = L'f of the current
//                         linearisation (Pll = L L'), the one step that reads
//                         the model: the dense reference factors the weights
//                         of correlated angles whole, the sparse solution
//                         takes them from the band of the cofactors;
//   Resi (datum, x)       factors and solves the whitened rows Bp, fp,
//                         applies the datum to the cofactors and reports
//                         what it could not solve;
//   Q (i, j), Par (B, r, s)  cofactor lookup of the unknowns, datum applied,
//                         and b_r Q b_s' of two rows of the design matrix;
//   StolpecQ (j, q)       a whole column of the cofactors;
//   QKrat (s, q)          the cofactors times a vector;
//   RDiagVeriga           the diagonal of Qvv P of a long chain of angles
//                         held by its directions;
//   Rang, nedolocene      rank where the method reveals it, the unknowns the
//                         system leaves undetermined.
//
// What is the same for every solution is the caller's: the residuals of
// the unweighted model, the diagonals of the residual cofactors
// (Qvv_ii = Qll_ii - Par (B, i, i)) and of Qvv P (from Q and Par block by
// block of the weights), the robust re-weighting of the whitened rows Bp, fp
// that every solution holds in this base (with the re-whitening of the
// covariance blocks), the choice of the datum's constraint rows
// (DatumSistema), and the datum matrix M with its factor G (DatumskiG).
//
// Facts a caller must know:
// - Nothing here ends the run: Resi returns an outcome and the caller words
//   it.  Whether an unknown is determined follows one rule for every method
//   (NedolocenaNeznanka): a vanished pivot, a zero normal-matrix diagonal, or
//   a variance inflation N_kk Q_kk above kMejaVIF.
// - The datum kind decides the correction: none for fixed points and
//   pseudo-observations (P, V), the inner constraints Hred for a free network
//   (H), the minimal constraints Ddat (D); either way the correction is
//   Q -= Hdat' (Hdat C'C Hdat')^-1 Hdat.
#ifndef NIVEX_SRC_CRESITEV_H
#define NIVEX_SRC_CRESITEV_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"

class CGMM;
struct SmeriVerige;

class CResitev {
public:
    enum class Izid { resena, nedolocena, datumSingularna, nekoncna };
    enum class Datum { brez, H, D };

    // The datum of a solution, as the model gives it: the constraint rows C
    // (Hred of a free network, Ddat of minimal constraints; nullptr: no
    // correction) and Hdat, with Q -= Hdat' (Hdat C'C Hdat')^-1 Hdat; the
    // rows from nA on are the constraint rows of a free network; a
    // pseudo-inverse may bridge a defect of `defekt` (nHdat of a free network).
    struct DatumSistema {
        Datum datum = Datum::brez;
        const matrika<real>* C = nullptr;
        const matrika<real>* Hdat = nullptr;
        unsigned long nA = 0;
        long defekt = 0;
    };

    virtual ~CResitev() = default;

    virtual void Beli(const CGMM& GMM) = 0;
    // Factors the whitened rows Bp, fp, solves, and applies the datum to the
    // cofactors.
    virtual Izid Resi(const DatumSistema& datum, matrika<real>& x) = 0;
    virtual real Q(long i, long j) const = 0;
    // Column j of the cofactors, q[i] = Q(i, j) for every unknown i: for a
    // print of the whole matrix (the correlation table of the unknowns).
    virtual void StolpecQ(long j, std::vector<real>& q) const
    {
        const long u = static_cast<long>(q.size());
        for (long i = 0; i < u; ++i) q[static_cast<std::size_t>(i)] = Q(i, j);
    }
    // True when, after one call of StolpecQ, columns may be asked for by
    // several threads at once (the cofactors are then only read).
    virtual bool StolpciHkrati() const { return false; }
    // Column j of the cofactors rounded to double, q[i] the double nearest
    // to StolpecQ's: for a print to a few digits, where the solution holds
    // the column so after one call of StolpecQ; false where it does not.
    virtual bool StolpecQDvojno(long /*j*/, std::vector<double>& /*q*/) const { return false; }
    // q = Q s for a sparse s (unknown, value), q of u values.
    virtual void QKrat(const std::vector<std::pair<unsigned long, real>>& s, std::vector<real>& q) const
    {
        std::vector<real> stolpec(q.size());
        std::fill(q.begin(), q.end(), 0.0L);
        for (const auto& [j, x] : s) {
            StolpecQ(static_cast<long>(j), stolpec);
            for (std::size_t i = 0; i < q.size(); ++i) q[i] += stolpec[i] * x;
        }
    }
    virtual real Par(const redkaMatrika& B, unsigned long r, unsigned long s) const = 0;
    // True where the solution holds a long chain of correlated angles (a
    // band block of the weights) by its directions; its redundancy numbers
    // then come from RDiagVeriga.  Otherwise the caller takes the chain as a
    // full block like any other.
    virtual bool DolgeVerige() const { return false; }
    // r_ii = (Qvv P)_ii of the angles of the chain v, B the unweighted rows.
    virtual void RDiagVeriga(const SmeriVerige& /*v*/, const redkaMatrika& /*B*/, matrika<real>& /*R*/) const {}
    // True where a re-weighting that rejects rows is to be checked for the
    // rank of the rows it keeps before the next solution: a method that
    // would bridge the defect (the SVD) or name it less well.
    virtual bool RangPoZavrnitvi() const { return false; }
    // Rank of the whitened system where the method reveals it, else -1.
    virtual long Rang() const { return -1; }

    // After Izid::nedolocena: the unknowns that are not determined.
    std::vector<long> nedolocene;

    // The whitened rows of the current linearisation, Bp = L'B and fp = L'f
    // (Beli), the same for every solution: the robust re-weighting and the
    // whitening of the covariance blocks rescale them in place above the
    // solution, which reads them at its next Resi.
    redkaMatrika Bp;
    matrika<real> fp;

    // An unknown whose variance is inflated more than this by its dependence
    // on the others (N(k,k) * Q(k,k), the variance inflation factor) is not
    // determined by the observations and the datum: in extended precision a
    // singular system leaves pivots of round-off size, whose inflation is
    // 1e16 or more, while a determined network stays many orders below.
    static constexpr real kMejaVIF = 1e14L;
    static bool NedolocenaNeznanka(real Nkk, real Qkk, real meja = kMejaVIF)
    {
        return Nkk == 0.0L || !(std::fabs(Nkk * Qkk) <= meja);
    }
    // b_r Q b_s' of the rows r and s of B from a cofactor lookup q(i, j):
    // t_j = sum_k b_rk Q(k, j), then sum_j t_j b_sj, as the dense product sums.
    template <typename Kofaktor>
    static real ParIzKofaktorjev(const redkaMatrika& B, unsigned long r, unsigned long s, Kofaktor q)
    {
        real vsota = 0.0L;
        for (const auto& ej : B.vrstica(s)) {
            real t = 0.0L;
            for (const auto& ek : B.vrstica(r))
                t += ek.vrednost * q(static_cast<long>(ek.stolpec), static_cast<long>(ej.stolpec));
            vsota += t * ej.vrednost;
        }
        return vsota;
    }
    // The datum correction Q -= Hdat' G of every solution: G = M^-1 Hdat
    // with M = Hdat C'C Hdat' = K K', K = Hdat C'.  `inverz` inverts M the
    // solution's own way and gives an empty matrix for a singular M (false,
    // G untouched).
    static bool DatumskiG(const matrika<real>& Hdat, const matrika<real>& C,
                          const std::function<matrika<real>(const matrika<real>&)>& inverz, matrika<real>& G);
    // Every element is a finite number.
    static bool Koncna(const matrika<real>& A)
    {
        const real* a = A.data();
        for (unsigned long k = 0; k < A.size(); ++k)
            if (!std::isfinite(a[k])) return false;
        return true;
    }
};

#endif
