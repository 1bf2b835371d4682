#include "matrika/trikotni.h"

#include <vector>

namespace trikotni {

void invLLt(const real* L, std::size_t n, real* X)
{
    using T = real;
    // L' row-major, so that the back substitution reads rows too.
    std::vector<T> U(n * n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j <= i; ++j) U[j * n + i] = L[i * n + j];
    // Four unit vectors at a time: every sum keeps its own order and its own
    // accumulator (which hides the latency of the additions), and each row of
    // L or L' is read once for the four.  Column c starts at row c0 of its
    // group; its elements above row c are exact zeros, which leave the sums
    // unchanged.
    std::vector<T> buf(4 * n, T(0));
    T* y0 = buf.data();
    T* y1 = y0 + n;
    T* y2 = y1 + n;
    T* y3 = y2 + n;
    for (std::size_t c0 = 0; c0 < n; c0 += 4) {
        const std::size_t g = n - c0 < 4 ? n - c0 : 4;
        for (std::size_t k = c0; k < n; ++k) y0[k] = y1[k] = y2[k] = y3[k] = 0;
        for (std::size_t j = c0; j < n; ++j) {
            const T* Lj = L + j * n;
            T s0 = j == c0 ? 1 : 0, s1 = j == c0 + 1 ? 1 : 0, s2 = j == c0 + 2 ? 1 : 0, s3 = j == c0 + 3 ? 1 : 0;
            for (std::size_t k = c0; k < j; ++k) {
                const T l = Lj[k];
                s0 -= l * y0[k];
                s1 -= l * y1[k];
                s2 -= l * y2[k];
                s3 -= l * y3[k];
            }
            const T d = Lj[j];
            y0[j] = s0 / d;
            y1[j] = s1 / d;
            y2[j] = s2 / d;
            y3[j] = s3 / d;
        }
        for (std::size_t j = n; j-- > c0;) {
            const T* Uj = U.data() + j * n;
            T s0 = y0[j], s1 = y1[j], s2 = y2[j], s3 = y3[j];
            for (std::size_t k = j + 1; k < n; ++k) {
                const T u = Uj[k];
                s0 -= u * y0[k];
                s1 -= u * y1[k];
                s2 -= u * y2[k];
                s3 -= u * y3[k];
            }
            const T d = Uj[j];
            y0[j] = s0 / d;
            y1[j] = s1 / d;
            y2[j] = s2 / d;
            y3[j] = s3 / d;
        }
        // Lower triangle of the group's columns, mirrored into the upper one.
        const T* yt[4] = {y0, y1, y2, y3};
        for (std::size_t t = 0; t < g; ++t) {
            const std::size_t c = c0 + t;
            for (std::size_t j = c; j < n; ++j) X[j * n + c] = X[c * n + j] = yt[t][j];
        }
    }
}

void resiLLt(const real* L, std::size_t n, real* f)
{
    for (std::size_t j = 0; j < n; ++j) {
        real s = f[j];
        const real* Lj = L + j * n;
        for (std::size_t k = 0; k < j; ++k) s -= Lj[k] * f[k];
        f[j] = s / Lj[j];
    }
    for (std::size_t jj = n; jj-- > 0;) {
        real s = f[jj];
        for (std::size_t k = jj + 1; k < n; ++k) s -= L[k * n + jj] * f[k];
        f[jj] = s / L[jj * n + jj];
    }
}

}  // namespace trikotni
