// elipspog: the standard error ellipse of a 2 x 2 covariance (cofactor) block.
//
// In: qxx, qyy (the variances of the first and second coordinate) and qxy.
// Out: the semi-axes a >= b (square roots of the eigenvalues, in the units of
// the square root of the input) and theta, the direction of the major axis in
// decimal degrees, 0 <= theta < 180, from the first coordinate axis towards
// the second.  Values below 1e-14 in magnitude are set to 0 in the arguments
// themselves; so is a variance of exactly 1e-14, which falls on the border
// between "zero" and "positive".  A non-positive variance counts as zero.
#ifndef NIVEX_MATRIKA_ELIPSPOG_H
#define NIVEX_MATRIKA_ELIPSPOG_H

#include "funkcije/numerika.h"

void elipspog(double& qxx, double& qyy, double& qxy, double& a, double& b, double& theta);
void elipspog(real& qxx, real& qyy, real& qxy, real& a, real& b,
              real& theta);

#endif
