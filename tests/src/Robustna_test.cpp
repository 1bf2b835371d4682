// Robust estimation: the row factors of the eleven weight functions against
// their formulas, the telescoping of the factors in the rows, and whole
// adjustments of networks with planted gross errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "src/FWeighRobust.h"

TEST(Robustna, FactorsOnBothSidesOfTheBounds)
{
    const long double s05 = std::sqrt(0.5L);
    // {function, So, p, nIter, {{residual, factor worked out by hand}, ...}}
    const struct { const char* f; long double So, p; std::uint16_t n; std::vector<std::array<long double, 2>> vs; } fun[] = {
        // raw residual: 1/sqrt|v|, bounded at 1e6 for |v| <= 1e-10
        {"L1N", 1, 1, 1, {{0.04L, 5}, {-0.25L, 2}, {0, 1e6L}, {1e-11L, 1e6L}}},
        // |v|^((p-2)/2), the L1N bound for p < 2 at a zero residual
        {"LPN", 1, 1.5L, 1, {{0.0625L, 2}, {0, 1e6L}}}, {"LPN", 1, 3, 1, {{-4, 2}}}, {"LPN", 1, 2, 1, {{0.3L, 1}}},
        {"LPN", 1, 1, 1, {{0.04L, 5}}},
        // standardised u = |v|/So, So = 2 mm
        {"HUB", 0.002L, 1, 1, {{0.003L, 1}, {-0.006L, s05}, {0.012L, 0.5L}}},
        {"MHUB", 0.002L, 1, 1,
         {{0.003L, 1}, {0.004L, std::sqrt(0.75L)}, {-0.0058L, std::sqrt(1.5L / 2.9L)}, {0.0060002L, 0}}},
        {"HAMP", 0.002L, 1, 1, {{0.004L, 1}, {0.006L, std::sqrt(2.0L / 3.0L)}, {0.008L, s05}, {-0.010L, std::sqrt(0.3L)},
                                {0.016L, 0}, {0.018L, 0}}},
        {"BIWEIG", 1, 1, 1, {{0, 1}, {2.3425L, std::sqrt(0.75L)}, {4.6851L, 0}, {-5, 0}}},
        {"FAIR", 1, 1, 1, {{0, 1}, {1.4L, s05}, {-4.2L, 0.5L}}}, {"TALW", 1, 1, 1, {{2.794L, 1}, {-2.7951L, 0}}},
        // tanh(1) = 0.76159415595576488812, exp(-1/2) = 0.60653065971263342360
        {"LOGIST", 1, 1, 1, {{0, 1}, {-1.205L, std::sqrt(0.76159415595576488812L)}}},
        {"WELS", 1, 1, 1, {{0, 1}, {2.985L, 0.60653065971263342360L}}},
        // u < 3 keeps 1; beyond, exp(-0.05 u^k / 2) with k = 2, then 3 from the third re-weighting
        {"DAN", 0.001L, 1, 3, {{0.00299L, 1}, {-0.004L, std::exp(-1.6L)}}},
        {"DAN", 0.001L, 1, 1, {{0.003L, std::exp(-0.225L)}}}, {"DAN", 0.001L, 1, 2, {{0.004L, std::exp(-0.4L)}}}};
    for (const auto& c : fun)
        for (const auto& [v, pricak] : c.vs) {
            const auto s = RobustFaktor(c.f, v, c.So, c.p, c.n);
            ASSERT_TRUE(s.has_value()) << c.f;
            EXPECT_NEAR(*s, pricak, 1e-12L * std::max(1.0L, pricak)) << c.f << " v=" << static_cast<double>(v);
        }
    EXPECT_FALSE(RobustFaktor("MNK", 1.0L, 1, 1, 1).has_value());
}

// Four calls with residuals that reject row 1 and row 2 and bring them back:
// after every call each row carries exactly its latest factor times its
// unweighted row, and W keeps the latest and the one before.  MHUB, So = 1:
// u 1 -> 1; 2 -> sqrt(0.75); 4 -> 0.  Row 3 is a datum row: the residuals
// handed over stop at row 2, so it keeps factor 1.
TEST(Robustna, FactorsTelescopeThroughRejections)
{
    matrika<long double> B0(4, 2), f0(4, 1);
    for (long i = 0; i < 4; ++i) B0(i, 0) = 1.0L + i, B0(i, 1) = -0.5L * i + 0.25L, f0(i) = 0.1L * (i + 1);
    const long double r[4][3] = {{1, 4, 2}, {2, 4, 4}, {1, 1, 4}, {4, 2, 1}};
    matrika<long double> B = B0, f = f0, W(4, 2, 1.0L), v(3, 1);
    long double prej[4] = {1, 1, 1, 1};
    for (std::uint16_t k = 0; k < 4; ++k) {
        for (long i = 0; i < 3; ++i) v(i) = (i % 2 ? -1 : 1) * r[k][i];
        WeighRobust(B, f, v, W, 1.0L, "MHUB", 1.0L, static_cast<std::uint16_t>(k + 1), B0, f0);
        for (long i = 0; i < 4; ++i) {
            const long double s = i < 3 ? *RobustFaktor("MHUB", r[k][i], 1, 1, 1) : 1.0L;
            EXPECT_EQ(W(i, 0), s) << k << " " << i;
            EXPECT_EQ(W(i, 1), prej[i]) << k << " " << i;
            for (long j = 0; j < 2; ++j) EXPECT_NEAR(B(i, j), s * B0(i, j), 1e-15L) << k << " " << i;
            EXPECT_NEAR(f(i), (prej[i] = s) * f0(i), 1e-15L) << k << " " << i;
        }
    }
}

namespace {
struct Crta {
    std::string od, do_;
    long double l;  // observed value as booked
};
// A network with gross errors, the same without the wrong observations, and
// the rows of the wrong ones.
struct Mreza {
    std::string grobe, brez;
    std::vector<std::pair<long, Crta>> vrstice;
};

// The levelling example with the line N2-N3 (row 2) booked 10 mm, about ten
// standard deviations, too long.
Mreza Nivelman()
{
    std::string g = Primer("nivelman.dat"), b = g;
    g.replace(g.find("11.66659"), 8, "11.67659");
    b.replace(b.find("h  N2     N3"), 12, 1, '#');
    return {g, b, {{2, {"N2", "N3", 11.67659L}}}};
}

// A trilateration network of distances of 2 mm, observations true plus a
// fixed pattern of errors under 2 mm; two of them booked wrong: P1-P3 by
// +22 mm, B-P4 by -20 mm.
Mreza Ravninska()
{
    const struct { const char* ime; double y, x; } t[] = {
        {"A", 0, 0},        {"B", 2000, 0},      {"C", 1000, 1800}, {"P1", 600, 500},
        {"P2", 1400, 600},  {"P3", 1000, 1100},  {"P4", 500, 1200}};
    Mreza m{"*DIM 2\n*D V\n**V A\n**V B\n**V C\n", "", {}};
    for (int i = 0; i < 7; ++i) {
        const double odmik = i < 3 ? 0.0 : 0.05 * (i % 2 ? 1 : -1);
        m.grobe += "X " + std::string(t[i].ime) + " " + std::to_string(t[i].y + odmik) + " " +
                   std::to_string(t[i].x - 0.7 * odmik) + "\n";
    }
    m.brez = m.grobe;
    long k = 0;
    for (int i = 0; i < 7; ++i)
        for (int j = std::max(i + 1, 3); j < 7; ++j, ++k) {
            const std::string par = std::string(t[i].ime) + "-" + t[j].ime;
            const double napaka = par == "P1-P3" ? 0.022 : par == "B-P4" ? -0.020 : 0.0;
            const double l = std::hypot(t[j].y - t[i].y, t[j].x - t[i].x) + 0.0017 * std::sin(2.1 * k + 0.3) + napaka;
            char vrstica[128];
            std::snprintf(vrstica, sizeof vrstica, "D %s %s %.4f 2.0\n", t[i].ime, t[j].ime, l);
            m.grobe += vrstica;
            if (napaka == 0.0) m.brez += vrstica;
            else m.vrstice.push_back({k, {t[i].ime, t[j].ime, std::round(l * 1e4) / 1e4L}});  // as booked
        }
    return {Iteriraj(m.grobe + "*K\n"), Iteriraj(m.brez + "*K\n"), m.vrstice};
}

}  // namespace

// The functions that standardise the residual, and L1N: the planted errors
// come back as residuals, and the points land nearer the adjustment without
// the wrong observations than least squares puts them; the rejecting ones
// to within a few tenths of a millimetre.  The exponent after LPN reaches
// the weight function: p = 2 is least squares, p = 1 is L1N, 1.5 neither.
TEST(Robustna, PlantedGrossErrorsComeBackAsResiduals)
{
    for (const Mreza& m : {Nivelman(), Ravninska()}) {
        const Izravnava brez = Izravnaj(m.brez), mnk = Izravnaj(m.grobe);
        const auto rob = [&](const std::string& f) { return Izravnaj(ZNastavitvijo(m.grobe, "*ROBSOLV", f)); };
        // The residual the wrong observation would get from the adjustment
        // without it: computed there minus booked.
        const auto ostanek = [&](const Crta& c) {
            const std::vector<long double>&a = brez.tocke.at(c.od), &b = brez.tocke.at(c.do_);
            return (a.size() == 1 ? b[0] - a[0] : std::hypot(b[0] - a[0], b[1] - a[1])) - c.l;
        };
        const long double dMnk = NajvecjaRazlika(mnk, brez);
        EXPECT_GT(dMnk, 0.001L);
        for (const std::string f : {"HUB", "MHUB", "HAMP", "BIWEIG", "DAN", "L1N"}) {
            const Izravnava iz = rob(f);
            const bool zavrne = f != "HUB" && f != "L1N";
            // HUB and L1N only down-weight: on the levelling network they
            // take 60 % and 25 % of the least-squares error off the heights.
            EXPECT_LT(NajvecjaRazlika(iz, brez), zavrne ? 0.0004L : 0.8L * dMnk) << f << " " << static_cast<double>(dMnk);
            for (const auto& [r, c] : m.vrstice)
                EXPECT_NEAR(iz.run->GMMS.vvec(r), ostanek(c), zavrne ? 0.001L : 0.35L * std::fabs(ostanek(c))) << f << r;
            if (f != "L1N") continue;
            EXPECT_LT(NajvecjaRazlika(rob("LPN 2"), mnk), 1e-9L);
            EXPECT_LT(NajvecjaRazlika(rob("LPN 1"), iz), 1e-9L);
            const Izravnava p15 = rob("LPN 1.5");
            EXPECT_GT(std::min(NajvecjaRazlika(p15, mnk), NajvecjaRazlika(p15, iz)), 1e-5L);
        }
    }
}

// Inner iterations counted by hand.  One benchmark A, one new point P, the
// height difference A-P read five times with 1 mm: 5.000 four times and
// 5.012.  Least squares gives 5.0024, residuals +2.4 mm four times and
// -9.6 mm (So = 1 mm); MHUB keeps the four at sqrt(1.5/2.4) and rejects
// the fifth.  The second solution is 5.000 exactly, residuals 0 and -12 mm:
// factors 1 and 0, the same system again, so the third solution repeats
// the second and the loop ends with nIter = 2.  HUB on a line whose
// standardised residuals are all 1 (<= 1.5) keeps every factor at 1 and
// stops after the second solution, nIter = 1.
TEST(Robustna, InnerIterationsCountedByHand)
{
    const std::string petkrat = "*DIM 1\n*D V\n**V A\nX A 100.0\nX P 105.01\nh A P 5.000 1.0\nh A P 5.000 1.0\n"
                                "h A P 5.000 1.0\nh A P 5.000 1.0\nh A P 5.012 1.0\n*K\n";
    for (const char* f : {"MHUB", "HAMP", "BIWEIG"}) {
        const Izravnava iz = Izravnaj(ZNastavitvijo(petkrat, "*ROBSOLV", f));
        EXPECT_EQ(iz.run->GMMS.nIter, 2) << f;
        EXPECT_NEAR(iz.tocke.at("P")[0], 105.000L, 1e-12L) << f;
        EXPECT_NEAR(iz.run->GMMS.vvec(4), -0.012L, 1e-12L) << f;
        EXPECT_NE(iz.report.find("# ITERACIJ:                                     3"), std::string::npos) << f;
    }
    const Izravnava hub = Izravnaj(ZNastavitvijo("*DIM 1\n*D V\n**V A\n**V B\nX A 100.000\nX B 110.000\nX P1 103.0\n"
                                                 "X P2 107.0\nh A P1 3.002 1.0\nh P1 P2 4.001 1.0\nh P2 B 2.994 1.0\n*K\n",
                                                 "*ROBSOLV", "HUB"));
    EXPECT_EQ(hub.run->GMMS.nIter, 1);
    EXPECT_NEAR(hub.tocke.at("P1")[0], 103.003L, 1e-9L);
}

// Every weight function with every method and datum kind on a small
// levelling network (four points, six lines): no failure, every dense
// decomposition gives the adjustment of the sparse normal equations, and the two datums that only fix the height
// level (one minimal constraint, inner constraints) give the same
// residuals: the weights leave the datum rows alone.
TEST(Robustna, EveryFunctionMethodAndDatum)
{
    const std::string d = "*DIM 1\nX A 100.0\nX B 101.0\nX C 103.0\nX D 102.0\nh A B 1.0012 1.0\nh B C 2.0009 1.5\n"
                          "h C D -0.9991 1.0\nh D A -2.0004 1.2\nh A C 3.0006 2.0\nh B D 1.0003 1.0\n*K\n";
    const char* datumi[] = {"*D V\n**V A\n", "*D P\nH A 100.0 1.0\nH C 103.0 1.0\n", "*D D\n**DH B\n", "*D H\n"};
    for (const char* f : {"L1N", "LPN 1.5", "HUB", "MHUB", "HAMP", "BIWEIG", "FAIR", "LOGIST", "TALW", "WELS", "DAN"}) {
        std::vector<long double> vD;
        for (const char* datum : datumi) {
            const std::string z = ZNastavitvijo(datum + d, "*ROBSOLV", f);
            const Izravnava prva = IzravnajZ(z, "NS", false);
            for (const char* m : kVseMetode)
                EXPECT_LT(NajvecjaRazlika(IzravnajZ(z, m, true), prva), 1e-7L) << f << m << datum;
            const matrika<long double>& v = prva.run->GMMS.vvec;
            if (datum[3] == 'D') vD.assign(v.data(), v.data() + 6);
            for (long i = 0; datum[3] == 'H' && i < 6; ++i) EXPECT_NEAR(v(i), vD[std::size_t(i)], 1e-8L) << f << i;
        }
    }
}

// Rejections that take away what fixed the network end the run with a
// message naming the weight function, on the console and in the report,
// with no results: all readings of one point rejected (residuals 4, 4,
// -8 mm), and the two observed heights of a pseudo-observation datum.
TEST(Robustna, RejectionsThatLeaveTheNetworkUndetermined)
{
    const std::string tocka = "*DIM 1\n*D V\n**V A\nX A 100.0\nX P 105.0\nh A P 5.000 1.0\nh A P 5.000 1.0\n"
                              "h A P 5.012 1.0\n*K\n";
    const std::string psevdo = ZDatumom(Nivelman().grobe, "*D P\nH R12 296.4183 0.5\nH R45 318.2259 0.5\n");
    const std::string dir = TempDir("rob"),
                      sporocilo = " **** Robustna ocena (*ROBSOLV MHUB): zavrnjena opazovanja pustijo mrezo nedoloceno"
                                  "      *** ";
    int k = 0;
    for (const std::string& data : {tocka, psevdo})
        for (const char* m : {"NS", "CH", "QRGIV", "SVD"}) {
            const std::string ime = std::to_string(k++).insert(0, 1, 'm');
            WriteFile(dir + "/" + ime + ".dat", ZNastavitvijo(ZNastavitvijo(data, "*ROBSOLV", "MHUB"), "*NUMSOLV", m));
            const Izid r = RunNivex({ime + ".dat"}, dir);
            const std::string rep = ReadFile(dir + "/" + ime + ".NVX");
            EXPECT_EQ(r.status, 1) << m;
            EXPECT_NE(r.out.find(sporocilo), std::string::npos) << m << r.out;
            EXPECT_NE(rep.find(sporocilo), std::string::npos) << m;
            EXPECT_EQ(rep.find("OCENJENE VISINE"), std::string::npos) << m;
        }
}

// LPN for 1 < p <= 4 converges on every shipped network (correlated angles
// and exactly fitting rows among them); p = 1 is L1N, whose re-weighting
// may creep past the limit of re-weightings, which ends the run with its
// message.  On one height read five times LPN finds the minimum of
// sum |H - l_i|^p, found here by bisection of its derivative (for p = 1
// the median).
TEST(Robustna, LpNormConvergesForEveryExponent)
{
    const std::string dir = TempDir("lpn");
    for (const char* p : {"1", "1.5", "3", "4"})
        for (const char* primer : {"ravninska_dms", "nivelman", "prostorska", "mesana", "vektorji", "ravninska_utm"}) {
            WriteFile(dir + "/l.dat", ZNastavitvijo(Primer(std::string(primer) + ".dat"), "*ROBSOLV", std::string("LPN ") + p));
            const Izid r = RunNivex({"l.dat"}, dir);
            const bool meja = p[0] == '1' && p[1] == 0 && r.out.find(" **** PREVEC ITERACIJ:    RESITEV GMM") != std::string::npos;
            EXPECT_EQ(r.status, meja ? 1 : 0) << primer << " p = " << p;
        }
    const long double l[] = {5.000L, 5.002L, 5.003L, 5.010L, 5.030L};
    for (const long double p : {1.0L, 3.0L, 4.0L}) {
        long double a = 5.0L, b = 5.03L;
        for (int k = 0; k < 200; ++k) {
            const long double m = (a + b) / 2;
            long double g = 0;
            for (const long double x : l) g += (m > x ? 1 : -1) * std::pow(std::fabs(m - x), p - 1);
            (g > 0 ? b : a) = m;
        }
        std::string data = "*DIM 1\n*ROBSOLV LPN " + std::to_string(static_cast<double>(p)) + "\n*D V\n**V A\nX A 100\nX P 105\n";
        for (const long double x : l) data += "h A P " + std::to_string(static_cast<double>(x)) + " 1.0\n";
        const Izravnava iz = Izravnaj(data + "*K\n");
        EXPECT_NEAR(iz.tocke.at("P")[0] - 100.0L, a, 1e-7L) << static_cast<double>(p);
    }
}

// L1N minimises sum p_i |v_i| (weights 1/sigma^2); its minimum fits as many
// observations exactly as there are unknowns, so on a levelling network of
// two new points it is found by trying every pair of height differences
// that determines both heights.  The line A-P booked 15 mm off.  L1N and
// LPN 1 land on the best pair's heights, with its two lines fitted exactly.
TEST(Robustna, L1NormIsTheBestPairOfFittedObservations)
{
    const struct { int od, do_; long double l, s; } h[] = {{0, 1, 1.0004L, 1.0}, {0, 1, 1.0150L, 1.0}, {1, 2, 2.0010L, 1.1},
                                                           {0, 2, 3.0002L, 1.5}, {2, 0, -2.9991L, 1.0}, {1, 2, 1.9985L, 2.0},
                                                           {0, 2, 3.0030L, 1.0}};
    const char* ime[] = {"A", "P", "Q"};
    std::string data = "*DIM 1\n*D V\n**V A\nX A 100.0\nX P 101.0\nX Q 103.0\n";
    for (const auto& o : h)
        data += std::string("h ") + ime[o.od] + " " + ime[o.do_] + " " + std::to_string(static_cast<double>(o.l)) + " " +
                std::to_string(static_cast<double>(o.s)) + "\n";
    // Row of a line in the heights (P, Q): c . (HP, HQ) = l + HA terms.
    const auto vrsta = [&](const auto& o, long double& c0, long double& c1, long double& f) {
        long double x[3] = {0, 0, 0};
        x[o.od] -= 1, x[o.do_] += 1;
        c0 = x[1], c1 = x[2], f = o.l - 100.0L * x[0];
    };
    long double naj = INFINITY, drugi = INFINITY, P = 0, Q = 0;
    for (const auto& a : h)
        for (const auto& b : h) {
            if (&b <= &a) continue;
            long double a0, a1, fa, b0, b1, fb;
            vrsta(a, a0, a1, fa), vrsta(b, b0, b1, fb);
            const long double d = a0 * b1 - a1 * b0;
            if (d == 0) continue;
            const long double x = (fa * b1 - a1 * fb) / d, y = (a0 * fb - fa * b0) / d;
            long double F = 0;
            for (const auto& o : h) {
                long double c0, c1, f;
                vrsta(o, c0, c1, f);
                F += std::fabs(c0 * x + c1 * y - f) / (o.s * o.s);
            }
            if (F < naj) drugi = naj, naj = F, P = x, Q = y;
            else drugi = std::min(drugi, F);
        }
    ASSERT_GT(drugi - naj, 1e-4L * naj);  // one best pair
    for (const char* f : {"L1N", "LPN 1"}) {
        const Izravnava iz = Izravnaj(ZNastavitvijo(data + "*K\n", "*ROBSOLV", f));
        EXPECT_NEAR(iz.tocke.at("P")[0], P, 1e-7L) << f;
        EXPECT_NEAR(iz.tocke.at("Q")[0], Q, 1e-7L) << f;
    }
}
