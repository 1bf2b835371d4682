// Record sets read one record kind at a time from text, as the reader feeds
// them: values converted to metres and radians, deviations converted, the
// three angle units, the zero-deviation thresholds and the refused fields.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsVec.h"
#include "src/FBranje.h"

namespace {
// Arc seconds per radian (180 * 3600 / pi) and pi, as tabulated.
constexpr long double RO = 206264.80624709636L;
constexpr long double PI = 3.14159265358979323846L;

// Feeds the records of `text` to the set as the reading pass does: the
// leading word, the record's fields, the rest of the line.
void Beri(CTerObs& s, const std::string& text)
{
    std::istringstream in(text);
    std::string w;
    for (long i = 0; i < static_cast<long>(s.NObs()); ++i) {
        ASSERT_TRUE(BeriBesedo(in, w));
        s.ReadObs(in, i);
        PreskociVrstico(in);
    }
}

void Blizu(long double a, long double b, long double rel = 1e-15L)
{
    EXPECT_LE(std::fabs(a - b), rel * std::fmax(1.0L, std::fabs(b))) << static_cast<double>(a) << " vs "
                                                                      << static_cast<double>(b);
}
}  // namespace

TEST(TerObsRead, PointListsWithAndWithoutVelocities)
{
    CTerObsCrdA a2;
    a2.SetPar(2, 1, 2, 1);
    Beri(a2, "X A 100.5 200.25 0.001 -0.002 1\nXb B 5 6 0 0 0 remark\n");
    EXPECT_EQ(a2.GetPTS(0, 0), "A");
    EXPECT_EQ(a2.GetPTS(1, 0), "B");
    Blizu(a2.GetOBS(0, 0), 100.5L);
    Blizu(a2.GetOBS(0, 1), 200.25L);
    Blizu(a2.GetVELA(0, 1), -0.002L);
    EXPECT_EQ(a2.GetIfVel(0), 1);
    EXPECT_EQ(a2.GetIfVel(1), 0);
    EXPECT_EQ(a2.GetSo(), 0.0L);

    CTerObsCrdA a3;
    a3.SetPar(1, 0, 3, 0);
    Beri(a3, "X T1 1 2 3.5\n");
    Blizu(a3.GetOBS(0, 2), 3.5L);
    EXPECT_EQ(a3.OBS.ncol(), 3u);
    EXPECT_EQ(a3.VELA.nrow(), 0u);

    CTerObsHA h;
    h.SetPar(2, 1, 1);
    Beri(h, "X R1 312.12345 0.0005 1\nX R2 1e2 0 0\n");
    Blizu(h.GetOBS(0, 0), 312.12345L);
    Blizu(h.GetVELA(0, 0), 0.0005L);
    Blizu(h.GetOBS(1, 0), 100.0L);
    EXPECT_EQ(h.GetIfVel(0), 1);
}

TEST(TerObsRead, PointObservationsAndLinearObservations)
{
    CTerObsCrd c;
    c.SetPar(1, 1, 3);
    Beri(c, "C A 10 20 30 2.0 3.0 4.0 2014.5\n");
    Blizu(c.GetOBS(0, 2), 30.0L);
    Blizu(c.GetSIG(0, 0), 0.002L);
    Blizu(c.GetSIG(0, 2), 0.004L);
    Blizu(c.GetT(0, 0), 2014.5L);

    CTerObsH h;
    h.SetPar(1, 0);
    Beri(h, "H A 312.5 2\n");
    Blizu(h.GetOBS(0, 0), 312.5L);
    Blizu(h.GetSIG(0, 0), 0.002L);

    CTerObsDist d;
    d.SetPar(1, 0, 3);
    Beri(d, "L A B 125.4321 2.5\n");
    EXPECT_EQ(d.GetPTS(0, 1), "B");
    Blizu(d.GetOBS(0, 0), 125.4321L);
    Blizu(d.GetSIG(0, 0), 0.0025L);
    EXPECT_EQ(d.GetDim(), 3);

    CTerObsHdif dh;
    dh.SetPar(1, 1);
    Beri(dh, "h A B -1.2345 0.5 2015\n");
    Blizu(dh.GetOBS(0, 0), -1.2345L);
    Blizu(dh.GetSIG(0, 0), 0.0005L);
    Blizu(dh.GetT(0, 0), 2015.0L);

    // Three components, then three deviations; two of each in a plane.
    CTerObsVec v3;
    v3.SetPar(1, 0, 3);
    Beri(v3, "V A B 1.5 -2.5 3.5 1 2 3\n");
    Blizu(v3.GetOBS(0, 1), -2.5L);
    Blizu(v3.GetOBS(0, 2), 3.5L);
    Blizu(v3.GetSIG(0, 0), 0.001L);
    Blizu(v3.GetSIG(0, 2), 0.003L);
    CTerObsVec v2;
    v2.SetPar(1, 0, 2);
    Beri(v2, "V A B 1.5 -2.5 1 2 99\n");
    Blizu(v2.GetSIG(0, 1), 0.002L);
    EXPECT_EQ(v2.SIG.ncol(), 2u);
}

TEST(TerObsRead, AnglesInEachUnit)
{
    // 10 deg 20' 30.5" = 37230.5"; 1" deviation.
    CTerObsDir dms;
    dms.SetPar(2, 0, "DMS", "DIR");
    Beri(dms, "S A B 10 20 30.5 1.0\nS A C -10 20 30 2\n");
    Blizu(dms.GetOBS(0, 0), 37230.5L / RO);
    Blizu(dms.GetSIG(0, 0), 1.0L / RO);
    // The sign of the degrees is not carried: -10 + 20/60 + 30/3600 deg = -34770".
    Blizu(dms.GetOBS(1, 0), -34770.0L / RO);

    // 200 gon is pi; 1 mgon is pi / 200000.
    CTerObsDir gon;
    gon.SetPar(1, 1, "GON", "ZEN");
    Beri(gon, "Z A B 200 1 2010.25\n");
    Blizu(gon.GetOBS(0, 0), PI);
    Blizu(gon.GetSIG(0, 0), PI / 200000.0L);
    Blizu(gon.GetT(0, 0), 2010.25L);
    EXPECT_EQ(gon.GetAngTyp(), "ZEN");

    // 45.5 deg = 163800"; 2" deviation.
    CTerObsDir deg;
    deg.SetPar(1, 0, "DEG", "AZI");
    Beri(deg, "A A B 45.5 2\n");
    Blizu(deg.GetOBS(0, 0), 163800.0L / RO);
    Blizu(deg.GetSIG(0, 0), 2.0L / RO);

    // Four names in file order; a zero deviation is accepted here.
    CTerObsPara p;
    p.SetPar(1, 0, "DMS");
    Beri(p, "P A B C D 90 0 0 0\n");
    EXPECT_EQ(p.GetPTS(0, 2), "C");
    EXPECT_EQ(p.GetPTS(0, 3), "D");
    Blizu(p.GetOBS(0, 0), PI / 2);
    EXPECT_EQ(p.GetSIG(0, 0), 0.0L);
}

TEST(TerObsRead, MeanDeviationOfASet)
{
    CTerObsVec v;
    v.SetPar(2, 0, 2);
    Beri(v, "V A B 1 1 1 2\nV A C 1 1 -3 4\n");
    v.CalcRefStDApr();
    Blizu(v.GetSo(), 0.0025L, 1e-15L);   // (1 + 2 + 3 + 4) mm / 4
    EXPECT_EQ(v.GetRefStDApr(), v.GetSo());
    CTerObsDist prazna;
    prazna.CalcRefStDApr();
    EXPECT_EQ(prazna.GetSo(), 0.0L);
}

namespace {
struct Prag {
    const char* vrsta;
    const char* label;
    std::string na;     // record whose deviation is exactly at the threshold
    std::string nad;    // the same just above it
};

void Preberi(const std::string& vrsta, const std::string& text)
{
    if (vrsta == "C") { CTerObsCrd s; s.SetPar(1, 0, 2); Beri(s, text); }
    else if (vrsta == "H") { CTerObsH s; s.SetPar(1, 0); Beri(s, text); }
    else if (vrsta == "D") { CTerObsDist s; s.SetPar(1, 0, 2); Beri(s, text); }
    else if (vrsta == "V") { CTerObsVec s; s.SetPar(1, 0, 3); Beri(s, text); }
    else if (vrsta == "h") { CTerObsHdif s; s.SetPar(1, 0); Beri(s, text); }
    else if (vrsta == "S") { CTerObsDir s; s.SetPar(1, 0, "DMS", "DIR"); Beri(s, text); }
    else if (vrsta == "Z") { CTerObsDir s; s.SetPar(1, 0, "GON", "ZEN"); Beri(s, text); }
    else if (vrsta == "A") { CTerObsDir s; s.SetPar(1, 0, "DEG", "AZI"); Beri(s, text); }
}
}  // namespace

TEST(TerObsZeroDeviation, ThresholdPerKind)
{
    const Prag pragovi[] = {
        {"C", "KOORDINATE", "C A 1 2 3.0 0.0001\n", "C A 1 2 3.0 0.0002\n"},
        {"H", "MERJEN H", "H A 1 0.000001\n", "H A 1 0.000002\n"},
        {"D", "DOLZINA", "D A B 10 -0.00001\n", "D A B 10 0.00002\n"},
        {"V", "VEKTOR", "V A B 1 2 3 1 0.00001 1\n", "V A B 1 2 3 1 0.00002 1\n"},
        {"h", "DELTA H", "h A B 1 0.000001\n", "h A B 1 -0.000002\n"},
        {"S", "HZ SMER", "S A B 1 2 3 0.0001\n", "S A B 1 2 3 0.0002\n"},
        {"Z", "HZ SMER", "Z A B 100 0.0001\n", "Z A B 100 0.0002\n"},
        {"A", "HZ SMER", "A A B 10 0\n", "A A B 10 0.0002\n"},
    };
    for (const Prag& p : pragovi) {
        SCOPED_TRACE(p.vrsta);
        const Izid na = RunChild([&] { Preberi(p.vrsta, p.na); std::cout << "PREBRANO"; });
        EXPECT_EQ(na.status, 1);
        EXPECT_EQ(na.out.find("PREBRANO"), std::string::npos);
        std::string label(15, ' ');
        label.replace(15 - std::string(p.label).size(), std::string::npos, p.label);
        const std::string pricakovano = "\n\n  *****  NAPAKA" + std::string(74, ' ') + "*****\n\n" +
                                        "  *****  OPAZOVANJE:     0.  " + label +
                                        ":  PODAN STANDARDNI ODKLON NUMERICNO NIC!!!! *****\n\nPritisni ENTER ... ";
        EXPECT_EQ(na.out, pricakovano);

        const Izid nad = RunChild([&] { Preberi(p.vrsta, p.nad); std::cout << "PREBRANO"; });
        EXPECT_EQ(nad.status, 0);
        EXPECT_EQ(nad.out, "PREBRANO");
    }
}

TEST(TerObsRefusal, FieldsThatAreNotNumbersOrMissing)
{
    struct Primer {
        std::function<void()> f;
        std::string sporocilo;
    };
    const Primer primeri[] = {
        {[] { CTerObsDist d; d.SetPar(2, 0, 2); Beri(d, "D A B 10 1\nD A C 12,5 1\n"); },
         " **** Zapis D (horizontalna dolzina) st. 2: beseda \"12,5\" ni stevilo!!     *** "},
        {[] { CTerObsHA h; h.SetPar(1, 0, 0); Beri(h, "X A 1O0.0\n"); },
         " **** Zapis X (priblizna visina tocke) st. 1: beseda \"1O0.0\" ni stevilo!!     *** "},
        {[] { CTerObsDir s; s.SetPar(1, 0, "DMS", "DIR"); Beri(s, "S A B 10.5 20 30 1\n"); },
         " **** Zapis S (horizontalna smer) st. 1: beseda \"10.5\" ni celo stevilo [-32768, 32767]!!     *** "},
        {[] { CTerObsCrdA a; a.SetPar(1, 1, 2, 0); Beri(a, "X A 1 2 -1\n"); },
         " **** Zapis X (priblizne koordinate tocke) st. 1: beseda \"-1\" ni celo stevilo [0, 65535]!!     *** "},
        {[] { CTerObsHdif h; h.SetPar(1, 0); Beri(h, "h A B 1.5"); },
         " **** Zapis h (visinska razlika) st. 1 je nepopoln (konec datoteke ali *K pred zadnjim podatkom)!!     *** "},
        {[] { CTerObsVec v; v.SetPar(1, 0, 3); Beri(v, "V A B 1 2 3 1 1\n*K\n"); },
         " **** Zapis V (vektor) st. 1 je nepopoln (konec datoteke ali *K pred zadnjim podatkom)!!     *** "},
        {[] { CTerObsCrdA a; a.SetPar(3, 0, 2, 1); },
         " **** A-priori hitrosti tock (*XV0) so mozne le ob oceni hitrosti (*XVT)!!     *** "},
        {[] { CTerObsDir s; s.SetPar(1, 0, "RAD", "DIR"); },
         " **** Nastavitev enote opazovanj NAPACNO [DMS, GON, DEG]!!     *** "},
        {[] { CTerObsDir s; s.SetPar(1, 0, "GON", "HZ"); },
         " **** Nastavitev vrste opazovanj NAPACNO [DIR, ZEN, AZI]!!     *** "},
        {[] { CTerObsDist d; d.SetPrintQuant("VSE"); },
         " **** Nastavitev za izpis kolicine opazovanj NAPACNO [ALL, LINE]!!     *** "},
        {[] { CTerObsDist d; d.SetPrintWhat("X"); },
         " **** Nastavitev za izpis dela opazovanj NAPACNO [OBS, PT, ALL]!!     *** "},
    };
    for (const Primer& p : primeri) {
        const Izid r = RunChild([&] { p.f(); std::cout << "PREBRANO"; });
        EXPECT_EQ(r.status, 1) << p.sporocilo;
        EXPECT_EQ(r.out, "\n\n" + p.sporocilo + "\n\n\tKoncujem program ... Pritisni ENTER ... ");
    }
}
