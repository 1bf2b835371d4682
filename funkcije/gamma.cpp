#include "funkcije/gamma.h"

#include <cmath>
#include <limits>

#include "funkcije/NormPor.h"
#include "funkcije/funkcijeAux.h"

namespace {
constexpr real kInf = std::numeric_limits<real>::infinity();
constexpr real kNaN = std::numeric_limits<real>::quiet_NaN();

// Below -kMaxLog an exponential underflows in double precision.
constexpr real kMaxLog = 709.782712893384;
constexpr real kEps = 1e-15;
// Rescaling of the continued fraction keeps its terms inside double range.
constexpr real kBig = 4503599627370496.0;
constexpr real kBigInv = 2.220446049250313e-16;
constexpr real kPi = 3.14159265358979323846;
constexpr real kLogPi = 1.1447298858494002;
constexpr real kLnSqrt2Pi = 0.9189385332046728;
// The series and the continued fraction need up to some 5e5 terms for a up to
// 1e10 (x near a).  Far beyond that, where double-precision logarithms no
// longer carry the answer anyway, the sums are cut off and give NaN instead
// of running for hours.
constexpr long kMaxClenov = 10000000;

// The elementary functions are deliberately taken in double precision.
inline real dlog(real x) { return std::log(static_cast<double>(x)); }
inline real dexp(real x) { return std::exp(static_cast<double>(x)); }
inline real dpow(real x, real y)
{
    return std::pow(static_cast<double>(x), static_cast<double>(y));
}
inline real dsin(real x) { return std::sin(static_cast<double>(x)); }

// Γ(x) for x > 33 by Stirling's formula with a correction series in 1/x.
real gammastirf(real x)
{
    real w = 1 / x;
    real stir = 7.87311395793093628397E-4;
    stir = -2.29549961613378126380E-4 + w * stir;
    stir = -2.68132617805781232825E-3 + w * stir;
    stir = 3.47222221605458667310E-3 + w * stir;
    stir = 8.33333333333482257126E-2 + w * stir;
    w = 1 + w * stir;
    real y = dexp(x);
    // exp(x) itself overflows: Γ(x) is far beyond range as well, and the
    // quotient below would be inf/inf.
    if (std::isinf(y)) return kInf;
    if (x > 143.01608) {
        // x^(x-0.5) would overflow before the division by e^x.
        const real v = dpow(x, 0.5 * x - 0.25);
        y = v * (v / y);
    } else {
        y = dpow(x, x - 0.5) / y;
    }
    return 2.50662827463100050242 * y * w;
}

// Γ(x) for |x| below 1e-9 after the recurrence: Γ(x) ≈ 1/(x(1 + γx)).
real gammasmall(real z, real x)
{
    return z / ((1 + 0.5772156649015329 * x) * x);
}
}  // namespace

real lngamma(real x, real& sign)
{
    sign = 1;
    if (std::isnan(x)) return x;
    if (x == kInf) return kInf;
    if (x < -34) {
        // Reflection: Γ(x)Γ(1-x) = π / sin(πx).
        const real q = -x;
        const real w = lngamma(q, sign);
        real p = std::floor(q);
        if (p == q) {  // pole at a negative integer
            sign = 1;
            return kInf;
        }
        sign = (std::fmod(p, 2.0L) == 0) ? -1 : 1;
        real z = q - p;
        if (z > 0.5L) {
            p = p + 1;
            z = p - q;
        }
        z = q * dsin(kPi * z);
        return kLogPi - dlog(z) - w;
    }
    if (x < 13) {
        // Recurrence into [2, 3), then a rational approximation there.
        real z = 1;
        real p = 0;
        real u = x;
        while (u >= 3) {
            p = p - 1;
            u = x + p;
            z = z * u;
        }
        while (u < 2) {
            if (u == 0) {  // pole at 0 or a negative integer
                sign = 1;
                return kInf;
            }
            z = z / u;
            p = p + 1;
            u = x + p;
        }
        if (z < 0) {
            sign = -1;
            z = -z;
        }
        if (u == 2) return dlog(z);
        p = p - 2;
        x = x + p;
        real b = -1.37825152569120859100E3;
        b = -3.88016315134637840924E4 + x * b;
        b = -3.31612992738871184744E5 + x * b;
        b = -1.16237097492762307383E6 + x * b;
        b = -1.72173700820839662146E6 + x * b;
        b = -8.53555664245765465627E5 + x * b;
        real c = 1;
        c = -3.51815701436523470549E2 + x * c;
        c = -1.70642106651881159223E4 + x * c;
        c = -2.20528590553854454839E5 + x * c;
        c = -1.13933444367982507207E6 + x * c;
        c = -2.53252307177582951285E6 + x * c;
        c = -2.01889141433532773231E6 + x * c;
        return dlog(z) + x * b / c;
    }
    real q = (x - 0.5L) * dlog(x) - x + kLnSqrt2Pi;
    if (x > 1.0e8L) return q;
    const real p = 1 / (x * x);
    if (x >= 1000) {
        q = q + ((0.0007936507936507938 * p - 0.002777777777777778) * p + 0.08333333333333333) / x;
    } else {
        real a = 8.11614167470508450300E-4;
        a = -5.95061904284301438324E-4 + p * a;
        a = 7.93650340457716943945E-4 + p * a;
        a = -2.77777777730099687205E-3 + p * a;
        a = 8.33333333333331927722E-2 + p * a;
        q = q + a / x;
    }
    return q;
}

real gamma(real x)
{
    if (std::isnan(x)) return x;
    if (x == kInf) return kInf;
    if (x == 0) return std::copysign(kInf, x);
    if (x < 0 && x == std::floor(x)) return kNaN;  // poles, including -inf
    real sgngam = 1;
    const real q = std::fabs(x);
    if (q > 33) {
        if (x < 0) {
            real p = std::floor(q);
            if (std::fmod(p, 2.0L) == 0) sgngam = -1;
            real z = q - p;
            if (z > 0.5L) {
                p = p + 1;
                z = q - p;
            }
            z = q * dsin(kPi * z);
            z = std::fabs(z);
            z = kPi / (z * gammastirf(q));
            return sgngam * z;
        }
        return gammastirf(x);
    }
    real z = 1;
    while (x >= 3) {
        x = x - 1;
        z = z * x;
    }
    while (x < 0) {
        if (x > -0.000000001L) return gammasmall(z, x);
        z = z / x;
        x = x + 1;
    }
    while (x < 2) {
        if (x < 0.000000001L) return gammasmall(z, x);
        z = z / x;
        x = x + 1;
    }
    if (x == 2) return z;
    x = x - 2;
    real pp = 1.60119522476751861407E-4;
    pp = 1.19135147006586384913E-3 + x * pp;
    pp = 1.04213797561761569935E-2 + x * pp;
    pp = 4.76367800457137231464E-2 + x * pp;
    pp = 2.07448227648435975150E-1 + x * pp;
    pp = 4.94214826801497100753E-1 + x * pp;
    pp = 9.99999999999999996796E-1 + x * pp;
    real qq = -2.31581873324120129819E-5;
    qq = 5.39605580493303397842E-4 + x * qq;
    qq = -4.45641913851797240494E-3 + x * qq;
    qq = 1.18139785222060435552E-2 + x * qq;
    qq = 3.58236398605498653373E-2 + x * qq;
    qq = -2.34591795718243348568E-1 + x * qq;
    qq = 7.14304917030273074085E-2 + x * qq;
    qq = 1.00000000000000000320E0 + x * qq;
    return z * pp / qq;
}

real incompletegamma(real a, real x)
{
    if (std::isnan(a) || std::isnan(x)) return kNaN;
    if (x <= 0 || a <= 0) return 0;
    if (a == kInf) return x == kInf ? kNaN : 0;
    if (x == kInf) return 1;
    if (x > 1 && x > a) return 1 - incompletegammac(a, x);
    real sign;
    real ax = a * dlog(x) - x - lngamma(a, sign);
    if (ax < -kMaxLog) return 0;
    ax = dexp(ax);
    // Power series.
    real r = a;
    real c = 1;
    real s = 1;
    long n = 0;
    do {
        if (++n > kMaxClenov) return kNaN;
        r = r + 1;
        c = c * x / r;
        s = s + c;
    } while (c / s > kEps);
    return s * ax / a;
}

real incompletegammac(real a, real x)
{
    if (std::isnan(a) || std::isnan(x)) return kNaN;
    if (x <= 0 || a <= 0) return 1;
    if (a == kInf) return x == kInf ? kNaN : 1;
    if (x == kInf) return 0;
    if (x < 1 || x < a) return 1 - incompletegamma(a, x);
    real sign;
    real ax = a * dlog(x) - x - lngamma(a, sign);
    if (ax < -kMaxLog) return 0;
    ax = dexp(ax);
    // Continued fraction.
    real y = 1 - a;
    real z = x + y + 1;
    real c = 0;
    real pkm2 = 1;
    real qkm2 = x;
    real pkm1 = x + 1;
    real qkm1 = z * x;
    real ans = pkm1 / qkm1;
    real t;
    long n = 0;
    do {
        if (++n > kMaxClenov) return kNaN;
        c = c + 1;
        y = y + 1;
        z = z + 2;
        const real yc = y * c;
        const real pk = pkm1 * z - pkm2 * yc;
        const real qk = qkm1 * z - qkm2 * yc;
        if (qk != 0) {
            const real r = pk / qk;
            t = std::fabs((ans - r) / r);
            ans = r;
        } else {
            t = 1;
        }
        pkm2 = pkm1;
        pkm1 = pk;
        qkm2 = qkm1;
        qkm1 = qk;
        if (std::fabs(pk) > kBig) {
            pkm2 = pkm2 * kBigInv;
            pkm1 = pkm1 * kBigInv;
            qkm2 = qkm2 * kBigInv;
            qkm1 = qkm1 * kBigInv;
        }
    } while (t > kEps);
    return ans * ax;
}

real invincompletegammac(real a, real y0)
{
    if (!(a > 0 && a < kInf && y0 >= 0 && y0 <= 1))
        funkcijeError(NapakaFunkcije("invincompletegammac", Besedilo::FunArgumentiAY),
                      "funkcije/gamma", __LINE__);
    // The ends: Q(a, x) reaches 0 only at infinity (1e300 stands for it, as
    // in the normal quantile) and is 1 at x = 0.  The search below cannot
    // bracket either of them.
    if (y0 == 0) return 1e300;
    if (y0 == 1) return 0;

    const real dithresh = 5 * kEps;
    real x0 = kBig;  // kBig: no upper bracket yet
    real yl = 0;
    real x1 = 0;
    real yh = 1;

    // Starting value from the Wilson-Hilferty approximation.
    real d = 1 / (9 * a);
    real y = 1 - d - NormPorInvF(y0) * dsqrt(d);
    real x = a * y * y * y;
    real sign;
    real lgm = lngamma(a, sign);

    // Newton steps while they stay inside the bracket.
    for (int i = 0; i < 10; ++i) {
        if (x > x0 || x < x1) break;
        y = incompletegammac(a, x);
        if (std::isnan(y)) return kNaN;
        if (y < yl || y > yh) break;
        if (y < y0) {
            x0 = x;
            yl = y;
        } else {
            x1 = x;
            yh = y;
        }
        d = (a - 1) * dlog(x) - x - lgm;
        if (d < -kMaxLog) break;
        d = -dexp(d);
        d = (y - y0) / d;
        if (std::fabs(d / x) < kEps) return x;
        x = x - d;
    }

    // No upper bracket yet: grow x until Q(a, x) falls below y0.
    d = 0.0625;
    if (x0 == kBig) {
        if (x <= 0) x = 1;
        while (x0 == kBig) {
            x = (1 + d) * x;
            y = incompletegammac(a, x);
            if (y < y0) {
                x0 = x;
                yl = y;
                break;
            }
            // Beyond double range Q cannot be evaluated any more.
            if (!(x < std::numeric_limits<double>::max()) || std::isnan(y)) return kNaN;
            d = d + d;
        }
    }

    // Interval halving, with interpolation while the steps alternate.
    d = 0.5;
    int dir = 0;
    for (int i = 0; i < 400; ++i) {
        x = x1 + d * (x0 - x1);
        y = incompletegammac(a, x);
        if (std::isnan(y)) return kNaN;
        lgm = (x0 - x1) / (x1 + x0);
        if (std::fabs(lgm) < dithresh) break;
        lgm = (y - y0) / y0;
        if (std::fabs(lgm) < dithresh) break;
        if (x <= 0) break;
        if (y >= y0) {
            x1 = x;
            yh = y;
            if (dir < 0) {
                dir = 0;
                d = 0.5;
            } else if (dir > 1) {
                d = 0.5 * d + 0.5;
            } else {
                d = (y0 - yl) / (yh - yl);
            }
            dir = dir + 1;
        } else {
            x0 = x;
            yl = y;
            if (dir > 0) {
                dir = 0;
                d = 0.5;
            } else if (dir < -1) {
                d = 0.5 * d;
            } else {
                d = (y0 - yl) / (yh - yl);
            }
            dir = dir - 1;
        }
    }
    return x;
}
