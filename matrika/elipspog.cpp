#include "matrika/elipspog.h"

#include "funkcije/SmerniKot.h"
#include "funkcije/funkcijeAux.h"

namespace {
const double TOL = numerika::kNicla;

template <typename T>
void Elipsa(T& qxx, T& qyy, T& qxy, T& a, T& b, T& theta)
{
    if (dabs(qxx) < TOL) qxx = 0;
    if (dabs(qyy) < TOL) qyy = 0;
    if (dabs(qxy) < TOL) qxy = 0;
    // A variance on the border itself would fall in none of the cases below.
    if (static_cast<double>(qxx) == TOL) qxx = 0;
    if (static_cast<double>(qyy) == TOL) qyy = 0;
    const bool xPoz = static_cast<double>(qxx) > TOL;
    const bool yPoz = static_cast<double>(qyy) > TOL;

    if (!xPoz && !yPoz) {
        a = b = theta = 0;
    } else if (xPoz && !yPoz) {
        a = static_cast<T>(dsqrt(qxx));
        b = 0;
        theta = 0;
    } else if (!xPoz && yPoz) {
        // The major axis lies along the second axis, so it is a that gets the
        // root (as the general case gives when qxx tends to 0).
        a = static_cast<T>(dsqrt(qyy));
        b = 0;
        theta = 90;
    } else {
        const T m = (qxx + qyy) / T(2);
        const T w = static_cast<T>(dsqrt(qxy * qxy + (qxx - qyy) * (qxx - qyy) / T(4)));
        T l1 = m + w, l2 = m - w;
        if (dabs(l1) < TOL || l1 < 0) l1 = 0;
        if (dabs(l2) < TOL || l2 < 0) l2 = 0;
        a = static_cast<T>(dsqrt(l1));
        b = static_cast<T>(dsqrt(l2));
        // tan 2 theta = 2 qxy / (qxx - qyy), measured from the first axis.
        theta = SmerniKot<T>(0, 0, T(2) * qxy, qxx - qyy, "deg") / T(2);
        if (theta < 0) theta += 180;
    }
}
}  // namespace

void elipspog(double& qxx, double& qyy, double& qxy, double& a, double& b, double& theta)
{
    Elipsa(qxx, qyy, qxy, a, b, theta);
}

void elipspog(real& qxx, real& qyy, real& qxy, real& a, real& b,
              real& theta)
{
    Elipsa(qxx, qyy, qxy, a, b, theta);
}
