// The container's layout and arithmetic, the small free functions, and every
// refusal with its message and module.
#include <functional>
#include <tuple>
#include <vector>

#include "matrika/minmaxm.h"
#include "matrika/najdim.h"
#include "matrika/normm.h"
#include "matrika/razvrstim.h"
#include "matrika/seznamm.h"
#include "razcepPomoc.h"

using namespace razceptest;

namespace {
M Zaporedje(unsigned long r, unsigned long c)
{
    M A(r, c);
    for (unsigned long k = 0; k < r * c; ++k) A(k) = static_cast<long double>(k);
    return A;
}

matrika<std::string> Besede(std::initializer_list<std::initializer_list<std::string>> v)
{
    matrika<std::string> A(v.size(), v.begin()->size());
    unsigned long k = 0;
    for (const auto& vr : v)
        for (const std::string& x : vr) A(k++) = x;
    return A;
}
}  // namespace

TEST(Matrika, LayoutAndSubmatrices)
{
    const M A = Zaporedje(3, 4);
    EXPECT_TRUE(A(1, 2) == 6 && A(11) == 11);  // row after row
    M D(3, 4, 0.0L);
    D(Iz({{1, 2}, {3, 4}}), 1, 2);
    EXPECT_EQ(Razlika(D, Iz({{0, 0, 0, 0}, {0, 0, 1, 2}, {0, 0, 3, 4}})), 0.0L);
    EXPECT_EQ(Razlika(A(1, 1, 0, 3), Iz({{4, 5, 6, 7}})), 0.0L);
}

TEST(Matrika, ArithmeticAndFreeFunctions)
{
    const M A = Iz({{1, 2, 3}, {4, 5, 6}}), B = Iz({{7, 8}, {9, 10}, {11, 12}}), AB = Iz({{58, 64}, {139, 154}});
    EXPECT_EQ(Razlika(A * B, AB), 0.0L);
    M D(A);
    D *= B;
    EXPECT_EQ(Razlika(D, AB), 0.0L);
    M E = A - A;
    E += A;
    E *= 2.0L;
    E -= A;  // 2A - A
    EXPECT_EQ(Razlika(E, A), 0.0L);
    EXPECT_EQ(Razlika(transpon(A), Iz({{1, 4}, {2, 5}, {3, 6}})), 0.0L);
    EXPECT_EQ(Razlika(I(2, 2.5L), Iz({{2.5L, 0}, {0, 2.5L}})), 0.0L);

    EXPECT_EQ(norm(Iz({{3}, {4}})), 5.0L);
    EXPECT_EQ(norm(Iz({{6, 8}})), 10.0L);
    EXPECT_EQ(norm(M(2, 2, 1.0L)), 0.0L);
    const M s = Iz({{2}, {5}, {5}, {1}});
    matrika<long> idx;
    EXPECT_EQ(Razlika(razvrstiZA(s, idx), Iz({{5}, {5}, {2}, {1}})), 0.0L);
    EXPECT_TRUE(idx(0) == 2 && idx(1) == 1 && idx(2) == 0 && idx(3) == 3);  // equal values: the later first
    EXPECT_EQ(min(s), 1.0L);

    const matrika<std::string> t = Besede({{"A"}, {"B"}, {"A"}, {"C"}}), u = seznam(t);
    EXPECT_TRUE(u.nrow() == 3 && u(0) == "A" && u(1) == "B" && u(2) == "C");
    EXPECT_TRUE(najdiA(t, "C") == 3 && najdiA(t, "A") == 0 && najdiA(t, "Z") == -1);
    EXPECT_EQ(najdiA(matrika<std::string>(), "A"), -1);
    // Rows are equal when every column is: "AB" + "" is not "A" + "B".
    const matrika<std::string> p = seznamVr(Besede({{"A", "B"}, {"A", "C"}, {"A", "B"}, {"AB", ""}}));
    EXPECT_TRUE(p.nrow() == 3 && p(1, 1) == "C" && p(2, 0) == "AB");
}

TEST(Matrika, RefusalsNameTheCheckAndTheRange)
{
    const std::string op = "Operator:   ", pod = "Operator():\nNapac", dim = "\nDimenziji matrik napacni: ",
                      nd = "()\nDimenzija matrike ni definirana: ", mm = "matrika/matrika";
    const std::vector<std::tuple<std::function<void()>, std::string, std::string>> primeri = {
        {[] { Zaporedje(3, 4)(3, 0) = 1; }, op + "()\nNepravilen indeks vrstice:     3 -> ind = [ 0 , 2 ]", mm},
        {[] { Zaporedje(3, 4)(0, 4) = 1; }, op + "()\nNepravilen indeks stolpca:     4 -> ind = [ 0 , 3 ]", mm},
        {[] { Zaporedje(3, 4)(12) = 1; }, op + "()\nNepravilen indeks matrike:    12 -> ind = [ 0 , 11 ]", mm},
        {[] { M(3, 4)(M(2, 2), 2, 3); }, pod + "en zgornji indeks po vrsticah za vpis podmatrike: ", mm},
        {[] { M(3, 4)(M(2, 2), 3, 0); }, pod + "na vrednost indeksa vrstic za vpis podmatrike: ", mm},
        {[] { M(3, 4)(M(2, 2), 0, 4); }, pod + "ni vrednosti indeksov za vpis podmatrike: ", mm},
        {[] { M(3, 4)(M(2, 2), 0, 3); }, pod + "en zgornji indeks po stolpcih za vpis podmatrike: ", mm},
        {[] { (void)M(3, 4)(2, 1, 0, 0); }, pod + "ni vrednosti indeksov za izpis podmatrike: ", mm},
        {[] { (void)M(3, 4)(0, 3, 0, 0); }, pod + "ni vrednosti indeksov za izpis podmatrike: ", mm},
        {[] { (void)M(3, 4)(0, 0, 1, 4); }, pod + "ni vrednosti indeksov za izpis podmatrike: ", mm},
        {[] { (void)(M(2, 3) * M(2, 3)); },
         op + "*" + dim + "A [     2 ,     3 ]\n" + std::string(26, ' ') + "B [     2 ,     3 ]", mm},
        {[] { (void)(M(0, 3) * M(3, 2)); }, op + "*\nMatrika A ni definirana: ", mm},
        {[] { (void)(M(2, 2) - M(2, 3)); }, op + "-" + dim, mm},
        {[] { (void)(M(2, 0) - M(2, 0)); }, op + "-\nMatrika A ni definirana: ", mm},
        {[] { M(2, 2) += M(3, 2); }, op + "+=" + dim, mm},
        {[] { M(2, 2) -= M(3, 2); }, op + "-=" + dim, mm},
        {[] { M(2, 2) *= M(3, 2); }, op + "*=" + dim, mm},
        {[] { (void)transpon(M()); }, "Funkcija:   transpon" + nd, "matrika/transpon"},
        {[] { (void)min(M()); }, "Funkcija:   min" + nd, "matrika/minmaxm"},
        {[] { (void)norm(M()); }, "Funkcija:   norm() - 2. norma\nDimenzija matrike ni definirana: ", "matrika/normm"},
        {[] { matrika<long> i; (void)razvrstiZA(M(), i); },
         "Funkcija:   razvrstiZA() - upost. Index\nDimenzija matrike ni definirana: ", "matrika/razvrstim"},
        {[] { matrika<long> i; (void)razvrstiZA(M(2, 2), i); },
         "Funkcija razvrstiAZ()\nVhodni argument mora biti vektor: ", "matrika/razvrstim"},
        {[] { (void)seznam(matrika<std::string>()); }, "Funkcija:   seznam" + nd, "matrika/seznamm"},
        {[] { (void)seznamVr(matrika<std::string>()); }, "Funkcija:   seznamVr" + nd, "matrika/seznamm"},
    };
    for (const auto& [koda, sporocilo, vir] : primeri) {
        SCOPED_TRACE(sporocilo);
        PricakujNapako(RunChild(koda), sporocilo, vir);
    }
}
