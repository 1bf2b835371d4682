#include "matrika/transpon.h"

template matrika<long double> transpon(const matrika<long double>&);
template matrika<std::string> transpon(const matrika<std::string>&);
