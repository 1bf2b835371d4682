#include "matrika/svdr.h"

#include <cmath>
#include <vector>

#include "matrika/minmaxm.h"
#include "matrika/transpon.h"

namespace {
const char* const F = "matrika/svdr";
}

template <typename T>
T svdr<T>::pythag(T a, T b)
{
    const double absa = dabs(a), absb = dabs(b);
    if (absa > absb) return static_cast<T>(absa * std::sqrt(1.0 + SQR(absb / absa)));
    if (absb != 0.0) return static_cast<T>(absb * std::sqrt(1.0 + SQR(absa / absb)));
    return 0;
}

// The columns of U and V are kept as rows of ut (n x m) and vt (n x n) while
// the algorithm runs, so that the Householder updates and the rotations walk
// contiguous storage.  Every element still undergoes the operations of the
// textbook loops in their order.
template <typename T>
void svdr<T>::razcep(const matrika<T>& A)
{
    if (A.empty()) matrikaError(NapakaFunkcije("svdr::razcep", Besedilo::MatNiDefinirana), F, __LINE__);
    const long m = static_cast<long>(A.nrow()), n = static_cast<long>(A.ncol());
    // A matrix without rows or without columns has nothing to decompose.
    if (m == 0 || n == 0)
        matrikaError(NapakaFunkcije("svdr::razcep", Besedilo::MatNiDefinirana), F, __LINE__);
    std::vector<T> ut(static_cast<std::size_t>(n * m)), vt(static_cast<std::size_t>(n * n), T(0));
    std::vector<T> w(n), e(n), tmp(static_cast<std::size_t>(m > n ? m : n));
    const T* a = A.data();
    for (long k = 0; k < m; ++k)
        for (long i = 0; i < n; ++i) ut[i * m + k] = a[k * n + i];
    auto u = [&](long r, long c) -> T& { return ut[c * m + r]; };  // U(r, c)
    auto v = [&](long r, long c) -> T& { return vt[c * n + r]; };  // V(r, c)
    const T tol = eps;

    // Householder reduction to bidiagonal form: w the diagonal, e the superdiagonal.
    T g = 0, scale = 0, anorm = 0, s = 0, f = 0, h = 0;
    long l = 0;
    for (long i = 0; i < n; ++i) {
        l = i + 1;
        e[i] = scale * g;
        g = s = scale = 0;
        if (i < m) {
            T* ci = &u(0, i);
            for (long k = i; k < m; ++k) scale += std::fabs(ci[k]);
            if (scale != 0) {
                for (long k = i; k < m; ++k) {
                    ci[k] /= scale;
                    s += ci[k] * ci[k];
                }
                f = ci[i];
                g = -SIGN(dsqrt(s), f);
                h = f * g - s;
                ci[i] = f - g;
                for (long j = l; j < n; ++j) {
                    T* cj = &u(0, j);
                    T sj = 0;
                    for (long k = i; k < m; ++k) sj += ci[k] * cj[k];
                    const T fj = sj / h;
                    for (long k = i; k < m; ++k) cj[k] += fj * ci[k];
                }
                for (long k = i; k < m; ++k) ci[k] *= scale;
            }
        }
        w[i] = scale * g;
        g = s = scale = 0;
        if (i < m && i != n - 1) {
            for (long k = l; k < n; ++k) scale += std::fabs(u(i, k));
            if (scale != 0) {
                for (long k = l; k < n; ++k) {
                    u(i, k) /= scale;
                    s += u(i, k) * u(i, k);
                }
                f = u(i, l);
                g = -SIGN(dsqrt(s), f);
                h = f * g - s;
                u(i, l) = f - g;
                for (long k = l; k < n; ++k) e[k] = u(i, k) / h;
                // Row j of U gets (its product with row i) times e: the
                // products of all rows j first (row i is not among them),
                // each summed over k in order, then the updates.
                for (long j = l; j < m; ++j) tmp[j] = 0;
                for (long k = l; k < n; ++k) {
                    const T uik = u(i, k);
                    const T* ck = &u(0, k);
                    for (long j = l; j < m; ++j) tmp[j] += ck[j] * uik;
                }
                for (long k = l; k < n; ++k) {
                    const T ek = e[k];
                    T* ck = &u(0, k);
                    for (long j = l; j < m; ++j) ck[j] += tmp[j] * ek;
                }
                for (long k = l; k < n; ++k) u(i, k) *= scale;
            }
        }
        anorm = MAX(anorm, std::fabs(w[i]) + std::fabs(e[i]));
    }

    // Accumulation of the right-hand transformations in V.
    for (long i = n - 1; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0) {
                T* vi = &v(0, i);
                for (long j = l; j < n; ++j) vi[j] = (u(i, j) / u(i, l)) / g;
                for (long k = l; k < n; ++k) tmp[k] = u(i, k);
                for (long j = l; j < n; ++j) {
                    T* vj = &v(0, j);
                    T sj = 0;
                    for (long k = l; k < n; ++k) sj += tmp[k] * vj[k];
                    for (long k = l; k < n; ++k) vj[k] += sj * vi[k];
                }
            }
            for (long j = l; j < n; ++j) v(i, j) = v(j, i) = 0;
        }
        v(i, i) = 1;
        g = e[i];
        l = i;
    }

    // Accumulation of the left-hand transformations in U.
    for (long i = (m < n ? m : n) - 1; i >= 0; --i) {
        l = i + 1;
        g = w[i];
        for (long j = l; j < n; ++j) u(i, j) = 0;
        T* ci = &u(0, i);
        if (g != 0) {
            g = T(1) / g;
            for (long j = l; j < n; ++j) {
                T* cj = &u(0, j);
                T sj = 0;
                for (long k = l; k < m; ++k) sj += ci[k] * cj[k];
                const T fj = (sj / ci[i]) * g;
                for (long k = i; k < m; ++k) cj[k] += fj * ci[k];
            }
            for (long j = i; j < m; ++j) ci[j] *= g;
        } else {
            for (long j = i; j < m; ++j) ci[j] = 0;
        }
        ++ci[i];
    }

    // Diagonalisation of the bidiagonal form by implicit shifted QR.
    auto zasukaj = [](T* p, T* q, long len, T c, T sn) {
        for (long r = 0; r < len; ++r) {
            const T y = p[r], z = q[r];
            p[r] = y * c + z * sn;
            q[r] = z * c - y * sn;
        }
    };
    const T meja = tol * anorm;
    for (long k = n - 1; k >= 0; --k) {
        for (int its = 0; its < 30; ++its) {
            bool flag = true;
            long nm = 0;
            for (l = k; l >= 0; --l) {
                nm = l - 1;
                if (l == 0 || static_cast<T>(dabs(e[l])) <= meja) {
                    flag = false;
                    break;
                }
                if (static_cast<T>(dabs(w[nm])) <= meja) break;
            }
            if (flag) {
                // w[nm] is negligible: cancel e[l] by rotations from the left.
                T c = 0;
                s = 1;
                for (long i = l; i < k + 1; ++i) {
                    f = s * e[i];
                    e[i] = c * e[i];
                    if (static_cast<T>(dabs(f)) <= meja) break;
                    g = w[i];
                    h = pythag(f, g);
                    w[i] = h;
                    h = T(1) / h;
                    c = g * h;
                    s = -f * h;
                    zasukaj(&u(0, nm), &u(0, i), m, c, s);
                }
            }
            T z = w[k];
            if (l == k) {
                // Converged; the singular value is made non-negative.
                if (z < 0) {
                    w[k] = -z;
                    T* vk = &v(0, k);
                    for (long j = 0; j < n; ++j) vk[j] = -vk[j];
                }
                break;
            }
            if (its == 29)
                matrikaError(NapakaFunkcije("svdr::razcep", Besedilo::MatSVDNeKonvergira), F, __LINE__);
            // Shift from the bottom 2 x 2 minor.
            T x = w[l];
            nm = k - 1;
            T y = w[nm];
            g = e[nm];
            h = e[k];
            f = ((y - z) * (y + z) + (g - h) * (g + h)) / (T(2) * h * y);
            g = pythag(f, T(1));
            f = ((x - z) * (x + z) + h * ((y / (f + SIGN(g, f))) - h)) / x;
            // Next QR transformation.
            T c = 1;
            s = 1;
            for (long j = l; j <= nm; ++j) {
                const long i = j + 1;
                g = e[i];
                y = w[i];
                h = s * g;
                g = c * g;
                z = pythag(f, h);
                e[j] = z;
                c = f / z;
                s = h / z;
                f = x * c + g * s;
                g = g * c - x * s;
                h = y * s;
                y *= c;
                zasukaj(&v(0, j), &v(0, i), n, c, s);
                z = pythag(f, h);
                w[j] = z;
                if (z != 0) {
                    z = T(1) / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * g + s * y;
                x = c * y - s * g;
                zasukaj(&u(0, j), &u(0, i), m, c, s);
            }
            e[l] = 0;
            e[k] = f;
            w[k] = x;
        }
    }

    U.resize(m, n);
    S.resize(n, 1);
    V.resize(n, n);
    T* pu = U.data();
    T* pv = V.data();
    for (long r = 0; r < m; ++r)
        for (long c = 0; c < n; ++c) pu[r * n + c] = ut[c * m + r];
    for (long r = 0; r < n; ++r)
        for (long c = 0; c < n; ++c) pv[r * n + c] = vt[c * n + r];
    for (long i = 0; i < n; ++i) S(i) = w[i];
}

template <typename T>
void svdr<T>::Preveri(const char* funkcija, long line) const
{
    if (U.empty() || S.empty() || V.empty()) matrikaError(NapakaFunkcije(funkcija, Besedilo::MatUSVPrazne), F, line);
}

template <typename T>
matrika<T> svdr<T>::resi(const matrika<T>& f, real threshold)
{
    tsh = threshold;
    Preveri("svdr::resi", __LINE__);
    if (f.empty()) matrikaError(NapakaFunkcije("svdr::resi", Besedilo::MatFNiDefiniran), F, __LINE__);
    if (f.nrow() != U.nrow())
        matrikaError(NapakaFunkcije("svdr::resi", Besedilo::MatVrsticeU), F,
                     __LINE__);
    const unsigned long m = U.nrow(), n = V.nrow(), nb = f.ncol();
    matrika<T> x(n, nb, T(0));
    for (unsigned long c = 0; c < nb; ++c)
        for (unsigned long j = 0; j < n; ++j) {
            if (!(static_cast<real>(dabs(S(j))) > tsh)) continue;
            T s = 0;
            for (unsigned long i = 0; i < m; ++i) s += U(i, j) * f(i, c);
            const T cj = s / S(j);
            for (unsigned long i = 0; i < n; ++i) x(i, c) += cj * V(i, j);
        }
    return x;
}

template <typename T>
matrika<T> svdr<T>::pinvAtA(real threshold)
{
    tsh = threshold;
    Preveri("svdr::pinvAtA", __LINE__);
    const unsigned long n = V.nrow();
    matrika<T> W(V);
    for (unsigned long j = 0; j < n; ++j) {
        const bool obdrzi = static_cast<real>(dabs(S(j))) > tsh;
        const T s2 = S(j) * S(j);
        for (unsigned long i = 0; i < n; ++i) W(i, j) = obdrzi ? V(i, j) / s2 : T(0);
    }
    return W * transpon(V);
}

template <typename T>
long svdr<T>::rang() const
{
    long r = 0;
    for (unsigned long j = 0; j < S.size(); ++j)
        if (static_cast<real>(dabs(S(j))) > tsh) ++r;
    return r;
}

template <typename T>
matrika<T> svdr<T>::nicelniDelez() const
{
    const unsigned long n = V.nrow();
    matrika<T> d(n, 1, T(0));
    for (unsigned long j = 0; j < S.size() && j < V.ncol(); ++j) {
        if (static_cast<real>(dabs(S(j))) > tsh) continue;
        for (unsigned long i = 0; i < n; ++i) d(i) += V(i, j) * V(i, j);
    }
    return d;
}

template <typename T>
void svdr<T>::razcep(const matrika<T>& M, const matrika<T>& f)
{
    razcep(M);
    fs = f;
}

template class svdr<real>;
