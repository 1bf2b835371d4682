// Equations of heights, height differences, coordinates and vectors: rows,
// misclosures and cofactors against hand values, velocity terms, the
// analysis of observation errors, the equation print and its trace; and the
// shared free functions of the builders.
#include <gtest/gtest.h>

#include "GMMEqTestMreza.h"
#include "src/FGMM.h"

namespace {

constexpr long double kTol = 1e-12L;

// Every element of B against the expected rows.
void PreveriB(const CGMM& GMM, const std::vector<std::vector<long double>>& B)
{
    ASSERT_EQ(GMM.Bmat.nrow(), B.size());
    for (std::size_t r = 0; r < B.size(); ++r) {
        ASSERT_EQ(GMM.Bmat.ncol(), B[r].size());
        for (std::size_t c = 0; c < B[r].size(); ++c)
            EXPECT_EQ(GMM.Bmat(static_cast<long>(r), static_cast<long>(c)), B[r][c]) << "B(" << r << "," << c << ")";
    }
}

void PreveriF(const CGMM& GMM, const std::vector<long double>& f)
{
    ASSERT_EQ(GMM.fvec.nrow(), f.size());
    for (std::size_t r = 0; r < f.size(); ++r) EXPECT_NEAR(GMM.fvec(static_cast<long>(r)), f[r], kTol) << "f(" << r << ")";
}

// Diagonal cofactors sigma^2 / So^2, no covariances.
void PreveriQll(const CGMM& GMM, const std::vector<long double>& sigma, long double So)
{
    ASSERT_EQ(GMM.Qll.nrow(), sigma.size());
    for (std::size_t r = 0; r < sigma.size(); ++r) {
        const long rr = static_cast<long>(r);
        EXPECT_NEAR(GMM.Qll(rr, 1), sigma[r] * sigma[r] / (So * So), kTol) << "Qll(" << r << ")";
        EXPECT_EQ(GMM.Qll(rr, 0), 0.0L);
        EXPECT_EQ(GMM.Qll(rr, 2), 0.0L);
    }
}

const std::string kNivelman =
    "*DIM 1\n*D V\n**V A\n"
    "X A 100.000\nX B 101.000\nX C 102.500\n"
    "H C 102.4950 4.0\nH A 100.0020 3.0\n"
    "h A B 1.0100 2.0\nh B C 1.4900 1.0\n";

}  // namespace

TEST(CGMMEq, LevellingRowsMisclosuresAndCofactors)
{
    GMMEqTestMreza m(kNivelman);
    m.Model();
    for (int iteracija = 0; iteracija < 2; ++iteracija) {   // the rows are rewritten, not appended
        m.Enacbe();
        EXPECT_EQ(m.GMM.iRowBin, 4);
        // Heights first (C, then the fixed A: an all-zero row), then A->B and B->C.
        PreveriB(m.GMM, {{0, -1}, {0, 0}, {-1, 0}, {1, -1}});
        PreveriF(m.GMM, {0.005L, -0.002L, -0.010L, 0.010L});
        PreveriQll(m.GMM, {0.004L, 0.003L, 0.002L, 0.001L}, 0.0025L);
    }
}

TEST(CGMMEq, VelocityTermsAndTheAnalysisOfObservationErrors)
{
    // A: velocity 2 mm/yr without an unknown; B and C with velocity unknowns.
    const std::string kHitrosti = "*DIM 1\n*D V\n**V A\n*XVT 2000.0\n*XV0\n"
                                  "X A 100 0.002 0\nX B 101 0.001 1\nX C 102 -0.003 1\n"
                                  "h A B 1.005 1.0 2010.0\nH C 101.990 2.0 2005.0\n";
    GMMEqTestMreza m(kHitrosti);
    m.Model();
    m.Enacbe();
    // H C at deltaT 5: -1 and -5; f = 102 - 101.99 + 5 * (-0.003).
    // h A B at deltaT 10: B gets -1 and -10; f = 1 - 1.005 + 10 * (0.001 - 0.002).
    PreveriB(m.GMM, {{0, -1, 0, -5}, {-1, 0, -10, 0}});
    PreveriF(m.GMM, {-0.005L, -0.015L});

    // Without the computed part f = -l, the velocity term stays.
    GMMEqTestMreza o("*OBSRES\n" + kHitrosti);
    o.Model();
    o.Enacbe();
    PreveriB(o.GMM, {{0, -1, 0, -5}, {-1, 0, -10, 0}});
    PreveriF(o.GMM, {-101.990L - 0.015L, -1.005L - 0.010L});

    // Without velocities no velocity column exists and deltaT plays no part.
    GMMEqTestMreza n("*OBSRES\n" + kNivelman);
    n.Model();
    n.Enacbe();
    PreveriF(n.GMM, {-102.495L, -100.002L, -1.010L, -1.490L});
}

TEST(CGMMEq, CoordinatesVectorsAndHeightsInSpaceAndPlane)
{
    GMMEqTestMreza m("*DIM 3\n*D V\n**V P1\n"
                     "X P1 1000 2000 300\nX P2 1100 2050 310\nX P3 1050 2150 305\n"
                     "H P2 310.004 2\n"
                     "h P2 P3 -5.010 1\n"
                     "C P3 1050.010 2149.980 305.000 5 6 7\n"
                     "V P1 P2 100.003 49.996 10.001 3 3 4\n"
                     "V P2 P3 -50.002 100.001 -4.998 3 3 4\n");
    m.Model();
    m.Enacbe();
    EXPECT_EQ(m.GMM.iRowBin, 11);
    // Columns: P2 0..2, P3 3..5; heights in the third coordinate.
    PreveriB(m.GMM, {{0, 0, -1, 0, 0, 0},
                     {0, 0, 1, 0, 0, -1},
                     {0, 0, 0, -1, 0, 0},
                     {0, 0, 0, 0, -1, 0},
                     {0, 0, 0, 0, 0, -1},
                     {-1, 0, 0, 0, 0, 0},
                     {0, -1, 0, 0, 0, 0},
                     {0, 0, -1, 0, 0, 0},
                     {1, 0, 0, -1, 0, 0},
                     {0, 1, 0, 0, -1, 0},
                     {0, 0, 1, 0, 0, -1}});
    PreveriF(m.GMM, {-0.004L, 0.010L, -0.010L, 0.020L, 0.0L, -0.003L, 0.004L, -0.001L, 0.002L, -0.001L, -0.002L});
    // sigma0 = (2 + 1 + 3 * 6 + 6 * 10/3) mm / 11
    const long double So = 41.0L / 11.0L / 1000.0L;
    EXPECT_NEAR(m.GMM.So, So, kTol);
    PreveriQll(m.GMM, {0.002L, 0.001L, 0.005L, 0.006L, 0.007L, 0.003L, 0.003L, 0.004L, 0.003L, 0.003L, 0.004L}, So);

    // A plane network: two rows per coordinate record and per vector.
    GMMEqTestMreza p("*DIM 2\n*D H\n*NUMSOLV SVD\nX A 0 0\nX B 100 0\n"
                     "C A 0.01 -0.02 10 10\nV A B 100.004 0.003 5 5\n");
    p.Model();
    p.Enacbe();
    EXPECT_EQ(p.GMM.iRowBin, 4);
    PreveriB(p.GMM, {{-1, 0, 0, 0}, {0, -1, 0, 0}, {1, 0, -1, 0}, {0, 1, 0, -1}});
    PreveriF(p.GMM, {-0.01L, 0.02L, -0.004L, -0.003L});
}

TEST(CGMMEq, EquationPrintOfLevelling)
{
    GMMEqTestMreza m(kNivelman);
    m.Model();
    m.Enacbe();
    m.GMM.GMMResetIndex();
    const std::string crta1(35, '-'), crta2(49, '-');
    const std::string pricakovano =
        "VISINE TOCK\n"
        "-----------\n"
        "# enacb popravkov:              2\n\n"
        "         TC          CH        f   \n" + crta1 + "\n"
        "  1        C       -1.00       5.00\n"
        "\n"
        "  2        A        ....      -2.00\n" + crta1 + "\n\n\n"
        "VISINSKE RAZLIKE\n"
        "----------------\n"
        "# enacb popravkov:              2\n\n"
        "          Z    S           CS      CZ        f   \n" + crta2 + "\n"
        "  1        A     B        ....   -1.00    -10.000\n"
        "\n"
        "  2        B     C        1.00   -1.00     10.000\n" + crta2 + "\n\n\n";
    EXPECT_EQ(m.Izpis(), pricakovano);
    EXPECT_EQ(m.GMM.iRowBout, 4);

    // Print switched off: nothing, the counter still follows the rows.
    GMMEqTestMreza n("*IZPENP 0\n" + kNivelman);
    n.Model();
    n.Enacbe();
    n.GMM.GMMResetIndex();
    EXPECT_EQ(n.Izpis(), "");
    EXPECT_EQ(n.GMM.iRowBout, 4);
}

TEST(CGMMEq, EquationPrintWithVelocityColumns)
{
    GMMEqTestMreza m("*DIM 2\n*D V\n**V A\n*XVT 2000\nX A 0 0 0\nX B 100 0 1\n"
                     "C B 100.01 -0.02 10 10 2001\nV A B 100.004 0.003 5 5 2002\n");
    m.Model();
    m.Enacbe();
    PreveriB(m.GMM, {{-1, 0, -1, 0}, {0, -1, 0, -1}, {-1, 0, -2, 0}, {0, -1, 0, -2}});
    m.GMM.GMMResetIndex();
    const std::string k2 = "                    CY        VY        fY   ";
    const std::string v2 = "                         CSY     CZY       VSY     VZY        fY   ";
    const std::string pricakovano =
        "KOORDINATE TOCK\n"
        "---------------\n"
        "# enacb popravkov:              2\n\n"
        "         TC         CX        VX        fX   \n" + k2 + "\n" + std::string(k2.size(), '-') + "\n"
        "  1        B       -1.00   -1.00     -10.00\n"
        "                   -1.00   -1.00      20.00\n" + std::string(k2.size(), '-') + "\n\n\n"
        "VEKTORJI MED TOCKAMI\n"
        "--------------------\n"
        "# enacb popravkov:              2\n\n"
        "         Z    S          CSX     CZX       VSX     VZX        fX   \n" + v2 + "\n" +
        std::string(v2.size(), '-') + "\n"
        "  1        A     B        ....   -1.00    ....   -2.00      -4.00\n"
        "                          ....   -1.00    ....   -2.00      -3.00\n" +
        std::string(v2.size(), '-') + "\n\n\n";
    EXPECT_EQ(m.Izpis(), pricakovano);
}

TEST(CGMMEq, TraceCountsTheObservations)
{
    GMMEqTestMreza m("*CONTPRINT 1\n" + kNivelman);
    GMMEqTestMreza::Konzola([&] { m.Model(); });
    const std::string nazaj(7, '\b');
    const std::string set = GMMEqTestMreza::Konzola([&] { m.Enacbe(); });
    EXPECT_EQ(set, "C: CGMMEqH:\n F: SetGMMEq() -> Eq#:      1" + nazaj + "      2" + nazaj + "\n" +
                       "C: CGMMEqHdif:\n F: SetGMMEq -> Eq#:      1" + nazaj + "      2" + nazaj + "\n");
    m.GMM.GMMResetIndex();
    const std::string izpis = GMMEqTestMreza::Konzola([&] { m.Izpis(); });
    EXPECT_EQ(izpis, " F: PrintGMMEq() -> Eq#:      1" + nazaj + "      2" + nazaj + "\n\n" +
                         " F: PrintGMMEq -> Eq#:      1" + nazaj + "      2" + nazaj + "\n\n");
}

TEST(FGMM, SharedFunctionsOfTheBuilders)
{
    const matrika<std::int32_t> e = I(3);
    const matrika<std::int32_t> p = Ip(2, 3);
    ASSERT_EQ(e.nrow(), 3u);
    ASSERT_EQ(p.ncol(), 3u);
    for (long i = 0; i < 3; ++i)
        for (long j = 0; j < 3; ++j) {
            EXPECT_EQ(e(i, j), i == j ? 1 : 0);
            if (i < 2) {
                EXPECT_EQ(p(i, j), i == j ? 1 : 0);
            }
        }

    std::ostringstream s;
    NGMMEqPrint(s, 12);
    EXPECT_EQ(s.str(), "# enacb popravkov:             12\n\n");

    matrika<std::string> imena(3, 2);
    imena(0, 0) = "S1"; imena(0, 1) = "T1";
    imena(1, 0) = "S1"; imena(1, 1) = "T2";
    imena(2, 0) = "S2"; imena(2, 1) = "T1";
    s.str("");
    for (long i = 0; i < 3; ++i) GMMEqPrintPT(s, imena, i);
    EXPECT_EQ(s.str(), "  1       S1    T1      2       S1    T2    \n  3       S2    T1    ");

    matrika<long double> B(1, 2);
    B(0, 1) = 0.123456L;
    s.str("");
    GMMEqCoefMatPrint(s, B, 0, 1, 0, 10, 2, 206264.80624709636L);
    GMMEqCoefMatPrint(s, B, 0, 1, -1, 10, 3, 1.0L);
    GMMEqCoefVecPrint(s, -0.0012345L, 9, 2, 1000.0L);
    EXPECT_EQ(s.str(), "  25464.63     .....    -1.23\n");

    // Lookup: position, coordinate and velocity columns; velocities only when switched on.
    matrika<std::string> tocke(3, 1);
    tocke(0) = "A"; tocke(1) = "B"; tocke(2) = "A";
    matrika<std::int32_t> iB(3, 1), iBV(3, 1);
    iB(0) = -1; iB(1) = 0; iB(2) = 2;
    iBV(0) = 4; iBV(1) = -1; iBV(2) = 5;
    long ind = 9, b = 9, bv = 9;
    GMMEqSetIndex(tocke, "A", iB, iBV, 1, ind, b, bv);
    EXPECT_EQ(ind, 0);   // the first occurrence
    EXPECT_EQ(b, -1);
    EXPECT_EQ(bv, 4);
    GMMEqSetIndex(tocke, "B", iB, matrika<std::int32_t>(), 0, ind, b, bv);
    EXPECT_EQ(ind, 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(bv, -1);

    GMMPointError(0, "A");   // a found point passes
    const Izid r = RunChild([&] { GMMEqSetIndex(tocke, "TOCKA12", iB, iBV, 0, ind, b, bv); });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\n\n  *****  NAPAKA                                          *****\n"
                         "  *****  TOCKA:   TOCKA12  NE OBSTAJA V SEZNAMU TOCK!!!! *****\n\n"),
              std::string::npos)
        << r.out;
}
