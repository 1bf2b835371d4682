// qrr: least-squares solution of A x ~ f by an orthogonal-triangular (QR)
// decomposition of the design matrix A (m x n), without a normal matrix.
//
// Three methods: Householder reflections (qrhous; "QR" and "QRHOUS"),
// modified Gram-Schmidt (qrmgs; "QRMGS", the only one that forms Q and that
// needs strictly more rows than columns) and Givens rotations (qrgiv;
// "QRGIV").  After a decomposition R holds the triangular factor in its first
// n rows and b the right-hand side transformed with it; inv() gives
// (R'R)^-1 = (A'A)^-1 and refuses a diagonal element of R below 1e-15.  A
// column of A that is zero (as far as the method can tell) is left with a zero
// diagonal element rather than filled with undefined values.  f may have more
// than one column; x then has as many.  Used with T = real.
#ifndef NIVEX_MATRIKA_QRR_H
#define NIVEX_MATRIKA_QRR_H

#include <string>

#include "matrika/matrika.h"
#include "matrika/razcepmetoda.h"

template <typename T>
class qrr : public razcepMetoda<T> {
public:
    matrika<T> Q;
    matrika<T> R;
    matrika<T> b;

    // metoda: the method of the common contract ("QR", "QRHOUS", "QRMGS", "QRGIV").
    explicit qrr(std::string metoda = "QR") : metoda_(std::move(metoda)) {}

    // x by the method named; any other name gives an empty result.
    matrika<T> razcep(const matrika<T>& A, const matrika<T>& f, const std::string& method);
    matrika<T> qrhous(const matrika<T>& A, const matrika<T>& f);
    matrika<T> qrmgs(const matrika<T>& A, const matrika<T>& f);
    matrika<T> qrgiv(const matrika<T>& A, const matrika<T>& f);
    // (R'R)^-1 e for a vector e of n elements.
    matrika<T> resivi(const matrika<T>& e) const;
    // (R'R)^-1.
    matrika<T> inv() override;

    // Common contract: M = A, f = f, with the method given at construction.
    bool normalna() const override { return false; }
    // A diagonal element of R below 1e-15 is noted (nicelniPivot), not refused.
    void razcep(const matrika<T>& M, const matrika<T>& f) override;
    matrika<T> resi() override { return this->pivot_ >= 0 ? matrika<T>() : x_; }

private:
    bool prijavi_ = false;   // decomposed through the common contract
    // x of R x = b over the first n rows.
    matrika<T> NazajR() const;
    std::string metoda_;
    matrika<T> x_;
};

extern template class qrr<real>;

#endif
