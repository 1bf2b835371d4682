// The reader on whole data files: sizing, the reading pass over every record
// kind, composed angles and So, the input report, and the refusals of
// malformed files (a framed message naming the record, never a silent stop
// or a container index error).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

#include "TerObsTestUtil.h"
#include "matrika/najdim.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"

namespace {
std::string Pot(const std::string& ime) { return std::string(NIVEX_TEST_DATA) + "/reader/" + ime; }

// Every object the reader works with, as the program owns them.
struct Mreza {
    CProcSet ps;
    CTerObsZbirka TO;
    CTerObsDir &dir = TO.TODir, &zen = TO.TOZen, &azi = TO.TOAzi;
    CTerObsAngl& angl = TO.TOAngl;
    CTerObsCrd& crd = TO.TOCrd;
    CTerObsCrdA& crdA = TO.TOCrdA;
    CTerObsDist &d2 = TO.TODist2, &d3 = TO.TODist3;
    CTerObsH& h = TO.TOH;
    CTerObsHA& hA = TO.TOHA;
    CTerObsHdif& hdif = TO.TOHdif;
    CTerObsVec& vec = TO.TOVec;
    CTerObsPara& para = TO.TOPara;
    CGetObs get;
    std::ostringstream report;

    // Settings and sizing from `nastavitve`; `vmes` may resize a set before
    // the records of `podatki` are read.
    Mreza(const std::string& nastavitve, const std::string& podatki, const std::function<void(Mreza&)>& vmes = {})
    {
        ps.ReadProcSet(nastavitve, report);
        get.SetCTerObs(ps, TO);
        if (vmes) vmes(*this);
        get.ReadCTerObs(ps, TO, podatki);
    }
    // Table titles of the input report: underlined lines that are not rules.
    std::vector<std::string> Naslovi()
    {
        std::ostringstream o;
        get.PrintCTerObs(ps, TO, o);
        const std::vector<std::string> l = Lines(o.str());
        std::vector<std::string> t;
        for (std::size_t k = 0; k + 1 < l.size(); ++k)
            if (!l[k].empty() && l[k][0] != ' ' && l[k][0] != '-' && l[k + 1] == std::string(l[k].size(), '-'))
                t.push_back(l[k]);
        return t;
    }
};
}  // namespace

TEST(GetObs, PlaneNetworkEveryKind)
{
    Mreza m(Pot("ravninska.dat"), Pot("ravninska.dat"));
    // Xabc opens an X record; the commented direction and the records after
    // *K are not read.  A: B-C, C-D; B: A-C.
    const std::pair<const CTerObs*, unsigned long> stevila[] = {
        {&m.crdA, 4}, {&m.dir, 5}, {&m.angl, 3}, {&m.d2, 3}, {&m.crd, 1}, {&m.vec, 1},
        {&m.zen, 1},  {&m.azi, 1}, {&m.para, 1}, {&m.d3, 1}, {&m.h, 1},   {&m.hdif, 1}};
    for (const auto& [s, n] : stevila) EXPECT_EQ(s->NObs(), n) << s->GetVrsta();
    EXPECT_EQ(m.crdA.GetPTS(1, 0), "B");
    EXPECT_EQ(m.angl.GetPTS(2, 0), "B");
    EXPECT_EQ(m.angl.GetNumCorr(), 1u);
    // The deviation of the last record stands on the next line.
    EXPECT_NEAR(static_cast<double>(m.hdif.GetSIG(0, 0)), 0.001, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.dir.GetOBS(2, 0) * RO), 225.0 * 3600, 1e-9);
    // So: (2 + 2 + 3) mm / 3 for the distances, (2 + 3) mm / 2 for the
    // coordinates, (sqrt 2 + sqrt 5 + sqrt 4.5 + 1 + 0 + 0)" / 6 for the angles.
    EXPECT_NEAR(static_cast<double>(m.d2.GetSo()), 0.007 / 3, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.crd.GetSo()), 0.0025, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.angl.GetSo() * RO),
                (std::sqrt(2.0) + std::sqrt(5.0) + std::sqrt(4.5) + 1.0) / 6, 1e-12);
    EXPECT_EQ(m.dir.GetSo() + m.crdA.GetSo(), 0.0L);
    // The directions appear only through the composed angles.
    EXPECT_EQ(m.Naslovi(),
              (std::vector<std::string>{"A-PRIORI KOORDINATE TOCK:", "KOORDINATE TOCK:", "OPAZOVANI HORIZONTALNI VEKTORJI:",
                                        "SESTAVLJENI KOTI:", "OPAZOVANE ZENITNE RAZDALJE:",
                                        "OPAZOVANI AZIMUTI/SMERNI KOTI:", "OPAZOVANI KOTI MED SMERMI:",
                                        "OPAZOVANE HORIZONTALNE DOLZINE:", "OPAZOVANE PROSTORSKE DOLZINE:",
                                        "VISINE TOCK:", "OPAZOVANE VISINSKE RAZLIKE:"}));

    Mreza n(Pot("nivelman.dat"), Pot("nivelman.dat"));
    EXPECT_EQ(n.hA.NObs(), 3u);
    EXPECT_EQ(n.h.NObs(), 1u);
    ASSERT_EQ(n.hdif.NObs(), 3u);
    EXPECT_NEAR(static_cast<double>(n.hA.GetOBS(2, 0)), 302.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(n.hdif.GetOBS(2, 0)), -2.501, 1e-12);
    EXPECT_NEAR(static_cast<double>(n.hdif.GetSo()), 0.0035 / 3, 1e-18);
    EXPECT_EQ(n.Naslovi(), (std::vector<std::string>{"A-PRIORI VISINE TOCK:", "VISINE TOCK:", "OPAZOVANE VISINSKE RAZLIKE:"}));
}

TEST(GetObs, RefusedFiles)
{
    struct Primer {
        std::string nastavitve, podatki;
        std::function<void(Mreza&)> vmes;
        std::string sporocilo;
    };
    const Primer primeri[] = {
        {"nivelman.dat", "nivelman_s.dat", {},
         "Zapis S (horizontalna smer) st. 1: zapisov te vrste 1-razsezna mreza ne sprejme (*DIM 1)"},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.d2.SetPar(2, 0, 2); },
         "Zapis D (horizontalna dolzina) st. 3: zapisov te vrste je vec, kot jih je prestel pregled datoteke (2)"},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.h.SetPar(2, 0); },
         "Zapisov H (merjena visina) je prebranih 1, pregled datoteke pa jih je prestel 2"},
        {"ravninska.dat", "ni_datoteke.dat", {}, "Datoteke s podatki ni mogoce odpreti za branje opazovanj"},
    };
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.podatki);
        const Izid r = RunChild([&] { Mreza m(Pot(p.nastavitve), Pot(p.podatki), p.vmes); });
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.ends_with(Konec(p.sporocilo))) << r.out;
        EXPECT_EQ(r.out.find("NAPAKA"), std::string::npos);   // not the container's index error
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
    ASSERT_EQ(m.crdA.NObs(), 2u);
    EXPECT_EQ(m.crdA.GetPTS(1, 0), ime);
    ASSERT_EQ(m.d2.NObs(), 2u);
    EXPECT_EQ(m.d2.GetPTS(1, 0), ime);
    EXPECT_NEAR(static_cast<double>(m.d2.GetSIG(1, 0)), 0.002, 1e-18);

    // Each repeated name is reported once and lookups find its first
    // occurrence; with *IZPPOD 0 the report holds the point list only.
    WriteFile(dir + "/dvakrat.dat", "*IZPPOD 0\n*CONTPRINT 1\n*DIM 2\nX A 0 0\nX B 1 0\nX A 5 5\nX B 2 0\nX A 9 9\n"
                                    "X C 3 3\nD A B 100 2\n*K\n");
    const Izid r = RunChild([&] {
        Mreza d(dir + "/dvakrat.dat", dir + "/dvakrat.dat");
        const std::vector<std::string> naslovi = d.Naslovi();
        std::cout << "PRVI:" << najdiA(d.crdA.PTS, "A") << "," << najdiA(d.crdA.PTS, "B");
        for (const auto& t : naslovi) std::cout << "|" << t;
    });
    EXPECT_EQ(r.status, 0);
    const std::string opozorilo = " je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n";
    EXPECT_TRUE(r.out.ends_with("C: CGetObs:\n F: SetCTerObs(... OBS CLASSES ...)\n F: ReadCTerObs(... OBS CLASSES ..., " +
                                dir + "/dvakrat.dat)\n\n\n #### Tocka A" + opozorilo + "\n\n #### Tocka B" + opozorilo +
                                " F: PrintCTerObs(... OBS CLASSES ..., ofstream & izhod)\nPRVI:0,1|A-PRIORI KOORDINATE TOCK:"))
        << r.out;
}
