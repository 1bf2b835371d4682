#include "src/NivexAux.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iomanip>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

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
    return std::string("\n\n") + message + "\n\n" + "\tKoncujem program ... ";
}

std::ofstream* porocilo = nullptr;  // the open report of the run
std::vector<std::string> opombe;    // warnings for the closing lines
std::vector<std::string> opozorila; // every warning of the run, once each

// A file name in a message, quoted so that blanks in it show.
std::string Ime(const std::string& name) { return "\"" + name + "\""; }

// The cause of a failed open in the program's words.
std::string Vzrok(int napaka)
{
    switch (napaka) {
    case ENOENT:
    case ENOTDIR: return "ne obstaja";
    case EISDIR: return "je mapa, ne datoteka";
    case EACCES:
    case EPERM: return "ni dovoljenja";
    case EROFS: return "datotecni sistem je samo za branje";
    case ENOSPC: return "na disku ni prostora";
    case ENAMETOOLONG: return "ime je predolgo";
    default: return std::strerror(napaka);
    }
}

void NaKonzoloInVPorocilo(const std::string& text)
{
    std::cout << text;
    std::cout.flush();
    if (porocilo == nullptr) return;
    // The run ends after this: what the report holds must reach the disk.
    *porocilo << text;
    porocilo->close();
    porocilo = nullptr;
}
}  // namespace

void NivexPorocilo(std::ofstream* report)
{
    porocilo = report;
    NastaviNapakaSink(report != nullptr ? NapakaSink(NaKonzoloInVPorocilo) : NapakaSink());
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
    if (&report != porocilo) {
        report << text;
        report.flush();
    }
    KoncnaNapaka(text);
}

[[noreturn]] void NivexError(std::ostream& report, const std::string& message)
{
    NivexError(report, message.c_str());
}

void NivexWarning(const char* message)
{
    std::cout << "\n\n" << message << "\n\n";
    if (std::find(opozorila.begin(), opozorila.end(), message) == opozorila.end()) opozorila.emplace_back(message);
}
void NivexWarning(const std::string& message) { NivexWarning(message.c_str()); }

void NivexOpomba(const std::string& text) { opombe.push_back(text); }
const std::vector<std::string>& NivexOpombe() { return opombe; }
void NivexOpombeNova()
{
    opombe.clear();
    opozorila.clear();
}
const std::vector<std::string>& NivexOpozorila() { return opozorila; }

#ifndef NIVEX_VERSION
#define NIVEX_VERSION "3.2.0"
#endif

const char* const kNivexUporaba = "Uporaba: nivex [--help | --version | datoteka s podatki]";

void NivexMoznosti(int argc, const char** argv)
{
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (a.empty() || a[0] != '-') continue;
        if (a == "--help" || a == "-h") {
            std::cout << kNivexUporaba << "\n"
                      << "Izravna visinsko, ravninsko ali prostorsko geodetsko mrezo po metodi najmanjsih kvadratov "
                         "in zapise porocilo (osnovno ime datoteke s podatki + .NVX).\n"
                      << "Datoteka s podatki, ki se zacne z -, se poda kot ./-ime.  Podrobno: man nivex\n";
        } else if (a == "--version" || a == "-V") {
            std::cout << "nivex " << NIVEX_VERSION << "\n";
        } else {
            NivexError(" **** Neznana moznost " + Ime(a) + " (datoteko, ki se zacne z -, podaj kot ./" + a + ").  " +
                       kNivexUporaba + "      *** ");
        }
        std::cout.flush();
        std::exit(0);
    }
}

std::string NivexNapakaVhodne(const std::string& name)
{
    const std::string zacetek = " **** Vhodna datoteka " + Ime(name) + " ";
    const std::string konec = " (NE MOREM ODPRETI!!)      *** ";
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return zacetek + Vzrok(errno) + konec;
    if (S_ISDIR(st.st_mode)) return zacetek + Vzrok(EISDIR) + konec;
    const int fd = ::open(name.c_str(), O_RDONLY);
    if (fd < 0) {
        const int napaka = errno;
        return zacetek + (napaka == EACCES || napaka == EPERM ? "ni dovoljeno brati" : Vzrok(napaka)) + konec;
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
    const std::string vzrok = napaka == EACCES || napaka == EPERM ? "ni dovoljenja za pisanje" : Vzrok(napaka);
    return " **** Datoteke z rezultati " + Ime(name) + " ni mogoce ustvariti: " + vzrok + "      *** ";
}
