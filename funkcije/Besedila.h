// Besedila: every text of the report, the console and the messages, in one
// catalogue, looked up by its identifier.
//
// The catalogue itself is Besedila.def: one line a text, its identifier and
// its Slovenian words exactly as they are printed (six texts hold letters of
// the Windows-1250 code page, written as single-byte escapes, so that the
// report's columns hold).  The layout (field widths, numbers, line ends)
// stays with the code that prints; a text that is a whole column header or
// a message with numbers in it is one entry, with printf conversions where
// the numbers go (BesediloF).  A new text is a new line of Besedila.def.
// It stands among the general functions so that every layer, the matrix and
// function libraries included, takes its texts from the one catalogue.
#ifndef NIVEX_FUNKCIJE_BESEDILA_H
#define NIVEX_FUNKCIJE_BESEDILA_H

#include <cstddef>
#include <cstdio>
#include <string>

enum class Besedilo : unsigned {
#define NIVEX_BESEDILO(id, sl, en) id,
#include "funkcije/Besedila.def"
#undef NIVEX_BESEDILO
    kStevilo
};

// The languages of the texts: Slovenian (the default) and English.
enum class Jezik { SL, EN };

// The language of the texts that B gives from now on, for the whole process
// (the driver sets it once from *LANG or --lang, before the first text).
void BesedilaJezik(Jezik jezik);
Jezik BesedilaJezik();

// The text of an entry in the language set (a string with static storage).
const char* B(Besedilo id);
// The text of an entry in the given language.
const char* B(Besedilo id, Jezik jezik);

// The English column of an entry as the catalogue has it ("" while the
// entry is not translated).
const char* BesediloAngleski(Besedilo id);

// The identifier of an entry as written in the catalogue (for messages of
// the tests and for finding an entry).
const char* BesediloIme(Besedilo id);

// The entry with its printf conversions filled (numbers, names); any length.
template <typename... A>
std::string BesediloF(Besedilo id, A... args)
{
    const char* oblika = B(id);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
#endif
    const int n = std::snprintf(nullptr, 0, oblika, args...);
    std::string t(n > 0 ? static_cast<std::size_t>(n) : 0u, '\0');
    if (n > 0) std::snprintf(t.data(), t.size() + 1, oblika, args...);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return t;
}

#endif
