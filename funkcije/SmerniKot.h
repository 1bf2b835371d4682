// SmerniKot: the grid bearing of the line from point 1 to point 2.
//
// a is the first coordinate and b the second; the bearing is measured from the
// direction of the second coordinate axis towards the first, in [0, 2 pi).
// Coordinate differences below 1e-14 in magnitude count as 0, and two
// coinciding points give 0.  unit selects the result: "rad" radians, "deg"
// decimal degrees, "dms" a packed DMS number (KotnePretvorbe.h); any other
// text gives radians.  Instantiated for double and long double.
#ifndef NIVEX_FUNKCIJE_SMERNIKOT_H
#define NIVEX_FUNKCIJE_SMERNIKOT_H

#include <string>

#include "funkcije/numerika.h"

template <typename T>
T SmerniKot(T a1, T b1, T a2, T b2, const std::string& unit);

extern template double SmerniKot<double>(double, double, double, double, const std::string&);
extern template real SmerniKot<real>(real, real, real, real,
                                                   const std::string&);

#endif
