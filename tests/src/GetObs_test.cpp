// The reader on whole data files: sizing from the settings pass, the reading
// pass over every record kind, the composed angles and So, the input report,
// and the refusals of malformed files (exit status 1 and a framed message
// naming the record, never a silent stop or a container index error).
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "matrika/najdim.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"
#include "src/CTerObsAngl.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsVec.h"

namespace {
constexpr long double RO = 206264.80624709636L;   // arc seconds per radian

std::string Pot(const std::string& ime) { return std::string(NIVEX_TEST_DATA) + "/reader/" + ime; }

// Every object the reader works with, as the program owns them.
struct Mreza {
    CProcSet ps;
    CTerObsDir dir, zen, azi;
    CTerObsAngl angl{dir};
    CTerObsCrd crd;
    CTerObsCrdA crdA;
    CTerObsDist d2, d3;
    CTerObsH h;
    CTerObsHA hA;
    CTerObsHdif hdif;
    CTerObsVec vec;
    CTerObsPara para;
    CGetObs get;
    std::ostringstream report;

    void Nastavi(const std::string& f)
    {
        ps.ReadProcSet(f, report);
        get.SetCTerObs(ps, dir, zen, crd, crdA, d2, d3, h, hA, hdif, vec, azi, para);
    }
    void Beri(const std::string& f)
    {
        get.ReadCTerObs(ps, dir, angl, zen, crd, crdA, d2, d3, h, hA, hdif, vec, azi, para, f);
    }
    std::string Izpis()
    {
        std::ostringstream o;
        get.PrintCTerObs(ps, angl, zen, crd, crdA, d2, d3, h, hA, hdif, vec, azi, para, o);
        return o.str();
    }
};

// Lines of a report that are table titles: underlined, and not a record
// line (those begin with the running number in three columns).
std::vector<std::string> Naslovi(const std::string& text)
{
    const std::vector<std::string> l = Lines(text);
    std::vector<std::string> t;
    for (std::size_t k = 0; k + 1 < l.size(); ++k)
        if (!l[k].empty() && l[k][0] != ' ' && l[k][0] != '-' && l[k + 1] == std::string(l[k].size(), '-'))
            t.push_back(l[k]);
    return t;
}
}  // namespace

TEST(GetObs, PlaneNetworkEveryKind)
{
    Mreza m;
    m.Nastavi(Pot("ravninska.dat"));
    m.Beri(Pot("ravninska.dat"));
    // Xabc opens an X record; the commented direction and the records after
    // *K are not read.
    EXPECT_EQ(m.crdA.NObs(), 4u);
    EXPECT_EQ(m.crdA.GetPTS(1, 0), "B");
    EXPECT_EQ(m.dir.NObs(), 5u);
    EXPECT_EQ(m.d2.NObs(), 3u);
    EXPECT_EQ(m.d2.GetPTS(2, 0), "B");
    EXPECT_EQ(m.crd.NObs(), 1u);
    EXPECT_EQ(m.vec.NObs(), 1u);
    EXPECT_EQ(m.zen.NObs(), 1u);
    EXPECT_EQ(m.azi.NObs(), 1u);
    EXPECT_EQ(m.para.NObs(), 1u);
    EXPECT_EQ(m.d3.NObs(), 1u);
    EXPECT_EQ(m.h.NObs(), 1u);
    ASSERT_EQ(m.hdif.NObs(), 1u);
    // The deviation of the last record stands on the next line.
    EXPECT_NEAR(static_cast<double>(m.hdif.GetSIG(0, 0)), 0.001, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.vec.GetSIG(0, 1)), 0.0025, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.dir.GetOBS(2, 0) * RO), 225.0 * 3600, 1e-9);
    EXPECT_NEAR(static_cast<double>(m.para.GetOBS(0, 0) * RO), 90.0 * 3600, 1e-9);

    // A: B-C, C-D (sharing A->C, 1"); B: A-C.
    ASSERT_EQ(m.angl.NObs(), 3u);
    EXPECT_EQ(m.angl.GetNumCorr(), 1u);
    EXPECT_EQ(m.angl.GetPTS(2, 0), "B");
    // So: mean |SIG| over all elements; (2 + 2 + 3) mm / 3 for the distances,
    // (sqrt 2 + sqrt 5 + sqrt 4.5 + 1 + 0 + 0)" / 6 for the angles.
    EXPECT_NEAR(static_cast<double>(m.d2.GetSo()), 0.007 / 3, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.crd.GetSo()), 0.0025, 1e-18);
    EXPECT_NEAR(static_cast<double>(m.angl.GetSo() * RO),
                (std::sqrt(2.0) + std::sqrt(5.0) + std::sqrt(4.5) + 1.0) / 6, 1e-12);
    EXPECT_EQ(m.dir.GetSo(), 0.0L);
    EXPECT_EQ(m.crdA.GetSo(), 0.0L);

    // The input report: point list, then the observations in their order;
    // the directions appear only through the composed angles.
    EXPECT_EQ(Naslovi(m.Izpis()),
              (std::vector<std::string>{"A-PRIORI KOORDINATE TOCK:", "KOORDINATE TOCK:", "OPAZOVANI HORIZONTALNI VEKTORJI:",
                                        "SESTAVLJENI KOTI:", "OPAZOVANE ZENITNE RAZDALJE:",
                                        "OPAZOVANI AZIMUTI/SMERNI KOTI:", "OPAZOVANI KOTI MED SMERMI:",
                                        "OPAZOVANE HORIZONTALNE DOLZINE:", "OPAZOVANE PROSTORSKE DOLZINE:",
                                        "VISINE TOCK:", "OPAZOVANE VISINSKE RAZLIKE:"}));
}

TEST(GetObs, PointListOnlyWithoutIzpPodAndTrace)
{
    const std::string dir = TempDir("getobs");
    const std::string f = dir + "/izppod.dat";
    WriteFile(f, "*IZPPOD 0\n*CONTPRINT 1\n" + ReadFile(Pot("ravninska.dat")));
    const Izid r = RunChild([&] {
        Mreza m;
        m.Nastavi(f);
        m.Beri(f);
        const std::string izpis = m.Izpis();
        std::cout << "NASLOVI:";
        for (const auto& t : Naslovi(izpis)) std::cout << t << "|";
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("C: CGetObs:\n F: SetCTerObs(... OBS CLASSES ...)\n"), std::string::npos);
    EXPECT_NE(r.out.find(" F: ReadCTerObs(... OBS CLASSES ..., " + f + ")\n"), std::string::npos);
    EXPECT_NE(r.out.find(" F: PrintCTerObs(... OBS CLASSES ..., ofstream & izhod)\n"), std::string::npos);
    EXPECT_NE(r.out.find("NASLOVI:A-PRIORI KOORDINATE TOCK:|"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.find("NASLOVI:")), "NASLOVI:A-PRIORI KOORDINATE TOCK:|");
}

TEST(GetObs, LevellingNetworkReadCompletely)
{
    Mreza m;
    m.Nastavi(Pot("nivelman.dat"));
    m.Beri(Pot("nivelman.dat"));
    EXPECT_EQ(m.hA.NObs(), 3u);
    EXPECT_EQ(m.crdA.NObs(), 0u);
    EXPECT_EQ(m.h.NObs(), 1u);
    ASSERT_EQ(m.hdif.NObs(), 3u);
    EXPECT_NEAR(static_cast<double>(m.hA.GetOBS(2, 0)), 302.5, 1e-12);
    EXPECT_NEAR(static_cast<double>(m.hdif.GetOBS(2, 0)), -2.501, 1e-12);
    EXPECT_NEAR(static_cast<double>(m.hdif.GetSo()), 0.0035 / 3, 1e-18);
    EXPECT_EQ(Naslovi(m.Izpis()),
              (std::vector<std::string>{"A-PRIORI VISINE TOCK:", "VISINE TOCK:", "OPAZOVANE VISINSKE RAZLIKE:"}));
}

TEST(GetObs, RefusedFiles)
{
    struct Primer {
        std::string nastavitve, podatki;
        std::function<void(Mreza&)> poSizing;
        std::string sporocilo;
    };
    const auto nic = [](Mreza&) {};
    const Primer primeri[] = {
        {"ravninska.dat", "vejica.dat", nic,
         " **** Zapis D (horizontalna dolzina) st. 2: beseda \"100,0\" ni stevilo!!     *** "},
        {"ravninska.dat", "crka_o.dat", nic,
         " **** Zapis X (priblizne koordinate tocke) st. 4: beseda \"9O0.0\" ni stevilo!!     *** "},
        {"ravninska.dat", "konec.dat", nic,
         " **** Zapis L (prostorska dolzina) st. 1 je nepopoln (konec datoteke ali *K pred zadnjim podatkom)!!     *** "},
        {"ravninska.dat", "k_prekine.dat", nic,
         " **** Zapis h (visinska razlika) st. 1 je nepopoln (konec datoteke ali *K pred zadnjim podatkom)!!     *** "},
        {"nivelman.dat", "nivelman_s.dat", nic,
         " **** Zapis S (horizontalna smer) st. 1: zapisov te vrste 1-razsezna mreza ne sprejme (*DIM 1)!!     *** "},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.d2.SetPar(2, 0, 2); },
         " **** Zapis D (horizontalna dolzina) st. 3: zapisov te vrste je vec, kot jih je prestel pregled datoteke (2)!!     *** "},
        {"ravninska.dat", "ravninska.dat", [](Mreza& m) { m.h.SetPar(2, 0); },
         " **** Zapisov H (merjena visina) je prebranih 1, pregled datoteke pa jih je prestel 2!!     *** "},
        {"ravninska.dat", "ni_datoteke.dat", nic,
         " **** Datoteke s podatki ni mogoce odpreti za branje opazovanj!!     *** "},
    };
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.podatki);
        const Izid r = RunChild([&] {
            Mreza m;
            m.Nastavi(Pot(p.nastavitve));
            p.poSizing(m);
            m.Beri(Pot(p.podatki));
            std::cout << "PREBRANO";
        });
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out.find("PREBRANO"), std::string::npos);
        EXPECT_EQ(r.out.find("NAPAKA"), std::string::npos);   // not the container's index error
        const std::string konec = "\n\n" + p.sporocilo + "\n\n\tKoncujem program ... Pritisni ENTER ... ";
        ASSERT_GE(r.out.size(), konec.size());
        EXPECT_EQ(r.out.substr(r.out.size() - konec.size()), konec);
    }
}

TEST(GetObs, LongLinesAndLongWords)
{
    const std::string dir = TempDir("getobs");
    const std::string f = dir + "/dolge.dat";
    const std::string ime(300, 'T');
    std::string t = "*DIM 2\n#" + std::string(100000, 'x') + "\n";
    t += "X A 0 0 " + std::string(10000, 'r') + "\n";
    t += "X " + ime + " 100 0\n";
    t += "D A " + ime + " 100.0 2.0 " + std::string(70000, ' ') + "konec\n";
    t += "D " + ime + " A 100.0 2.0\n*K\n";
    WriteFile(f, t);
    Mreza m;
    m.Nastavi(f);
    m.Beri(f);
    ASSERT_EQ(m.crdA.NObs(), 2u);
    EXPECT_EQ(m.crdA.GetPTS(1, 0), ime);
    ASSERT_EQ(m.d2.NObs(), 2u);
    EXPECT_EQ(m.d2.GetPTS(1, 0), ime);
    EXPECT_NEAR(static_cast<double>(m.d2.GetSIG(1, 0)), 0.002, 1e-18);
}

TEST(GetObs, RepeatedPointNameWarnsAndFirstOccurrenceCounts)
{
    const std::string dir = TempDir("getobs");
    const std::string f = dir + "/dvakrat.dat";
    WriteFile(f, "*DIM 2\nX A 0 0\nX B 1 0\nX A 5 5\nX B 2 0\nX A 9 9\nX C 3 3\n*K\n");
    const Izid r = RunChild([&] {
        Mreza m;
        m.Nastavi(f);
        m.Beri(f);
        std::cout << "PRVI:" << najdiA(m.crdA.PTS, "A") << "," << najdiA(m.crdA.PTS, "B");
    });
    EXPECT_EQ(r.status, 0);
    const std::string a = "\n\n #### Tocka A je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n";
    const std::string b = "\n\n #### Tocka B je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n";
    EXPECT_NE(r.out.find(a + b + "PRVI:0,1"), std::string::npos) << r.out;
}
