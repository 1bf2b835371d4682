// The data-file guide (docs/data-file.md) against the program: its tables of
// settings keywords, datum words and record letters must list exactly what
// the reader accepts, and its worked examples must adjust to the results its
// table of expected results states.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
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

const std::string kVodic = std::string(NIVEX_SOURCE_DIR) + "/docs/data-file.md";

std::vector<std::string> Celice(const std::string& vrsta)
{
    std::vector<std::string> celice;
    std::stringstream s(vrsta.substr(1));
    std::string c;
    while (std::getline(s, c, '|')) {
        const auto a = c.find_first_not_of(' '), b = c.find_last_not_of(' ');
        celice.push_back(a == std::string::npos ? "" : c.substr(a, b - a + 1));
    }
    return celice;
}

// Rows of the guide's tables, by the text of the header's first cell.
std::map<std::string, std::vector<std::vector<std::string>>> Tabele()
{
    std::map<std::string, std::vector<std::vector<std::string>>> tabele;
    std::string glava;
    bool vTabeli = false;
    for (const std::string& v : Lines(ReadFile(kVodic))) {
        if (v.empty() || v[0] != '|') {
            vTabeli = false;
            continue;
        }
        const std::vector<std::string> c = Celice(v);
        if (!vTabeli) {
            glava = c.at(0);
            vTabeli = true;
        } else if (v.compare(0, 4, "|---") != 0) {
            tabele[glava].push_back(c);
        }
    }
    return tabele;
}

// The words in backticks of the first cell of every row.
std::set<std::string> Besede(const std::vector<std::vector<std::string>>& vrste)
{
    std::set<std::string> besede;
    for (const auto& c : vrste)
        for (std::size_t a = c.at(0).find('`'); a != std::string::npos; a = c[0].find('`', a)) {
            const std::size_t b = c[0].find('`', a + 1);
            besede.insert(c[0].substr(a + 1, b - a - 1));
            a = b + 1;
        }
    return besede;
}

std::string Razlika(const std::set<std::string>& a, const std::set<std::string>& b)
{
    std::string r;
    for (const std::string& w : a)
        if (b.count(w) == 0) r += " " + w;
    return r;
}

// Adjusted values of the last pass (point + coordinate letter) and the sum
// of the redundancy numbers, from a report.
struct Rezultat {
    std::map<std::string, long double> vrednost;
    long double nadstevilnost = -1;
};

Rezultat Preberi(const std::string& porocilo)
{
    Rezultat r;
    const std::vector<std::string> v = Lines(porocilo);
    std::size_t zacetek = v.size();
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i].find("OCENJENE VISINE  TOCK") == 0 || v[i].find("OCENJENE KOORDINATE  TOCK") == 0) zacetek = i;
        if (v[i].find("Matrika nadstevilnosti [riri]:") == 0)
            r.nadstevilnost = std::stold(v[i].substr(v[i].find(':') + 1));
    }
    // Heights: one line per point.  Plane: three lines per point, the
    // adjusted X and Y first on the third.  Spatial: one line per coordinate,
    // the point named on the first, the adjusted value after the a-priori
    // value and the correction.
    const bool visine = zacetek < v.size() && v[zacetek].find("VISINE") != std::string::npos;
    const bool ravninska = zacetek + 3 < v.size() && v[zacetek + 3].find("X0") != std::string::npos;
    std::string tocka;
    int vrsta = 0;
    for (std::size_t i = zacetek + 3; i < v.size() && v[i].compare(0, 4, "----") != 0; ++i) {
        std::istringstream s(v[i]);
        std::vector<std::string> t;
        for (std::string w; s >> w;) t.push_back(w);
        if (t.empty()) continue;
        // A point's first line starts with its running number (no decimal point).
        const bool prva = t.size() > 1 && t[0].find_first_not_of("0123456789") == std::string::npos;
        if (prva) {
            tocka = t.at(1);
            vrsta = 0;
        } else {
            ++vrsta;
        }
        if (tocka.empty()) continue;
        if (visine) {
            if (prva) r.vrednost[tocka + " H"] = std::stold(t.at(4));
        } else if (ravninska) {
            if (vrsta == 2) {
                r.vrednost[tocka + " X"] = std::stold(t.at(0));
                r.vrednost[tocka + " Y"] = std::stold(t.at(1));
            }
        } else if (prva) {
            r.vrednost[tocka + " " + t.at(2)] = std::stold(t.at(5));
        } else {
            r.vrednost[tocka + " " + t.at(0)] = std::stold(t.at(3));
        }
    }
    return r;
}

}  // namespace

TEST(Vodic, TablesListExactlyWhatTheReaderAccepts)
{
    auto tabele = Tabele();

    std::set<std::string> program;
    for (const std::string& w : CProcSet::KljucneBesede()) program.insert(w);
    const std::set<std::string> kljuci = Besede(tabele["Keyword"]);
    EXPECT_EQ(Razlika(program, kljuci), "") << "settings keywords missing from the guide";
    EXPECT_EQ(Razlika(kljuci, program), "") << "keywords in the guide the program does not know";

    std::set<std::string> datum{"*D"};
    for (const std::string& w : CGDatum::DatumskeBesede()) datum.insert(w);
    const std::set<std::string> vodicDatum = Besede(tabele["Datum word"]);
    EXPECT_EQ(Razlika(datum, vodicDatum), "") << "datum words missing from the guide";
    EXPECT_EQ(Razlika(vodicDatum, datum), "") << "datum words in the guide the program does not know";

    std::set<std::string> crke;
    for (const TerObsVrsta& v : kTerObsVrste)
        if (v.beri) crke.insert(std::string(1, v.crka));
    const std::set<std::string> vodicCrke = Besede(tabele["Letter"]);
    EXPECT_EQ(Razlika(crke, vodicCrke), "") << "record letters missing from the guide";
    EXPECT_EQ(Razlika(vodicCrke, crke), "") << "record letters in the guide the program does not read";
    // Every letter also opens a record in the program, and nothing else does.
    for (char c = '!'; c <= '~'; ++c)
        EXPECT_EQ(TerObsVrstaZapisa(c, 2) != nullptr, crke.count(std::string(1, c)) != 0) << c;
}

TEST(Vodic, WorkedExamplesGiveTheStatedResults)
{
    const auto pricakovano = Tabele()["Example"];
    std::set<std::string> primeri;
    for (const auto& c : pricakovano) primeri.insert(c.at(0));
    ASSERT_EQ(primeri, (std::set<std::string>{"levelling.dat", "plane.dat", "spatial.dat"}));

    for (const std::string& primer : primeri) {
        SCOPED_TRACE(primer);
        const std::string dir = TempDir("vodic");
        WriteFile(dir + "/" + primer, ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/examples/" + primer));
        const Izid izid = RunNivex({primer}, dir);
        ASSERT_EQ(izid.status, 0) << izid.out;
        const std::string base = primer.substr(0, primer.rfind('.'));
        const Rezultat r = Preberi(ReadFile(dir + "/" + base + ".NVX"));
        for (const auto& c : pricakovano) {
            if (c.at(0) != primer) continue;
            const std::string kljuc = c.at(1) + " " + c.at(2);
            ASSERT_EQ(r.vrednost.count(kljuc), 1u) << kljuc;
            // The report prints metres to 4 or 6 decimals; the guide rounds to 0.1 mm.
            EXPECT_NEAR(static_cast<double>(r.vrednost.at(kljuc)), std::stod(c.at(3)), 0.6e-4) << kljuc;
            EXPECT_NEAR(static_cast<double>(r.nadstevilnost), std::stod(c.at(4)), 1e-4);
        }
    }
}
