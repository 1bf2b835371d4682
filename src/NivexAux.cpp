#include "src/NivexAux.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iomanip>
#include <iostream>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "funkcije/Besedila.h"
#include "funkcije/funkcijeAux.h"

namespace {
void NaslovBlok(std::ostream& out, const char* title, unsigned short flag)
{
    if (flag == 0) return;
    const std::string crta(75, '=');
    out << crta << "\n" << title << "\n" << crta << "\n" << "\n";
}

void PodNaslovBlok(std::ostream& out, const char* title, unsigned short flag)
{
    if (flag == 0) return;
    const std::string t(title);
    out << t << "\n" << std::string(t.size(), '-') << "\n";
}

std::string SporociloNapake(const char* message)
{
    return std::string("\n\n") + message + "\n\n" + "\t" + B(Besedilo::KoncujemProgram);
}

CKontekstIzvajanja* kontekst = nullptr;  // the context of the run under way

// The report open for the run under way (nullptr when none is).
std::ofstream* Porocilo() { return kontekst != nullptr ? kontekst->porocilo : nullptr; }

// A file name in a message, quoted so that blanks in it show.
std::string Ime(const std::string& name) { return "\"" + name + "\""; }

// The cause of a failed open in the program's words.
std::string Vzrok(int napaka)
{
    switch (napaka) {
    case ENOENT:
    case ENOTDIR: return B(Besedilo::VzrokNeObstaja);
    case EISDIR: return B(Besedilo::VzrokMapa);
    case EACCES:
    case EPERM: return B(Besedilo::VzrokNiDovoljenja);
    case EROFS: return B(Besedilo::VzrokSamoZaBranje);
    case ENOSPC: return B(Besedilo::VzrokNiProstora);
    case ENAMETOOLONG: return B(Besedilo::VzrokImePredolgo);
    default: return std::strerror(napaka);
    }
}

}  // namespace

CNamesceniKontekst::CNamesceniKontekst(CKontekstIzvajanja& k) : prej_(kontekst) { kontekst = &k; }
CNamesceniKontekst::~CNamesceniKontekst() { kontekst = prej_; }
CKontekstIzvajanja* NivexKontekst() { return kontekst; }

int NivexKonecNapake(const std::string& text)
{
    std::cout << text;
    std::cout.flush();
    // Standard error as well, so that the reason shows where standard
    // output goes to a file.
    std::cerr << text << (text.ends_with('\n') ? "" : "\n");
    std::cerr.flush();
    if (std::ofstream* const porocilo = Porocilo()) {
        // The run ends after this: what the report holds must reach the disk.
        *porocilo << text;
        porocilo->close();
        kontekst->porocilo = nullptr;
    }
    KonecFunkcije();
    return 1;
}

int NivexIzvedi(const std::function<int()>& tek)
{
    try {
        return tek();
    } catch (const NivexNapaka& napaka) {
        return NivexKonecNapake(napaka.what());
    } catch (const std::bad_alloc&) {
        // Storage other than a matrix's (names, texts, lookups) that did not fit.
        return NivexKonecNapake(SporociloNapake(B(Besedilo::NapakaPomnilnik)));
    } catch (const std::exception& e) {
        // A failure of the program itself ends the run like a refusal, not
        // with a crash that loses the message.
        return NivexKonecNapake(SporociloNapake(BesediloF(Besedilo::NapakaNotranja, e.what()).c_str()));
    }
}

void Naslov(std::ofstream& out, const char* title, unsigned short flag) { NaslovBlok(out, title, flag); }
void Naslov(std::ostream& out, const char* title, unsigned short flag) { NaslovBlok(out, title, flag); }
void PodNaslov(std::ofstream& out, const char* title, unsigned short flag) { PodNaslovBlok(out, title, flag); }
void PodNaslov(std::ostream& out, const char* title, unsigned short flag) { PodNaslovBlok(out, title, flag); }

void IzpisNastavitve(std::ostream& out, int decimals)
{
    out.setf(std::ios::fixed, std::ios::floatfield);
    out.precision(decimals);
}

void IzpisNastavitve(int decimals) { IzpisNastavitve(std::cout, decimals); }

[[noreturn]] void NivexError(const char* message) { KoncnaNapaka(SporociloNapake(message)); }

[[noreturn]] void NivexError(const std::string& message) { NivexError(message.c_str()); }

[[noreturn]] void NivexError(std::ostream& report, const char* message)
{
    const std::string text = SporociloNapake(message);
    if (&report != Porocilo()) {
        report << text;
        report.flush();
    }
    KoncnaNapaka(text);
}

[[noreturn]] void NivexError(std::ostream& report, const std::string& message)
{
    NivexError(report, message.c_str());
}

void NivexWarning(const char* message, long vrstica)
{
    std::cout << "\n\n" << message << "\n\n";
    std::cerr << message << "\n";
    if (kontekst == nullptr) return;
    if (kontekst->dana.insert(message).second) kontekst->opozorila.push_back({message, vrstica});
}
void NivexWarning(const std::string& message, long vrstica) { NivexWarning(message.c_str(), vrstica); }

void NivexOpomba(const std::string& text)
{
    if (kontekst != nullptr) kontekst->opombe.push_back(text);
}

namespace {
const std::vector<std::string>& Prazen()
{
    static const std::vector<std::string> prazen;
    return prazen;
}
}  // namespace

const std::vector<std::string>& NivexOpombe() { return kontekst != nullptr ? kontekst->opombe : Prazen(); }
const std::vector<NivexOpozorilo>& NivexOpozorila()
{
    static const std::vector<NivexOpozorilo> prazen;
    return kontekst != nullptr ? kontekst->opozorila : prazen;
}

#ifndef NIVEX_VERSION
#define NIVEX_VERSION "3.2.0"
#endif

NivexUkaz NivexArgumenti(int argc, const char** argv)
{
    NivexUkaz ukaz;
    if (argc > 0) ukaz.argumenti.push_back(argv[0]);
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (a != "--lang" && !a.starts_with("--lang=")) {
            ukaz.argumenti.push_back(argv[k]);
            continue;
        }
        const bool loceno = a == "--lang";
        const std::string v = loceno ? (k + 1 < argc ? argv[k + 1] : "") : a.substr(7);
        if (loceno && k + 1 < argc) ++k;
        if (v != "en" && v != "sl" && v != "EN" && v != "SL") {
            ukaz.jezikNapacen = true;
            ukaz.napacenJezik = v;
            continue;
        }
        ukaz.jezikPodan = true;
        ukaz.jezik = v == "en" || v == "EN" ? Jezik::EN : Jezik::SL;
    }
    return ukaz;
}

bool NivexMoznosti(const NivexUkaz& ukaz)
{
    if (ukaz.jezikNapacen)
        NivexError(BesediloF(Besedilo::NapakaMoznostJezik, Ime(ukaz.napacenJezik).c_str(), B(Besedilo::NivexUporabaJezik)));
    for (std::size_t k = 1; k < ukaz.argumenti.size(); ++k) {
        const std::string a = ukaz.argumenti[k];
        if (a.empty() || a[0] != '-') continue;
        const char* const uporaba = B(Besedilo::NivexUporabaJezik);
        if (a == "--help" || a == "-h") {
            std::cout << uporaba << "\n"
                      << B(Besedilo::NivexPomocOpis) << "\n"
                      << B(Besedilo::NivexPomocJezik) << "\n"
                      << B(Besedilo::PrimerjavaPomoc) << "\n"
                      << B(Besedilo::NivexPomocNacrt) << "\n"
                      << B(Besedilo::NivexPomocPriblizne) << "\n"
                      << B(Besedilo::NivexPomocMinus) << "\n";
        } else if (a == "--version" || a == "-V") {
            std::cout << BesediloF(Besedilo::NivexRazlicica, NIVEX_VERSION) << "\n";
        } else {
            NivexError(BesediloF(Besedilo::NapakaNeznanaMoznost, Ime(a).c_str(), a.c_str(), uporaba));
        }
        std::cout.flush();
        return true;
    }
    return false;
}

std::string NivexNapakaVhodne(const std::string& name)
{
    const auto sporocilo = [&name](const std::string& vzrok) {
        return BesediloF(Besedilo::NapakaVhodneDatoteke, Ime(name).c_str(), vzrok.c_str());
    };
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return sporocilo(Vzrok(errno));
    if (S_ISDIR(st.st_mode)) return sporocilo(Vzrok(EISDIR));
    const int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0) {
        const int napaka = errno;
        return sporocilo(napaka == EACCES || napaka == EPERM ? B(Besedilo::VzrokNiDovoljenjaBrati) : Vzrok(napaka));
    }
    ::close(fd);
    return "";
}

std::string NivexNapakaPorocila(const std::string& name)
{
    // The open that failed does not say why; the same open again does.
    int napaka = EIO;
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        napaka = EISDIR;
    } else {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0) napaka = errno;
        else ::close(fd);
    }
    const std::string vzrok =
        napaka == EACCES || napaka == EPERM ? B(Besedilo::VzrokNiDovoljenjaPisati) : Vzrok(napaka);
    return BesediloF(Besedilo::NapakaDatotekeRezultatov, Ime(name).c_str(), vzrok.c_str());
}
