// razvrstiZA: a vector sorted from the largest to the smallest value, with the
// storage position in the input of every output value.
#ifndef NIVEX_MATRIKA_RAZVRSTIM_H
#define NIVEX_MATRIKA_RAZVRSTIM_H
#include "matrika/matrika.h"

// Among equal values the one with the higher storage position comes first.
// A is left unchanged; index gets A's shape.
matrika<real> razvrstiZA(const matrika<real>& A, matrika<long>& index);
#endif
