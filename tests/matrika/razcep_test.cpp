// Decompositions, solvers and inverses: worked examples, invariants, and the
// agreement of every solution method on the same least-squares problem.
#include <gtest/gtest.h>

#include <cmath>

#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "matrika/razcepmetoda.h"
#include "matrika/svdr.h"
#include "matrika/transpon.h"
#include "razcepPomoc.h"

using namespace razceptest;

// Square roots are taken in double precision, so a factor that contains one
// is exact to about 1e-16 relative; the tolerances below allow for that.
#define EXPECT_BLIZU(a, b, tol) EXPECT_LE(std::fabs(static_cast<long double>(a) - static_cast<long double>(b)), (tol))

TEST(Razcep, CholeskyWorkedExamples)
{
    chr<long double> c;
    c.razcep(Iz({{4, 2}, {2, 3}}));
    EXPECT_EQ(c.L(0, 0), 2.0L);
    EXPECT_EQ(c.L(0, 1), 0.0L);
    EXPECT_EQ(c.L(1, 0), 1.0L);
    EXPECT_EQ(c.L(1, 1), dsqrt(2.0L));  // root in double precision
    // A^-1 = [[3, -2], [-2, 4]] / 8
    const M Ai = c.inv();
    EXPECT_BLIZU(Ai(0, 0), 3.0 / 8, 1e-16L);
    EXPECT_BLIZU(Ai(0, 1), -2.0 / 8, 1e-16L);
    EXPECT_BLIZU(Ai(1, 1), 4.0 / 8, 1e-16L);
    const M x = c.resiv(Stolpec({6, 5}));  // [[4,2],[2,3]] (1, 1) = (6, 5)
    EXPECT_BLIZU(x(0), 1.0, 1e-15L);
    EXPECT_BLIZU(x(1), 1.0, 1e-15L);

    // The diagonal form: a column or the diagonal of a square matrix.
    chr<long double> d;
    d.razcep(Stolpec({4, 9}), 1);
    EXPECT_EQ(d.L.nrow(), 2u);
    EXPECT_EQ(d.L.ncol(), 1u);
    EXPECT_EQ(d.L(0), 2.0L);
    EXPECT_EQ(d.L(1), 3.0L);
    const M xd = d.resiv(Stolpec({8, 18}));
    EXPECT_EQ(xd(0), 2.0L);
    EXPECT_EQ(xd(1), 2.0L);
    const M Di = d.inv();  // the whole diagonal inverse, not only its first element
    EXPECT_EQ(Di(0, 0), 0.25L);
    EXPECT_BLIZU(Di(1, 1), 1.0 / 9, 1e-15L);
    EXPECT_EQ(Di(0, 1), 0.0L);
    d.razcep(Iz({{16, 7}, {7, 25}}), 1);
    EXPECT_EQ(d.L(0), 4.0L);
    EXPECT_EQ(d.L(1), 5.0L);

    // A zero radicand is accepted by the decomposition, refused by the inverse.
    chr<long double> s;
    s.razcep(Iz({{1, 1}, {1, 1}}));
    EXPECT_EQ(s.L(1, 1), 0.0L);
    const Izid r = RunChild([&] { s.inv(); });
    PricakujNapako(r, "Funkcija:   chr::inv\nMatrika je singularna: 0 * 10^-15 (3) [  1]", "matrika/chr");
}

TEST(Razcep, CholeskyIndefiniteWritesRadicand)
{
    const Izid r = RunChild([] {
        chr<long double> c;
        c.razcep(Iz({{1, 2}, {2, 1}}));
    });
    // 1 - 2^2 = -3 in row 1.
    EXPECT_EQ(r.out.rfind("\n   1  KOREN: " + std::string(18, ' ') + "-3\n", 0), 0u) << r.out;
    PricakujNapako(r, "Funkcija: chr::razcep\nMatrika mora biti pozitivno semi definitna: ", "matrika/chr");
    const Izid r2 = RunChild([] {
        chr<long double> c;
        c.razcep(Stolpec({4, -0.5L}), 1);
    });
    EXPECT_NE(r2.out.find("   1  KOREN: "), std::string::npos) << r2.out;
    PricakujNapako(r2, "Funkcija: chr::razcep\nMatrika mora biti pozitivno semi definitna: ", "matrika/chr");
}

TEST(Razcep, LuPivotingAndInverse)
{
    lur<long double> l;
    l.razcep(Iz({{0, 1}, {1, 0}}));
    EXPECT_EQ(l.predznak, -1);
    EXPECT_EQ(NajvecjaRazlika(l.P, Iz({{0, 1}, {1, 0}})), 0.0L);
    EXPECT_EQ(NajvecjaRazlika(l.inv(), Iz({{0, 1}, {1, 0}})), 0.0L);
    const M x = l.resiv(Stolpec({3, 7}));
    EXPECT_EQ(x(0), 7.0L);
    EXPECT_EQ(x(1), 3.0L);

    // P A = L U on a general (non-symmetric) matrix, and the sign of P.
    const M A = Nakljucna(9, 9, 11);
    l.razcep(A);
    M Lm = Iden(9), Um(9, 9, 0.0L);
    for (unsigned long i = 0; i < 9; ++i)
        for (unsigned long j = 0; j < 9; ++j) (j < i ? Lm(i, j) : Um(i, j)) = l.LU(i, j);
    EXPECT_LT(NajvecjaRazlika(AB(l.P, A), AB(Lm, Um)), 1e-15L);
    int inverzije = 0;  // parity of the permutation, counted independently
    for (unsigned long i = 0; i < 9; ++i)
        for (unsigned long j = i + 1; j < 9; ++j) {
            unsigned long ci = 0, cj = 0;
            for (unsigned long k = 0; k < 9; ++k) {
                if (l.P(i, k) == 1) ci = k;
                if (l.P(j, k) == 1) cj = k;
            }
            if (ci > cj) ++inverzije;
        }
    EXPECT_EQ(l.predznak, inverzije % 2 ? -1 : 1);
    EXPECT_LT(NajvecjaRazlika(AB(A, l.inv()), Iden(9)), 1e-16L);

    // The inverse is exactly the column-by-column solve of the unit vectors.
    const M Ai = l.inv();
    for (unsigned long c = 0; c < 9; ++c) {
        M e(9, 1, 0.0L);
        e(c) = 1;
        const M x = l.resiv(e);
        for (unsigned long i = 0; i < 9; ++i) EXPECT_EQ(Ai(i, c), x(i)) << i << "," << c;
    }
}

TEST(Razcep, CholeskyAndQrInversesMatchUnitVectorSolves)
{
    const M A = Nakljucna(20, 8, 5);
    const M N = AtB(A, A);
    chr<long double> c;
    c.razcep(N);
    EXPECT_LT(NajvecjaRazlika(AB(c.L, transpon(c.L)), N), 1e-15L);
    qrr<long double> q;
    q.qrhous(A, Nakljucna(20, 1, 6));
    const M Nc = c.inv(), Nq = q.inv();
    for (unsigned long k = 0; k < 8; ++k) {
        M e(8, 1, 0.0L);
        e(k) = 1;
        const M xc = c.resiv(e), xq = q.resivi(e);
        // Lower triangle computed as the solves do, upper one mirrored.
        for (unsigned long i = k; i < 8; ++i) {
            EXPECT_EQ(Nc(i, k), xc(i));
            EXPECT_EQ(Nq(i, k), xq(i));
        }
        for (unsigned long i = 0; i < 8; ++i) {
            EXPECT_EQ(Nc(k, i), Nc(i, k));
            EXPECT_BLIZU(Nc(k, i), xc(i), 1e-14L * std::fabs(xc(i)));
        }
    }
}

// Every method of the settings on one well-conditioned least-squares problem:
// the solutions and cofactor matrices agree, A'A Q = I and the normal
// equations hold.
TEST(Razcep, AllMethodsAgree)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const unsigned long m = 45, n = 12;
        const M A = Nakljucna(m, n, seed);
        const M f = Nakljucna(m, 1, seed + 100);
        const M N = AtB(A, A), nv = AtB(A, f);
        const long double skala = NajvecjiElement(N);

        const M Qgj = inv(N);
        const M xgj = AB(Qgj, nv);
        EXPECT_LT(NajvecjaRazlika(AB(N, Qgj), Iden(n)), 1e-15L);

        for (const char* ime : {"CH", "LU", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"}) {
            SCOPED_TRACE(ime);
            auto metoda = razcepZaMetodo(ime, 1e-12L);
            ASSERT_TRUE(metoda);
            if (metoda->normalna()) metoda->razcep(N, nv);
            else metoda->razcep(A, f);
            const M x = metoda->resi();
            const M Q = metoda->inv();
            ASSERT_EQ(x.nrow(), n);
            ASSERT_EQ(Q.nrow(), n);
            ASSERT_EQ(Q.ncol(), n);
            EXPECT_LT(NajvecjaRazlika(x, xgj), 1e-14L * NajvecjiElement(xgj));
            EXPECT_LT(NajvecjaRazlika(Q, Qgj), 1e-14L * NajvecjiElement(Qgj));
            EXPECT_LT(NajvecjaRazlika(AB(N, Q), Iden(n)), 1e-14L);
            // Normal equations: A'(f - A x) = 0.
            M v = f;
            const M Ax = AB(A, x);
            for (unsigned long i = 0; i < m; ++i) v(i) -= Ax(i);
            EXPECT_LT(NajvecjiElement(AtB(A, v)), 1e-15L * skala);
        }
    }
    EXPECT_FALSE(razcepZaMetodo("NS"));
    EXPECT_FALSE(razcepZaMetodo("qr"));
}

TEST(Razcep, QrMethodsSquareAndDependentColumns)
{
    // A square system is solved exactly by Householder and Givens.
    const M A = Iz({{2, 1}, {1, 3}});
    const M f = Stolpec({5, 10});  // x = (1, 3)
    qrr<long double> q;
    for (const char* ime : {"QR", "QRGIV"}) {
        const M x = q.razcep(A, f, ime);
        EXPECT_BLIZU(x(0), 1.0, 1e-15L) << ime;
        EXPECT_BLIZU(x(1), 3.0, 1e-15L) << ime;
    }
    EXPECT_TRUE(q.razcep(A, f, "QRX").empty());
    // Modified Gram-Schmidt forms an orthonormal Q with A = Q R.
    const M B = Nakljucna(10, 4, 9);
    q.qrmgs(B, Nakljucna(10, 1, 10));
    EXPECT_LT(NajvecjaRazlika(AtB(q.Q, q.Q), Iden(4)), 1e-15L);
    EXPECT_LT(NajvecjaRazlika(AB(q.Q, q.R), B), 1e-15L);
    // Several right-hand sides at once give each one's solution.
    M F2(10, 2);
    const M g1 = Nakljucna(10, 1, 21), g2 = Nakljucna(10, 1, 22);
    for (unsigned long i = 0; i < 10; ++i) { F2(i, 0) = g1(i); F2(i, 1) = g2(i); }
    const M X2 = q.qrhous(B, F2), x1 = q.qrhous(B, g1), x2 = q.qrhous(B, g2);
    for (unsigned long i = 0; i < 4; ++i) {
        EXPECT_EQ(X2(i, 0), x1(i));
        EXPECT_EQ(X2(i, 1), x2(i));
    }

    // A zero column: no undefined values, and the inverse refuses it.
    M Z = Nakljucna(6, 3, 4);
    for (unsigned long i = 0; i < 6; ++i) Z(i, 1) = 0;
    for (const char* ime : {"QR", "QRMGS", "QRGIV"}) {
        qrr<long double> qz;
        qz.razcep(Z, Nakljucna(6, 1, 7), ime);
        for (unsigned long k = 0; k < qz.R.size(); ++k) EXPECT_FALSE(std::isnan(qz.R(k))) << ime;
        const Izid r = RunChild([&] { qz.inv(); });
        PricakujNapako(r, "Funkcija:   qrr::inv\nMatrika je singularna: ", "matrika/qrr");
    }
}

TEST(Razcep, SvdFactorsAndThreshold)
{
    for (auto [m, n] : {std::pair{30ul, 7ul}, std::pair{7ul, 7ul}, std::pair{3ul, 5ul}, std::pair{1ul, 4ul}}) {
        SCOPED_TRACE(std::to_string(m) + "x" + std::to_string(n));
        const M A = Nakljucna(m, n, static_cast<unsigned>(m * 31 + n));
        svdr<long double> s;
        s.razcep(A);
        ASSERT_EQ(s.U.nrow(), m);
        ASSERT_EQ(s.U.ncol(), n);
        ASSERT_EQ(s.S.nrow(), n);
        M US = s.U;
        for (unsigned long i = 0; i < m; ++i)
            for (unsigned long j = 0; j < n; ++j) US(i, j) *= s.S(j);
        // Every rotation comes from pythag in double precision.
        EXPECT_LT(NajvecjaRazlika(AB(US, transpon(s.V)), A), 1e-14L);
        EXPECT_LT(NajvecjaRazlika(AtB(s.V, s.V), Iden(n)), 1e-14L);
        unsigned long nicle = 0;
        for (unsigned long j = 0; j < n; ++j) {
            EXPECT_GE(s.S(j), 0.0L);
            if (s.S(j) < 1e-15L) ++nicle;
        }
        EXPECT_GE(nicle, n > m ? n - m : 0);
        if (m >= n) {
            EXPECT_LT(NajvecjaRazlika(AtB(s.U, s.U), Iden(n)), 1e-14L);
        }
    }

    // Threshold: 1e-13 is ignored at 1e-12, 1e-11 is used.
    svdr<long double> s;
    EXPECT_EQ(s.eps, static_cast<long double>(1e-15));
    EXPECT_EQ(s.tsh, static_cast<long double>(1e-15));
    s.razcep(Iz({{2, 0, 0}, {0, 1e-11L, 0}, {0, 0, 1e-13L}}));
    const M x = s.resi(Stolpec({1, 1, 1}), 1e-12L);
    EXPECT_EQ(s.tsh, 1e-12L);
    EXPECT_BLIZU(x(0), 0.5, 1e-16L);
    EXPECT_NEAR(static_cast<double>(x(1)), 1e11, 1e-4);
    EXPECT_EQ(x(2), 0.0L);
    const M x2 = s.resi(Stolpec({1, 1, 1}), 1e-14L);
    EXPECT_NEAR(static_cast<double>(x2(2)), 1e13, 1e-2);

    EXPECT_EQ(svdr<long double>::pythag(3, -4), 5.0L);
    EXPECT_EQ(svdr<long double>::pythag(0, 0), 0.0L);
    EXPECT_EQ(svdr<long double>::pythag(1e300L, 1e300L), static_cast<long double>(1e300 * std::sqrt(2.0)));
}

TEST(Razcep, SvdPseudoInverseOfNormalMatrix)
{
    // Full rank: the pseudo-inverse is the inverse.
    const M A = Nakljucna(25, 6, 77);
    svdr<long double> s;
    s.razcep(A);
    const M N = AtB(A, A);
    chr<long double> c;
    c.razcep(N);
    EXPECT_LT(NajvecjaRazlika(s.pinvAtA(1e-12L), c.inv()), 1e-14L * NajvecjiElement(c.inv()));

    // Rank 5 of 6 (column 5 = column 0 + column 1, exactly): the four Penrose
    // conditions, and the minimum-norm solution, orthogonal to the null space.
    M B = Nakljucna(25, 6, 78, true);
    for (unsigned long i = 0; i < 25; ++i) B(i, 5) = B(i, 0) + B(i, 1);
    s.razcep(B);
    const M X = s.pinvAtA(1e-9L);
    const M Nb = AtB(B, B);
    const long double t = 1e-13L * NajvecjiElement(Nb);
    EXPECT_LT(NajvecjaRazlika(AB(AB(Nb, X), Nb), Nb), t);
    EXPECT_LT(NajvecjaRazlika(AB(AB(X, Nb), X), X), 1e-13L * NajvecjiElement(X));
    const M NX = AB(Nb, X), XN = AB(X, Nb);
    EXPECT_LT(NajvecjaRazlika(NX, transpon(NX)), 1e-15L);
    EXPECT_LT(NajvecjaRazlika(XN, transpon(XN)), 1e-15L);
    EXPECT_GT(NajvecjiElement(X), 1e-6L);
    const M f = Nakljucna(25, 1, 79);
    const M x = s.resi(f, 1e-9L);
    EXPECT_LT(std::fabs(x(0) + x(1) - x(5)), 1e-15L);  // null vector (1, 1, 0, 0, 0, -1)
    const M r = AtB(B, f);
    EXPECT_LT(NajvecjaRazlika(AB(Nb, x), r), 1e-13L * NajvecjiElement(r));
}

TEST(Razcep, GaussJordanInverse)
{
    EXPECT_EQ(inv(Iz({{4}}))(0), 0.25L);
    const M A = Iz({{0, 2, 1}, {1, 1, 0}, {3, 0, 1}});  // needs a row exchange
    const M Ai = inv(A);
    // det = -5; adjugate by hand.
    const M pricak = Iz({{1, -2, -1}, {-1, -3, 1}, {-3, 6, -2}});
    for (unsigned long k = 0; k < 9; ++k)
        EXPECT_BLIZU(Ai(k), pricak(k) / -5.0L, 1e-18L);
    const M B = Nakljucna(30, 30, 3);
    EXPECT_LT(NajvecjaRazlika(AB(B, inv(B)), Iden(30)), 1e-15L);

    Izid r = RunChild([] { inv(Iz({{1, 2}, {2, 4}})); });
    PricakujNapako(r, "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: 0 * 10^-15 (3) [  1]",
                   "matrika/inv");
    r = RunChild([] { inv(Iz({{0}})); });
    PricakujNapako(r, "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: ", "matrika/inv");
}
