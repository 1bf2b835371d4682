// Grid bearings in the four quadrants, on the axes, and the result units.
#include <gtest/gtest.h>

#include <cmath>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/SmerniKot.h"

TEST(SmerniKot, QuadrantsAxesAndUnits)
{
    const long double pi = static_cast<long double>(3.141592653589793);
    auto nu = [](long double a1, long double b1, long double a2, long double b2) {
        return SmerniKot<long double>(a1, b1, a2, b2, "rad");
    };
    // From the second axis towards the first, in [0, 2 pi).
    EXPECT_NEAR(static_cast<double>(nu(0, 0, 1, 1)), M_PI / 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(nu(0, 0, 1, -1)), 3 * M_PI / 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(nu(0, 0, -1, -1)), 5 * M_PI / 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(nu(0, 0, -1, 1)), 7 * M_PI / 4, 1e-15);
    EXPECT_NEAR(static_cast<double>(nu(10, 20, 10 + std::sqrt(3.0L), 21)), M_PI / 3, 1e-15);
    EXPECT_EQ(nu(0, 0, 1, 0), pi / 2);
    EXPECT_EQ(nu(0, 0, -1, 0), static_cast<long double>(4.71238898038469));
    EXPECT_EQ(nu(0, 0, 0, -1), pi);
    EXPECT_EQ(nu(0, 0, 0, 1), 0.0L);
    EXPECT_EQ(nu(0, 0, 0, 0), 0.0L);
    EXPECT_EQ(nu(5, 5, 5, 5), 0.0L);
    // Differences below 1e-14 count as 0.
    EXPECT_EQ(nu(0, 0, 1e-15L, 1), 0.0L);
    EXPECT_EQ(nu(0, 0, -1e-15L, -1), pi);
    EXPECT_EQ(nu(0, 0, 1, 1e-15L), pi / 2);
    EXPECT_EQ(nu(0, 0, -1, -1e-15L), static_cast<long double>(4.71238898038469));

    // Units: degrees with the fixed factor, packed DMS, anything else radians.
    EXPECT_EQ(SmerniKot<long double>(0, 0, 1, 0, "deg"), pi / 2 * static_cast<long double>(57.29577951308232));
    EXPECT_NEAR(static_cast<double>(SmerniKot<long double>(0, 0, -1, 1, "deg")), 315.0, 1e-12);
    const long double d = SmerniKot<long double>(0, 0, 1, 1, "dms");
    EXPECT_NEAR(static_cast<double>(d), 45.0, 1e-12);
    EXPECT_EQ(dms2dms(d), " 45  0  0.00");
    EXPECT_EQ(SmerniKot<long double>(0, 0, 0, -1, "gon"), pi);
    EXPECT_DOUBLE_EQ(SmerniKot<double>(0, 0, 1, -1, "rad"), 3 * M_PI / 4);
    EXPECT_EQ(SmerniKot<double>(0, 0, -1, 0, "rad"), 4.71238898038469);
}
