// avgS: the mean of one column.
#ifndef NIVEX_MATRIKA_AVGM_H
#define NIVEX_MATRIKA_AVGM_H
#include "matrika/matrika.h"

real avgS(const matrika<real>& A, long j);
#endif
