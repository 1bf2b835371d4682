#include "funkcije/Hi2Por.h"

#include <cmath>

#include "funkcije/funkcijeAux.h"
#include "funkcije/gamma.h"

namespace {
inline real dlog(real x) { return std::log(static_cast<double>(x)); }
inline real dexp(real x) { return std::exp(static_cast<double>(x)); }
inline real dpow(real x, real y)
{
    return std::pow(static_cast<double>(x), static_cast<double>(y));
}

// Degrees of freedom: at least one and finite.  The incomplete gamma sums
// take time growing like sqrt(k), so the functions built on them also refuse
// more than 1e10 degrees of freedom, far beyond any network's redundancy,
// instead of running for hours (or for ever at k = inf).
bool DobraK(real k) { return k >= 1 && std::isfinite(k); }
constexpr real kMaxK = 1e10;
bool DobraKIter(real k) { return k >= 1 && k <= kMaxK; }
}  // namespace

real Hi2PorInvF(real p, real k)
{
    if (!(p >= 0 && p <= 1 && DobraKIter(k)))
        funkcijeError(NapakaFunkcije("Hi2PorInvF", Besedilo::FunArgumentiKX), "funkcije/Hi2Por", 35);
    if (p == 1) return 1e300;
    return 2 * invincompletegammac(k / 2, 1 - p);
}

real Hi2Porf(real x, real k)
{
    if (!(x >= 0 && DobraK(k)))
        funkcijeError(NapakaFunkcije("Hi2Porf", Besedilo::FunArgumentiKX), "funkcije/Hi2Por", 11);
    if (std::isinf(x)) return 0;
    const real h = k / 2;
    const real c1 = dpow(0.5, h);
    const real c2 = dpow(x, h - 1);
    const real c3 = dexp(x / -2);
    const real g = gamma(h);
    const real f = c1 * c2 * c3 / g;
    if (x == 0 || (std::isfinite(f) && c1 > 0 && c2 > 0 && std::isfinite(c2) && c3 > 0 && std::isfinite(g)))
        return f;
    // A factor left double range (large k or x): the product would be 0, inf
    // or inf/inf, so take the same density through logarithms.
    real sign;
    return dexp(h * dlog(0.5) + (h - 1) * dlog(x) - x / 2 - lngamma(h, sign));
}

real Hi2PorF(real x, real k)
{
    if (!(x >= 0 && DobraKIter(k)))
        funkcijeError(NapakaFunkcije("Hi2PorF", Besedilo::FunArgumentiKX), "funkcije/Hi2Por", 19);
    return incompletegamma(k / 2, x / 2);
}

real Hi2PorFC(real x, real k)
{
    if (!(x >= 0 && DobraKIter(k)))
        funkcijeError(NapakaFunkcije("Hi2PorFC", Besedilo::FunArgumentiKX), "funkcije/Hi2Por", 27);
    return incompletegammac(k / 2, x / 2);
}
