// FPribliznaGeometrija: the plane constructions of the approximate
// coordinates (FPriblizne), as closed forms over plain numbers.
//
// Coordinates are (first, second) = (easting, northing); a bearing is counted
// clockwise from the second axis towards the first, in radians, as the
// directions and azimuths of the data file.  Each construction returns false
// where its geometry gives no point (parallel rays, circles that do not meet,
// three targets on one circle with the station).
#ifndef NIVEX_SRC_FPRIBLIZNAGEOMETRIJA_H
#define NIVEX_SRC_FPRIBLIZNAGEOMETRIJA_H

#include <array>
#include <vector>

#include "funkcije/numerika.h"

using Tocka2 = std::array<real, 2>;

// Bearing from a to b in [0, 2 pi).
real PribliznaSmer(const Tocka2& a, const Tocka2& b);
// An angle brought into [0, 2 pi).
real PribliznaNormiraj(real kot);
// Median of angles: each taken relative to the first into (-pi, pi], so
// that angles on both sides of 0 are not split.
real PribliznaMedianaKotov(std::vector<real> koti);
// Median of numbers (the mean of the two middle ones for an even count).
real PribliznaMediana(std::vector<real> v);

// The point at distance d from a along bearing t.
Tocka2 PribliznoPolarno(const Tocka2& a, real t, real d);
// Forward intersection of the ray from a along ta with the ray from b along
// tb: refused when the rays cross at less than 20 degrees (or more than
// 160), or behind either station.
bool PribliznoPresek(const Tocka2& a, real ta, const Tocka2& b, real tb, Tocka2& p);
// The two points at distance da from a and db from b (arc intersection);
// refused where the arcs cross at less than 20 degrees (or more than 160).
bool PribliznoLok(const Tocka2& a, real da, const Tocka2& b, real db, Tocka2& p1, Tocka2& p2);
// Resection: the station from the directions r[k] it observed to three
// targets t[k] (its orientation unknown), by the null vector of the three
// conditions linear in (cos w, sin w, -x cos w + y sin w, x sin w + y cos w).
bool PribliznoNazaj(const std::array<Tocka2, 3>& t, const std::array<real, 3>& r, Tocka2& p);

// A similarity transformation of the plane (rotation, scale, shift) fitted
// by least squares to pairs of points, local -> global.
struct PodobnostRavnine {
    real a = 1.0L, b = 0.0L, tx = 0.0L, ty = 0.0L;
    Tocka2 operator()(const Tocka2& p) const { return {a * p[0] - b * p[1] + tx, b * p[0] + a * p[1] + ty}; }
};
// False for fewer than two distinct points.
bool PribliznaPodobnost(const std::vector<Tocka2>& lokalne, const std::vector<Tocka2>& globalne,
                        PodobnostRavnine& t);

#endif
