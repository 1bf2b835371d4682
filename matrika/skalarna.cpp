#include "matrika/skalarna.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && __LDBL_MANT_DIG__ == 64

#include <cstddef>

// Each operand is loaded as "fldl m; faddl v" (m + v, exact).  The sums
// start from +0 and take their products in the order of i, as the
// templates do.

namespace skalarna {

template <>
void Skalarna2<dvojna>(const dvojna* x, const dvojna* y0, const dvojna* y1, long n, real& v0, real& v1)
{
    if (n <= 0) {
        v0 = v1 = 0;
        return;
    }
    real s[2];
    const long konec = n * static_cast<long>(sizeof(dvojna));
    long i = 0;
    // Stack: s1 s0, then x on top of them.
    asm volatile(
        "fldz\n\t"
        "fldz\n\t"
        "1:\n\t"
        "fldl 8(%[x],%[i])\n\t"
        "faddl (%[x],%[i])\n\t"   // x s1 s0
        "fldl 8(%[a],%[i])\n\t"
        "faddl (%[a],%[i])\n\t"   // y0 x s1 s0
        "fmul %%st(1), %%st\n\t"  // x*y0 x s1 s0
        "faddp %%st, %%st(3)\n\t" // x s1 s0'
        "fldl 8(%[b],%[i])\n\t"
        "faddl (%[b],%[i])\n\t"   // y1 x s1 s0
        "fmulp %%st, %%st(1)\n\t" // x*y1 s1 s0
        "faddp %%st, %%st(1)\n\t" // s1' s0
        "add $16, %[i]\n\t"
        "cmp %[k], %[i]\n\t"
        "jne 1b\n\t"
        "fstpt 16(%[o])\n\t"
        "fstpt (%[o])\n\t"
        : [i] "+r"(i)
        : [x] "r"(x), [a] "r"(y0), [b] "r"(y1), [k] "r"(konec), [o] "r"(s)
        : "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
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
    const long konec = n * static_cast<long>(sizeof(dvojna));
    long i = 0;
    // Stack: s11 s10 s01 s00, then a = x0, b = x1, c = y0 and d = y1 on top
    // of them in turn; at most eight registers at once.
    asm volatile(
        "fldz\n\t"
        "fldz\n\t"
        "fldz\n\t"
        "fldz\n\t"
        "1:\n\t"
        "fldl 8(%[a],%[i])\n\t"
        "faddl (%[a],%[i])\n\t"   // a
        "fldl 8(%[b],%[i])\n\t"
        "faddl (%[b],%[i])\n\t"   // b a
        "fldl 8(%[c],%[i])\n\t"
        "faddl (%[c],%[i])\n\t"   // c b a s11 s10 s01 s00
        "fld %%st(2)\n\t"         // a c b a s11 s10 s01 s00
        "fmul %%st(1), %%st\n\t"  // a*c
        "faddp %%st, %%st(7)\n\t" // c b a s11 s10 s01 s00'
        "fmul %%st(1), %%st\n\t"  // b*c b a s11 s10 s01 s00
        "faddp %%st, %%st(4)\n\t" // b a s11 s10' s01 s00
        "fldl 8(%[d],%[i])\n\t"
        "faddl (%[d],%[i])\n\t"   // d b a s11 s10 s01 s00
        "fmul %%st, %%st(1)\n\t"  // d b*d a ...
        "fmulp %%st, %%st(2)\n\t" // b*d a*d s11 s10 s01 s00
        "faddp %%st, %%st(2)\n\t" // a*d s11' s10 s01 s00
        "faddp %%st, %%st(3)\n\t" // s11 s10 s01' s00
        "add $16, %[i]\n\t"
        "cmp %[k], %[i]\n\t"
        "jne 1b\n\t"
        "fstpt 48(%[o])\n\t"
        "fstpt 32(%[o])\n\t"
        "fstpt 16(%[o])\n\t"
        "fstpt (%[o])\n\t"
        : [i] "+r"(i)
        : [a] "r"(x0), [b] "r"(x1), [c] "r"(y0), [d] "r"(y1), [k] "r"(konec), [o] "r"(s)
        : "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
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
    const long konec = n * static_cast<long>(sizeof(dvojna));
    long i = 0;
    long y;
    // As Skalarna2, y0 and y1 at z + 16 o[i] and 16 bytes on.
    asm volatile(
        "fldz\n\t"
        "fldz\n\t"
        "1:\n\t"
        "mov (%[o]), %[y]\n\t"
        "shl $4, %[y]\n\t"
        "add %[z], %[y]\n\t"
        "fldl 8(%[x],%[i])\n\t"
        "faddl (%[x],%[i])\n\t"   // x s1 s0
        "fldl 8(%[y])\n\t"
        "faddl (%[y])\n\t"        // y0 x s1 s0
        "fmul %%st(1), %%st\n\t"  // x*y0 x s1 s0
        "faddp %%st, %%st(3)\n\t" // x s1 s0'
        "fldl 24(%[y])\n\t"
        "faddl 16(%[y])\n\t"      // y1 x s1 s0
        "fmulp %%st, %%st(1)\n\t" // x*y1 s1 s0
        "faddp %%st, %%st(1)\n\t" // s1' s0
        "add $8, %[o]\n\t"
        "add $16, %[i]\n\t"
        "cmp %[k], %[i]\n\t"
        "jne 1b\n\t"
        "fstpt 16(%[s])\n\t"
        "fstpt (%[s])\n\t"
        : [i] "+r"(i), [o] "+r"(o), [y] "=&r"(y)
        : [x] "r"(x), [z] "r"(z), [k] "r"(konec), [s] "r"(s)
        : "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
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
    const long konec = n * static_cast<long>(sizeof(dvojna));
    long i = 0;
    long y;
    // As Skalarna22, c = y0 and d = y1 at z + 16 o[i] and 16 bytes on.
    asm volatile(
        "fldz\n\t"
        "fldz\n\t"
        "fldz\n\t"
        "fldz\n\t"
        "1:\n\t"
        "mov (%[o]), %[y]\n\t"
        "shl $4, %[y]\n\t"
        "add %[z], %[y]\n\t"
        "fldl 8(%[a],%[i])\n\t"
        "faddl (%[a],%[i])\n\t"   // a
        "fldl 8(%[b],%[i])\n\t"
        "faddl (%[b],%[i])\n\t"   // b a
        "fldl 8(%[y])\n\t"
        "faddl (%[y])\n\t"        // c b a s11 s10 s01 s00
        "fld %%st(2)\n\t"         // a c b a s11 s10 s01 s00
        "fmul %%st(1), %%st\n\t"  // a*c
        "faddp %%st, %%st(7)\n\t" // c b a s11 s10 s01 s00'
        "fmul %%st(1), %%st\n\t"  // b*c b a s11 s10 s01 s00
        "faddp %%st, %%st(4)\n\t" // b a s11 s10' s01 s00
        "fldl 24(%[y])\n\t"
        "faddl 16(%[y])\n\t"      // d b a s11 s10 s01 s00
        "fmul %%st, %%st(1)\n\t"  // d b*d a ...
        "fmulp %%st, %%st(2)\n\t" // b*d a*d s11 s10 s01 s00
        "faddp %%st, %%st(2)\n\t" // a*d s11' s10 s01 s00
        "faddp %%st, %%st(3)\n\t" // s11 s10 s01' s00
        "add $8, %[o]\n\t"
        "add $16, %[i]\n\t"
        "cmp %[k], %[i]\n\t"
        "jne 1b\n\t"
        "fstpt 48(%[s])\n\t"
        "fstpt 32(%[s])\n\t"
        "fstpt 16(%[s])\n\t"
        "fstpt (%[s])\n\t"
        : [i] "+r"(i), [o] "+r"(o), [y] "=&r"(y)
        : [a] "r"(x0), [b] "r"(x1), [z] "r"(z), [k] "r"(konec), [s] "r"(s)
        : "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
    v00 = s[0];
    v01 = s[1];
    v10 = s[2];
    v11 = s[3];
}

}  // namespace skalarna

#endif
