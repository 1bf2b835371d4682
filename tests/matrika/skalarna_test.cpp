// Inner products on long doubles held as pairs of doubles: the pair gives
// the long double back exactly where it can, says so where it cannot, and
// every product over pairs is bit for bit the one over long doubles.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrika/skalarna.h"

TEST(Skalarna, PairsHoldTheLongDouble)
{
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(-1, 1);
    std::uniform_int_distribution<int> e(-1000, 1000);
    dvojna d{};
    for (int k = 0; k < 2000; ++k) {
        // A full 64-bit mantissa: not a double.
        const real x = std::ldexp(static_cast<real>(u(gen)) + static_cast<real>(u(gen)) * 0x1p-40L, e(gen));
        ASSERT_TRUE(razcepi(x, d)) << static_cast<double>(x);
        ASSERT_EQ(vrednost(d), x);
        ASSERT_NE(static_cast<real>(d.v), x);
    }
    for (real x : {0.0L, -0.0L, 1.0L, -LDBL_EPSILON, static_cast<real>(DBL_MAX),
                   std::numeric_limits<real>::infinity(), -std::numeric_limits<real>::infinity(), 0x1p-1000L + 0x1p-1063L}) {
        EXPECT_TRUE(razcepi(x, d)) << static_cast<double>(x);
        EXPECT_EQ(vrednost(d), x);
    }
    EXPECT_TRUE(razcepi(std::numeric_limits<real>::quiet_NaN(), d));
    EXPECT_TRUE(std::isnan(vrednost(d)));
    // Beyond double's range, or with the low bits below it: no exact pair.
    for (real x : {1e4000L, -1e309L, 0x1p-1020L + 0x1p-1083L, 1e-4000L}) EXPECT_FALSE(razcepi(x, d)) << static_cast<double>(x);
}

TEST(Skalarna, ProductsOverPairsAreTheProductsOverLongDoubles)
{
    std::mt19937 gen(9);
    std::uniform_real_distribution<double> u(-1, 1);
    std::uniform_int_distribution<int> e(-30, 30);
    for (long n : {0L, 1L, 2L, 3L, 7L, 16L, 37L, 200L}) {
        std::vector<real> x[4];
        std::vector<dvojna> p[4];
        for (int v = 0; v < 4; ++v)
            for (long i = 0; i < n; ++i) {
                const real a = std::ldexp(static_cast<real>(u(gen)) + static_cast<real>(u(gen)) * 0x1p-45L, e(gen));
                x[v].push_back(a);
                p[v].emplace_back();
                ASSERT_TRUE(razcepi(a, p[v].back()));
            }
        // The reference: the sums as written, in the order of i.
        real s[4] = {0, 0, 0, 0};
        for (long i = 0; i < n; ++i) {
            s[0] += x[0][i] * x[2][i];
            s[1] += x[0][i] * x[3][i];
            s[2] += x[1][i] * x[2][i];
            s[3] += x[1][i] * x[3][i];
        }
        real r[4], q[4];
        skalarna::Skalarna22(x[0].data(), x[1].data(), x[2].data(), x[3].data(), n, r[0], r[1], r[2], r[3]);
        skalarna::Skalarna22(p[0].data(), p[1].data(), p[2].data(), p[3].data(), n, q[0], q[1], q[2], q[3]);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(r[k], s[k]) << n << " " << k;
            EXPECT_EQ(q[k], s[k]) << n << " " << k;
        }
        skalarna::Skalarna2(p[0].data(), p[2].data(), p[3].data(), n, q[0], q[1]);
        EXPECT_EQ(q[0], s[0]);
        EXPECT_EQ(q[1], s[1]);
        EXPECT_EQ(skalarna::Skalarna(p[1].data(), p[3].data(), n), s[3]);
        EXPECT_EQ(skalarna::Skalarna(x[1].data(), x[3].data(), n), s[3]);
    }
}
