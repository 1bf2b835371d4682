#include "funkcije/NormPor.h"

#include <cmath>

#include "funkcije/funkcijeAux.h"

namespace {
inline real dlog(real x) { return std::log(static_cast<double>(x)); }
inline real dexp(real x) { return std::exp(static_cast<double>(x)); }
}  // namespace

real NormPorInvF(real p)
{
    if (p <= 0) return -1e300;
    if (p >= 1) return 1e300;

    constexpr real expm2 = 0.1353352832366127;  // exp(-2)
    constexpr real s2pi = 2.5066282746310007;   // sqrt(2 pi)
    bool negativen = true;
    real y = p;
    if (y > 1 - expm2) {
        y = 1 - y;
        negativen = false;
    }
    if (y > expm2) {
        // Central part: a rational function of (p - 0.5)^2.
        y = y - 0.5;
        const real y2 = y * y;
        real p0 = -5.99633501014107895267E1;
        p0 = 9.80010754185999661536E1 + y2 * p0;
        p0 = -5.66762857469070293439E1 + y2 * p0;
        p0 = 1.39312609387279679503E1 + y2 * p0;
        p0 = -1.23916583867381258016E0 + y2 * p0;
        real q0 = 1;
        q0 = 1.95448858338141759834E0 + y2 * q0;
        q0 = 4.67627912898881538453E0 + y2 * q0;
        q0 = 8.63602421390890590575E1 + y2 * q0;
        q0 = -2.25462687854119370527E2 + y2 * q0;
        q0 = 2.00260212380060660359E2 + y2 * q0;
        q0 = -8.20372256168333339912E1 + y2 * q0;
        q0 = 1.59056225126211695515E1 + y2 * q0;
        q0 = -1.18331621121330003142E0 + y2 * q0;
        const real x = y + y * y2 * p0 / q0;
        return x * s2pi;
    }

    // Tails: an expansion in 1/sqrt(-2 ln p).
    real x = dsqrt(-2 * dlog(y));
    const real x0 = x - dlog(x) / x;
    const real z = 1 / x;
    real x1;
    if (x < 8) {
        real p1 = 4.05544892305962419923E0;
        p1 = 3.15251094599893866154E1 + z * p1;
        p1 = 5.71628192246421288162E1 + z * p1;
        p1 = 4.40805073893200834700E1 + z * p1;
        p1 = 1.46849561928858024014E1 + z * p1;
        p1 = 2.18663306850790267539E0 + z * p1;
        p1 = -1.40256079171354495875E-1 + z * p1;
        p1 = -3.50424626827848203418E-2 + z * p1;
        p1 = -8.57456785154685413611E-4 + z * p1;
        real q1 = 1;
        q1 = 1.57799883256466749731E1 + z * q1;
        q1 = 4.53907635128879210584E1 + z * q1;
        q1 = 4.13172038254672030440E1 + z * q1;
        q1 = 1.50425385692907503408E1 + z * q1;
        q1 = 2.50464946208309415979E0 + z * q1;
        q1 = -1.42182922854787788574E-1 + z * q1;
        q1 = -3.80806407691578277194E-2 + z * q1;
        q1 = -9.33259480895457427372E-4 + z * q1;
        x1 = z * p1 / q1;
    } else {
        real p2 = 3.23774891776946035970E0;
        p2 = 6.91522889068984211695E0 + z * p2;
        p2 = 3.93881025292474443415E0 + z * p2;
        p2 = 1.33303460815807542389E0 + z * p2;
        p2 = 2.01485389549179081538E-1 + z * p2;
        p2 = 1.23716634817820021358E-2 + z * p2;
        p2 = 3.01581553508235416007E-4 + z * p2;
        p2 = 2.65806974686737550832E-6 + z * p2;
        p2 = 6.23974539184983293730E-9 + z * p2;
        real q2 = 1;
        q2 = 6.02427039364742014255E0 + z * q2;
        q2 = 3.67983563856160859403E0 + z * q2;
        q2 = 1.37702099489081330271E0 + z * q2;
        q2 = 2.16236993594496635890E-1 + z * q2;
        q2 = 1.34204006088543189037E-2 + z * q2;
        q2 = 3.28014464682127739104E-4 + z * q2;
        q2 = 2.89247864745380683936E-6 + z * q2;
        q2 = 6.79019408009981274425E-9 + z * q2;
        x1 = z * p2 / q2;
    }
    x = x0 - x1;
    return negativen ? -x : x;
}

real NormPorf(real x)
{
    return 0.3989422804014327 * dexp(-0.5L * x * x);
}

real NormPorf(real x, real mu, real sigma)
{
    // A zero or negative spread has no density; better to stop than to
    // return inf or a negative value.
    if (!(sigma > 0))
        funkcijeError(NapakaFunkcije("NormPorf", Besedilo::FunArgumentSigma), "funkcije/NormPor",
                      __LINE__);
    const real u = x - mu;
    return dexp(-(u * u) / (2 * sigma * sigma)) / (2.50662827463100024161 * sigma);
}

real NormPorF(real x)
{
    return 0.5L * (1 + std::erf(static_cast<double>(x / 1.41421356237309514547)));
}
