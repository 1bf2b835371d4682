// svdr: singular value decomposition A = U diag(S) V' (the decompose
// algorithm of Numerical Recipes, 3rd ed.: Householder reduction to
// bidiagonal form, accumulation of U and V, implicit shifted QR), with the
// least-squares solve and the pseudo-inverse of A'A over the singular values
// above a threshold.
//
// U has A's size (m x n), S is an n x 1 column, V is n x n.  The singular
// values are non-negative and in the order the algorithm leaves them (not
// sorted).  A with fewer rows than columns is decomposed too; its surplus
// singular values are zero.  Negligibility tests compare with eps * |A| (eps
// = 1e-15); a value not converged in 30 iterations ends the run.  Square roots
// and pythag are taken in double precision.  Used with T = real.
#ifndef NIVEX_MATRIKA_SVDR_H
#define NIVEX_MATRIKA_SVDR_H

#include "matrika/matrika.h"
#include "matrika/razcepmetoda.h"

template <typename T>
class svdr : public razcepMetoda<T> {
public:
    matrika<T> U;
    matrika<T> S;
    matrika<T> V;
    real tsh;   // threshold of the last solve
    real eps;   // convergence tolerance

    svdr() : tsh(static_cast<real>(numerika::kEpsSVD)), eps(static_cast<real>(numerika::kEpsSVD)) {}
    // For the common contract: threshold of resi() and inv().
    explicit svdr(real prag) : tsh(prag), eps(static_cast<real>(numerika::kEpsSVD)) {}

    void razcep(const matrika<T>& A);
    // Least-squares x of A x ~ f over the singular values with |S(j)| > threshold.
    matrika<T> resi(const matrika<T>& f, real threshold);
    // V diag(1/S^2) V' over the singular values with |S(j)| > threshold.
    matrika<T> pinvAtA(real threshold);
    // sqrt(a^2 + b^2) without overflow, in double precision.
    static T pythag(T a, T b);

    // Common contract: M = A, f = f, threshold tsh.
    bool normalna() const override { return false; }
    void razcep(const matrika<T>& M, const matrika<T>& f) override;
    matrika<T> resi() override { return resi(fs, tsh); }
    matrika<T> inv() override { return pinvAtA(tsh); }
    // The singular values above the threshold, and the shares of the
    // unknowns in the null space spanned by the columns of V of the others.
    long rang() const override;
    matrika<T> nicelniDelez() const override;

private:
    void Preveri(const char* funkcija, long line) const;
    matrika<T> fs;
};

extern template class svdr<real>;

#endif
