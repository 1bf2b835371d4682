// The data-file guide (docs/data-file.md) against the program: its tables of
// settings keywords, datum words and record letters must list exactly what
// the reader accepts, its worked examples must adjust to the results its
// table of expected results states, and its guide to the report must name
// every results table and every column header the program writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CProcSet.h"
#include "src/FBranje.h"
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

// The titles of the results tables and the words of their column headers in
// every golden report (the results of each pass and the adjusted
// observations): a title is underlined by as many "-", a header line is
// indented and holds no number; the correlation columns (1X, 2Y, ...) and
// the rules (|) are named by their table.
void GlavePorocil(std::set<std::string>& naslovi, std::set<std::string>& stolpci, std::string& besedilo)
{
    const auto crta = [](const std::string& v, char c) { return !v.empty() && v.find_first_not_of(c) == std::string::npos; };
    for (const auto& e : std::filesystem::directory_iterator(std::string(NIVEX_TEST_DATA) + "/golden")) {
        if (e.path().extension() != ".NVX") continue;
        besedilo += ReadFile(e.path().string());
        const std::vector<std::string> L = Lines(ReadFile(e.path().string()));
        bool rezultati = false;
        for (std::size_t k = 1; k + 1 < L.size(); ++k) {
            const std::string& v = L[k];
            if (crta(L[k - 1], '=') && crta(L[k + 1], '=')) {
                rezultati = v == "REZULTATI OBDELAVE GEODETSKE MREZE:" ||
                            v == "IZRAVNANA OPAZOVANJA IN LOKALNE MERE NATANCNOSTI:";
            } else if (rezultati && !v.empty() && v[0] != ' ' && !std::isdigit(static_cast<unsigned char>(v[0]))) {
                // (A row numbered from 100 on starts in the first column too,
                // and the last row of a table stands above its closing line.)
                const std::string t = v.substr(0, v.find_last_not_of(' ') + 1);
                if (crta(L[k + 1], '-') && L[k + 1].size() == t.size()) naslovi.insert(t);
            } else if (rezultati && !v.empty()) {
                const std::vector<std::string> w = Besede(v);
                long double x = 0.0L;
                if (std::none_of(w.begin(), w.end(), [&x](const std::string& b) { return BesedaVStevilo(b, x); }))
                    for (const std::string& b : w)
                        if (std::isalpha(static_cast<unsigned char>(b[0]))) stolpci.insert(b);
            }
        }
    }
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
    crke.insert("Q");   // the covariance block
    EXPECT_EQ(VNavednicah(tabele["Letter"]), crke);
}

TEST(Vodic, WorkedExamplesGiveTheStatedResults)
{
    const std::vector<Vrsta> pricakovano = Tabele()["Example"];
    std::map<std::string, Izravnava> izravnave;
    for (const Vrsta& c : pricakovano)
        if (!izravnave.count(c.at(1)))
            izravnave[c.at(1)] = Izravnaj(ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/examples/" + c.at(1)));
    std::size_t primerov = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::string(NIVEX_SOURCE_DIR) + "/docs/examples"))
        primerov += e.path().extension() == ".dat";
    ASSERT_EQ(izravnave.size(), primerov) << "every worked example with its results";
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

TEST(Vodic, ReportGuideNamesEveryTableAndColumn)
{
    std::set<std::string> naslovi, stolpci;
    std::string porocila, izvorna;
    GlavePorocil(naslovi, stolpci, porocila);
    ASSERT_GT(stolpci.size(), 50u);
    auto tabele = Tabele();
    const std::set<std::string> vodicNaslovi = VNavednicah(tabele["Section"]), vodicStolpci = VNavednicah(tabele["Column"]);
    for (const std::string& t : naslovi) EXPECT_TRUE(vodicNaslovi.count(t)) << "table not in the guide: " << t;
    for (const std::string& c : stolpci) EXPECT_TRUE(vodicStolpci.count(c)) << "column not in the guide: " << c;
    // Nothing the program no longer writes: every entry stands in a report,
    // in the program's sources or in its catalogue of texts.
    for (const auto& f : std::filesystem::directory_iterator(std::string(NIVEX_SOURCE_DIR) + "/src"))
        if (f.is_regular_file()) izvorna += ReadFile(f.path().string());
    izvorna += ReadFile(std::string(NIVEX_SOURCE_DIR) + "/funkcije/Besedila.def");
    for (const std::set<std::string>* vodic : {&vodicNaslovi, &vodicStolpci})
        for (const std::string& w : *vodic)
            EXPECT_TRUE(porocila.find(w) != std::string::npos || izvorna.find(w) != std::string::npos)
                << "the guide names what the program does not write: " << w;
}
