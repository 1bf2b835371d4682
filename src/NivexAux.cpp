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

void SporociloNapake(std::ostream& out, const char* message)
{
    out << "\n\n" << message << "\n\n" << "\tKoncujem program ... ";
    out.flush();
}
}  // namespace

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

[[noreturn]] void NivexError(const char* message)
{
    SporociloNapake(std::cout, message);
    KonecFunkcije();
}

[[noreturn]] void NivexError(const std::string& message) { NivexError(message.c_str()); }

[[noreturn]] void NivexError(std::ostream& report, const char* message)
{
    SporociloNapake(std::cout, message);
    SporociloNapake(report, message);
    KonecFunkcije();
}

[[noreturn]] void NivexError(std::ostream& report, const std::string& message)
{
    NivexError(report, message.c_str());
}

void NivexWarning(const char* message) { std::cout << "\n\n" << message << "\n\n"; }
void NivexWarning(const std::string& message) { NivexWarning(message.c_str()); }
