// The reader on whole data files: sizing, the reading pass over every record
// kind, composed angles and So, and the refusals of malformed files (a framed
// message naming the record, never a silent stop or a container index error).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>

#include "TerObsTestUtil.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"

namespace {
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
}  // namespace

TEST(GetObs, PlaneAndLevellingNetworks)
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

    Mreza n(Pot("nivelman.dat"), Pot("nivelman.dat"));
    EXPECT_EQ(n.TO.TOHA.NObs(), 3u);
    EXPECT_EQ(n.TO.TOH.NObs(), 1u);
    ASSERT_EQ(n.TO.TOHdif.NObs(), 3u);
    EXPECT_NEAR(static_cast<double>(n.TO.TOHA.GetOBS(2, 0)), 302.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(n.TO.TOHdif.GetOBS(2, 0)), -2.501, 1e-12);
    EXPECT_NEAR(static_cast<double>(n.TO.TOHdif.GetSo()), 0.0035 / 3, 1e-18);
}

TEST(GetObs, RefusedFiles)
{
    const struct {
        std::string nastavitve, podatki;
        std::function<void(Mreza&)> vmes;
        std::string sporocilo;
    } primeri[] = {
        {"nivelman.dat", "nivelman_s.dat", {},
         "Zapis S (horizontalna smer) st. 1: zapisov te vrste 1-razsezna mreza ne sprejme (*DIM 1)"},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.TO.TODist2.SetPar(2, 0, 2); },
         "Zapis D (horizontalna dolzina) st. 3: zapisov te vrste je vec, kot jih je prestel pregled datoteke (2)"},
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
    const std::string dir = TempDir("getobs");
    const std::string ime(300, 'T');
    WriteFile(dir + "/dolge.dat", "*DIM 2\n#" + std::string(100000, 'x') + "\nX A 0 0 " + std::string(10000, 'r') +
                                      "\nX " + ime + " 100 0\nD A " + ime + " 100.0 2.0 " + std::string(70000, ' ') +
                                      "konec\nD " + ime + " A 100.0 2.0\n*K\n");
    Mreza m(dir + "/dolge.dat", dir + "/dolge.dat");
    ASSERT_EQ(m.TO.TOCrdA.NObs(), 2u);
    EXPECT_EQ(m.TO.TOCrdA.GetPTS(1, 0), ime);
    ASSERT_EQ(m.TO.TODist2.NObs(), 2u);
    EXPECT_EQ(m.TO.TODist2.GetPTS(1, 0), ime);
    EXPECT_NEAR(static_cast<double>(m.TO.TODist2.GetSIG(1, 0)), 0.002, 1e-18);

    // Each repeated name is reported once and lookups find its first
    // occurrence; with *IZPPOD 0 the input report holds the point list only.
    WriteFile(dir + "/dvakrat.dat", "*IZPPOD 0\n*DIM 2\nX A 0 0\nX B 1 0\nX A 5 5\nX B 2 0\nX A 9 9\n"
                                    "X C 3 3\nD A B 100 2\n*K\n");
    const Izid r = RunChild([&] {
        Mreza d(dir + "/dvakrat.dat", dir + "/dvakrat.dat");
        std::ostringstream o;
        d.get.PrintCTerObs(d.ps, d.TO, o);
        std::cout << "PRVI:" << d.TO.TOCrdA.FindPoint("A") << "," << d.TO.TOCrdA.FindPoint("B") << "|"
                  << Lines(o.str()).size() << "|" << Lines(o.str()).at(1);
    });
    EXPECT_EQ(r.status, 0);
    const std::string opozorilo = " je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n";
    EXPECT_EQ(r.out, "\n\n #### Tocka A" + opozorilo + "\n\n #### Tocka B" + opozorilo +
                         "PRVI:0,1|15|A-PRIORI KOORDINATE TOCK:");
}
