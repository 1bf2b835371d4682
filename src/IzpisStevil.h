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

#include <cmath>
#include <ostream>
#include <string>

#include "funkcije/numerika.h"

// Appends v as `izhod << std::setw(sirina) << v` writes it on a stream in
// fixed notation with `decimalke` decimals (C locale, right-aligned).
void DodajFiksno(std::string& izhod, real v, int sirina, int decimalke);

namespace izpisstevil {
// A value is rounded in double precision when its scaled value (below 10^6)
// is this far or farther from a tie: the value in double and its product
// with 10^decimals are each within half a unit in the last place, 2e-10 in
// all, so the exact value rounds the same way.
constexpr double kDvomDvojni = 1e-7;

// The field of a correlation (width 6, 2 decimals): " d.dd" or "-d.dd"
// after one blank, c the value times 100 rounded, below 1000.
inline void PoljeKorelacije(char* z, unsigned long c, bool negativno)
{
    z[0] = ' ';
    z[1] = negativno ? '-' : ' ';
    z[2] = static_cast<char>('0' + c / 100);
    z[3] = '.';
    z[4] = static_cast<char>('0' + c / 10 % 10);
    z[5] = static_cast<char>('0' + c % 10);
}
}  // namespace izpisstevil

// The field of DodajFiksno(izhod, v, 6, 2), a correlation, written to
// z[0..6) for a value that rounds below 10 and is rounded in double
// precision.  False, with nothing written, for any other value.  The value
// may also be given as a double within 1e-15 of it relative to it (of the
// same sign, zeros too): the margin kDvomDvojni holds that as well.
inline bool Korelacija6(char* z, double d)
{
    const double t = std::fabs(d) * 100.0;
    if (!(t < 999.0)) return false;   // also nan
    const unsigned long c = static_cast<unsigned long>(t + 0.5);
    const double ostanek = t - static_cast<double>(c);
    if (!(ostanek < 0.5 - izpisstevil::kDvomDvojni && ostanek > izpisstevil::kDvomDvojni - 0.5)) return false;
    izpisstevil::PoljeKorelacije(z, c, std::signbit(d));
    return true;
}
inline bool Korelacija6(char* z, real v) { return Korelacija6(z, static_cast<double>(v)); }

// The stream writes its numbers in fixed notation (up to nine decimals,
// without showpos, showpoint or uppercase, aligned right or left) through
// DodajFiksno, every other number as before; the text is the same, and a
// report of millions of numbers is written several times faster.  The
// stream takes the C locale.
void HitriIzpis(std::ostream& out);

#endif
