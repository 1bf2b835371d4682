// avgS: the mean of one column.
#ifndef NIVEX_MATRIKA_AVGM_H
#define NIVEX_MATRIKA_AVGM_H
#include "matrika/matrika.h"

long double avgS(const matrika<long double>& A, long j);
#endif
