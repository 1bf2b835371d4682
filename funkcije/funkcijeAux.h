// funkcijeAux: the one way out of a fatal error, the fatal-error routine of
// the function library and the two helpers that make deliberate
// double-precision rounding visible.
//
// Every layer that meets a fatal condition (the program, the matrix and the
// function library) formats its complete framed text and hands it to
// KoncnaNapaka.  Where the text goes is decided by the installed sink: by
// default the console; the program installs one that also writes to the open
// report; a test may install one that throws to check a refusal in-process.
// When the sink returns, the run ends with exit status 1 after the pause for
// Enter, which is awaited only when standard input is a terminal.
#ifndef NIVEX_FUNKCIJE_FUNKCIJEAUX_H
#define NIVEX_FUNKCIJE_FUNKCIJEAUX_H

#include <cmath>
#include <functional>
#include <string>

#include "matrika/numerika.h"

// Receives the complete text of a fatal message, frame and line breaks included.
using NapakaSink = std::function<void(const std::string& text)>;

// Installs the sink of fatal messages and returns the one it replaces; an
// empty sink restores the console.
NapakaSink NastaviNapakaSink(NapakaSink sink);

// Hands the text to the installed sink, then ends the run (KonecFunkcije).
[[noreturn]] void KoncnaNapaka(const std::string& text);

// Discard pending console input, prompt "Pritisni ENTER ... ", wait for one
// character when standard input is a terminal (end of input counts) and exit
// with status 1.
[[noreturn]] void KonecFunkcije();

// Framed "NAPAKA:" block naming the failing source and line, then KoncnaNapaka.
[[noreturn]] void funkcijeError(const std::string& message, const std::string& file, long line);

// The framed "NAPAKA:" block around an already formatted middle part (shared
// by the function and matrix libraries).
std::string NapakaOkvir(const std::string& middle, const std::string& file, long line);

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
