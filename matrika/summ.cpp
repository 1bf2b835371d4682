#include "matrika/summ.h"

template int sum(const matrika<int>&);
template long sum(const matrika<long>&);
template real sum(const matrika<real>&);
