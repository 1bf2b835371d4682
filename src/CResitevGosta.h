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
    CResitevGosta(const MetodaResitve& metoda, real SVDthres);

    void Beli(const CGMM& GMM) override;
    Izid Resi(const CGMM& GMM, Datum datum, matrika<real>& x) override;
    real Q(long i, long j) const override { return Qdd(i, j); }
    bool StolpciHkrati() const override { return true; }
    real Par(const redkaMatrika& B, unsigned long r, unsigned long s) const override;
    void RDiag(const CGMM& GMM, matrika<real>& R) const override;
    bool Prevesi(const matrika<real>& vObs, matrika<real>& W, real So,
                 const std::string& RobSolve, real p, std::uint16_t nIter) override;
    void PrevesiBloke(const CGMM& GMM, const matrika<real>& W) override;
    long Rang() const override { return rang; }

    const MetodaResitve& metoda;

    matrika<real> Bp;     // n x u whitened design matrix
    matrika<real> fp;     // n x 1 whitened misclosures
    matrika<real> Qdd;    // u x u cofactors of the unknowns, datum applied

private:
    // Qdd -= Hdat' (Hdat C'C Hdat')^-1 Hdat; false (Qdd unchanged) when that
    // matrix is singular.
    bool CorrectQdd(const matrika<real>& Hdat, const matrika<real>& C);

    std::unique_ptr<razcepMetoda<real>> razcep;
    matrika<real> Bgost;  // dense copy of the design matrix
    long rang = -1;              // rank of the first solution of the linearisation (SVD only)
    bool prva = true;            // the next Resi is the first of this linearisation
    // Robust re-weighting: the unweighted rows and the rank they have.
    matrika<real> Bp0, fp0;
    long rang0 = -1;
};

#endif
