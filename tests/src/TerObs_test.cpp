// Record sets fed one record at a time as the reader feeds them: values in
// metres and radians, the three angle units, So, the zero-deviation
// thresholds and labels, the refused fields, composed angles and the lookup
// of a point by name.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <vector>

#include "TerObsTestUtil.h"

namespace {
void Blizu(long double a, long double b)
{
    EXPECT_LE(std::fabs(a - b), 1e-15L * std::fmax(1.0L, std::fabs(b))) << static_cast<double>(a) << " vs "
                                                                         << static_cast<double>(b);
}
}  // namespace

TEST(TerObsRead, EveryKindConverted)
{
    // mm / 1000; 10d 20' 30.5" = 37230.5"; -10d + 20' + 30" = -34770" (the
    // sign of the degrees is not carried); 200 gon = pi, 1 mgon = pi / 200000;
    // 45.5 deg = 163800".  The names are the words after the leading one.
    struct Primer {
        std::shared_ptr<CTerObs> s;
        std::string zapis;
        std::vector<long double> obs, sig;
        long double t;
    };
    const Primer primeri[] = {
        {Nov<CTerObsCrdA>(1, 0, 3, 0), "X T1 1 2 3.5", {1, 2, 3.5}, {}, 0},
        {Nov<CTerObsHA>(1, 0, 0), "X R2 1e2", {100}, {}, 0},
        {Nov<CTerObsCrd>(1, 1, 3), "C A 10 20 30 2.0 3.0 4.0 2014.5", {10, 20, 30}, {0.002, 0.003, 0.004}, 2014.5},
        {Nov<CTerObsH>(1, 0), "H A 312.5 2", {312.5}, {0.002}, 0},
        {Nov<CTerObsDist>(1, 0, 3), "L A B 125.4321 2.5", {125.4321L}, {0.0025L}, 0},
        {Nov<CTerObsHdif>(1, 1), "h A B -1.2345 0.5 2015", {-1.2345L}, {0.0005L}, 2015},
        {Nov<CTerObsVec>(1, 0, 3), "V A B 1.5 -2.5 3.5 1 2 3", {1.5, -2.5, 3.5}, {0.001L, 0.002L, 0.003L}, 0},
        {Nov<CTerObsVec>(1, 0, 2), "V A B 1.5 -2.5 1 2", {1.5, -2.5}, {0.001L, 0.002L}, 0},
        {Nov<CTerObsDir>(1, 0, "DMS", "DIR"), "S A B 10 20 30.5 1.0", {37230.5L / RO}, {1 / RO}, 0},
        {Nov<CTerObsDir>(1, 0, "DMS", "DIR"), "S A C -10 20 30 2", {-34770 / RO}, {2 / RO}, 0},
        {Nov<CTerObsDir>(1, 1, "GON", "ZEN"), "Z A B 200 1 2010.25", {PI}, {PI / 200000}, 2010.25L},
        {Nov<CTerObsDir>(1, 0, "DEG", "AZI"), "A A B 45.5 2", {163800 / RO}, {2 / RO}, 0},
        {Nov<CTerObsPara>(1, 0, "DMS"), "P A B C D 90 0 0 0", {PI / 2}, {0}, 0},   // zero deviation accepted
    };
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.zapis);
        Beri(*p.s, p.zapis + "\n");
        std::istringstream besede(p.zapis);
        std::string w;
        besede >> w;
        for (long k = 0; k < static_cast<long>(p.s->PTS.ncol()); ++k) EXPECT_EQ(p.s->GetPTS(0, k), (besede >> w, w));
        ASSERT_EQ(p.s->OBS.ncol(), p.obs.size());
        ASSERT_EQ(p.s->SIG.ncol(), p.sig.size());
        for (std::size_t k = 0; k < p.obs.size(); ++k) Blizu(p.s->GetOBS(0, static_cast<long>(k)), p.obs[k]);
        for (std::size_t k = 0; k < p.sig.size(); ++k) Blizu(p.s->GetSIG(0, static_cast<long>(k)), p.sig[k]);
        EXPECT_EQ(p.s->T.nrow(), p.t != 0 ? 1u : 0u);
        if (p.t != 0) {
            EXPECT_EQ(p.s->GetT(0, 0), p.t);
        }
    }

    // Point lists with a-priori velocities and flags.
    const auto a = Nov<CTerObsCrdA>(1, 1, 2, 1);
    const auto h = Nov<CTerObsHA>(1, 1, 1);
    Beri(*a, "X A 100.5 200.25 0.001 -0.002 1\n");
    Beri(*h, "X R1 312.12345 0.0005 0\n");
    Blizu(a->GetVELA(0, 1), -0.002L);
    Blizu(h->GetVELA(0, 0), 0.0005L);
    EXPECT_EQ(a->GetIfVel(0), 1);
    EXPECT_EQ(h->GetIfVel(0), 0);

    // So: mean |SIG| over every element, (1 + 2 + 3 + 4) mm / 4.
    const auto v = Nov<CTerObsVec>(2, 0, 2);
    Beri(*v, "V A B 1 1 1 2\nV A C 1 1 -3 4\n");
    v->CalcRefStDApr();
    Blizu(v->GetSo(), 0.0025L);
    CTerObsDist prazna;
    prazna.CalcRefStDApr();
    EXPECT_EQ(prazna.GetSo(), 0.0L);

    // A negative DMS angle under one degree keeps its sign in the report.
    const auto d = Nov<CTerObsDir>(1, 0, "DMS", "DIR");
    Beri(*d, "S A B 0 -30 0 1\n");
    std::ostringstream o;
    d->PrintObsLine_OBS(o, 0);
    EXPECT_EQ(o.str(), "    -0 30  0.00   1.00");
}

TEST(TerObsZeroDeviation, ThresholdPerKind)
{
    struct Prag {
        std::shared_ptr<CTerObs> s;
        std::string label, na, nad;   // a deviation just at the threshold, and just above it
    };
    // Records are numbered from 1 within their set; each kind has its label.
    const Prag pragovi[] = {
        {Nov<CTerObsCrd>(2, 0, 2), "KOORDINATE", "C A 1 2 3.0 0.0001", "C A 1 2 3.0 0.0002"},
        {Nov<CTerObsH>(2, 0), "MERJEN H", "H A 1 0.000001", "H A 1 0.000002"},
        {Nov<CTerObsDist>(2, 0, 2), "DOLZINA", "D A B 10 -0.00001", "D A B 10 0.00002"},
        {Nov<CTerObsVec>(2, 0, 3), "VEKTOR", "V A B 1 2 3 1 0.00001 1", "V A B 1 2 3 1 0.00002 1"},
        {Nov<CTerObsHdif>(2, 0), "DELTA H", "h A B 1 0.000001", "h A B 1 -0.000002"},
        {Nov<CTerObsDir>(2, 0, "DMS", "DIR"), "HZ SMER", "S A B 1 2 3 0.0001", "S A B 1 2 3 0.0002"},
        {Nov<CTerObsDir>(2, 0, "GON", "ZEN"), "ZENITNA RAZDALJA", "Z A B 100 0.0001", "Z A B 100 0.0002"},
        {Nov<CTerObsDir>(2, 0, "DEG", "AZI"), "AZIMUT", "A A B 10 0.0001", "A A B 10 0.0002"},
    };
    for (const Prag& p : pragovi) {
        SCOPED_TRACE(p.na);
        const Izid na = RunChild([&] { Beri(*p.s, p.nad + "\n" + p.na + "\n"); });
        EXPECT_EQ(na.status, 1);
        EXPECT_EQ(na.out, "\n\n  *****  NAPAKA" + std::string(74, ' ') + "*****\n\n  *****  OPAZOVANJE:     2.  " +
                              std::string(15 - std::min<std::size_t>(15, p.label.size()), ' ') + p.label +
                              ":  PODAN STANDARDNI ODKLON NUMERICNO NIC!!!! *****\n\nPritisni ENTER ... ");
        const Izid nad = RunChild([&] { Beri(*p.s, p.nad + "\n" + p.nad + "\n"); });
        EXPECT_EQ(nad.status, 0);
    }
}

TEST(TerObsRefusal, FieldsThatAreNotNumbersOrMissingAndBadSettings)
{
    const std::string nepopoln = " je nepopoln (konec datoteke ali *K pred zadnjim podatkom)";
    const std::pair<std::function<void()>, std::string> primeri[] = {
        {[] { Beri(*Nov<CTerObsDist>(2, 0, 2), "D A B 10 1\nD A C 12,5 1\n"); },
         "Zapis D (horizontalna dolzina) st. 2: beseda \"12,5\" ni stevilo"},
        {[] { Beri(*Nov<CTerObsDir>(1, 0, "DMS", "DIR"), "S A B 10.5 20 30 1\n"); },
         "Zapis S (horizontalna smer) st. 1: beseda \"10.5\" ni celo stevilo [-32768, 32767]"},
        {[] { Beri(*Nov<CTerObsCrdA>(1, 1, 2, 0), "X A 1 2 -1\n"); },
         "Zapis X (priblizne koordinate tocke) st. 1: beseda \"-1\" ni celo stevilo [0, 65535]"},
        {[] { Beri(*Nov<CTerObsHdif>(1, 0), "h A B 1.5"); }, "Zapis h (visinska razlika) st. 1" + nepopoln},
        {[] { Beri(*Nov<CTerObsVec>(1, 0, 3), "V A B 1 2 3 1 1\n*K\n"); }, "Zapis V (vektor) st. 1" + nepopoln},
        {[] { Nov<CTerObsCrdA>(3, 0, 2, 1); }, "A-priori hitrosti tock (*XV0) so mozne le ob oceni hitrosti (*XVT)"},
        {[] { Nov<CTerObsPara>(1, 0, "RAD"); }, "Nastavitev enote opazovanj NAPACNO [DMS, GON, DEG]"},
        {[] { Nov<CTerObsDir>(1, 0, "GON", "HZ"); }, "Nastavitev vrste opazovanj NAPACNO [DIR, ZEN, AZI]"},
        {[] { CTerObsDist().SetPrintQuant("VSE"); }, "Nastavitev za izpis kolicine opazovanj NAPACNO [ALL, LINE]"},
        {[] { CTerObsDist().SetPrintWhat("X"); }, "Nastavitev za izpis dela opazovanj NAPACNO [OBS, PT, ALL]"},
        {[] { CTerObsDir d; CTerObsAngl(d).SetPrintAngQuant("DIR"); },
         "Nastavitev za izpis kolicine opazovanj NAPACNO [ANG, ALL]"},
    };
    for (const auto& [f, sporocilo] : primeri) {
        const Izid r = RunChild([&] { f(); std::cout << "PREBRANO"; });
        EXPECT_EQ(r.status, 1) << sporocilo;
        EXPECT_EQ(r.out, Konec(sporocilo));
    }
}

TEST(TerObsAngl, StationsWithThreeOneAndTwoDirections)
{
    // A: B, C, D; H: I alone; A again: J, K; E: F, G.  Sigmas in arc seconds,
    // epochs 1 to 8.  A's second run shares no direction with its first, so
    // its angle is not correlated with A's earlier angles.
    const auto d = Nov<CTerObsDir>(8, 1, "DEG", "DIR");
    Beri(*d, "S A B 10 1 1\nS A C 40 2 2\nS A D 100 3 3\nS H I 5 1 4\n"
             "S A J 0 1 5\nS A K 20 2 6\nS E F 350 4 7\nS E G 10 5 8\n");
    EXPECT_EQ(CTerObsAngl::CountAngle(*d), 4u);
    for (unsigned short kor : {1, 0}) {
        SCOPED_TRACE(kor);
        CTerObsAngl a(*d);
        a.SetPar(kor);
        ASSERT_EQ(a.NObs(), 4u);
        const long ind[] = {-1, 0, 1, -1, -1, 2, -1, 3};
        for (long j = 0; j < 8; ++j) EXPECT_EQ(a.GetIndAng(j), ind[j]) << j;
        const char* tocke[] = {"ABC", "ACD", "AJK", "EFG"};
        // Later minus earlier, not reduced: 10 - 350 deg = -340 deg.
        const double koti[] = {30, 60, 20, -340};
        // sqrt(1 + 4)", sqrt(4 + 9)", sqrt(1 + 4)", sqrt(16 + 25)".
        const double sig[] = {std::sqrt(5.0), std::sqrt(13.0), std::sqrt(5.0), std::sqrt(41.0)};
        for (long k = 0; k < 4; ++k) {
            for (long c = 0; c < 3; ++c) EXPECT_EQ(a.GetPTS(k, c), std::string(1, tocke[k][c]));
            EXPECT_NEAR(static_cast<double>(a.GetOBS(k, 0) * RO), koti[k] * 3600, 1e-9);
            EXPECT_NEAR(static_cast<double>(a.GetSIG(k, 0) * RO), sig[k], 1e-12);
            EXPECT_EQ(a.GetT(k, 1) - a.GetT(k, 0), 1.0L);
        }
        EXPECT_EQ(a.GetT(2, 0), 5.0L);
        // Only angles 0 and 1 share a direction, A->C (2").
        EXPECT_EQ(a.GetNumCorr(), kor);
        EXPECT_NEAR(static_cast<double>(a.GetSIG(0, 1) * RO), kor * 2.0, 1e-12);
        for (long k = 1; k < 4; ++k) EXPECT_EQ(a.GetSIG(k, 1), 0.0L) << k;
        a.CalcRefStDApr();
        EXPECT_NEAR(static_cast<double>(a.GetSo() * RO),
                    (2 * std::sqrt(5.0) + std::sqrt(13.0) + std::sqrt(41.0) + kor * 2.0) / 8, 1e-12);
    }

    // No directions: no angle.
    CTerObsDir nic;
    CTerObsAngl c(nic);
    c.SetPar(1);
    EXPECT_EQ(c.NObs(), 0u);
    EXPECT_EQ(CTerObsAngl::CountAngle(nic), 0u);
}

TEST(TerObsTocke, LookupByNameFindsTheFirstOccurrence)
{
    const auto t = Nov<CTerObsCrdA>(4, 0, 2, 0);
    Beri(*t, "X A 0 0\nX B 1 0\nX A 5 5\nX C 2 2\n");
    const std::pair<std::string, long> imena[] = {{"A", 0}, {"B", 1}, {"C", 3}, {"a", -1}, {"", -1}};
    for (const auto& [ime, p] : imena) EXPECT_EQ(t->FindPoint(ime), p) << ime;
    EXPECT_EQ(t->PointIndex("C"), 3);
    const Izid r = RunChild([&] { t->PointIndex("TOCKA12"); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "\n\n  *****  NAPAKA" + std::string(42, ' ') + "*****\n  *****  TOCKA:   TOCKA12  NE OBSTAJA "
                     "V SEZNAMU TOCK!!!! *****\n\nPritisni ENTER ... ");
    // A list sized again is looked up afresh.
    t->SetPar(1, 0, 2, 0);
    Beri(*t, "X Q 0 0\n");
    EXPECT_EQ(t->FindPoint("Q"), 0);
    EXPECT_EQ(t->FindPoint("B"), -1);
}
