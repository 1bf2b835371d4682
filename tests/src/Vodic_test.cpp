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

#include "IzravnavaUtil.h"
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
    std::map<std::string, Izravnava> izravnave;
    for (const Vrsta& c : pricakovano)
        if (!izravnave.count(c.at(1)))
            izravnave[c.at(1)] = Izravnaj(ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/examples/" + c.at(1)));
    ASSERT_EQ(izravnave.size(), 3u) << "one worked example per kind of network";
    for (const Vrsta& c : pricakovano) {
        const Izravnava& iz = izravnave.at(c.at(1));
        // Coordinates in file order: X, Y, Z, or the height H.
        const std::size_t k = c.at(3) == "H" ? 0 : static_cast<std::size_t>(c.at(3)[0] - 'X');
        ASSERT_TRUE(iz.tocke.count(c.at(2)) && k < iz.tocke.at(c.at(2)).size()) << c[1] << ": " << c[2];
        // The guide rounds to 0.1 mm.
        EXPECT_NEAR(static_cast<double>(iz.tocke.at(c.at(2))[k]), std::stod(c.at(4)), 0.6e-4) << c[1] << " " << c[2];
        EXPECT_NEAR(static_cast<double>(iz.run->GMMS.rsum), std::stod(c.at(5)), 1e-4) << c[1];
    }
}
