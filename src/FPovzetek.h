// FPovzetek: the closing summary of a complete run, "POVZETEK IZRAVNAVE:" at
// the end of the report and its short form on the console.
//
// It reads the results only (and the record sets for names and lines): the global test in words, the
// observations whose |w| exceeds N sorted by |w| (at most kPovzetekNajvec,
// then how many more), the records removed by the data snooping, the passes
// and the last correction norm, the largest semi-axis of the absolute
// ellipses (the largest height deviation in levelling), every warning of the
// run once, and one-line hints where the numbers point at a mistake in the
// whole data file:
// - a global test more than kPovzetekFaktorTesta times its upper bound: the
//   angle unit, the approximate coordinates or the deviations are wrong;
// - one pass (no *ITER) whose largest correction d leaves a second-order
//   term d^2 / (2 s) above kPovzetekMejaLinearizacije at the shortest side
//   s between two points of the network: the linearisation cannot carry it.
#ifndef NIVEX_SRC_FPOVZETEK_H
#define NIVEX_SRC_FPOVZETEK_H

#include <ostream>
#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "src/NivexAux.h"

class CProcSet;
class CRezultati;
class CTerObsZbirka;
struct RezOpazovanje;

inline constexpr std::size_t kPovzetekNajvec = 20;
inline constexpr real kPovzetekFaktorTesta = 100.0L;
inline constexpr real kPovzetekMejaLinearizacije = 0.001L;   // m

// The hints of the run (empty when the numbers point at nothing).
std::vector<std::string> PovzetekNamigi(const CRezultati& rez, const CProcSet& procset);
// Every warning of the run once, without its frame: the unknown settings
// words, then the warnings given so far.
std::vector<NivexOpozorilo> PovzetekOpozorila(const CProcSet& procset);

// A number in a printf format (the summary's short numbers).
std::string PovzetekStevilo(const char* oblika, real x);

// The data-file line of an observation; a composed angle names the lines of
// both directions it is formed of, the earlier first.
std::string VrsticeOpazovanja(const CTerObsZbirka& TO, const RezOpazovanje& o);
// The summary into the report and its short form on the console; the point
// names and lines of the observations are those of the record sets.
void Povzetek(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO,
              const std::vector<NivexOpozorilo>& opozorila, std::ostream& report, std::ostream& konzola);

#endif
