#include "matrika/redkirazcep.h"

#include <algorithm>
#include <cmath>
#include <string>

#if __has_include(<suitesparse/amd.h>)
#include <suitesparse/amd.h>
#else
#include <amd.h>
#endif

#include "matrika/matrikaAux.h"

namespace {
const char* const F = "matrika/redkirazcep";

// A pivot at or below this share of its diagonal is taken as zero.
constexpr real TOL_PIVOT = numerika::kRelativniPivot;

[[noreturn]] void Napaka(const std::string& kaj, long line)
{
    matrikaError("Funkcija:   redkiRazcep::" + kaj, F, line);
}

// x.y0 and x.y1 in one pass: the two chains of additions overlap, and x is
// loaded once for both.
inline void Skalarna2(const real* x, const real* y0, const real* y1, long n, real& v0,
                      real& v1)
{
    real s0 = 0, s1 = 0;
    for (long i = 0; i < n; ++i) {
        const real xi = x[i];
        s0 += xi * y0[i];
        s1 += xi * y1[i];
    }
    v0 = s0;
    v1 = s1;
}

// The four products of x0, x1 with y0, y1 in one pass: one load per
// multiplication, which is what bounds these loops.
inline void Skalarna22(const real* x0, const real* x1, const real* y0, const real* y1,
                       long n, real& v00, real& v01, real& v10, real& v11)
{
    real s00 = 0, s01 = 0, s10 = 0, s11 = 0;
    for (long i = 0; i < n; ++i) {
        const real a = x0[i], b = x1[i], c = y0[i], d = y1[i];
        s00 += a * c;
        s01 += a * d;
        s10 += b * c;
        s11 += b * d;
    }
    v00 = s00;
    v01 = s01;
    v10 = s10;
    v11 = s11;
}

inline real Skalarna(const real* x, const real* y, long n)
{
    real s = 0;
    for (long i = 0; i < n; ++i) s += x[i] * y[i];
    return s;
}
}  // namespace

void redkiRazcep::analiza(const redkaSimetricna& A)
{
    preveriStolpce(A);
    n_ = A.n;
    Ap_ = A.Ap;
    Ai_ = A.Ai;
    razcepljena_ = inverz_ = false;
    zadnjiStolpec_ = -1;
    nicelni_.clear();
    uredi(A);
    permutiraj(A);
    supervozlisca();
    panelnaStruktura();
    mestaVPanelih();
    const long ns = static_cast<long>(Sf_.size()) - 1;
    Lx_.assign(Xp_[ns], 0.0L);
    D_.assign(n_, 0.0L);
    Zx_.clear();
    Zd_.clear();
}

void redkiRazcep::preveriStolpce(const redkaSimetricna& A) const
{
    const long n = A.n;
    if (n < 0 || static_cast<long>(A.Ap.size()) != n + 1 || A.Ap[0] != 0 ||
        A.Ap[n] != static_cast<long>(A.Ai.size()))
        Napaka("analiza\nStolpci matrike niso pravilno zapisani: ", __LINE__);
    for (long j = 0; j < n; ++j) {
        if (A.Ap[j] > A.Ap[j + 1]) Napaka("analiza\nStolpci matrike niso pravilno zapisani: ", __LINE__);
        for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p)
            if (A.Ai[p] < 0 || A.Ai[p] > j || (p > A.Ap[j] && A.Ai[p] <= A.Ai[p - 1]))
                Napaka("analiza\nVrstice stolpca niso narascajoce v zgornjem trikotniku: ", __LINE__);
    }
}

void redkiRazcep::uredi(const redkaSimetricna& A)
{
    const long n = A.n;
    P_.assign(n, 0);
    if (n > 0) {
        // AMD refuses a null array, which an empty vector may give.
        const std::vector<SuiteSparse_long> ap(A.Ap.begin(), A.Ap.end());
        std::vector<SuiteSparse_long> ai(A.Ai.begin(), A.Ai.end());
        ai.push_back(0);
        std::vector<SuiteSparse_long> p(n);
        const auto izid = amd_l_order(n, ap.data(), ai.data(), p.data(), nullptr, nullptr);
        if (izid != AMD_OK && izid != AMD_OK_BUT_JUMBLED)
            Napaka("analiza\nUrejanje neznank ni uspelo: ", __LINE__);
        std::copy(p.begin(), p.end(), P_.begin());
    }
    Pinv_.assign(n, 0);
    for (long k = 0; k < n; ++k) Pinv_[P_[k]] = k;

}

void redkiRazcep::permutiraj(const redkaSimetricna& A)
{
    const long n = A.n;
    // Upper triangle of P A P' by columns; the order within a column does not
    // matter to the factorisation, so one counting pass places it.
    const long nz = A.Ap[n];
    Cp_.assign(n + 1, 0);
    Ci_.assign(nz, 0);
    Cm_.assign(nz, 0);
    for (long j = 0; j < n; ++j)
        for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p) ++Cp_[std::max(Pinv_[A.Ai[p]], Pinv_[j]) + 1];
    for (long k = 0; k < n; ++k) Cp_[k + 1] += Cp_[k];
    {
        std::vector<long> nasl(Cp_.begin(), Cp_.end() - 1);
        for (long j = 0; j < n; ++j)
            for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p) {
                const long a = Pinv_[A.Ai[p]], b = Pinv_[j], q = nasl[std::max(a, b)]++;
                Ci_[q] = std::min(a, b);
                Cm_[q] = p;
            }
    }

}

void redkiRazcep::supervozlisca()
{
    const long n = n_;
    // Elimination tree and the count of every column of L below the
    // diagonal: row k of L is the subtree reached from the entries of column
    // k of C.
    std::vector<long> stars(n, -1), oznaka(n), st(n, 0);
    for (long k = 0; k < n; ++k) {
        oznaka[k] = k;
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
            for (long i = Ci_[q]; oznaka[i] != k; i = stars[i]) {
                if (stars[i] == -1) stars[i] = k;
                ++st[i];
                oznaka[i] = k;
            }
    }
    // Column k joins the supernode of k-1 when k-1's structure is k and
    // k's structure.
    Sf_.clear();
    Sup_.assign(n, 0);
    for (long k = 0; k < n; ++k) {
        if (k == 0 || stars[k - 1] != k || st[k - 1] != st[k] + 1) Sf_.push_back(k);
        Sup_[k] = static_cast<long>(Sf_.size()) - 1;
    }
    Sf_.push_back(n);

}

void redkiRazcep::panelnaStruktura()
{
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    // C's strict upper triangle by rows is the strict lower triangle of the
    // permuted matrix by columns.
    std::vector<long> Tp(n + 1, 0), Ti;
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
            if (Ci_[q] < k) ++Tp[Ci_[q] + 1];
    for (long k = 0; k < n; ++k) Tp[k + 1] += Tp[k];
    Ti.assign(Tp[n], 0);
    {
        std::vector<long> nasl(Tp.begin(), Tp.end() - 1);
        for (long k = 0; k < n; ++k)
            for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
                if (Ci_[q] < k) Ti[nasl[Ci_[q]]++] = k;
    }
    // The rows of a supernode below its columns are those of its own columns
    // in the matrix and those of its children below it.
    Rp_.assign(ns + 1, 0);
    Xp_.assign(ns + 1, 0);
    Rs_.clear();
    std::vector<long> prviOtrok(ns, -1), brat(ns, -1), oznakaS(n, -1), vrste;
    nnzL_ = 0;
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], l = Sf_[s + 1], nc = l - f;
        vrste.clear();
        for (long k = f; k < l; ++k) {
            vrste.push_back(k);
            oznakaS[k] = s;
        }
        auto dodaj = [&](long r) {
            if (oznakaS[r] != s) {
                oznakaS[r] = s;
                vrste.push_back(r);
            }
        };
        for (long k = f; k < l; ++k)
            for (long p = Tp[k]; p < Tp[k + 1]; ++p) dodaj(Ti[p]);
        for (long c = prviOtrok[s]; c != -1; c = brat[c])
            for (long p = Rp_[c] + Sf_[c + 1] - Sf_[c]; p < Rp_[c + 1]; ++p) dodaj(Rs_[p]);
        std::sort(vrste.begin() + nc, vrste.end());
        const long ld = static_cast<long>(vrste.size());
        Rs_.insert(Rs_.end(), vrste.begin(), vrste.end());
        Rp_[s + 1] = Rp_[s] + ld;
        Xp_[s + 1] = Xp_[s] + ld * nc;
        nnzL_ += nc * ld - nc * (nc + 1) / 2;
        if (ld > nc) {
            const long oce = Sup_[vrste[nc]];
            brat[s] = prviOtrok[oce];
            prviOtrok[oce] = s;
        }
    }
}

void redkiRazcep::mestaVPanelih()
{
    const long n = n_;
    // Place of every entry of C in the panels, for the numeric assembly.
    Cx_.assign(Ci_.size(), 0);
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            const long i = Ci_[q], s = Sup_[i], f = Sf_[s], ld = Rp_[s + 1] - Rp_[s];
            long r = k - f;
            if (k >= Sf_[s + 1])
                r = std::lower_bound(Rs_.begin() + Rp_[s] + Sf_[s + 1] - f, Rs_.begin() + Rp_[s + 1], k) -
                    (Rs_.begin() + Rp_[s]);
            Cx_[q] = Xp_[s] + (i - f) * ld + r;
        }
}

void redkiRazcep::relativni(long t, const long* R, long m, std::vector<long>& rel) const
{
    const long f = Sf_[t], l = Sf_[t + 1];
    const long* T = Rs_.data() + Rp_[t];
    const long* konec = Rs_.data() + Rp_[t + 1];
    const long* od = T + (l - f);
    rel.resize(static_cast<std::size_t>(m));
    for (long a = 0; a < m; ++a) {
        if (R[a] < l) {
            rel[a] = R[a] - f;
            continue;
        }
        od = std::lower_bound(od, konec, R[a]);
        if (od == konec || *od != R[a]) Napaka("razcep\nStruktura faktorja ni zaprta: ", __LINE__);
        rel[a] = od - T;
    }
}

void redkiRazcep::preveriVzorec(const redkaSimetricna& A) const
{
    if (A.n != n_ || A.Ap != Ap_ || A.Ai != Ai_ || A.Ax.size() != A.Ai.size())
        Napaka("razcep\nVzorec matrike ni analiziran: ", __LINE__);
}

long redkiRazcep::razcep(const redkaSimetricna& A)
{
    preveriVzorec(A);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    nicelni_.clear();
    inverz_ = false;
    zadnjiStolpec_ = -1;
    std::fill(Lx_.begin(), Lx_.end(), 0.0L);
    std::vector<real> akk(n, 0.0L);
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            Lx_[Cx_[q]] += A.Ax[Cm_[q]];
            if (Ci_[q] == k) akk[k] += A.Ax[Cm_[q]];
        }
    std::vector<long> rel;
    // The panel is also kept by rows (Lv), so that every sum below runs
    // along contiguous memory into one accumulator.
    std::vector<real> Lv, w;
    // Right-looking by supernodes: when supernode s comes, every update from
    // the supernodes before it is in its panel.
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        Lv.resize(static_cast<std::size_t>(ld * nc));
        w.resize(static_cast<std::size_t>(2 * nc));
        // L D L' of the panel column by column, each column first updated by
        // the columns before it.
        for (long c = 0; c < nc; ++c) {
            real* kol = X + c * ld;
            for (long j = 0; j < c; ++j) w[j] = Lv[c * nc + j] * D_[f + j];
            for (long r = c; r < ld; ++r) {
                const real* lr = Lv.data() + r * nc;
                real v = 0;
                for (long j = 0; j < c; ++j) v += lr[j] * w[j];
                kol[r] -= v;
            }
            real d = kol[c];
            const real a = akk[f + c];
            if (!std::isfinite(d) || a <= 0 || d <= TOL_PIVOT * a) {
                nicelni_.push_back(P_[f + c]);
                d = a > 1 ? a : 1.0L;  // also when a is not a number
            }
            D_[f + c] = d;
            for (long r = c + 1; r < ld; ++r) Lv[r * nc + c] = kol[r] /= d;
        }
        // Update of the later columns in the panel's rows, one run of them
        // (the columns of one supernode t) at a time.
        for (long b = nc; b < ld;) {
            const long t = Sup_[R[b]], ldt = Rp_[t + 1] - Rp_[t];
            long b1 = b;
            while (b1 < ld && R[b1] < Sf_[t + 1]) ++b1;
            relativni(t, R + b, ld - b, rel);
            // Two target columns at a time, two rows at a time.
            for (long bb = b; bb < b1; bb += 2) {
                const bool dva = bb + 1 < b1;
                for (long j = 0; j < nc; ++j) w[j] = Lv[bb * nc + j] * D_[f + j];
                real* tc = Lx_.data() + Xp_[t] + (R[bb] - Sf_[t]) * ldt;
                if (!dva) {
                    long r = bb;
                    for (; r + 1 < ld; r += 2) {
                        real v0, v1;
                        Skalarna2(w.data(), Lv.data() + r * nc, Lv.data() + (r + 1) * nc, nc, v0, v1);
                        tc[rel[r - b]] -= v0;
                        tc[rel[r + 1 - b]] -= v1;
                    }
                    if (r < ld) tc[rel[r - b]] -= Skalarna(w.data(), Lv.data() + r * nc, nc);
                    continue;
                }
                const real* w0 = w.data();
                const real* w1 = w.data() + nc;
                for (long j = 0; j < nc; ++j) w[nc + j] = Lv[(bb + 1) * nc + j] * D_[f + j];
                real* tc1 = Lx_.data() + Xp_[t] + (R[bb + 1] - Sf_[t]) * ldt;
                tc[rel[0 + bb - b]] -= Skalarna(w0, Lv.data() + bb * nc, nc);
                long r = bb + 1;
                for (; r + 1 < ld; r += 2) {
                    real v00, v01, v10, v11;
                    Skalarna22(w0, w1, Lv.data() + r * nc, Lv.data() + (r + 1) * nc, nc, v00, v01, v10, v11);
                    tc[rel[r - b]] -= v00;
                    tc[rel[r + 1 - b]] -= v01;
                    tc1[rel[r - b]] -= v10;
                    tc1[rel[r + 1 - b]] -= v11;
                }
                if (r < ld) {
                    real v0, v1;
                    Skalarna2(Lv.data() + r * nc, w0, w1, nc, v0, v1);
                    tc[rel[r - b]] -= v0;
                    tc1[rel[r - b]] -= v1;
                }
            }
            b = b1;
        }
    }
    razcepljena_ = true;
    return static_cast<long>(nicelni_.size());
}

void redkiRazcep::resi(std::vector<real>& b) const
{
    if (!razcepljena_) Napaka("resi\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    if (static_cast<long>(b.size()) != n_) Napaka("resi\nVektor mora imeti n elementov: ", __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    std::vector<real> y(n);
    for (long k = 0; k < n; ++k) y[k] = b[P_[k]];
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = 0; c < nc; ++c) {
            const real yc = y[f + c];
            for (long r = c + 1; r < ld; ++r) y[R[r]] -= X[c * ld + r] * yc;
        }
    }
    for (long k = 0; k < n; ++k) y[k] /= D_[k];
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            real v = y[f + c];
            for (long r = c + 1; r < ld; ++r) v -= X[c * ld + r] * y[R[r]];
            y[f + c] = v;
        }
    }
    for (long k = 0; k < n; ++k) b[P_[k]] = y[k];
}

void redkiRazcep::resi(std::vector<real>& B, long k) const
{
    if (!razcepljena_) Napaka("resi\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    if (k < 1 || static_cast<long>(B.size()) != n_ * k) Napaka("resi\nMatrika mora imeti n vrstic: ", __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    std::vector<real> Y(B.size());
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) Y[i * k + t] = B[P_[i] * k + t];
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        // Right-hand sides that are columns of the identity stay zero below
        // most of the tree: a panel whose values are all zero passes nothing on.
        bool nic = true;
        for (long q = f * k; q < (f + nc) * k && nic; ++q) nic = Y[static_cast<std::size_t>(q)] == 0.0L;
        if (nic) continue;
        for (long c = 0; c < nc; ++c) {
            const real* yc = Y.data() + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                real* yr = Y.data() + R[r] * k;
                for (long t = 0; t < k; ++t) yr[t] -= x * yc[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) Y[i * k + t] /= D_[i];
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            real* yc = Y.data() + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                const real* yr = Y.data() + R[r] * k;
                for (long t = 0; t < k; ++t) yc[t] -= x * yr[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) B[P_[i] * k + t] = Y[i * k + t];
}

void redkiRazcep::izbraniInverz()
{
    if (!razcepljena_) Napaka("izbraniInverz\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    const long ns = static_cast<long>(Sf_.size()) - 1;
    Zx_.resize(Lx_.size());  // every place on the pattern is written
    Zd_.assign(n_, 0.0L);
    std::vector<long> rel;
    std::vector<real> G, W;
    // Z = D^-1 L^-1 + (I - L') Z by supernodes from the last: with J the
    // columns of s and B the rows below them, Z(B,J) = -Z(B,B) L(B,J)
    // L(J,J)^-1, and then Z(J,J) column by column.  B is a clique of the
    // factor's graph, so Z(B,B) is already in the panels of the later
    // supernodes.
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s], m = ld - nc;
        const real* X = Lx_.data() + Xp_[s];
        real* Z = Zx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        G.resize(static_cast<std::size_t>(m * m));
        for (long b = nc; b < ld;) {
            const long t = Sup_[R[b]], ldt = Rp_[t + 1] - Rp_[t];
            long b1 = b;
            while (b1 < ld && R[b1] < Sf_[t + 1]) ++b1;
            relativni(t, R + b, ld - b, rel);
            for (long bb = b; bb < b1; ++bb) {
                const real* zc = Zx_.data() + Xp_[t] + (R[bb] - Sf_[t]) * ldt;
                for (long r = bb; r < ld; ++r) G[(r - nc) + (bb - nc) * m] = G[(bb - nc) + (r - nc) * m] = zc[rel[r - b]];
            }
            b = b1;
        }
        // Row a of Y = Z(B,B) L(B,J), then of Z(B,J) = -Y L(J,J)^-1.
        W.resize(static_cast<std::size_t>(2 * nc));
        for (long a = 0; a < m; a += 2) {
            const real* g0 = G.data() + a * m;
            const long vrst = std::min(2L, m - a);
            long c = 0;
            if (vrst == 2) {
                const real* g1 = g0 + m;
                for (; c + 1 < nc; c += 2)
                    Skalarna22(g0, g1, X + c * ld + nc, X + (c + 1) * ld + nc, m, W[c], W[c + 1], W[nc + c],
                               W[nc + c + 1]);
                if (c < nc) Skalarna2(X + c * ld + nc, g0, g1, m, W[c], W[nc + c]);
            } else {
                for (; c + 1 < nc; c += 2) Skalarna2(g0, X + c * ld + nc, X + (c + 1) * ld + nc, m, W[c], W[c + 1]);
                if (c < nc) W[c] = Skalarna(g0, X + c * ld + nc, m);
            }
            for (long e = 0; e < vrst; ++e) {
                real* w = W.data() + e * nc;
                for (long c = nc - 1; c >= 0; --c) {
                    const real* lc = X + c * ld;
                    real v = -w[c];
                    for (long k = c + 1; k < nc; ++k) v -= w[k] * lc[k];
                    w[c] = v;
                    Z[c * ld + nc + a + e] = v;
                }
            }
        }
        // Z(J,J) from its later columns and from Z(B,J).
        for (long c = nc - 1; c >= 0; --c) {
            const real* lc = X + c * ld;
            for (long i = c + 1; i < nc; ++i) {
                real v = 0;
                for (long k = c + 1; k < nc; ++k) v += Z[std::min(i, k) * ld + std::max(i, k)] * lc[k];
                const real* zi = Z + i * ld + nc;
                for (long a = 0; a < m; ++a) v += zi[a] * lc[nc + a];
                Z[c * ld + i] = -v;
            }
            real v = 1.0L / D_[f + c];
            for (long r = c + 1; r < ld; ++r) v -= lc[r] * Z[c * ld + r];
            Z[c * ld + c] = v;
            Zd_[f + c] = v;
        }
    }
    inverz_ = true;
}

void redkiRazcep::preveriIndeks(long i, const char* kje) const
{
    if (!razcepljena_) Napaka(std::string(kje) + "\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    if (i < 0 || i >= n_) matrikaError("Funkcija:   redkiRazcep::" + std::string(kje) + "\nIndeks je izven matrike: ",
                                       F, __LINE__, i, n_ - 1);
}

real redkiRazcep::inverz(long i, long j) const
{
    preveriIndeks(i, "inverz");
    preveriIndeks(j, "inverz");
    if (inverz_) {
        const long a = Pinv_[i], b = Pinv_[j];
        if (a == b) return Zd_[a];
        const long lo = std::min(a, b), hi = std::max(a, b), s = Sup_[lo], f = Sf_[s];
        const long ld = Rp_[s + 1] - Rp_[s], stolpec = Xp_[s] + (lo - f) * ld;
        if (hi < Sf_[s + 1]) return Zx_[stolpec + hi - f];
        const auto z = Rs_.begin() + Rp_[s], e = Rs_.begin() + Rp_[s + 1];
        const auto it = std::lower_bound(z + (Sf_[s + 1] - f), e, hi);
        if (it != e && *it == hi) return Zx_[stolpec + (it - z)];
    }
    if (zadnjiStolpec_ < 0 || j < zadnjiStolpec_ || j >= zadnjiStolpec_ + kBlok) {
        zadnjiStolpec_ = std::min(j, std::max(n_ - kBlok, 0L));
        const long k = std::min(kBlok, n_);
        stolpec_.assign(static_cast<std::size_t>(n_ * k), 0.0L);
        for (long t = 0; t < k; ++t) stolpec_[static_cast<std::size_t>((zadnjiStolpec_ + t) * k + t)] = 1.0L;
        resi(stolpec_, k);
    }
    return stolpec_[static_cast<std::size_t>(i * std::min(kBlok, n_) + (j - zadnjiStolpec_))];
}
