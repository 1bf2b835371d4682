// KotnePretvorbe: conversions between the angle units of the program.
//
// Every computation works in radians; the data file and the report use
// degrees-minutes-seconds, gon or decimal degrees, and small angles in arc
// seconds.  A packed DMS number ddd.mmss... holds whole degrees in the integer
// part, whole minutes in the first two decimals and the seconds with their
// fraction after them (10 deg 20' 30.5" is 10.20305); a negative angle is the
// negated packed value of its magnitude.
//
// The constants are the double values below in both instances (the long
// double instances widen them), so the results of the two agree to double
// precision and the long double ones are reproducible.  Instantiated for
// double and long double.
#ifndef NIVEX_FUNKCIJE_KOTNEPRETVORBE_H
#define NIVEX_FUNKCIJE_KOTNEPRETVORBE_H

#include <string>

namespace kotne {
inline constexpr double PI = 3.141592653589793;
inline constexpr double DEG2GON = 1.1111111111111112;  // 10/9
inline constexpr double GON2DEG = 0.9;
}  // namespace kotne

// x / 180 * pi (division first).
template <typename T> T deg2rad(T x) { return x / T(180) * static_cast<T>(kotne::PI); }
// x * 180 / pi.
template <typename T> T rad2deg(T x) { return x * T(180) / static_cast<T>(kotne::PI); }
template <typename T> T deg2gon(T x) { return x * static_cast<T>(kotne::DEG2GON); }
template <typename T> T gon2deg(T x) { return x * static_cast<T>(kotne::GON2DEG); }
template <typename T> T gon2rad(T x) { return deg2rad(gon2deg(x)); }
template <typename T> T rad2gon(T x) { return deg2gon(rad2deg(x)); }
// Arc seconds: x * 180 * 3600 / pi.
template <typename T> T rad2sec(T x) { return x * T(180) * T(3600) / static_cast<T>(kotne::PI); }

// Packed DMS number of an angle in radians.  The parts are cut by floors, not
// rounded, and seconds are never carried into minutes.
template <typename T> T rad2dms(T x);

// Text of a packed DMS number: degrees in 3 columns, minutes in 3 and seconds
// with two decimals in 6 ("%3d%3d%6.2lf"); a negative angle under one degree
// is written " -0" followed by the minutes and seconds, so that its sign is
// not lost.
template <typename T> std::string dms2dms(T p);

// The grid bearing SmerniKot belongs to the same family.
#include "funkcije/numerika.h"
#include "funkcije/SmerniKot.h"

extern template double rad2dms<double>(double);
extern template real rad2dms<real>(real);
extern template std::string dms2dms<double>(double);
extern template std::string dms2dms<real>(real);

#endif
