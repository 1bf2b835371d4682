// Record sets fed one record at a time as the reader feeds them (values in
// metres and radians, the three angle units, So, the zero-deviation
// thresholds and labels, the refused fields, composed angles, the lookup of a
// point by name), and the reader on whole data files (sizing, the reading
// pass over every record kind, its refusals of files that changed or that
// hold records no set takes).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "TestUtil.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"

namespace {
// Arc seconds per radian (180 * 3600 / pi) and pi, as tabulated.
constexpr long double RO = 206264.80624709636L;
constexpr long double PI = 3.14159265358979323846L;

template <class S, class... P>
std::shared_ptr<S> Nov(unsigned long n, P... p)
{
    auto s = std::make_shared<S>();
    s->SetPar(n, p...);
    return s;
}

// Feeds the records of `text` to `s`: the leading word, the record's fields,
// then the rest of the line is skipped.
void Beri(CTerObs& s, const std::string& text)
{
    std::istringstream in(text);
    std::string w;
    for (long i = 0; i < static_cast<long>(s.NObs()) && BeriBesedo(in, w); ++i) {
        s.ReadObs(in, i);
        PreskociVrstico(in);
    }
}

// Everything a fatal refusal prints, from its framed message on.
std::string Konec(const std::string& sporocilo)
{
    return "\n\n **** " + sporocilo + "!!     *** \n\n\tKoncujem program ... \n";
}

std::string Pot(const std::string& ime) { return std::string(NIVEX_TEST_DATA) + "/reader/" + ime; }

// Settings and sizing from `nastavitve`; `vmes` may resize a set before the
// records of `podatki` are read.
struct Mreza {
    CProcSet ps;
    CTerObsZbirka TO;
    CGetObs get;
    std::ostringstream report;

    Mreza(const std::string& nastavitve, const std::string& podatki, const std::function<void(Mreza&)>& vmes = {})
    {
        ps.ReadProcSet(nastavitve, report);
        get.SetCTerObs(ps, TO);
        if (vmes) vmes(*this);
        get.ReadCTerObs(ps, TO, podatki);
    }
};

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
        {Nov<CTerObsPara>(1, 0, "DMS"), "P A B C D 90 0 0 3", {PI / 2}, {3 / RO}, 0},
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

    // An empty set has So 0, not a division by zero.
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
        {Nov<CTerObsHdif>(2, 0), "DELTA H", "h A B 1 0.000001", "h A B 1 0.000002"},
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
                              ":  PODAN STANDARDNI ODKLON NUMERICNO NIC!!!! *****\n\n\n");
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
        {[] { Beri(*Nov<CTerObsVec>(1, 0, 3), "V A B 1 2 3 1 1\n*K\n"); }, "Zapis V (vektor) st. 1" + nepopoln},
        {[] { Nov<CTerObsCrdA>(3, 0, 2, 1); }, "A-priori hitrosti tock (*XV0) so mozne le ob oceni hitrosti (*XVT)"},
        {[] { Nov<CTerObsPara>(1, 0, "RAD"); }, "Nastavitev enote opazovanj NAPACNO [DMS, GON, DEG]"},
        {[] { Nov<CTerObsDir>(1, 0, "GON", "HZ"); }, "Nastavitev vrste opazovanj NAPACNO [DIR, ZEN, AZI]"},
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
        for (long k = 0; k < 4; ++k) {
            for (long c = 0; c < 3; ++c) EXPECT_EQ(a.GetPTS(k, c), std::string(1, tocke[k][c]));
            EXPECT_NEAR(static_cast<double>(a.GetOBS(k, 0) * RO), koti[k] * 3600, 1e-9);
            EXPECT_EQ(a.GetT(k, 1) - a.GetT(k, 0), 1.0L);
        }
        EXPECT_EQ(a.GetT(2, 0), 5.0L);
        // Only angles 0 and 1 share a direction, A->C.
        EXPECT_EQ(a.GetNumCorr(), kor);
        // A's second run is not correlated with its first.
        EXPECT_EQ(a.GetSIG(1, 1), 0.0L);
    }
}

TEST(TerObsTocke, LookupIsCaseSensitiveAndFollowsAResize)
{
    const auto t = Nov<CTerObsCrdA>(4, 0, 2, 0);
    Beri(*t, "X A 0 0\nX B 1 0\nX A 5 5\nX C 2 2\n");
    EXPECT_EQ(t->FindPoint("C"), 3);
    EXPECT_EQ(t->FindPoint("a"), -1);   // names are case-sensitive
    // A list sized again is looked up afresh.
    t->SetPar(1, 0, 2, 0);
    Beri(*t, "X Q 0 0\n");
    EXPECT_EQ(t->FindPoint("Q"), 0);
    EXPECT_EQ(t->FindPoint("B"), -1);
}

TEST(GetObs, PlaneNetwork)
{
    Mreza m(Pot("ravninska.dat"), Pot("ravninska.dat"));
    const CTerObsZbirka& T = m.TO;
    // Xabc opens an X record; the commented direction and the records after
    // *K are not read.  A: B-C, C-D; B: A-C.
    const std::pair<const CTerObs*, unsigned long> stevila[] = {
        {&T.TOCrdA, 4}, {&T.TODir, 5}, {&T.TOAngl, 3}, {&T.TODist2, 3}, {&T.TOCrd, 1}, {&T.TOVec, 1},
        {&T.TOZen, 1},  {&T.TOAzi, 1}, {&T.TOPara, 1}, {&T.TODist3, 1}, {&T.TOH, 1},   {&T.TOHdif, 1}};
    for (const auto& [s, n] : stevila) EXPECT_EQ(s->NObs(), n) << s->GetVrsta();
    EXPECT_EQ(T.TOCrdA.GetPTS(1, 0), "B");
    EXPECT_EQ(T.TOAngl.GetPTS(2, 0), "B");
    EXPECT_EQ(T.TOAngl.GetNumCorr(), 1u);
    // The deviation of the last record stands on the next line.
    EXPECT_NEAR(static_cast<double>(T.TOHdif.GetSIG(0, 0)), 0.001, 1e-18);
    EXPECT_NEAR(static_cast<double>(T.TODir.GetOBS(2, 0) * RO), 225.0 * 3600, 1e-9);
    // So: (2 + 2 + 3) mm / 3 for the distances, (2 + 3) mm / 2 for the
    // coordinates, (sqrt 2 + sqrt 5 + sqrt 4.5 + 1 + 0 + 0)" / 6 for the
    // angles; none for the directions and the point list.
    EXPECT_NEAR(static_cast<double>(T.TODist2.GetSo()), 0.007 / 3, 1e-18);
    EXPECT_NEAR(static_cast<double>(T.TOCrd.GetSo()), 0.0025, 1e-18);
    EXPECT_NEAR(static_cast<double>(T.TOAngl.GetSo() * RO), (std::sqrt(2.0) + std::sqrt(5.0) + std::sqrt(4.5) + 1.0) / 6,
                1e-12);
    EXPECT_EQ(T.TODir.GetSo() + T.TOCrdA.GetSo(), 0.0L);
}

TEST(GetObs, RefusedFiles)
{
    const struct {
        std::string nastavitve, podatki;
        std::function<void(Mreza&)> vmes;
        std::string sporocilo;
    } primeri[] = {
        {"nivelman.dat", "nivelman_s.dat", {},
         "Zapis S (horizontalna smer) st. 1 (vrstica 10): zapisov te vrste 1-razsezna mreza ne sprejme (*DIM 1)"},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.TO.TODist2.SetPar(2, 0, 2); },
         "Zapis D (horizontalna dolzina) st. 3 (vrstica 22): zapisov te vrste je vec, kot jih je prestel pregled datoteke (2)"},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.TO.TOH.SetPar(2, 0); },
         "Zapisov H (merjena visina) je prebranih 1, pregled datoteke pa jih je prestel 2"},
        {"ravninska.dat", "ni_datoteke.dat", {}, "Datoteke s podatki ni mogoce odpreti za branje opazovanj"},
    };
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.podatki);
        const Izid r = RunChild([&] { Mreza m(Pot(p.nastavitve), Pot(p.podatki), p.vmes); });
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.ends_with(Konec(p.sporocilo))) << r.out;
    }
}

TEST(GetObs, LongLinesLongWordsAndRepeatedNames)
{
    // A name of 300 characters, a comment, a remark and blanks far longer
    // than any buffer; each repeated name is reported once and only its first
    // record stays in the list; with *IZPPOD 0 the input report holds the
    // point list only, 12 lines for its three points.
    const std::string dir = TempDir("getobs"), ime(300, 'T');
    WriteFile(dir + "/m.dat", "*IZPPOD 0\n*DIM 2\n#" + std::string(100000, 'x') + "\nX A 0 0 " +
                                  std::string(10000, 'r') + "\nX " + ime + " 100 0\nX A 5 5\nX B 2 0\nX B 9 9\n" +
                                  "D A " + ime + " 100.0 2.0 " + std::string(70000, ' ') + "konec\nD " + ime +
                                  " A 100.0 2.0\n*K\n");
    const Izid r = RunChild([&] {
        Mreza m(dir + "/m.dat", dir + "/m.dat");
        std::ostringstream o;
        m.get.PrintCTerObs(m.ps, m.TO, o);
        const CTerObsDist& d = m.TO.TODist2;
        std::cout << m.TO.TOCrdA.FindPoint("A") << m.TO.TOCrdA.FindPoint("B") << m.TO.TOCrdA.FindPoint(ime) << "|"
                  << (d.GetPTS(1, 0) == ime) << d.GetSIG(1, 0) * 1000 << "|" << Lines(o.str()).size();
    });
    const std::string opozorilo = " je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n";
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\n\n #### Tocka A" + opozorilo + "\n\n #### Tocka B" + opozorilo + "021|12|12");
}

TEST(GetObs, LevellingTablesWithVelocities)
{
    // A levelling network with velocities: the point list with a-priori
    // velocities and flags, measured heights and height differences with
    // their epochs, each table under its header and unit line.
    const std::string dir = TempDir("getobs_hitrosti");
    WriteFile(dir + "/m.dat", "*DIM 1\n*XVT 2010\n*XV0\n*D V\n**V A\nX A 100 0 0\nX B 101 0.001 1\nH B 101 3 2010\n"
                              "h A B 1.0 1 2010\nh A B 1.01 1 2011\n");
    Mreza m(dir + "/m.dat", dir + "/m.dat");
    std::ostringstream o;
    m.get.PrintCTerObs(m.ps, m.TO, o);
    // Each table: a blank line, its title underlined, a blank line, header,
    // units, a rule as wide as the header, the rows, the rule, two line ends.
    std::ostringstream pricakovano;
    const auto tabela = [&pricakovano](const std::string& naslov, const std::string& glava, const std::string& enote,
                                       std::size_t crta, const std::string& vrstice) {
        const std::string c(crta, '-');
        pricakovano << "\n" << naslov << "\n" << std::string(naslov.size(), '-') << "\n\n"
                    << glava << "\n" << enote << "\n" << c << "\n" << vrstice << c << "\n\n";
    };
    tabela("A-PRIORI VISINE TOCK:", "        TC          H         VH      VEL", "                   [m]        [m]", 41,
           "  1        A     100.00000   0.00000   0\n  2        B     101.00000   0.00100   1\n");
    tabela("VISINE TOCK:", "        TC          H         sH        T", "                   [m]       [mm]", 45,
           "  1        B     101.00000    3.00  2010.00\n");
    tabela("OPAZOVANE VISINSKE RAZLIKE:", "        TC1   TC2         DH         sDH      T  ",
           "                          [m]        [mm]", 50,
           "  1        A     B         1.0000    1.00  2010.00\n  2        A     B         1.0100    1.00  2011.00\n");
    EXPECT_EQ(o.str(), pricakovano.str());
}
