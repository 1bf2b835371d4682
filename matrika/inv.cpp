#include "matrika/inv.h"

#include <cmath>
#include <vector>

namespace {
const char* const F = "matrika/inv";
const double TOL = numerika::kSingularniPivot;

// A vanishing pivot: noted in *kam when the caller asked for it (empty
// result), else the end of the run.
matrika<real> Singularna(real pivot, unsigned long k, long line, long* kam)
{
    if (kam == nullptr)
        matrikaError("Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: ", F, line,
                     pivot / static_cast<real>(TOL), (long)k);
    *kam = static_cast<long>(k);
    return matrika<real>();
}
}  // namespace

matrika<real> inv(const matrika<real>& Ain) { return inv(Ain, nullptr); }

matrika<real> inv(const matrika<real>& Ain, long* pivot)
{
    using T = real;
    if (Ain.nrow() != Ain.ncol())
        matrikaError("Funkcija:   invgj() - Gauss Jacobi\nMatrika mora biti kvadratna: ", F, __LINE__);
    if (Ain.empty())
        matrikaError("Funkcija:   invgj() - Gauss Jacobi\nDimenzija matrike ni definirana: ", F, __LINE__);
    if (pivot != nullptr) *pivot = -1;
    // Noted, a pivot that is not a number vanishes too.
    const auto majhen = [pivot](real x) { return pivot != nullptr ? !(dabs(x) >= TOL) : dabs(x) < TOL; };
    const unsigned long n = Ain.nrow();
    if (n == 1) {
        // A zero element would give an infinite inverse silently.
        if (majhen(Ain(0))) return Singularna(Ain(0), 0, __LINE__, pivot);
        return matrika<T>(1, 1, T(1) / Ain(0));
    }
    matrika<T> A(Ain);
    matrika<T> B = I(n, T(1));
    T* a = A.data();
    T* b = B.data();

    // The rows of B are only non-zero in the columns of the rows that have
    // been pivots so far (and their own); adding a multiple of an exact zero
    // changes nothing, so the forward sweep of B visits those columns only.
    std::vector<unsigned long> izvor(n);   // column of B's 1 in each row
    for (unsigned long i = 0; i < n; ++i) izvor[i] = i;
    std::vector<unsigned long> stolpci;    // columns touched so far
    stolpci.reserve(n);

    for (unsigned long k = 0; k + 1 < n; ++k) {
        unsigned long piv = k;
        T big = std::fabs(a[k * n + k]);
        for (unsigned long i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > big) { big = std::fabs(a[i * n + k]); piv = i; }
        if (piv != k) {
            for (unsigned long j = 0; j < n; ++j) {
                std::swap(a[piv * n + j], a[k * n + j]);
                std::swap(b[piv * n + j], b[k * n + j]);
            }
            std::swap(izvor[piv], izvor[k]);
        }
        stolpci.push_back(izvor[k]);
        const T* Ak = a + k * n;
        const T* Bk = b + k * n;
        for (unsigned long i = k + 1; i < n; ++i) {
            T* Ai = a + i * n;
            if (dabs(Ai[k]) > TOL) {
                if (majhen(Ak[k])) return Singularna(Ak[k], k, __LINE__, pivot);
                const T f = -Ai[k] / Ak[k];
                for (unsigned long j = 0; j < n; ++j) Ai[j] += f * Ak[j];
                T* Bi = b + i * n;
                for (const unsigned long j : stolpci) Bi[j] += f * Bk[j];
            }
        }
        if (majhen(Ak[k])) return Singularna(Ak[k], k, __LINE__, pivot);
    }
    if (majhen(a[(n - 1) * n + n - 1])) return Singularna(a[(n - 1) * n + n - 1], n - 1, __LINE__, pivot);

    for (unsigned long k = n - 1; k >= 1; --k) {
        const T* Ak = a + k * n;
        const T* Bk = b + k * n;
        for (unsigned long i = k; i-- > 0;) {
            T* Ai = a + i * n;
            if (dabs(Ai[k]) > TOL) {
                const T f = -Ai[k] / Ak[k];
                for (unsigned long j = 0; j < n; ++j) Ai[j] += f * Ak[j];
                T* Bi = b + i * n;
                for (unsigned long j = 0; j < n; ++j) Bi[j] += f * Bk[j];
            }
        }
    }
    for (unsigned long i = 0; i < n; ++i) {
        const T d = a[i * n + i];
        T* Bi = b + i * n;
        for (unsigned long j = 0; j < n; ++j) Bi[j] /= d;
    }
    return B;
}
