// najdiA: storage position of the first element equal to a text, or -1.
#ifndef NIVEX_MATRIKA_NAJDIM_H
#define NIVEX_MATRIKA_NAJDIM_H
#include <string>
#include "matrika/matrika.h"

long najdiA(const matrika<std::string>& A, const std::string& s);
#endif
