// Matrix products of the solution (hand-computed values) and the print
// helpers of the results report (exact lines of 2D, 3D and refraction prints).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/FGMMSol.h"
#include "src/FGMMSolMat.h"

namespace {
matrika<long double> M(const std::vector<std::vector<long double>>& v)
{
    matrika<long double> A(v.size(), v[0].size());
    for (std::size_t i = 0; i < v.size(); ++i)
        for (std::size_t j = 0; j < v[0].size(); ++j) A(i, j) = v[i][j];
    return A;
}
}  // namespace

TEST(FGMMSolMat, ProduktiNaRoko)
{
    const matrika<long double> A = M({{1, 2}, {3, 4}, {5, 6}});
    matrika<long double> N;
    AtBprod(A, A, N);  // symmetric path
    EXPECT_EQ(N(0, 0), 35.0L);
    EXPECT_EQ(N(0, 1), 44.0L);
    EXPECT_EQ(N(1, 0), 44.0L);
    EXPECT_EQ(N(1, 1), 56.0L);
    matrika<long double> n;
    AtBprod(A, M({{1}, {0}, {2}}), n);
    EXPECT_EQ(n(0), 11.0L);
    EXPECT_EQ(n(1), 14.0L);
    // An output of the right size is overwritten, not added to.
    AtBprod(A, M({{1}, {0}, {2}}), n);
    EXPECT_EQ(n(1), 14.0L);

    matrika<long double> Y;
    ABtprod(M({{1, 2}, {3, 4}}), M({{5, 6}}), Y);
    ASSERT_EQ(Y.nrow(), 2u);
    ASSERT_EQ(Y.ncol(), 1u);
    EXPECT_EQ(Y(0), 17.0L);
    EXPECT_EQ(Y(1), 39.0L);

    // Whitening: row scaling with a column of factors, L' B with a triangle.
    matrika<long double> Bp;
    VtBprod(M({{2}, {3}}), M({{1, 1}, {2, 2}}), Bp, true);
    EXPECT_EQ(Bp(0, 1), 2.0L);
    EXPECT_EQ(Bp(1, 0), 6.0L);
    matrika<long double> fp;
    VtBprod(M({{2, 0}, {1, 3}}), M({{1}, {2}}), fp, false);
    EXPECT_EQ(fp(0), 4.0L);
    EXPECT_EQ(fp(1), 6.0L);

    matrika<long double> v = M({{1}, {2}});
    VvecCalc(v, M({{1, 0}, {1, 1}}), M({{0.5}, {0.25}}));
    EXPECT_EQ(v(0), 0.5L);
    EXPECT_EQ(v(1), 1.25L);

    EXPECT_EQ(vTPv(M({{1}, {2}}), M({{3}, {4}}), true), std::sqrt(19.0L));
    EXPECT_EQ(vTPv(M({{1}, {2}}), M({{2, 1}, {1, 3}}), false), std::sqrt(18.0L));

    // Qvv diagonal: 1 - 2 and 1 - (2 + 0.5 + 0.5 + 1).
    const matrika<long double> Qll = M({{0, 1, 0}, {0, 1, 0}});
    const matrika<long double> B = M({{1, 0}, {1, 1}});
    const matrika<long double> Qxx = M({{2, 0.5}, {0.5, 1}});
    matrika<long double> q;
    QvvDiag(Qll, B, Qxx, q);
    EXPECT_EQ(q(0), -1.0L);
    EXPECT_EQ(q(1), -3.0L);

    // diag(Qvv P) with a band Qll and a full P, against the explicit product:
    // Qvv = [[1, .5], [.5, 2]] - B Qxx B' = [[1-2, .5-2.5], [.5-2.5, 2-4]].
    const matrika<long double> Qb = M({{0, 1, 0.5}, {0.5, 2, 0}});
    const matrika<long double> P = M({{3, 1}, {1, 2}});
    matrika<long double> r;
    QvvPDiag(Qb, B, Qxx, bdmatrika::IzPolne(P), r);
    EXPECT_EQ(r(0), -1.0L * 3 + -2.0L * 1);
    EXPECT_EQ(r(1), -2.0L * 1 + -2.0L * 2);

    // Operands that do not fit end the run with the module's message.
    const Izid z = RunChild([&] {
        matrika<long double> y;
        AtBprod(A, M({{1}, {2}}), y);
    });
    EXPECT_EQ(z.status, 1);
    EXPECT_NE(z.out.find("Funkcija:   AtBprod\nDimenziji matrik napacni: "), std::string::npos) << z.out;
    EXPECT_NE(z.out.find("src/FGMMSolMat"), std::string::npos);
}

TEST(FGMMSol, GlaveInTelesa2D3D)
{
    struct {
        unsigned short dim, xvel;
        std::size_t dolzina;
        int vrstic;
    } glave[] = {{1, 0, 61, 1}, {1, 1, 61, 2}, {2, 0, 67, 3}, {2, 1, 67, 7}, {3, 0, 99, 2}, {3, 1, 99, 2}};
    for (const auto& g : glave) {
        std::ostringstream s;
        EXPECT_EQ(GMMSolResHeadPrint(s, g.dim, g.xvel), g.dolzina);
        const auto l = Lines(s.str());
        ASSERT_EQ(static_cast<int>(l.size()), g.vrstic);
        EXPECT_EQ(l.back().size(), g.dolzina);
    }

    // 2D: a fixed point and one with the cofactors diag(4, 1) e-6 (ellipse
    // axes 2 mm and 1 mm along the first axis).
    matrika<std::string> PTS(2, 1);
    PTS(0) = "A";
    PTS(1) = "P";
    matrika<long double> OBS = M({{1000, 2000}, {100, 200}});
    matrika<long double> VELA;
    matrika<std::int32_t> iDeltaB(2, 1), iDeltaBV;
    iDeltaB(0) = -1;
    iDeltaB(1) = 0;
    const matrika<long double> x = M({{0.01}, {-0.02}});
    const matrika<long double> Q = M({{4e-6, 0}, {0, 1e-6}});
    std::ostringstream s2;
    GMMSolResBodyPrint2(s2, PTS, OBS, VELA, iDeltaB, iDeltaBV, 0, x, Q, 1.0L);
    const std::vector<std::string> p2 = {
        "  1     A     1000.0000     2000.0000",
        "                 0.0000        0.0000    0.0000    0.0000",
        "              1000.0000     2000.0000    0.0000    0.0000      0.00",
        "",
        "",
        "  2     P      100.0000      200.0000",
        "                 0.0100       -0.0200    0.0020    0.0010",
        "               100.0100      199.9800    0.0020    0.0010      0.00",
    };
    EXPECT_EQ(Lines(s2.str()), p2);
    EXPECT_EQ(OBS(0, 0), 1000.0L);
    EXPECT_NEAR(static_cast<double>(OBS(1, 0)), 100.01, 1e-12);
    EXPECT_NEAR(static_cast<double>(OBS(1, 1)), 199.98, 1e-12);

    // 3D: the rows of a fixed point, X/Y/Z letters and the first columns of a
    // point with unknowns.
    matrika<long double> OBS3 = M({{1000, 2000, 300}, {10, 20, 30}});
    const matrika<long double> x3 = M({{0.001}, {0.002}, {-0.003}});
    matrika<long double> Q3(3, 3, 0.0L);
    Q3(0, 0) = 9e-6;
    Q3(1, 1) = 4e-6;
    Q3(2, 2) = 1e-6;
    std::ostringstream s3;
    GMMSolResBodyPrint3(s3, PTS, OBS3, VELA, iDeltaB, iDeltaBV, 0, x3, Q3, 1.0L);
    const auto l3 = Lines(s3.str());
    ASSERT_EQ(l3.size(), 7u);
    EXPECT_EQ(l3[0], "  1     A   X     1000.0000    0.0000     1000.0000    0.0000      0.0000   0.00      0.0000");
    EXPECT_EQ(l3[1], "            Y     2000.0000    0.0000     2000.0000    0.0000      0.0000   0.00      0.0000   0.00");
    EXPECT_EQ(l3[2], "            Z      300.0000    0.0000      300.0000    0.0000      0.0000   0.00");
    EXPECT_EQ(l3[3], "");
    EXPECT_EQ(l3[4].substr(0, 73), "  2     P   X       10.0000    0.0010       10.0010    0.0030      0.0030");
    EXPECT_EQ(l3[5].substr(0, 73), "            Y       20.0000    0.0020       20.0020    0.0020      0.0020");
    EXPECT_EQ(l3[6].substr(0, 73), "            Z       30.0000   -0.0030       29.9970    0.0010      0.0010");
    // The horizontal ellipse of the point: 3 mm and 2 mm.
    EXPECT_EQ(l3[4].substr(l3[4].size() - 12), "      0.0030");
    EXPECT_EQ(l3[5].substr(l3[5].size() - 19, 12), "      0.0020");
}

TEST(FGMMSol, KoeficientRefrakcije)
{
    const matrika<long double> x = M({{0.5}, {0.01}, {-0.02}});
    const matrika<long double> Q = M({{1, 0, 0}, {0, 1e-4, 0}, {0, 0, 4e-4}});
    matrika<std::int32_t> iDeltaBk(2, 1);
    iDeltaBk(0) = 1;
    iDeltaBk(1) = 2;
    matrika<std::string> PTSk(2, 1);
    PTSk(0) = "S1";
    PTSk(1) = "S2";

    matrika<long double> k1(1, 1, 0.13L);
    std::ostringstream s1;
    GMMSolPrintRefKoeficient(s1, 1, "SINGLE", x, Q, iDeltaBk, k1, PTSk, 1.0L);
    EXPECT_EQ(Lines(s1.str()), (std::vector<std::string>{"OCENJENE VREDNOSTI KOEFICIENTA REFRAKCIJE",
                                                         std::string(41, '-'), "",
                                                         "Koeficient refrakcije:    0.140  +-    0.010", ""}));
    EXPECT_NEAR(static_cast<double>(k1(0)), 0.14, 1e-15);

    matrika<long double> k2(2, 1, 0.13L);
    std::ostringstream s2;
    GMMSolPrintRefKoeficient(s2, 2, "STAT", x, Q, iDeltaBk, k2, PTSk, 1.0L);
    EXPECT_EQ(Lines(s2.str()),
              (std::vector<std::string>{"OCENJENE VREDNOSTI KOEFICIENTA REFRAKCIJE", std::string(41, '-'), "",
                                        "      TC Koeficient refrakcije", std::string(30, '-'),
                                        "  1    S1   0.140  +-    0.010", "  2    S2   0.110  +-    0.020",
                                        std::string(30, '-'), "", ""}));
    EXPECT_NEAR(static_cast<double>(k2(1)), 0.11, 1e-15);
}
