// FECEF: GNSS baselines in the geocentric frame ("*ECEF lat lon").
//
// A spatial network is in a local frame: east, north, up (the first, second
// and third coordinate).  With *ECEF the V records hold geocentric
// differences dX, dY, dZ and their Q blocks a geocentric covariance; both
// are rotated into the local frame at the geodetic latitude b and longitude
// l of the network's centre (GRS80, decimal degrees):
//
//       | -sin l          cos l         0     |
//   R = | -sin b cos l   -sin b sin l   cos b |,  v = R d,  Q = R Q R'.
//       |  cos b cos l    cos b sin l   sin b |
//
// A vector with no block of its own gets one: its deviations become the
// diagonal of a geocentric covariance whose rotation is in general full.
// Rows of a block that are no vector (observed points, other records) stay
// as they are.  The deviations of the records become the roots of the
// rotated diagonal.
#ifndef NIVEX_SRC_FECEF_H
#define NIVEX_SRC_FECEF_H

#include <array>

#include "funkcije/numerika.h"

class CTerObsZbirka;

using ZasukECEF = std::array<std::array<real, 3>, 3>;

// R at latitude b and longitude l in degrees.
ZasukECEF ECEFZasuk(real b, real l);
// Rotates every V record and the covariance blocks into the local frame
// (a spatial network's sets, as read and linked to their blocks).
void ECEFVLokalni(CTerObsZbirka& TO, real b, real l);

#endif
