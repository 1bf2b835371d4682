#include "funkcije/StudentPor.h"

#include <cmath>

#include "funkcije/funkcijeAux.h"

namespace {
constexpr real kEps = 1e-17L;
constexpr real kMalo = 1e-4000L;
constexpr long kNajvecClenov = 100000000L;

bool DobraF(real f) { return f >= 1 && std::isfinite(f); }

// The continued fraction of I_x(a, b) (modified Lentz), convergent fast for
// x < (a + 1) / (a + b + 2).
real VerizniUlomek(real a, real b, real x)
{
    const real qab = a + b, qap = a + 1, qam = a - 1;
    real c = 1, d = 1 - qab * x / qap;
    if (std::fabs(d) < kMalo) d = kMalo;
    d = 1 / d;
    real h = d;
    for (long m = 1; m < kNajvecClenov; ++m) {
        const real m2 = 2.0L * m;
        real aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < kMalo) d = kMalo;
        c = 1 + aa / c;
        if (std::fabs(c) < kMalo) c = kMalo;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        if (std::fabs(d) < kMalo) d = kMalo;
        c = 1 + aa / c;
        if (std::fabs(c) < kMalo) c = kMalo;
        d = 1 / d;
        const real del = d * c;
        h *= del;
        if (std::fabs(del - 1) < kEps) break;
    }
    return h;
}
}  // namespace

namespace {
// I_x(a, b) with xc = 1 - x given as exactly as the caller has it: the
// continued fraction where it converges fast, else 1 - I_xc(b, a).  The
// logarithm of the beta function in extended precision (lgamma of long
// double), so the front factor keeps its digits for large a and b.
real Beta(real a, real b, real x, real xc)
{
    if (x == 0 || xc == 0) return x == 0 ? 0 : 1;
    const real lnB = std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
    const real spredaj = std::exp(a * std::log(x) + b * std::log(xc) - lnB);
    if (x < (a + 1) / (a + b + 2)) return spredaj * VerizniUlomek(a, b, x) / a;
    return 1 - spredaj * VerizniUlomek(b, a, xc) / b;
}
}  // namespace

real incompletebeta(real a, real b, real x)
{
    if (!(a > 0 && b > 0 && std::isfinite(a) && std::isfinite(b) && x >= 0 && x <= 1))
        funkcijeError(NapakaFunkcije("incompletebeta", Besedilo::FunArgumentiKX), "funkcije/StudentPor", 1);
    return Beta(a, b, x, 1 - x);
}

real StudentPorFC2(real t, real f)
{
    if (!(DobraF(f) && !std::isnan(t)))
        funkcijeError(NapakaFunkcije("StudentPorFC2", Besedilo::FunArgumentiKX), "funkcije/StudentPor", 2);
    if (std::isinf(t)) return 0;
    // I_x(f/2, 1/2) with x = f / (f + t^2).
    const real t2 = t * t;
    return Beta(f / 2, 0.5L, f / (f + t2), t2 / (f + t2));
}

real StudentPorInvFC2(real p, real f)
{
    if (!(DobraF(f) && p >= 0 && p <= 1))
        funkcijeError(NapakaFunkcije("StudentPorInvFC2", Besedilo::FunArgumentiKX), "funkcije/StudentPor", 3);
    if (p == 0) return 1e300L;
    if (p == 1) return 0;
    // The tail falls with t: bracket, then halve the bracket.
    real lo = 0, hi = 1;
    while (StudentPorFC2(hi, f) > p) {
        lo = hi;
        hi *= 2;
        if (hi > 1e300L) return 1e300L;
    }
    for (int i = 0; i < 200 && hi - lo > 1e-18L * hi; ++i) {
        const real m = (lo + hi) / 2;
        (StudentPorFC2(m, f) > p ? lo : hi) = m;
    }
    return (lo + hi) / 2;
}

real FPorFC(real x, real d1, real d2)
{
    if (!(DobraF(d1) && DobraF(d2) && x >= 0))
        funkcijeError(NapakaFunkcije("FPorFC", Besedilo::FunArgumentiKX), "funkcije/StudentPor", 4);
    if (std::isinf(x)) return 0;
    // P(F > x) = I_y(d2/2, d1/2), y = d2 / (d2 + d1 x).
    return Beta(d2 / 2, d1 / 2, d2 / (d2 + d1 * x), d1 * x / (d2 + d1 * x));
}

real FPorInvFC(real p, real d1, real d2)
{
    if (!(p > 0 && p < 1))
        funkcijeError(NapakaFunkcije("FPorInvFC", Besedilo::FunArgumentiKX), "funkcije/StudentPor", 5);
    // The tail falls with x: widen the bracket until it holds p, then halve
    // it to the precision of the tail.
    real lo = 0, hi = 1;
    while (FPorFC(hi, d1, d2) > p && hi < 1e300L) hi *= 2;
    for (int k = 0; k < 200 && hi - lo > 1e-15L * hi; ++k) {
        const real m = (lo + hi) / 2;
        (FPorFC(m, d1, d2) > p ? lo : hi) = m;
    }
    return (lo + hi) / 2;
}
