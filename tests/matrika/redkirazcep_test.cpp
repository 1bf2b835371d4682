// Sparse factorisation: every result against the dense inverse of the same
// normal matrix, and the zero pivots of singular networks.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <tuple>
#include <thread>

#include "matrika/inv.h"
#include "matrika/redkirazcep.h"
#include "matrika/skalarna.h"
#include "razcepPomoc.h"

using namespace razceptest;

namespace {
using Vrstice = std::vector<std::vector<std::pair<long, long double>>>;

// The same value, zeros of the same sign.
bool Isti(long double a, long double b) { return a == b && std::signbit(a) == std::signbit(b); }

// Rows of a network on a w x h grid of points: a levelling-like difference
// per edge (d = 1) or a distance-like row per edge and diagonal (d = 2, the
// direction of the edge between slightly displaced points); with shift, one
// row per unknown holding it (so the matrix is regular).
Vrstice Mreza(long w, long h, int d, bool shift, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(0.5, 1.5), e(-0.2, 0.2);
    std::vector<long double> X(w * h), Y(w * h);
    for (long p = 0; p < w * h; ++p) X[p] = p % w + e(gen), Y[p] = p / w + e(gen);
    Vrstice V;
    auto rob = [&](long p, long q) {
        const long double c = u(gen);
        if (d == 1) return V.push_back({{p, c}, {q, -c}});
        const long double dx = X[q] - X[p], dy = Y[q] - Y[p], s = std::hypot(dx, dy);
        V.push_back({{2 * p, -dx / s}, {2 * p + 1, -dy / s}, {2 * q, dx / s}, {2 * q + 1, dy / s}});
    };
    for (long p = 0; p < w * h; ++p) {
        if (p % w + 1 < w) rob(p, p + 1);
        if (p / w + 1 < h) rob(p, p + w);
        if (d == 2 && p % w + 1 < w && p / w + 1 < h) rob(p, p + w + 1);
    }
    if (shift)
        for (long j = 0; j < d * w * h; ++j) V.push_back({{j, 0.3L * u(gen)}});
    return V;
}

// 2-6 distinct random columns per row, plus a holding row per unknown.
Vrstice Nakljucne(long n, long m, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<long> st(0, n - 1), k(2, 6);
    std::uniform_real_distribution<double> u(-1, 1);
    Vrstice V;
    for (long r = 0; r < m; ++r) {
        std::vector<std::pair<long, long double>> v;
        for (long c = k(gen), j = st(gen); c > 0; --c, j = st(gen))
            if (std::none_of(v.begin(), v.end(), [&](auto& x) { return x.first == j; })) v.push_back({j, u(gen)});
        V.push_back(v);
    }
    for (long j = 0; j < n; ++j) V.push_back({{j, 0.5L}});
    return V;
}

// The normal matrix sum of r r' over the weighted rows, upper triangle by
// columns; a product that is 0 stays on the pattern.
redkaSimetricna Normalna(long n, const Vrstice& V, long double utez = 1)
{
    std::vector<std::map<long, long double>> stolpci(n);
    for (const auto& v : V)
        for (const auto& [a, x] : v)
            for (const auto& [b, y] : v)
                if (a <= b) stolpci[b][a] += utez * x * utez * y;
    redkaSimetricna N{n, {0}, {}, {}};
    for (const auto& c : stolpci) {
        for (const auto& [i, x] : c) N.Ai.push_back(i), N.Ax.push_back(x);
        N.Ap.push_back(static_cast<long>(N.Ai.size()));
    }
    return N;
}

M Gosta(const redkaSimetricna& N)
{
    M A(N.n, N.n, 0.0L);
    for (long j = 0; j < N.n; ++j)
        for (long p = N.Ap[j]; p < N.Ap[j + 1]; ++p) A(N.Ai[p], j) = A(j, N.Ai[p]) = N.Ax[p];
    return A;
}

M Stolpec(const std::vector<long double>& v) { M x(v.size(), 1); for (size_t i = 0; i < v.size(); ++i) x(i) = v[i]; return x; }
}  // namespace

TEST(RedkiRazcep, AgreesWithTheDenseInverse)
{
    const std::vector<std::pair<long, Vrstice>> primeri = {
        {30, Mreza(30, 1, 1, true, 1)}, {42, Mreza(6, 7, 1, true, 2)},
        {40, Nakljucne(40, 70, 3)},     {60, Mreza(6, 5, 2, true, 4)}};
    using U = redkiRazcep::Urejanje;
    for (const auto& [n, V] : primeri)
    for (const U urejanje : {U::amd, U::metis}) {
        SCOPED_TRACE(n);
        SCOPED_TRACE(urejanje == U::amd ? "AMD" : "METIS");
        redkiRazcep r;
        r.nastaviUrejanje(urejanje);
        r.analiza(Normalna(n, V));
        EXPECT_EQ(r.urejanje(), urejanje);
        // A second pass with other weights reuses the pattern and the analysis.
        for (long double utez : {1.0L, 1.7L}) {
            const redkaSimetricna N = Normalna(n, V, utez);
            const M A = Gosta(N), Q = inv(A);
            const long double tol = 1e-15L * Razlika(Q);
            EXPECT_EQ(r.razcep(N), 0);
            const M b = Nakljucna(n, 1, 7);
            std::vector<long double> x(b.data(), b.data() + n);
            r.resi(x);
            EXPECT_LT(Razlika(Stolpec(x), Q * b), tol);
            r.izbraniInverz();
            for (long j = 0; j < n; ++j)
                for (long i = 0; i < n; ++i) ASSERT_LT(std::fabs(r.inverz(i, j) - Q(i, j)), tol) << i << "," << j;
        }
    }
}

// A plane grid large enough for the large panels and the subtrees of the
// elimination tree to be shared among threads: both orderings, with one
// thread and two, give the solution and the inverse on the pattern of the normal
// matrix of the minimum-degree factor on one thread (which the test above
// holds against the dense inverse); the threads change no digit.
TEST(RedkiRazcep, OrderingsAndThreadsAgree)
{
    const long n = 2 * 45 * 45;
    const Vrstice V = Mreza(45, 45, 2, true, 11);
    const redkaSimetricna N = Normalna(n, V);
    const M b = Nakljucna(n, 1, 12);
    using U = redkiRazcep::Urejanje;
    auto izracun = [&](U urejanje, int niti) {
        redkiRazcep r;
        r.nastaviUrejanje(urejanje);
        r.nastaviNiti(niti);
        r.analiza(N);
        EXPECT_EQ(r.urejanje(), urejanje);
        EXPECT_EQ(r.razcep(N), 0);
        std::vector<long double> z(b.data(), b.data() + n);
        r.resi(z);
        r.izbraniInverz();
        for (long j = 0; j < n; ++j)
            for (long p = N.Ap[j]; p < N.Ap[j + 1]; ++p) z.push_back(r.inverz(N.Ai[p], j));
        return z;
    };
    const auto ref = izracun(U::amd, 1);
    long double najvecja = 0;
    for (long double x : ref) najvecja = std::fmax(najvecja, std::fabs(x));
    const auto metis1 = izracun(U::metis, 1);
    for (const auto& z : {izracun(U::amd, 2), metis1}) {
        ASSERT_EQ(z.size(), ref.size());
        for (std::size_t k = 0; k < z.size(); ++k) ASSERT_LT(std::fabs(z[k] - ref[k]), 1e-15L * najvecja) << k;
    }
    EXPECT_TRUE(izracun(U::metis, 2) == metis1);
    // From 20 000 unknowns on minimum degree and nested dissection are tried
    // at once on two threads: the choice and the order are those of one.
    {
        const long n2 = 2 * 100 * 100;
        const redkaSimetricna N2 = Normalna(n2, Mreza(100, 100, 2, true, 5));
        std::vector<long> mesta[2];
        U izbrana[2];
        for (int niti : {1, 2}) {
            redkiRazcep r;
            r.nastaviNiti(niti);
            r.analiza(N2);
            izbrana[niti - 1] = r.urejanje();
            for (long j = 0; j < n2; ++j) mesta[niti - 1].push_back(r.mesto(j));
        }
        EXPECT_EQ(izbrana[0], U::metis);
        EXPECT_EQ(izbrana[1], U::metis);
        EXPECT_TRUE(mesta[0] == mesta[1]);
    }
    // The same grid with four points cut off but for a zero on the pattern
    // (defect 8, in subtrees low in the tree) and with nothing held (defect
    // 3, at the root): two threads report the same zero pivots, in the order
    // of elimination, as one.
    Vrstice odrezane;
    const std::vector<long> odrezano = {100, 700, 1500, 2000};
    auto odrezana = [&](long j) { return std::count(odrezano.begin(), odrezano.end(), j / 2) > 0; };
    for (const auto& v : V)
        if (std::none_of(v.begin(), v.end(), [&](const auto& x) { return odrezana(x.first); })) odrezane.push_back(v);
    for (long p : odrezano)
        for (long j : {2 * p, 2 * p + 1}) odrezane.push_back({{j, 0.0L}, {j + 2, 0.7L}});
    for (const auto& [S, defekt] : {std::pair{Normalna(n, odrezane), 8L}, std::pair{Normalna(n, Mreza(45, 45, 2, false, 11)), 3L}}) {
        std::vector<long> pivoti[2];
        for (int niti : {1, 2}) {
            redkiRazcep r;
            r.nastaviUrejanje(U::metis);
            r.nastaviNiti(niti);
            r.analiza(S);
            EXPECT_EQ(r.razcep(S), defekt);
            pivoti[niti - 1] = r.nicelniPivoti();
        }
        EXPECT_EQ(pivoti[0], pivoti[1]);
    }
}

// A matrix scaled by a power of two factors and inverts exactly as scaled
// (every operation scales without rounding in long double).  Scaled by
// 2^-1100 its pivots and the inverse (about 2^1100) are beyond double's
// range; scaled by 2^1100 the inverse is below it: the faster loads of the
// factorisation and of the inverses, which hold values as pairs of doubles,
// must keep the long doubles there, and every digit stays the same.
TEST(RedkiRazcep, ScaledBeyondDoublesRangeGivesTheScaledInverse)
{
    const long n = 2 * 30 * 30;
    const redkaSimetricna N = Normalna(n, Mreza(30, 30, 2, true, 21));
    auto izracun = [&](int e) {
        redkaSimetricna S = N;
        for (auto& x : S.Ax) x = std::ldexp(x, e);
        redkiRazcep r;
        r.nastaviUrejanje(redkiRazcep::Urejanje::metis);
        r.analiza(S);
        EXPECT_EQ(r.razcep(S), 0);
        r.izbraniInverz();
        std::vector<long double> z;
        for (long j = 0; j < n; ++j)
            for (long p = S.Ap[j]; p < S.Ap[j + 1]; ++p) z.push_back(std::ldexp(r.inverz(S.Ai[p], j), e));
        std::vector<long double> celotni(static_cast<std::size_t>(n * n));
        r.celotniInverz(celotni.data());
        for (std::size_t k = 0; k < celotni.size(); k += 7) z.push_back(std::ldexp(celotni[k], e));
        // Held as pairs of doubles only where every value has its pair.
        std::vector<dvojna> pari(celotni.size());
        EXPECT_EQ(r.celotniInverz(pari.data()), e == 0);
        if (e == 0) {
            for (std::size_t k = 0; k < celotni.size(); ++k) EXPECT_EQ(vrednost(pari[k]), celotni[k]);
        }
        return z;
    };
    const auto ref = izracun(0);
    EXPECT_TRUE(izracun(-1100) == ref);
    EXPECT_TRUE(izracun(1100) == ref);
}

// Singular normal matrices: a levelling grid with no height held (defect 1),
// a distance network with nothing held (defect 3), and an unknown that no
// row touches.  Each factorisation reports as many zero pivots as the defect,
// and its solution still satisfies A x = b for b in the range of A.
TEST(RedkiRazcep, ZeroPivotsOfSingularNetworks)
{
    Vrstice osamljena = Mreza(5, 1, 1, true, 5);
    for (auto& v : osamljena)
        for (auto& x : v) x.first += x.first >= 3;  // unknown 3 is left out
    osamljena.push_back({{3, 0.0L}, {2, 0.7L}});     // but for a zero on its pattern
    const std::vector<std::tuple<long, Vrstice, long>> primeri = {
        {42, Mreza(6, 7, 1, false, 6), 1}, {60, Mreza(6, 5, 2, false, 7), 3}, {6, osamljena, 1}};
    for (const auto& [n, V, defekt] : primeri) {
        SCOPED_TRACE(n);
        const redkaSimetricna N = Normalna(n, V);
        redkiRazcep r;
        r.analiza(N);
        EXPECT_EQ(r.razcep(N), defekt);
        const M A = Gosta(N), b = A * Nakljucna(n, 1, 9);
        std::vector<long double> x(b.data(), b.data() + n);
        r.resi(x);
        EXPECT_LT(Razlika(A * Stolpec(x), b), 1e-14L * Razlika(b));
        if (n == 6) {
            EXPECT_EQ(r.nicelniPivoti(), std::vector<long>{3});
        }
    }
}

TEST(RedkiRazcep, RefusesAnUnanalysedPattern)
{
    redkaSimetricna N{2, {0, 1, 3}, {0, 0, 1}, {2, 1, 2}}, drug{2, {0, 1, 2}, {0, 1}, {2, 2}};
    redkiRazcep r;
    r.analiza(N);
    PricakujNapako(RunChild([&] { r.razcep(drug); }),
                   "Funkcija:   redkiRazcep::razcep\nVzorec matrike ni analiziran: ", "matrika/redkirazcep");
    EXPECT_EQ(r.razcep(N), 0);
    EXPECT_NEAR(static_cast<double>(r.inverz(1, 0)), -1.0 / 3, 1e-16);  // [[2,1],[1,2]]^-1 = [[2,-1],[-1,2]]/3
    const redkaSimetricna prazna{3, {0, 0, 0, 0}, {}, {}};  // nothing on the pattern: three zero pivots
    r.analiza(prazna);
    EXPECT_EQ(r.razcep(prazna), 3);
}

// Entries of the inverse asked for by two threads at once, on the pattern
// and off it (where each thread's sweep wants other columns solved), are
// those asked for by one.
TEST(RedkiRazcep, EntriesFromTwoThreadsAtOnce)
{
    const long n = 2 * 12 * 12;
    const redkaSimetricna N = Normalna(n, Mreza(12, 12, 2, true, 8));
    redkiRazcep r;
    r.analiza(N);
    r.razcep(N);
    r.izbraniInverz();
    std::vector<long double> ref(static_cast<std::size_t>(n * n));
    for (long j = 0; j < n; ++j)
        for (long i = 0; i < n; ++i) ref[static_cast<std::size_t>(j * n + i)] = r.inverz(i, j);
    std::vector<long double> a(ref.size()), b(ref.size());
    std::thread naprej([&] {
        for (long j = 0; j < n; ++j)
            for (long i = 0; i < n; ++i) a[static_cast<std::size_t>(j * n + i)] = r.inverz(i, j);
    });
    for (long j = n - 1; j >= 0; --j)
        for (long i = 0; i < n; ++i) b[static_cast<std::size_t>(j * n + i)] = r.inverz(i, j);
    naprej.join();
    EXPECT_TRUE(a == ref);
    EXPECT_TRUE(b == ref);
}

// The whole inverse at once and columns of it solved together (five of them,
// in no order, a panel of one and of the whole width), on a plane grid whose
// supernodes have several columns and on random rows, against the dense
// inverse.
TEST(RedkiRazcep, WholeInverseAndItsColumns)
{
    for (const auto& [n, V] : std::vector<std::pair<long, Vrstice>>{{60, Mreza(6, 5, 2, true, 4)}, {41, Nakljucne(41, 70, 5)}}) {
        SCOPED_TRACE(n);
        const redkaSimetricna N = Normalna(n, V);
        const M Q = inv(Gosta(N));
        const long double tol = 1e-15L * Razlika(Q);
        redkiRazcep r;
        r.analiza(N);
        r.razcep(N);
        std::vector<long double> Z(static_cast<std::size_t>(n * n));
        r.celotniInverz(Z.data());
        std::vector<long> vsi(static_cast<std::size_t>(n));
        for (long j = 0; j < n; ++j) vsi[static_cast<std::size_t>(j)] = n - 1 - j;
        const std::vector<std::vector<long>> panele = {{7, 2, n - 1, 0, 30}, {n / 2}, vsi};
        std::vector<long double> W;
        for (long j = 0; j < n; ++j)
            for (long i = 0; i < n; ++i)
                ASSERT_LT(std::fabs(Z[r.mesto(j) * n + r.mesto(i)] - Q(i, j)), tol) << i << "," << j;
        for (const auto& stolpci : panele) {
            const long k = static_cast<long>(stolpci.size());
            r.stolpciInverza(stolpci.data(), k, W);
            for (long t = 0; t < k; ++t)
                for (long i = 0; i < n; ++i)
                    ASSERT_LT(std::fabs(W[r.mesto(i) * k + t] - Q(i, stolpci[t])), tol) << i << "," << stolpci[t];
        }
    }
    // A grid large enough for threads: the whole inverse on two threads is
    // the one on one thread digit for digit, symmetric, and its columns are
    // those solved from the factor.
    const long n = 2 * 20 * 20;
    const redkaSimetricna N = Normalna(n, Mreza(20, 20, 2, true, 13));
    std::vector<long double> Z[2];
    redkiRazcep r;
    r.analiza(N);
    r.razcep(N);
    for (int niti : {1, 2}) {
        r.nastaviNiti(niti);
        Z[niti - 1].resize(static_cast<std::size_t>(n * n));
        r.celotniInverz(Z[niti - 1].data());
        std::vector<dvojna> P(Z[niti - 1].size());
        ASSERT_TRUE(r.celotniInverz(P.data()));
        for (std::size_t k = 0; k < P.size(); ++k) ASSERT_TRUE(Isti(vrednost(P[k]), Z[niti - 1][k])) << k;
    }
    EXPECT_TRUE(Z[0] == Z[1]);
    // Random rows fill the factor into supernodes of hundreds of columns,
    // each over several blocks of rows: a block that read the rows of a
    // later one before they are formed would differ.
    {
        const long nr = 400;
        const redkaSimetricna R = Normalna(nr, Nakljucne(nr, 3 * nr, 17));
        redkiRazcep rr;
        rr.analiza(R);
        rr.razcep(R);
        std::vector<long double> Z1(static_cast<std::size_t>(nr * nr)), Z2(Z1.size());
        rr.nastaviNiti(1);
        rr.celotniInverz(Z1.data());
        rr.nastaviNiti(2);
        for (int k = 0; k < 3; ++k) {
            rr.celotniInverz(Z2.data());
            EXPECT_TRUE(Z1 == Z2);
        }
        // Its factor and its inverse on the pattern, whose panels the
        // threads share column by column: two threads give the digits of
        // one, every time.
        std::vector<long double> naVzorcu[2];
        for (int k = 0; k < 4; ++k) {
            const int niti = k == 0 ? 1 : 2;
            rr.nastaviNiti(niti);
            EXPECT_EQ(rr.razcep(R), 0);
            rr.izbraniInverz();
            std::vector<long double> z(static_cast<std::size_t>(nr), 1.0L);
            rr.resi(z);
            for (long j = 0; j < nr; ++j)
                for (long p = R.Ap[j]; p < R.Ap[j + 1]; ++p) z.push_back(rr.inverz(R.Ai[p], j));
            if (k == 0) naVzorcu[0] = z;
            else EXPECT_TRUE(z == naVzorcu[0]);
        }
        // Held as pairs of doubles, on either thread count, the same values
        // to the last bit (and the sign of each zero).
        std::vector<dvojna> P(Z1.size());
        for (int niti : {1, 2}) {
            rr.nastaviNiti(niti);
            ASSERT_TRUE(rr.celotniInverz(P.data()));
            for (std::size_t k = 0; k < P.size(); ++k) ASSERT_TRUE(Isti(vrednost(P[k]), Z1[k])) << k;
        }
    }
    const std::vector<long> stolpci = {0, n / 3, n - 1};
    std::vector<long double> W;
    r.stolpciInverza(stolpci.data(), 3, W);
    for (long t = 0; t < 3; ++t)
        for (long i = 0; i < n; ++i) {
            const long double z = Z[1][r.mesto(stolpci[t]) * n + r.mesto(i)];
            ASSERT_EQ(z, Z[1][r.mesto(i) * n + r.mesto(stolpci[t])]) << i;
            ASSERT_LT(std::fabs(z - W[r.mesto(i) * 3 + t]), 1e-15L * std::fabs(Z[1][r.mesto(i) * (n + 1)])) << i;
        }
}
