#include "matrika/avgm.h"

long double avgS(const matrika<long double>& A, long j)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError("Funkcija:   avgS()\nDimenzija matrike ni definirana: ", "matrika/avgm", __LINE__);
    long double s = 0.0L;
    for (unsigned long i = 0; i < A.nrow(); ++i) s += A(i, j);
    return s / static_cast<long double>(A.nrow());
}
