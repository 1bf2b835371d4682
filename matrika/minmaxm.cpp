#include "matrika/minmaxm.h"

template real min(const matrika<real>&);
template long min(const matrika<long>&);
