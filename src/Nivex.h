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
#include "src/CGMM.h"
#include "src/CGMMEq.h"
#include "src/CGMMSol.h"
#include "src/CGMMdD.h"
#include "src/CGMMdH.h"
#include "src/CGetObs.h"
#include "src/CIzravnalnik.h"
#include "src/CProcSet.h"
#include "src/CRelEll.h"
#include "src/CRezultati.h"
#include "src/CTerObsEst.h"
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
// check and the derived names with their echo.
void DobiPodatke(int argc, const char** argv, std::string& dataFile, std::string& reportFile,
                 std::string& baseName);
// True when a file of that name can be opened for reading (a directory cannot).
bool FileExists(const std::string& name);
void NaslovNivex(std::ostream& out);
// Closing lines with the elapsed seconds; waits for Enter when argc == 1.
void KonecPrograma(int argc, double seconds);

// Every object of one run, created once before anything is read and living
// to its end; each worker holds references to the objects it reads.  The run
// reads (Beri), adjusts (Izravnaj), tests the model (the data snooping
// through CIzravnalnik), adds the reliability (SetReliab) and writes the
// report's closing sections and the export files.
class CNivex : public CIzravnalnik {
public:
    CNivex();
    CNivex(const CNivex&) = delete;
    CNivex& operator=(const CNivex&) = delete;

    // Reads the data file, adjusts the network and writes the report from the
    // settings section on (the banner and file names are the caller's); the
    // export files switched on go beside the data file, under its base name.
    // An adjustment that cannot be completed ends the run with its message
    // (thrown as NivexNapaka).  The run's context is installed meanwhile.
    void Izracun(const std::string& dataFile, std::ostream& report);

    // The three steps of Izracun.  Beri reads and prints the settings, the
    // datum and the records.  Izravnaj numbers the unknowns of the records
    // that take part and runs the linearisation loop from the current
    // approximate values, printing each pass, and fills `rez`; it may run
    // again after records are set aside (CTerObs::SetAktiven), and it ends
    // nothing: it returns the outcome.  Porocaj adds the adjusted
    // observations with their reliability and writes the export files.
    void Beri(const std::string& dataFile, std::ostream& report);
    IzidIzravnave Izravnaj(std::ostream& report) { return Izravnaj(report, tiho, Zacetek::Trenutni); }
    void Porocaj(const std::string& dataFile, std::ostream& report);
    // The observation equations of one pass: every kind's rows from the first
    // row on (heights, height differences, coordinates, vectors, horizontal
    // and spatial distances, composed angles, azimuths, angles between
    // directions, zenith distances), each printed into the report.
    void SetGMMEq(std::ostream& report);
    // The stop test after pass k: one pass without iteration, else the
    // iteration limit (with a warning when the corrections were still above
    // the threshold) or corrections below the threshold (IterPrag).
    bool KonecIteracij(int k, std::ostream& report) const;
    // The iteration threshold, raised to what the arithmetic resolves at the
    // size of the coordinates.
    real IterPrag() const;
    // Adjusted observations and their reliability, after the last pass:
    // computed into `rez` always, printed when the settings ask for it.
    void SetReliab(std::ostream& report);

    CppCas cas;
    CProcSet procset;
    CGDatum gdatum;
    CTerObsZbirka TO;
    CGetObs getobs;
    CGMM GMM;
    CGMMSol GMMS;
    // The equation builders of the kinds that enter the model, built from
    // the table of record kinds in the order of the model rows.
    std::vector<std::unique_ptr<CGMMEq>> GMMEq;
    CGMMdH GMMdH;
    CGMMdD GMMdD;
    CRelEll RelEll;
    CTerObsEst TOEst;
    // The results of the last adjustment, for every writer.
    CRezultati rez;

    // The run's open report and its warnings.
    CKontekstIzvajanja kontekst;

    // Passes of the iteration loop run by Izracun.
    int nPasses = 0;
    // Izravnaj(report) writes nothing to the console.
    bool tiho = false;

    // The adjustment as the tests of the model ask for it.
    IzidIzravnave Izravnaj(std::ostream& report, bool tihoIzravnava, Zacetek od) override;
    void SetAktiven(TerObsSet set, long zapis, bool aktiven) override;
    const CRezultati& Rezultati() const override { return rez; }
    std::vector<TestZapisa> TestiZapisov() const override;
    RezIzlocen Zapis(TerObsSet set, long zapis) const override;
    void Odstopanja(std::vector<RezIzlocen>& zapisi) override;

private:
    // The values a pass moves: approximate coordinates (heights) and
    // velocities of the point list.  Refraction coefficients and weights
    // start afresh in every adjustment.
    struct Stanje {
        matrika<real> obs, vel;
    };
    Stanje Shrani() const;
    void Obnovi(const Stanje& s);
    // One adjustment from the values in the point list.
    IzidIzravnave IzravnajOdTrenutnih(std::ostream& report, bool tihoIzravnava);
    // As read from the data file (set by Beri).
    Stanje zacetno;

};

int NivexMain(int argc, const char** argv);

#endif
