// Levelling and vector networks adjusted end to end, from the data text to
// the adjusted values, checked against closed forms, an independent
// adjustment of the shipped examples, and the invariants of least squares.
#include <gtest/gtest.h>

#include <cmath>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "matrika/summ.h"

namespace {

const char* kMetode[] = {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"};

// A levelling line between two benchmarks, three legs of 1 mm each:
// misclosure 9.997 - 10.000 = -3 mm, so each leg gets +1 mm.
const std::string kVlak =
    "*DIM 1\n*D V\n**V A\n**V B\n"
    "X A 100.000\nX B 110.000\nX P1 103.0\nX P2 107.0\n"
    "h A P1 3.002 1.0\nh P1 P2 4.001 1.0\nh P2 B 2.994 1.0\n*K\n";

// A single loop with one fixed benchmark; legs of 1, 2 and 1 mm:
// misclosure 1.000 + 2.004 - 3.000 = +4 mm distributed by the variances
// 1 : 4 : 1, i.e. -2/3, -8/3, +2/3 mm (the last leg is observed backwards).
const std::string kZanka =
    "*DIM 1\n*D V\n**V A\n"
    "X A 200.000\nX B 201.0\nX C 203.0\n"
    "h A B 1.000 1.0\nh B C 2.004 2.0\nh A C 3.000 1.0\n*K\n";

void PricakujVisine(const Izravnava& a, const Izravnava& b, long double tol)
{
    ASSERT_EQ(a.tocke.size(), b.tocke.size());
    for (const auto& [ime, x] : a.tocke) {
        const auto& y = b.tocke.at(ime);
        for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(x[k], y[k], tol) << ime << " " << k;
    }
}

void PricakujPopravke(const Izravnava& a, const Izravnava& b, long nobs, long double tol)
{
    for (long i = 0; i < nobs; ++i) EXPECT_NEAR(a.run->GMMS.vvec(i), b.run->GMMS.vvec(i), tol) << i;
}

}  // namespace

TEST(IzravnavaNivelman, LineBetweenTwoBenchmarksInClosedForm)
{
    const Izravnava iz = Izravnaj(kVlak);
    EXPECT_NEAR(iz.tocke.at("P1")[0], 103.003L, 1e-9L);
    EXPECT_NEAR(iz.tocke.at("P2")[0], 107.005L, 1e-9L);
    EXPECT_NEAR(iz.tocke.at("A")[0], 100.000L, 1e-12L);
    const CGMMSol& s = iz.run->GMMS;
    // Residuals of 1 mm each on one redundant observation: vPv = 3 (mm/sigma)^2.
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(std::fabs(static_cast<double>(s.vvec(i))), 1e-3, 1e-9) << i;
    EXPECT_EQ(iz.run->GMM.nredund, 1);
    EXPECT_NEAR(s.SoI, std::sqrt(3.0) * 1e-3, 1e-9);
    EXPECT_NEAR(s.gtest, 3.0L, 1e-6L);
    // Two-sided 95 % interval of chi-square with one degree of freedom.
    EXPECT_NEAR(s.gtestA, 0.000982069L, 1e-8L);
    EXPECT_NEAR(s.gtestB, 5.023886L, 1e-5L);
}

TEST(IzravnavaNivelman, LoopDistributesTheMisclosureByWeights)
{
    const Izravnava iz = Izravnaj(kZanka);
    // B = A + 1.000 - 2/3 mm, C = A + 3.000 - (-2/3 mm): the closed loop holds.
    EXPECT_NEAR(iz.tocke.at("B")[0], 201.000L - 0.0006666667L, 1e-9L);
    EXPECT_NEAR(iz.tocke.at("C")[0], 203.000L + 0.0006666667L, 1e-9L);
    const CGMMSol& s = iz.run->GMMS;
    // Weights So^2 / sigma^2 with So = 4/3 mm (the mean sigma):
    // vPv = So^2 ((2/3)^2 + (8/3)^2 / 4 + (2/3)^2) = So^2 * 8/3 on one degree of freedom.
    const long double So = 4.0L / 3.0L * 1e-3L;
    EXPECT_NEAR(iz.run->GMM.So, So, 1e-15L);
    EXPECT_NEAR(s.SoI * s.SoI, So * So * 8.0L / 3.0L, 1e-15L);
    EXPECT_NEAR(s.gtest, 8.0L / 3.0L, 1e-9L);
    // The redundancy numbers of a single loop: r_i = sigma_i^2 / sum sigma^2.
    EXPECT_NEAR(s.R(0), 1.0L / 6.0L, 1e-12L);
    EXPECT_NEAR(s.R(1), 4.0L / 6.0L, 1e-12L);
    EXPECT_NEAR(s.R(2), 1.0L / 6.0L, 1e-12L);
}

TEST(IzravnavaNivelman, ExampleMatchesAnIndependentAdjustment)
{
    const Izravnava iz = Izravnaj(Primer("nivelman.dat"));
    const auto ref = NeodvisnaIzravnava("nivelman", 1);
    ASSERT_EQ(ref.size(), 11u);
    for (const auto& [ime, h] : ref) EXPECT_NEAR(iz.tocke.at(ime)[0], h[0], 6e-6L) << ime;  // 5 decimals given
    // s0 / sigma0 = 0.980305 in the independent adjustment.
    EXPECT_NEAR(iz.run->GMMS.SoI / iz.run->GMM.So, 0.980305L, 1e-6L);
    EXPECT_NE(iz.report.find("REZULTATI OBDELAVE GEODETSKE MREZE:"), std::string::npos);
}

TEST(IzravnavaNivelman, EveryMethodGivesTheSameAdjustment)
{
    for (const std::string primer : {"nivelman.dat", "vektorji.dat"}) {
        const std::string data = ZNastavitvijo(Primer(primer), "*ITER", "0");
        const Izravnava ref = Izravnaj(ZNastavitvijo(data, "*NUMSOLV", "NS"));
        for (const char* m : kMetode) {
            SCOPED_TRACE(primer + std::string(" ") + m);
            const Izravnava iz = Izravnaj(ZNastavitvijo(data, "*NUMSOLV", m));
            PricakujVisine(iz, ref, 1e-9L);
            EXPECT_NEAR(iz.run->GMMS.SoI, ref.run->GMMS.SoI, 1e-12L);
            const long u = iz.run->GMM.nunk;
            for (long i = 0; i < u; ++i) EXPECT_NEAR(iz.run->GMMS.Qdd(i, i), ref.run->GMMS.Qdd(i, i), 1e-9L);
        }
    }
}

TEST(IzravnavaNivelman, DatumThatOnlyRemovesTheDefectLeavesObservationsAlone)
{
    const std::string data = ZNastavitvijo(Primer("nivelman.dat"), "*ITER", "0");
    const long nobs = 15;
    const Izravnava v1 = Izravnaj(ZDatumom(data, "*D V\n**V R12\n"));
    const Izravnava h = Izravnaj(ZDatumom(data, "*D H\n"));
    const Izravnava d = Izravnaj(ZDatumom(data, "*D D\n**DH N4\n"));
    for (const Izravnava* o : {&h, &d}) {
        PricakujPopravke(*o, v1, nobs, 1e-9L);
        EXPECT_NEAR(o->run->GMMS.SoI, v1.run->GMMS.SoI, 1e-12L);
        // Height differences between any two points are datum-free.
        const long double dh = o->tocke.at("N5")[0] - o->tocke.at("N2")[0];
        EXPECT_NEAR(dh, v1.tocke.at("N5")[0] - v1.tocke.at("N2")[0], 1e-9L);
    }
    // Two benchmarks constrain the network: residuals rightly differ.
    const Izravnava v2 = Izravnaj(ZDatumom(data, "*D V\n**V R12\n**V R27\n"));
    long double razlika = 0;
    for (long i = 0; i < nobs; ++i) razlika += std::fabs(v2.run->GMMS.vvec(i) - v1.run->GMMS.vvec(i));
    EXPECT_GT(razlika, 1e-4L);
}

TEST(IzravnavaNivelman, RedundancyNumbersSumToTheDegreesOfFreedom)
{
    for (const std::string primer : {"nivelman.dat", "vektorji.dat"}) {
        const Izravnava iz = Izravnaj(ZNastavitvijo(Primer(primer), "*MATFULL", "1"));
        const long n = iz.run->GMM.nobs;
        long double s = 0;
        for (long i = 0; i < n; ++i) {
            EXPECT_GE(iz.run->GMMS.R(i), -1e-12L);
            EXPECT_LE(iz.run->GMMS.R(i), 1.0L + 1e-12L);
            s += iz.run->GMMS.R(i);
        }
        EXPECT_NEAR(s, static_cast<long double>(iz.run->GMM.nredund), 1e-9L) << primer;
    }
}

TEST(IzravnavaNivelman, IterationFromAdjustedValuesDoesNotMove)
{
    std::string data = ZNastavitvijo(Primer("nivelman.dat"), "*ITER", "1");
    data = ZNastavitvijo(data, "*ITERMAX", "2");
    data = ZNastavitvijo(data, "*ITERTHRES", "1e-30");
    const Izravnava iz = Izravnaj(data);
    EXPECT_EQ(iz.run->nPasses, 3);  // NIter + 1 passes when the norm never falls below the threshold
    EXPECT_LT(iz.run->GMMS.GetNormX(), 1e-12L);
    EXPECT_NE(iz.report.find("ITERACIJA OBDELAVE OPAZOVANJ:               3"), std::string::npos);
}

TEST(IzravnavaVektorji, ExampleMatchesAnIndependentAdjustment)
{
    const Izravnava iz = Izravnaj(Primer("vektorji.dat"));
    const auto ref = NeodvisnaIzravnava("vektorji", 3);
    ASSERT_EQ(ref.size(), 8u);
    for (const auto& [ime, x] : ref)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(iz.tocke.at(ime)[k], x[k], 6e-6L) << ime << " " << k;
    EXPECT_NEAR(iz.run->GMMS.SoI / iz.run->GMM.So, 0.870242L, 1e-6L);
}

TEST(IzravnavaNivelman, RefusalsOfUnadjustableData)
{
    const std::string dir = TempDir("zavrni");
    // A fixed point that is not in the point list.
    WriteFile(dir + "/a.dat", ZDatumom(kVlak, "*D V\n**V A\n**V Q\n"));
    Izid r = RunNivex({"a.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Q  NE OBSTAJA V SEZNAMU TOCK!!!! *****"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("KONCAL Z IZRACUNI"), std::string::npos);
    // No observations at all.
    WriteFile(dir + "/b.dat", "*DIM 1\n*D V\n**V A\nX A 1.0\nX B 2.0\n*K\n");
    r = RunNivex({"b.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("KONCAL Z IZRACUNI"), std::string::npos);
    // A datum that does not fix the network: a free levelling network without datum points.
    WriteFile(dir + "/c.dat", ZDatumom(kVlak, "*D V\n"));
    r = RunNivex({"c.dat"}, dir);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("KONCAL Z IZRACUNI"), std::string::npos);
}
