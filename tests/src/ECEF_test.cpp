// GNSS baselines in the geocentric frame (*ECEF): a baseline and its
// covariance rotated by hand at the pole and on the equator, the GNSS
// example written geocentric adjusting to the coordinates of its local
// baselines, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
using R = long double;
using M3 = R[3][3];

std::string Stevilo(R x, const char* f = "%.9f")
{
    char s[64];
    std::snprintf(s, sizeof s, f, static_cast<double>(x));
    return s;
}

// One baseline A-B with the covariance given (m^2), at lat, lon.
Izravnava EnVektor(const std::string& ecef, const R v[3], const M3 Q)
{
    std::string q;
    for (int i = 0; i < 3; ++i)
        for (int j = i; j < 3; ++j) q.append(" ").append(Stevilo(Q[i][j], "%.6e"));
    return Izravnaj("*DIM 3\n" + ecef + "\n*D P\nX A 0 0 0\nX B 0 0 0\nC A 0 0 0 3 3 3\nV A B " + Stevilo(v[0]) + " " +
                    Stevilo(v[1]) + " " + Stevilo(v[2]) + " 1 1 1\nQ 1 V A B" + q + "\n*K\n");
}
}  // namespace

// At the pole (lon 0) east = dY, north = -dX, up = dZ; on the equator at
// lon 0 east = dY, north = dZ, up = dX: the covariance moves with them.
TEST(ECEF, BaselineAndCovarianceRotatedByHand)
{
    const R v[3] = {3.0L, 4.0L, 12.0L};
    const M3 Q = {{4e-6L, 1e-6L, -2e-6L}, {1e-6L, 9e-6L, 3e-6L}, {-2e-6L, 3e-6L, 16e-6L}};
    // Rows: which component of d and its sign make each local component.
    const int pol[3] = {1, 0, 2}, ekv[3] = {1, 2, 0};
    const R polZnak[3] = {1, -1, 1}, ekvZnak[3] = {1, 1, 1};
    for (int primer = 0; primer < 2; ++primer) {
        SCOPED_TRACE(primer);
        const Izravnava iz = EnVektor(primer == 0 ? "*ECEF 90 0" : "*ECEF 0 0", v, Q);
        const int* k = primer == 0 ? pol : ekv;
        const R* z = primer == 0 ? polZnak : ekvZnak;
        const CTerObsZbirka& TO = iz.run->TO;
        ASSERT_EQ(TO.kovBloki.size(), 1u);
        const matrika<R>& B = TO.kovBloki[0].Q;
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(TO.TOVec.OBS(0, i), z[i] * v[k[i]], 1e-12L);
            EXPECT_NEAR(TO.TOVec.SIG(0, i), std::sqrt(Q[k[i]][k[i]]), 1e-15L);
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(B(i, j), z[i] * z[j] * Q[k[i]][k[j]], 1e-20L);
        }
    }
}

namespace {
// The GNSS example with its baselines written geocentric at lat, lon: each
// vector d = R' v and, as wanted, its covariance R' D R in a Q line
// (bloki) or its deviations alone (D diagonal, given as geocentric); not
// geocentricni: the same network in the local frame (v = R d, with Q
// blocks R D R' where the geocentric file has deviations alone).
std::string GNSS(R b, R l, bool geocentricni, bool bloki)
{
    const R pi = 3.14159265358979323846264338327950288L, sb = std::sin(b * pi / 180), cb = std::cos(b * pi / 180),
            sl = std::sin(l * pi / 180), cl = std::cos(l * pi / 180);
    const M3 Rm = {{-sl, cl, 0}, {-sb * cl, -sb * sl, cb}, {cb * cl, cb * sl, sb}};
    std::istringstream in(Primer("vektorji.dat"));
    std::string vrstica, izhod = geocentricni ? "*ECEF " + Stevilo(b) + " " + Stevilo(l) + "\n" : "";
    while (std::getline(in, vrstica)) {
        if (vrstica.rfind("V ", 0) != 0) {
            izhod += vrstica + "\n";
            continue;
        }
        std::istringstream z(vrstica);
        std::string V, od, do_;
        R v[3], s[3], d[3] = {0, 0, 0}, Q[3][3] = {};
        z >> V >> od >> do_ >> v[0] >> v[1] >> v[2] >> s[0] >> s[1] >> s[2];
        // The file's numbers are local with deviations (bloki) or are taken
        // as geocentric with deviations (!bloki).
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                d[i] += (bloki ? Rm[j][i] : Rm[i][j]) * v[j];
                for (int k = 0; k < 3; ++k)
                    Q[i][j] += bloki ? Rm[k][i] * s[k] * s[k] * 1e-6L * Rm[k][j] : Rm[i][k] * s[k] * s[k] * 1e-6L * Rm[j][k];
            }
        const R* w = geocentricni == bloki ? d : v;
        izhod += "V " + od + " " + do_ + " " + Stevilo(w[0]) + " " + Stevilo(w[1]) + " " + Stevilo(w[2]) + " " +
                 Stevilo(s[0], "%.2f") + " " + Stevilo(s[1], "%.2f") + " " + Stevilo(s[2], "%.2f") + "\n";
        if (geocentricni == bloki) {
            izhod += "Q 1 V " + od + " " + do_;
            for (int i = 0; i < 3; ++i)
                for (int j = i; j < 3; ++j) izhod.append(" ").append(Stevilo(Q[i][j], "%.15e"));
            izhod += "\n";
        }
    }
    return izhod;
}
}  // namespace

// The same baselines geocentric (with Q blocks, or with deviations alone)
// and local give the same adjusted coordinates.
TEST(ECEF, GeocentricBaselinesAdjustAsLocalOnes)
{
    for (const bool bloki : {true, false}) {
        SCOPED_TRACE(bloki);
        const Izravnava lokalna = Izravnaj(GNSS(46.05L, 14.51L, false, bloki));
        const std::string geo = GNSS(46.05L, 14.51L, true, bloki);
        const Izravnava geocentricna = Izravnaj(geo);
        EXPECT_LT(NajvecjaRazlika(lokalna, geocentricna), 2e-6L);
        // Not the same by chance: read as local (no *ECEF line), the
        // geocentric file is far off.
        const Izravnava napacna = Izravnaj(geo.substr(geo.find('\n') + 1));
        EXPECT_GT(NajvecjaRazlika(lokalna, napacna), 1.0L);
    }
}

TEST(ECEF, RefusedOutsideASpatialNetworkAndBeyondThePole)
{
    const std::string ravninska = "*DIM 2\n*ECEF 46 14.5\n*D P\nX A 0 0\nX B 100 0\nC A 0 0 3 3\nV A B 100 0 2 2\n*K\n";
    Izid iz = RunNivex({Datoteka(ravninska)}, TempDir("ecef"));
    EXPECT_EQ(iz.status, 1);
    EXPECT_NE(iz.out.find("*ECEF (geocentricni vektorji) je mogoc le v prostorski mrezi (*DIM 3), ne v mrezi dimenzije 2"),
              std::string::npos)
        << iz.out;
    const std::string pol = "*DIM 3\n*ECEF 95 14.5\n*D P\nX A 0 0 0\nX B 100 0 0\nC A 0 0 0 3 3 3\nV A B 100 0 0 2 2 2\n*K\n";
    iz = RunNivex({Datoteka(pol)}, TempDir("ecef"));
    EXPECT_EQ(iz.status, 1);
    EXPECT_NE(iz.out.find("*ECEF 95.000000 14.500000 (vrstica 2): sirina mora biti med -90 in 90"), std::string::npos)
        << iz.out;
}
