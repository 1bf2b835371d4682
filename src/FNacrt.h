// FNacrt: the design of a network before it is measured ("*NACRT").
//
// The data file holds the points with their planned or approximate
// coordinates and the planned observations; a value may be written "?".
// Every value is computed from the coordinates by the equation builders of
// the model (instrument and target heights, refraction and curvature, the
// epochs of the velocities as they apply them), so the misclosures are zero
// and a given value is ignored, with a note.  The directions of a station
// setup read 0 at its first one (their orientation is an unknown that the
// composed angles leave out).  One pass with the a-priori variance then
// gives the precision and the reliability; there are no residuals to test,
// so no global test, no w, no data snooping and no robust estimation.
//
// Facts a caller must know:
// - NacrtVrednosti runs after reading, before the input report, and builds
//   the equations once at the approximate coordinates; a value of the
//   records (OBS) is replaced, never anything else.
// - An observation is unchecked when its redundancy number is below
//   kNacrtNepreverjeno.  A direction enters the model through the composed
//   angles on either side of it, whose redundancy the other directions keep
//   up: it is judged as a record (the share of its alternative the other
//   observations check, NacrtSmeri) and named by the composed angle that
//   ends at it (or, the first of its set, that begins at it).  The targets of "*NACRT" are verdicts only: the run
//   ends with status 0 whether they are met or not.
#ifndef NIVEX_SRC_FNACRT_H
#define NIVEX_SRC_FNACRT_H

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "src/NivexAux.h"

class CIzravnava;
class CProcSet;
class CRezultati;
class CTerObsZbirka;
struct RezOpazovanje;

inline constexpr real kNacrtNepreverjeno = 0.01L;

// Computes every observation value from the coordinates and says so in the
// report (with the number of given values ignored).
void NacrtVrednosti(CIzravnava& izravnava, CProcSet& procset, CTerObsZbirka& TO, std::ostream& report);

// One observation row named for the summary and the JSON document.
struct NacrtOpazovanje {
    char vrsta = 0;
    std::string tocke;      // its point names, blank-separated (and the axis of a component)
    std::string vrstice;    // its line(s) in the data file
    real vrednost = 0;      // the number the summary names it for
    const RezOpazovanje* o = nullptr;
    long indeks = -1;       // its place in the "observations" of the JSON document
};

// What the closing summary of a design says, computed from the results.
struct NacrtOcena {
    real polos = 0;                 // largest absolute semi-axis (height deviation in levelling)
    std::string polosTocka;
    real relativna = 0;             // largest relative semi-axis
    std::string relativnaOd, relativnaDo;
    bool imaRelativne = false;
    NacrtOpazovanje najmanjsiR;     // smallest redundancy number
    std::vector<NacrtOpazovanje> nepreverjena;   // r < kNacrtNepreverjeno
    std::vector<NacrtOpazovanje> najvecjiNAB;    // largest marginal detectable error per kind
    NacrtOpazovanje najvecjiLAM;    // largest external reliability
    bool imaOpazovanja = false;
    // The targets (< 0: not given), their verdicts and the observations
    // below the redundancy target.
    real ciljPolos = -1, ciljR = -1;
    bool polosDosezena = true, rDosezen = true;
    std::vector<NacrtOpazovanje> sibka;
};
NacrtOcena NacrtOceni(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO);

// The direction records of the last pass that nothing checks, into the
// results (after the pass, before the results are written).
void NacrtSmeri(const CIzravnava& izravnava, const CTerObsZbirka& TO, CRezultati& rez);

// The closing summary of a design into the report and its short form on
// the console.
void NacrtPovzetek(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO,
                   const std::vector<NivexOpozorilo>& opozorila, std::ostream& report, std::ostream& konzola);

// The member "design" of the results document: the summary's numbers, the
// targets and their verdicts (null where not given), and the weak and the
// unchecked observations as indices into its "observations".
nlohmann::ordered_json NacrtDokument(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO);

#endif
