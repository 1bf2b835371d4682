// Angle units: conversions of known angles, packed DMS numbers and their text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "funkcije/KotnePretvorbe.h"

namespace {
const double PI = 3.141592653589793;
const long double PIL = static_cast<long double>(PI);  // the double constant, widened
}  // namespace

TEST(KotnePretvorbe, UnitsOfKnownAngles)
{
    // Double instances: exact where the constants make it exact.
    EXPECT_EQ(deg2rad(180.0), PI);
    EXPECT_EQ(rad2deg(PI), 180.0);
    EXPECT_EQ(gon2rad(200.0), PI);
    EXPECT_EQ(gon2deg(100.0), 90.0);
    EXPECT_NEAR(deg2gon(90.0), 100.0, 1e-13);
    EXPECT_NEAR(rad2gon(PI / 2), 100.0, 1e-13);
    EXPECT_NEAR(rad2sec(deg2rad(1.0)), 3600.0, 1e-10);
    EXPECT_NEAR(deg2rad(57.29577951308232), 1.0, 1e-15);

    // Long double instances use the same (widened) double constants.
    EXPECT_EQ(deg2rad(180.0L), PIL);
    EXPECT_EQ(deg2rad(90.0L), PIL / 2);
    EXPECT_EQ(rad2deg(PIL), 180.0L);
    EXPECT_EQ(gon2deg(1.0L), static_cast<long double>(0.9));  // not 0.9L
    EXPECT_EQ(deg2gon(1.0L), static_cast<long double>(1.1111111111111112));
    EXPECT_NEAR(static_cast<double>(gon2rad(200.0L)), PI, 1e-16);
    EXPECT_NEAR(static_cast<double>(rad2gon(PIL)), 200.0, 1e-13);
    EXPECT_EQ(rad2sec(PIL), 648000.0L);
    EXPECT_NEAR(static_cast<double>(rad2sec(deg2rad(1.0L / 3600))), 1.0, 1e-15);
}

TEST(KotnePretvorbe, PackedDmsAndItsText)
{
    // 10 deg 20' 30.5" = 10.20305
    const long double k = deg2rad(10.0L + 20.0L / 60 + 30.5L / 3600);
    EXPECT_NEAR(static_cast<double>(rad2dms(k)), 10.20305, 1e-14);
    EXPECT_EQ(dms2dms(rad2dms(k)), " 10 20 30.50");
    EXPECT_NEAR(rad2dms(deg2rad(10.0 + 20.0 / 60 + 30.5 / 3600)), 10.20305, 1e-12);

    // Negative angles: the negated packed value, the degrees with their sign.
    const long double n = -deg2rad(10.0L + 20.0L / 60 + 30.0L / 3600);
    EXPECT_NEAR(static_cast<double>(rad2dms(n)), -10.2030, 1e-14);
    EXPECT_EQ(dms2dms(rad2dms(n)), "-10 20 30.00");
    // Under one degree the sign stands before a 0.
    EXPECT_EQ(dms2dms(-0.3L), " -0 30  0.00");
    EXPECT_EQ(dms2dms(-0.3), " -0 30  0.00");
    EXPECT_EQ(dms2dms(rad2dms(-deg2rad(0.5L))), " -0 30  0.00");
    EXPECT_EQ(dms2dms(0.3L), "  0 30  0.00");

    // No rounding and no carry: a hair under 10 deg 21' keeps 20' and 60.00".
    const long double tik = rad2dms(deg2rad(10.0L + 21.0L / 60 - 1e-12L));
    EXPECT_LT(tik, 10.21L);
    EXPECT_GT(tik, 10.2059L);
    EXPECT_EQ(dms2dms(tik), " 10 20 60.00");

    // Whole minutes: the packed number lies a rounding error off the minute.
    // Either side prints as the minute with 0.00 (never -0.00, nor the minute
    // before with 100.00), or, from rad2dms' uncarried seconds, as the minute
    // before with 60.00.
    for (int deg : {0, 7, 123, 359})
        for (int m = 0; m < 60; ++m) {
            const std::string t = dms2dms(rad2dms(deg2rad(deg + m / 60.0L)));
            char nic[48], sest[48];
            std::snprintf(nic, sizeof nic, "%3d%3d  0.00", deg, m);
            std::snprintf(sest, sizeof sest, "%3d%3d 60.00", deg, m - 1);
            EXPECT_TRUE(t == nic || (m > 0 && t == sest)) << deg << " " << m << ": " << t;
        }
    EXPECT_EQ(dms2dms(123.0199999999999999L), "123  2  0.00");
    EXPECT_EQ(dms2dms(10.2075L), " 10 20 75.00");  // a wrong packed number is shown as it is
    EXPECT_EQ(dms2dms(359.5959L), "359 59 59.00");
    EXPECT_EQ(dms2dms(0.0L), "  0  0  0.00");
}
