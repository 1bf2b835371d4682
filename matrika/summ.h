// sum: the sum of all elements of a (flag or count) matrix.
#ifndef NIVEX_MATRIKA_SUMM_H
#define NIVEX_MATRIKA_SUMM_H
#include "matrika/matrika.h"

template <typename T>
T sum(const matrika<T>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("sum()", Besedilo::MatNiDefinirana), "matrika/summ", __LINE__);
    T s = 0;
    for (unsigned long k = 0; k < A.size(); ++k) s += A(k);
    return s;
}
#endif
