// FKovBloki: the covariance blocks of the data file (Q lines) as read, and
// over the model rows, with the matrix work on them: reading a block,
// whitening, the Cholesky factor and the inverse.  What a Q line holds and
// what is refused: FKovariance.
#ifndef NIVEX_SRC_FKOVBLOKI_H
#define NIVEX_SRC_FKOVBLOKI_H

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "matrika/matrika.h"
#include "src/TerObsVrste.h"

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
