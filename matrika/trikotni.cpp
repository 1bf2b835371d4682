#include "matrika/trikotni.h"

#include <vector>

namespace trikotni {

void invLLt(const long double* L, std::size_t n, long double* X)
{
    std::vector<long double> acc(n);
    // Forward: row j of Y = L^-1, columns 0..j.
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t c = 0; c <= j; ++c) acc[c] = (c == j) ? 1.0L : 0.0L;
        const long double* Lj = L + j * n;
        for (std::size_t k = 0; k < j; ++k) {
            const long double l = Lj[k];
            const long double* Yk = X + k * n;
            for (std::size_t c = 0; c <= k; ++c) acc[c] -= l * Yk[c];
        }
        const long double d = Lj[j];
        long double* Xj = X + j * n;
        for (std::size_t c = 0; c <= j; ++c) Xj[c] = acc[c] / d;
    }
    // Back: row j of X from the rows below it, in place of Y.
    for (std::size_t jj = n; jj-- > 0;) {
        long double* Xj = X + jj * n;
        for (std::size_t c = 0; c <= jj; ++c) acc[c] = Xj[c];
        for (std::size_t k = jj + 1; k < n; ++k) {
            const long double l = L[k * n + jj];
            const long double* Xk = X + k * n;
            for (std::size_t c = 0; c <= jj; ++c) acc[c] -= l * Xk[c];
        }
        const long double d = L[jj * n + jj];
        for (std::size_t c = 0; c <= jj; ++c) Xj[c] = acc[c] / d;
    }
    for (std::size_t j = 0; j < n; ++j)
        for (std::size_t c = j + 1; c < n; ++c) X[j * n + c] = X[c * n + j];
}

void resiLLt(const long double* L, std::size_t n, long double* f)
{
    for (std::size_t j = 0; j < n; ++j) {
        long double s = f[j];
        const long double* Lj = L + j * n;
        for (std::size_t k = 0; k < j; ++k) s -= Lj[k] * f[k];
        f[j] = s / Lj[j];
    }
    for (std::size_t jj = n; jj-- > 0;) {
        long double s = f[jj];
        for (std::size_t k = jj + 1; k < n; ++k) s -= L[k * n + jj] * f[k];
        f[jj] = s / L[jj * n + jj];
    }
}

}  // namespace trikotni
