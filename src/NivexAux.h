// NivexAux: report titles, fixed-point output, the program's fatal-error and
// warning routines, the context of a run and the driver's one catch of a
// fatal error.
//
// Messages are complete lines made by the caller: " **** " ... " *** " for
// errors, " #### " ... " #### " for warnings.  NivexError never returns: it
// throws the framed message (KoncnaNapaka), and nothing below the driver
// catches it.  The driver runs the whole run inside NivexIzvedi, which
// catches it once, writes it to the console and to the run's open report,
// flushes and closes the report, pauses for Enter and returns exit status 1.
// The open report and the warnings belong to the run's context
// (CKontekstIzvajanja), installed for the run's duration; nothing of one run
// is left for the next.
#ifndef NIVEX_SRC_NIVEXAUX_H
#define NIVEX_SRC_NIVEXAUX_H

#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "funkcije/Besedila.h"

// Title block: 75 "=", the title, 75 "=", an empty line; nothing when flag is 0.
void Naslov(std::ofstream& out, const char* title, unsigned short flag);
void Naslov(std::ostream& out, const char* title, unsigned short flag);
// Subtitle underlined with as many "-" as it has characters; nothing when flag is 0.
void PodNaslov(std::ofstream& out, const char* title, unsigned short flag);
void PodNaslov(std::ostream& out, const char* title, unsigned short flag);
// Fixed-point notation with the given decimals; stays set on the stream.
void IzpisNastavitve(std::ostream& out, int decimals);
void IzpisNastavitve(int decimals);

// What one run gathers beside its objects: the report open for it, which
// a fatal message reaches as well, and the warnings given during it.
// A warning as the run gave it: its text (framed as printed) and the line of
// the data file it concerns (0 when it concerns no line).
struct NivexOpozorilo {
    std::string besedilo;
    long vrstica = 0;
};

struct CKontekstIzvajanja {
    std::ofstream* porocilo = nullptr;   // the open report; nullptr before it opens and once it is closed
    std::vector<std::string> opombe;     // warnings repeated in the closing lines (NivexOpomba)
    std::vector<NivexOpozorilo> opozorila;  // every warning (NivexWarning), each once, in the order given
    std::unordered_set<std::string> dana;   // the texts of opozorila, to keep each once at any count
};

// Installs a run's context for its own lifetime and then restores the one it
// replaced.  Without a context warnings go to the console only.
class CNamesceniKontekst {
public:
    explicit CNamesceniKontekst(CKontekstIzvajanja& kontekst);
    ~CNamesceniKontekst();
    CNamesceniKontekst(const CNamesceniKontekst&) = delete;
    CNamesceniKontekst& operator=(const CNamesceniKontekst&) = delete;

private:
    CKontekstIzvajanja* prej_;
};
// The installed context (nullptr when none is).
CKontekstIzvajanja* NivexKontekst();

// Runs `tek` and returns its exit status.  A fatal error (NivexNapaka), a
// lack of memory or any other exception that reaches here is reported once:
// the message to the console and to standard error, then to the open report
// of the installed context, which is closed; the pause for Enter; status 1.
int NivexIzvedi(const std::function<int()>& tek);
// The end of a run that the fatal message `text` stopped, as NivexIzvedi does
// it; returns 1.
int NivexKonecNapake(const std::string& text);

// Fatal: message to the console (and the open report).
[[noreturn]] void NivexError(const char* message);
[[noreturn]] void NivexError(const std::string& message);
// Fatal: the same, and at once to the given stream when it is not the open
// report (an in-process run on a stream of its own).
[[noreturn]] void NivexError(std::ostream& report, const char* message);
[[noreturn]] void NivexError(std::ostream& report, const std::string& message);
// Not fatal: message to the console and to standard error, kept in the
// installed context with the line of the data file it concerns (0: none).
void NivexWarning(const char* message, long vrstica = 0);
void NivexWarning(const std::string& message, long vrstica = 0);

// Warnings worth repeating in the closing lines of the run (a mistyped
// setting), kept in the installed context in the order given.
void NivexOpomba(const std::string& text);
const std::vector<std::string>& NivexOpombe();
// Every warning of the run (NivexWarning), each once, in the order given.
const std::vector<NivexOpozorilo>& NivexOpozorila();

// The command line with "--lang en|sl" (or "--lang=en") taken out: the
// program's name and the other arguments, and the language asked for (the
// last --lang holds; a value that is no language is kept for the refusal).
struct NivexUkaz {
    std::vector<const char*> argumenti;
    bool jezikPodan = false;
    Jezik jezik = Jezik::SL;
    bool jezikNapacen = false;
    std::string napacenJezik;
};
NivexUkaz NivexArgumenti(int argc, const char** argv);
// The options of the command line, looked at before anything else (the
// driver sets the run's language first, so that these speak it).  A --lang
// value that is no language is refused with the usage line (status 1).
// With "--help" or "-h" the usage, what the program does and where the
// manual is, with "--version" or "-V" the name and version, each to the
// console, and returns true: the run ends there with status 0.  Any other
// argument that begins with "-" is refused as an unknown option with the
// usage line (status 1).  False when the run goes on.
bool NivexMoznosti(const NivexUkaz& ukaz);

// Why a data file cannot be read: the framed message naming the file and the
// cause (missing, a folder, no permission, ...); empty when it can be read.
std::string NivexNapakaVhodne(const std::string& name);
// Why the report cannot be created, after opening it for writing failed.
std::string NivexNapakaPorocila(const std::string& name);

#endif
