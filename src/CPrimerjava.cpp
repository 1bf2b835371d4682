#include "src/CPrimerjava.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "funkcije/Hi2Por.h"
#include "funkcije/StudentPor.h"
#include "matrika/inv.h"
#include "src/TerObsVrste.h"

namespace {
using M = matrika<real>;

// Eigenvalues below this share of the largest count as zero (rank and
// pseudo-inverse): the null space of an S-transformed cofactor matrix is
// zero to the round-off of extended precision.
constexpr real kRangPrag = 1e-12L;

// The columns of the datum parameters (a Helmert matrix, m x p) at the
// coordinates x of the points `izbor` (indices into the common points);
// rotations and scale about the centroid, each column of unit length.
M Helmert(const VhodPrimerjave& v, const std::vector<long>& izbor)
{
    const int k = v.dim;
    const long n = static_cast<long>(izbor.size()), m = n * k;
    const int p = PrimerjavaParametrov(k, v.defekti);
    M G(static_cast<unsigned long>(m), static_cast<unsigned long>(p), 0.0L);
    real c[3] = {0, 0, 0};
    for (long i = 0; i < n; ++i)
        for (int a = 0; a < k; ++a) c[a] += v.x1(izbor[static_cast<std::size_t>(i)] * k + a) / n;
    const auto X = [&](long i, int a) { return v.x1(izbor[static_cast<std::size_t>(i)] * k + a) - c[a]; };
    int s = 0;
    const auto stolpec = [&](unsigned bit, auto vrednost) {
        if (k > 1 && (v.defekti & bit) == 0) return;
        for (long i = 0; i < n; ++i)
            for (int a = 0; a < k; ++a) G(i * k + a, s) = vrednost(i, a);
        ++s;
    };
    stolpec(kDefTx, [&](long, int a) { return a == 0 ? 1.0L : 0.0L; });
    if (k == 1) return G;
    stolpec(kDefTy, [&](long, int a) { return a == 1 ? 1.0L : 0.0L; });
    if (k == 3) {
        stolpec(kDefTz, [&](long, int a) { return a == 2 ? 1.0L : 0.0L; });
        stolpec(kDefWx, [&](long i, int a) { return a == 1 ? -X(i, 2) : a == 2 ? X(i, 1) : 0.0L; });
        stolpec(kDefWy, [&](long i, int a) { return a == 0 ? X(i, 2) : a == 2 ? -X(i, 0) : 0.0L; });
    }
    stolpec(kDefWz, [&](long i, int a) { return a == 0 ? -X(i, 1) : a == 1 ? X(i, 0) : 0.0L; });
    const bool m3 = k == 3 && (v.defekti & kDefM3) != 0;
    stolpec(k == 3 && m3 ? kDefM2 | kDefM3 : kDefM2, [&](long i, int a) {
        return a < 2 ? ((v.defekti & kDefM2) != 0 ? X(i, a) : 0.0L) : (m3 ? X(i, 2) : 0.0L);
    });
    for (int j = 0; j < s; ++j) {
        real q = 0;
        for (long r = 0; r < m; ++r) q += G(r, j) * G(r, j);
        if (q > 0)
            for (long r = 0; r < m; ++r) G(r, j) /= std::sqrt(q);
    }
    return G;
}

// The S-transformation S = I - G (G'W G)^-1 G'W to inner constraints over
// the coordinates with w = 1 (m x m); false when those do not fix the datum.
bool STransformacija(const M& G, const std::vector<char>& w, M& S)
{
    const long m = static_cast<long>(G.nrow()), p = static_cast<long>(G.ncol());
    M N(static_cast<unsigned long>(p), static_cast<unsigned long>(p), 0.0L);
    for (long a = 0; a < p; ++a)
        for (long b = 0; b < p; ++b)
            for (long r = 0; r < m; ++r)
                if (w[static_cast<std::size_t>(r)]) N(a, b) += G(r, a) * G(r, b);
    N = invRelativna(N);
    if (N.nrow() == 0) return false;
    S.resize(static_cast<unsigned long>(m), static_cast<unsigned long>(m), 0.0L);
    M GN(static_cast<unsigned long>(m), static_cast<unsigned long>(p), 0.0L);
    for (long r = 0; r < m; ++r)
        for (long b = 0; b < p; ++b)
            for (long a = 0; a < p; ++a) GN(r, b) += G(r, a) * N(a, b);
    for (long r = 0; r < m; ++r)
        for (long c = 0; c < m; ++c) {
            real s = r == c ? 1.0L : 0.0L;
            if (w[static_cast<std::size_t>(c)])
                for (long b = 0; b < p; ++b) s -= GN(r, b) * G(c, b);
            S(r, c) = s;
        }
    return true;
}

// S Q S'.
M Sendvic(const M& S, const M& Q)
{
    const long m = static_cast<long>(S.nrow());
    M T(static_cast<unsigned long>(m), static_cast<unsigned long>(m), 0.0L), R = T;
    for (long i = 0; i < m; ++i)
        for (long k = 0; k < m; ++k) {
            const real s = S(i, k);
            if (s != 0)
                for (long j = 0; j < m; ++j) T(i, j) += s * Q(k, j);
        }
    for (long i = 0; i < m; ++i)
        for (long j = 0; j < m; ++j) {
            real s = 0;
            for (long k = 0; k < m; ++k) s += T(i, k) * S(j, k);
            R(i, j) = s;
        }
    return R;
}

// d' Q^+ d and the rank of Q.
real KvadratnaForma(const M& Q, const M& d, long& rang)
{
    std::vector<real> lam;
    M V;
    PrimerjavaLastne(Q, lam, V);
    rang = 0;
    real omega = 0;
    const long m = static_cast<long>(Q.nrow());
    for (long j = 0; j < m; ++j) {
        if (!(lam[static_cast<std::size_t>(j)] > kRangPrag * lam[0])) continue;
        real u = 0;
        for (long i = 0; i < m; ++i) u += V(i, j) * d(i);
        omega += u * u / lam[static_cast<std::size_t>(j)];
        ++rang;
    }
    return omega;
}

// The common points' coordinates transformed to inner constraints over the
// stable ones: d and Q_d over the points `izbor`.
bool Transformiraj(const VhodPrimerjave& v, const std::vector<long>& izbor, const std::vector<char>& stabilna,
                   M& d, M& Qd, M* Gizhod = nullptr)
{
    const int k = v.dim;
    const long m = static_cast<long>(izbor.size()) * k;
    std::vector<char> w(static_cast<std::size_t>(m));
    M D(static_cast<unsigned long>(m), 1, 0.0L), Q(static_cast<unsigned long>(m), static_cast<unsigned long>(m), 0.0L);
    for (long i = 0; i < m; ++i) {
        const long gi = izbor[static_cast<std::size_t>(i / k)] * k + i % k;
        w[static_cast<std::size_t>(i)] = stabilna[static_cast<std::size_t>(i / k)];
        D(i) = v.x2(gi) - v.x1(gi);
        for (long j = 0; j < m; ++j) {
            const long gj = izbor[static_cast<std::size_t>(j / k)] * k + j % k;
            Q(i, j) = v.C1(gi, gj) + v.C2(gi, gj);
        }
    }
    M S;
    const M G = Helmert(v, izbor);
    if (!STransformacija(G, w, S)) return false;
    if (Gizhod != nullptr) *Gizhod = G;
    d.resize(static_cast<unsigned long>(m), 1, 0.0L);
    for (long i = 0; i < m; ++i)
        for (long j = 0; j < m; ++j) d(i) += S(i, j) * D(j);
    Qd = Sendvic(S, Q);
    return true;
}

// d' Q_d^+ d with every point stable, the quick way: Q_d has G's columns as
// its null space when it has the full rank m - p, so Q_d + c G G' is regular
// and its inverse on the complement of G, where d lies, is Q_d^+.  False
// (nothing known) where a Cholesky pivot is of round-off size: Q_d has a
// lower rank, and the eigenvalues decide.
bool KvadratnaFormaHitro(M A, const M& G, const M& d, real& omega)
{
    const long m = static_cast<long>(A.nrow()), p = static_cast<long>(G.ncol());
    real sled = 0;
    for (long i = 0; i < m; ++i) sled += A(i, i);
    const real c = sled / static_cast<real>(m);
    for (long i = 0; i < m; ++i)
        for (long j = 0; j < m; ++j)
            for (long k = 0; k < p; ++k) A(i, j) += c * G(i, k) * G(j, k);
    M y = d;
    for (long j = 0; j < m; ++j) {
        real a = A(j, j);
        for (long k = 0; k < j; ++k) a -= A(j, k) * A(j, k);
        if (!(a > kRangPrag * c)) return false;
        A(j, j) = std::sqrt(a);
        for (long i = j + 1; i < m; ++i) {
            real b = A(i, j);
            for (long k = 0; k < j; ++k) b -= A(i, k) * A(j, k);
            A(i, j) = b / A(j, j);
        }
        for (long k = 0; k < j; ++k) y(j) -= A(j, k) * y(k);
        y(j) /= A(j, j);
    }
    omega = 0;
    for (long j = 0; j < m; ++j) omega += y(j) * y(j);
    return true;
}

// The global test over the points `izbor` (all stable); h = 0 when they
// cannot carry one.
TestSkladnosti Test(const VhodPrimerjave& v, const std::vector<long>& izbor)
{
    TestSkladnosti t;
    M d, Qd, G;
    if (static_cast<int>(izbor.size()) < PrimerjavaNajmanjTock(v.dim) ||
        !Transformiraj(v, izbor, std::vector<char>(izbor.size(), 1), d, Qd, &G))
        return t;
    const long m = static_cast<long>(Qd.nrow()), p = static_cast<long>(G.ncol());
    if (m > p && KvadratnaFormaHitro(Qd, G, d, t.omega)) t.h = m - p;
    else t.omega = KvadratnaForma(Qd, d, t.h);
    if (t.h == 0) return t;
    t.T = t.omega / (static_cast<real>(t.h) * v.s02);
    t.kvantil = PrimerjavaKvantil(t.h, v.f, v.P);
    t.sprejet = t.T <= t.kvantil;
    return t;
}

// A point's displacement, its confidence region and its own test, from its
// block of d and Q_d.
void Tocka(const VhodPrimerjave& v, const M& d, const M& Qd, long i, PremikTocke& t)
{
    const int k = v.dim;
    M B(static_cast<unsigned long>(k), static_cast<unsigned long>(k), 0.0L), b(static_cast<unsigned long>(k), 1, 0.0L);
    real dd = 0;
    for (int a = 0; a < k; ++a) {
        t.d[a] = b(a) = d(i * k + a);
        dd += t.d[a] * t.d[a];
        for (int c = 0; c < k; ++c) B(a, c) = Qd(i * k + a, i * k + c);
    }
    t.dolzina = std::sqrt(dd);
    if (k > 1) {
        real s = std::atan2(t.d[1], t.d[0]) * 180.0L / std::numbers::pi_v<real>;
        t.smer = s < 0 ? s + 360.0L : s;
    }
    const real c = static_cast<real>(k) * PrimerjavaKvantil(k, v.f, v.P) * v.s02;
    std::vector<real> lam;
    M V;
    PrimerjavaLastne(B, lam, V);
    for (int a = 0; a < k; ++a) t.os[a] = std::sqrt(std::max(lam[static_cast<std::size_t>(a)], 0.0L) * c);
    if (k == 2) {
        real th = std::atan2(V(1, 0), V(0, 0)) * 180.0L / std::numbers::pi_v<real>;
        while (th < 0) th += 180.0L;
        while (th >= 180.0L) th -= 180.0L;
        t.theta = th;
    }
    const real omega = KvadratnaForma(B, b, t.r);
    if (t.r > 0) {
        t.T = omega / (static_cast<real>(t.r) * v.s02);
        t.kvantil = PrimerjavaKvantil(t.r, v.f, v.P);
    }
}
}  // namespace

int PrimerjavaNajmanjTock(int dim) { return dim; }

int PrimerjavaParametrov(int dim, unsigned defekti)
{
    if (dim == 1) return 1;
    const auto je = [defekti](unsigned bit) { return (defekti & bit) != 0 ? 1 : 0; };
    if (dim == 2) return je(kDefTx) + je(kDefTy) + je(kDefWz) + je(kDefM2);
    return je(kDefTx) + je(kDefTy) + je(kDefTz) + je(kDefWx) + je(kDefWy) + je(kDefWz) +
           ((defekti & (kDefM2 | kDefM3)) != 0 ? 1 : 0);
}

real PrimerjavaKvantil(long h, real f, real P)
{
    const real hh = static_cast<real>(h);
    if (f <= 0) return Hi2PorInvF(P, hh) / hh;
    return FPorInvFC(1.0L - P, hh, f);
}

RezPrimerjave Primerjaj(const VhodPrimerjave& v)
{
    RezPrimerjave rez;
    rez.parametrov = PrimerjavaParametrov(v.dim, v.defekti);
    const long n = static_cast<long>(v.tocke.size());
    std::vector<long> stabilne(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) stabilne[static_cast<std::size_t>(i)] = i;
    rez.testi.push_back(Test(v, stabilne));
    // Localisation: the point whose removal lowers T the most, while the
    // stable points are not congruent.
    while (rez.testi.back().h > 0 && !rez.testi.back().sprejet) {
        if (v.najvecPremaknjenih >= 0 && static_cast<long>(rez.premaknjene.size()) >= v.najvecPremaknjenih) {
            rez.konec = KonecIskanja::Omejitev;
            break;
        }
        TestSkladnosti najboljsi;
        std::size_t izbrana = stabilne.size();
        for (std::size_t j = 0; j < stabilne.size(); ++j) {
            std::vector<long> brez = stabilne;
            brez.erase(brez.begin() + static_cast<long>(j));
            const TestSkladnosti t = Test(v, brez);
            if (t.h > 0 && (izbrana == stabilne.size() || t.T < najboljsi.T)) {
                najboljsi = t;
                izbrana = j;
            }
        }
        if (izbrana == stabilne.size()) {
            rez.konec = KonecIskanja::PremaloTock;
            break;
        }
        najboljsi.izlocena = v.tocke[static_cast<std::size_t>(stabilne[izbrana])];
        rez.premaknjene.push_back(najboljsi.izlocena);
        stabilne.erase(stabilne.begin() + static_cast<long>(izbrana));
        rez.testi.push_back(najboljsi);
    }
    if (rez.testi.back().h == 0) rez.konec = KonecIskanja::PremaloTock;

    // Every common point in the datum of the stable points.
    std::vector<long> vse(static_cast<std::size_t>(n));
    std::vector<char> w(static_cast<std::size_t>(n), 0);
    for (long i = 0; i < n; ++i) vse[static_cast<std::size_t>(i)] = i;
    for (long i : stabilne) w[static_cast<std::size_t>(i)] = 1;
    M d, Qd;
    const bool ok = Transformiraj(v, vse, w, d, Qd);
    for (long i = 0; i < n; ++i) {
        PremikTocke t;
        t.ime = v.tocke[static_cast<std::size_t>(i)];
        t.premaknjena = w[static_cast<std::size_t>(i)] == 0;
        if (ok) Tocka(v, d, Qd, i, t);
        rez.tocke.push_back(t);
    }
    return rez;
}

void PrimerjavaLastne(const M& A, std::vector<real>& lam, M& V)
{
    const long n = static_cast<long>(A.nrow());
    M a = A;
    V.resize(static_cast<unsigned long>(n), static_cast<unsigned long>(n), 0.0L);
    for (long i = 0; i < n; ++i) V(i, i) = 1;
    for (int sweep = 0; sweep < 60; ++sweep) {
        real izven = 0, diag = 0;
        for (long p = 0; p < n; ++p) {
            diag += a(p, p) * a(p, p);
            for (long q = p + 1; q < n; ++q) izven += a(p, q) * a(p, q);
        }
        if (izven <= 1e-38L * diag || izven == 0) break;
        for (long p = 0; p < n; ++p)
            for (long q = p + 1; q < n; ++q) {
                if (a(p, q) == 0) continue;
                const real theta = (a(q, q) - a(p, p)) / (2 * a(p, q));
                const real t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
                const real c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (long k = 0; k < n; ++k) {
                    const real akp = a(k, p), akq = a(k, q);
                    a(k, p) = c * akp - s * akq;
                    a(k, q) = s * akp + c * akq;
                }
                for (long k = 0; k < n; ++k) {
                    const real apk = a(p, k), aqk = a(q, k);
                    a(p, k) = c * apk - s * aqk;
                    a(q, k) = s * apk + c * aqk;
                }
                for (long k = 0; k < n; ++k) {
                    const real vkp = V(k, p), vkq = V(k, q);
                    V(k, p) = c * vkp - s * vkq;
                    V(k, q) = s * vkp + c * vkq;
                }
            }
    }
    std::vector<long> red(static_cast<std::size_t>(n));
    for (long i = 0; i < n; ++i) red[static_cast<std::size_t>(i)] = i;
    std::sort(red.begin(), red.end(), [&](long x, long y) { return a(x, x) > a(y, y); });
    lam.assign(static_cast<std::size_t>(n), 0);
    M W = V;
    for (long j = 0; j < n; ++j) {
        lam[static_cast<std::size_t>(j)] = a(red[static_cast<std::size_t>(j)], red[static_cast<std::size_t>(j)]);
        for (long i = 0; i < n; ++i) W(i, j) = V(i, red[static_cast<std::size_t>(j)]);
    }
    V = W;
}
