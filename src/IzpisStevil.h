// IzpisStevil: numbers of a large table written into a text buffer, digit
// for digit as the report stream writes them.
//
// A stream in fixed notation (IzpisNastavitve) with a field width prints a
// long double rounded exactly to the given decimals (the decimal value of
// its binary value, a tie to the even last digit), with "-" for every
// negative value, also one that rounds to zero, right-aligned with blanks.
// DodajFiksno gives the same text: directly for a value whose rounding is
// not in doubt, through the C library's formatting (as the stream formats)
// for a value on or near a tie, a large value, an infinity or "nan".
#ifndef NIVEX_SRC_IZPISSTEVIL_H
#define NIVEX_SRC_IZPISSTEVIL_H

#include <ostream>
#include <string>

#include "matrika/numerika.h"

// Appends v as `izhod << std::setw(sirina) << v` writes it on a stream in
// fixed notation with `decimalke` decimals (C locale, right-aligned).
void DodajFiksno(std::string& izhod, real v, int sirina, int decimalke);

// The stream writes its numbers in fixed notation (up to nine decimals,
// without showpos, showpoint or uppercase, aligned right or left) through
// DodajFiksno, every other number as before; the text is the same, and a
// report of millions of numbers is written several times faster.  The
// stream takes the C locale.
void HitriIzpis(std::ostream& out);

#endif
