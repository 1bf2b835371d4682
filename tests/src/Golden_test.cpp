// Every shipped example and every feature example under tests/data/golden is
// run through the built program; its report, console output and exit status
// must equal the golden files byte for byte (banner date and elapsed time
// masked).  tests/data/golden/regen.sh writes the golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace fs = std::filesystem;

namespace {
const std::string kGolden = std::string(NIVEX_TEST_DATA) + "/golden";

// The first line where two texts differ, for a readable failure.
std::string PrvaRazlika(const std::string& a, const std::string& b)
{
    const auto la = Lines(a), lb = Lines(b);
    for (std::size_t i = 0; i < std::max(la.size(), lb.size()); ++i) {
        const std::string x = i < la.size() ? la[i] : "<konec>", y = i < lb.size() ? lb[i] : "<konec>";
        if (x != y) return "line " + std::to_string(i + 1) + ":\n  golden: " + x + "\n  run:    " + y;
    }
    return "texts differ only in the final line break";
}

// The golden files of one folder: the Slovenian ones, or the English ones
// of en/ (run with --lang en).
int PrimerjajZlate(const std::string& mapa, const std::vector<std::string>& moznosti)
{
    int primerov = 0;
    for (const auto& e : fs::directory_iterator(mapa)) {
        if (e.path().extension() != ".con") continue;
        const std::string ime = e.path().stem().string();
        fs::path vir = fs::path(NIVEX_SOURCE_DIR) / "examples" / (ime + ".dat");
        if (!fs::exists(vir)) vir = fs::path(kGolden) / (ime + ".dat");
        EXPECT_TRUE(fs::exists(vir)) << ime;
        if (!fs::exists(vir)) continue;
        SCOPED_TRACE(mapa + "/" + ime);

        const std::string dir = TempDir("golden_" + ime);
        fs::copy_file(vir, dir + "/" + ime + ".dat");
        std::vector<std::string> a = moznosti;
        a.push_back(ime + ".dat");
        const Izid r = RunNivex(a, dir);
        EXPECT_EQ(std::to_string(r.status) + "\n", ReadFile(mapa + "/" + ime + ".status"));
        const std::string con = Maskiraj(r.out), conGold = ReadFile(e.path().string());
        EXPECT_TRUE(con == conGold) << "console, " << PrvaRazlika(conGold, con);
        const std::string gold = mapa + "/" + ime + ".NVX";
        if (fs::exists(gold)) {
            const std::string rep = Maskiraj(ReadFile(dir + "/" + ime + ".NVX")), repGold = ReadFile(gold);
            EXPECT_TRUE(rep == repGold) << "report, " << PrvaRazlika(repGold, rep);
        } else {
            EXPECT_FALSE(fs::exists(dir + "/" + ime + ".NVX"));
        }
        ++primerov;
    }
    return primerov;
}
}  // namespace

TEST(Golden, EveryExampleReproducesItsReport) { EXPECT_GE(PrimerjajZlate(kGolden, {}), 6); }

// The English report and console of every shipped example, whole.
TEST(Golden, EveryShippedExampleReproducesItsEnglishReport)
{
    if (KatalogNepopoln()) GTEST_SKIP() << "catalogue incomplete: entries without English words";
    std::size_t primerov = 0;
    for (const auto& e : fs::directory_iterator(fs::path(NIVEX_SOURCE_DIR) / "examples"))
        primerov += e.path().extension() == ".dat";
    EXPECT_EQ(PrimerjajZlate(kGolden + "/en", {"--lang", "en"}), static_cast<int>(primerov))
        << "regenerate with tests/data/golden/regen.sh";
}

// The sparse solution prints the report of the reference solution on full
// matrices: every shipped example, and generated networks of a few hundred
// points under every datum kind (fixed points, free, minimal constraints).
// A value that rounds to zero may carry either sign, its unrounded size being
// round-off of the last pass, so "-0.000" counts as " 0.000".
TEST(Golden, SparseSolutionPrintsTheReportOfTheDenseOne)
{
    static const std::regex nic("-(0\\.0+)(?=\\s|$)");
    // The rows of the correlation table the sparse solution gives in double
    // (for the print) are within 1e-15 of the long double ones relative to
    // each value, of the same sign.
    long dvojnih = 0;
    auto porocilo = [&dvojnih](const std::string& data, bool gosto) {
        const Izravnava iz = Izravnaj(data, gosto);
        const CRezultati& rez = iz.run->rez;
        std::vector<long double> r{0.0L};
        std::vector<double> d;
        for (long i = 0; i < static_cast<long>(r.size()); ++i) {
            rez.KorelacijeVrstice(i, r);
            if (!rez.KorelacijeVrsticeDvojno(i, d)) continue;
            ++dvojnih;
            for (std::size_t j = 0; j < r.size(); ++j) {
                EXPECT_LE(std::fabs(d[j] - r[j]), 1e-15L * std::fabs(r[j])) << i << "," << j;
                EXPECT_EQ(std::signbit(d[j]), std::signbit(r[j])) << i << "," << j;
            }
        }
        return std::regex_replace(Maskiraj(iz.report), nic, " $1");
    };
    std::vector<std::pair<std::string, std::string>> primeri;
    for (const auto& e : fs::directory_iterator(std::string(NIVEX_SOURCE_DIR) + "/examples"))
        if (e.path().extension() == ".dat") primeri.emplace_back(e.path().stem(), ReadFile(e.path()));
    const std::string redka = std::string(NIVEX_TEST_DATA) + "/redka/";
    const std::string niv = ReadFile(redka + "nivelman300.dat"), rav = ReadFile(redka + "ravninska120.dat");
    primeri.insert(primeri.end(), {{"nivelman300 V", niv},
                                   {"nivelman300 H", ZDatumom(niv, "*D H")},
                                   {"nivelman300 D", ZDatumom(niv, "*D D\n**DH P17")},
                                   {"ravninska120 V", rav},
                                   {"ravninska120 H", ZDatumom(rav, "*D H")},
                                   {"ravninska120 D", ZDatumom(rav, "*D D\n**DX T1\n**DY T1\n**DS T1 T120")}});
    for (const auto& [ime, data] : primeri) {
        SCOPED_TRACE(ime);
        const std::string redko = porocilo(data, false), gosto = porocilo(data, true);
        EXPECT_TRUE(redko == gosto) << PrvaRazlika(gosto, redko);
    }
    EXPECT_GT(dvojnih, 500);
}

// The comparison of two epochs (primerjava/): its report, whole.
TEST(Golden, ComparisonOfTwoEpochsReproducesItsReport)
{
    const std::string mapa = kGolden + "/primerjava", dir = TempDir("golden_primerjava");
    for (const char* f : {"epoha1.dat", "epoha2.dat"}) fs::copy_file(mapa + "/" + f, dir + "/" + f);
    const Izid r = RunNivex({"--compare", "epoha1.dat", "epoha2.dat"}, dir);
    EXPECT_EQ(std::to_string(r.status) + "\n", ReadFile(mapa + "/epoha2.primerjava.status"));
    const std::string rep = Maskiraj(ReadFile(dir + "/epoha2.primerjava.NVX")),
                      repGold = ReadFile(mapa + "/epoha2.primerjava.NVX");
    EXPECT_TRUE(rep == repGold) << "report, " << PrvaRazlika(repGold, rep);
}
