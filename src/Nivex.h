// Nivex: the program's entry and its fixed processing pipeline.
//
// NivexMain runs one adjustment from the data file named on the command line
// (or at the prompt) and returns the exit status: 0 after a complete run, 1
// after a fatal error.  A fatal error of any module is thrown (NivexNapaka)
// up to NivexMain, which catches it once (NivexIzvedi) and writes its message
// to the console and, once it is open, to the report; nothing below it ends
// the process.  Each run has its own context (CNivex::kontekst): the open
// report and the warnings, so NivexMain may run again in the same process.
#ifndef NIVEX_SRC_NIVEX_H
#define NIVEX_SRC_NIVEX_H

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "funkcije/CppCas.h"
#include "src/CGDatum.h"
#include "src/CGetObs.h"
#include "src/CIzravnava.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/NivexAux.h"

// Longest data-file name accepted (the report and export names derive from it).
inline constexpr std::size_t NivexMaxImeDatoteke = 255;

// Base name (up to the last "." of the file's own name, after the last "/";
// the whole name when it has none) and report name (base name + ".NVX") of a
// data-file name, so the report stays beside the data file.
void ImenaDatotek(const std::string& dataFile, std::string& reportFile, std::string& baseName);

// Banner to the console, the command-line rule (more than one argument: the
// usage and status 1), the data-file name (argument or prompt), the existence
// check and the derived names with their echo.  A name given at the
// question sets the language of the rest of the run from its "*LANG" unless
// the command line gave one (jezikPodan).
void DobiPodatke(int argc, const char* const* argv, std::string& dataFile, std::string& reportFile,
                 std::string& baseName, bool jezikPodan = false);
// True when a file of that name can be opened for reading (a directory cannot).
bool FileExists(const std::string& name);
void NaslovNivex(std::ostream& out);
// Closing lines with the elapsed seconds; waits for Enter when argc == 1.
void KonecPrograma(int argc, double seconds);

// What the reading stage fills: the settings, the datum and the record sets.
struct CVhodniPodatki {
    CProcSet procset;
    CGDatum gdatum;
    CTerObsZbirka TO;
    CGetObs getobs;
};

// Every object of one run, created once before anything is read and living
// to its end.  The run reads (Beri: the data read), adjusts (the adjustment
// stage, CIzravnava), tests the model (the data snooping asks the
// adjustment through CIzravnalnik), adds the reliability and writes the
// report's closing sections and the export files (Porocaj).
class CNivex : public CVhodniPodatki, public CIzravnava {
public:
    CNivex();
    CNivex(const CNivex&) = delete;
    CNivex& operator=(const CNivex&) = delete;

    // The data read (the adjustment holds its own references to them).
    using CVhodniPodatki::gdatum;
    using CVhodniPodatki::procset;
    using CVhodniPodatki::TO;

    // Reads the data file, adjusts the network and writes the report from the
    // settings section on (the banner and file names are the caller's); the
    // export files switched on go beside the data file, under its base name.
    // An adjustment that cannot be completed ends the run with its message
    // (thrown as NivexNapaka).  The run's context is installed meanwhile.
    void Izracun(const std::string& dataFile, std::ostream& report);

    // The steps of Izracun around the adjustment.  Beri reads and prints the
    // settings, the datum and the records.  Porocaj adds the adjusted
    // observations with their reliability and writes the export files.
    void Beri(const std::string& dataFile, std::ostream& report);
    void Porocaj(const std::string& dataFile, std::ostream& report);

    CppCas cas;
    // The run's open report and its warnings.
    CKontekstIzvajanja kontekst;
};

int NivexMain(int argc, const char** argv);

#endif
