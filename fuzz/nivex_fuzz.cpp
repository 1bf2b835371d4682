// Fuzz target over one whole run: the input is written as a data file and
// read, modelled, solved, reported and exported in this process.  A refusal
// is the expected answer to most inputs: it is thrown (NivexNapaka) and
// caught here, so only a crash, a sanitizer report, a hang, a run
// that leaks memory, or "nan"/"inf" written to the report or an export file
// counts as a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <cctype>
#include <fstream>
#include <iterator>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "funkcije/funkcijeAux.h"
#include "src/Nivex.h"

namespace {
// Console output of the run goes nowhere: it would only slow the fuzzer.
class NicelniBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// The folder of the data file and the export files, removed when the
// fuzzer process ends.
struct ZacasnaMapa {
    std::string pot = "/tmp/nivex_fuzz_XXXXXX";
    ZacasnaMapa()
    {
        if (mkdtemp(pot.data()) == nullptr) std::abort();
    }
    ~ZacasnaMapa()
    {
        std::error_code ec;
        std::filesystem::remove_all(pot, ec);
    }
};

const std::string& Mapa()
{
    static const ZacasnaMapa mapa;
    return mapa.pot;
}

// "nan" or "inf" standing as a word of its own, as a stream prints a number
// that is not finite (the report's own words hold the letters inside them).
bool NekoncnoStevilo(const std::string& t)
{
    const auto crka = [&t](std::size_t k) { return std::isalpha(static_cast<unsigned char>(t[k])) != 0; };
    for (const char* w : {"nan", "inf"})
        for (std::size_t k = t.find(w); k != std::string::npos; k = t.find(w, k + 1))
            if ((k == 0 || !crka(k - 1)) && (k + 3 == t.size() || !crka(k + 3))) return true;
    return false;
}

std::string Vsebina(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string dat = Mapa() + "/mreza.dat";
    for (const auto& e : std::filesystem::directory_iterator(Mapa())) std::filesystem::remove(e.path());
    {
        std::ofstream f(dat, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static NicelniBuffer nic;
    std::streambuf* konzola = std::cout.rdbuf(&nic);
    std::ostringstream report;
    try {
        // Each input a run of its own: its objects and its context (warnings).
        CNivex run;
        run.Izracun(dat, report);
    } catch (const NivexNapaka&) {
    }
    std::cout.rdbuf(konzola);
    // A name or a word of the input may spell the letters; otherwise they
    // can only be a number that is not finite.
    const std::string vhod(reinterpret_cast<const char*>(data), size);
    if (vhod.find("nan") == std::string::npos && vhod.find("inf") == std::string::npos) {
        if (NekoncnoStevilo(report.str())) {
            std::cerr << "nan/inf in the report:\n" << report.str();
            std::abort();
        }
        for (const auto& e : std::filesystem::directory_iterator(Mapa()))
            if (e.path().extension() == ".TXT" && NekoncnoStevilo(Vsebina(e.path()))) {
                std::cerr << "nan/inf in " << e.path() << "\n";
                std::abort();
            }
    }
    return 0;
}
