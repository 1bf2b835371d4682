#include "matrika/minmaxm.h"

template long double min(const matrika<long double>&);
template long min(const matrika<long>&);
