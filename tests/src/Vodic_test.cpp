// The data-file guide (docs/data-file.md) against the program: its tables of
// settings keywords, datum words and record letters must list exactly what
// the reader accepts, and its worked examples must adjust to the results its
// table of expected results states.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CProcSet.h"
#include "src/TerObsVrste.h"

namespace {

using Vrsta = std::vector<std::string>;

// Words split at blanks, or cells split at `locilo` and trimmed.
std::vector<std::string> Besede(const std::string& v, char locilo = ' ')
{
    std::vector<std::string> b;
    std::stringstream s(v);
    for (std::string w; std::getline(s, w, locilo);) {
        const std::size_t a = w.find_first_not_of(' ');
        if (a != std::string::npos) b.push_back(w.substr(a, w.find_last_not_of(' ') - a + 1));
        else if (locilo != ' ') b.emplace_back();
    }
    return b;
}

// Rows of the guide's tables (cells split at "|"), by the header's first cell.
std::map<std::string, std::vector<Vrsta>> Tabele()
{
    std::map<std::string, std::vector<Vrsta>> t;
    std::string glava;
    for (const std::string& v : Lines(ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/data-file.md"))) {
        if (v.empty() || v[0] != '|') glava.clear();
        else if (glava.empty()) glava = Besede(v, '|').at(1);
        else if (v.compare(0, 4, "|---") != 0) t[glava].push_back(Besede(v, '|'));
    }
    return t;
}

// The words in backticks in the first cell of the rows.
std::set<std::string> VNavednicah(const std::vector<Vrsta>& vrste)
{
    std::set<std::string> b;
    for (const Vrsta& c : vrste) {
        const std::vector<std::string> deli = Besede(c.at(1), '`');
        for (std::size_t i = 1; i < deli.size(); i += 2) b.insert(deli[i]);
    }
    return b;
}

// The adjusted values of the last pass ("P X", "B H") and the sum of the
// redundancy numbers.  Heights: one line per point, H fifth.  Plane: three
// lines per point, X and Y first on the third.  Spatial: a line per
// coordinate, the adjusted value after the a-priori value and correction.
std::map<std::string, long double> Preberi(const std::string& porocilo)
{
    std::map<std::string, long double> r;
    const std::vector<std::string> v = Lines(porocilo);
    std::size_t z = v.size();
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i].rfind("OCENJENE ", 0) == 0 && v[i].find("TOCK") != std::string::npos) z = i;
        if (v[i].rfind("Matrika nadstevilnosti [riri]:", 0) == 0) r["riri"] = std::stold(v[i].substr(31));
    }
    if (z == v.size()) return r;
    const bool visine = v[z].find("VISINE") != std::string::npos, ravninska = v[z + 3].find("X0") != std::string::npos;
    std::string tocka;
    int k = 0;
    for (std::size_t i = z + 4; i < v.size() && v[i].rfind("----", 0) != 0; ++i) {
        const std::vector<std::string> t = Besede(v[i]);
        if (t.size() < 2) continue;
        // A point's first line starts with its running number (no decimal point).
        const bool prva = t[0].find_first_not_of("0123456789") == std::string::npos;
        k = prva ? 0 : k + 1;
        if (prva) tocka = t[1];
        if (tocka.empty()) continue;   // the column heads
        if (visine && prva) r[tocka + " H"] = std::stold(t.at(4));
        if (ravninska && k == 2) r[tocka + " X"] = std::stold(t[0]), r[tocka + " Y"] = std::stold(t[1]);
        if (!visine && !ravninska) r[tocka + " " + t.at(prva ? 2 : 0)] = std::stold(t.at(prva ? 5 : 3));
    }
    return r;
}

}  // namespace

TEST(Vodic, TablesListExactlyWhatTheReaderAccepts)
{
    auto tabele = Tabele();
    const std::vector<std::string> kljuci = CProcSet::KljucneBesede();
    EXPECT_EQ(VNavednicah(tabele["Keyword"]), std::set<std::string>(kljuci.begin(), kljuci.end()));

    const std::vector<std::string> datum = CGDatum::DatumskeBesede();
    std::set<std::string> vsiDatum(datum.begin(), datum.end());
    vsiDatum.insert("*D");
    EXPECT_EQ(VNavednicah(tabele["Datum word"]), vsiDatum);

    std::set<std::string> crke;
    for (const TerObsVrsta& v : kTerObsVrste)
        if (v.beri) crke.insert(std::string(1, v.crka));
    EXPECT_EQ(VNavednicah(tabele["Letter"]), crke);
}

TEST(Vodic, WorkedExamplesGiveTheStatedResults)
{
    const std::vector<Vrsta> pricakovano = Tabele()["Example"];
    std::map<std::string, std::map<std::string, long double>> porocila;
    for (const Vrsta& c : pricakovano) porocila[c.at(1)];
    ASSERT_EQ(porocila.size(), 3u) << "one worked example per kind of network";
    for (auto& [primer, rezultat] : porocila) {
        const std::string dir = TempDir("vodic");
        WriteFile(dir + "/" + primer, ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/examples/" + primer));
        const Izid izid = RunNivex({primer}, dir);
        ASSERT_EQ(izid.status, 0) << primer << izid.out;
        rezultat = Preberi(ReadFile(dir + "/" + primer.substr(0, primer.rfind('.')) + ".NVX"));
    }
    for (const Vrsta& c : pricakovano) {
        const std::map<std::string, long double>& r = porocila[c.at(1)];
        const std::string kljuc = c.at(2) + " " + c.at(3);
        ASSERT_EQ(r.count(kljuc), 1u) << c[1] << ": " << kljuc;
        // The guide rounds to 0.1 mm.
        EXPECT_NEAR(static_cast<double>(r.at(kljuc)), std::stod(c.at(4)), 0.6e-4) << c[1] << ": " << kljuc;
        EXPECT_NEAR(static_cast<double>(r.at("riri")), std::stod(c.at(5)), 1e-4) << c[1];
    }
}
