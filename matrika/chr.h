// chr: Cholesky decomposition A = L L' of a symmetric positive (semi-)definite
// matrix, with its solver and inverse.
//
// Only the lower triangle of A is read.  A negative radicand ends the run with
// the "  KOREN: " line on the console and the positive-semi-definite message;
// a zero radicand is accepted by razcep (the factor then holds an infinite or
// undefined column), and inv refuses any diagonal element of L below 1e-15.
// Through the common contract neither ends the run: a radicand that is not
// positive, or a diagonal element below 1e-15, is noted (nicelniPivot).
// With the diagonal flag the matrix is taken as diagonal (a column of its
// diagonal or a square matrix) and L is the n x 1 column of square roots.
// Square roots are taken in double precision, everything else in long double.
// Used with T = real.
#ifndef NIVEX_MATRIKA_CHR_H
#define NIVEX_MATRIKA_CHR_H

#include "matrika/matrika.h"
#include "matrika/razcepmetoda.h"

template <typename T>
class chr : public razcepMetoda<T> {
public:
    matrika<T> L;

    // Decomposes A; diagonal != 0 for a diagonal matrix.
    void razcep(const matrika<T>& A, unsigned short diagonal = 0);
    // x of A x = f for a vector f with as many rows as L.
    matrika<T> resiv(const matrika<T>& f) const;
    // X of A X = F, column by column (F with as many rows as L).
    matrika<T> resi(const matrika<T>& F) const;
    // A^-1.
    matrika<T> inv() override;

    // Common contract: M = N, f = n.
    bool normalna() const override { return true; }
    void razcep(const matrika<T>& M, const matrika<T>& f) override;
    matrika<T> resi() override { return this->pivot_ >= 0 ? matrika<T>() : resi(fs); }

private:
    void Razcep(const matrika<T>& A, unsigned short diagonal, bool prijavi);
    bool diag_ = false;
    bool prijavi_ = false;   // decomposed through the common contract: a vanishing pivot is noted
    matrika<T> fs;
};

extern template class chr<real>;

#endif
