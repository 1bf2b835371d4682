// matrikaAux: fatal-error routines of the matrix library.
//
// Each formats the framed "NAPAKA:" block (the middle part in one of four
// forms) and hands it to KoncnaNapaka, which throws it to the driver; the
// driver writes it where the program wants it and ends the run with status 1.
#ifndef NIVEX_MATRIKA_MATRIKAAUX_H
#define NIVEX_MATRIKA_MATRIKAAUX_H

#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "funkcije/funkcijeAux.h"

// The middle of a message about an operator of the matrix classes: the line
// naming it ("Operator:   -") and the message (NapakaFunkcije for functions).
std::string NapakaOperatorja(const std::string& op, Besedilo sporocilo);

// Message alone.
[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line);
// A bad index and the highest valid one.
[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line,
                               long index, long limit);
// Two operands of unfitting size.
[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line,
                               long rowsA, long colsA, long rowsB, long colsB);

// A pivot that is too small: the caller passes pivot / tolerance as value.
template <typename T>
[[noreturn]] void matrikaError(const std::string& message, const std::string& file, long line,
                               T value, long position)
{
    std::ostringstream s;
    s.flags(std::cout.flags());
    s.precision(std::cout.precision());
    s << "\n" << message << value << " * 10^-15 (3) [" << std::setw(3) << position << "]" << "\n\n";
    KoncnaNapaka(NapakaOkvir(s.str(), file, line));
}

#endif
