#include "matrika/elipsoidpog.h"

#include <cmath>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/SmerniKot.h"
#include "matrika/razvrstim.h"
#include "matrika/svdr.h"

void elipsoidpog(const matrika<real>& Qin, matrika<real>& S, matrika<real>& A)
{
    using T = real;
    if (Qin.nrow() != 3 || Qin.ncol() != 3)
        matrikaError(NapakaFunkcije("elipsoidpog", Besedilo::MatVelikost3x3), "matrika/elipsoidpog", __LINE__);
    if (S.size() < 3) S.resize(3, 1, T(0));
    if (A.size() < 3) A.resize(3, 1, T(0));
    S *= T(0);
    A *= T(0);

    matrika<T> Q(Qin);
    for (unsigned long k = 0; k < 9; ++k)
        if (dabs(Q(k)) < numerika::kNicla) Q(k) = 0;
    if (dabs(Q(0, 0) + Q(1, 1) + Q(2, 2)) < numerika::kNicla) return;

    svdr<T> svd;
    svd.razcep(Q);
    matrika<long> index;
    S = razvrstiZA(svd.S, index);
    const long k0 = index(0), k1 = index(1);
    const matrika<T>& U = svd.U;

    const T h0 = dsqrt(U(0, k0) * U(0, k0) + U(1, k0) * U(1, k0));
    A(0) = rad2deg(static_cast<T>(std::atan(static_cast<double>(h0 / U(2, k0)))));
    A(1) = SmerniKot<T>(0, 0, U(0, k0), U(1, k0), "deg");
    if (A(1) > 180) A(1) -= 180;
    const T h1 = dsqrt(U(0, k1) * U(0, k1) + U(1, k1) * U(1, k1));
    A(2) = rad2deg(static_cast<T>(std::atan(static_cast<double>(U(2, k1) / h1))));
}
