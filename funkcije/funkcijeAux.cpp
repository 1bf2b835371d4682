#include "funkcije/funkcijeAux.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <termios.h>

void PocakajEnter()
{
    std::cout.flush();
    if (!std::cin.good()) return;
    std::cin.get();
}

[[noreturn]] void KonecFunkcije()
{
    // Pending console input belongs to nobody once the run is over.
    if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
    std::cout << "Pritisni ENTER ... ";
    PocakajEnter();
    std::cout.flush();
    std::exit(1);
}

void NapakaOkvir(const std::string& middle, const std::string& file, long line)
{
    const std::string zvezde(60, '*');
    std::cout << "\n\n\n" << zvezde << "\n" << "NAPAKA:" << "\n";
    std::cout << middle;
    std::cout << file << " -> " << line << "\n";
    std::cout << zvezde << "\n\n";
}

[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line)
{
    NapakaOkvir("\n" + message + "\n\n", file, line);
    KonecFunkcije();
}
