#include "matrika/lur.h"

#include <cmath>

namespace {
const char* const F = "matrika/lur";
}

template <typename T>
void lur<T>::razcep(const matrika<T>& A)
{
    if (A.empty()) matrikaError("Funkcija:   lur::razcep\nDimenzija matrike ni definirana: ", F, __LINE__);
    if (A.nrow() != A.ncol())
        matrikaError("Funkcija:   lur::razcep\nMatrika mora biti kvadratna: ", F, __LINE__);
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
        matrikaError("Funkcija:   lur::resi\nDimenzija matrike ni definirana - Izvedi razcep prvo: ", F, __LINE__);
    if (f.empty()) matrikaError("Funkcija:   lur::resi\nDimenzija vektorja f ni definirana: ", F, __LINE__);
    if (f.nrow() > 1 && f.ncol() > 1)
        matrikaError("Funkcija:   lur::resi\nVektorja f mora biti vektor ne matrika: ", F, __LINE__);
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
        matrikaError("Funkcija:   lur::resi\nDimenzija vektorja/matrike f ni definirana: ", F, __LINE__);
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
        matrikaError("Funkcija:   lur::inv\nDimenzija matrike ni definirana - Izvedi razcep prvo: ", F, __LINE__);
    const unsigned long n = LU.nrow();
    for (unsigned long i = 0; i < n; ++i)
        if (dabs(LU(i, i)) < 1e-15)
            matrikaError("Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: ", F, __LINE__,
                         LU(i, i) / T(1e-15), (long)i);
    if (n == 1) return matrika<T>(1, 1, T(1) / LU(0));

    // Column c of A^-1 solves L U x = P e_c, and P e_c is the unit vector at
    // r, the row with perm_[r] = c.  Taken in the order of r the forward
    // solutions form the lower triangle Z = L^-1 (the leading zeros of each
    // right-hand side stay exact zeros and are skipped); then U^-1 Z row by
    // row, every element summed in the order of the one-column solve.
    const T* a = LU.data();
    std::vector<T> Z(n * n, T(0));
    std::vector<T> acc(n);
    for (unsigned long j = 0; j < n; ++j) {
        for (unsigned long c = 0; c <= j; ++c) acc[c] = (c == j) ? T(1) : T(0);
        for (unsigned long k = 0; k < j; ++k) {
            const T l = a[j * n + k];
            const T* Zk = Z.data() + k * n;
            for (unsigned long c = 0; c <= k; ++c) acc[c] -= l * Zk[c];
        }
        for (unsigned long c = 0; c <= j; ++c) Z[j * n + c] = acc[c];
    }
    for (unsigned long j = n; j-- > 0;) {
        T* Zj = Z.data() + j * n;
        for (unsigned long c = 0; c < n; ++c) acc[c] = Zj[c];
        for (unsigned long k = j + 1; k < n; ++k) {
            const T u = a[j * n + k];
            const T* Zk = Z.data() + k * n;
            for (unsigned long c = 0; c < n; ++c) acc[c] -= u * Zk[c];
        }
        const T d = a[j * n + j];
        for (unsigned long c = 0; c < n; ++c) Zj[c] = acc[c] / d;
    }
    matrika<T> X(n, n);
    T* x = X.data();
    for (unsigned long j = 0; j < n; ++j)
        for (unsigned long r = 0; r < n; ++r) x[j * n + perm_[r]] = Z[j * n + r];
    return X;
}

template <typename T>
void lur<T>::razcep(const matrika<T>& M, const matrika<T>& f)
{
    razcep(M);
    fs = f;
}

template class lur<long double>;
