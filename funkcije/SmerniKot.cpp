#include "funkcije/SmerniKot.h"

#include <cmath>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/funkcijeAux.h"

template <typename T>
T SmerniKot(T a1, T b1, T a2, T b2, const std::string& unit)
{
    const T pi = static_cast<T>(kotne::PI);
    T da = a2 - a1;
    T db = b2 - b1;
    if (dabs(da) < numerika::kNicla) da = 0;
    if (dabs(db) < numerika::kNicla) db = 0;

    // The arc tangent is taken in double precision and widened.
    auto atn = [&]() { return static_cast<T>(std::atan(static_cast<double>(da / db))); };
    T nu = 0;
    if (da > 0) {
        if (db > 0) nu = atn();
        else if (db == 0) nu = pi / T(2);
        else nu = atn() + pi;
    } else if (da == 0) {
        nu = db >= 0 ? T(0) : pi;
    } else if (da < 0) {
        if (db > 0) nu = atn() + T(2) * pi;
        else if (db == 0) nu = static_cast<T>(4.71238898038469);
        else nu = atn() + pi;
    }
    // A NaN difference falls through every test above and gives 0.

    if (unit == "deg") return nu * static_cast<T>(57.29577951308232);
    if (unit == "rad") return nu;
    if (unit == "dms") return rad2dms(nu);
    return nu;
}

template double SmerniKot<double>(double, double, double, double, const std::string&);
template real SmerniKot<real>(real, real, real, real,
                                            const std::string&);
