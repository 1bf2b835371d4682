// bdmatrika: a block-diagonal matrix, stored as its square diagonal blocks.
//
// The weight matrix of correlated composed angles is the inverse of a
// tridiagonal band that falls apart into one short chain per station, so the
// inverse is block-diagonal with small dense blocks.  Storing only the blocks
// keeps memory and work linear in the number of observations, where the full
// rows x rows matrix would grow with its square.  Every operation here gives
// exactly the numbers the same operation on the full matrix gives: only the
// products with the zeros outside the blocks are left out.
//
// A block may also cover rows that are not neighbours (a covariance block
// given over records whose rows stand apart in the model): its rows are then
// listed, in ascending order, and `vrstica(b, k)` / `polozaj(i)` map between
// a row of the whole matrix and its place in the block.
//
// A long chain (more than kDolgaVeriga rows: a station with hundreds or
// thousands of directions in one set) is held by its tridiagonal cofactor
// band instead (`trak(b)`): its inverse is dense, m^2 numbers, and nobody
// needs it whole.  `blok(b)` is then the m x 3 band (as Qll holds it), and
// the weights are reached by solving with the band (`resiTrak`), in time and
// memory linear in the chain.  `gosta()` gives the same matrix with every
// band inverted, exactly as invtridB inverts a short chain.
#ifndef NIVEX_MATRIKA_BDMATRIKA_H
#define NIVEX_MATRIKA_BDMATRIKA_H

#include <vector>

#include "matrika/matrika.h"

class bdmatrika {
public:
    // blokVrstice of a row that no block holds.
    static constexpr unsigned long kBrez = static_cast<unsigned long>(-1);
    // Number of rows (and columns) of the whole matrix.
    unsigned long nrow() const { return vrsticaBlok.size(); }
    unsigned long nblok() const { return bloki.size(); }
    bool empty() const { return bloki.empty(); }
    // First row of block b and its size.
    unsigned long zacetek(unsigned long b) const { return vrsticeBlokov[b][0]; }
    unsigned long velikost(unsigned long b) const { return bloki[b].nrow(); }
    // Block b (square); its k-th row and column are row vrstica(b, k) of the
    // whole matrix.
    const matrika<real>& blok(unsigned long b) const { return bloki[b]; }
    unsigned long vrstica(unsigned long b, unsigned long k) const { return vrsticeBlokov[b][k]; }
    // The block that holds row i, and the place of row i in it.
    unsigned long blokVrstice(unsigned long i) const { return vrsticaBlok[i]; }
    unsigned long polozaj(unsigned long i) const { return polozaji[i]; }
    // Whether block b was added with rows of its own (not a run of rows).
    bool razprsen(unsigned long b) const { return razprseni[b] != 0; }
    // Whether block b is a long chain held by its cofactor band, and whether
    // any block is.
    bool trak(unsigned long b) const { return traki[b] != 0; }
    bool imaTrakove() const;
    // y = Q^-1 y for the band Q of block b (y: its m rows in block order),
    // by elimination down the band and back.
    void resiTrak(unsigned long b, std::vector<real>& y) const;
    // The same matrix with every band block replaced by its inverse.
    bdmatrika gosta() const;
    // Element (i, j) of the whole matrix (0 outside the blocks); checked.
    real operator()(long i, long j) const;

    // Appends a block after the last one, on the rows that follow the last
    // row so far.
    void dodaj(const matrika<real>& B);
    // Adds a block on the given rows (ascending, none in another block); rows
    // that no block holds yet may stay between them.
    void dodaj(const matrika<real>& B, const std::vector<unsigned long>& vrstice);
    // Appends a long chain on rows zacetek .. zacetek + m - 1 by its m x 3
    // cofactor band (or, from chrB, by the bidiagonal factor of the band).
    void dodajTrak(const matrika<real>& Q, unsigned long zacetek);
    // Empties the matrix of every block and chain.
    void izprazni();

    // Chains longer than this are held by their bands.
    static constexpr unsigned long kDolgaVeriga = 64;

private:
    // Registers block B (square, or a band) on the given rows.
    void vpisi(const matrika<real>& B, const std::vector<unsigned long>& vrstice, bool trak);
    std::vector<std::vector<unsigned long>> vrsticeBlokov;
    std::vector<unsigned long> vrsticaBlok;
    std::vector<unsigned long> polozaji;
    std::vector<char> razprseni;
    std::vector<char> traki;
    std::vector<matrika<real>> bloki;
};

// Inverse of a tridiagonal band (n x 3, as for invtridV) whose rows fall into
// chains not coupled to their neighbours: each chain is inverted on its own by
// the same elimination as invtridV, with the same checks and messages.
// Chains longer than kDolgaVeriga become band blocks unless trakovi is false.
bdmatrika invtridB(const matrika<real>& T, bool trakovi = true);

// Cholesky factor P = L L' block by block (lower-triangular blocks), as
// chr::razcep gives it for the whole matrix.  A band block Q gives its upper
// bidiagonal U with Q = U U' (taken from the last row upwards, U(i, i) in
// column 1 and U(i, i + 1) in column 2): then L = U^-T, whose products
// follow by substitution on U.
bdmatrika chrB(const bdmatrika& P);
// U^-1 y in place for such a factor block (y: its m rows).
void resiBidiagonalno(const matrika<real>& U, std::vector<real>& y);

#endif
