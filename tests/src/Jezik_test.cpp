// The language of a run: *LANG and --lang, the English catalogue and the
// English output (no Slovenian word in it, the same numbers as the Slovenian
// report line for line).  The tests of the English words skip while the
// catalogue has entries without them.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "TestUtil.h"
#include "funkcije/Besedila.h"
#include "src/Nivex.h"

namespace fs = std::filesystem;

namespace {
const std::string kMreza = "*DIM 1\n*D V\n**V A\nX A 100\nX B 101\nh A B 1.002 0.003\nh B A -0.998 0.003\n";

// The data files of every shipped example and feature example.
std::vector<fs::path> Primeri()
{
    std::vector<fs::path> p;
    for (const char* d : {NIVEX_SOURCE_DIR "/examples", NIVEX_TEST_DATA "/golden"})
        for (const auto& e : fs::directory_iterator(d))
            if (e.path().extension() == ".dat") p.push_back(e.path());
    std::sort(p.begin(), p.end());
    return p;
}

// The printf conversions of a text, in order.
std::vector<std::string> Pretvorbe(const std::string& t)
{
    static const std::regex r("%[-+ #0]*\\d*(\\.\\d+)?(hh|h|ll|l|L|z|j|t)?[diouxXeEfgGcsp%]");
    std::vector<std::string> v;
    for (std::sregex_iterator i(t.begin(), t.end(), r), e; i != e; ++i) v.push_back(i->str());
    return v;
}

// The whole words of a line that are numbers, punctuation around them dropped.
std::vector<std::string> Stevila(const std::string& line)
{
    static const std::regex r("^[(\\[]*([-+]?\\d+(\\.\\d+)?([eE][-+]?\\d+)?)[)\\],:;%]*$");
    std::vector<std::string> v;
    std::istringstream s(line);
    std::smatch m;
    for (std::string w; s >> w;)
        if (std::regex_match(w, m, r)) v.push_back(m[1]);
    return v;
}

// The run of one data file (copied to a fresh folder) with the given options.
struct Tek {
    Izid izid;
    std::string porocilo;
};
Tek Zazeni(const fs::path& dat, const std::vector<std::string>& moznosti)
{
    const std::string dir = TempDir("jezik");
    fs::copy_file(dat, dir + "/m.dat");
    std::vector<std::string> a = moznosti;
    a.push_back("m.dat");
    Tek t{RunNivex(a, dir), ""};
    t.porocilo = ReadFile(dir + "/m.NVX");
    return t;
}
}  // namespace

// *LANG sets the language, --lang overrides it, the settings section and the
// JSON say which; a wrong value is refused either way; each in-process run
// sets the language from its own file and command line.
TEST(Jezik, SettingAndOptionChooseTheLanguage)
{
    const std::string dir = TempDir("jezik_izbira");
    WriteFile(dir + "/en.dat", "*LANG EN\n*JSON\n" + kMreza);
    Izid r = RunNivex({"en.dat"}, dir);
    ASSERT_EQ(r.status, 0) << r.out;
    std::string rep = ReadFile(dir + "/en.NVX");
    EXPECT_NE(rep.find("LANGUAGE OF THE REPORT:\n-----------------------\nLanguage of the report and messages: EN\n"),
              std::string::npos);
    EXPECT_NE(ReadFile(dir + "/en.json").find("\"language\": \"en\""), std::string::npos);
    r = RunNivex({"--lang", "sl", "en.dat"}, dir);
    ASSERT_EQ(r.status, 0) << r.out;
    rep = ReadFile(dir + "/en.NVX");
    EXPECT_NE(rep.find("JEZIK POROCILA:\n---------------\nJezik porocila in sporocil: SL\n"), std::string::npos);
    EXPECT_NE(ReadFile(dir + "/en.json").find("\"language\": \"sl\""), std::string::npos);
    // Without *LANG and --lang the report has no language section.
    WriteFile(dir + "/sl.dat", kMreza);
    ASSERT_EQ(RunNivex({"sl.dat"}, dir).status, 0);
    EXPECT_EQ(ReadFile(dir + "/sl.NVX").find("JEZIK"), std::string::npos);
    r = RunNivex({"--lang=en", "sl.dat"}, dir);
    EXPECT_NE(ReadFile(dir + "/sl.NVX").find("Language of the report and messages: EN\n"), std::string::npos);

    WriteFile(dir + "/fr.dat", "*DIM 1\n*LANG FR\n" + kMreza.substr(7));
    r = RunNivex({"fr.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(std::string(B(Besedilo::NapakaJezik, Jezik::SL)) +
                         "\n **** *LANG FR  (vrstica 2) - dovoljene vrednosti: SL, EN      *** "),
              std::string::npos) << r.err;
    r = RunNivex({"--lang", "fr", "sl.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" **** Moznost --lang sprejme en ali sl, podano: \"fr\".  Uporaba: nivex [--help | --version] "
                         "[--lang en|sl] [datoteka s podatki | --compare EPOHA1 EPOHA2]      *** "), std::string::npos) << r.err;
    EXPECT_EQ(RunNivex({"--lang"}, dir).status, 1);
    r = RunNivex({"--lang", "en", "--help"}, dir);
    EXPECT_TRUE(r.status == 0 && r.out.starts_with(B(Besedilo::NivexUporabaJezik, Jezik::EN))) << r.out;

    // In-process runs one after the other: each speaks its own file's language.
    for (const auto& [ime, jezik] : {std::pair{"en.dat", Jezik::EN}, {"sl.dat", Jezik::SL}, {"en.dat", Jezik::EN}}) {
        const std::string pot = dir + "/" + ime;
        const char* argv[] = {"nivex", pot.c_str()};
        Tiho([&] { EXPECT_EQ(NivexMain(2, argv), 0); });
        EXPECT_EQ(BesedilaJezik(), jezik) << ime;
    }
    BesedilaJezik(Jezik::SL);
}

// Every entry in both languages: English words, ASCII, the same printf
// conversions in the same order, and a column header (two or more spaced
// columns, no conversion) as long as the Slovenian one.
TEST(Jezik, EveryCatalogueEntryHasBothLanguages)
{
    if (KatalogNepopoln()) GTEST_SKIP() << "catalogue incomplete: entries without English words";
    for (unsigned k = 0; k < static_cast<unsigned>(Besedilo::kStevilo); ++k) {
        const auto id = static_cast<Besedilo>(k);
        const std::string sl = B(id, Jezik::SL), en = BesediloAngleski(id);
        SCOPED_TRACE(BesediloIme(id));
        EXPECT_EQ(en.empty(), sl.empty());
        EXPECT_TRUE(std::all_of(en.begin(), en.end(), [](char c) { return static_cast<unsigned char>(c) < 128; }));
        EXPECT_EQ(Pretvorbe(en), Pretvorbe(sl));
        const bool glava = sl.find('%') == std::string::npos && !sl.starts_with(" ****") &&
                           !sl.starts_with(" ####") && std::regex_search(sl, std::regex("\\S  +\\S.*\\S  +\\S"));
        if (glava) {
            EXPECT_EQ(en.size(), sl.size()) << "[" << sl << "]\n[" << en << "]";
        }
    }
}

// The English and Slovenian reports of every example hold the same numbers
// line for line.
TEST(Jezik, EnglishAndSlovenianReportsHoldTheSameNumbers)
{
    for (const fs::path& p : Primeri()) {
        SCOPED_TRACE(p.filename().string());
        const Tek sl = Zazeni(p, {}), en = Zazeni(p, {"--lang", "en"});
        EXPECT_EQ(sl.izid.status, en.izid.status);
        auto a = Lines(Maskiraj(sl.porocilo)), b = Lines(Maskiraj(en.porocilo));
        // The English report alone names its language (five lines).
        const auto j = std::find(b.begin(), b.end(), B(Besedilo::PodnaslovJezik, Jezik::EN));
        ASSERT_TRUE(j != b.end() && b.end() - j > 5);
        b.erase(j, j + 5);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(Stevila(a[i]), Stevila(b[i])) << a[i] << "\n" << b[i];
    }
}

// No Slovenian word in the English report, console or standard error of any
// example (the refusals are covered beside their own test).
TEST(Jezik, NoSlovenianWordInEnglishOutput)
{
    if (KatalogNepopoln()) GTEST_SKIP() << "catalogue incomplete: entries without English words";
    for (const fs::path& p : Primeri()) {
        const Tek t = Zazeni(p, {"--lang", "en"});
        EXPECT_EQ(SlovenskaBeseda(t.porocilo + t.izid.out + t.izid.err, ReadFile(p.string())), "") << p;
    }
}
