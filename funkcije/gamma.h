// gamma: the gamma function, its logarithm and the regularised incomplete
// gamma functions with the inverse of the upper one, as needed by the
// chi-square quantile of the global model test.
//
// The algorithms are the Cephes ones (lgam, gamma, igam, igamc, igami) with
// their published coefficient tables.  Exponentials, logarithms, powers and
// sines are taken in double precision, everything around them in long double,
// so results are good to roughly double precision.
//
// Conventions a caller must know:
// - Call `gamma` with a long double argument.  The C library declares a legacy
//   `::gamma(double)` that returns ln|Γ|, and a double argument selects it.
// - `lngamma` at a pole (0, -1, -2, ...) returns +inf with sign +1; `gamma`
//   returns NaN at a negative integer, ±inf at ±0 and +inf where Γ overflows.
// - `incompletegamma`/`incompletegammac` return 0/1 for a <= 0 or x <= 0;
//   an infinite x gives 1/0.  NaN arguments give NaN.  They are meant for
//   a up to about 1e10 (accurate to some 1e-11 there); far beyond, where the
//   sums would need more than 1e7 terms, they give NaN.
// - `invincompletegammac` requires a > 0 (finite) and 0 <= y <= 1; anything
//   else ends the program through funkcijeError.  y = 0 gives 1e300 (the
//   library's "infinite" answer), y = 1 gives 0.  Its time grows like sqrt(a)
//   (milliseconds at a = 1e9).
#ifndef NIVEX_FUNKCIJE_GAMMA_H
#define NIVEX_FUNKCIJE_GAMMA_H

#include "funkcije/numerika.h"

// Regularised lower incomplete gamma function P(a, x).
real incompletegamma(real a, real x);
// Regularised upper incomplete gamma function Q(a, x) = 1 - P(a, x).
real incompletegammac(real a, real x);
// x with Q(a, x) = y.
real invincompletegammac(real a, real y);
// ln|Γ(x)|; sign receives the sign of Γ(x) (+1 or -1).
real lngamma(real x, real& sign);
// Γ(x).
real gamma(real x);

#endif
