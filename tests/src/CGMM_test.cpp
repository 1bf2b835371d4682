// Model frame: numbering of the unknowns, datum defects, sizes, the
// reference deviations, the share of non-zero elements and the weights (the
// data summary and memory report are in the golden reports, the refusals in
// the table of refused data files).
#include <gtest/gtest.h>

#include "GMMEqTestMreza.h"

namespace {

constexpr long double kTol = 1e-12L;

std::vector<int> Stolpec(const matrika<std::int32_t>& a)
{
    std::vector<int> v;
    for (unsigned long k = 0; k < a.size(); ++k) v.push_back(a(static_cast<long>(k)));
    return v;
}

// A square of four plane points with directions at A and one distance.
const std::string kRavnina =
    "*DIM 2\n*D H\n"
    "X A 0 0\nX B 100 0\nX C 100 100\nX D 0 100\n"
    "S A B 0 0 0 1\nS A C 45 0 0 1\nS A D 90 0 0 1\n"
    "D A B 100.0 1\n";

// The weights of a network, with the unit cofactors the datum builders give their rows.
void Utezi(GMMEqTestMreza& m)
{
    for (long r = m.GMM.nobs; r < static_cast<long>(m.GMM.Qll.nrow()); ++r) m.GMM.Qll(r, 1) = 1.0L;
    m.GMM.SetPll();
}

}  // namespace

TEST(CGMM, DatumDefectsAndSizes)
{
    // Flags tx ty tz wx wy wz m2 m3, nHdat, nobs, nunk; then the rows of H,
    // H(red), D and of B, f and Qll (observations, then the datum rows).
    const struct {
        std::string besedilo, pricakovano;
    } primeri[] = {
        // Directions and a distance: translations and rotation remain.
        {kRavnina, "11111100 3 3 8: 3 3 0 6 6 6"},
        {kRavnina + "A A B 90 0 0 3\n", "11111000 2 4 8: 2 2 0 6 6 6"},   // an azimuth fixes the rotation
        {"*NUMSOLV SVD\n" + kRavnina, "11111100 3 3 8: 0 0 0 3 3 3"},    // SVD takes no constraint rows
        // Space: one observed height and distances leave tx, ty, wx, wy, wz.
        {"*DIM 3\n*D H\nX A 0 0 100\nX B 100 0 110\nX C 0 100 120\nH A 100.001 1\nL A B 100.5 1\nL B C 141.7 1\n",
         "11011100 5 3 9: 5 5 0 8 8 8"},
        // Levelling: one defect, whatever is observed.
        {"*DIM 1\n*D H\nX A 100\nX B 101\nh A B 1.0 1\nH A 100.0 1\nH B 101.0 1\n", "11111111 1 3 2: 1 1 0 4 4 4"},
        // Minimal constraints: the D rows follow the observations; H is sized too.
        {"*DIM 2\n*D D\n**DX A\n**DY A\n**DS A B\n" + kRavnina.substr(kRavnina.find("X A")),
         "11111100 3 3 8: 3 0 3 6 6 6"},
    };
    for (const auto& p : primeri) {
        const auto m = GMMMreza(p.besedilo);
        const CGMM& G = m->GMM;
        std::ostringstream s;
        for (int v : {G.tx, G.ty, G.tz, G.wx, G.wy, G.wz, G.m2, G.m3}) s << v;
        s << " " << G.nHdat << " " << G.nobs << " " << G.nunk << ":";
        for (const auto* a : {&G.Hdat, &G.Hred, &G.Ddat}) s << " " << a->nrow();
        s << " " << G.Bmat.nrow() << " " << G.fvec.nrow() << " " << G.Qll.nrow();
        EXPECT_EQ(s.str(), p.pricakovano) << p.besedilo;
        for (const matrika<long double>* a : {&G.Hdat, &G.Hred, &G.Ddat})
            EXPECT_TRUE(a->nrow() == 0 || a->ncol() == static_cast<unsigned long>(G.nunk));
        EXPECT_EQ(G.Bmat.ncol(), static_cast<unsigned long>(G.nunk));
        EXPECT_EQ(G.Qll.ncol(), 3u);
    }
}

TEST(CGMM, NumberingWithFixedPointsVelocitiesAndRefraction)
{
    const struct {
        std::string besedilo;
        std::vector<int> iB, iBV;
        int nunk;
    } primeri[] = {
        // Two fixed points out of five: the others in list order, Dim apart.
        {"*DIM 2\n*D V\n**V P2\n**V P4\nX P1 0 0\nX P2 100 0\nX P3 100 100\nX P4 0 100\nX P5 50 50\n"
         "D P1 P2 100 1\nD P3 P4 100 1\nD P5 P1 70.7 1\n",
         {0, -1, 2, -1, 4}, {}, 6},
        // Velocities of points 2 and 4 follow the eight coordinate unknowns.
        {"*DIM 2\n*D H\n*XVT 2000.0\nX A 0 0 0\nX B 100 0 1\nX C 100 100 0\nX D 0 100 1\n"
         "D A B 100 1 2001\nD B C 100 1 2001\nD C D 100 1 2002\n",
         {0, 2, 4, 6}, {-1, 8, -1, 10}, 12},
        // Levelling: one velocity per point; a fixed point may carry one.
        {"*DIM 1\n*D V\n**V A\n*XVT 2000.0\nX A 100 1\nX B 101 0\nX C 102 1\nh A B 1.0 1 2001\nh B C 1.0 1 2001\n",
         {-1, 0, 1}, {2, -1, 3}, 4},
    };
    for (const auto& p : primeri) {
        const auto m = GMMMreza(p.besedilo);
        EXPECT_EQ(Stolpec(m->GMM.iDeltaB), p.iB);
        EXPECT_EQ(Stolpec(m->GMM.iDeltaBV), p.iBV);
        EXPECT_EQ(m->GMM.nunk, p.nunk);
        EXPECT_EQ(m->GMM.Bmat.ncol(), static_cast<unsigned long>(p.nunk));
    }

    // One refraction coefficient per station of the zenith distances, starting from *K_REF.
    const std::string zenit = "*DIM 3\n*D H\nX A 0 0 100\nX B 100 0 110\nX C 0 100 120\n"
                              "Z A B 84 0 0 3\nZ A C 78 0 0 3\nZ B C 90 0 0 3\nL A B 100.5 1\n";
    const auto s = GMMMreza("*KTYP STAT\n*K_REF 0.14\n" + zenit);
    ASSERT_EQ(Stolpec(s->GMM.iDeltaBk), (std::vector<int>{9, 10}));
    EXPECT_EQ(s->GMM.PTSk(0) + s->GMM.PTSk(1), "AB");
    for (long i = 0; i < 2; ++i) EXPECT_NEAR(static_cast<double>(s->GMM.kRefEst(i)), 0.14, 1e-15);
    EXPECT_EQ(s->GMM.nunk, 11);
}

TEST(CGMM, ReferenceDeviationWeightsAndNonZeroShare)
{
    // sigma0 = (3.5 mm * 2 + 1.5 mm * 2) / 4, whether the summary is printed
    // or not (its lines and units are in the golden reports).
    for (const char* izpis : {"", "*IZPSET 0\n"}) {
        const auto m = GMMMreza(izpis + kNivelman, &GMMEqTestMreza::Enacbe);
        EXPECT_NEAR(static_cast<double>(m->GMM.So), 0.0025, 1e-15);
        EXPECT_EQ(m->povzetek.str().empty(), *izpis != 0);
        // Diagonal cofactors give a column of weights.
        Utezi(*m);
        ASSERT_EQ(m->GMM.Pll.nrow(), 4u);
        ASSERT_EQ(m->GMM.Pll.ncol(), 1u);
        for (long r = 0; r < 4; ++r) EXPECT_NEAR(m->GMM.Pll(r) * m->GMM.Qll(r, 1), 1.0L, kTol);
        matrika<long double> a(2, 2);
        a(0, 0) = 2e-12L;
        a(1, 1) = 1e-12L;   // not above the threshold
        EXPECT_EQ(m->GMM.GetMatrixFullProc(a), 25.0);
        EXPECT_EQ(m->GMM.GetMatrixFullProc(matrika<long double>()), 0.0);
    }
}
