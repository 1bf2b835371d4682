#include "matrika/avgm.h"

real avgS(const matrika<real>& A, long j)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("avgS()", Besedilo::MatNiDefinirana), "matrika/avgm", __LINE__);
    real s = 0.0L;
    for (unsigned long i = 0; i < A.nrow(); ++i) s += A(i, j);
    return s / static_cast<real>(A.nrow());
}
