// funkcijeAux: the fatal-error routine of the function library and the two
// helpers that make deliberate double-precision rounding visible.
//
// Every library error ends the process with exit status 1 after the pause for
// Enter; none returns.  The pause never hangs on a closed standard input.
#ifndef NIVEX_FUNKCIJE_FUNKCIJEAUX_H
#define NIVEX_FUNKCIJE_FUNKCIJEAUX_H

#include <cmath>
#include <string>

// Discard pending console input, prompt "Pritisni ENTER ... ", wait for one
// character (end of input counts) and exit with status 1.
[[noreturn]] void KonecFunkcije();

// Framed "NAPAKA:" block naming the failing source and line, then KonecFunkcije.
[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line);

// Writes the framed "NAPAKA:" block around an already formatted middle part
// (shared by the function and matrix libraries).
void NapakaOkvir(const std::string& middle, const std::string& file, long line);

// Waits for Enter on the console without hanging when the input is closed.
void PocakajEnter();

// Rounds an extended value to double precision and widens it again: used where
// a tolerance comparison or a square root is deliberately done in double.
inline long double dround(long double x) { return static_cast<long double>(static_cast<double>(x)); }
// Square root taken in double precision and widened again.
inline long double dsqrt(long double x) { return static_cast<long double>(std::sqrt(static_cast<double>(x))); }
// |x| rounded to double precision, for comparisons against a tolerance.
inline double dabs(long double x) { return std::fabs(static_cast<double>(x)); }

#endif
