#include "TestUtil.h"

#include <cctype>
#include <set>

#include "funkcije/Besedila.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "funkcije/funkcijeAux.h"
#include "src/NivexAux.h"

namespace {
// Forks; the child writes standard output into a pipe and standard error
// into a file of its own (read once it ends, so neither can block the
// other), reads stdinText from another pipe and runs v_otroku, which must
// not return.
Izid Otrok(const std::function<void()>& v_otroku, const std::string& stdinText)
{
    std::cout.flush();
    std::fflush(nullptr);
    std::string errPot = (std::filesystem::temp_directory_path() / "nivex_err_XXXXXX").string();
    const int errFd = mkstemp(errPot.data());
    int out[2], in[2];
    if (errFd < 0 || pipe(out) != 0 || pipe(in) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(errFd, 2);
        dup2(in[0], 0);
        close(out[0]);
        close(in[1]);
        std::cin.clear();
        v_otroku();
        _exit(127);
    }
    close(out[1]);
    close(in[0]);
    [[maybe_unused]] const ssize_t w = write(in[1], stdinText.data(), stdinText.size());
    close(in[1]);
    Izid r;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) r.out.append(buf, static_cast<std::size_t>(n));
    close(out[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    close(errFd);
    r.err = ReadFile(errPot);
    std::remove(errPot.c_str());
    return r;
}
}  // namespace

Izid Zavrni(const std::function<void()>& f)
{
    try {
        f();
    } catch (const NivexNapaka& e) {
        return {1, e.what(), ""};
    }
    return {0, "", ""};
}

Izid RunChild(const std::function<void()>& f)
{
    // The child ends as the program does: a fatal error reported once, status 1.
    return Otrok(
        [&f] {
            const int status = NivexIzvedi([&f] {
                f();
                return 0;
            });
            std::cout.flush();
            std::fflush(nullptr);
            _exit(status);
        },
        "");
}

Izid RunNivex(const std::vector<std::string>& args, const std::string& workdir, const std::string& stdinText,
              unsigned long pomnilnikMB)
{
    std::vector<std::string> a(args);
    a.insert(a.begin(), NIVEX_EXE);
    std::vector<char*> argv;
    for (auto& s : a) argv.push_back(s.data());
    argv.push_back(nullptr);
    return Otrok(
        [&] {
            if (pomnilnikMB > 0) {
                const rlimit r{pomnilnikMB << 20, pomnilnikMB << 20};
                setrlimit(RLIMIT_AS, &r);
            }
            if (chdir(workdir.c_str()) == 0) execv(argv[0], argv.data());
        },
        stdinText);
}

std::string TempDir(const std::string& tag)
{
    std::string templ = (std::filesystem::temp_directory_path() / ("nivex_" + tag + "_XXXXXX")).string();
    return mkdtemp(templ.data()) == nullptr ? "/tmp" : templ;
}

std::string Datoteka(const std::string& text)
{
    const std::string pot = TempDir("dat") + "/mreza.dat";
    WriteFile(pot, text);
    return pot;
}

std::string Tiho(const std::function<void()>& f)
{
    // The run leaves the console in fixed notation; later tests in this
    // process must not inherit that.
    struct Preusmeritev {
        std::ostringstream k;
        std::ios stanje{nullptr};
        std::streambuf* prej;
        Preusmeritev() : prej(std::cout.rdbuf(k.rdbuf())) { stanje.copyfmt(std::cout); }
        // Also when f ends with a fatal error.
        ~Preusmeritev()
        {
            std::cout.rdbuf(prej);
            std::cout.copyfmt(stanje);
        }
    } p;
    f();
    return p.k.str();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> v;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);) v.push_back(l);
    return v;
}

std::string Maskiraj(const std::string& text)
{
    static const std::regex datum("(^|\n) {55}\\d{4}-\\d\\d-\\d\\d  \\d\\d:\\d\\d:\\d\\d(?=\n)");
    // The closing line's seconds, in either language.
    static const std::regex cas("(\n   [^\n]*\\[)\\d+\\.\\d{4} s(\\])(?=\n)");
    return std::regex_replace(std::regex_replace(text, datum, "$1<DATUM>"), cas, "$1<CAS>$2");
}

bool KatalogNepopoln()
{
    for (unsigned k = 0; k < static_cast<unsigned>(Besedilo::kStevilo); ++k) {
        const auto id = static_cast<Besedilo>(k);
        // An entry that is empty in Slovenian (a blank label) is empty in English too.
        if (*BesediloAngleski(id) == '\0' && *B(id, Jezik::SL) != '\0') return true;
    }
    return false;
}

namespace {
std::set<std::string> Besede(const std::string& text)
{
    std::set<std::string> besede;
    std::string w;
    for (const char c : text + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            w += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (!w.empty()) {
            besede.insert(w);
            w.clear();
        }
    }
    return besede;
}
}  // namespace

std::string SlovenskaBeseda(const std::string& text, const std::string& data)
{
    static const char* const kBesede[] = {
        "TOCKA", "TOCKE", "TOCK", "TOCKI", "IZRAVNAVA", "IZRAVNAVE", "IZRAVNANE", "IZRAVNANA", "IZRAVNANI", "ODKLON",
        "ODKLONI", "ODKLONA", "NAPAKA", "NAPAKE", "PRITISNI", "VRSTICA", "VRSTICI", "VRSTICE", "OPAZOVANJ",
        "OPAZOVANJA", "OPAZOVANJE", "NEZNANK", "NEZNANKE", "NEZNANKA", "ZAPIS", "ZAPISA", "DATOTEKA", "DATOTEKE",
        "DATOTEKO", "GLOBALNI", "GLOBALNEGA", "POPRAVKI", "POPRAVEK", "POPRAVKOV", "POPRAVKA", "KONCAL", "IZRACUNI",
        "KONCUJEM", "PODATKI", "PODATKOV", "PODATEK", "REZULTATI", "REZULTATOV", "MREZA", "MREZE", "MREZO",
        "STOJISCE", "STOJISCA", "SMERI", "SMER", "DOLZINE", "DOLZINA", "VISINE", "VISINA", "ELIPSA", "ELIPSE",
        "ZANESLJIVOST", "NATANCNOST", "NATANCNOSTI", "STEVILO", "ITERACIJA", "ITERACIJE", "VERJETNOST", "ENOTE",
        "KOTOV", "KOTI", "NASTAVITVE", "OBDELAVE", "UPORABA", "MOZNOST", "PODAJ", "OPOZORILO", "OPOZORILA",
        "IZPIS", "STATISTIKA", "REFERENCNI", "VEKTORJI", "HITROSTI", "ISKANJE", "GROBIH", "POGRESKOV", "POGRESEK",
        "DANE", "DANIH", "JE", "NI", "ZA", "PRI", "NISO", "BREZ", "VSE", "MORA", "MORAJO", "ALI", "KOT", "SE"};
    const std::set<std::string> v = Besede(text), podatki = Besede(data);
    for (const char* b : kBesede)
        if (v.contains(b) && !podatki.contains(b)) return b;
    return "";
}
