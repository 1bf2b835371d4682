// The container's layout, checks and messages, and the small free functions.
#include <gtest/gtest.h>

#include "TestUtil.h"
#include "matrika/avgm.h"
#include "matrika/matrika.h"
#include "matrika/minmaxm.h"
#include "matrika/najdim.h"
#include "matrika/normm.h"
#include "matrika/razvrstim.h"
#include "matrika/seznamm.h"
#include "matrika/summ.h"
#include "matrika/transpon.h"

namespace {

using M = matrika<long double>;

M Zaporedje(unsigned long r, unsigned long c)
{
    M A(r, c);
    for (unsigned long k = 0; k < r * c; ++k) A(k) = static_cast<long double>(k);
    return A;
}

// The framed block of a library error: frame, message, source and line.
void PricakujNapako(const Izid& r, const std::string& sporocilo, const std::string& vir)
{
    EXPECT_EQ(r.status, 1);
    const std::string okvir = std::string(60, '*');
    EXPECT_NE(r.out.find("\n\n\n" + okvir + "\nNAPAKA:\n\n" + sporocilo), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(vir + " -> "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(okvir + "\n\nPritisni ENTER ... "), std::string::npos) << r.out;
}

}  // namespace

TEST(Matrika, RowMajorLayoutAndCopies)
{
    M A = Zaporedje(3, 4);
    EXPECT_EQ(A(1, 2), 6.0L);  // storage position 4*1 + 2
    EXPECT_EQ(A(11), 11.0L);
    M B(A);
    B(0, 0) = 99;
    EXPECT_EQ(A(0, 0), 0.0L);  // a copy owns its storage
    M& ref = A;
    A = ref;  // self-assignment leaves it unchanged
    EXPECT_EQ(A.nrow(), 3u);
    EXPECT_EQ(A(2, 3), 11.0L);
    M C;
    EXPECT_EQ(C.nrow(), 0u);
    EXPECT_EQ(C.ncol(), 0u);
    C.resize(5);
    EXPECT_EQ(C.nrow(), 5u);
    EXPECT_EQ(C.ncol(), 1u);
    C.resize(2, 2, 7.5L);
    EXPECT_EQ(C(1, 1), 7.5L);
    matrika<std::string> imena(2, 1);
    EXPECT_EQ(imena(1), "");
}

TEST(Matrika, IndexChecksEndTheRunWithTheRange)
{
    Izid r = RunChild([] { M A = Zaporedje(3, 4); A(3, 0) = 1; });
    PricakujNapako(r, "Operator:   ()\nNepravilen indeks vrstice:     3 -> ind = [ 0 , 2 ]", "matrika/matrika");
    r = RunChild([] { M A = Zaporedje(3, 4); A(0, 4) = 1; });
    PricakujNapako(r, "Operator:   ()\nNepravilen indeks stolpca:     4 -> ind = [ 0 , 3 ]", "matrika/matrika");
    r = RunChild([] { M A = Zaporedje(3, 4); A(12) = 1; });
    PricakujNapako(r, "Operator:   ()\nNepravilen indeks matrike:    12 -> ind = [ 0 , 11 ]", "matrika/matrika");
    r = RunChild([] { M A = Zaporedje(3, 4); A(-1) = 1; });
    PricakujNapako(r, "Operator:   ()\nNepravilen indeks matrike:    -1 -> ind = [ 0 , 11 ]", "matrika/matrika");
    r = RunChild([] { matrika<std::string> A; A(0) = "x"; });
    PricakujNapako(r, "Operator:   ()\nNepravilen indeks matrike:     0 -> ind = [ 0 , -1 ]", "matrika/matrika");
}

TEST(Matrika, SubmatrixPutAndGet)
{
    M A(3, 4, 0.0L);
    M B(2, 2);
    B(0, 0) = 1; B(0, 1) = 2; B(1, 0) = 3; B(1, 1) = 4;
    A(B, 1, 2);
    EXPECT_EQ(A(1, 2), 1.0L);
    EXPECT_EQ(A(1, 3), 2.0L);
    EXPECT_EQ(A(2, 2), 3.0L);
    EXPECT_EQ(A(2, 3), 4.0L);
    EXPECT_EQ(A(0, 2), 0.0L);

    M C = Zaporedje(3, 4);
    M vr = C(1, 1, 0, 3);
    ASSERT_EQ(vr.nrow(), 1u);
    ASSERT_EQ(vr.ncol(), 4u);
    EXPECT_EQ(vr(0, 0), 4.0L);
    EXPECT_EQ(vr(0, 3), 7.0L);

    const char* vpis = "Operator():\nNapacen zgornji indeks po vrsticah za vpis podmatrike: ";
    PricakujNapako(RunChild([] { M X(3, 4, 0.0L); M Y(2, 2, 1.0L); X(Y, 2, 3); }), vpis, "matrika/matrika");
    PricakujNapako(RunChild([] { M X(3, 4, 0.0L); M Y(2, 2, 1.0L); X(Y, 3, 0); }),
                   "Operator():\nNapacna vrednost indeksa vrstic za vpis podmatrike: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M X(3, 4, 0.0L); M Y(2, 2, 1.0L); X(Y, 0, 4); }),
                   "Operator():\nNapacni vrednosti indeksov za vpis podmatrike: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M X(3, 4, 0.0L); M Y(2, 2, 1.0L); X(Y, 0, 3); }),
                   "Operator():\nNapacen zgornji indeks po stolpcih za vpis podmatrike: ", "matrika/matrika");
    const char* izpis = "Operator():\nNapacni vrednosti indeksov za izpis podmatrike: ";
    PricakujNapako(RunChild([] { M X = Zaporedje(3, 4); (void)X(2, 1, 0, 0); }), izpis, "matrika/matrika");
    PricakujNapako(RunChild([] { M X = Zaporedje(3, 4); (void)X(0, 3, 0, 0); }), izpis, "matrika/matrika");
    PricakujNapako(RunChild([] { M X = Zaporedje(3, 4); (void)X(0, 0, 1, 4); }), izpis, "matrika/matrika");
}

TEST(Matrika, ArithmeticAgainstHandProducts)
{
    M A(2, 3), B(3, 2);
    // A = [1 2 3; 4 5 6], B = [7 8; 9 10; 11 12]  ->  A*B = [58 64; 139 154]
    for (int k = 0; k < 6; ++k) { A(k) = k + 1; B(k) = k + 7; }
    M C = A * B;
    ASSERT_EQ(C.nrow(), 2u);
    ASSERT_EQ(C.ncol(), 2u);
    EXPECT_EQ(C(0, 0), 58.0L);
    EXPECT_EQ(C(0, 1), 64.0L);
    EXPECT_EQ(C(1, 0), 139.0L);
    EXPECT_EQ(C(1, 1), 154.0L);
    M D(A);
    D *= B;
    EXPECT_EQ(D(1, 1), 154.0L);
    M E = A - A;
    for (int k = 0; k < 6; ++k) EXPECT_EQ(E(k), 0.0L);
    E += A;
    E *= 2.0L;
    EXPECT_EQ(E(1, 2), 12.0L);
    E -= A;
    EXPECT_EQ(E(1, 2), 6.0L);
    M T = transpon(A);
    EXPECT_EQ(T.nrow(), 3u);
    EXPECT_EQ(T(2, 1), 6.0L);
    M Id = I(3, 2.5L);
    EXPECT_EQ(Id(1, 1), 2.5L);
    EXPECT_EQ(Id(0, 1), 0.0L);
}

TEST(Matrika, OperandSizesAreChecked)
{
    PricakujNapako(RunChild([] { M A(2, 3, 1.0L), B(2, 3, 1.0L); (void)(A * B); }),
                   "Operator:   *\nDimenziji matrik napacni: A [     2 ,     3 ]\n" + std::string(26, ' ') +
                       "B [     2 ,     3 ]",
                   "matrika/matrika");
    PricakujNapako(RunChild([] { M A(0, 3), B(3, 2, 1.0L); (void)(A * B); }),
                   "Operator:   *\nMatrika A ni definirana: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 0), B(0, 0); (void)(A * B); }),
                   "Operator:   *\nMatrika A ni definirana: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 2, 1.0L), B(2, 3, 1.0L); (void)(A - B); }),
                   "Operator:   -\nDimenziji matrik napacni: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 0), B(2, 0); (void)(A - B); }),
                   "Operator:   -\nMatrika A ni definirana: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 2, 1.0L), B(3, 2, 1.0L); A += B; }),
                   "Operator:   +=\nDimenziji matrik napacni: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 2, 1.0L), B(3, 2, 1.0L); A -= B; }),
                   "Operator:   -=\nDimenziji matrik napacni: ", "matrika/matrika");
    PricakujNapako(RunChild([] { M A(2, 2, 1.0L), B(3, 2, 1.0L); A *= B; }),
                   "Operator:   *=\nDimenziji matrik napacni: ", "matrika/matrika");
}

TEST(Matrika, FreeFunctions)
{
    M v(2);
    v(0) = 3; v(1) = 4;
    EXPECT_EQ(norm(v), 5.0L);
    EXPECT_EQ(norm(M(2, 2, 1.0L)), 0.0L);
    M vr(1, 2);
    vr(0) = 6; vr(1) = 8;
    EXPECT_EQ(norm(vr), 10.0L);

    M s(4);
    s(0) = 2; s(1) = 5; s(2) = 5; s(3) = 1;
    matrika<long> idx;
    M r = razvrstiZA(s, idx);
    EXPECT_EQ(r(0), 5.0L); EXPECT_EQ(r(1), 5.0L); EXPECT_EQ(r(2), 2.0L); EXPECT_EQ(r(3), 1.0L);
    EXPECT_EQ(idx(0), 2); EXPECT_EQ(idx(1), 1); EXPECT_EQ(idx(2), 0); EXPECT_EQ(idx(3), 3);
    EXPECT_EQ(s(1), 5.0L);  // input left alone
    EXPECT_EQ(min(s), 1.0L);

    matrika<std::string> t(4);
    t(0) = "A"; t(1) = "B"; t(2) = "A"; t(3) = "C";
    matrika<std::string> u = seznam(t);
    ASSERT_EQ(u.nrow(), 3u);
    EXPECT_EQ(u(0), "A"); EXPECT_EQ(u(1), "B"); EXPECT_EQ(u(2), "C");
    EXPECT_EQ(najdiA(t, "C"), 3);
    EXPECT_EQ(najdiA(t, "A"), 0);
    EXPECT_EQ(najdiA(t, "Z"), -1);
    EXPECT_EQ(najdiA(matrika<std::string>(), "A"), -1);

    matrika<std::string> p(4, 2);
    p(0, 0) = "A"; p(0, 1) = "B";
    p(1, 0) = "A"; p(1, 1) = "C";
    p(2, 0) = "A"; p(2, 1) = "B";
    p(3, 0) = "AB"; p(3, 1) = "";  // joined texts equal to row 0, still distinct
    matrika<std::string> pv = seznamVr(p);
    ASSERT_EQ(pv.nrow(), 3u);
    EXPECT_EQ(pv(1, 1), "C");
    EXPECT_EQ(pv(2, 0), "AB");

    matrika<int> f(2, 3, 1);
    EXPECT_EQ(sum(f), 6);
    M a(3, 2);
    for (int k = 0; k < 6; ++k) a(k) = k;  // column 1 holds 1, 3, 5
    EXPECT_EQ(avgS(a, 1), 3.0L);

    EXPECT_EQ(MAX(2, 3), 3);
    EXPECT_EQ(MIN(2, 3), 2);
    EXPECT_EQ(SQR(-3), 9);
    EXPECT_EQ(SIGN(-2.0, 1.0), 2.0);
    EXPECT_EQ(SIGN(2.0, -1.0), -2.0);
    EXPECT_EQ(SIGN(2.0, 0.0), 2.0);
    int x = 1, y = 2;
    SWAP(x, y);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
}

TEST(Matrika, FreeFunctionsRefuseEmptyMatrices)
{
    PricakujNapako(RunChild([] { (void)transpon(M()); }),
                   "Funkcija:   transpon()\nDimenzija matrike ni definirana: ", "matrika/transpon");
    PricakujNapako(RunChild([] { (void)sum(matrika<int>()); }),
                   "Funkcija:   sum()\nDimenzija matrike ni definirana: ", "matrika/summ");
    PricakujNapako(RunChild([] { (void)min(M()); }),
                   "Funkcija:   min()\nDimenzija matrike ni definirana: ", "matrika/minmaxm");
    PricakujNapako(RunChild([] { (void)norm(M()); }),
                   "Funkcija:   norm() - 2. norma\nDimenzija matrike ni definirana: ", "matrika/normm");
    PricakujNapako(RunChild([] { (void)avgS(M(), 0); }),
                   "Funkcija:   avgS()\nDimenzija matrike ni definirana: ", "matrika/avgm");
    PricakujNapako(RunChild([] { matrika<long> i; (void)razvrstiZA(M(), i); }),
                   "Funkcija:   razvrstiZA() - upost. Index\nDimenzija matrike ni definirana: ", "matrika/razvrstim");
    PricakujNapako(RunChild([] { matrika<long> i; (void)razvrstiZA(M(2, 2, 0.0L), i); }),
                   "Funkcija razvrstiAZ()\nVhodni argument mora biti vektor: ", "matrika/razvrstim");
    PricakujNapako(RunChild([] { (void)seznam(matrika<std::string>()); }),
                   "Funkcija:   seznam()\nDimenzija matrike ni definirana: ", "matrika/seznamm");
    PricakujNapako(RunChild([] { (void)seznamVr(matrika<std::string>()); }),
                   "Funkcija:   seznamVr()\nDimenzija matrike ni definirana: ", "matrika/seznamm");
}
