// FKovariance: covariance blocks of the data file.
//
// A `Q` line gives the full covariance of a group of records: the three
// components of a GNSS baseline (V), the coordinates of several C records or
// the heights of several H records, the observations of one station, or any
// mix of them.  It reads
//
//   Q n  kind points ... (n records)  q11 q12 ... q1N q22 ... qNN
//
// n records named by their kind letter and point names, then the upper
// triangle of the N x N covariance row by row, N the rows of the records
// (Dim for C and V, one for every other kind), in SI units: m^2 between
// lengths, rad^2 between angles, m rad between a length and an angle.  Like
// a record the line may continue over lines; after the last element only a
// remark that is not a number may follow.  A reference names the first
// record of that kind and those points (in file order) that no block holds
// yet.  The deviations of the records are replaced by the square roots of
// the diagonal.
//
// Directions enter the model as composed angles, angle = later - earlier
// direction: a block that holds a direction must hold every direction of its
// station's run, and the model carries the covariance to the angles by that
// difference (T Q T').
//
// The model takes a block over the records that take part (CTerObs::Aktiven):
// a record set aside takes its rows and columns of the covariance with it,
// and the rest of the block keeps its correlations.
//
// Refused with a framed message naming the line of the Q and exit status 1:
// a count or kind that is wrong, fewer or more elements than the triangle
// holds, an element that is not a number, a record that does not exist or is
// already in a block, directions of a station only partly in the block, a
// covariance that is not positive definite, and a deviation below the zero
// threshold of its kind.
#ifndef NIVEX_SRC_FKOVARIANCA_H
#define NIVEX_SRC_FKOVARIANCA_H

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "matrika/matrika.h"
#include "src/TerObsVrste.h"

class CTerObsZbirka;
struct VrsticaModela;

// A block as the data file gives it.
struct KovBlokZapisov {
    long vrstica = 0;                             // line of the Q
    std::vector<std::pair<char, std::vector<std::string>>> imena;   // kind and points of each reference
    std::vector<std::pair<TerObsSet, long>> zapisi;                  // the records, once found
    std::vector<unsigned long> odmik;             // first row of each record in Q
    matrika<real> Q;                              // N x N, SI units
};

// A block over the model rows of one pass: rows ascending, cofactors
// (covariance / So^2).
struct KovBlokModela {
    std::vector<unsigned long> vrstice;
    std::vector<long> zapis;   // per row: its record in the block, -1 for a composed angle
    matrika<real> Q;
};

// The robust factor of every record of a block is the smallest of its rows
// (W column 0): a record is kept, weighed down or rejected as a whole.
void KovFaktorjiZapisov(const std::vector<KovBlokModela>& bloki, matrika<real>& W);

// The leading word of a covariance block.
inline bool JeKovBlok(const std::string& w) { return w == "Q"; }

// Reads one block after its Q; `beseda(w, vrstica)` gives the next word and
// its line (false at the end of the data or at "*K").  Syntax errors end the
// run naming `vrstica`.
KovBlokZapisov BeriKovBlok(const std::function<bool(std::string&, long&)>& beseda, long vrstica,
                           unsigned short dim);
// The rest of the line after a block: a number there is one element too many.
void PreveriOstanekKovBloka(const std::string& ostanek, const KovBlokZapisov& b);

// Finds the records of every block, checks them and the covariances, and
// replaces the deviations of their records.
void PoveziKovBloke(CTerObsZbirka& TO, unsigned short dim);

// The blocks in the input report: line, records (with their lines), rows
// and the largest correlation.
void PrintKovBloke(std::ostream& izhod, const CTerObsZbirka& TO);

// The blocks over the model rows `vrstice` of the records that take part.
std::vector<KovBlokModela> KovBlokiModela(const CTerObsZbirka& TO, const std::vector<VrsticaModela>& vrstice,
                                          real So);

// Whitening of a block: W (upper triangular) with W'W its weights, so that
// the whitened rows are W times the block's rows.  `f` holds a factor per
// row (1 as given): the rows with f > 0 take the covariance D^-1 Q D^-1
// (D = diag f), and a row with f = 0 leaves the block, whose other rows
// keep their covariance; its row of W is zero.
matrika<real> KovBeljenje(const KovBlokModela& b, const std::vector<real>& f);

// Cholesky factor of a symmetric matrix (lower); false when it is not
// positive definite.
bool KovCholesky(const matrika<real>& A, matrika<real>& L);
// Inverse of a positive definite matrix from its Cholesky factor.
matrika<real> KovInverz(const matrika<real>& L);

#endif
