#include "matrika/matrika.h"

#include <iomanip>
#include <sstream>

namespace matrika_detail {
[[noreturn]] void IndexError(Besedilo message, long line, long index, long limit)
{
    matrikaError(NapakaOperatorja("()", message), "matrika/matrika", line, index, limit);
}

[[noreturn]] void MemoryError(unsigned long rows, unsigned long cols, std::size_t bytes)
{
    const real mb = static_cast<real>(rows) * cols * bytes / (1024.0L * 1024.0L);
    std::ostringstream s;
    s << BesediloF(Besedilo::OkvirMatrika, rows, cols, static_cast<long double>(mb)) << "\n"
      << B(Besedilo::MatPomnilnik);
    // The frame of matrikaError, thrown as a lack of memory.
    throw NivexNapakaPomnilnik(NapakaOkvir("\n" + s.str() + "\n\n", "matrika/matrika", __LINE__));
}
}

// Only the floating type is instantiated here: clang 14 would instantiate
// the arithmetic members of the others despite their constraints.  The rest
// is all in the header.
template class matrika<real>;

matrika<real> operator-(const matrika<real>& A, const matrika<real>& B)
{
    if (A.nrow() != B.nrow() || A.ncol() != B.ncol())
        matrikaError(NapakaOperatorja("-", Besedilo::MatDimenzijiNapacni), "matrika/matrika", __LINE__,
                     (long)A.nrow(), (long)A.ncol(), (long)B.nrow(), (long)B.ncol());
    if (A.nrow() == 0 || A.ncol() == 0)
        matrikaError(NapakaOperatorja("-", Besedilo::MatANiDefinirana), "matrika/matrika", __LINE__);
    if (B.nrow() == 0 || B.ncol() == 0)
        matrikaError(NapakaOperatorja("-", Besedilo::MatBNiDefinirana), "matrika/matrika", __LINE__);
    matrika<real> C(A);
    C -= B;
    return C;
}

matrika<real> operator*(const matrika<real>& A, const matrika<real>& B)
{
    if (A.ncol() != B.nrow())
        matrikaError(NapakaOperatorja("*", Besedilo::MatDimenzijiNapacni), "matrika/matrika", __LINE__,
                     (long)A.nrow(), (long)A.ncol(), (long)B.nrow(), (long)B.ncol());
    if (A.nrow() == 0 || A.ncol() == 0)
        matrikaError(NapakaOperatorja("*", Besedilo::MatANiDefinirana), "matrika/matrika", __LINE__);
    if (B.nrow() == 0 || B.ncol() == 0)
        matrikaError(NapakaOperatorja("*", Besedilo::MatBNiDefinirana), "matrika/matrika", __LINE__);
    const unsigned long n = A.nrow(), m = A.ncol(), p = B.ncol();
    matrika<real> C(n, p, 0.0L);
    const real* a = A.data();
    const real* b = B.data();
    real* c = C.data();
    // i-k-j order walks B and C row by row; every element still sums its
    // products for k = 0, 1, ... in order, starting from 0.
    for (unsigned long i = 0; i < n; ++i)
        for (unsigned long k = 0; k < m; ++k) {
            const real aik = a[i * m + k];
            const real* brow = b + k * p;
            real* crow = c + i * p;
            for (unsigned long j = 0; j < p; ++j) crow[j] += aik * brow[j];
        }
    return C;
}

matrika<real> I(unsigned long n, real value)
{
    matrika<real> A(n, n, 0.0L);
    for (unsigned long i = 0; i < n; ++i) A(i, i) = value;
    return A;
}
