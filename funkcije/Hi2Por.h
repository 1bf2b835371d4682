// Hi2Por: the chi-square distribution with k degrees of freedom - quantile,
// density, distribution function and its complement - for the global test
// of the adjustment model.
//
// Every function requires k >= 1 (finite; k need not be an integer); the
// quantile and the distribution functions also k <= 1e10, since their time
// grows like sqrt(k).  The quantile requires 0 <= p <= 1, the others x >= 0
// (x = inf is allowed).  A bad argument, NaN
// included, ends the program through funkcijeError (module funkcije/Hi2Por).
// Hi2PorInvF(0, k) is 0 and Hi2PorInvF(1, k) is 1e300, the library's
// "infinite" answer.
#ifndef NIVEX_FUNKCIJE_HI2POR_H
#define NIVEX_FUNKCIJE_HI2POR_H

#include "funkcije/numerika.h"

// Chi-square quantile: x with P(chi2_k <= x) = p.
real Hi2PorInvF(real p, real k);
// Chi-square density at x.
real Hi2Porf(real x, real k);
// Chi-square distribution function P(chi2_k <= x).
real Hi2PorF(real x, real k);
// Its complement P(chi2_k > x), accurate also where it is tiny.
real Hi2PorFC(real x, real k);

#endif
