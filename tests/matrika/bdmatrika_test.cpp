// Block-diagonal weights give exactly the numbers of the full weight matrix.
#include "matrika/bdmatrika.h"
#include "matrika/chr.h"
#include "matrika/invtrid.h"
#include "razcepPomoc.h"
#include "src/FGMMSolMat.h"

using namespace razceptest;

namespace {
// A cofactor band of composed angles: chains of 1 to 5 correlated rows,
// separated by exact zeros.
M Pas(unsigned long n, std::mt19937& g)
{
    std::uniform_real_distribution<double> u(0.5, 2.0);
    std::uniform_int_distribution<int> dol(1, 5);
    M T(n, 3, 0.0L);
    for (unsigned long i = 0, m = 0; i < n; i += m) {
        m = std::min<unsigned long>(dol(g), n - i);
        for (unsigned long k = i; k < i + m; ++k) T(k, 1) = 2.0L * u(g);
        for (unsigned long k = i + 1; k < i + m; ++k) T(k, 0) = T(k - 1, 2) = -0.4L * std::sqrt(T(k, 1) * T(k - 1, 1));
    }
    return T;
}

M Polna(const bdmatrika& P)
{
    M A(P.nrow(), P.nrow());
    for (unsigned long i = 0; i < A.nrow(); ++i)
        for (unsigned long j = 0; j < A.nrow(); ++j) A(i, j) = P(i, j);
    return A;
}
}  // namespace

TEST(BdMatrika, SameNumbersAsTheFullWeightMatrix)
{
    std::mt19937 g(7);
    const unsigned long n = 40;
    const M T = Pas(n, g), Pf = invtridV(T), B = Nakljucna(n, 6, 8), v = Nakljucna(n, 1, 9);
    const bdmatrika Pb = invtridB(T);
    EXPECT_GT(Pb.nblok(), 5u);
    for (unsigned long b = 0; b < Pb.nblok(); ++b)  // one block per chain
        EXPECT_TRUE(T(Pb.zacetek(b), 0) == 0 && T(Pb.zacetek(b) + Pb.velikost(b) - 1, 2) == 0) << b;
    EXPECT_EQ(Razlika(Polna(Pb), Pf), 0.0L);

    // Cholesky factors, whitening and v'Pv: bit for bit.
    chr<long double> ch;
    ch.razcep(Pf, 0);
    const bdmatrika Lb = chrB(Pb);
    EXPECT_EQ(Razlika(Polna(Lb), ch.L), 0.0L);
    M Yf, Yb;
    VtBprod(ch.L, B, Yf, false);
    VtBprod(Lb, B, Yb);
    EXPECT_EQ(Razlika(Yb, Yf), 0.0L);
    EXPECT_EQ(vTPv(v, Pb), vTPv(v, Pf, false));

    // diag(Qvv P) against the explicit product of the full matrices.
    M Qxx = I(6, 0.01L), Qll(n, n, 0.0L), r;
    QvvPDiag(T, B, Qxx, Pb, r);
    for (unsigned long i = 0; i < n; ++i) {
        Qll(i, i) = T(i, 1);
        if (i > 0) Qll(i, i - 1) = T(i, 0);
        if (i + 1 < n) Qll(i, i + 1) = T(i, 2);
    }
    M QvvP = Qll - B * Qxx * transpon(B);
    QvvP *= Pf;
    for (unsigned long i = 0; i < n; ++i) EXPECT_NEAR(r(i), QvvP(i, i), 1e-15L) << i;
}

// A singular pivot in a later chain is named by its row in the whole band.
TEST(BdMatrika, SingularChainIsRefused)
{
    const Izid r = RunChild([] { (void)invtridB(Iz({{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 1}, {1, 1, 0}})); });
    PricakujNapako(r, "Funkcija:   invtridV() - Gauss-Jordan\nMatrika je singularna: ", "matrika/invtrid");
    EXPECT_NE(r.out.find("[  4]"), std::string::npos) << r.out;
}

// A chain longer than kDolgaVeriga is held by its band (the angles of a set
// of directions: Q = T D T'); what it gives is what the inverted block gives.
TEST(BdMatrika, LongChainHeldByItsBand)
{
    std::mt19937 g(11);
    std::uniform_real_distribution<double> u(0.5, 2.0);
    const unsigned long m = bdmatrika::kDolgaVeriga + 20, n = m + 4;
    std::vector<long double> D(m + 1);
    for (auto& d : D) d = u(g);
    M T(n, 3, 0.0L);
    for (unsigned long k = 0; k < m; ++k) {
        T(k, 1) = D[k] + D[k + 1];
        if (k + 1 < m) T(k, 2) = T(k + 1, 0) = -D[k + 1];
    }
    for (unsigned long k = m; k < n; ++k) T(k, 1) = u(g);   // rows of their own after it
    const bdmatrika Pb = invtridB(T), Pg = invtridB(T, false);
    ASSERT_TRUE(Pb.trak(0));
    EXPECT_FALSE(Pg.imaTrakove());
    const M Pf = Polna(Pg), v = Nakljucna(n, 1, 5);
    EXPECT_EQ(Razlika(Polna(Pb.gosta()), Pf), 0.0L);
    EXPECT_LT(Razlika(Polna(Pb), Pf), 1e-14L * Razlika(Pf));
    EXPECT_NEAR(vTPv(v, Pb), vTPv(v, Pf, false), 1e-15L * vTPv(v, Pf, false));

    // The band's factor: (L'v)_i / L_ii of the dense Cholesky factor of P
    // equals (U^-1 v)_i U_ii.
    chr<long double> ch;
    ch.razcep(Pf, 0);
    const bdmatrika Lb = chrB(Pb);
    std::vector<long double> y(m);
    for (unsigned long i = 0; i < m; ++i) y[i] = v(i);
    resiBidiagonalno(Lb.blok(0), y);
    for (unsigned long i = 0; i < m; ++i) {
        long double r = 0.0L;
        for (unsigned long j = i; j < m; ++j) r += ch.L(j, i) * v(j);
        EXPECT_NEAR(y[i] * Lb.blok(0)(i, 1), r / ch.L(i, i), 1e-13L * std::fabs(r / ch.L(i, i)) + 1e-15L) << i;
    }
}
