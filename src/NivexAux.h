// NivexAux: report titles, fixed-point output, and the program's fatal-error
// and warning routines.
//
// Messages are complete lines made by the caller: " **** " ... " *** " for
// errors, " #### " ... " #### " for warnings.  NivexError never returns: it
// ends the run with exit status 1 after the pause for Enter.
#ifndef NIVEX_SRC_NIVEXAUX_H
#define NIVEX_SRC_NIVEXAUX_H

#include <fstream>
#include <ostream>
#include <string>

// Title block: 75 "=", the title, 75 "=", an empty line; nothing when flag is 0.
void Naslov(std::ofstream& out, const char* title, unsigned short flag);
void Naslov(std::ostream& out, const char* title, unsigned short flag);
// Subtitle underlined with as many "-" as it has characters; nothing when flag is 0.
void PodNaslov(std::ofstream& out, const char* title, unsigned short flag);
void PodNaslov(std::ostream& out, const char* title, unsigned short flag);
// Fixed-point notation with the given decimals; stays set on the stream.
void IzpisNastavitve(std::ostream& out, int decimals);
void IzpisNastavitve(int decimals);

// Fatal: message to the console, then KonecFunkcije.
[[noreturn]] void NivexError(const char* message);
[[noreturn]] void NivexError(const std::string& message);
// Fatal: message to the console and then to the report, then KonecFunkcije.
[[noreturn]] void NivexError(std::ostream& report, const char* message);
[[noreturn]] void NivexError(std::ostream& report, const std::string& message);
// Not fatal: message to the console.
void NivexWarning(const char* message);
void NivexWarning(const std::string& message);

#endif
