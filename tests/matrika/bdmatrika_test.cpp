// Block-diagonal weights give exactly the numbers of the full weight matrix.
#include <gtest/gtest.h>

#include <random>

#include "TestUtil.h"
#include "matrika/bdmatrika.h"
#include "matrika/chr.h"
#include "matrika/invtrid.h"
#include "src/FGMMSolMat.h"

namespace {

// A cofactor band of composed angles: chains of 1 to 5 correlated rows
// (variance 2, covariance -1 scaled), separated by exact zeros.
matrika<long double> Pas(unsigned long n, std::mt19937& g)
{
    std::uniform_real_distribution<double> u(0.5, 2.0);
    std::uniform_int_distribution<int> dol(1, 5);
    matrika<long double> T(n, 3, 0.0L);
    unsigned long i = 0;
    while (i < n) {
        const unsigned long m = std::min<unsigned long>(dol(g), n - i);
        for (unsigned long k = i; k < i + m; ++k) T(k, 1) = 2.0L * u(g);
        for (unsigned long k = i + 1; k < i + m; ++k) {
            const long double c = -0.4L * std::sqrt(T(k, 1) * T(k - 1, 1));
            T(k, 0) = c;
            T(k - 1, 2) = c;
        }
        i += m;
    }
    return T;
}

}  // namespace

TEST(BdMatrika, SameNumbersAsTheFullWeightMatrix)
{
    std::mt19937 g(7);
    const unsigned long n = 40;
    const matrika<long double> T = Pas(n, g);
    const matrika<long double> Pf = invtridV(T);
    const bdmatrika Pb = invtridB(T);
    ASSERT_EQ(Pb.nrow(), n);
    EXPECT_GT(Pb.nblok(), 5u);
    for (unsigned long i = 0; i < n; ++i)
        for (unsigned long j = 0; j < n; ++j) EXPECT_EQ(Pb(i, j), Pf(i, j)) << i << "," << j;

    // Cholesky factors, whitening and v'Pv: bit for bit.
    chr<long double> ch;
    ch.razcep(Pf, 0);
    const bdmatrika Lb = chrB(Pb);
    for (unsigned long i = 0; i < n; ++i)
        for (unsigned long j = 0; j < n; ++j) EXPECT_EQ(Lb(i, j), ch.L(i, j));

    std::uniform_real_distribution<double> u(-1.0, 1.0);
    matrika<long double> B(n, 6), v(n, 1);
    for (unsigned long k = 0; k < B.size(); ++k) B(k) = u(g);
    for (unsigned long k = 0; k < n; ++k) v(k) = u(g);
    matrika<long double> Yf, Yb;
    VtBprod(ch.L, B, Yf, false);
    VtBprod(Lb, B, Yb);
    for (unsigned long k = 0; k < Yf.size(); ++k) EXPECT_EQ(Yb(k), Yf(k));
    EXPECT_EQ(vTPv(v, Pb), vTPv(v, Pf, false));

    // diag(Qvv P) against the explicit product of the full matrices.
    matrika<long double> Qxx(6, 6, 0.0L);
    for (int k = 0; k < 6; ++k) Qxx(k, k) = 0.01L * (k + 1);
    matrika<long double> r;
    QvvPDiag(T, B, Qxx, Pb, r);
    matrika<long double> Qll(n, n, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        Qll(i, i) = T(i, 1);
        if (i > 0) Qll(i, i - 1) = T(i, 0);
        if (i + 1 < n) Qll(i, i + 1) = T(i, 2);
    }
    matrika<long double> BQ = B * Qxx;
    for (unsigned long i = 0; i < n; ++i) {
        long double ref = 0.0L;
        for (unsigned long k = 0; k < n; ++k) {
            long double s = 0.0L;
            for (unsigned long j = 0; j < 6; ++j) s += BQ(i, j) * B(k, j);
            ref += (Qll(i, k) - s) * Pf(k, i);
        }
        EXPECT_NEAR(r(i), ref, 1e-15L) << i;
    }
}

TEST(BdMatrika, BlocksOfAFullMatrixAndSingularChains)
{
    matrika<long double> A(4, 4, 0.0L);
    A(0, 0) = 1; A(1, 1) = 2; A(1, 2) = 0.5; A(2, 1) = 0.5; A(2, 2) = 3; A(3, 3) = 4;
    const bdmatrika P = bdmatrika::IzPolne(A);
    ASSERT_EQ(P.nblok(), 3u);
    EXPECT_EQ(P.velikost(1), 2u);
    EXPECT_EQ(P.zacetek(2), 3u);
    EXPECT_EQ(P(2, 1), 0.5L);
    EXPECT_EQ(P(0, 3), 0.0L);

    // A singular pivot in the third chain is named by its row in the whole band.
    const Izid r = RunChild([] {
        matrika<long double> T(5, 3, 0.0L);
        for (int i = 0; i < 5; ++i) T(i, 1) = 1.0L;
        T(4, 1) = 1.0L;
        T(3, 2) = 1.0L;
        T(4, 0) = 1.0L;  // rows 3 and 4 form [[1, 1], [1, 1]]
        (void)invtridB(T);
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Funkcija:   invtridV() - Gauss-Jordan\nMatrika je singularna: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[  4]"), std::string::npos) << r.out;
}
