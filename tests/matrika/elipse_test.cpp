// Error ellipses and ellipsoids, and the inverses of the tridiagonal band.
#include <tuple>

#include "matrika/elipsoidpog.h"
#include "matrika/elipspog.h"
#include "matrika/inv.h"
#include "matrika/invtrid.h"
#include "razcepPomoc.h"

using namespace razceptest;

TEST(Elipse, ErrorEllipseCases)
{
    // {qxx, qyy, qxy} -> {a, b, theta}, with the tolerance of the axes and of
    // theta (0: exact).
    struct Primer {
        long double q[3], e[3], tolAB, tolT;
    };
    const long double w = std::sqrt(4.5L);
    const Primer primeri[] = {
        {{4, 1, 0}, {2, 1, 0}, 0, 0}, {{1, 4, 0}, {2, 1, 90}, 0, 1e-12L}, {{2, 2, 1}, {dsqrt(3.0L), 1, 45}, 0, 1e-12L},
        {{2, 2, -1}, {dsqrt(3.0L), 1, 135}, 0, 1e-12L},
        {{5, 2, 1.5L}, {std::sqrt(3.5L + w), std::sqrt(3.5L - w), 22.5L}, 2e-13L, 1e-12L},  // tan 2t = 3 / 3
        // One variance only: the major axis carries it. None, or negative ones: zeros.
        {{9, 0, 0}, {3, 0, 0}, 0, 0}, {{0, 9, 0}, {3, 0, 90}, 0, 0}, {{0, 0, 0}, {0, 0, 0}, 0, 0},
        {{-4, -1, 0}, {0, 0, 0}, 0, 0},
        // The border value 1e-14 counts as 0 (and is written back as 0).
        {{1e-14, 4, 5e-15L}, {2, 0, 90}, 0, 0}, {{4, 1e-14, 0}, {2, 0, 0}, 0, 0},
    };
    // The double and the long double version are the same algorithm.
    auto preveri = [&]<typename T>(T) {
        for (const Primer& p : primeri) {
            T q[3] = {T(p.q[0]), T(p.q[1]), T(p.q[2])}, r[3] = {-1, -1, -1};
            elipspog(q[0], q[1], q[2], r[0], r[1], r[2]);
            for (int k = 0; k < 3; ++k) {
                EXPECT_LE(std::fabs(r[k] - p.e[k]), k < 2 ? p.tolAB : p.tolT)
                    << sizeof(T) << ": " << p.q[0] << " " << p.q[1] << " " << p.q[2] << " #" << k;
                EXPECT_EQ(q[k], std::fabs(p.q[k]) <= 1e-14 ? 0 : T(p.q[k])) << p.q[0] << " " << p.q[1];
            }
        }
    };
    preveri(0.0);
    preveri(0.0L);
}

TEST(Elipse, ErrorEllipsoid)
{
    M S(3, 1, 5.0L), A(3, 1, 5.0L);
    elipsoidpog(M(3, 3, 0.0L), S, A);
    EXPECT_EQ(Razlika(S) + Razlika(A), 0.0L);
    M S0, A0;  // outputs without room are given it
    elipsoidpog(Iz({{1e-15L, 0, 0}, {0, 0, 0}, {0, 0, 0}}), S0, A0);
    EXPECT_TRUE(S0.size() == 3 && A0.size() == 3);

    // Axes along the coordinate axes, major along the first (horizontal, at
    // bearing 90) and middle along the third (vertical); then a block whose
    // major axis is (1, 1, 0) / sqrt 2, at bearing 45.
    const long double r = 1 / std::sqrt(2.0L);
    const M R = Iz({{r, -r, 0}, {r, r, 0}, {0, 0, 1}});
    const M D = Iz({{16, 0, 0}, {0, 1, 0}, {0, 0, 4}});
    const std::tuple<M, long double, double, long double> primeri[] = {
        {Iz({{9, 0, 0}, {0, 1, 0}, {0, 0, 4}}), 9, 90, 1e-13L}, {R * D * transpon(R), 16, 45, 1e-12L}};
    for (const auto& [Q, s0, smer, tol] : primeri) {
        elipsoidpog(Q, S, A);
        EXPECT_LT(Razlika(S, Iz({{s0}, {4}, {1}})), tol);
        EXPECT_NEAR(std::fabs(static_cast<double>(A(0))), 90.0, 1e-9);
        EXPECT_NEAR(static_cast<double>(A(1)), smer, 1e-9);
        EXPECT_NEAR(std::fabs(static_cast<double>(A(2))), 90.0, 1e-9);
    }
}

TEST(Elipse, TridiagonalInverse)
{
    // A tridiagonal matrix, its band, and the Gauss-Jordan inverse of the full form.
    const unsigned long n = 7;
    M Tf(n, n, 0.0L), T(n, 3, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        Tf(i, i) = T(i, 1) = 4 + i;
        if (i > 0) Tf(i, i - 1) = T(i, 0) = -1.0L - 0.1L * i;
        if (i + 1 < n) Tf(i, i + 1) = T(i, 2) = 0.5L + 0.2L * i;
    }
    EXPECT_LT(Razlika(invtridV(T), inv(Tf)), 1e-18L);
    // Tiny elements still count, and a tiny diagonal beside a large one is
    // no singularity (a weight of a kilometre beside a tenth of a millimetre).
    const M D = Iz({{0, 2, 1e-15L}, {0, 4, 0}});
    EXPECT_EQ(Razlika(invtridV(D), Iz({{0.5L, -1e-15L / 8}, {0, 0.25L}})), 0.0L);
    EXPECT_EQ(Razlika(invdiagR3(D), Iz({{0.5L}, {0.25L}})), 0.0L);
    EXPECT_EQ(invtridV(Iz({{0, 8, 0}}))(0), 0.125L);
}
