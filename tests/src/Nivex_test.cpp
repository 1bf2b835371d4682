// The program as a user runs it: names, banner, report, closing lines and
// the refusals of the command line and of the data-file name.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "TestUtil.h"
#include "src/Nivex.h"

namespace {
const std::string kDatoteka = "# nivelmanska mreza\n*DIM 1\n*D V\n**V R1\nX R1 100.000\nX T1 101.000\n"
                              "h R1 T1 1.000 1.0\n*K\n";

bool Obstaja(const std::string& p) { return std::filesystem::exists(p); }
}  // namespace

TEST(Nivex, FileNamesFromTheLastDot)
{
    std::string rep, base;
    ImenaDatotek("mreza.dat", rep, base);
    EXPECT_EQ(base, "mreza");
    EXPECT_EQ(rep, "mreza.NVX");
    ImenaDatotek("mreza", rep, base);
    EXPECT_EQ(base, "mreza");
    EXPECT_EQ(rep, "mreza.NVX");
    ImenaDatotek("dir.old/mreza", rep, base);  // the directory's dot counts
    EXPECT_EQ(base, "dir");
    EXPECT_EQ(rep, "dir.NVX");
    ImenaDatotek("a.b.dat", rep, base);
    EXPECT_EQ(base, "a.b");
}

TEST(Nivex, BannerLayout)
{
    std::ostringstream s;
    NaslovNivex(s);
    const auto v = Lines(s.str());
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(v[0], std::string(75, '_'));
    EXPECT_EQ(v[1], std::string(75, '*'));
    EXPECT_EQ(v[2], "       Nivex" + std::string(48, ' ') + "Ver.   3.2 ");
    EXPECT_EQ(v[2].size(), 71u);
    EXPECT_EQ(v[2].find("Ver."), 60u);  // column 61 counted from 1
    EXPECT_EQ(v[3], "       =====");
    EXPECT_EQ(v[4], "       Release:" + std::string(45, ' ') + "12 AVG 2014");
    EXPECT_EQ(v[5], std::string(75, '_'));
    EXPECT_EQ(v[6], std::string(75, '*'));
    EXPECT_TRUE(std::regex_match(v[7], std::regex(" {55}\\d{4}-\\d\\d-\\d\\d  \\d\\d:\\d\\d:\\d\\d"))) << v[7];
    EXPECT_EQ(v[8], "");
}

TEST(Nivex, RunWithOneArgumentWritesTheReport)
{
    const std::string dir = TempDir("run");
    WriteFile(dir + "/mreza.dat", kDatoteka);
    const Izid r = RunNivex({"mreza.dat"}, dir);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Datoteka s podatki       -> mreza.dat\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Datoteka z rezultati     -> mreza.NVX\n\n\n"), std::string::npos);
    EXPECT_NE(r.out.find(std::string(78, '=') + "\n   KONCAL Z IZRACUNI !!!  ["), std::string::npos);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("KONCAL Z IZRACUNI !!!  \\[\\d+\\.\\d{4} s\\]\n={78}\n\n$")))
        << r.out;
    EXPECT_EQ(r.out.find("Pritisni ENTER"), std::string::npos);

    const auto v = Lines(ReadFile(dir + "/mreza.NVX"));
    ASSERT_GE(v.size(), 12u);
    EXPECT_EQ(v[0], std::string(75, '_'));
    EXPECT_EQ(v[2].size(), 71u);
    EXPECT_EQ(v[9], "Datoteka s podatki       ->            mreza.dat");
    EXPECT_EQ(v[10], "Datoteka z rezultati     ->            mreza.NVX");
    EXPECT_EQ(v[11], "");
}

TEST(Nivex, RunWithoutArgumentPromptsAndWaits)
{
    const std::string dir = TempDir("prompt");
    WriteFile(dir + "/mreza.dat", kDatoteka);
    const Izid r = RunNivex({}, dir, "mreza.dat\n\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Podaj datoteko s podatki -> "), std::string::npos);
    EXPECT_EQ(r.out.find("Datoteka s podatki       -> "), std::string::npos);  // only from the command line
    EXPECT_NE(r.out.find("Datoteka z rezultati     -> mreza.NVX"), std::string::npos);
    EXPECT_TRUE(Obstaja(dir + "/mreza.NVX"));
    // Closed input at the prompt: refused, never a hang.
    const Izid prazno = RunNivex({}, dir, "");
    EXPECT_EQ(prazno.status, 1);
}

TEST(Nivex, RefusalsOfTheCommandLineAndNames)
{
    const std::string dir = TempDir("refuse");
    WriteFile(dir + "/mreza.dat", kDatoteka);

    Izid r = RunNivex({"a", "b"}, dir);
    EXPECT_EQ(r.status, 1);
    std::ostringstream banner;
    NaslovNivex(banner);
    EXPECT_EQ(r.out.size(), banner.str().size());  // the banner and nothing else
    EXPECT_EQ(r.out.substr(0, 75), std::string(75, '_'));

    r = RunNivex({"missing.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\n\n **** Vhodna datoteka s tem imenom ne obstaja (NE MOREM ODPRETI!!)      *** \n\n"
                         "\tKoncujem program ... Pritisni ENTER ... "),
              std::string::npos)
        << r.out;
    EXPECT_FALSE(Obstaja(dir + "/missing.NVX"));

    r = RunNivex({dir}, dir);  // a directory is not a data file
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("ne obstaja"), std::string::npos);

    const std::string dolgo(300, 'a');
    r = RunNivex({dolgo + ".dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" **** Ime vhodne datoteke je predolgo (najvec 255 znakov)!!      *** "), std::string::npos);
}
