// FBranje: reading the data file as a stream of whitespace-separated words.
//
// Every pass over the data file (settings, datum, records) reads the first
// word of a line, acts on it and skips the rest of the line, whatever its
// length.  Numbers are read from whole words: a word that is not entirely a
// number in decimal notation (point as separator, optional exponent) is
// refused, never half-read.
#ifndef NIVEX_SRC_FBRANJE_H
#define NIVEX_SRC_FBRANJE_H

#include <istream>
#include <sstream>
#include <string>

#include "funkcije/numerika.h"

// The whole data file as one text, the way every pass reads it: a UTF-8
// byte-order mark before the first word is dropped, and a CR alone (old Mac
// line ends) or CR LF ends a line like LF.  False when it cannot be read.
bool BeriPodatke(const std::string& dataFile, std::istringstream& in);

// Next whitespace-separated word of any length; false at the end of input.
bool BeriBesedo(std::istream& in, std::string& word);
// Skips what is left of the current line, however long.
void PreskociVrstico(std::istream& in);

// Largest magnitude of a number in a record (coordinates and lengths in m,
// deviations in mm, angles in the angle unit, epochs): no survey needs more,
// and the squares and products of larger ones leave the range of the
// arithmetic, so the report would show "inf" or "nan" instead of numbers.
inline constexpr real kNajvecjeStevilo = 1e9L;

// Whole word as a number; false when any character is left over, the word is
// empty, or the value is not finite.
bool BesedaVStevilo(const std::string& word, real& x);
// Whole word as a signed integer (optional sign, digits only) within [lo, hi].
bool BesedaVCelo(const std::string& word, long& x, long lo, long hi);

#endif
