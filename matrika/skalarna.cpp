#include "matrika/skalarna.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && __LDBL_MANT_DIG__ == 64

#include <cstddef>

// Each operand is loaded as "fldl m; faddl v" (m + v, exact).  The sums
// start from +0 and take their products in the order of i, as the
// templates do.  The kernels on rows and on gathered rows differ only in
// where y0 and y1 are loaded from: (a + i) and (b + i), or y = z + 16 o[i]
// and 16 bytes on.

// The pair at displacement d of address a.
#define NIVEX_PAR(d, a) "fldl " #d "+8" a "\n\t" "faddl " #d a "\n\t"
// Before the loads of an iteration, the address of the gathered pair.
#define NIVEX_ZBERI "mov (%[o]), %[y]\n\t" "shl $4, %[y]\n\t" "add %[z], %[y]\n\t"
#define NIVEX_NAPREJ_Z "add $8, %[o]\n\t"

// x.y0 and x.y1.  Stack: s1 s0, then x on top of them.
#define NIVEX_SKALARNA2(ZBERI, Y0, Y1, NAPREJ) \
    "fldz\n\t"                                \
    "fldz\n\t"                                \
    "1:\n\t" ZBERI NIVEX_PAR(0, "(%[x],%[i])") /* x s1 s0 */ \
    Y0                                         /* y0 x s1 s0 */ \
    "fmul %%st(1), %%st\n\t"                   /* x*y0 x s1 s0 */ \
    "faddp %%st, %%st(3)\n\t"                  /* x s1 s0' */ \
    Y1                                         /* y1 x s1 s0 */ \
    "fmulp %%st, %%st(1)\n\t"                  /* x*y1 s1 s0 */ \
    "faddp %%st, %%st(1)\n\t"                  /* s1' s0 */ \
    NAPREJ "add $16, %[i]\n\t"                \
    "cmp %[k], %[i]\n\t"                       \
    "jne 1b\n\t"                               \
    "fstpt 16(%[s])\n\t"                       \
    "fstpt (%[s])\n\t"

// The four products of x0 = a, x1 = b with y0 = c, y1 = d.  Stack: s11 s10
// s01 s00, then a, b, c and d on top of them in turn; at most eight
// registers at once.
#define NIVEX_SKALARNA22(ZBERI, C, D, NAPREJ) \
    "fldz\n\t"                                \
    "fldz\n\t"                                \
    "fldz\n\t"                                \
    "fldz\n\t"                                \
    "1:\n\t" ZBERI NIVEX_PAR(0, "(%[a],%[i])") /* a */ \
    NIVEX_PAR(0, "(%[b],%[i])")                /* b a */ \
    C                                          /* c b a s11 s10 s01 s00 */ \
    "fld %%st(2)\n\t"                          /* a c b a s11 s10 s01 s00 */ \
    "fmul %%st(1), %%st\n\t"                   /* a*c */ \
    "faddp %%st, %%st(7)\n\t"                  /* c b a s11 s10 s01 s00' */ \
    "fmul %%st(1), %%st\n\t"                   /* b*c b a s11 s10 s01 s00 */ \
    "faddp %%st, %%st(4)\n\t"                  /* b a s11 s10' s01 s00 */ \
    D                                          /* d b a s11 s10 s01 s00 */ \
    "fmul %%st, %%st(1)\n\t"                   /* d b*d a ... */ \
    "fmulp %%st, %%st(2)\n\t"                  /* b*d a*d s11 s10 s01 s00 */ \
    "faddp %%st, %%st(2)\n\t"                  /* a*d s11' s10 s01 s00 */ \
    "faddp %%st, %%st(3)\n\t"                  /* s11 s10 s01' s00 */ \
    NAPREJ "add $16, %[i]\n\t"                \
    "cmp %[k], %[i]\n\t"                       \
    "jne 1b\n\t"                               \
    "fstpt 48(%[s])\n\t"                       \
    "fstpt 32(%[s])\n\t"                       \
    "fstpt 16(%[s])\n\t"                       \
    "fstpt (%[s])\n\t"

#define NIVEX_X87 "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"

namespace skalarna {

template <>
void Skalarna2<dvojna>(const dvojna* x, const dvojna* y0, const dvojna* y1, long n, real& v0, real& v1)
{
    if (n <= 0) {
        v0 = v1 = 0;
        return;
    }
    real s[2];
    long i = 0;
    asm volatile(NIVEX_SKALARNA2("", NIVEX_PAR(0, "(%[c],%[i])"), NIVEX_PAR(0, "(%[d],%[i])"), "")
                 : [i] "+r"(i)
                 : [x] "r"(x), [c] "r"(y0), [d] "r"(y1), [k] "r"(n * static_cast<long>(sizeof(dvojna))), [s] "r"(s)
                 : NIVEX_X87);
    v0 = s[0];
    v1 = s[1];
}

template <>
void Skalarna22<dvojna>(const dvojna* x0, const dvojna* x1, const dvojna* y0, const dvojna* y1, long n,
                        real& v00, real& v01, real& v10, real& v11)
{
    if (n <= 0) {
        v00 = v01 = v10 = v11 = 0;
        return;
    }
    real s[4];
    long i = 0;
    asm volatile(NIVEX_SKALARNA22("", NIVEX_PAR(0, "(%[c],%[i])"), NIVEX_PAR(0, "(%[d],%[i])"), "")
                 : [i] "+r"(i)
                 : [a] "r"(x0), [b] "r"(x1), [c] "r"(y0), [d] "r"(y1), [k] "r"(n * static_cast<long>(sizeof(dvojna))),
                   [s] "r"(s)
                 : NIVEX_X87);
    v00 = s[0];
    v01 = s[1];
    v10 = s[2];
    v11 = s[3];
}

template <>
void Skalarna2Z<dvojna>(const dvojna* x, const dvojna* z, const std::size_t* o, long n, real& v0, real& v1)
{
    if (n <= 0) {
        v0 = v1 = 0;
        return;
    }
    real s[2];
    long i = 0, y = 0;
    asm volatile(NIVEX_SKALARNA2(NIVEX_ZBERI, NIVEX_PAR(0, "(%[y])"), NIVEX_PAR(16, "(%[y])"), NIVEX_NAPREJ_Z)
                 : [i] "+r"(i), [o] "+r"(o), [y] "+r"(y)
                 : [x] "r"(x), [z] "r"(z), [k] "r"(n * static_cast<long>(sizeof(dvojna))), [s] "r"(s)
                 : NIVEX_X87);
    v0 = s[0];
    v1 = s[1];
}

template <>
void Skalarna22Z<dvojna>(const dvojna* x0, const dvojna* x1, const dvojna* z, const std::size_t* o, long n,
                         real& v00, real& v01, real& v10, real& v11)
{
    if (n <= 0) {
        v00 = v01 = v10 = v11 = 0;
        return;
    }
    real s[4];
    long i = 0, y = 0;
    asm volatile(NIVEX_SKALARNA22(NIVEX_ZBERI, NIVEX_PAR(0, "(%[y])"), NIVEX_PAR(16, "(%[y])"), NIVEX_NAPREJ_Z)
                 : [i] "+r"(i), [o] "+r"(o), [y] "+r"(y)
                 : [a] "r"(x0), [b] "r"(x1), [z] "r"(z), [k] "r"(n * static_cast<long>(sizeof(dvojna))), [s] "r"(s)
                 : NIVEX_X87);
    v00 = s[0];
    v01 = s[1];
    v10 = s[2];
    v11 = s[3];
}

}  // namespace skalarna

#endif
