// String helpers, the clock and the library error frames.
#include <gtest/gtest.h>

#include <string>

#include "TestUtil.h"
#include "funkcije/CharFunkcije.h"
#include "funkcije/CppCas.h"
#include "funkcije/funkcijeAux.h"
#include "matrika/matrikaAux.h"

TEST(CharFunkcije, SubstrCopiesWithinTheText)
{
    char out[32];
    substr("mreza.dat", 6, 3, out);
    EXPECT_STREQ(out, "dat");
    substr("mreza.dat", 6, 10, out);  // stops at the end of the text
    EXPECT_STREQ(out, "dat");
    substr("mreza.dat", 9, 2, out);  // pos equal to the length: empty
    EXPECT_STREQ(out, "");
    substr("mreza.dat", 2, out);
    EXPECT_STREQ(out, "eza.dat");
    char s[] = "abcdef";
    substr(s, 2, s);  // in place, overlapping
    EXPECT_STREQ(s, "cdef");
}

TEST(CharFunkcije, SubstrRefusesBadArguments)
{
    Izid r = RunChild([] { char o[8]; substr("abc", 4, 1, o); });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("NAPAKA:\n\n **** Parameter pos je prevelik (>dolzina niza)!!     *** \n\n"
                         "funkcije/CharFunkcije -> "),
              std::string::npos)
        << r.out;
    r = RunChild([] { char o[8]; substr("abc", -1, 1, o); });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" **** Parameter pos mora biti nenegativen!!     *** "), std::string::npos);
    r = RunChild([] { char o[8]; substr("abc", 1, -1, o); });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" **** Parameter dol mora  biti nenegativen!!     *** "), std::string::npos);
    EXPECT_NE(r.out.find("Pritisni ENTER ... "), std::string::npos);
}

TEST(CharFunkcije, SearchingAndTrimming)
{
    EXPECT_EQ(strfind("dir.old/mreza", "old"), 1);
    EXPECT_EQ(strfind("ab", "abc"), 0);
    EXPECT_EQ(strfind("ab", ""), 1);
    EXPECT_EQ(index("a.b.c", '.'), 1);
    EXPECT_EQ(indexLast("a.b.c", '.'), 3);
    EXPECT_EQ(indexLast("abc", '.'), -1);
    EXPECT_EQ(index("abc", 'x'), -1);
    EXPECT_EQ(index("abcabc", "ca"), 2);
    EXPECT_EQ(index("ab", "abc"), -1);
    EXPECT_EQ(index("ab", ""), 0);

    char f[8];
    strcpy(f, '=', 5);
    EXPECT_STREQ(f, "=====");
    strng(f, '-', 0);
    EXPECT_STREQ(f, "");

    char a[] = "  ab  ";
    trim(a);
    EXPECT_STREQ(a, "ab");
    char b[] = "ab\t  ";
    trimr(b);
    EXPECT_STREQ(b, "ab\t");  // tabs stay
    char c[] = "   ";
    trimr(c);
    EXPECT_STREQ(c, "");
    char d[] = "  x y";
    triml(d);
    EXPECT_STREQ(d, "x y");
}

TEST(CppCas, ClockAndDate)
{
    CppCas cas;
    EXPECT_EQ(cas.Stop(), 0.0);  // no measurement runs
    cas.Start();
    cas.Pocakaj(0);
    const double t = cas.Stop();
    EXPECT_GE(t, 0.0);
    EXPECT_LT(t, 5.0);
    EXPECT_EQ(cas.Stop(), 0.0);  // a second Stop
    const std::string a = cas.Ascii();
    ASSERT_EQ(a.size(), 20u);  // "YYYY-MM-DD  hh:mm:ss"
    EXPECT_EQ(a[4], '-');
    EXPECT_EQ(a.substr(10, 2), "  ");
    EXPECT_EQ(a[14], ':');
    const int leto = cas.LetoDt();
    EXPECT_EQ(std::stoi(a.substr(0, 4)), leto);
    EXPECT_GE(cas.MesecDt(), 0);
    EXPECT_LE(cas.MesecDt(), 11);
    EXPECT_EQ(std::stoi(a.substr(5, 2)) - 1 == cas.MesecDt() || cas.DanDt() == 1, true);
}

TEST(LibraryErrors, FramesOfEveryForm)
{
    Izid r = RunChild([] { funkcijeError("Sporocilo", "funkcije/x", 12); });
    EXPECT_EQ(r.status, 1);
    const std::string z(60, '*');
    EXPECT_EQ(r.out, "\n\n\n" + z + "\nNAPAKA:\n\nSporocilo\n\nfunkcije/x -> 12\n" + z + "\n\nPritisni ENTER ... ");

    r = RunChild([] {
        std::cout.setf(std::ios::fixed, std::ios::floatfield);
        std::cout.precision(3);
        matrikaError("Pivot: ", "matrika/y", 7, 0.5L, 4L);
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("NAPAKA:\n\nPivot: 0.500 * 10^-15 (3) [  4]\n\nmatrika/y -> 7\n"), std::string::npos)
        << r.out;
}

TEST(LibraryErrors, DoubleRoundingHelpers)
{
    // 1 + 2^-60 is exact in long double and rounds to 1 in double.
    const long double x = 1.0L + 0x1p-60L;
    EXPECT_NE(x, 1.0L);
    EXPECT_EQ(dround(x), 1.0L);
    EXPECT_EQ(dsqrt(4.0L), 2.0L);
    EXPECT_EQ(dsqrt(x), 1.0L);
    EXPECT_EQ(dabs(-x), 1.0);
}
