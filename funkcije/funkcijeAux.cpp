#include "funkcije/funkcijeAux.h"

#include <iostream>
#include <unistd.h>
#include <termios.h>

[[noreturn]] void KoncnaNapaka(const std::string& text) { throw NivexNapaka(text); }

namespace {
// Only a person at a terminal can press Enter: a script's input (a pipe
// left open, a file, its end) must not hold the run.
bool BoPocakal() { return isatty(STDIN_FILENO) && std::cin.good(); }
}  // namespace

void PocakajEnter()
{
    std::cout.flush();
    if (!BoPocakal()) return;
    std::cin.get();
}

void KonecFunkcije()
{
    // Pending console input belongs to nobody once the run is over.
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
    // The prompt only where the program waits for it; otherwise the output
    // ends with its line.
    if (BoPocakal()) std::cout << B(Besedilo::PritisniEnter);
    else std::cout << "\n";
    PocakajEnter();
    std::cout.flush();
}

std::string NapakaOkvir(const std::string& middle, const std::string& file, long line)
{
    const std::string zvezde(60, '*');
    return "\n\n\n" + zvezde + "\n" + B(Besedilo::OkvirNapaka) + "\n" + middle + file + " -> " +
           std::to_string(line) + "\n" + zvezde + "\n\n";
}

std::string NapakaFunkcije(const std::string& funkcija, Besedilo sporocilo, Besedilo okvir)
{
    return BesediloF(okvir, funkcija.c_str()) + "\n" + B(sporocilo);
}

[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line)
{
    KoncnaNapaka(NapakaOkvir("\n" + message + "\n\n", file, line));
}
