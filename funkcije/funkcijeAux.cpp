#include "funkcije/funkcijeAux.h"

#include <iostream>
#include <unistd.h>
#include <termios.h>

[[noreturn]] void KoncnaNapaka(const std::string& text) { throw NivexNapaka(text); }

void PocakajEnter()
{
    std::cout.flush();
    // Only a person at a terminal can press Enter: a script's input (a pipe
    // left open, a file) must not hold the run.
    if (!isatty(STDIN_FILENO) || !std::cin.good()) return;
    std::cin.get();
}

void KonecFunkcije()
{
    // Pending console input belongs to nobody once the run is over.
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
    std::cout << B(Besedilo::PritisniEnter);
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
