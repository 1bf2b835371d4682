#include "matrika/lur.h"

#include <cmath>

namespace {
const char* const F = "matrika/lur";
}

template <typename T>
void lur<T>::razcep(const matrika<T>& A)
{
    Razcep(A, false);
}

template <typename T>
void lur<T>::Razcep(const matrika<T>& A, bool prijavi)
{
    prijavi_ = prijavi;
    this->pivot_ = -1;
    if (A.empty()) matrikaError(NapakaFunkcije("lur::razcep", Besedilo::MatNiDefinirana), F, __LINE__);
    if (A.nrow() != A.ncol())
        matrikaError(NapakaFunkcije("lur::razcep", Besedilo::MatKvadratna), F, __LINE__);
    const unsigned long n = A.nrow();
    LU = A;
    P = I(n, T(1));
    predznak = 1;
    perm_.resize(n);
    for (unsigned long i = 0; i < n; ++i) perm_[i] = i;
    T* a = LU.data();
    T* p = P.data();
    for (unsigned long k = 0; k + 1 < n; ++k) {
        unsigned long piv = k;
        T big = std::fabs(a[k * n + k]);
        for (unsigned long i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > big) { big = std::fabs(a[i * n + k]); piv = i; }
        if (piv != k) {
            for (unsigned long j = 0; j < n; ++j) {
                std::swap(a[piv * n + j], a[k * n + j]);
                std::swap(p[piv * n + j], p[k * n + j]);
            }
            std::swap(perm_[piv], perm_[k]);
            predznak = -predznak;
        }
        const T* Uk = a + k * n;
        if (prijavi && !(dabs(Uk[k]) >= numerika::kSingularniPivot)) {
            this->pivot_ = static_cast<long>(k);
            return;
        }
        for (unsigned long i = k + 1; i < n; ++i) {
            T* Li = a + i * n;
            Li[k] = Li[k] / Uk[k];
            const T lik = Li[k];
            for (unsigned long j = k + 1; j < n; ++j) Li[j] -= Uk[j] * lik;
        }
    }
}

template <typename T>
matrika<T> lur<T>::resiv(const matrika<T>& f) const
{
    // P f first, with the size checks of the matrix product.
    matrika<T> y = P * f;
    if (LU.empty())
        matrikaError(NapakaFunkcije("lur::resi", Besedilo::MatNiDefiniranaRazcep), F, __LINE__);
    if (f.empty()) matrikaError(NapakaFunkcije("lur::resi", Besedilo::MatFNiDefiniran), F, __LINE__);
    if (f.nrow() > 1 && f.ncol() > 1)
        matrikaError(NapakaFunkcije("lur::resi", Besedilo::MatFNiVektor), F, __LINE__);
    const unsigned long n = LU.nrow();
    const T* a = LU.data();
    T* x = y.data();
    for (unsigned long j = 0; j < n; ++j) {
        T s = x[j];
        for (unsigned long k = 0; k < j; ++k) s -= a[j * n + k] * x[k];
        x[j] = s;
    }
    for (unsigned long j = n; j-- > 0;) {
        T s = x[j];
        for (unsigned long k = j + 1; k < n; ++k) s -= a[j * n + k] * x[k];
        x[j] = s / a[j * n + j];
    }
    return y;
}

template <typename T>
matrika<T> lur<T>::resi(const matrika<T>& F_) const
{
    if (F_.empty())
        matrikaError(NapakaFunkcije("lur::resi", Besedilo::MatVektorFNiDefiniran), F, __LINE__);
    if (F_.ncol() == 1) return resiv(F_);
    const unsigned long n = F_.nrow(), m = F_.ncol();
    matrika<T> X(LU.nrow(), m);
    matrika<T> f(n, 1);
    for (unsigned long k = 0; k < m; ++k) {
        for (unsigned long i = 0; i < n; ++i) f(i) = F_(i, k);
        const matrika<T> x = resiv(f);
        for (unsigned long i = 0; i < x.nrow(); ++i) X(i, k) = x(i);
    }
    return X;
}

template <typename T>
matrika<T> lur<T>::inv()
{
    if (LU.empty())
        matrikaError(NapakaFunkcije("lur::inv", Besedilo::MatNiDefiniranaRazcep), F, __LINE__);
    if (this->pivot_ >= 0) return matrika<T>();
    const unsigned long n = LU.nrow();
    for (unsigned long i = 0; i < n; ++i) {
        if (prijavi_ && !(dabs(LU(i, i)) >= numerika::kSingularniPivot)) {
            this->pivot_ = static_cast<long>(i);
            return matrika<T>();
        }
        if (dabs(LU(i, i)) < numerika::kSingularniPivot)
            matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatSingularna), F, __LINE__,
                         LU(i, i) / T(numerika::kSingularniPivot), (long)i);
    }
    if (n == 1) return matrika<T>(1, 1, T(1) / LU(0));

    // Column c of A^-1 solves L U x = P e_c, and P e_c is the unit vector at
    // r, the row with perm_[r] = c.  Four right-hand sides r at a time, each
    // sum with its own accumulator and in the order of the one-column solve;
    // the leading zeros of a unit vector contribute exact zeros.
    const T* a = LU.data();
    matrika<T> X(n, n);
    T* x = X.data();
    std::vector<T> buf(4 * n, T(0));
    T* y[4] = {buf.data(), buf.data() + n, buf.data() + 2 * n, buf.data() + 3 * n};
    for (unsigned long r0 = 0; r0 < n; r0 += 4) {
        const unsigned long g = n - r0 < 4 ? n - r0 : 4;
        for (unsigned long k = 0; k < n; ++k) y[0][k] = y[1][k] = y[2][k] = y[3][k] = 0;
        for (unsigned long j = r0; j < n; ++j) {
            const T* Lj = a + j * n;
            T s0 = j == r0 ? 1 : 0, s1 = j == r0 + 1 ? 1 : 0, s2 = j == r0 + 2 ? 1 : 0, s3 = j == r0 + 3 ? 1 : 0;
            for (unsigned long k = r0; k < j; ++k) {
                const T l = Lj[k];
                s0 -= l * y[0][k];
                s1 -= l * y[1][k];
                s2 -= l * y[2][k];
                s3 -= l * y[3][k];
            }
            y[0][j] = s0;
            y[1][j] = s1;
            y[2][j] = s2;
            y[3][j] = s3;
        }
        for (unsigned long j = n; j-- > 0;) {
            const T* Uj = a + j * n;
            T s0 = y[0][j], s1 = y[1][j], s2 = y[2][j], s3 = y[3][j];
            for (unsigned long k = j + 1; k < n; ++k) {
                const T u = Uj[k];
                s0 -= u * y[0][k];
                s1 -= u * y[1][k];
                s2 -= u * y[2][k];
                s3 -= u * y[3][k];
            }
            const T d = Uj[j];
            y[0][j] = s0 / d;
            y[1][j] = s1 / d;
            y[2][j] = s2 / d;
            y[3][j] = s3 / d;
        }
        for (unsigned long t = 0; t < g; ++t) {
            const unsigned long c = perm_[r0 + t];
            for (unsigned long j = 0; j < n; ++j) x[j * n + c] = y[t][j];
        }
    }
    return X;
}

template <typename T>
void lur<T>::razcep(const matrika<T>& M, const matrika<T>& f)
{
    Razcep(M, true);
    fs = f;
}

template class lur<real>;
