// Composed angles from directions: stations with three, one and two
// directions, the angle index per direction, the correlations between
// neighbouring angles and their count.
#include <gtest/gtest.h>

#include <cmath>

#include "TerObsTestUtil.h"

TEST(TerObsAngl, StationsWithThreeOneAndTwoDirections)
{
    // A: B, C, D; H: I alone; A again: J, K; E: F, G.  Sigmas in arc seconds,
    // epochs 1 to 8.  A's second run shares no direction with its first, so
    // its angle is not correlated with A's earlier angles.
    const auto d = Nov<CTerObsDir>(8, 1, "DEG", "DIR");
    Beri(*d, "S A B 10 1 1\nS A C 40 2 2\nS A D 100 3 3\nS H I 5 1 4\n"
             "S A J 0 1 5\nS A K 20 2 6\nS E F 350 4 7\nS E G 10 5 8\n");
    EXPECT_EQ(CTerObsAngl::CountAngle(*d), 4u);
    for (unsigned short kor : {1, 0}) {
        SCOPED_TRACE(kor);
        CTerObsAngl a(*d);
        a.SetPar(kor);
        ASSERT_EQ(a.NObs(), 4u);
        const long ind[] = {-1, 0, 1, -1, -1, 2, -1, 3};
        for (long j = 0; j < 8; ++j) EXPECT_EQ(a.GetIndAng(j), ind[j]) << j;
        const char* tocke[] = {"ABC", "ACD", "AJK", "EFG"};
        // Later minus earlier, not reduced: 10 - 350 deg = -340 deg.
        const double koti[] = {30, 60, 20, -340};
        // sqrt(1 + 4)", sqrt(4 + 9)", sqrt(1 + 4)", sqrt(16 + 25)".
        const double sig[] = {std::sqrt(5.0), std::sqrt(13.0), std::sqrt(5.0), std::sqrt(41.0)};
        for (long k = 0; k < 4; ++k) {
            for (long c = 0; c < 3; ++c) EXPECT_EQ(a.GetPTS(k, c), std::string(1, tocke[k][c]));
            EXPECT_NEAR(static_cast<double>(a.GetOBS(k, 0) * RO), koti[k] * 3600, 1e-9);
            EXPECT_NEAR(static_cast<double>(a.GetSIG(k, 0) * RO), sig[k], 1e-12);
            EXPECT_EQ(a.GetT(k, 1) - a.GetT(k, 0), 1.0L);
        }
        EXPECT_EQ(a.GetT(2, 0), 5.0L);
        // Only angles 0 and 1 share a direction, A->C (2").
        EXPECT_EQ(a.GetNumCorr(), kor);
        EXPECT_NEAR(static_cast<double>(a.GetSIG(0, 1) * RO), kor * 2.0, 1e-12);
        for (long k = 1; k < 4; ++k) EXPECT_EQ(a.GetSIG(k, 1), 0.0L) << k;
        a.CalcRefStDApr();
        EXPECT_NEAR(static_cast<double>(a.GetSo() * RO),
                    (2 * std::sqrt(5.0) + std::sqrt(13.0) + std::sqrt(41.0) + kor * 2.0) / 8, 1e-12);
    }

    // No directions: no angle.
    CTerObsDir nic;
    CTerObsAngl c(nic);
    c.SetPar(1);
    EXPECT_EQ(c.NObs(), 0u);
    EXPECT_EQ(CTerObsAngl::CountAngle(nic), 0u);
}
