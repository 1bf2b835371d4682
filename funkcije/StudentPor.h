// StudentPor: the regularised incomplete beta function and, built on it,
// the upper tails of Student's t and of the F distribution with the
// two-sided quantile of t, for the tests of single records (the
// studentised residual and its multi-row form).
//
// Degrees of freedom must be at least 1 (not necessarily integers) and
// finite, a tail's argument at least 0 (inf allowed), a probability within
// [0, 1]; anything else, NaN included, ends the program through
// funkcijeError (module funkcije/StudentPor).  The continued fraction needs
// time growing like the square root of the degrees of freedom; results are
// good to roughly double precision (the logarithm of the beta function is
// that of lngamma).
#ifndef NIVEX_FUNKCIJE_STUDENTPOR_H
#define NIVEX_FUNKCIJE_STUDENTPOR_H

#include "funkcije/numerika.h"

// Regularised incomplete beta function I_x(a, b), a, b > 0, 0 <= x <= 1.
real incompletebeta(real a, real b, real x);
// P(|T| > t) of Student's t with f degrees of freedom (two-sided tail).
real StudentPorFC2(real t, real f);
// t >= 0 with P(|T| > t) = p; p = 0 gives 1e300, the library's "infinite".
real StudentPorInvFC2(real p, real f);
// P(F > x) of the F distribution with d1 and d2 degrees of freedom.
real FPorFC(real x, real d1, real d2);
// x >= 0 with P(F > x) = p of the F distribution with d1 and d2 degrees of
// freedom (0 < p < 1), by bisection on FPorFC.
real FPorInvFC(real p, real d1, real d2);

#endif
