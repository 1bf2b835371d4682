// FBranje: reading the data file as a stream of whitespace-separated words.
//
// Every pass over the data file (settings, datum, records) reads the first
// word of a line, acts on it and skips the rest of the line, whatever its
// length.  Numbers are read from whole words: a word that is not entirely a
// number in decimal notation (point as separator, optional exponent) is
// refused, never half-read.
#ifndef NIVEX_SRC_FBRANJE_H
#define NIVEX_SRC_FBRANJE_H

#include <cstddef>
#include <istream>
#include <sstream>
#include <string>
#include <string_view>

#include "funkcije/numerika.h"

// The encoding of the texts of the data file (point names, remarks), as the
// file is read: UTF-8 when it starts with the byte-order mark or is valid
// UTF-8 holding bytes beyond ASCII, else Windows-1250.  A file of ASCII
// alone reads the same either way.  The names keep the file's bytes; the
// writers of UTF-8 files (JSON, CSV, the page, the plot files) decode them
// by it.
enum class Kodiranje { Windows1250, Utf8 };

// Length of the valid UTF-8 sequence at byte i of s (1 to 4), 0 when the
// bytes there are not one (a stray or cut sequence, an overlong form, a
// surrogate, a code point beyond U+10FFFF).
std::size_t DolzinaUtf8(std::string_view s, std::size_t i);
// The encoding of a whole text (the byte-order mark included, when it has one).
Kodiranje KodiranjeBesedila(std::string_view t);
// A text of the data file as UTF-8: Windows-1250 bytes decoded; UTF-8 kept
// as it is, but for bytes that are not valid UTF-8, decoded as Windows-1250
// (a message may join names with texts of the program), so that the result
// is always valid UTF-8.
std::string NVX2Utf8(const std::string& besedilo, Kodiranje kodiranje);

// The whole data file as one text, the way every pass reads it: a UTF-8
// byte-order mark before the first word is dropped, and a CR alone (old Mac
// line ends) or CR LF ends a line like LF.  False when it cannot be read.
// The second form also gives the file's encoding.
bool BeriPodatke(const std::string& dataFile, std::istringstream& in);
bool BeriPodatke(const std::string& dataFile, std::istringstream& in, Kodiranje& kodiranje);

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

// True when the X record whose name was just read ends there: the rest of
// its line is empty or a remark beginning with '#', and the next word of
// the file is no number (a record broken over lines goes on with one).
// Reads nothing.
bool XSamoIme(std::istream& in);

#endif
