// invtrid: inverses of a tridiagonal matrix held in compact band form (the
// cofactor band of the observations).
//
// T is n x 3: row i holds the element left of the diagonal, the diagonal
// element and the element right of it, of row i of the tridiagonal matrix
// (T(0, 0) and T(n-1, 2) are not used).  Zero elements are not eliminated;
// a pivot below 1e-14 times its row's diagonal element (for the diagonal
// inverse: a zero, or one whose reciprocal overflows) ends the run with the
// "Matrika je singularna" message (its value / 1e-14 and its row).
#ifndef NIVEX_MATRIKA_INVTRID_H
#define NIVEX_MATRIKA_INVTRID_H

#include "matrika/matrika.h"

// The full n x n inverse, by Gauss-Jordan elimination on the band.  zamik is
// added to the row named in the singular message (T a part of a longer band).
matrika<real> invtridV(const matrika<real>& T, long zamik = 0);

// The n x 1 column of reciprocals of the diagonal (for a diagonal matrix).
matrika<real> invdiagR3(const matrika<real>& T);

#endif
