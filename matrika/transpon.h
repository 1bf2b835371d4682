// transpon: the transpose of a matrix of any element type.
#ifndef NIVEX_MATRIKA_TRANSPON_H
#define NIVEX_MATRIKA_TRANSPON_H
#include "matrika/matrika.h"

template <typename T>
matrika<T> transpon(const matrika<T>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("transpon()", Besedilo::MatNiDefinirana), "matrika/transpon", __LINE__);
    matrika<T> B(A.ncol(), A.nrow());
    const unsigned long r = A.nrow(), c = A.ncol();
    const T* a = A.data();
    T* b = B.data();
    for (unsigned long i = 0; i < r; ++i)
        for (unsigned long j = 0; j < c; ++j) b[j * r + i] = a[i * c + j];
    return B;
}
#endif
