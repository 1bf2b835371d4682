// Loop misclosures before the adjustment: the loops of height differences
// and of vectors against loops summed here by hand, the covariance of a
// vector loop with a block of two correlated baselines, and a blunder in one
// height difference of the levelling example named by its two loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "funkcije/NormPor.h"

namespace {
using R = long double;

const RezZankeVrste& Vrsta(const Izravnava& iz, TerObsSet s)
{
    for (const RezZankeVrste& v : iz.run->rez.zanke.vrste)
        if (v.vrsta == s) return v;
    ADD_FAILURE() << "no loops of the kind";
    static const RezZankeVrste prazna;
    return prazna;
}

bool ImaVrstico(const RezZanka& z, long vrstica)
{
    return std::find(z.vrstice.begin(), z.vrstice.end(), vrstica) != z.vrstice.end();
}
}  // namespace

// Lines: 8 A-B, 9 B-C, 10 C-A, 11 C-D, 12 D-B, 13 A-B again.
TEST(Zanke, HeightLoopsAgainstHandSums)
{
    const std::string data = "*DIM 1\n*D V\n**V A\nX A 100\nX B 101\nX C 103\nX D 103.5\n"
                             "h A B 1.000 1.0\nh B C 2.000 2.0\nh C A -2.995 2.0\nh C D 0.500 1.0\n"
                             "h D B -2.504 1.5\nh A B 1.003 1.0\n*K\n";
    const Izravnava iz = Izravnaj(data);
    const RezZankeVrste& v = Vrsta(iz, kTOHdif);
    // 6 records, 4 points: 3 independent loops.
    ASSERT_EQ(v.stevilo, 3u);
    ASSERT_EQ(v.zanke.size(), 3u);
    const R z = NormPorInvF(0.975L);
    struct Roka {
        std::vector<long> vrstice;
        R w, s;   // mm
    };
    // In the order the forest from A meets them: A-B (the second record)
    // back along the first; B-C-A-B; C-D-B-C.
    const Roka roka[] = {{{13, 8}, 1.003L - 1.000L, std::sqrt(2.0L)},
                         {{9, 10, 8}, 2.000L - 2.995L + 1.000L, std::sqrt(4.0L + 4.0L + 1.0L)},
                         {{11, 12, 9}, 0.500L - 2.504L + 2.000L, std::sqrt(1.0L + 2.25L + 4.0L)}};
    for (std::size_t k = 0; k < 3; ++k) {
        const RezZanka& l = v.zanke[k];
        SCOPED_TRACE(k);
        EXPECT_EQ(l.vrstice, roka[k].vrstice);
        EXPECT_NEAR(l.w[0] * 1000.0L, roka[k].w * 1000.0L, 1e-9L);
        EXPECT_NEAR(l.sw[0] * 1000.0L, roka[k].s, 1e-9L);
        EXPECT_EQ(l.presezena, std::fabs(roka[k].w * 1000.0L) > z * roka[k].s);
    }
    // Only the first (3 mm against 1.96 * 1.41 mm) is over its allowed value.
    EXPECT_EQ(v.presezenih, 1u);
    EXPECT_TRUE(v.zanke[0].presezena);
    const auto& opozorila = iz.run->kontekst.opozorila;
    ASSERT_EQ(opozorila.size(), 1u);
    EXPECT_NE(opozorila[0].besedilo.find("(vrstice 13, 8)"), std::string::npos) << opozorila[0].besedilo;
    EXPECT_EQ(opozorila[0].vrstica, 13);
    EXPECT_NE(iz.report.find("      1     2      3.00      1.41      2.77 * 13 8\n"), std::string::npos);
}

// 20 mm in N2-N6 (line 49) of the levelling example: exactly the two loops
// through it go over their allowed value, and the warnings name them.
TEST(Zanke, BlunderNamedByItsTwoLoops)
{
    std::string data = Primer("nivelman.dat");
    const std::string prej = "h  N2     N6        -4.14632", potem = "h  N2     N6        -4.12632";
    ASSERT_NE(data.find(prej), std::string::npos);
    const Izravnava cista = Izravnaj(data);
    EXPECT_EQ(Vrsta(cista, kTOHdif).presezenih, 0u);
    data.replace(data.find(prej), prej.size(), potem);
    const Izravnava iz = Izravnaj(data);
    const RezZankeVrste& v = Vrsta(iz, kTOHdif);
    EXPECT_EQ(v.stevilo, 5u);
    ASSERT_EQ(v.presezenih, 2u);
    long skozi = 0;
    for (const RezZanka& z : v.zanke) {
        EXPECT_EQ(z.presezena, ImaVrstico(z, 49));
        skozi += ImaVrstico(z, 49);
    }
    EXPECT_EQ(skozi, 2);
    const auto& opozorila = iz.run->kontekst.opozorila;
    ASSERT_EQ(opozorila.size(), 2u);
    for (const NivexOpozorilo& o : opozorila) EXPECT_NE(o.besedilo.find("49"), std::string::npos) << o.besedilo;
}

// A vector loop B-C, C-A, A-B with A-B and A-C in one block: its covariance
// holds the cross terms of the block with the sign of the traversal.
TEST(Zanke, VectorLoopWithCovarianceBlock)
{
    const R ab[3] = {100.010L, 0.002L, -0.004L}, ac[3] = {0.003L, 100.004L, 0.001L}, bc[3] = {-100.000L, 100.000L, 0.022L};
    const R sbc[3] = {3e-3L, 3e-3L, 4e-3L};
    // The 6 x 6 covariance of A-B and A-C (m^2).
    R Q[6][6] = {{4, 1, -0.5, 1.5, 0.3, 0}, {0, 4, 1.2, 0, 1, 0}, {0, 0, 9, 0, 0, 2},
                 {0, 0, 0, 4, 0.8, 0},      {0, 0, 0, 0, 4, -1},  {0, 0, 0, 0, 0, 9}};
    std::string q;
    for (int i = 0; i < 6; ++i)
        for (int j = i; j < 6; ++j) {
            q.append(" ").append(std::to_string(static_cast<double>(Q[i][j]))).append("e-6");
            Q[i][j] *= 1e-6L;
            Q[j][i] = Q[i][j];
        }
    const std::string data = "*DIM 3\n*D P\nX A 0 0 0\nX B 100 0 0\nX C 0 100 0\nC A 0 0 0 3 3 3\n"
                             "V A B 100.010 0.002 -0.004 2 2 3\nV A C 0.003 100.004 0.001 2 2 3\nQ 2 V A B V A C" +
                             q + "\nV B C -100.000 100.000 0.022 3 3 4\n*K\n";
    const Izravnava iz = Izravnaj(data);
    const RezZankeVrste& v = Vrsta(iz, kTOVec);
    ASSERT_EQ(v.stevilo, 1u);
    const RezZanka& l = v.zanke.at(0);
    EXPECT_EQ(l.vrstice, (std::vector<long>{10, 8, 7}));
    // w = BC - AC + AB; Q_w = Q_BC + Q_AC + Q_AB - Q_AC,AB - Q_AB,AC.
    R w[3], C[3][3];
    for (int i = 0; i < 3; ++i) {
        w[i] = bc[i] - ac[i] + ab[i];
        for (int j = 0; j < 3; ++j)
            C[i][j] = (i == j ? sbc[i] * sbc[i] : 0.0L) + Q[3 + i][3 + j] + Q[i][j] - Q[3 + i][j] - Q[i][3 + j];
    }
    // T = w' C^-1 w by the adjugate.
    const R det = C[0][0] * (C[1][1] * C[2][2] - C[1][2] * C[2][1]) - C[0][1] * (C[1][0] * C[2][2] - C[1][2] * C[2][0]) +
                  C[0][2] * (C[1][0] * C[2][1] - C[1][1] * C[2][0]);
    R T = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            T += w[i] * (C[a][c] * C[b][d] - C[a][d] * C[b][c]) / det * w[j];
        }
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(l.w[static_cast<std::size_t>(i)], w[i], 1e-12L);
        EXPECT_NEAR(l.sw[static_cast<std::size_t>(i)], std::sqrt(C[i][i]), 1e-12L);
    }
    EXPECT_NEAR(l.T, T, 1e-9L * T);
    // 17 mm in height against 5.5 mm: over the chi-square(3) limit 7.815.
    EXPECT_GT(T, 7.815L);
    EXPECT_TRUE(l.presezena);
}
