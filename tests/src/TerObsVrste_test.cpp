// The table of record kinds: every row carries every column its kind needs,
// the order lists name each kind of the model once, and the builders made
// from the rows write the rows of their own kind in the order of the model.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "src/TerObsVrste.h"

namespace {
bool Prazen(const char* s) { return s == nullptr || *s == '\0'; }

// How many times the letter stands in an order list.
int Krat(const char* seznam, char c)
{
    int n = 0;
    for (const char* p = seznam; *p != '\0'; ++p) n += *p == c;
    return n;
}
}  // namespace

TEST(TerObsVrste, EveryRowHasTheColumnsOfItsKind)
{
    std::map<char, unsigned> dimenzijeBranih;   // letter -> dimensions of the read rows with it
    std::set<char> modela;
    for (const TerObsVrsta& v : kTerObsVrste) {
        const std::string r = std::string("row ") + std::to_string(TerObsIndeks(v)) + " '" + v.crka + "'";
        ASSERT_NE(v.crka, '\0') << r;
        ASSERT_FALSE(Prazen(B(v.opis))) << r;
        EXPECT_EQ(B(v.opis)[0], v.crka) << r << ": a message names the kind by its letter first";
        EXPECT_GE(v.imen, 1u) << r;
        EXPECT_NE(v.dimenzije, 0u) << r;
        EXPECT_EQ(v.dimenzije & ~0b1110u, 0u) << r << ": only dimensions 1, 2 and 3";
        EXPECT_EQ(v.sdOznaka == Besedilo::VrstaBrez, v.sdMeja == 0.0) << r << ": a zero-deviation check has its label and threshold";
        // A station setup numbers records read from a station to a target;
        // only such records carry instrument and target heights.
        EXPECT_TRUE(!v.stojisce || (v.beri && v.imen == 2)) << r;
        EXPECT_TRUE(!v.visini || v.stojisce) << r;
        EXPECT_EQ(v.beri, v.velikost != nullptr) << r << ": a set read from the file is sized by its row";
        if (v.beri) {
            // Two read rows may share a letter only when no dimension takes both (X).
            EXPECT_EQ(dimenzijeBranih[v.crka] & v.dimenzije, 0u) << r << ": a letter that two read rows share";
            dimenzijeBranih[v.crka] |= v.dimenzije;
        }
        if (v.gradnik == nullptr) {
            // A row outside the model has nothing of the model.
            EXPECT_EQ(Krat(kVrstniRedVrstic, v.crka) + Krat(kVrstniRedPovzetka, v.crka) > 0,
                      TerObsVrstaModela(v.crka) != nullptr)
                << r;
            EXPECT_TRUE(v.povzetek == Besedilo::VrstaBrez && v.ime == Besedilo::VrstaBrez && v.zanesljivost.naslov == Besedilo::VrstaBrez &&
                        v.zanesljivost.glava == Besedilo::VrstaBrez && v.zanesljivost.oznaka == Besedilo::VrstaBrez && v.vezi[0].najmanj == 0)
                << r << ": columns of the model on a row without a builder";
            continue;
        }
        EXPECT_TRUE(modela.insert(v.crka).second) << r << ": two kinds of the model under one letter";
        EXPECT_EQ(TerObsVrstaModela(v.crka), &v) << r;
        EXPECT_FALSE(Prazen(B(v.povzetek))) << r << ": no label in the data summary";
        EXPECT_LE(std::strlen(B(v.povzetek)), 27u) << r << ": the label overruns its column";
        EXPECT_FALSE(Prazen(B(v.ime))) << r << ": no name on the results page";
        EXPECT_FALSE(Prazen(B(v.zanesljivost.naslov))) << r << ": no title of the reliability table";
        EXPECT_FALSE(Prazen(B(v.zanesljivost.glava))) << r << ": no header of the reliability table";
        EXPECT_FALSE(Prazen(B(v.zanesljivost.oznaka))) << r << ": no label of the reliability averages";
        EXPECT_EQ(Krat(kVrstniRedVrstic, v.crka), 1) << r << ": not once in the order of the model rows";
        EXPECT_EQ(Krat(kVrstniRedPovzetka, v.crka), 1) << r << ": not once in the order of the data summary";
        // Slots of the datum defects in use come first, each removes something.
        bool prost = false;
        for (const DatumskaVez& vez : v.vezi) {
            if (vez.najmanj == 0) {
                prost = true;
                EXPECT_EQ(vez.odstrani, 0u) << r;
                continue;
            }
            EXPECT_FALSE(prost) << r << ": a datum defect after an unused slot";
            EXPECT_NE(vez.odstrani, 0u) << r;
        }
    }
    // Every letter of the order lists has its kind, and the lists are no longer.
    EXPECT_EQ(std::strlen(kVrstniRedVrstic), modela.size());
    EXPECT_EQ(std::strlen(kVrstniRedPovzetka), modela.size());
    EXPECT_EQ(TerObsSetiModela().size(), modela.size());
    // The kinds that join two points, read from the file, each listed once
    // in the order of the relative ellipses.
    for (const TerObsVrsta& v : kTerObsVrste)
        if (v.beri && v.povezuje) {
            EXPECT_EQ(v.imen, 2u) << B(v.opis);
            EXPECT_EQ(Krat(kVrstniRedPovezav, v.crka), 1) << B(v.opis) << ": joins two points, no relative ellipse";
        }
    for (const char* c = kVrstniRedPovezav; *c != '\0'; ++c) {
        const TerObsVrsta* v = TerObsVrstaZapisa(*c, 3);
        EXPECT_TRUE(v != nullptr && v->povezuje) << *c;
    }
    // What the reports and the page tell apart, against the description of
    // the kinds: angles S, A, P, Z; components C, V.
    for (const char* c = kVrstniRedVrstic; *c != '\0'; ++c) {
        EXPECT_EQ(TerObsKotna(*c), std::strchr("SAPZ", *c) != nullptr) << *c;
        EXPECT_EQ(TerObsKomponente(*c), std::strchr("CV", *c) != nullptr) << *c;
    }
}

TEST(TerObsVrste, DatumDefectsOfTheObservationKinds)
{
    const auto zapisi = [](std::map<TerObsSet, unsigned long> n) {
        unsigned long z[kTOSetov] = {};
        for (const auto& [s, k] : n) z[s] = k;
        return TerObsDatumskiDefekti(kDefVse, z);
    };
    const auto stetje2 = [](unsigned d) { return std::popcount(d & (kDefTx | kDefTy | kDefWz | kDefM2)); };
    const auto stetje3 = [](unsigned d) {
        return std::popcount(d & (kDefTx | kDefTy | kDefTz | kDefWx | kDefWy | kDefWz)) +
               ((d & (kDefM2 | kDefM3)) != 0 ? 1 : 0);
    };
    // A plane network of directions and distances keeps its translations and
    // its rotation (3 rows of H); an azimuth takes the rotation (2).
    const unsigned sd = zapisi({{kTOAngl, 6}, {kTODist2, 4}});
    EXPECT_EQ(sd, kDefTx | kDefTy | kDefTz | kDefWx | kDefWy | kDefWz);
    EXPECT_EQ(stetje2(sd), 3);
    EXPECT_EQ(stetje2(zapisi({{kTOAngl, 6}, {kTODist2, 4}, {kTOAzi, 1}})), 2);
    // A spatial network with one observed height and distances keeps the
    // plane translations and the three rotations (5).
    const unsigned h1 = zapisi({{kTOH, 1}, {kTODist3, 5}});
    EXPECT_EQ(h1, kDefTx | kDefTy | kDefWx | kDefWy | kDefWz);
    EXPECT_EQ(stetje3(h1), 5);
    // Heights: the third one takes the tilts; two zenith distances too, one not.
    EXPECT_EQ(zapisi({{kTOH, 2}}) & (kDefWx | kDefWy | kDefM3), kDefWx | kDefWy);
    EXPECT_EQ(zapisi({{kTOH, 3}}) & (kDefWx | kDefWy), 0u);
    EXPECT_EQ(zapisi({{kTOZen, 1}}) & (kDefWx | kDefWy), kDefWx | kDefWy);
    EXPECT_EQ(zapisi({{kTOZen, 2}}) & (kDefWx | kDefWy), 0u);
    // Two observed points fix everything; a vector leaves the translations.
    EXPECT_EQ(zapisi({{kTOCrd, 2}}), 0u);
    EXPECT_EQ(zapisi({{kTOVec, 1}}), kDefTx | kDefTy | kDefTz);
    // Height differences: the vertical scale, from two on the tilts.
    EXPECT_EQ(zapisi({{kTOHdif, 2}}), kDefTx | kDefTy | kDefTz | kDefWz | kDefM2);
    // Directions and angles between directions take nothing away.
    EXPECT_EQ(zapisi({{kTODir, 9}, {kTOPara, 9}, {kTOAngl, 9}}), static_cast<unsigned>(kDefVse));
}

TEST(TerObsVrste, BuildersWriteTheRowsOfTheirKindInTheOrderOfTheModel)
{
    // Between them the three networks hold every kind of the model.
    std::string nivelman = ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/nivelman.dat");
    nivelman = "H  N1  302.1800  2.0\n" + nivelman;
    const std::string mreze[] = {ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/mesana.dat"),
                                 ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/prostorska.dat"), nivelman};
    const std::vector<TerObsSet> red = TerObsSetiModela();
    std::set<TerObsSet> videne;
    for (const std::string& data : mreze) {
        const Izravnava iz = Izravnaj(data);
        const CNivex& nx = *iz.run;
        ASSERT_EQ(nx.GMMEq.size(), red.size());
        const long Dim = nx.procset.GetDim();
        std::map<TerObsSet, long> vrstic;
        std::size_t k = 0;   // position of the current row's kind in the model order
        for (long i = 0; i < nx.GMM.nobs; ++i) {
            const TerObsSet s = nx.GMM.vrstice[static_cast<std::size_t>(i)].set;
            while (k < red.size() && red[k] != s) ++k;
            ASSERT_LT(k, red.size()) << "row " << i << " of set " << s << " out of the order of the model";
            ++vrstic[s];
        }
        for (const TerObsSet s : red) {
            const long n = static_cast<long>(nx.TO.Set(s).NAktivnih()) * (kTerObsVrste[s].poDim ? Dim : 1);
            EXPECT_EQ(vrstic[s], n) << B(kTerObsVrste[s].opis);
            if (n > 0) videne.insert(s);
        }
    }
    EXPECT_EQ(videne.size(), red.size()) << "a kind of the model that no network here holds";
}
