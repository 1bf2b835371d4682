#include "funkcije/KotnePretvorbe.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
// Floors are taken in double precision.  A whole part that a 32-bit integer
// cannot hold (an absurd angle from a data file) stays a floating value
// instead of overflowing the conversion.
bool VCelo(double v)
{
    return std::isfinite(v) && v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

std::string Oblikuj(const char* fmt, int d, int m, double s)
{
    const int n = std::snprintf(nullptr, 0, fmt, d, m, s);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) std::snprintf(out.data(), out.size() + 1, fmt, d, m, s);
    return out;
}

std::string Oblikuj(const char* fmt, double d, double m, double s)
{
    const int n = std::snprintf(nullptr, 0, fmt, d, m, s);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) std::snprintf(out.data(), out.size() + 1, fmt, d, m, s);
    return out;
}
}  // namespace

template <typename T> T rad2dms(T x)
{
    const bool neg = x < 0;
    const T d = rad2deg(neg ? -x : x);
    const double Df = std::floor(static_cast<double>(d));
    const T D = VCelo(Df) ? static_cast<T>(static_cast<int>(Df)) : static_cast<T>(Df);
    const T m = (d - D) * T(60);
    const T M = static_cast<T>(std::floor(static_cast<double>(m)));
    const T r = D + M / T(100) + (m - M) * T(60) / T(10000);
    return neg ? -r : r;
}

template <typename T> std::string dms2dms(T p)
{
    const T a = p < 0 ? -p : p;
    const double Df = std::floor(static_cast<double>(a));
    const T fr = a - static_cast<T>(Df);
    double Mf = std::floor(static_cast<double>(T(100) * fr));
    T S = T(100) * (T(100) * fr - static_cast<T>(Mf));
    // A packed number holds whole minutes only to its rounding error.  The
    // floor in double precision may round 100 * fraction up to the whole
    // minute it lies just under, leaving seconds a hair below zero ("-0.00");
    // or, for larger degrees, the fraction lies more than that under the
    // minute and the floor gives the minute before it with seconds 99.99...
    // ("100.00").  Both are the whole minute with no seconds.
    if (S < 0) S = 0;
    if (S >= T(99.995L)) {
        Mf += 1;
        S = 0;
    }
    const double Dz = p < 0 ? -Df : Df;
    if (!VCelo(Dz) || !VCelo(Mf)) {
        // Out of range of the integer fields: same layout, whole numbers as floating values.
        return Oblikuj("%3.0f%3.0f%6.2f", Dz, Mf, static_cast<double>(S));
    }
    const int D = static_cast<int>(Dz), M = static_cast<int>(Mf);
    if (p < 0 && a < 1) return Oblikuj(" -%d%3d%6.2lf", D, M, static_cast<double>(S));
    return Oblikuj("%3d%3d%6.2lf", D, M, static_cast<double>(S));
}

template double rad2dms<double>(double);
template real rad2dms<real>(real);
template std::string dms2dms<double>(double);
template std::string dms2dms<real>(real);
