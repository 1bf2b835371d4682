// Equations of heights, height differences, coordinates and vectors: rows,
// misclosures and cofactors against hand values, velocity terms, the
// analysis of observation errors, the equation print and its trace; and the
// shared free functions of the builders.
#include <gtest/gtest.h>

#include "GMMEqTestMreza.h"
#include "src/FGMM.h"

namespace {

constexpr long double kTol = 1e-12L;

// Every element of B, the misclosures and, when `sigma` is given, the
// diagonal cofactors sigma^2 / So^2 without covariances.
void Preveri(const CGMM& G, const std::vector<std::vector<long double>>& B, const std::vector<long double>& f,
             const std::vector<long double>& sigma = {})
{
    ASSERT_EQ(G.Bmat.nrow(), B.size());
    ASSERT_EQ(G.fvec.nrow(), f.size());
    for (std::size_t r = 0; r < B.size(); ++r) {
        const long i = static_cast<long>(r);
        ASSERT_EQ(G.Bmat.ncol(), B[r].size());
        for (std::size_t c = 0; c < B[r].size(); ++c)
            EXPECT_EQ(G.Bmat(i, static_cast<long>(c)), B[r][c]) << "B(" << r << "," << c << ")";
        EXPECT_NEAR(G.fvec(i), f[r], kTol) << "f(" << r << ")";
        if (sigma.empty()) continue;
        EXPECT_NEAR(G.Qll(i, 1), sigma[r] * sigma[r] / (G.So * G.So), kTol) << "Qll(" << r << ")";
        EXPECT_TRUE(G.Qll(i, 0) == 0.0L && G.Qll(i, 2) == 0.0L) << "Qll(" << r << ")";
    }
}

std::unique_ptr<GMMEqTestMreza> Enacbe(const std::string& b) { return GMMMreza(b, &GMMEqTestMreza::Enacbe); }

}  // namespace

TEST(CGMMEq, LevellingVelocityTermsAndTheAnalysisOfObservationErrors)
{
    const auto m = Enacbe(kNivelman);
    for (int iteracija = 0; iteracija < 2; ++iteracija) {   // the rows are rewritten, not appended
        EXPECT_EQ(m->GMM.iRowBin, 4);
        // Heights first (C, then the fixed A: an all-zero row), then A->B and B->C.
        Preveri(m->GMM, {{0, -1}, {0, 0}, {-1, 0}, {1, -1}}, {0.005L, -0.002L, -0.010L, 0.010L},
                {0.004L, 0.003L, 0.002L, 0.001L});
        m->Enacbe();
    }

    // A: velocity 2 mm/yr without an unknown; B and C with velocity unknowns.
    // H C at deltaT 5: -1 and -5; f = 102 - 101.99 + 5 * (-0.003).
    // h A B at deltaT 10: B gets -1 and -10; f = 1 - 1.005 + 10 * (0.001 - 0.002).
    const std::string hitrosti = "*DIM 1\n*D V\n**V A\n*XVT 2000.0\n*XV0\n"
                                 "X A 100 0.002 0\nX B 101 0.001 1\nX C 102 -0.003 1\n"
                                 "h A B 1.005 1.0 2010.0\nH C 101.990 2.0 2005.0\n";
    const std::vector<std::vector<long double>> B = {{0, -1, 0, -5}, {-1, 0, -10, 0}};
    Preveri(Enacbe(hitrosti)->GMM, B, {-0.005L, -0.015L});
    // Without the computed part f = -l; the velocity term stays, and without
    // velocities deltaT plays no part.
    Preveri(Enacbe("*OBSRES\n" + hitrosti)->GMM, B, {-101.990L - 0.015L, -1.005L - 0.010L});
    Preveri(Enacbe("*OBSRES\n" + kNivelman)->GMM, {{0, -1}, {0, 0}, {-1, 0}, {1, -1}},
            {-102.495L, -100.002L, -1.010L, -1.490L});
}

TEST(CGMMEq, CoordinatesVectorsAndHeightsInSpaceAndPlane)
{
    const auto m = Enacbe("*DIM 3\n*D V\n**V P1\n"
                          "X P1 1000 2000 300\nX P2 1100 2050 310\nX P3 1050 2150 305\n"
                          "H P2 310.004 2\n"
                          "h P2 P3 -5.010 1\n"
                          "C P3 1050.010 2149.980 305.000 5 6 7\n"
                          "V P1 P2 100.003 49.996 10.001 3 3 4\n"
                          "V P2 P3 -50.002 100.001 -4.998 3 3 4\n");
    EXPECT_EQ(m->GMM.iRowBin, 11);
    // sigma0 = (2 + 1 + 3 * 6 + 6 * 10/3) mm / 11
    EXPECT_NEAR(m->GMM.So, 41.0L / 11.0L / 1000.0L, kTol);
    // Columns: P2 0..2, P3 3..5; heights in the third coordinate.
    Preveri(m->GMM,
            {{0, 0, -1, 0, 0, 0}, {0, 0, 1, 0, 0, -1}, {0, 0, 0, -1, 0, 0}, {0, 0, 0, 0, -1, 0}, {0, 0, 0, 0, 0, -1},
             {-1, 0, 0, 0, 0, 0}, {0, -1, 0, 0, 0, 0}, {0, 0, -1, 0, 0, 0}, {1, 0, 0, -1, 0, 0}, {0, 1, 0, 0, -1, 0},
             {0, 0, 1, 0, 0, -1}},
            {-0.004L, 0.010L, -0.010L, 0.020L, 0.0L, -0.003L, 0.004L, -0.001L, 0.002L, -0.001L, -0.002L},
            {0.002L, 0.001L, 0.005L, 0.006L, 0.007L, 0.003L, 0.003L, 0.004L, 0.003L, 0.003L, 0.004L});
}

TEST(CGMMEq, VelocityColumnsOfCoordinatesAndVectors)
{
    const auto m = Enacbe("*DIM 2\n*D V\n**V A\n*XVT 2000\nX A 0 0 0\nX B 100 0 1\n"
                          "C B 100.01 -0.02 10 10 2001\nV A B 100.004 0.003 5 5 2002\n");
    Preveri(m->GMM, {{-1, 0, -1, 0}, {0, -1, 0, -1}, {-1, 0, -2, 0}, {0, -1, 0, -2}},
            {-0.01L, 0.02L, -0.004L, -0.003L});
}
