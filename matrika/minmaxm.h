// min of a matrix, and the small scalar helpers MAX, MIN, SQR, SIGN, SWAP.
#ifndef NIVEX_MATRIKA_MINMAXM_H
#define NIVEX_MATRIKA_MINMAXM_H
#include <cmath>
#include "matrika/matrika.h"

// The smallest element; among equal smallest values the first in storage order.
template <typename T>
T min(const matrika<T>& A)
{
    if (A.nrow() == 0 && A.ncol() == 0)
        matrikaError(NapakaFunkcije("min()", Besedilo::MatNiDefinirana), "matrika/minmaxm", __LINE__);
    T m = A(0);
    for (unsigned long k = 1; k < A.size(); ++k)
        if (A(k) < m) m = A(k);
    return m;
}

template <typename T> T MAX(const T& a, const T& b) { return a < b ? b : a; }
template <typename T> T MIN(const T& a, const T& b) { return a > b ? b : a; }
template <typename T> T SQR(const T& x) { return x * x; }
// |a| when b >= 0, else -|a|.
template <typename T> T SIGN(const T& a, const T& b) { return b >= 0 ? (a >= 0 ? a : -a) : (a >= 0 ? -a : a); }
template <typename T> void SWAP(T& a, T& b) { T t = a; a = b; b = t; }
#endif
