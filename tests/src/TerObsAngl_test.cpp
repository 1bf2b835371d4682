// Composed angles from directions: stations with one, two and three
// directions, the angle index per direction, the correlations between
// neighbouring angles and their count.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "src/CTerObsAngl.h"
#include "src/CTerObsDir.h"
#include "src/FBranje.h"

namespace {
constexpr long double RO = 206264.80624709636L;   // arc seconds per radian

void Smeri(CTerObsDir& d, const std::string& text, unsigned short xvel = 0)
{
    long n = 0;
    for (char c : text) n += c == '\n';
    d.SetPar(static_cast<unsigned long>(n), xvel, "DEG", "DIR");
    std::istringstream in(text);
    std::string w;
    for (long i = 0; i < n; ++i) {
        BeriBesedo(in, w);
        d.ReadObs(in, i);
        PreskociVrstico(in);
    }
}
}  // namespace

TEST(TerObsAngl, StationsWithThreeTwoAndOneDirections)
{
    // A: B, C, D (sigma 1", 2", 3"); E: F, G (4", 5"); H: I alone.
    CTerObsDir d;
    Smeri(d, "S A B 10 1\nS A C 40 2\nS A D 100 3\nS E F 350 4\nS E G 10 5\nS H I 5 1\n");
    for (unsigned short kor : {1, 0}) {
        SCOPED_TRACE(kor);
        CTerObsAngl a(d);
        EXPECT_EQ(CTerObsAngl::CountAngle(d), 3u);
        a.SetPar(kor);
        ASSERT_EQ(a.NObs(), 3u);
        const long ind[] = {-1, 0, 1, -1, 2, -1};
        for (long j = 0; j < 6; ++j) EXPECT_EQ(a.GetIndAng(j), ind[j]) << j;

        EXPECT_EQ(a.GetPTS(0, 0), "A");
        EXPECT_EQ(a.GetPTS(0, 1), "B");
        EXPECT_EQ(a.GetPTS(0, 2), "C");
        EXPECT_EQ(a.GetPTS(1, 1), "C");
        EXPECT_EQ(a.GetPTS(1, 2), "D");
        EXPECT_EQ(a.GetPTS(2, 0), "E");
        // Later minus earlier, not reduced: 10 - 350 deg = -340 deg.
        EXPECT_NEAR(static_cast<double>(a.GetOBS(0, 0)), 30.0 * 3600 / RO, 1e-15);
        EXPECT_NEAR(static_cast<double>(a.GetOBS(1, 0)), 60.0 * 3600 / RO, 1e-15);
        EXPECT_NEAR(static_cast<double>(a.GetOBS(2, 0)), -340.0 * 3600 / RO, 1e-14);
        // sqrt(1 + 4)", sqrt(4 + 9)", sqrt(16 + 25)".
        EXPECT_NEAR(static_cast<double>(a.GetSIG(0, 0) * RO), std::sqrt(5.0), 1e-12);
        EXPECT_NEAR(static_cast<double>(a.GetSIG(1, 0) * RO), std::sqrt(13.0), 1e-12);
        EXPECT_NEAR(static_cast<double>(a.GetSIG(2, 0) * RO), std::sqrt(41.0), 1e-12);
        // Angles 0 and 1 share A->C (2"); nothing else is shared.
        EXPECT_EQ(a.GetNumCorr(), kor);
        EXPECT_NEAR(static_cast<double>(a.GetSIG(0, 1) * RO), kor * 2.0, 1e-12);
        EXPECT_EQ(a.GetSIG(1, 1), 0.0L);
        EXPECT_EQ(a.GetSIG(2, 1), 0.0L);
        EXPECT_EQ(a.GetCorrAng(), kor);
        a.CalcRefStDApr();
        EXPECT_NEAR(static_cast<double>(a.GetSo() * RO),
                    (std::sqrt(5.0) + std::sqrt(13.0) + std::sqrt(41.0) + kor * 2.0) / 6, 1e-12);
    }
}

TEST(TerObsAngl, EpochsOfBothDirectionsAndFourDirectionsAtAStation)
{
    CTerObsDir d;
    d.SetPar(4, 1, "DEG", "DIR");
    std::istringstream in("S A B 0 1 2001\nS A C 10 1 2002\nS A D 20 2 2003\nS A E 30 1 2004\n");
    std::string w;
    for (long i = 0; i < 4; ++i) { BeriBesedo(in, w); d.ReadObs(in, i); PreskociVrstico(in); }
    CTerObsAngl a(d);
    a.SetPar(1);
    ASSERT_EQ(a.NObs(), 3u);
    EXPECT_EQ(a.GetT(1, 0), 2002.0L);
    EXPECT_EQ(a.GetT(1, 1), 2003.0L);
    // Three angles in a chain: two correlated pairs, through A->C and A->D.
    EXPECT_EQ(a.GetNumCorr(), 2u);
    EXPECT_NEAR(static_cast<double>(a.GetSIG(0, 1) * RO), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.GetSIG(1, 1) * RO), 2.0, 1e-12);
    EXPECT_EQ(a.GetSIG(2, 1), 0.0L);
}

TEST(TerObsAngl, NoSharedDirectionNoCorrelation)
{
    // Station A comes back after a lone direction at E: the angles B-C and
    // D-G of A share no direction and must not be correlated.
    CTerObsDir d;
    Smeri(d, "S A B 0 1\nS A C 10 1\nS E F 0 1\nS A D 20 1\nS A G 30 1\n");
    CTerObsAngl a(d);
    a.SetPar(1);
    ASSERT_EQ(a.NObs(), 2u);
    const long ind[] = {-1, 0, -1, -1, 1};
    for (long j = 0; j < 5; ++j) EXPECT_EQ(a.GetIndAng(j), ind[j]) << j;
    EXPECT_EQ(a.GetNumCorr(), 0u);
    EXPECT_EQ(a.GetSIG(0, 1), 0.0L);

    // A single direction, or none, gives no angle.
    CTerObsDir ena;
    Smeri(ena, "S A B 0 1\n");
    CTerObsAngl b(ena);
    b.SetPar(1);
    EXPECT_EQ(b.NObs(), 0u);
    EXPECT_EQ(b.GetIndAng(0), -1);
    CTerObsDir nic;
    CTerObsAngl c(nic);
    c.SetPar(1);
    EXPECT_EQ(c.NObs(), 0u);
    EXPECT_EQ(CTerObsAngl::CountAngle(nic), 0u);
}
