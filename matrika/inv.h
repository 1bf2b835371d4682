// inv: the inverse of a square matrix by Gauss-Jordan elimination with
// partial pivoting (used for the normal matrix of the "NS" solution).
//
// Elements below 1e-15 in magnitude are not eliminated, and a pivot below
// 1e-15 ends the run with the "Matrika je singularna" message, its value
// divided by 1e-15 and its position.  Tolerance comparisons are made on the
// magnitude rounded to double; all arithmetic is long double.
#ifndef NIVEX_MATRIKA_INV_H
#define NIVEX_MATRIKA_INV_H

#include "matrika/matrika.h"

matrika<real> inv(const matrika<real>& A);
// The same, but a vanishing pivot does not end the run: its column (an
// unknown that the system leaves undetermined) goes to *pivot, and the
// result is empty.  *pivot is -1 when the inverse exists.
matrika<real> inv(const matrika<real>& A, long* pivot);

#endif
