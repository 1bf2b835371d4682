// The whole inverse of a factored sparse matrix and columns of it, for a
// print of every cofactor pair (the correlation table of the unknowns).
#include <algorithm>
#include <cstddef>

#include "matrika/matrikaAux.h"
#include "matrika/redkirazcep.h"

namespace {
const char* const F = "matrika/redkicelotniinverz";

// Products of a supernode's rows below it worth sharing among threads.
constexpr double kVzporedno = 2e5;

// w(t, c) = -sum_b l_c[b] z_b[t] for two rows t and two columns c at a
// time: two long doubles loaded per two products, the loads being what
// bounds these loops.
void Vsote(const real* const* z, long i, long v, const real* X, long ld, long nc, long m, real* w)
{
    long c = 0;
    for (; c + 1 < nc; c += 2) {
        const real* l0 = X + c * ld + nc;
        const real* l1 = l0 + ld;
        if (v == 2) {
            real s00 = 0, s01 = 0, s10 = 0, s11 = 0;
            for (long b = 0; b < m; ++b) {
                const real a0 = l0[b], a1 = l1[b], z0 = z[b][i], z1 = z[b][i + 1];
                s00 -= a0 * z0;
                s01 -= a0 * z1;
                s10 -= a1 * z0;
                s11 -= a1 * z1;
            }
            w[c] = s00, w[nc + c] = s01, w[c + 1] = s10, w[nc + c + 1] = s11;
        } else {
            real s0 = 0, s1 = 0;
            for (long b = 0; b < m; ++b) {
                const real zb = z[b][i];
                s0 -= l0[b] * zb;
                s1 -= l1[b] * zb;
            }
            w[c] = s0, w[c + 1] = s1;
        }
    }
    if (c < nc) {
        const real* l0 = X + c * ld + nc;
        for (long t = 0; t < v; ++t) {
            real s = 0;
            for (long b = 0; b < m; ++b) s -= l0[b] * z[b][i + t];
            w[t * nc + c] = s;
        }
    }
}
}  // namespace

void redkiRazcep::celotniInverz(real* z) const
{
    if (!razcepljena_)
        matrikaError("Funkcija:   redkiRazcep::celotniInverz\nMatrika ni razcepljena - Izvedi razcep prvo: ", F, __LINE__);
    // Z = D^-1 L^-1 + (I - L') Z column by column from the last: for a
    // column c with the rows S below it in L,
    //   Z(i, c) = -sum_{k in S} L(k, c) Z(i, k)   for every row i > c,
    //   Z(c, c) = 1 / D(c) - sum_{k in S} L(k, c) Z(k, c),
    // which needs only the columns after c, whole (both triangles are kept,
    // so every sum runs down columns).  The columns J of one supernode share
    // S = J's later columns and the rows B below J: for the rows i below the
    // supernode the sums over B are formed for all of J from one pass over
    // Z(i, B), then the sums within J from the last column of J back.  The
    // operations number sum_c |S(c)| (n - c), a fraction of n solutions
    // (n nnz(L) each), since the long columns of L come last.  The rows below
    // a supernode are independent of each other, and are shared among
    // threads; every sum keeps its order, so the threads change no digit.
    // Each sum runs from 0 down, so that an entry that is exactly 0 stays
    // +0, as a solution from the factor leaves it.
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    const std::size_t nn = static_cast<std::size_t>(n);
    auto el = [z, nn](long i, long j) -> real& { return z[static_cast<std::size_t>(j) * nn + static_cast<std::size_t>(i)]; };
    std::vector<const real*> kol;
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s], m = ld - nc;
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        kol.resize(static_cast<std::size_t>(m));
        for (long b = 0; b < m; ++b) kol[static_cast<std::size_t>(b)] = &el(0, R[nc + b]);
        // The rows below the supernode, two at a time; threads only where
        // the work is worth waking them.
        const long prva = f + nc, parov = (n - prva + 1) / 2;
        const bool veliko = static_cast<double>(parov) * static_cast<double>(nc * m) > kVzporedno;
#ifdef _OPENMP
#pragma omp parallel if (veliko)
#endif
        {
            std::vector<real> w(static_cast<std::size_t>(2 * nc));
#ifdef _OPENMP
#pragma omp for schedule(static)
#endif
            for (long p = 0; p < parov; ++p) {
                const long i = prva + 2 * p, v = std::min(2L, n - i);
                Vsote(kol.data(), i, v, X, ld, nc, m, w.data());
                for (long t = 0; t < v; ++t) {
                    real* wt = w.data() + t * nc;
                    for (long c = nc - 1; c >= 0; --c) {
                        const real* lc = X + c * ld;
                        real val = wt[c];
                        for (long e = c + 1; e < nc; ++e) val -= lc[e] * wt[e];
                        wt[c] = val;
                        el(i + t, f + c) = val;
                        el(f + c, i + t) = val;
                    }
                }
            }
        }
        (void)veliko;
        // The rows within the supernode and the diagonal.
        for (long c = nc - 1; c >= 0; --c) {
            const real* lc = X + c * ld;
            for (long i = f + c + 1; i < f + nc; ++i) {
                real val = 0;
                for (long r = c + 1; r < ld; ++r) val -= lc[r] * el(i, R[r]);
                el(i, f + c) = el(f + c, i) = val;
            }
            real val = 1.0L / D_[static_cast<std::size_t>(f + c)];
            for (long r = c + 1; r < ld; ++r) val -= lc[r] * el(R[r], f + c);
            el(f + c, f + c) = val;
        }
    }
}

void redkiRazcep::stolpciInverza(const long* j, long k, std::vector<real>& W) const
{
    if (!razcepljena_)
        matrikaError("Funkcija:   redkiRazcep::stolpciInverza\nMatrika ni razcepljena - Izvedi razcep prvo: ", F, __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    W.assign(static_cast<std::size_t>(n * k), 0.0L);
    real* y = W.data();
    for (long t = 0; t < k; ++t) y[Pinv_[static_cast<std::size_t>(j[t])] * k + t] = 1.0L;
    // L y = P e_j: a column of the identity stays zero below most of the
    // tree, and a panel whose values are all zero passes nothing on.
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        bool nic = true;
        for (long q = f * k; q < (f + nc) * k && nic; ++q) nic = y[q] == 0.0L;
        if (nic) continue;
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = 0; c < nc; ++c) {
            const real* yc = y + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                real* yr = y + R[r] * k;
                for (long t = 0; t < k; ++t) yr[t] -= x * yc[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) y[i * k + t] /= D_[static_cast<std::size_t>(i)];
    // L' x = y from the last row, four columns in registers at a time.
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            const real* lc = X + c * ld;
            real* yc = y + (f + c) * k;
            long t = 0;
            for (; t + 4 <= k; t += 4) {
                real v0 = yc[t], v1 = yc[t + 1], v2 = yc[t + 2], v3 = yc[t + 3];
                for (long r = c + 1; r < ld; ++r) {
                    const real x = lc[r];
                    const real* yr = y + R[r] * k + t;
                    v0 -= x * yr[0];
                    v1 -= x * yr[1];
                    v2 -= x * yr[2];
                    v3 -= x * yr[3];
                }
                yc[t] = v0, yc[t + 1] = v1, yc[t + 2] = v2, yc[t + 3] = v3;
            }
            for (; t < k; ++t) {
                real v = yc[t];
                for (long r = c + 1; r < ld; ++r) v -= lc[r] * y[R[r] * k + t];
                yc[t] = v;
            }
        }
    }
}
