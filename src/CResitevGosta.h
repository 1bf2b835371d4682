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
// - The whitened rows are held as the base's sparse rows (their zeros not
//   stored) and made full again for every solution; the rank of the rows a
//   robust re-weighting keeps is checked before the next (RangPoZavrnitvi).
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
    Izid Resi(const DatumSistema& datum, matrika<real>& x) override;
    real Q(long i, long j) const override { return Qdd(i, j); }
    bool StolpciHkrati() const override { return true; }
    real Par(const redkaMatrika& B, unsigned long r, unsigned long s) const override;
    bool RangPoZavrnitvi() const override { return true; }
    long Rang() const override { return rang; }

    const MetodaResitve& metoda;

    matrika<real> Qdd;    // u x u cofactors of the unknowns, datum applied

private:
    // Qdd -= Hdat' (Hdat C'C Hdat')^-1 Hdat; false (Qdd unchanged) when that
    // matrix is singular.
    bool CorrectQdd(const matrika<real>& Hdat, const matrika<real>& C);

    std::unique_ptr<razcepMetoda<real>> razcep;
    matrika<real> Bgost;  // dense copy of the design matrix
    long rang = -1;              // rank of the first solution of the linearisation (SVD only)
    bool prva = true;            // the next Resi is the first of this linearisation
};

#endif
