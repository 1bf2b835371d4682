#include "matrika/invtrid.h"

#include <cmath>

namespace {
const char* const F = "matrika/invtrid";
const double TOL = numerika::kTridiagPivot;

[[noreturn]] void Singularna(const char* funkcija, real pivot, unsigned long i, long line)
{
    matrikaError(NapakaFunkcije(funkcija, Besedilo::MatSingularna), F, line, pivot / static_cast<real>(TOL), (long)i);
}
const char* const SINGV = "invtridV() - Gauss-Jordan";
}  // namespace

matrika<real> invtridV(const matrika<real>& Tin, long zamik)
{
    using R = real;
    if (Tin.ncol() != 3)
        matrikaError(NapakaFunkcije("invtridV() - Gauss-Jordan", Besedilo::MatTriStolpci), F, __LINE__);
    if (Tin.nrow() == 0)
        matrikaError(NapakaFunkcije("invtridV() - Gauss-Jordan", Besedilo::MatNiDefinirana), F, __LINE__);
    const unsigned long n = Tin.nrow();
    matrika<R> T(Tin);
    matrika<R> B = I(n, R(1));
    R* t = T.data();
    R* b = B.data();

    // Forward: row i - 1 is subtracted from row i.  Row i - 1 of B is only
    // non-zero in columns 0 .. i - 1 (it is a combination of the rows above).
    // A pivot is measured against its row's own diagonal: cofactors of any
    // size (a kilometre beside a tenth of a millimetre) stay invertible.
    const auto majhen = [&Tin](R piv, unsigned long i) { return dabs(piv) < TOL * dabs(Tin(i, 1)) || piv == 0; };
    for (unsigned long i = 1; i < n; ++i) {
        if (t[i * 3 + 0] != 0) {
            const R piv = t[(i - 1) * 3 + 1];
            if (majhen(piv, i - 1)) Singularna(SINGV, piv, zamik + i - 1, __LINE__);
            const R f = -t[i * 3 + 0] / piv;
            t[i * 3 + 0] += f * piv;
            t[i * 3 + 1] += f * t[(i - 1) * 3 + 2];
            for (unsigned long j = 0; j < i; ++j) b[i * n + j] += f * b[(i - 1) * n + j];
        }
    }
    // Backward: row i + 1, now without its left element, is subtracted from row i.
    for (unsigned long i = n - 1; i-- > 0;) {
        if (t[i * 3 + 2] != 0) {
            const R piv = t[(i + 1) * 3 + 1];
            if (majhen(piv, i + 1)) Singularna(SINGV, piv, zamik + i + 1, __LINE__);
            const R f = -t[i * 3 + 2] / piv;
            t[i * 3 + 2] += f * piv;
            for (unsigned long j = 0; j < n; ++j) b[i * n + j] += f * b[(i + 1) * n + j];
        }
    }
    for (unsigned long i = 0; i < n; ++i) {
        const R d = t[i * 3 + 1];
        if (majhen(d, i)) Singularna(SINGV, d, zamik + i, __LINE__);
        for (unsigned long j = 0; j < n; ++j) b[i * n + j] /= d;
    }
    return B;
}

matrika<real> invdiagR3(const matrika<real>& T)
{
    if (T.empty())
        matrikaError(NapakaFunkcije("invtridR3() - Gauss-Jordan", Besedilo::MatNiDefinirana), F, __LINE__);
    // The diagonal is the middle column of the band.
    if (T.ncol() < 2)
        matrikaError(NapakaFunkcije("invtridR3() - Gauss-Jordan", Besedilo::MatTriStolpci), F, __LINE__);
    const unsigned long n = T.nrow();
    matrika<real> D(n, 1);
    // Each weight stands alone: only a zero or a cofactor whose inverse
    // overflows is singular, however small it is beside the others.
    for (unsigned long i = 0; i < n; ++i) {
        if (T(i, 1) == 0 || !std::isfinite(1.0L / T(i, 1)))
            Singularna("invdiag() - Gauss-Jordan", T(i, 1), i, __LINE__);
        D(i) = 1.0L / T(i, 1);
    }
    return D;
}
