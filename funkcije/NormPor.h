// NormPor: the standard normal distribution - quantile, density and
// distribution function - for the tests of single observations and the
// reliability measures.
//
// NormPorInvF is the Cephes ndtri algorithm; it never fails: p <= 0 gives
// -1e300 and p >= 1 gives +1e300, which callers treat as the infinite ends.
// A NaN argument gives NaN.  Elementary functions are taken in double
// precision, the arithmetic around them in long double.
#ifndef NIVEX_FUNKCIJE_NORMPOR_H
#define NIVEX_FUNKCIJE_NORMPOR_H

#include "funkcije/numerika.h"

// Standard normal quantile: x with Φ(x) = p.
real NormPorInvF(real p);
// Standard normal density.
real NormPorf(real x);
// Normal density with mean mu and standard deviation sigma; sigma must be
// positive (otherwise the program ends through funkcijeError).
real NormPorf(real x, real mu, real sigma);
// Standard normal distribution function Φ(x).
real NormPorF(real x);

#endif
