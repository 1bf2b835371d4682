// norm: the Euclidean norm of a vector (0 for a true matrix).
#ifndef NIVEX_MATRIKA_NORMM_H
#define NIVEX_MATRIKA_NORMM_H
#include "matrika/matrika.h"

// Sum of squares in extended precision, square root in double precision.
real norm(const matrika<real>& A);
#endif
