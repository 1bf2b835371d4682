// The whole inverse of a factored sparse matrix and columns of it, for a
// print of every cofactor pair (the correlation table of the unknowns).
#include <algorithm>
#include <cstddef>

#include "matrika/matrikaAux.h"
#include "matrika/redkirazcep.h"
#include "matrika/vzporedno.h"

namespace {
const char* const F = "matrika/redkicelotniinverz";

// The sums of a supernode's columns over the rows below it for one row i of
// Z or two (v = 2):
//   w(t, c) = -sum_b L(nc + b, c) Z(i + t, k_b),   k_b = R[nc + b],
// two rows and two columns at a time: two long doubles loaded per two
// products, the loads being what bounds these loops.  Only the lower
// triangle of Z (column-major, n x n) is read: Z(i, k) at z[k n + i] while
// k <= i, and at z[i n + k] (column i) after it.  The sums run over b in
// order whatever the place of the values.
class Vrstici {
public:
    Vrstici(const real* z, long n, const long* k, long m) : z_(z), n_(n), k_(k), m_(m) {}
    void operator()(long i, long v, const real* X, long ld, long nc, real* w) const
    {
        // b < b1: k_b <= i (column k_b holds rows i and i + 1); b1 <= b < b2:
        // k_b = i + 1 (for row i in column i); b >= b2: k_b > i + 1.
        const long b1 = static_cast<long>(std::upper_bound(k_, k_ + m_, i) - k_);
        const long b2 = v == 2 ? static_cast<long>(std::upper_bound(k_ + b1, k_ + m_, i + 1) - k_) : m_;
        const real* zi0 = z_ + static_cast<std::size_t>(i) * static_cast<std::size_t>(n_);
        const real* zi1 = zi0 + n_;
        long c = 0;
        for (; c + 1 < nc; c += 2) {
            const real* l0 = X + c * ld + nc;
            const real* l1 = l0 + ld;
            if (v == 2) {
                real s00 = 0, s01 = 0, s10 = 0, s11 = 0;
                auto korak = [&](long b, real z0, real z1) {
                    const real a0 = l0[b], a1 = l1[b];
                    s00 -= a0 * z0;
                    s01 -= a0 * z1;
                    s10 -= a1 * z0;
                    s11 -= a1 * z1;
                };
                long b = 0;
                for (; b < b1; ++b) {
                    const real* zk = stolpec(b);
                    korak(b, zk[i], zk[i + 1]);
                }
                for (; b < b2; ++b) korak(b, zi0[k_[b]], stolpec(b)[i + 1]);
                for (; b < m_; ++b) korak(b, zi0[k_[b]], zi1[k_[b]]);
                w[c] = s00, w[nc + c] = s01, w[c + 1] = s10, w[nc + c + 1] = s11;
            } else {
                real s0 = 0, s1 = 0;
                for (long b = 0; b < m_; ++b) {
                    const real zb = z(i, b);
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
                for (long b = 0; b < m_; ++b) s -= l0[b] * z(i + t, b);
                w[t * nc + c] = s;
            }
        }
    }

private:
    const real* stolpec(long b) const
    {
        return z_ + static_cast<std::size_t>(k_[b]) * static_cast<std::size_t>(n_);
    }
    real z(long i, long b) const
    {
        const long k = k_[b];
        return k <= i ? stolpec(b)[i] : z_[static_cast<std::size_t>(i) * static_cast<std::size_t>(n_) + static_cast<std::size_t>(k)];
    }
    const real* z_;
    long n_;
    const long* k_;
    long m_;
};
}  // namespace

void redkiRazcep::celotniInverz(real* z) const
{
    if (!razcepljena_)
        matrikaError("Funkcija:   redkiRazcep::celotniInverz\nMatrika ni razcepljena - Izvedi razcep prvo: ", F, __LINE__);
    // Z = D^-1 L^-1 + (I - L') Z column by column from the last: for a
    // column c with the rows S below it in L,
    //   Z(i, c) = -sum_{k in S} L(k, c) Z(i, k)   for every row i > c,
    //   Z(c, c) = 1 / D(c) - sum_{k in S} L(k, c) Z(k, c),
    // which needs only the columns after c.  The columns J of one supernode
    // share S = J's later columns and the rows B below J: for the rows i
    // below the supernode the sums over B are formed for all of J from one
    // pass over Z(i, B), then the sums within J from the last column of J
    // back.  The operations number sum_c |S(c)| (n - c), a fraction of n
    // solutions (n nnz(L) each), since the long columns of L come last.
    // Only the lower triangle is formed, column by column (its entries
    // above the diagonal are read from their mirror below it), and the
    // upper one is copied from it at the end by tiles.  The rows below a
    // supernode are independent of each other, and are shared among
    // threads; every sum keeps its order, so the threads change no digit.
    // Each sum runs from 0 down, so that an entry that is exactly 0 stays
    // +0, as a solution from the factor leaves it.
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    const std::size_t nn = static_cast<std::size_t>(n);
    auto el = [z, nn](long i, long j) -> real& { return z[static_cast<std::size_t>(j) * nn + static_cast<std::size_t>(i)]; };
    // Z(i, j) from the lower triangle.
    auto sp = [&el](long i, long j) -> real { return i >= j ? el(i, j) : el(j, i); };
    const int nt = niti();
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s], m = ld - nc;
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        const Vrstici vsote(z, n, R + nc, m);
        // The rows below the supernode, two at a time.
        const long prva = f + nc, parov = (n - prva + 1) / 2;
        vzporedno::Vzporedno(parov, static_cast<double>(parov) * static_cast<double>(2 * nc * m), nt, [&](long p) {
            thread_local std::vector<real> w;
            w.resize(static_cast<std::size_t>(2 * nc));
            const long i = prva + 2 * p, v = std::min(2L, n - i);
            vsote(i, v, X, ld, nc, w.data());
            for (long t = 0; t < v; ++t) {
                real* wt = w.data() + t * nc;
                for (long c = nc - 1; c >= 0; --c) {
                    const real* lc = X + c * ld;
                    real val = wt[c];
                    for (long e = c + 1; e < nc; ++e) val -= lc[e] * wt[e];
                    wt[c] = val;
                    el(i + t, f + c) = val;
                }
            }
        });
        // The rows within the supernode and the diagonal.
        for (long c = nc - 1; c >= 0; --c) {
            const real* lc = X + c * ld;
            for (long i = f + c + 1; i < f + nc; ++i) {
                real val = 0;
                for (long r = c + 1; r < ld; ++r) val -= lc[r] * sp(i, R[r]);
                el(i, f + c) = val;
            }
            real val = 1.0L / D_[static_cast<std::size_t>(f + c)];
            for (long r = c + 1; r < ld; ++r) val -= lc[r] * el(R[r], f + c);
            el(f + c, f + c) = val;
        }
    }
    // The upper triangle from the lower, by tiles that stay in the cache.
    constexpr long kPloscica = 64;
    const long ploscic = (n + kPloscica - 1) / kPloscica;
    vzporedno::Vzporedno(ploscic, static_cast<double>(n) * static_cast<double>(n), nt, [&](long q) {
        const long j0 = q * kPloscica, j1 = std::min(j0 + kPloscica, n);
        for (long i0 = j0; i0 < n; i0 += kPloscica) {
            const long i1 = std::min(i0 + kPloscica, n);
            for (long j = j0; j < j1; ++j)
                for (long i = std::max(i0, j + 1); i < i1; ++i) el(j, i) = el(i, j);
        }
    });
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
