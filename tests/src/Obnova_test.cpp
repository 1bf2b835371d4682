// Estimated velocities and refraction coefficients recover the true values
// from which exact observations were computed (tests/data/recovery, written
// by gen_recovery.py there; the true values below are the generator's).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
std::string Podatki(const std::string& ime) { return ReadFile(std::string(NIVEX_TEST_DATA) + "/recovery/" + ime); }
}  // namespace

// Two epochs 5.5 years apart around the reference epoch 2020.0; the
// approximate coordinates are off by up to 5 cm and the a-priori velocities
// are zero.  Observations rounded to 1e-11 degree and 1e-7 m leave errors of
// some 1e-8 m in the positions and 1e-8 m per year in the velocities.
TEST(Obnova, VelocitiesOfATwoEpochNetwork)
{
    // Name, coordinates at 2020.0 and velocity per year.
    const std::map<std::string, std::vector<long double>> resnica = {
        {"A", {1000, 1000, 0, 0}},          {"B", {2400, 1150, 0, 0}},          {"P1", {1350, 2100, 0.012L, -0.007L}},
        {"P2", {2150, 2300, -0.009L, 0.015L}}, {"P3", {1700, 1500, 0.005L, 0.008L}}};
    const Izravnava iz = Izravnaj(Podatki("hitrosti.dat"));
    const CNivex& n = *iz.run;
    ASSERT_EQ(n.GMM.nunkvel, 6);
    EXPECT_GT(n.nPasses, 1);
    for (unsigned long i = 0; i < n.TO.TOCrdA.NObs(); ++i) {
        const std::vector<long double>& r = resnica.at(n.TO.TOCrdA.GetPTS(i, 0));
        for (int k = 0; k < 2; ++k) {
            EXPECT_NEAR(n.TO.TOCrdA.GetOBS(i, k), r[k], 1e-7L) << n.TO.TOCrdA.GetPTS(i, 0);
            EXPECT_NEAR(n.TO.TOCrdA.GetVELA(i, k), r[2 + k], 1e-7L) << n.TO.TOCrdA.GetPTS(i, 0);
        }
    }
    EXPECT_LT(n.GMMS.SoI, 1e-3L * n.GMM.So);  // exact observations: residuals at the rounding of the data
}

// Zenith distances computed with the earth's curvature (R = 6379 km) and the
// coefficient 0.142, or one coefficient per station; the estimate starts from
// 0.10 and approximate coordinates off by up to 6 cm.  A coefficient enters
// as (s / 2R) sin^2 z, 3e-5 to 1.3e-4 rad per unit over these 400 m to
// 1.6 km sights: after the 1e-11 degree rounding of the data the one
// coefficient is good to 1e-9, those of the stations, each on five sights,
// to a few 1e-7.
TEST(Obnova, RefractionCoefficients)
{
    const struct {
        const char* datoteka;
        std::map<std::string, long double> k;  // station ("" for the whole network) -> coefficient
        long double tol;
    } primeri[] = {
        {"refrakcija.dat", {{"", 0.142L}}, 1e-8L},
        {"refrakcija_postaje.dat",
         {{"K1", 0.11L}, {"K2", 0.15L}, {"K3", 0.13L}, {"S1", 0.18L}, {"S2", 0.09L}, {"S3", 0.12L}}, 1e-6L},
    };
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.datoteka);
        const Izravnava iz = Izravnaj(Podatki(p.datoteka));
        const CGMM& G = iz.run->GMM;
        ASSERT_EQ(static_cast<std::size_t>(G.nunkkref), p.k.size());
        for (long t = 0; t < G.nunkkref; ++t) {
            const std::string postaja = p.k.size() == 1 ? "" : G.PTSk(t);
            EXPECT_NEAR(G.kRefEst(t), p.k.at(postaja), p.tol) << postaja;
        }
        for (const auto& [ime, h] : {std::pair{"S1", 432.221L}, {"S2", 428.757L}, {"S3", 409.385L}})
            EXPECT_NEAR(iz.tocke.at(ime)[2], h, 1e-6L) << ime;  // true heights, started 2 to 5 cm off
    }
}
