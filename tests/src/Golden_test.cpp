// Every shipped example and every feature example under tests/data/golden is
// run through the built program; its report, console output and exit status
// must equal the golden files byte for byte (banner date and elapsed time
// masked).  tests/data/golden/regen.sh writes the golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "TestUtil.h"

namespace fs = std::filesystem;

namespace {
const std::string kGolden = std::string(NIVEX_TEST_DATA) + "/golden";

std::string Maskiraj(const std::string& text)
{
    static const std::regex datum("(^|\n) {55}\\d{4}-\\d\\d-\\d\\d  \\d\\d:\\d\\d:\\d\\d(?=\n)");
    static const std::regex cas("(   KONCAL Z IZRACUNI !!!  \\[)[^\n]*(\\])");
    return std::regex_replace(std::regex_replace(text, datum, "$1<DATUM>"), cas, "$1<CAS>$2");
}

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
}  // namespace

TEST(Golden, EveryExampleReproducesItsReport)
{
    int primerov = 0;
    for (const auto& e : fs::directory_iterator(kGolden)) {
        if (e.path().extension() != ".con") continue;
        const std::string ime = e.path().stem().string();
        fs::path vir = fs::path(NIVEX_SOURCE_DIR) / "examples" / (ime + ".dat");
        if (!fs::exists(vir)) vir = fs::path(kGolden) / (ime + ".dat");
        ASSERT_TRUE(fs::exists(vir)) << ime;
        SCOPED_TRACE(ime);

        const std::string dir = TempDir("golden_" + ime);
        fs::copy_file(vir, dir + "/" + ime + ".dat");
        const Izid r = RunNivex({ime + ".dat"}, dir);
        EXPECT_EQ(std::to_string(r.status) + "\n", ReadFile(kGolden + "/" + ime + ".status"));
        const std::string con = Maskiraj(r.out), conGold = ReadFile(e.path().string());
        EXPECT_TRUE(con == conGold) << "console, " << PrvaRazlika(conGold, con);
        const std::string gold = kGolden + "/" + ime + ".NVX";
        if (fs::exists(gold)) {
            const std::string rep = Maskiraj(ReadFile(dir + "/" + ime + ".NVX")), repGold = ReadFile(gold);
            EXPECT_TRUE(rep == repGold) << "report, " << PrvaRazlika(repGold, rep);
        } else {
            EXPECT_FALSE(fs::exists(dir + "/" + ime + ".NVX"));
        }
        ++primerov;
    }
    EXPECT_GE(primerov, 6);
}
