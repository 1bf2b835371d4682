// FZanke: loop misclosures before the adjustment ("ZAPIRANJE ZANK:").
//
// The records of one kind that join two points form a graph: the height
// differences (h) and, separately, the coordinate-difference vectors (V).
// A fundamental set of independent loops is taken in it: a spanning forest
// (breadth first) and one loop for each record outside it, closed by the
// shortest path (fewest records) among the forest and the records already
// given a loop, searched within a bounded neighbourhood and otherwise along
// the forest.  Each loop holds its own record that no earlier loop holds, so
// the loops are independent, and there are records - points + parts of them.
// Records between the same two points form loops of two records.
//
// For each loop, traversed along its records (a record against its
// direction counts negative): the misclosure w (d = 1 for heights, Dim for
// vectors), its covariance Q_w = sum of s_i s_j C_ij over its records (the
// deviations of the records, and the covariance blocks of the data file
// between records of one block, Q lines), and T = w' Q_w^-1 w, which is
// compared with the chi-square quantile on d degrees of freedom at the
// confidence level of the global test (*PGTEST).  For a height loop this is
// |w| > z s_w, z the two-sided normal quantile at that level, and the
// report shows the allowed value z s_w in millimetres.
//
// Loops are not formed with velocity estimation (records of different
// epochs) nor over records set aside.  A loop over its allowed value is a
// warning (NivexWarning) naming its records' lines.  The report and the
// results keep at most kZankeNajvec loops of each kind: those with the
// largest T relative to its limit; the counts are of all of them.
#ifndef NIVEX_SRC_FZANKE_H
#define NIVEX_SRC_FZANKE_H

#include <ostream>
#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "src/TerObsVrste.h"

class CTerObsZbirka;
class CProcSet;

inline constexpr std::size_t kZankeNajvec = 200;
// Breadth of the search for the shortest closing path of a loop (points).
inline constexpr std::size_t kZankeIskanje = 256;
// Record lines named in one warning at most (then how many more).
inline constexpr std::size_t kZankeVrsticOpozorila = 30;

// One loop: its records in the order traversed, each with its direction.
struct RezZanka {
    long stevilka = 0;                  // from 1 within its kind
    std::vector<long> zapisi;           // record indices (from 0) in their set
    std::vector<signed char> smeri;     // +1 along the record, -1 against it
    std::vector<long> vrstice;          // lines of the records in the data file
    std::vector<real> w, sw;            // misclosure and its deviations [m], d each
    real T = 0;                         // w' Q_w^-1 w
    bool presezena = false;             // T above the limit
};

// The loops of one kind of record.
struct RezZankeVrste {
    TerObsSet vrsta = kTOHdif;
    unsigned short d = 1;               // components of a record
    unsigned long stevilo = 0;          // every loop of the kind
    unsigned long presezenih = 0;       // loops over their allowed value
    std::vector<RezZanka> zanke;        // those kept (see above), by number
};

struct RezZanke {
    real zaupanje = 0;                  // confidence level (*PGTEST)
    std::vector<RezZankeVrste> vrste;   // kinds with at least one loop
    bool Prazno() const { return vrste.empty(); }
};

// The limit of T for d components at confidence level p: chi-square(d)
// quantile (for d = 1 the square of the two-sided normal quantile).
real ZankeMeja(unsigned short d, real p);

// The loops of one set (kTOHdif with d = 1, or kTOVec with its Dim) among
// the records that take part; gives the warning of every loop over its
// limit.
RezZankeVrste ZankeVrste(const CTerObsZbirka& TO, TerObsSet vrsta, unsigned short d, real zaupanje);
// Both kinds of a run (nothing with velocity estimation).
RezZanke ZapiranjeZank(const CTerObsZbirka& TO, const CProcSet& procset);
// The section of the report (nothing when there is no loop).
void ZankePorocilo(const RezZanke& zanke, std::ostream& out);

#endif
