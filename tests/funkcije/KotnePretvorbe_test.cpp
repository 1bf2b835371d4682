// Angle units, packed DMS numbers and their text, and grid bearings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/SmerniKot.h"

namespace {
const double PI = 3.141592653589793;
const long double PIL = PI;  // the double constant, widened, as the conversions use it
}  // namespace

// Both instances use the double constants (pi, 10/9, 0.9), widened.
TEST(KotnePretvorbe, UnitsUseTheDoubleConstants)
{
    EXPECT_TRUE(deg2rad(180.0) == PI && gon2rad(200.0) == PI && deg2rad(180.0L) == PIL && rad2deg(PIL) == 180);
    EXPECT_TRUE(gon2deg(1.0L) == 0.9 && deg2gon(1.0L) == 1.1111111111111112 && rad2sec(PIL) == 648000);
    EXPECT_NEAR(static_cast<double>(rad2gon(PIL / 2)), 100.0, 1e-13);
}

TEST(KotnePretvorbe, PackedDmsAndItsText)
{
    const long double k = deg2rad(10.0L + 20.0L / 60 + 30.5L / 3600);
    EXPECT_NEAR(static_cast<double>(rad2dms(k)), 10.20305, 1e-14);
    EXPECT_NEAR(rad2dms(static_cast<double>(k)), 10.20305, 1e-12);
    EXPECT_EQ(dms2dms(rad2dms(k)), " 10 20 30.50");
    EXPECT_EQ(dms2dms(rad2dms(-deg2rad(10.0L + 20.0L / 60 + 30.0L / 3600))), "-10 20 30.00");
    // Under one degree the sign stands before a 0.
    for (const std::string& t : {dms2dms(-0.3L), dms2dms(-0.3), dms2dms(rad2dms(-deg2rad(0.5L)))})
        EXPECT_EQ(t, " -0 30  0.00");
    EXPECT_EQ(dms2dms(0.3L), "  0 30  0.00");
    // No rounding and no carry: a hair under 10 deg 21' keeps 20' and 60.00".
    EXPECT_EQ(dms2dms(rad2dms(deg2rad(10.0L + 21.0L / 60 - 1e-12L))), " 10 20 60.00");
    EXPECT_EQ(dms2dms(10.2075L), " 10 20 75.00");  // a wrong packed number is shown as it is
    EXPECT_EQ(dms2dms(359.5959L), "359 59 59.00");
    // Whole minutes lie a rounding error off the packed value: either side
    // prints the minute with 0.00 (never -0.00, nor 100.00), or the minute
    // before with 60.00.
    for (int deg : {0, 7, 123, 359})
        for (int m = 0; m < 60; ++m) {
            const std::string t = dms2dms(rad2dms(deg2rad(deg + m / 60.0L)));
            char nic[48], sest[48];
            std::snprintf(nic, sizeof nic, "%3d%3d  0.00", deg, m);
            std::snprintf(sest, sizeof sest, "%3d%3d 60.00", deg, m - 1);
            EXPECT_TRUE(t == nic || (m > 0 && t == sest)) << deg << " " << m << ": " << t;
        }
}

TEST(SmerniKot, QuadrantsAxesAndUnits)
{
    // From the second axis towards the first, in [0, 2 pi); differences
    // below 1e-14 count as 0.
    const long double w = static_cast<long double>(4.71238898038469);
    const struct {
        long double a2, b2, nu, tol;
    } primeri[] = {
        {1, 1, PIL / 4, 1e-15L}, {1, -1, 3 * PIL / 4, 1e-15L}, {-1, -1, 5 * PIL / 4, 1e-15L},
        {-1, 1, 7 * PIL / 4, 1e-15L}, {std::sqrt(3.0L), 1, PIL / 3, 1e-15L}, {1, 0, PIL / 2, 0}, {-1, 0, w, 0},
        {0, -1, PIL, 0}, {0, 1, 0, 0}, {0, 0, 0, 0}, {1e-15L, 1, 0, 0}, {-1e-15L, -1, PIL, 0},
        {1, 1e-15L, PIL / 2, 0}, {-1, -1e-15L, w, 0},
    };
    for (const auto& p : primeri)
        EXPECT_LE(std::fabs(SmerniKot<long double>(10, 20, 10 + p.a2, 20 + p.b2, "rad") - p.nu), p.tol)
            << p.a2 << " " << p.b2;
    EXPECT_EQ(SmerniKot<long double>(0, 0, 1, 0, "deg"), PIL / 2 * static_cast<long double>(57.29577951308232));
    EXPECT_EQ(dms2dms(SmerniKot<long double>(0, 0, 1, 1, "dms")), " 45  0  0.00");
    EXPECT_EQ(SmerniKot<long double>(0, 0, 0, -1, "gon"), PIL);  // any other unit: radians
}
