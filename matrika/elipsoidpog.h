// elipsoidpog: the error ellipsoid of a 3 x 3 covariance (cofactor) block.
//
// S receives the three eigenvalues (the squared semi-axes), largest first, as
// a 3 x 1 column; A the three orientation angles in decimal degrees:
//   A(0) the angle of the major axis from the third (vertical) axis,
//        atan(horizontal length / vertical component), -90 .. 90;
//   A(1) the grid bearing (from the second coordinate axis towards the first,
//        as SmerniKot) of the major axis' horizontal part, 0 .. 180;
//   A(2) the elevation of the middle axis, atan(vertical / horizontal), -90 .. 90.
// Both outputs are first set to 0 (and made 3 x 1 when they have fewer than
// three elements); a block whose trace is below 1e-14 leaves them at 0.
// Elements of Q below 1e-14 in magnitude are taken as 0.  Q must be 3 x 3.
#ifndef NIVEX_MATRIKA_ELIPSOIDPOG_H
#define NIVEX_MATRIKA_ELIPSOIDPOG_H

#include "matrika/matrika.h"

void elipsoidpog(const matrika<real>& Q, matrika<real>& S, matrika<real>& A);

#endif
