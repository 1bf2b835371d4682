// bdmatrika: a block-diagonal matrix, stored as its square diagonal blocks.
//
// The weight matrix of correlated composed angles is the inverse of a
// tridiagonal band that falls apart into one short chain per station, so the
// inverse is block-diagonal with small dense blocks.  Storing only the blocks
// keeps memory and work linear in the number of observations, where the full
// rows x rows matrix would grow with its square.  Every operation here gives
// exactly the numbers the same operation on the full matrix gives: only the
// products with the zeros outside the blocks are left out.
#ifndef NIVEX_MATRIKA_BDMATRIKA_H
#define NIVEX_MATRIKA_BDMATRIKA_H

#include <vector>

#include "matrika/matrika.h"

class bdmatrika {
public:
    // Number of rows (and columns) of the whole matrix.
    unsigned long nrow() const { return vrsticaBlok.size(); }
    unsigned long nblok() const { return bloki.size(); }
    bool empty() const { return bloki.empty(); }
    // First row of block b and its size.
    unsigned long zacetek(unsigned long b) const { return zacetki[b]; }
    unsigned long velikost(unsigned long b) const { return bloki[b].nrow(); }
    // Block b (square, rows zacetek(b) ... zacetek(b) + velikost(b) - 1).
    const matrika<real>& blok(unsigned long b) const { return bloki[b]; }
    // The block that holds row i.
    unsigned long blokVrstice(unsigned long i) const { return vrsticaBlok[i]; }
    // Element (i, j) of the whole matrix (0 outside the blocks); checked.
    real operator()(long i, long j) const;

    // Appends a block after the last one.
    void dodaj(const matrika<real>& B);
    void clear();

private:
    std::vector<unsigned long> zacetki;
    std::vector<unsigned long> vrsticaBlok;
    std::vector<matrika<real>> bloki;
};

// Inverse of a tridiagonal band (n x 3, as for invtridV) whose rows fall into
// chains not coupled to their neighbours: each chain is inverted on its own by
// the same elimination as invtridV, with the same checks and messages.
bdmatrika invtridB(const matrika<real>& T);

// Cholesky factor P = L L' block by block (lower-triangular blocks), as
// chr::razcep gives it for the whole matrix.
bdmatrika chrB(const bdmatrika& P);

#endif
