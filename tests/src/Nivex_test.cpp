// The program as a user runs it: file names, the prompt, the refusals of the
// command line and of the data-file name, runs one after another in one
// process, the driver's end of a fatal error, and the iteration loop, whose
// approximate values move to the adjusted ones without help from any print.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "TestUtil.h"
#include "src/Nivex.h"
#include "src/NivexAux.h"

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

// The options (help and version end with status 0, an unknown one is refused
// with the usage), the whole line typed at the prompt as the name (echoed
// only as the report name), and the refusals of the command line and of the
// files: each names the file and the cause, with status 1 and no report.
TEST(Nivex, OptionsPromptAndRefusalsOfTheCommandLine)
{
    const std::string dir = TempDir("refuse"), kon = "\n\n\tKoncujem program ... \n";
    const std::string uporaba = "Uporaba: nivex [--help | --version] [--lang en|sl] [datoteka s podatki | --compare EPOHA1 EPOHA2]";
    for (const char* a : {"--help", "-h"}) {
        const Izid r = RunNivex({a}, dir);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.out.starts_with(uporaba + "\n") && r.out.ends_with("Podrobno: man nivex\n")) << r.out;
    }
    for (const char* a : {"--version", "-V"}) EXPECT_EQ(RunNivex({a}, dir).out, "nivex " NIVEX_VERSION "\n");

    // A file named "my" beside "my network v2.dat": the name typed is the whole line.
    WriteFile(dir + "/my network v2.dat", kDatoteka);
    WriteFile(dir + "/my", kDatoteka);
    const Izid r = RunNivex({}, dir, "  my network v2.dat \r\n\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Podaj datoteko s podatki -> "), std::string::npos);
    EXPECT_EQ(r.out.find("Datoteka s podatki       -> "), std::string::npos);
    EXPECT_NE(r.out.find("Datoteka z rezultati     -> my network v2.NVX\n"), std::string::npos);
    EXPECT_TRUE(Obstaja(dir + "/my network v2.NVX"));
    EXPECT_FALSE(Obstaja(dir + "/my.NVX"));

    WriteFile(dir + "/mreza.dat", kDatoteka);
    WriteFile(dir + "/zaklenjena.dat", kDatoteka);
    std::filesystem::permissions(dir + "/zaklenjena.dat", std::filesystem::perms::none);
    // The report's name taken by a folder.
    WriteFile(dir + "/r.dat", kDatoteka);
    std::filesystem::create_directory(dir + "/r.NVX");
    const std::string ne = " (NE MOREM ODPRETI!!)      *** ";
    std::vector<std::pair<std::vector<std::string>, std::string>> primeri = {
        {{}, " **** Ime vhodne datoteke ni podano" + ne},
        {{"mreza.dat", "b"}, " **** " + uporaba + "      *** "},
        {{"-x"}, " **** Neznana moznost \"-x\" (datoteko, ki se zacne z -, podaj kot ./-x).  " + uporaba + "      *** "},
        {{"missing.dat"}, " **** Vhodna datoteka \"missing.dat\" ne obstaja" + ne},
        {{"no/such/m.dat"}, " **** Vhodna datoteka \"no/such/m.dat\" ne obstaja" + ne},
        {{dir}, " **** Vhodna datoteka \"" + dir + "\" je mapa, ne datoteka" + ne},
        {{std::string(300, 'a')}, " **** Ime vhodne datoteke je predolgo (najvec 255 znakov)!!      *** "},
        {{"r.dat"}, " **** Datoteke z rezultati \"r.NVX\" ni mogoce ustvariti: je mapa, ne datoteka      *** "}};
    // Permissions do not hold for root.
    if (geteuid() != 0) primeri.push_back({{"zaklenjena.dat"}, " **** Vhodna datoteka \"zaklenjena.dat\" ni dovoljeno brati" + ne});
    for (const auto& [args, sporocilo] : primeri) {
        const Izid z = RunNivex(args, dir);
        EXPECT_EQ(z.status, 1);
        // No prompt where nothing waits for Enter; the message on standard error as well.
        EXPECT_TRUE(z.out.ends_with("\n\n" + sporocilo + kon)) << z.out;
        EXPECT_EQ(z.err, "\n\n" + sporocilo + kon);
    }
    EXPECT_FALSE(Obstaja(dir + "/mreza.NVX"));
    EXPECT_FALSE(Obstaja(dir + "/missing.NVX"));
    EXPECT_FALSE(Obstaja(dir + "/zaklenjena.NVX"));

    // A refusal does not wait for Enter on an input that stays open (a
    // script's pipe): the run ends at once with status 1.
    int cev[2];
    ASSERT_EQ(pipe(cev), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(cev[0], 0);
        close(cev[1]);
        const int nic = open("/dev/null", O_WRONLY);
        dup2(nic, 1);
        if (chdir(dir.c_str()) == 0) execl(NIVEX_EXE, NIVEX_EXE, "missing.dat", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(cev[0]);
    int st = -1, cakal = 0;
    while (waitpid(pid, &st, WNOHANG) == 0 && cakal++ < 100) usleep(50000);
    if (cakal > 100) kill(pid, SIGKILL), waitpid(pid, &st, 0);
    close(cev[1]);
    EXPECT_LE(cakal, 100) << "the refusal waited for Enter on an open pipe";
    EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 1);
}

// A mistyped setting is a warning with its line, in the report and again in
// the closing lines of the console; the run completes.
TEST(Nivex, UnknownSettingInTheReportAndTheClosingLines)
{
    const std::string dir = TempDir("neznan");
    WriteFile(dir + "/m.dat", "*DIM 1\n\n*ITTER 1\n" + kDatoteka.substr(7));
    const Izid r = RunNivex({"m.dat"}, dir);
    const std::string t = " #### NEPOZNAN PARAMETER OBDELAVE -> *ITTER  (vrstica 3) - prezrt      #### ";
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(t + "\n\n" + std::string(78, '=') + "\n   KONCAL Z IZRACUNI"), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(dir + "/m.NVX").find(t), std::string::npos);
}

// A number after a record's last field (a ppm term) is passed over with a
// warning that names its line, in the report, among the summary's warnings
// and on standard error; a word there stays a silent remark.  Standard
// output keeps its text.
TEST(Nivex, NumberAfterTheLastFieldIsAWarning)
{
    const std::string dir = TempDir("za_poljem");
    WriteFile(dir + "/m.dat", "*DIM 1\n*D V\n**V R1\nX R1 100.000\nX T1 101.000\nX T2 102.0 7\n"
                              "h R1 T1 1.000 1.0 3\nh T1 T2 1.0 1.0 ppm 4\n*K\n");
    const Izid r = RunNivex({"m.dat"}, dir);
    const std::string x = " #### Zapis X (priblizna visina tocke) (vrstica 6): za zadnjim poljem stoji se stevilo 7 - prezrto (del zapisa ni)      #### ";
    const std::string h = " #### Zapis h (visinska razlika) (vrstica 7): za zadnjim poljem stoji se stevilo 3 - prezrto (del zapisa ni)      #### ";
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.err, x + "\n" + h + "\n");
    EXPECT_NE(r.out.find("\n\n" + h + "\n\n"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("\n")) << r.out;
    const std::string nvx = ReadFile(dir + "/m.NVX");
    EXPECT_NE(nvx.find("\n" + x + "\n"), std::string::npos);
    EXPECT_NE(nvx.find("Opozorila:       2\n   " + x.substr(6, x.size() - 17) + "\n"), std::string::npos) << nvx;
    EXPECT_EQ(nvx.find("ppm"), std::string::npos);
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

namespace {
// Standard input from /dev/null while it lives: a refusal run in this
// process must not wait for Enter at a terminal.
struct BrezTipkovnice {
    int prej = dup(0);
    BrezTipkovnice()
    {
        const int nic = open("/dev/null", O_RDONLY);
        dup2(nic, 0);
        close(nic);
    }
    ~BrezTipkovnice()
    {
        dup2(prej, 0);
        close(prej);
    }
};

// NivexMain in this process on one data file: its status and console.  Only
// the console's buffer is swapped, so a run meets the console as the run
// before it left it.
Izid NivexVProcesu(const std::string& dat)
{
    std::ostringstream k;
    std::streambuf* const prej = std::cout.rdbuf(k.rdbuf());
    const char* argv[] = {"nivex", dat.c_str()};
    const int status = NivexMain(2, argv);
    std::cout.rdbuf(prej);
    return {status, k.str(), ""};
}
}  // namespace

// Three data files run one after another in one process (a levelling
// network with a mistyped setting, a plane network, a refusal after them)
// give the reports, consoles and statuses of three separate processes:
// nothing of a run (its warnings, its open report, the console's number
// format) is left for the next, and the refusal is reported once, with
// status 1.
TEST(Nivex, RunsOneAfterAnotherInOneProcessAsInTheirOwn)
{
    const std::string dir = TempDir("zaporedni");
    const std::string a = dir + "/a.dat", b = dir + "/b.dat", c = dir + "/c.dat";
    WriteFile(a, "*ITTER 1\n" + ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/nivelman.dat"));
    WriteFile(b, ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/ravninska_gon.dat"));
    WriteFile(c, ReadFile(std::string(NIVEX_TEST_DATA) + "/golden/napaka_tocka.dat"));
    std::vector<std::pair<Izid, std::string>> vProcesu;
    {
        const BrezTipkovnice brez;
        Tiho([&] {
            for (const std::string& dat : {a, b, c}) {
                const Izid izid = NivexVProcesu(dat);
                vProcesu.emplace_back(izid, ReadFile(dat.substr(0, dat.size() - 3) + "NVX"));
            }
        });
    }
    const std::string opomba = " #### NEPOZNAN PARAMETER OBDELAVE -> *ITTER  (vrstica 1) - prezrt      #### ";
    const std::string konec = std::string(78, '=') + "\n   KONCAL Z IZRACUNI";
    const std::string zavrnitev =
        " **** Zapis h (visinska razlika) st. 2 (vrstica 9): TOCKA T9 NE OBSTAJA V SEZNAMU TOCK!!!! (zapisi X)      *** ";
    int k = 0;
    for (const std::string& dat : {a, b, c}) {
        SCOPED_TRACE(dat);
        const Izid loceno = RunNivex({dat}, dir);
        const std::string nvx = ReadFile(dat.substr(0, dat.size() - 3) + "NVX");
        const auto& [izid, porocilo] = vProcesu[static_cast<std::size_t>(k++)];
        EXPECT_EQ(izid.status, loceno.status);
        EXPECT_EQ(izid.status, dat == c ? 1 : 0);
        EXPECT_EQ(Maskiraj(izid.out), Maskiraj(loceno.out));
        EXPECT_EQ(Maskiraj(porocilo), Maskiraj(nvx));
        // The mistyped setting of the first run is repeated in its closing
        // lines only.
        EXPECT_EQ(izid.out.find(opomba + "\n\n" + konec) != std::string::npos, dat == a) << izid.out;
        if (dat == c) {
            EXPECT_TRUE(izid.out.ends_with("\n\n" + zavrnitev + "\n\n\tKoncujem program ... \n"));
            EXPECT_TRUE(porocilo.ends_with("\n\n" + zavrnitev + "\n\n\tKoncujem program ... ")) << porocilo;
        }
    }
}

// A fatal error, a lack of memory and any other exception that reach the
// driver end the run the same way: the message to the console and after
// what the report holds, the report closed, the pause, status 1.
TEST(Nivex, TheDriverReportsEveryFatalEndOnce)
{
    const std::string kon = "\n\n\tKoncujem program ... ";
    const std::pair<std::function<void()>, std::string> primeri[] = {
        {[] { NivexError(" **** Ne gre      *** "); }, "\n\n **** Ne gre      *** " + kon},
        {[] { throw std::bad_alloc(); },
         "\n\n **** Za izracun ni dovolj pomnilnika - mreza je prevelika za ta racunalnik      *** " + kon},
        {[] { throw std::out_of_range("kljuc ni v tabeli"); },
         "\n\n **** Notranja napaka programa: kljuc ni v tabeli      *** " + kon}};
    const std::string pot = TempDir("gonilnik") + "/r.NVX";
    const BrezTipkovnice brez;
    for (const auto& [f, besedilo] : primeri) {
        CKontekstIzvajanja kontekst;
        std::ofstream porocilo(pot);
        kontekst.porocilo = &porocilo;
        int status = -1;
        const std::string konzola = Tiho([&] {
            const CNamesceniKontekst namescen(kontekst);
            status = NivexIzvedi([&] {
                porocilo << "prej";
                f();
                return 0;
            });
        });
        EXPECT_EQ(status, 1);
        EXPECT_EQ(konzola, besedilo + "\n");
        EXPECT_FALSE(porocilo.is_open());
        EXPECT_EQ(kontekst.porocilo, nullptr);
        EXPECT_EQ(ReadFile(pot), "prej" + besedilo);
    }
    // Without a fatal end the status is the run's own.
    EXPECT_EQ(NivexIzvedi([] { return 0; }), 0);
}
