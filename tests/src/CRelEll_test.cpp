// Relative error ellipses: the pair list drawn from the observations, and
// the ellipses of pairs with a fixed point checked against invariants of the
// other point's cofactor block, in a plane network and the spatial example.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
// P A repeats A P backwards; A B joins two fixed points; the observed
// coordinates of Q concern one point.
const std::string kMreza =
    "*DIM 2\n*ITER 1\n*S02 APRIORI\n*D V\n**V A\n**V B\n"
    "X A 1000 1000\nX B 2000 1000\nX P 1500.03 1799.98\nX Q 1300 400.02\n"
    "D A P 943.3981 2.0\nD B P 943.3981 2.0\nD P A 943.3982 2.0\nD A Q 670.8204 2.0\nD B Q 921.9544 2.0\n"
    "D P Q 1414.2136 2.0\nD A B 1000.0000 2.0\nC Q 1300.001 400.001 5.0 5.0\n*K\n";

// A pair of fixed points has a zero ellipse; a pair with one fixed point has
// the other point's absolute one: A^2 an eigenvalue of its covariance with
// the major axis as eigenvector, A^2 + B^2 its trace (in 3D also the squared
// semi-axes of the ellipsoid).  Returns the number of pairs checked.
int PreveriPare(const CNivex& n)
{
    const CRelEll& e = n.RelEll;
    const long dim = n.procset.GetDim(), h = dim == 2 ? 0 : 6;
    int pari = 0;
    for (long d = 0; d < static_cast<long>(e.PTS.nrow()); ++d) {
        const long k1 = n.GMM.iDeltaB(n.TO.TOCrdA.FindPoint(e.PTS(d, 0))), k2 = n.GMM.iDeltaB(n.TO.TOCrdA.FindPoint(e.PTS(d, 1)));
        if (k1 >= 0 && k2 >= 0) continue;
        ++pari;
        const long i = std::max(k1, k2);
        for (long c = 0; i < 0 && c < static_cast<long>(e.SIG.ncol()); ++c) EXPECT_EQ(e.SIG(d, c), 0.0L) << d;
        if (i < 0) continue;
        auto q = [&](int a, int b) { return static_cast<double>(n.GMMS.SoIIzracun * n.GMMS.Qxx(i + a, i + b)); };
        const double A = static_cast<double>(e.SIG(d, h)), B = static_cast<double>(e.SIG(d, h + 1));
        const double th = static_cast<double>(e.SIG(d, h + 2)) * M_PI / 180, sl = q(0, 0) + q(1, 1);
        EXPECT_NEAR(A * A + B * B, sl, 1e-9 * sl) << d;
        EXPECT_NEAR(q(0, 0) * std::cos(th) + q(0, 1) * std::sin(th), A * A * std::cos(th), 1e-9 * sl) << d;
        EXPECT_NEAR(q(1, 0) * std::cos(th) + q(1, 1) * std::sin(th), A * A * std::sin(th), 1e-9 * sl) << d;
        auto k = [&](int c) { return static_cast<double>(e.SIG(d, c) * e.SIG(d, c)); };
        if (dim == 3) { EXPECT_NEAR(k(0) + k(1) + k(2), sl + q(2, 2), 1e-9 * sl) << d; }
    }
    return pari;
}
}  // namespace

TEST(RelEll, OnePairPerConnectedPointsAndFixedPointPairs)
{
    const Izravnava iz = Izravnaj(kMreza);
    const CRelEll& e = iz.run->RelEll;
    std::string pari;
    for (unsigned long d = 0; d < e.PTS.nrow(); ++d) pari += e.PTS(d, 0) + e.PTS(d, 1) + " ";
    EXPECT_EQ(pari, "AP BP AQ BQ PQ AB ");
    for (int c = 0; c < 2; ++c)
        EXPECT_NEAR(e.OBS(0, c), (iz.tocke.at("A")[c] + iz.tocke.at("P")[c]) / 2, 1e-9L);
    EXPECT_EQ(PreveriPare(*iz.run), 5);
    // Two new points: the variance of the adjusted distance P Q (model row 7,
    // from the residual cofactors) is the relative ellipse in its direction.
    const CGMMSol& s = iz.run->GMMS;
    const double var = static_cast<double>(s.SoIIzracun * (iz.run->GMM.Qll(7, 1) - s.Qvv(7)));
    const double fi = std::atan2(iz.tocke.at("Q")[1] - iz.tocke.at("P")[1], iz.tocke.at("Q")[0] - iz.tocke.at("P")[0]);
    const double A = static_cast<double>(e.SIG(4, 0)), B = static_cast<double>(e.SIG(4, 1)),
                 t = fi - static_cast<double>(e.SIG(4, 2)) * M_PI / 180;
    EXPECT_NEAR(A * A * std::cos(t) * std::cos(t) + B * B * std::sin(t) * std::sin(t), var, 1e-7 * var);
}

TEST(RelEll, SpatialExampleEllipsoidsWithHorizontalEllipses)
{
    const Izravnava iz = Izravnaj(Primer("prostorska.dat"));
    EXPECT_GE(PreveriPare(*iz.run), 8);
    const CRelEll& e = iz.run->RelEll;
    EXPECT_NEAR(e.OBS(0, 2), (iz.tocke.at(e.PTS(0, 0))[2] + iz.tocke.at(e.PTS(0, 1))[2]) / 2, 1e-9L);
}
