// Error ellipses and ellipsoids, and the inverses of the tridiagonal band.
#include <gtest/gtest.h>

#include <cmath>

#include "matrika/elipsoidpog.h"
#include "matrika/elipspog.h"
#include "matrika/inv.h"
#include "matrika/invtrid.h"
#include "matrika/transpon.h"
#include "razcepPomoc.h"

using namespace razceptest;

namespace {
struct Elipsa {
    long double a, b, theta;
};

Elipsa El(long double qxx, long double qyy, long double qxy)
{
    Elipsa e{};
    elipspog(qxx, qyy, qxy, e.a, e.b, e.theta);
    return e;
}
}  // namespace

TEST(Elipse, ErrorEllipseCases)
{
    Elipsa e = El(4, 1, 0);
    EXPECT_EQ(e.a, 2.0L);
    EXPECT_EQ(e.b, 1.0L);
    EXPECT_EQ(e.theta, 0.0L);
    e = El(1, 4, 0);
    EXPECT_EQ(e.a, 2.0L);
    EXPECT_EQ(e.b, 1.0L);
    EXPECT_NEAR(static_cast<double>(e.theta), 90.0, 1e-12);
    e = El(2, 2, 1);
    EXPECT_EQ(e.a, dsqrt(3.0L));
    EXPECT_EQ(e.b, 1.0L);
    EXPECT_NEAR(static_cast<double>(e.theta), 45.0, 1e-12);
    // The other diagonal, and a general block against its eigen-decomposition.
    e = El(2, 2, -1);
    EXPECT_NEAR(static_cast<double>(e.theta), 135.0, 1e-12);
    e = El(5, 2, 1.5L);  // tan 2t = 3 / 3
    EXPECT_NEAR(static_cast<double>(e.theta), 22.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(e.a * e.a), 3.5 + std::sqrt(4.5), 1e-12);
    EXPECT_NEAR(static_cast<double>(e.b * e.b), 3.5 - std::sqrt(4.5), 1e-12);

    // Degenerate blocks: one variance only; the major axis carries it.
    e = El(9, 0, 0);
    EXPECT_EQ(e.a, 3.0L);
    EXPECT_EQ(e.b, 0.0L);
    EXPECT_EQ(e.theta, 0.0L);
    e = El(0, 9, 0);
    EXPECT_EQ(e.a, 3.0L);
    EXPECT_EQ(e.b, 0.0L);
    EXPECT_EQ(e.theta, 90.0L);
    e = El(0, 0, 0);
    EXPECT_EQ(e.a + e.b + e.theta, 0.0L);
    e = El(-4, -1, 0);  // negative variances count as none
    EXPECT_EQ(e.a + e.b + e.theta, 0.0L);

    // The border value 1e-14 counts as 0 and is written back as 0.
    long double qxx = 1e-14, qyy = 4, qxy = 5e-15L, a = -1, b = -1, t = -1;
    elipspog(qxx, qyy, qxy, a, b, t);
    EXPECT_EQ(qxx, 0.0L);
    EXPECT_EQ(qxy, 0.0L);
    EXPECT_EQ(a, 2.0L);
    EXPECT_EQ(b, 0.0L);
    EXPECT_EQ(t, 90.0L);
    double dx = 4, dy = 1e-14, dxy = 0, da = -1, db = -1, dt = -1;
    elipspog(dx, dy, dxy, da, db, dt);
    EXPECT_EQ(dy, 0.0);
    EXPECT_EQ(da, 2.0);
    EXPECT_EQ(db, 0.0);
    EXPECT_EQ(dt, 0.0);
    dx = 2; dy = 2; dxy = 1;
    elipspog(dx, dy, dxy, da, db, dt);
    EXPECT_EQ(da, std::sqrt(3.0));
    EXPECT_DOUBLE_EQ(dt, 45.0);
}

TEST(Elipse, ErrorEllipsoid)
{
    M S(3, 1, 5.0L), A(3, 1, 5.0L);
    elipsoidpog(M(3, 3, 0.0L), S, A);
    for (unsigned long k = 0; k < 3; ++k) {
        EXPECT_EQ(S(k), 0.0L);
        EXPECT_EQ(A(k), 0.0L);
    }
    M S0, A0;  // outputs without room are given it
    elipsoidpog(Iz({{1e-15L, 0, 0}, {0, 0, 0}, {0, 0, 0}}), S0, A0);
    EXPECT_EQ(S0.size(), 3u);
    EXPECT_EQ(A0.size(), 3u);

    // Axes along the coordinate axes: major along the first, middle the third.
    elipsoidpog(Iz({{9, 0, 0}, {0, 1, 0}, {0, 0, 4}}), S, A);
    EXPECT_NEAR(static_cast<double>(S(0)), 9.0, 1e-13);
    EXPECT_NEAR(static_cast<double>(S(1)), 4.0, 1e-13);
    EXPECT_NEAR(static_cast<double>(S(2)), 1.0, 1e-13);
    EXPECT_NEAR(std::fabs(static_cast<double>(A(0))), 90.0, 1e-9);  // horizontal major axis
    EXPECT_NEAR(static_cast<double>(A(1)), 90.0, 1e-9);  // bearing of the first axis
    EXPECT_NEAR(std::fabs(static_cast<double>(A(2))), 90.0, 1e-9);  // vertical middle axis

    // A rotated block: major axis in direction (1, 1, 0) / sqrt 2, bearing 45.
    const long double r = 1 / std::sqrt(2.0L);
    const M R = Iz({{r, -r, 0}, {r, r, 0}, {0, 0, 1}});
    M D(3, 3, 0.0L);
    D(0, 0) = 16; D(1, 1) = 1; D(2, 2) = 4;
    const M Q = AB(AB(R, D), transpon(R));
    elipsoidpog(Q, S, A);
    EXPECT_NEAR(static_cast<double>(S(0)), 16.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(S(1)), 4.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(S(2)), 1.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(A(1)), 45.0, 1e-9);
    EXPECT_NEAR(std::fabs(static_cast<double>(A(0))), 90.0, 1e-9);
}

TEST(Elipse, TridiagonalInverse)
{
    // A tridiagonal matrix, its band and the Gauss-Jordan inverse of the full form.
    const unsigned long n = 7;
    M Tf(n, n, 0.0L), T(n, 3, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        Tf(i, i) = T(i, 1) = 4 + i;
        if (i > 0) Tf(i, i - 1) = T(i, 0) = -1.0L - 0.1L * i;
        if (i + 1 < n) Tf(i, i + 1) = T(i, 2) = 0.5L + 0.2L * i;
    }
    const M Ti = invtridV(T);
    EXPECT_LT(NajvecjaRazlika(Ti, inv(Tf)), 1e-18L);
    EXPECT_LT(NajvecjaRazlika(AB(Tf, Ti), Iden(n)), 1e-17L);
    // A diagonal band; elements below 1e-14 are not eliminated.
    const M D = Iz({{0, 2, 1e-15L}, {0, 4, 0}});
    const M Di = invtridV(D);
    EXPECT_EQ(Di(0, 0), 0.5L);
    EXPECT_EQ(Di(0, 1), 0.0L);
    EXPECT_EQ(Di(1, 1), 0.25L);
    const M d = invdiagR3(D);
    EXPECT_EQ(d.ncol(), 1u);
    EXPECT_EQ(d(0), 0.5L);
    EXPECT_EQ(d(1), 0.25L);
    EXPECT_EQ(invtridV(Iz({{0, 8, 0}}))(0), 0.125L);
}
