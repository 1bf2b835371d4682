// Approximate coordinates computed for points declared by the name alone:
// each network of tests/data/priblizne is written with "X name  # x y"
// lines, points without coordinates whose remark holds the coordinates a
// surveyor would have given by hand (the true ones 5 cm off); with the
// remark's values written in, the file is the same network with them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "funkcije/Besedila.h"

namespace {
std::string Mreza(const std::string& ime) { return ReadFile(NIVEX_TEST_DATA "/priblizne/" + ime + ".dat"); }

// The network with the coordinates of the remarks given.
std::string ZKoordinatami(const std::string& data)
{
    return std::regex_replace(data, std::regex("^(X \\S+)\\s+# ", std::regex::multiline), "$1 ");
}

// The coordinates in the remarks, by point.
std::map<std::string, std::vector<long double>> Podane(const std::string& data)
{
    std::map<std::string, std::vector<long double>> p;
    std::istringstream s(data);
    for (std::string l; std::getline(s, l);) {
        std::smatch m;
        if (!std::regex_match(l, m, std::regex("X (\\S+)\\s+# (.*)"))) continue;
        std::istringstream v(m[2].str());
        for (long double x; v >> x;) p[m[1]].push_back(x);
    }
    return p;
}

// The line (from 1) of the first line that begins with `zacetek`.
long Vrstica(const std::string& data, const std::string& zacetek)
{
    std::istringstream s(data);
    long n = 0;
    for (std::string l; std::getline(s, l);)
        if (++n, l.rfind(zacetek, 0) == 0) return n;
    return -1;
}
}  // namespace

// Each kind of network adjusts to the same coordinates as with the
// coordinates given, every point computed by the methods it was built for
// and within 0.1 m of where the adjustment puts it.
TEST(Priblizne, NetworksAdjustAsWithTheirCoordinates)
{
    const std::map<std::string, std::map<std::string, unsigned>> nacini = {
        {"nivelman", {{"N1", kPrNivelman}, {"N3", kPrNivelman}}},
        {"ravninska", {{"P1", kPrPolarno}, {"P2", kPrPresek}, {"P3", kPrNazaj}, {"P4", kPrLok}, {"P5", kPrPolarno},
                       {"P6", kPrPolarno}, {"P7", kPrPolarno}, {"P8", kPrPolarno}}},
        {"prostorska", {{"Q1", kPrZenitna | kPrPolarno}, {"Q2", kPrVektor}, {"Q3", kPrOpazovane}}},
        {"podobnost", {{"P1", kPrPodobnost}, {"P2", kPrPodobnost}, {"P3", kPrPodobnost}}},
    };
    for (const auto& [ime, pricakovani] : nacini) {
        SCOPED_TRACE(ime);
        const std::string data = Mreza(ime);
        const Izravnava a = Izravnaj(data), b = Izravnaj(ZKoordinatami(data));
        EXPECT_LT(NajvecjaRazlika(a, b), 1e-6L);
        const auto& priblizne = a.run->rez.priblizne;
        EXPECT_EQ(priblizne.size(), Podane(data).size());
        for (const PribliznaTocka& t : priblizne) {
            for (std::size_t k = 0; k < a.tocke.at(t.ime).size(); ++k)
                EXPECT_NEAR(static_cast<double>(t.x[k]), static_cast<double>(a.tocke.at(t.ime)[k]), 0.1) << t.ime;
            if (pricakovani.count(t.ime)) {
                EXPECT_EQ(t.nacini & pricakovani.at(t.ime), pricakovani.at(t.ime)) << t.ime;
            }
            EXPECT_FALSE(t.groba) << t.ime;
        }
    }
}

// A free network with no coordinates at all is built in a local frame from
// its first station: the same adjusted observations and global test as with
// coordinates (the inner constraints hold the frame elsewhere).
TEST(Priblizne, FreeNetworkInALocalFrame)
{
    const std::string data = Mreza("prosta");
    const Izravnava a = Izravnaj(data), b = Izravnaj(ZKoordinatami(data));
    const CRezultati &ra = a.run->rez, &rb = b.run->rez;
    ASSERT_EQ(ra.opazovanja.size(), rb.opazovanja.size());
    for (std::size_t i = 0; i < ra.opazovanja.size(); ++i)
        EXPECT_NEAR(static_cast<double>(ra.opazovanja[i].izravnano), static_cast<double>(rb.opazovanja[i].izravnano),
                    1e-8);
    EXPECT_NEAR(static_cast<double>(ra.globalniTest.statistika), static_cast<double>(rb.globalniTest.statistika), 1e-6);
    EXPECT_EQ(ra.globalniTest.prostostne, rb.globalniTest.prostostne);
    for (const PribliznaTocka& t : ra.priblizne) EXPECT_TRUE(t.nacini & kPrLokalni) << t.ime;
}

// A gross error of 20 standard deviations in a direction and in a distance
// the approximation uses moves no point by more than a metre, and the data
// snooping then finds the record.
TEST(Priblizne, GrossErrorIsOutvotedAndSnooped)
{
    const std::string data = Mreza("gosta");
    // 20 sigma in a direction and a distance; 100 m in a distance, named as rough data.
    const std::pair<std::string, std::string> napake[] = {
        {"S A P1 ", "0.0055556"}, {"D A P1 ", "0.0400"}, {"D B P2 ", "100"}};
    for (const auto& [zapis, napaka] : napake) {
        SCOPED_TRACE(zapis);
        const long v = Vrstica(data, zapis);
        std::istringstream s(data);
        std::string pokvarjeni;
        long n = 0;
        for (std::string l; std::getline(s, l);) {
            if (++n == v) {
                std::istringstream w(l.substr(zapis.size()));
                long double x = 0;
                w >> x;
                std::ostringstream o;
                o.precision(10);
                o << zapis << x + std::stold(napaka) << " " << (zapis[0] == 'S' ? "1.0" : "2.0");
                l = o.str();
            }
            pokvarjeni += l + "\n";
        }
        const std::string iskanje = ZNastavitvijo(pokvarjeni, "*SNOOP", "");
        const Izravnava a = Izravnaj(iskanje);
        const auto podane = Podane(data);
        for (const PribliznaTocka& t : a.run->rez.priblizne)
            EXPECT_LT(std::hypot(static_cast<double>(t.x[0] - podane.at(t.ime)[0]),
                                 static_cast<double>(t.x[1] - podane.at(t.ime)[1])), 1.0) << t.ime;
        const bool groba = napaka == "100";
        EXPECT_EQ(a.report.find(BesediloF(Besedilo::OpozoriloPribliznaRazpon, "P2", 0.0, 0.1).substr(6, 34)) !=
                      std::string::npos, groba);
        ASSERT_FALSE(a.run->rez.iskanje.izloceni.empty());
        EXPECT_EQ(a.run->rez.iskanje.izloceni.front().vrstica, Vrstica(iskanje, zapis));
    }
}

// A point that cannot be computed is named with what it lacks and the run
// ends; a name in an observation that no X record declares stays refused;
// a point without coordinates may not be held by the datum.
TEST(Priblizne, PointsThatCannotBeComputedAreNamed)
{
    const std::string glava = "*DIM 2\n*AU DEG\n*D V\n**V A\n**V B\nX A 0 0\nX B 100 0\n";
    const std::string dir = TempDir("priblizne");
    WriteFile(dir + "/m.dat", glava + "X P7\nX P8\nX P9\nX P10 # no coordinates\n"
                              "S A B 0 1\nS A P7 90 1\nD A P8 50 2\nD A P9 50 2\nD B P9 70 2\n"
                              "S P10 A 0 1\nS P10 B 30 1\nD A B 100 2\n");
    const Izid r = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    for (const std::string& t : {BesediloF(Besedilo::NapakaPriblizne, 4ul),
                                BesediloF(Besedilo::PribliznoManjkaEnaSmer, "P7"),
                                BesediloF(Besedilo::PribliznoManjkaEnaDolzina, "P8"),
                                BesediloF(Besedilo::PribliznoManjkaStran, "P9"),
                                BesediloF(Besedilo::PribliznoManjkaNazaj, "P10", 2ul)})
        EXPECT_NE(r.err.find(t), std::string::npos) << t << "\n" << r.err;
    EXPECT_NE(ReadFile(dir + "/m.NVX").find(BesediloF(Besedilo::PribliznoManjkaEnaSmer, "P7")), std::string::npos);

    WriteFile(dir + "/m.dat", glava + "X P7\nD A P7 50 2\nD B P7 70 2\nD A Q 10 2\n");
    const Izid q = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(q.status, 1);
    EXPECT_NE(q.err.find("TOCKA Q NE OBSTAJA V SEZNAMU TOCK"), std::string::npos) << q.err;
    WriteFile(dir + "/m.dat", "*DIM 1\n*D V\n**V A\n**V N\nX A 100\nX N\nh A N 1 1\n");
    const Izid d = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(d.status, 1);
    EXPECT_NE(d.err.find(BesediloF(Besedilo::NapakaPribliznaDatum, "N", "**V", 4L)), std::string::npos) << d.err;
}

// An X record broken over lines still takes its coordinates from the next
// line: only a name followed by no number is a point without coordinates.
TEST(Priblizne, RecordBrokenOverLinesKeepsItsCoordinates)
{
    const Izravnava a = Izravnaj("*DIM 2\n*AU DEG\n*D V\n**V A\n**V C\nX A\n 0 0\nX B # new\nX C\n100\n0\n"
                                 "S A C 90 1\nS A B 0 1\nD A B 50 2\nD C B 111.8034 2\n");
    ASSERT_EQ(a.run->rez.priblizne.size(), 1u);
    EXPECT_EQ(a.run->rez.priblizne[0].ime, "B");
    EXPECT_NEAR(static_cast<double>(a.run->rez.priblizne[0].x[0]), 0.0, 1e-3);
    EXPECT_NEAR(static_cast<double>(a.run->rez.priblizne[0].x[1]), 50.0, 1e-3);
    EXPECT_NEAR(static_cast<double>(a.tocke.at("C")[0]), 100.0, 1e-9);
}
