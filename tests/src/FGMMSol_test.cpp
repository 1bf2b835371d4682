// Matrix products of the solution against products worked out by hand, and
// the print helpers of the results report: header rules, exact lines of the
// 2D and 3D bodies with the write-back, refraction coefficients.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/FGMMSol.h"
#include "src/FGMMSolMat.h"

namespace {
using Mat = std::vector<std::vector<long double>>;
using Vrstice = std::vector<std::string>;

// A matrix of any element type from its rows (long double when not deduced).
template <class T = long double>
matrika<T> M(const std::vector<std::vector<T>>& v)
{
    matrika<T> A(v.size(), v[0].size());
    for (std::size_t i = 0; i < v.size(); ++i)
        for (std::size_t j = 0; j < v[0].size(); ++j) A(i, j) = v[i][j];
    return A;
}

Mat V(const matrika<long double>& A)
{
    Mat v(A.nrow(), std::vector<long double>(A.ncol()));
    for (std::size_t i = 0; i < A.nrow(); ++i)
        for (std::size_t j = 0; j < A.ncol(); ++j) v[i][j] = A(i, j);
    return v;
}
}  // namespace

TEST(FGMMSolMat, ProduktiNaRoko)
{
    const auto A = M({{1, 2}, {3, 4}, {5, 6}}), B = M({{1, 0}, {1, 1}}), Qxx = M({{2, 0.5}, {0.5, 1}});
    matrika<long double> N, n(2, 1, 9.0L), Y, Bp, fp, q, r, v = M({{1}, {2}});
    AtBprod(A, A, N);                                        // normal matrix: upper triangle mirrored
    AtBprod(A, M({{1}, {0}, {2}}), n);                       // an output of the right size is overwritten
    ABtprod(M({{1, 2}, {3, 4}}), M({{5, 6}}), Y);
    VtBprod(M({{2}, {3}}), M({{1, 1}, {2, 2}}), Bp, true);   // row factors
    VtBprod(M({{2, 0}, {1, 3}}), M({{1}, {2}}), fp, false);  // L'f with a lower triangle
    VvecCalc(v, B, M({{0.5}, {0.25}}));
    // Qvv = Qll - B Qxx B' with B Qxx B' = [[2, 2.5], [2.5, 4]]: unit band diagonal; band
    // [[1, .5], [.5, 2]] times P = [[3, 1], [1, 2]] gives diag([[-1, -2], [-2, -2]] P).
    QvvDiag(M({{0, 1, 0}, {0, 1, 0}}), B, Qxx, q);
    QvvPDiag(M({{0, 1, 0.5}, {0.5, 2, 0}}), B, Qxx, bdmatrika::IzPolne(M({{3, 1}, {1, 2}})), r);
    EXPECT_EQ(V(N), (Mat{{35, 44}, {44, 56}}));
    EXPECT_EQ(V(n), (Mat{{11}, {14}}));
    EXPECT_EQ(V(Y), (Mat{{17}, {39}}));
    EXPECT_EQ(V(Bp), (Mat{{2, 2}, {6, 6}}));
    EXPECT_EQ(V(fp), (Mat{{4}, {6}}));
    EXPECT_EQ(V(v), (Mat{{0.5}, {1.25}}));
    EXPECT_EQ(V(q), (Mat{{-1}, {-3}}));
    EXPECT_EQ(V(r), (Mat{{-5}, {-6}}));
    EXPECT_EQ(vTPv(M({{1}, {2}}), M({{3}, {4}}), true), std::sqrt(19.0L));
    EXPECT_EQ(vTPv(M({{1}, {2}}), M({{2, 1}, {1, 3}}), false), std::sqrt(18.0L));

    const Izid z = RunChild([&] { AtBprod(A, M({{1}, {2}}), Y); });
    EXPECT_EQ(z.status, 1);
    EXPECT_NE(z.out.find("Funkcija:   AtBprod\nDimenziji matrik napacni: "), std::string::npos) << z.out;
    EXPECT_NE(z.out.find("src/FGMMSolMat"), std::string::npos);
}

// Header: the rule has the length of the last header line.  Bodies: a fixed
// point and one with the cofactors diag(4, 1) e-6 (2D, ellipse axes 2 and
// 1 mm along X) or diag(9, 4, 1) e-6 (3D, horizontal ellipse 3 and 2 mm).
TEST(FGMMSol, GlaveInTelesa2D3D)
{
    const struct {
        unsigned short dim, xvel;
        std::size_t dolzina, vrstic;
    } glave[] = {{1, 0, 61, 1}, {1, 1, 61, 2}, {2, 0, 67, 3}, {2, 1, 67, 7}, {3, 0, 99, 2}, {3, 1, 99, 2}};
    for (const auto& g : glave) {
        std::ostringstream s;
        EXPECT_EQ(GMMSolResHeadPrint(s, g.dim, g.xvel), g.dolzina);
        const auto l = Lines(s.str());
        ASSERT_EQ(l.size(), g.vrstic);
        EXPECT_EQ(l.back().size(), g.dolzina);
    }

    const auto PTS = M<std::string>({{"A"}, {"P"}});
    const auto iDeltaB = M<std::int32_t>({{-1}, {0}});
    const matrika<long double> OBS = M({{1000, 2000}, {100, 200}}), OBS3 = M({{1000, 2000, 300}, {10, 20, 30}}), VELA;
    matrika<std::int32_t> iDeltaBV;
    std::ostringstream s2, s3;
    GMMSolResBodyPrint2(s2, PTS, OBS, VELA, iDeltaB, iDeltaBV, 0, M({{0.01}, {-0.02}}), M({{4e-6, 0}, {0, 1e-6}}),
                        1.0L);
    GMMSolResBodyPrint3(s3, PTS, OBS3, VELA, iDeltaB, iDeltaBV, 0, M({{0.001}, {0.002}, {-0.003}}),
                        M({{9e-6, 0, 0}, {0, 4e-6, 0}, {0, 0, 1e-6}}), 1.0L);
    EXPECT_EQ(Lines(s2.str()), (Vrstice{"  1     A     1000.0000     2000.0000",
                                        "                 0.0000        0.0000    0.0000    0.0000",
                                        "              1000.0000     2000.0000    0.0000    0.0000      0.00", "", "",
                                        "  2     P      100.0000      200.0000",
                                        "                 0.0100       -0.0200    0.0020    0.0010",
                                        "               100.0100      199.9800    0.0020    0.0010      0.00"}));
    const auto l3 = Lines(s3.str());
    ASSERT_EQ(l3.size(), 7u);
    const Vrstice p3 = {
        "  1     A   X     1000.0000    0.0000     1000.0000    0.0000      0.0000   0.00      0.0000",
        "            Y     2000.0000    0.0000     2000.0000    0.0000      0.0000   0.00      0.0000   0.00",
        "            Z      300.0000    0.0000      300.0000    0.0000      0.0000   0.00", "",
        "  2     P   X       10.0000    0.0010       10.0010    0.0030      0.0030",
        "            Y       20.0000    0.0020       20.0020    0.0020      0.0020",
        "            Z       30.0000   -0.0030       29.9970    0.0010      0.0010"};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(i < 4 ? l3[i] : l3[i].substr(0, p3[i].size()), p3[i]);
    EXPECT_EQ(l3[4].substr(l3[4].size() - 12), "      0.0030");
    EXPECT_EQ(l3[5].substr(l3[5].size() - 19, 12), "      0.0020");
}

// "SINGLE": one coefficient for the network; "STAT": one per station, each
// printed with its correction added.
TEST(FGMMSol, KoeficientRefrakcije)
{
    const auto x = M({{0.5}, {0.01}, {-0.02}}), Q = M({{1, 0, 0}, {0, 1e-4, 0}, {0, 0, 4e-4}});
    const auto iDeltaBk = M<std::int32_t>({{1}, {2}});
    const auto PTSk = M<std::string>({{"S1"}, {"S2"}});
    const matrika<long double> k1(1, 1, 0.13L), k2(2, 1, 0.13L);
    std::ostringstream s1, s2;
    GMMSolPrintRefKoeficient(s1, 1, "SINGLE", x, Q, iDeltaBk, k1, PTSk, 1.0L);
    GMMSolPrintRefKoeficient(s2, 2, "STAT", x, Q, iDeltaBk, k2, PTSk, 1.0L);
    const std::string naslov = "OCENJENE VREDNOSTI KOEFICIENTA REFRAKCIJE";
    EXPECT_EQ(Lines(s1.str()),
              (Vrstice{naslov, std::string(41, '-'), "", "Koeficient refrakcije:    0.140  +-    0.010", ""}));
    EXPECT_EQ(Lines(s2.str()), (Vrstice{naslov, std::string(41, '-'), "", "      TC Koeficient refrakcije",
                                        std::string(30, '-'), "  1    S1   0.140  +-    0.010",
                                        "  2    S2   0.110  +-    0.020", std::string(30, '-'), "", ""}));
}
