#include "matrika/chr.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include "matrika/trikotni.h"

namespace {
const char* const F = "matrika/chr";

template <typename T>
[[noreturn]] void Koren(unsigned long i, T d)
{
    std::ostringstream s;
    s << "\n" << std::setw(4) << i << B(Besedilo::MatKoren) << std::setw(20) << std::setprecision(16) << d << "\n";
    std::cout << s.str();
    matrikaError(NapakaFunkcije("chr::razcep", Besedilo::MatSemiDefinitna, Besedilo::OkvirFunkcijaKratko), F, __LINE__);
}
}  // namespace

template <typename T>
void chr<T>::razcep(const matrika<T>& A, unsigned short diagonal)
{
    Razcep(A, diagonal, false);
}

template <typename T>
void chr<T>::Razcep(const matrika<T>& A, unsigned short diagonal, bool prijavi)
{
    prijavi_ = prijavi;
    this->pivot_ = -1;
    if (A.empty()) matrikaError(NapakaFunkcije("chr::razcep", Besedilo::MatNiDefinirana), F, __LINE__);
    const unsigned long n = A.nrow();
    diag_ = diagonal != 0;
    if (diag_) {
        const bool stolpec = A.ncol() == 1;
        if (!stolpec && A.ncol() != n)
            matrikaError(NapakaFunkcije("chr::razcep", Besedilo::MatKvadratna), F, __LINE__);
        L.resize(n, 1);
        for (unsigned long i = 0; i < n; ++i) {
            const T d = stolpec ? A(i) : A(i, i);
            // A negative weight would give an undefined root.
            if (d < 0) Koren(i, d);
            L(i) = dsqrt(d);
        }
        return;
    }
    if (A.ncol() != n) matrikaError(NapakaFunkcije("chr::razcep", Besedilo::MatKvadratna), F, __LINE__);

    L.resize(n, n, T(0));
    const T* a = A.data();
    T* l = L.data();
    for (unsigned long i = 0; i < n; ++i) {
        const T* Li = l + i * n;
        T s = 0;
        for (unsigned long k = 0; k < i; ++k) s += Li[k] * Li[k];
        const T d = a[i * n + i] - s;
        if (prijavi && !(d > 0)) {
            this->pivot_ = static_cast<long>(i);
            return;
        }
        if (d < 0) Koren(i, d);
        const T lii = dsqrt(d);
        l[i * n + i] = lii;
        // Four rows at a time hide the latency of the sums; each sum still runs
        // over k = 0, 1, ... on its own.
        unsigned long j = i + 1;
        for (; j + 3 < n; j += 4) {
            const T* L0 = l + j * n;
            const T* L1 = L0 + n;
            const T* L2 = L1 + n;
            const T* L3 = L2 + n;
            T t0 = 0, t1 = 0, t2 = 0, t3 = 0;
            for (unsigned long k = 0; k < i; ++k) {
                const T lik = Li[k];
                t0 += L0[k] * lik;
                t1 += L1[k] * lik;
                t2 += L2[k] * lik;
                t3 += L3[k] * lik;
            }
            l[j * n + i] = (a[j * n + i] - t0) / lii;
            l[(j + 1) * n + i] = (a[(j + 1) * n + i] - t1) / lii;
            l[(j + 2) * n + i] = (a[(j + 2) * n + i] - t2) / lii;
            l[(j + 3) * n + i] = (a[(j + 3) * n + i] - t3) / lii;
        }
        for (; j < n; ++j) {
            const T* Lj = l + j * n;
            T t = 0;
            for (unsigned long k = 0; k < i; ++k) t += Lj[k] * Li[k];
            l[j * n + i] = (a[j * n + i] - t) / lii;
        }
    }
}

template <typename T>
matrika<T> chr<T>::resiv(const matrika<T>& f) const
{
    if (L.empty()) matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatLNiDefinirana), F, __LINE__);
    if (f.empty()) matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatFNiDefiniran), F, __LINE__);
    if (f.nrow() > 1 && f.ncol() > 1)
        matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatFNiVektor), F, __LINE__);
    if (f.nrow() != L.nrow())
        matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatEnakoVrsticL), F, __LINE__);
    const unsigned long n = L.nrow();
    matrika<T> x(n, 1);
    for (unsigned long i = 0; i < n; ++i) x(i) = f(i);
    if (diag_) {
        for (unsigned long i = 0; i < n; ++i) x(i) = x(i) / L(i) / L(i);
        return x;
    }
    trikotni::resiLLt(L.data(), n, x.data());
    return x;
}

template <typename T>
matrika<T> chr<T>::resi(const matrika<T>& F_) const
{
    if (F_.empty())
        matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatVektorNiDefiniran), F, __LINE__);
    if (F_.ncol() == 1) return resiv(F_);
    if (L.empty()) matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatLNiDefinirana), F, __LINE__);
    if (F_.nrow() != L.nrow())
        matrikaError(NapakaFunkcije("chr::resi", Besedilo::MatEnakoVrsticL), F, __LINE__);
    const unsigned long n = F_.nrow(), m = F_.ncol();
    matrika<T> X(n, m);
    matrika<T> f(n, 1);
    for (unsigned long k = 0; k < m; ++k) {
        for (unsigned long i = 0; i < n; ++i) f(i) = F_(i, k);
        const matrika<T> x = resiv(f);
        for (unsigned long i = 0; i < n; ++i) X(i, k) = x(i);
    }
    return X;
}

template <typename T>
matrika<T> chr<T>::inv()
{
    if (L.empty())
        matrikaError(NapakaFunkcije("chr::inv", Besedilo::MatNiDefiniranaRazcep), F, __LINE__);
    if (this->pivot_ >= 0) return matrika<T>();
    const unsigned long n = L.nrow();
    // Every pivot is checked, also of a 1 x 1 matrix: a zero one would give
    // an infinite cofactor silently.
    for (unsigned long i = 0; i < n; ++i) {
        const T lii = diag_ ? L(i) : L(i, i);
        if (prijavi_ && !(dabs(lii) >= numerika::kSingularniPivot)) {
            this->pivot_ = static_cast<long>(i);
            return matrika<T>();
        }
        if (dabs(lii) < numerika::kSingularniPivot)
            matrikaError(NapakaFunkcije("chr::inv", Besedilo::MatSingularna), F, __LINE__,
                         lii / T(numerika::kSingularniPivot), (long)i);
    }
    if (n == 1) return matrika<T>(1, 1, T(1) / (L(0) * L(0)));
    matrika<T> X(n, n, T(0));
    if (diag_) {
        for (unsigned long i = 0; i < n; ++i) X(i, i) = T(1) / L(i) / L(i);
        return X;
    }
    trikotni::invLLt(L.data(), n, X.data());
    return X;
}

template <typename T>
void chr<T>::razcep(const matrika<T>& M, const matrika<T>& f)
{
    Razcep(M, 0, true);
    fs = f;
}

template class chr<real>;
