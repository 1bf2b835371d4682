#include "matrika/razvrstim.h"

#include "matrika/minmaxm.h"

matrika<real> razvrstiZA(const matrika<real>& A, matrika<long>& index)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije(BesediloF(Besedilo::PostopekZIndeksom, "razvrstiZA()"), Besedilo::MatNiDefinirana),
                     "matrika/razvrstim", __LINE__);
    if (A.nrow() > 1 && A.ncol() > 1)
        matrikaError(NapakaFunkcije("razvrstiAZ()", Besedilo::MatArgumentNiVektor, Besedilo::OkvirFunkcijaGolo), "matrika/razvrstim", __LINE__);
    const unsigned long n = A.size();
    matrika<real> S(A.nrow(), A.ncol(), 0.0L);
    index.resize(A.nrow(), A.ncol(), -1);
    std::vector<char> vzet(n, 0);
    const real m = min(A) - 1;
    // Selection sort; "<=" places the later of equal values first.
    for (unsigned long p = 0; p < n; ++p) {
        real best = m;
        long q0 = -1;
        for (unsigned long q = 0; q < n; ++q)
            if (!vzet[q] && best <= A(q)) { best = A(q); q0 = static_cast<long>(q); }
        if (q0 < 0) break;  // only NaN left: nothing compares
        vzet[q0] = 1;
        S(p) = best;
        index(p) = q0;
    }
    return S;
}
