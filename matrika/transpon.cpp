#include "matrika/transpon.h"

template matrika<real> transpon(const matrika<real>&);
template matrika<std::string> transpon(const matrika<std::string>&);
