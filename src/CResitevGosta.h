// CResitevGosta: the reference solution on full matrices - the whitened
// design matrix Bp and the cofactors Qdd are dense, and every method solves
// with its own decomposition (the normal matrix for "NS", "LU", "CH"; the
// design matrix for the QR variants and the SVD).  The SVD always takes it;
// the other methods take it when the caller asks for the dense reference.
//
// Facts a caller must know:
// - The SVD is a pseudo-inverse: it bridges any defect, so its regularity is
//   not checked; a rank defect beyond the free network's own is reported as
//   undetermined at the first solution, and the rank gives the degrees of
//   freedom (Rang).
// - The undetermined unknowns are named by the null space of Bp, which names
//   them better than a pivot or the inflation that the inner constraints
//   spread over every point.
#ifndef NIVEX_SRC_CRESITEVGOSTA_H
#define NIVEX_SRC_CRESITEVGOSTA_H

#include <memory>

#include "matrika/razcepmetoda.h"
#include "src/CResitev.h"
#include "src/MetodaResitve.h"

class CResitevGosta final : public CResitev {
public:
    CResitevGosta(const MetodaResitve& metoda, long double SVDthres);

    void Beli(const CGMM& GMM) override;
    Izid Resi(const CGMM& GMM, Datum datum, matrika<long double>& x) override;
    long double Q(long i, long j) const override { return Qdd(i, j); }
    long double Par(const redkaMatrika& B, unsigned long r, unsigned long s) const override;
    void Ostanki(const CGMM& GMM, const matrika<long double>& x, matrika<long double>& v) const override;
    void QvvDiag(const CGMM& GMM, matrika<long double>& Qvv) const override;
    void RDiag(const CGMM& GMM, matrika<long double>& R) const override;
    bool Prevesi(const matrika<long double>& vObs, matrika<long double>& W, long double So,
                 const std::string& RobSolve, long double p, std::uint16_t nIter) override;
    long Rang() const override { return rang; }

    const MetodaResitve& metoda;

    matrika<long double> Bp;     // n x u whitened design matrix
    matrika<long double> fp;     // n x 1 whitened misclosures
    matrika<long double> Qdd;    // u x u cofactors of the unknowns, datum applied

private:
    // Qdd -= Hdat' (Hdat C'C Hdat')^-1 Hdat; false (Qdd unchanged) when that
    // matrix is singular.
    bool CorrectQdd(const matrika<long double>& Hdat, const matrika<long double>& C);

    std::unique_ptr<razcepMetoda<long double>> razcep;
    matrika<long double> Bgost;  // dense copy of the design matrix
    long rang = -1;              // rank of the first solution of the linearisation (SVD only)
    bool prva = true;            // the next Resi is the first of this linearisation
    // Robust re-weighting: the unweighted rows and the rank they have.
    matrika<long double> Bp0, fp0;
    long rang0 = -1;
};

#endif
