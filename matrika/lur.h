// lur: LU decomposition with partial (row) pivoting, P A = L U, with its
// solver and inverse.
//
// LU holds the unit lower triangle L below the diagonal and U on and above
// it; P is the row-permutation matrix and predznak the sign of the
// permutation (+1, negated at every row exchange).  razcep does not refuse a
// zero pivot; inv refuses any diagonal element of U below 1e-15.  Through
// the common contract such a pivot is noted (nicelniPivot) instead, and the
// decomposition stops there.  Used with
// T = real.
#ifndef NIVEX_MATRIKA_LUR_H
#define NIVEX_MATRIKA_LUR_H

#include "matrika/matrika.h"
#include "matrika/razcepmetoda.h"

template <typename T>
class lur : public razcepMetoda<T> {
public:
    matrika<T> LU;
    matrika<T> P;
    int predznak = 1;

    // Decomposes a square A.
    void razcep(const matrika<T>& A);
    // x of A x = f.
    matrika<T> resiv(const matrika<T>& f) const;
    // X of A X = F, column by column.
    matrika<T> resi(const matrika<T>& F) const;
    // A^-1.
    matrika<T> inv() override;

    // Common contract: M = N, f = n.
    bool normalna() const override { return true; }
    void razcep(const matrika<T>& M, const matrika<T>& f) override;
    matrika<T> resi() override { return this->pivot_ >= 0 ? matrika<T>() : resi(fs); }

private:
    void Razcep(const matrika<T>& A, bool prijavi);
    bool prijavi_ = false;   // decomposed through the common contract: a vanishing pivot is noted
    // perm_[i]: the row of A that row i of LU came from (P(i, perm_[i]) = 1).
    std::vector<unsigned long> perm_;
    matrika<T> fs;
};

extern template class lur<real>;

#endif
