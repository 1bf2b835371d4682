#include "src/NivexAux.h"

#include <iomanip>
#include <iostream>

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

void NivexWarning(const char* message) { std::cout << "\n\n" << message << "\n\n"; }
void NivexWarning(const std::string& message) { NivexWarning(message.c_str()); }
