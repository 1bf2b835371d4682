// Decompositions, solvers and inverses: worked examples, invariants, and the
// agreement of every solution method on the same least-squares problem.
#include <tuple>

#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/lur.h"
#include "matrika/qrr.h"
#include "src/MetodaResitve.h"
#include "matrika/svdr.h"
#include "razcepPomoc.h"

using namespace razceptest;

// Square roots are taken in double precision, so a factor that holds one is
// exact to about 1e-16 relative; the tolerances allow for that.
TEST(Razcep, CholeskyWorkedExamples)
{
    chr<long double> c;
    c.razcep(Iz({{4, 2}, {2, 3}}));
    EXPECT_EQ(Razlika(c.L, Iz({{2, 0}, {1, dsqrt(2.0L)}})), 0.0L);

    // The diagonal form, from a column or the diagonal of a square matrix.
    chr<long double> d;
    d.razcep(Iz({{4}, {9}}), 1);
    EXPECT_EQ(Razlika(d.L, Iz({{2}, {3}})), 0.0L);
    EXPECT_EQ(Razlika(d.resiv(Iz({{8}, {18}})), Iz({{2}, {2}})), 0.0L);
    EXPECT_LT(Razlika(d.inv(), Iz({{0.25L, 0}, {0, 1.0L / 9}})), 1e-15L);  // the whole diagonal
    d.razcep(Iz({{16, 7}, {7, 25}}), 1);
    EXPECT_EQ(Razlika(d.L, Iz({{4}, {5}})), 0.0L);

    // A zero radicand is accepted by the decomposition, refused by the inverse.
    chr<long double> s;
    s.razcep(Iz({{1, 1}, {1, 1}}));
    EXPECT_EQ(s.L(1, 1), 0.0L);
    PricakujNapako(RunChild([&] { s.inv(); }), "Funkcija:   chr::inv\nMatrika je singularna: 0 * 10^-15 (3) [  1]",
                   "matrika/chr");
    // A negative one is written out (1 - 2^2 = -3 in row 1) and stops the run,
    // in the diagonal form too.
    for (const auto& [A, diag, koren] :
         {std::tuple{Iz({{1, 2}, {2, 1}}), 0, "-3"}, std::tuple{Iz({{4}, {-0.5L}}), 1, "-0.5"}}) {
        const Izid r = RunChild([&] { chr<long double>().razcep(A, static_cast<unsigned short>(diag)); });
        const std::string vrstica = "\n   1  KOREN: " + std::string(20 - std::string(koren).size(), ' ') + koren + "\n";
        EXPECT_TRUE(r.out.starts_with(vrstica)) << r.out;
        PricakujNapako(r, "Funkcija: chr::razcep\nMatrika mora biti pozitivno semi definitna: ", "matrika/chr");
    }
}

// Every method of the settings on one well-conditioned least-squares problem:
// the solutions and cofactor matrices agree, A'A Q = I and the normal
// equations hold.
TEST(Razcep, AllMethodsAgree)
{
    const unsigned long m = 45, n = 12;
    for (unsigned seed : {1u, 2u, 3u}) {
        const M A = Nakljucna(m, n, seed), f = Nakljucna(m, 1, seed + 100);
        const M N = transpon(A) * A, nv = transpon(A) * f, Qgj = inv(N), xgj = Qgj * nv;
        EXPECT_LT(Razlika(N * Qgj, I(n, 1.0L)), 1e-15L);
        for (const char* ime : {"CH", "LU", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"}) {
            SCOPED_TRACE(ime);
            const MetodaResitve* m = NajdiMetodo(ime);
            ASSERT_TRUE(m);
            auto metoda = m->razcep(ime, 1e-12L);
            ASSERT_TRUE(metoda);
            if (metoda->normalna()) metoda->razcep(N, nv);
            else metoda->razcep(A, f);
            const M x = metoda->resi(), Q = metoda->inv();
            EXPECT_LT(Razlika(x, xgj), 1e-14L * Razlika(xgj));
            EXPECT_LT(Razlika(Q, Qgj), 1e-14L * Razlika(Qgj));
            EXPECT_LT(Razlika(N * Q, I(n, 1.0L)), 1e-14L);
            EXPECT_LT(Razlika(transpon(A) * (f - A * x)), 1e-15L * Razlika(N));  // A'(f - A x) = 0
        }
    }
    EXPECT_FALSE(NajdiMetodo("NS")->razcep("NS", 1e-12L));
    EXPECT_FALSE(NajdiMetodo("qr"));
}

TEST(Razcep, QrMethodsSquareAndDependentColumns)
{
    // A square system is solved exactly by Householder and Givens: x = (1, 3).
    const M A = Iz({{2, 1}, {1, 3}}), f = Iz({{5}, {10}});
    qrr<long double> q;
    for (const char* ime : {"QR", "QRGIV"}) EXPECT_LT(Razlika(q.razcep(A, f, ime), Iz({{1}, {3}})), 1e-15L) << ime;
    EXPECT_TRUE(q.razcep(A, f, "QRX").empty());
    // A zero column: no undefined values, and the inverse refuses it.
    M Z = Nakljucna(6, 3, 4);
    for (unsigned long i = 0; i < 6; ++i) Z(i, 1) = 0;
    for (const char* ime : {"QR", "QRMGS", "QRGIV"}) {
        qrr<long double> qz;
        qz.razcep(Z, Nakljucna(6, 1, 7), ime);
        for (unsigned long k = 0; k < qz.R.size(); ++k) EXPECT_FALSE(std::isnan(qz.R(k))) << ime;
        PricakujNapako(RunChild([&] { qz.inv(); }), "Funkcija:   qrr::inv\nMatrika je singularna: ", "matrika/qrr");
    }
}

// The pseudo-inverse of a rank-deficient system is held by the datum H test
// of the solution.
TEST(Razcep, SvdFactorsAndThreshold)
{
    for (auto [m, n] : {std::pair{30ul, 7ul}, std::pair{7ul, 7ul}, std::pair{3ul, 5ul}, std::pair{1ul, 4ul}}) {
        SCOPED_TRACE(std::to_string(m) + "x" + std::to_string(n));
        const M A = Nakljucna(m, n, static_cast<unsigned>(m * 31 + n));
        svdr<long double> s;
        s.razcep(A);
        ASSERT_TRUE(s.U.nrow() == m && s.U.ncol() == n && s.S.nrow() == n);
        M US = s.U;
        unsigned long nicle = 0;
        for (unsigned long j = 0; j < n; ++j) {
            for (unsigned long i = 0; i < m; ++i) US(i, j) *= s.S(j);
            EXPECT_GE(s.S(j), 0.0L);
            nicle += s.S(j) < 1e-15L;
        }
        // Every rotation comes from pythag in double precision.
        EXPECT_LT(Razlika(US * transpon(s.V), A), 1e-14L);
        EXPECT_LT(Razlika(transpon(s.V) * s.V, I(n, 1.0L)), 1e-14L);
        EXPECT_GE(nicle, n > m ? n - m : 0);
        EXPECT_TRUE(m < n || Razlika(transpon(s.U) * s.U, I(n, 1.0L)) < 1e-14L);
    }

    // Threshold: 1e-13 is ignored at 1e-12, 1e-11 is used.
    svdr<long double> s;
    s.razcep(Iz({{2, 0, 0}, {0, 1e-11L, 0}, {0, 0, 1e-13L}}));
    const M x = s.resi(Iz({{1}, {1}, {1}}), 1e-12L);
    EXPECT_EQ(s.tsh, 1e-12L);
    EXPECT_LE(std::fabs(x(0) - 0.5L), 1e-16L);
    EXPECT_NEAR(static_cast<double>(x(1)), 1e11, 1e-4);
    EXPECT_EQ(x(2), 0.0L);
    EXPECT_NEAR(static_cast<double>(s.resi(Iz({{1}, {1}, {1}}), 1e-14L)(2)), 1e13, 1e-2);

    using S = svdr<long double>;
    EXPECT_TRUE(S::pythag(3, -4) == 5 && S::pythag(0, 0) == 0 && S::pythag(1e300L, 1e300L) == 1e300 * std::sqrt(2.0));
}

// The square solvers with row exchanges (normal matrices seldom need them):
// LU's solve and inverse, and Gauss-Jordan; the factors and the inverse of LU
// on larger systems are held by AllMethodsAgree.
TEST(Razcep, LuPivotingAndGaussJordanInverse)
{
    lur<long double> l;
    const M P = Iz({{0, 1}, {1, 0}});
    l.razcep(P);
    EXPECT_EQ(Razlika(l.P, P), 0.0L);
    EXPECT_EQ(Razlika(l.resiv(Iz({{3}, {7}})), Iz({{7}, {3}})), 0.0L);
    // Gauss-Jordan needs a row exchange here; det = -5, the adjugate by hand.
    M adj = Iz({{1, -2, -1}, {-1, -3, 1}, {-3, 6, -2}});
    adj *= -0.2L;
    EXPECT_LE(Razlika(inv(Iz({{0, 2, 1}, {1, 1, 0}, {3, 0, 1}})), adj), 2e-18L);
    l.razcep(Iz({{0, 2, 1}, {1, 1, 0}, {3, 0, 1}}));
    EXPECT_LE(Razlika(l.inv(), adj), 2e-18L);
    PricakujNapako(RunChild([] { inv(Iz({{1, 2}, {2, 4}})); }),
                   "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: 0 * 10^-15 (3) [  1]", "matrika/inv");
    // At the scale of 1e-20 only the relative pivot test still sees a
    // regular matrix; the singular one scaled up is still singular.
    M majhna = Iz({{0, 2, 1}, {1, 1, 0}, {3, 0, 1}}), velika = Iz({{1, 2}, {2, 4}});
    majhna *= 1e-20L;
    velika *= 1e10L;
    long pivot = -5;
    EXPECT_TRUE(inv(majhna, &pivot).empty());
    EXPECT_EQ(pivot, 0);
    EXPECT_LE(Razlika(invRelativna(majhna), adj * I(3, 1e20L)), 2e2L);
    EXPECT_TRUE(invRelativna(velika).empty());
    // Largest diagonal first: column 2, then 0; column 1 is column 0 again,
    // so its null vector (-1, 1, 0) is left in row 0 of the reduced matrix.
    M N = Iz({{1, 1, 0}, {1, 1, 0}, {0, 0, 4}});
    EXPECT_EQ(gaussJordan(N, nullptr, gjNacin{true, numerika::kRelativniPivot, 0}), (std::vector<unsigned long>{2, 0}));
    EXPECT_EQ(N(0, 1), 1.0L);
}
