// funkcijeAux: the fatal-error type that every layer throws, the fatal-error
// routine of the function library and the two helpers that make deliberate
// double-precision rounding visible.
//
// Every layer that meets a fatal condition (the program, the matrix and the
// function library) formats its complete framed text and hands it to
// KoncnaNapaka, which throws it as a NivexNapaka.  Nothing below the driver
// ends the process or catches it: the driver (NivexIzvedi) catches it once,
// writes the text to the console and to the open report, pauses for Enter
// (KonecFunkcije) and returns exit status 1.  Worker threads pass it on to
// the thread that started them (matrika/vzporedno).
#ifndef NIVEX_FUNKCIJE_FUNKCIJEAUX_H
#define NIVEX_FUNKCIJE_FUNKCIJEAUX_H

#include <cmath>
#include <stdexcept>
#include <string>

#include "funkcije/Besedila.h"
#include "funkcije/numerika.h"

// A fatal error on its way to the driver: what() is the complete text of the
// message, frame and line breaks included, exactly as the console gets it.
class NivexNapaka : public std::runtime_error {
public:
    explicit NivexNapaka(const std::string& text) : std::runtime_error(text) {}
};

// A matrix that did not fit in memory: its size is in the text; a caller
// that knows a way round the size may add it.
class NivexNapakaPomnilnik : public NivexNapaka {
public:
    using NivexNapaka::NivexNapaka;
};

// Throws the text as a NivexNapaka.
[[noreturn]] void KoncnaNapaka(const std::string& text);

// The pause that ends a run stopped by a fatal error: discard pending console
// input, prompt "Pritisni ENTER ... " and wait for one character when
// standard input is a terminal (end of input counts); when it will not wait,
// no prompt but a line end.  The caller returns exit status 1.
void KonecFunkcije();

// Framed "NAPAKA:" block naming the failing source and line, then KoncnaNapaka.
[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line);

// The framed "NAPAKA:" block around an already formatted middle part (shared
// by the function and matrix libraries).
std::string NapakaOkvir(const std::string& middle, const std::string& file, long line);

// The middle of a library message: the line naming the failing routine
// (okvir, an entry with one %s for its name) and the message under it.
std::string NapakaFunkcije(const std::string& funkcija, Besedilo sporocilo,
                           Besedilo okvir = Besedilo::OkvirFunkcija);

// Waits for Enter when standard input is a terminal; returns at once otherwise.
void PocakajEnter();

// Rounds an extended value to double precision and widens it again: used where
// a tolerance comparison or a square root is deliberately done in double.
inline real dround(real x) { return static_cast<real>(static_cast<double>(x)); }
// Square root taken in double precision and widened again.
inline real dsqrt(real x) { return static_cast<real>(std::sqrt(static_cast<double>(x))); }
// |x| rounded to double precision, for comparisons against a tolerance.
inline double dabs(real x) { return std::fabs(static_cast<double>(x)); }

#endif
