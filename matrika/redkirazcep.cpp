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
constexpr long double TOL_PIVOT = 1e-14L;

[[noreturn]] void Napaka(const std::string& kaj, long line)
{
    matrikaError("Funkcija:   redkiRazcep::" + kaj, F, line);
}

// Plane rotation taking (a, b) to (r, 0); r >= 0 so the diagonal of R stays
// positive.
void Rotacija(long double a, long double b, long double& c, long double& s, long double& r)
{
    if (b == 0) {
        c = a < 0 ? -1 : 1;
        s = 0;
        r = std::fabs(a);
    } else if (std::fabs(b) > std::fabs(a)) {
        const long double t = a / b, u = std::sqrt(1 + t * t);
        s = (b < 0 ? -1 : 1) / u;
        c = s * t;
        r = std::fabs(b) * u;
    } else {
        const long double t = b / a, u = std::sqrt(1 + t * t);
        c = (a < 0 ? -1 : 1) / u;
        s = c * t;
        r = std::fabs(a) * u;
    }
}
}  // namespace

void redkeVrstice::dodajVrstico(const std::vector<std::pair<long, long double>>& vrstica)
{
    for (const auto& [j, v] : vrstica) {
        Rj.push_back(j);
        Rx.push_back(v);
    }
    Rp.push_back(static_cast<long>(Rj.size()));
}

void normalnaRedka::sestavi(const redkeVrstice& A, redkaSimetricna& N)
{
    const long n = A.n, m = A.m();
    if (n < 0 || m < 0 || A.Rp.front() != 0 || A.Rp.back() != static_cast<long>(A.Rj.size()) ||
        A.Rx.size() != A.Rj.size())
        Napaka("sestavi\nVrstice niso pravilno zapisane: ", __LINE__);
    const bool isti = n == n_ && A.Rp == Rp_ && A.Rj == Rj_;
    if (!isti) {
        // Every product r(a) r(b), a <= b in the row, is one triple (row of N,
        // column of N).  Bucketed by the row of N and then dealt out to the
        // columns in that order, each column comes out sorted, and equal
        // pairs of a column arrive one after another, so they merge at once.
        std::vector<long> mark(n, -1);
        for (long r = 0; r < m; ++r)
            for (long a = A.Rp[r]; a < A.Rp[r + 1]; ++a) {
                const long j = A.Rj[a];
                if (j < 0 || j >= n) Napaka("sestavi\nStolpec vrstice je izven matrike: ", __LINE__);
                if (mark[j] == r) Napaka("sestavi\nStolpec se v vrstici ponovi: ", __LINE__);
                mark[j] = r;
            }
        std::vector<long> vi, vj;  // triples in the order of the products
        for (long r = 0; r < m; ++r)
            for (long a = A.Rp[r]; a < A.Rp[r + 1]; ++a)
                for (long b = a; b < A.Rp[r + 1]; ++b) {
                    vi.push_back(std::min(A.Rj[a], A.Rj[b]));
                    vj.push_back(std::max(A.Rj[a], A.Rj[b]));
                }
        const long t = static_cast<long>(vi.size());
        std::vector<long> vp(n + 1, 0), poVrsti(t);
        for (long q = 0; q < t; ++q) ++vp[vi[q] + 1];
        for (long i = 0; i < n; ++i) vp[i + 1] += vp[i];
        {
            std::vector<long> nasl(vp.begin(), vp.end() - 1);
            for (long q = 0; q < t; ++q) poVrsti[nasl[vi[q]]++] = q;
        }
        std::vector<long> zadnja(n, -1), st(n + 1, 0);
        for (long q : poVrsti)
            if (zadnja[vj[q]] != vi[q]) {
                zadnja[vj[q]] = vi[q];
                ++st[vj[q] + 1];
            }
        for (long j = 0; j < n; ++j) st[j + 1] += st[j];
        Ap_ = st;
        Ai_.assign(st[n], 0);
        mesto_.assign(t, 0);
        std::fill(zadnja.begin(), zadnja.end(), -1);
        for (long q : poVrsti) {
            const long j = vj[q];
            if (zadnja[j] != vi[q]) {
                zadnja[j] = vi[q];
                Ai_[st[j]++] = vi[q];
            }
            mesto_[q] = st[j] - 1;
        }
        n_ = n;
        Rp_ = A.Rp;
        Rj_ = A.Rj;
    }
    N.n = n;
    N.Ap = Ap_;
    N.Ai = Ai_;
    N.Ax.assign(Ai_.size(), 0.0L);
    long q = 0;
    for (long r = 0; r < m; ++r)
        for (long a = A.Rp[r]; a < A.Rp[r + 1]; ++a)
            for (long b = a; b < A.Rp[r + 1]; ++b) N.Ax[mesto_[q++]] += A.Rx[a] * A.Rx[b];
}

void redkiRazcep::analiza(const redkaSimetricna& A)
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
    n_ = n;
    Ap_ = A.Ap;
    Ai_ = A.Ai;
    razcepljena_ = inverz_ = false;
    zadnjiStolpec_ = -1;
    nicelni_.clear();

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

    // Row k of L is the subtree of the elimination tree reached from the
    // entries of column k of C.  The first pass builds the tree and counts;
    // the second places row k in every column it reaches (so columns fill in
    // ascending row order) and keeps the row in topological order, which the
    // up-looking factorisation needs.
    stars_.assign(n, -1);
    std::vector<long> oznaka(n), stL(n, 0), stV(n, 0);
    for (long k = 0; k < n; ++k) {
        oznaka[k] = k;
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
            for (long i = Ci_[q]; oznaka[i] != k; i = stars_[i]) {
                if (stars_[i] == -1) stars_[i] = k;
                ++stL[i];
                ++stV[k];
                oznaka[i] = k;
            }
    }
    Lp_.assign(n + 1, 0);
    Vp_.assign(n + 1, 0);
    for (long k = 0; k < n; ++k) {
        Lp_[k + 1] = Lp_[k] + stL[k];
        Vp_[k + 1] = Vp_[k] + stV[k];
    }
    Li_.assign(Lp_[n], 0);
    Vs_.assign(Vp_[n], 0);
    Vc_.assign(Vp_[n], 0);
    std::vector<long> nasl(Lp_.begin(), Lp_.end() - 1), pot(n);
    for (long k = 0; k < n; ++k) {
        oznaka[k] = k;
        long vrh = Vp_[k + 1];
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            long dolzina = 0;
            for (long i = Ci_[q]; oznaka[i] != k; i = stars_[i]) {
                pot[dolzina++] = i;
                oznaka[i] = k;
            }
            // A later path ends below an earlier one, so it goes in front.
            while (dolzina > 0) {
                const long i = pot[--dolzina];
                Li_[nasl[i]] = k;
                Vs_[--vrh] = nasl[i]++;
                Vc_[vrh] = i;
            }
        }
    }
    Lx_.assign(Li_.size(), 0.0L);
    D_.assign(n, 0.0L);
}

void redkiRazcep::preveriVzorec(const redkaSimetricna& A) const
{
    if (A.n != n_ || A.Ap != Ap_ || A.Ai != Ai_ || A.Ax.size() != A.Ai.size())
        Napaka("razcep\nVzorec matrike ni analiziran: ", __LINE__);
}

long redkiRazcep::razcep(const redkaSimetricna& A)
{
    preveriVzorec(A);
    const long n = n_;
    nicelni_.clear();
    inverz_ = false;
    zadnjiStolpec_ = -1;
    std::vector<long double> y(n, 0.0L);
    for (long k = 0; k < n; ++k) {
        long double akk = 0;
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            const long i = Ci_[q];
            if (i == k)
                akk += A.Ax[Cm_[q]];
            else
                y[i] += A.Ax[Cm_[q]];
        }
        long double d = akk;
        // Row k of L from L(0:k,0:k) l = a(0:k, k), column by column in the
        // topological order of the row; the columns touched so far hold
        // exactly the rows below k.
        for (long v = Vp_[k]; v < Vp_[k + 1]; ++v) {
            const long p = Vs_[v], i = Vc_[v];
            const long double yi = y[i];
            y[i] = 0;
            for (long r = Lp_[i]; r < p; ++r) y[Li_[r]] -= Lx_[r] * yi;
            const long double l = yi / D_[i];
            d -= l * yi;
            Lx_[p] = l;
        }
        if (!std::isfinite(d) || akk <= 0 || d <= TOL_PIVOT * akk) {
            nicelni_.push_back(P_[k]);
            d = akk > 1 ? akk : 1.0L;  // also when akk is not a number
        }
        D_[k] = d;
    }
    razcepljena_ = true;
    return static_cast<long>(nicelni_.size());
}

long redkiRazcep::razcepQR(const redkeVrstice& A, const std::vector<long double>& f, std::vector<long double>& x)
{
    const long n = n_, m = A.m();
    if (A.n != n || m < 0 || static_cast<long>(f.size()) != m || A.Rp.front() != 0 ||
        A.Rp.back() != static_cast<long>(A.Rj.size()) || A.Rx.size() != A.Rj.size())
        Napaka("razcepQR\nVrstice se ne ujemajo z analizo: ", __LINE__);
    nicelni_.clear();
    inverz_ = false;
    zadnjiStolpec_ = -1;
    // R is kept in the places of L: row k of R over the rows of column k of
    // L, its diagonal in D_, the rotated right-hand side in c.
    std::fill(Lx_.begin(), Lx_.end(), 0.0L);
    std::fill(D_.begin(), D_.end(), 0.0L);
    std::vector<long double> c(n, 0.0L), w(n, 0.0L), akk(n, 0.0L);
    std::vector<char> zaseden(n, 0), ziv(n, 0);

    // Rows taken in the order of their first pivot column find an empty row
    // of R early, which keeps rotations along the tree short.
    std::vector<long> prvi(m, n), vp(n + 2, 0), red(m);
    for (long r = 0; r < m; ++r)
        for (long a = A.Rp[r]; a < A.Rp[r + 1]; ++a) {
            if (A.Rj[a] < 0 || A.Rj[a] >= n) Napaka("razcepQR\nStolpec vrstice je izven matrike: ", __LINE__);
            prvi[r] = std::min(prvi[r], Pinv_[A.Rj[a]]);
        }
    for (long r = 0; r < m; ++r) ++vp[prvi[r] + 1];
    for (long k = 0; k <= n; ++k) vp[k + 1] += vp[k];
    for (long r = 0; r < m; ++r) red[vp[prvi[r]]++] = r;

    // Rotates w (live on the tree path from k, ziv marking its entries,
    // zivih of them) with right-hand side fw into R.
    auto vrtiNoter = [&](long k, long zivih, long double fw) {
        for (; k != -1 && zivih > 0; k = stars_[k]) {
            if (!ziv[k]) continue;
            ziv[k] = 0;
            --zivih;
            long vStrukturi = 0;
            for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) vStrukturi += ziv[Li_[p]];
            if (vStrukturi != zivih) Napaka("razcepQR\nVrstice se ne ujemajo z analizo: ", __LINE__);
            const long double wk = w[k];
            w[k] = 0;
            if (!zaseden[k]) {
                zaseden[k] = 1;
                D_[k] = wk;
                c[k] = fw;
                for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) {
                    Lx_[p] = w[Li_[p]];
                    w[Li_[p]] = 0;
                    ziv[Li_[p]] = 0;
                }
                return;
            }
            long double cs, sn, r;
            Rotacija(D_[k], wk, cs, sn, r);
            D_[k] = r;
            for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) {
                const long i = Li_[p];
                const long double a = Lx_[p], b = w[i];
                Lx_[p] = cs * a + sn * b;
                w[i] = cs * b - sn * a;
                ziv[i] = 1;
            }
            zivih = Lp_[k + 1] - Lp_[k];
            const long double ck = c[k];
            c[k] = cs * ck + sn * fw;
            fw = cs * fw - sn * ck;
        }
        if (zivih > 0) Napaka("razcepQR\nVrstice se ne ujemajo z analizo: ", __LINE__);
    };
    for (long r : red) {
        long zivih = 0;
        for (long a = A.Rp[r]; a < A.Rp[r + 1]; ++a) {
            const long j = Pinv_[A.Rj[a]];
            if (ziv[j]) Napaka("razcepQR\nStolpec se v vrstici ponovi: ", __LINE__);
            w[j] = A.Rx[a];
            ziv[j] = 1;
            ++zivih;
            akk[j] += A.Rx[a] * A.Rx[a];
        }
        if (zivih > 0) vrtiNoter(prvi[r], zivih, f[r]);
    }
    // A column that kept (almost) nothing of its own is a zero pivot: what is
    // left in its row of R belongs to the later columns and is rotated on;
    // the unknown is held as with the normal matrix.
    for (long k = 0; k < n; ++k) {
        const long double dk = D_[k] * D_[k];
        if (std::isfinite(dk) && akk[k] > 0 && dk > TOL_PIVOT * akk[k]) continue;
        nicelni_.push_back(P_[k]);
        long zivih = 0;
        for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) {
            w[Li_[p]] = Lx_[p];
            Lx_[p] = 0;
            ziv[Li_[p]] = 1;
            ++zivih;
        }
        if (zivih > 0) vrtiNoter(stars_[k], zivih, c[k]);
        D_[k] = std::sqrt(akk[k] > 1 ? akk[k] : 1.0L);
        c[k] = 0;
    }
    // R = sqrt(D) L': divide each row by its diagonal, then R x = c.
    for (long k = 0; k < n; ++k) {
        for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) Lx_[p] /= D_[k];
        c[k] /= D_[k];
        D_[k] *= D_[k];
    }
    for (long k = n - 1; k >= 0; --k)
        for (long p = Lp_[k]; p < Lp_[k + 1]; ++p) c[k] -= Lx_[p] * c[Li_[p]];
    x.assign(n, 0.0L);
    for (long k = 0; k < n; ++k) x[P_[k]] = c[k];
    razcepljena_ = true;
    return static_cast<long>(nicelni_.size());
}

void redkiRazcep::resi(std::vector<long double>& b) const
{
    if (!razcepljena_) Napaka("resi\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    if (static_cast<long>(b.size()) != n_) Napaka("resi\nVektor mora imeti n elementov: ", __LINE__);
    const long n = n_;
    std::vector<long double> y(n);
    for (long k = 0; k < n; ++k) y[k] = b[P_[k]];
    for (long j = 0; j < n; ++j)
        for (long p = Lp_[j]; p < Lp_[j + 1]; ++p) y[Li_[p]] -= Lx_[p] * y[j];
    for (long k = 0; k < n; ++k) y[k] /= D_[k];
    for (long j = n - 1; j >= 0; --j)
        for (long p = Lp_[j]; p < Lp_[j + 1]; ++p) y[j] -= Lx_[p] * y[Li_[p]];
    for (long k = 0; k < n; ++k) b[P_[k]] = y[k];
}

void redkiRazcep::izbraniInverz()
{
    if (!razcepljena_) Napaka("izbraniInverz\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    const long n = n_;
    Zx_.assign(Li_.size(), 0.0L);
    Zd_.assign(n, 0.0L);
    std::vector<long double> t;
    // Z = D^-1 L^-1 + (I - L') Z, column j from the columns after it: the
    // rows of column j of L are a clique of the factor's graph, so every Z
    // entry the sums need is already on the pattern.
    for (long j = n - 1; j >= 0; --j) {
        const long p0 = Lp_[j], m = Lp_[j + 1] - p0;
        t.assign(m, 0.0L);
        for (long b = 0; b < m; ++b) {
            const long k = Li_[p0 + b];
            const long double lb = Lx_[p0 + b];
            t[b] += Zd_[k] * lb;
            // Rows of column j after k, all found in column k (both ascending).
            long q = Lp_[k];
            for (long a = b + 1; a < m; ++a) {
                const long i = Li_[p0 + a];
                while (Li_[q] < i) ++q;
                t[a] += Zx_[q] * lb;
                t[b] += Zx_[q] * Lx_[p0 + a];
            }
        }
        long double zjj = 1.0L / D_[j];
        for (long a = 0; a < m; ++a) {
            Zx_[p0 + a] = -t[a];
            zjj += Lx_[p0 + a] * t[a];
        }
        Zd_[j] = zjj;
    }
    inverz_ = true;
}

long redkiRazcep::poisci(long vrsta, long stolpec) const
{
    const auto b = Li_.begin() + Lp_[stolpec], e = Li_.begin() + Lp_[stolpec + 1];
    const auto it = std::lower_bound(b, e, vrsta);
    return it != e && *it == vrsta ? static_cast<long>(it - Li_.begin()) : -1;
}

void redkiRazcep::preveriIndeks(long i, const char* kje) const
{
    if (!razcepljena_) Napaka(std::string(kje) + "\nMatrika ni razcepljena - Izvedi razcep prvo: ", __LINE__);
    if (i < 0 || i >= n_) matrikaError("Funkcija:   redkiRazcep::" + std::string(kje) + "\nIndeks je izven matrike: ",
                                       F, __LINE__, i, n_ - 1);
}

long double redkiRazcep::inverz(long i, long j) const
{
    preveriIndeks(i, "inverz");
    preveriIndeks(j, "inverz");
    if (inverz_) {
        const long a = Pinv_[i], b = Pinv_[j];
        if (a == b) return Zd_[a];
        const long p = poisci(std::max(a, b), std::min(a, b));
        if (p >= 0) return Zx_[p];
    }
    if (zadnjiStolpec_ != j) {
        stolpecInverza(j, stolpec_);
        zadnjiStolpec_ = j;
    }
    return stolpec_[i];
}

void redkiRazcep::stolpecInverza(long j, std::vector<long double>& stolpec) const
{
    preveriIndeks(j, "stolpecInverza");
    stolpec.assign(n_, 0.0L);
    stolpec[j] = 1;
    resi(stolpec);
}
