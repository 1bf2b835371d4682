// NivexAux: report titles, fixed-point output, the program's fatal-error and
// warning routines, and the open report that every fatal message reaches.
//
// Messages are complete lines made by the caller: " **** " ... " *** " for
// errors, " #### " ... " #### " for warnings.  NivexError never returns: it
// hands the framed message to KoncnaNapaka, which ends the run with exit
// status 1 after the pause for Enter.  Once the driver has registered the
// open report, every fatal message of any layer (the program's own, a missing
// point, the matrix and function libraries) is written to the console and to
// the report, and the report is flushed and closed before the run ends.
#ifndef NIVEX_SRC_NIVEXAUX_H
#define NIVEX_SRC_NIVEXAUX_H

#include <fstream>
#include <ostream>
#include <string>
#include <vector>

// Title block: 75 "=", the title, 75 "=", an empty line; nothing when flag is 0.
void Naslov(std::ofstream& out, const char* title, unsigned short flag);
void Naslov(std::ostream& out, const char* title, unsigned short flag);
// Subtitle underlined with as many "-" as it has characters; nothing when flag is 0.
void PodNaslov(std::ofstream& out, const char* title, unsigned short flag);
void PodNaslov(std::ostream& out, const char* title, unsigned short flag);
// Fixed-point notation with the given decimals; stays set on the stream.
void IzpisNastavitve(std::ostream& out, int decimals);
void IzpisNastavitve(int decimals);

// Registers the report open for this run (nullptr once it is closed).
void NivexPorocilo(std::ofstream* report);

// Fatal: message to the console (and the open report).
[[noreturn]] void NivexError(const char* message);
[[noreturn]] void NivexError(const std::string& message);
// Fatal: the same, and to the given stream when it is not the open report.
[[noreturn]] void NivexError(std::ostream& report, const char* message);
[[noreturn]] void NivexError(std::ostream& report, const std::string& message);
// Not fatal: message to the console.
void NivexWarning(const char* message);
void NivexWarning(const std::string& message);

// Warnings worth repeating in the closing lines of the run (a mistyped
// setting): kept in the order given, emptied when a run starts reading.
void NivexOpomba(const std::string& text);
const std::vector<std::string>& NivexOpombe();
void NivexOpombeNova();
// Every warning of the run (NivexWarning), each once, in the order given;
// emptied with the notes.
const std::vector<std::string>& NivexOpozorila();

// The command line's usage line.
extern const char* const kNivexUporaba;
// The options of the command line, looked at before anything else: with
// "--help" or "-h" the usage, what the program does and where the manual is,
// with "--version" or "-V" the name and version, each to the console, and
// the process ends with status 0; any other argument that begins with "-" is
// refused as an unknown option with the usage line (status 1).  Returns when
// the arguments hold no option.
void NivexMoznosti(int argc, const char** argv);

// Why a data file cannot be read: the framed message naming the file and the
// cause (missing, a folder, no permission, ...); empty when it can be read.
std::string NivexNapakaVhodne(const std::string& name);
// Why the report cannot be created, after opening it for writing failed.
std::string NivexNapakaPorocila(const std::string& name);

#endif
