#include "matrika/normm.h"

real norm(const matrika<real>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije(BesediloF(Besedilo::PostopekNorma2, "norm()"), Besedilo::MatNiDefinirana), "matrika/normm", __LINE__);
    if (A.nrow() > 1 && A.ncol() > 1) return 0.0L;
    real s = 0.0L;
    for (unsigned long k = 0; k < A.size(); ++k) s += A(k) * A(k);
    return dsqrt(s);
}
