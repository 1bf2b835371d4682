#include "funkcije/funkcijeAux.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <termios.h>
#include <utility>

namespace {
void NaKonzolo(const std::string& text)
{
    std::cout << text;
    std::cout.flush();
}

NapakaSink& Sink()
{
    static NapakaSink sink = NaKonzolo;
    return sink;
}
}  // namespace

NapakaSink NastaviNapakaSink(NapakaSink sink)
{
    NapakaSink prej = std::move(Sink());
    Sink() = sink ? std::move(sink) : NapakaSink(NaKonzolo);
    return prej;
}

[[noreturn]] void KoncnaNapaka(const std::string& text)
{
    // A copy: a sink that installs another must not destroy itself mid-call.
    const NapakaSink sink = Sink();
    sink(text);
    KonecFunkcije();
}

void PocakajEnter()
{
    std::cout.flush();
    // Only a person at a terminal can press Enter: a script's input (a pipe
    // left open, a file) must not hold the run.
    if (!isatty(STDIN_FILENO) || !std::cin.good()) return;
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

std::string NapakaOkvir(const std::string& middle, const std::string& file, long line)
{
    const std::string zvezde(60, '*');
    return "\n\n\n" + zvezde + "\nNAPAKA:\n" + middle + file + " -> " + std::to_string(line) + "\n" + zvezde +
           "\n\n";
}

[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line)
{
    KoncnaNapaka(NapakaOkvir("\n" + message + "\n\n", file, line));
}
