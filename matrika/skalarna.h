// skalarna: the inner products of the sparse factorisation and of its
// inverse, on long doubles or on long doubles held as two doubles.
//
// An x87 long double loads from memory several times slower than a double,
// and these loops are bound by their loads.  A long double x is therefore
// also held as the pair of doubles v = x rounded to double and m = x - v
// (exact: the 11 bits v leaves over fit a double), and loaded as m + v, a
// double load and a double addition that give x again exactly.  The products
// and sums are the same long double operations in the same order on either
// form, so the results are the same to the last bit; the pairs only load
// faster.  A value beyond the range of double (or so small that m would be
// below it) has no exact pair: razcepi says so, and the caller keeps the
// long doubles.
#ifndef NIVEX_MATRIKA_SKALARNA_H
#define NIVEX_MATRIKA_SKALARNA_H

#include <cmath>
#include <cstddef>
#include <utility>

#include "funkcije/numerika.h"

struct dvojna {
    double v, m;  // x = m + v
};

// x held as a pair; false where the pair does not give x again (a NaN is
// held as NaN, which is all a sum of it can give).
inline bool razcepi(real x, dvojna& d)
{
    const double v = static_cast<double>(x);
    const double m = std::isfinite(v) ? static_cast<double>(x - static_cast<real>(v)) : 0.0;
    d.v = v;
    d.m = m;
    return static_cast<real>(m) + static_cast<real>(v) == x || x != x;
}
// The same for a value that is kept (the whole inverse), with the sign of
// a zero kept too: -0 is held as -0 + -0.
inline bool hrani(real x, dvojna& d)
{
    const bool tocno = razcepi(x, d);
    if (d.v == 0) d.m = d.v;
    return tocno && (d.v != 0 || x == 0);
}
inline bool razcepi(real x, real& d)
{
    d = x;
    return true;
}

inline real vrednost(real x) { return x; }
inline real vrednost(const dvojna& x) { return static_cast<real>(x.m) + static_cast<real>(x.v); }

namespace skalarna {

// x.y
template <typename E>
inline real Skalarna(const E* x, const E* y, long n)
{
    real s = 0;
    for (long i = 0; i < n; ++i) s += vrednost(x[i]) * vrednost(y[i]);
    return s;
}

namespace podrobno {
// The sums of Skalarna2 and Skalarna22 with the operands y0[i] and y1[i]
// at the pointers y(i).first and y(i).second.
template <typename E, typename Y>
inline void Dve(const E* x, Y y, long n, real& v0, real& v1)
{
    real s0 = 0, s1 = 0;
    for (long i = 0; i < n; ++i) {
        const real xi = vrednost(x[i]);
        const auto [a, b] = y(i);
        s0 += xi * vrednost(*a);
        s1 += xi * vrednost(*b);
    }
    v0 = s0;
    v1 = s1;
}
template <typename E, typename Y>
inline void DveDve(const E* x0, const E* x1, Y y, long n, real& v00, real& v01, real& v10, real& v11)
{
    real s00 = 0, s01 = 0, s10 = 0, s11 = 0;
    for (long i = 0; i < n; ++i) {
        const auto [p, q] = y(i);
        const real a = vrednost(x0[i]), b = vrednost(x1[i]), c = vrednost(*p), d = vrednost(*q);
        s00 += a * c;
        s01 += a * d;
        s10 += b * c;
        s11 += b * d;
    }
    v00 = s00;
    v01 = s01;
    v10 = s10;
    v11 = s11;
}
}  // namespace podrobno

// x.y0 and x.y1 in one pass: the two chains of additions overlap, and x is
// loaded once for both.
template <typename E>
inline void Skalarna2(const E* x, const E* y0, const E* y1, long n, real& v0, real& v1)
{
    podrobno::Dve(x, [=](long i) { return std::pair{y0 + i, y1 + i}; }, n, v0, v1);
}

// The four products of x0, x1 with y0, y1 in one pass: one load per
// multiplication.
template <typename E>
inline void Skalarna22(const E* x0, const E* x1, const E* y0, const E* y1, long n, real& v00, real& v01,
                       real& v10, real& v11)
{
    podrobno::DveDve(x0, x1, [=](long i) { return std::pair{y0 + i, y1 + i}; }, n, v00, v01, v10, v11);
}

// v0 -= l[k] x0[k] and, for two rows, v1 -= l[k] x1[k] for k in [od, doo),
// term by term in k's order: a step of the back substitution of one row or
// two against a column l of a unit triangle.
template <typename E>
inline void Odstej(real& v0, real& v1, const E* x0, const E* x1, const E* l, long od, long doo, bool dve)
{
    if (dve) {
        for (long k = od; k < doo; ++k) {
            const real a = vrednost(l[k]);
            v0 -= a * vrednost(x0[k]);
            v1 -= a * vrednost(x1[k]);
        }
    } else {
        for (long k = od; k < doo; ++k) v0 -= vrednost(l[k]) * vrednost(x0[k]);
    }
}

// The same kernels with y0, y1 gathered from the columns of a matrix held
// by columns: y0[i] = z[o[i]] and y1[i] = z[o[i] + 1] (two consecutive rows
// of columns o[i] / rows).
template <typename E>
inline void Skalarna2Z(const E* x, const E* z, const std::size_t* o, long n, real& v0, real& v1)
{
    podrobno::Dve(x, [=](long i) { return std::pair{z + o[i], z + o[i] + 1}; }, n, v0, v1);
}

template <typename E>
inline void Skalarna22Z(const E* x0, const E* x1, const E* z, const std::size_t* o, long n, real& v00, real& v01,
                        real& v10, real& v11)
{
    podrobno::DveDve(x0, x1, [=](long i) { return std::pair{z + o[i], z + o[i] + 1}; }, n, v00, v01, v10, v11);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && __LDBL_MANT_DIG__ == 64
// On x87 the pairs of the two longer kernels by hand (a single sum the
// compiler keeps in registers itself): it spills two of the four sums of
// Skalarna22 to memory (long double stores and loads, the slow ones), while
// the eight registers hold them all when each operand is loaded just before
// its products.  The operations and their order are those of the templates.
template <>
void Skalarna2<dvojna>(const dvojna* x, const dvojna* y0, const dvojna* y1, long n, real& v0, real& v1);
template <>
void Skalarna22<dvojna>(const dvojna* x0, const dvojna* x1, const dvojna* y0, const dvojna* y1, long n,
                        real& v00, real& v01, real& v10, real& v11);
template <>
void Skalarna2Z<dvojna>(const dvojna* x, const dvojna* z, const std::size_t* o, long n, real& v0, real& v1);
template <>
void Skalarna22Z<dvojna>(const dvojna* x0, const dvojna* x1, const dvojna* z, const std::size_t* o, long n,
                         real& v00, real& v01, real& v10, real& v11);
#endif

}  // namespace skalarna

#endif
