// The program as a user runs it: file names, the prompt, the refusals of the
// command line and of the data-file name, and the iteration loop, whose
// approximate values move to the adjusted ones without help from any print.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "TestUtil.h"
#include "src/Nivex.h"

namespace {
const std::string kDatoteka = "*DIM 1\n*D V\n**V R1\nX R1 100.000\nX T1 101.000\nh R1 T1 1.000 1.0\n*K\n";

bool Obstaja(const std::string& p) { return std::filesystem::exists(p); }
}  // namespace

TEST(Nivex, FileNamesFromTheLastDotOfTheFileName)
{
    const std::pair<std::string, std::string> primeri[] = {
        {"mreza.dat", "mreza"}, {"mreza", "mreza"}, {"a.b.dat", "a.b"}, {"dir.old/mreza", "dir.old/mreza"},
        {"dir.old/m.dat", "dir.old/m"}};
    for (const auto& [ime, osnova] : primeri) {
        std::string rep, base;
        ImenaDatotek(ime, rep, base);
        EXPECT_EQ(base + " " + rep, osnova + " " + osnova + ".NVX") << ime;
    }
    // The report of a data file in a folder with a dot stays beside it.
    const std::string dir = TempDir("imena");
    std::filesystem::create_directory(dir + "/dir.old");
    WriteFile(dir + "/dir.old/mreza", kDatoteka);
    EXPECT_EQ(RunNivex({"dir.old/mreza"}, dir).status, 0);
    EXPECT_TRUE(Obstaja(dir + "/dir.old/mreza.NVX"));
    EXPECT_FALSE(Obstaja(dir + "/dir.NVX"));
}

// The name at the prompt (echoed only as the report name, Enter awaited at
// the end); a closed input there, two arguments, a missing file, a folder and
// a name too long are refused with status 1 and no report.
TEST(Nivex, PromptAndRefusalsOfTheCommandLine)
{
    const std::string dir = TempDir("refuse"), kon = "\n\n\tKoncujem program ... Pritisni ENTER ... ";
    WriteFile(dir + "/mreza.dat", kDatoteka);
    const Izid r = RunNivex({}, dir, "mreza.dat\n\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Podaj datoteko s podatki -> "), std::string::npos);
    EXPECT_EQ(r.out.find("Datoteka s podatki       -> "), std::string::npos);
    EXPECT_NE(r.out.find("Datoteka z rezultati     -> mreza.NVX\n"), std::string::npos);
    ASSERT_TRUE(Obstaja(dir + "/mreza.NVX"));
    std::filesystem::remove(dir + "/mreza.NVX");

    const std::string ne = " **** Vhodna datoteka s tem imenom ne obstaja (NE MOREM ODPRETI!!)      *** ";
    const std::pair<std::vector<std::string>, std::string> primeri[] = {
        {{}, ne}, {{"mreza.dat", "b"}, " **** Uporaba: nivex [datoteka s podatki]      *** "}, {{"missing.dat"}, ne},
        {{dir}, ne}, {{std::string(300, 'a')}, " **** Ime vhodne datoteke je predolgo (najvec 255 znakov)!!      *** "}};
    for (const auto& [args, sporocilo] : primeri) {
        const Izid z = RunNivex(args, dir);
        EXPECT_EQ(z.status, 1);
        EXPECT_TRUE(z.out.ends_with("\n\n" + sporocilo + kon)) << z.out;
    }
    EXPECT_FALSE(Obstaja(dir + "/mreza.NVX"));
    EXPECT_FALSE(Obstaja(dir + "/missing.NVX"));
}

// A plane network with exact distances to a new point C whose approximate
// coordinates are 3 m off its true place (50, 50): the loop must bring C
// there.  The results print only reads (twice the same text, C unchanged);
// SetResults alone moves C by the corrections of the pass.
TEST(Nivex, IterationMovesThePointsWithoutThePrint)
{
    const std::string d = "70.710678118654752";  // sqrt(50^2 + 50^2)
    const std::string pot = Datoteka("*DIM 2\n*ITER 1\n*ITERMAX 20\n*ITERTHRES 1e-9\n*D V\n**V A\n**V B\nX A 0 0\nX B 100 0\n"
                   "X C 53 47\nD A C " + d + " 1.0\nD B C " + d + " 1.0\nD A B 100 1.0\n*K\n");
    CNivex n;
    std::ostringstream porocilo;
    Tiho([&] { n.Izracun(pot, porocilo); });
    EXPECT_GT(n.nPasses, 2);
    const long double x = n.TO.TOCrdA.OBS(2, 0), y = n.TO.TOCrdA.OBS(2, 1);
    EXPECT_NEAR(x, 50.0L, 1e-9L);
    EXPECT_NEAR(y, 50.0L, 1e-9L);

    std::ostringstream a, b;
    n.GMMS.PrintResults(a);
    n.GMMS.PrintResults(b);
    EXPECT_EQ(a.str(), b.str());
    EXPECT_EQ(n.TO.TOCrdA.OBS(2, 0), x);
    const long ix = n.GMM.iDeltaB(2);
    n.GMMS.xunk(ix + 1) = -0.5L;
    n.GMMS.SetResults();
    EXPECT_EQ(n.TO.TOCrdA.OBS(2, 0), x + n.GMMS.xunk(ix));
    EXPECT_EQ(n.TO.TOCrdA.OBS(2, 1), y - 0.5L);
    EXPECT_EQ(n.TO.TOCrdA.OBS(0, 0), 0.0L);  // a given point has no unknowns
}
