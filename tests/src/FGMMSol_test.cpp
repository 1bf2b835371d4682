// Matrix products of the solution against products worked out by hand.
#include "matrika/razcepPomoc.h"
#include "src/FGMMSolMat.h"

using namespace razceptest;

TEST(FGMMSolMat, ProduktiNaRoko)
{
    const M A = Iz({{1, 2}, {3, 4}, {5, 6}}), B = Iz({{1, 0}, {1, 1}}), Qxx = Iz({{2, 0.5L}, {0.5L, 1}});
    M N, n(2, 1, 9.0L), Y, Bp, fp, q, r, v = Iz({{1}, {2}});
    bdmatrika P;
    P.dodaj(Iz({{3, 1}, {1, 2}}));
    AtBprod(A, A, N);                                          // normal matrix: upper triangle mirrored
    AtBprod(A, Iz({{1}, {0}, {2}}), n);                        // an output of the right size is overwritten
    ABtprod(Iz({{1, 2}, {3, 4}}), Iz({{5, 6}}), Y);
    VtBprod(Iz({{2}, {3}}), Iz({{1, 1}, {2, 2}}), Bp, true);   // row factors
    VtBprod(Iz({{2, 0}, {1, 3}}), Iz({{1}, {2}}), fp, false);  // L'f with a lower triangle
    VvecCalc(v, B, Iz({{0.5L}, {0.25L}}));
    // Qvv = Qll - B Qxx B' with B Qxx B' = [[2, 2.5], [2.5, 4]]: unit band diagonal; band
    // [[1, .5], [.5, 2]] times P = [[3, 1], [1, 2]] gives diag([[-1, -2], [-2, -2]] P).
    QvvDiag(Iz({{0, 1, 0}, {0, 1, 0}}), B, Qxx, q);
    QvvPDiag(Iz({{0, 1, 0.5L}, {0.5L, 2, 0}}), B, Qxx, P, r);
    const std::pair<M, M> primeri[] = {{N, Iz({{35, 44}, {44, 56}})}, {n, Iz({{11}, {14}})}, {Y, Iz({{17}, {39}})},
                                       {Bp, Iz({{2, 2}, {6, 6}})},     {fp, Iz({{4}, {6}})},    {v, Iz({{0.5L}, {1.25L}})},
                                       {q, Iz({{-1}, {-3}})},          {r, Iz({{-5}, {-6}})}};
    for (const auto& [dobljeno, pricakovano] : primeri) EXPECT_EQ(Razlika(dobljeno, pricakovano), 0.0L);
    EXPECT_EQ(vTPv(Iz({{1}, {2}}), Iz({{3}, {4}}), true), std::sqrt(19.0L));
    EXPECT_EQ(vTPv(Iz({{1}, {2}}), Iz({{2, 1}, {1, 3}}), false), std::sqrt(18.0L));
    PricakujNapako(RunChild([&] { AtBprod(A, Iz({{1}, {2}}), Y); }),
                   "Funkcija:   AtBprod\nDimenziji matrik napacni: ", "src/FGMMSolMat");
}
