// inv: Gauss-Jordan elimination, the one small inverse of the program: the
// inverse of the normal matrix of the "NS" solution, the small inverses of
// the datum terms of the sparse solution, and the search for the unknowns
// that no observation fixes (the reduced echelon form of a normal matrix).
//
// Tolerance comparisons are made on the magnitude rounded to double; all
// arithmetic is real.
#ifndef NIVEX_MATRIKA_INV_H
#define NIVEX_MATRIKA_INV_H

#include <vector>

#include "matrika/matrika.h"
#include "funkcije/numerika.h"

// How gaussJordan chooses and judges its pivots.
struct gjNacin {
    // false: in step k the largest element of column k at or below row k
    // (the first of equal ones), its row exchanged with row k; true: the
    // largest diagonal element of a column not yet used (for a symmetric
    // non-negative definite matrix; no rows exchanged, the value compared
    // with its sign, a negative one being round-off of 0).
    bool diagonala = false;
    // A pivot below meja (or 0) vanishes.
    real meja = numerika::kSingularniPivot;
    // Elements of the pivot's column at or below nic in magnitude are not
    // eliminated (with nic = 0, only exact zeros are left).
    real nic = numerika::kSingularniPivot;
};

// Gauss-Jordan reduction of the square matrix A: each step divides the
// pivot's row by the pivot and clears the pivot's column in every other row.
// With Ainv the same row operations go to the identity, which becomes A^-1.
// Stops at the first vanishing pivot.  Returns the columns of the pivots in
// the order taken (the pivot of column c ends in row c): all n of them when A
// is regular.  After a stop in row-exchange mode, the vanishing pivot is
// A(k, k) with k the number of pivots taken.
std::vector<unsigned long> gaussJordan(matrika<real>& A, matrika<real>* Ainv, const gjNacin& nacin);

// A^-1.  Elements below 1e-15 in magnitude are not eliminated, and a pivot
// below 1e-15 ends the run with the "Matrika je singularna" message, its
// value divided by 1e-15 and its position.
matrika<real> inv(const matrika<real>& A);
// The same, but a vanishing pivot does not end the run: its column (an
// unknown that the system leaves undetermined) goes to *pivot, and the
// result is empty.  *pivot is -1 when the inverse exists.
matrika<real> inv(const matrika<real>& A, long* pivot);
// A^-1 of a matrix of any scale: a pivot at or below kRelativniPivot times
// the largest element of A in magnitude vanishes, only exact zeros are left
// uneliminated.  Empty when A is singular.
matrika<real> invRelativna(const matrika<real>& A);

#endif
