#include "matrika/najdim.h"

long najdiA(const matrika<std::string>& A, const std::string& s)
{
    const std::string* a = A.data();
    for (unsigned long k = 0; k < A.size(); ++k)
        if (a[k] == s) return static_cast<long>(k);
    return -1;
}
