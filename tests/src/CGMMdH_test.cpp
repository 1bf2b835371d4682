// Inner constraints of a free network: H and H(red) against hand values, the
// null-space property B * H' = 0 with the equations' coefficients (which the
// equation tests check against derivatives), the rows appended to the model
// and the refusals.
#include <algorithm>

#include "GMMEqTestMreza.h"

namespace {

// |B(r) . H(k)| of every observation row r of `b` against row k of the
// constraints of `h` (the two networks share their points and unknowns).
std::vector<std::vector<double>> Produkti(const GMMEqTestMreza& b, const matrika<long double>& H)
{
    std::vector<std::vector<double>> p(H.nrow());
    for (long k = 0; k < static_cast<long>(H.nrow()); ++k)
        for (long r = 0; r < b.GMM.nobs; ++r) {
            long double s = 0.0L;
            for (long c = 0; c < b.GMM.nunk; ++c) s += b.GMM.Bmat(r, c) * H(k, c);
            p[k].push_back(std::fabs(static_cast<double>(s)));
        }
    return p;
}

const std::vector<GMMdTocka> kTrikotnik = {{"A", 0, 0, 0}, {"B", 6, 0, 0}, {"C", 0, 6, 0}};
const std::vector<GMMdTocka> kMreza = {{"1", 512.31, 1204.77, 310.2}, {"2", 890.05, 1377.42, 355.9},
                                       {"3", 1103.66, 905.18, 298.4}, {"4", 640.12, 713.93, 402.7},
                                       {"5", 955.48, 1150.07, 330.0}};
const std::string kSmeri = "S A B 0 0 0 1\nS A C 90 0 0 1\n";   // one composed angle: no defect fixed
constexpr double kE = 1e-15;


}  // namespace

TEST(CGMMdH, PlaneAndSpatialNetworksByHand)
{
    // Centroid (2, 2); rotation and scale rows have the sum of squares 48.
    const auto m = GMMdDatum(GMMdBesedilo(2, "*NUMSOLV QRGIV\n*D H\n", kTrikotnik, kSmeri));
    const long double t = 1 / std::sqrt(3.0L), q = 1 / std::sqrt(48.0L);
    const matrika<long double>& H = m->GMM.Hdat;
    ASSERT_EQ(H.nrow(), 4u);
    GMMdExpectRow(H, 0, {t, 0, t, 0, t, 0}, kE);
    GMMdExpectRow(H, 1, {0, t, 0, t, 0, t}, kE);
    GMMdExpectRow(H, 2, {2 * q, -2 * q, 2 * q, 4 * q, -4 * q, -2 * q}, kE);
    GMMdExpectRow(H, 3, {-2 * q, -2 * q, 4 * q, -2 * q, -2 * q, 4 * q}, kE);
    GMMdExpectAppended(m->GMM, H);   // no point excluded: H(red) is H

    // Space, centroid (0.5, 0.5, 0.5).  Rotation about x: -(z-zs), (y-ys),
    // sum of squares 6; common scale: 9; with a height difference only the
    // horizontal scale remains: 6.
    const std::vector<GMMdTocka> tet = {{"A", 0, 0, 0}, {"B", 2, 0, 0}, {"C", 0, 2, 0}, {"D", 0, 0, 2}};
    const auto s = GMMdDatum(GMMdBesedilo(3, "*D H\n", tet, "Z A B 90 0 0 3\n"));
    ASSERT_EQ(s->GMM.Hdat.nrow(), 7u);
    const long double h = 0.5L, r = 1 / std::sqrt(6.0L), k = 1 / 3.0L;
    GMMdExpectRow(s->GMM.Hdat, 2, {0, 0, h, 0, 0, h, 0, 0, h, 0, 0, h}, kE);
    GMMdExpectRow(s->GMM.Hdat, 3, {0, h * r, -h * r, 0, h * r, -h * r, 0, h * r, 3 * h * r, 0, -3 * h * r, -h * r}, kE);
    GMMdExpectRow(s->GMM.Hdat, 6, {-h * k, -h * k, -h * k, 3 * h * k, -h * k, -h * k, -h * k, 3 * h * k, -h * k,
                                  -h * k, -h * k, 3 * h * k}, kE);
    const auto z = GMMdDatum(GMMdBesedilo(3, "*D H\n", tet, "Z A B 90 0 0 3\nh A B 0 1\n"));
    ASSERT_EQ(z->GMM.Hdat.nrow(), 7u);
    GMMdExpectRow(z->GMM.Hdat, 6, {-h * r, -h * r, 0, 3 * h * r, -h * r, 0, -h * r, 3 * h * r, 0, -h * r, -h * r, 0},
                  kE);
    GMMdExpectAppended(z->GMM, z->GMM.Hred);
}

TEST(CGMMdH, ConstraintsSpanTheDefectOfTheObservations)
{
    // The rows of H are orthogonal to the coefficient rows of the
    // observations that leave their defect, and only to those: in the plane,
    // composed angles leave translations, rotation and scale, distances all
    // but the scale; in space, spatial distances leave translations and
    // rotations, zenith distances all but the two tilts.
    const std::string kot = "S 1 2 0 0 0 1\nS 1 3 60 0 0 1\nS 4 5 0 0 0 1\nS 4 1 45 0 0 1\n";
    const std::string dol = "D 1 2 412 1\nD 3 4 400 1\nD 2 5 300 1\n";
    const std::string zen = "Z 1 2 80 0 0 1\nZ 3 4 95 0 0 1\nZ 2 5 91 0 0 1\nZ 5 3 89 0 0 1\n";
    const struct {
        int dim;
        std::string h, b;          // observations of the network of H, and of the rows B
        std::vector<bool> prost;   // per row of H: orthogonal to every row of B
    } primeri[] = {
        {2, kot, kot, {true, true, true, true}},
        {2, kot, dol, {true, true, true, false}},
        {3, "L 1 2 412 1\n", "L 1 2 412 1\nL 3 4 400 1\nL 2 5 300 1\n", {true, true, true, true, true, true}},
        {3, "L 1 2 412 1\n", zen, {true, true, true, false, false, true}},
    };
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.b);
        const auto h = GMMdDatum(GMMdBesedilo(p.dim, "*D H\n", kMreza, p.h));
        const auto b = GMMMreza(GMMdBesedilo(p.dim, "*D H\n", kMreza, p.b), &GMMEqTestMreza::Enacbe);
        const auto prod = Produkti(*b, h->GMM.Hdat);
        ASSERT_EQ(prod.size(), p.prost.size());
        for (std::size_t k = 0; k < prod.size(); ++k) {
            const double najvec = *std::max_element(prod[k].begin(), prod[k].end());
            if (p.prost[k]) EXPECT_LT(najvec, 1e-12) << "row " << k;
            else EXPECT_GT(najvec, 1e-6) << "row " << k;
        }
    }
}

TEST(CGMMdH, ExcludedPointsVelocitiesAndNetworksWithoutRows)
{
    // Levelling of four points, R3 left out, a velocity unknown of R1 last.
    const auto m = GMMdDatum("*DIM 1\n*D H\n**H R3\n*XVT 2000\nX R1 301.2 1\nX R2 299.7 0\nX R3 305.5 0\nX R4 310 0\n"
                     "h R1 R2 -1.5 1 2001\nh R2 R3 5.8 1 2001\nh R3 R4 4.5 1 2001\n");
    const long double r3 = 1 / std::sqrt(3.0L);
    GMMdExpectRow(m->GMM.Hdat, 0, {0.5L, 0.5L, 0.5L, 0.5L, 0}, kE);
    GMMdExpectRow(m->GMM.Hred, 0, {r3, r3, 0, r3, 0}, kE);
    GMMdExpectAppended(m->GMM, m->GMM.Hred);

    // Plane: four datum points on a square (centroid (2, 2), sum of squares
    // 32) and two far points left out by "**H": their columns stay zero and
    // they move neither the centroid nor the normalisation; H keeps them.
    const std::vector<GMMdTocka> p = {{"P1", 0, 0, 0}, {"E1", 100, 50, 0}, {"P2", 4, 0, 0},
                                      {"P3", 4, 4, 0}, {"E2", -30, 70, 0}, {"P4", 0, 4, 0}};
    const std::string smeri = "S P1 P2 0 0 0 1\nS P1 P3 45 0 0 1\n";
    const auto s = GMMdDatum(GMMdBesedilo(2, "*D H\n**H E1\n**H E2\n", p, smeri));
    const long double k = 2 / std::sqrt(32.0L), h = .5L, t6 = 1 / std::sqrt(6.0L);
    const matrika<long double>& R = s->GMM.Hred;
    GMMdExpectRow(R, 0, {h, 0, 0, 0, h, 0, h, 0, 0, 0, h, 0}, kE);
    GMMdExpectRow(R, 2, {k, -k, 0, 0, k, k, -k, k, 0, 0, -k, -k}, kE);
    GMMdExpectRow(R, 3, {-k, -k, 0, 0, k, -k, k, k, 0, 0, -k, k}, kE);
    GMMdExpectRow(s->GMM.Hdat, 1, {0, t6, 0, t6, 0, t6, 0, t6, 0, t6, 0, t6}, kE);
    GMMdExpectAppended(s->GMM, R);
    // An azimuth and a distance fix rotation and scale: translations only, still 1/2.
    const auto u = GMMdDatum(GMMdBesedilo(2, "*D H\n**H E1\n**H E2\n", p, smeri + "A P1 P2 90 0 0 3\nD P1 P2 4 1\n"));
    ASSERT_EQ(u->GMM.Hred.nrow(), 2u);
    GMMdExpectRow(u->GMM.Hred, 1, {0, h, 0, 0, 0, h, 0, h, 0, 0, 0, h}, kE);

    // "SVD" copes with the defect itself; two observed points fix every defect.
    for (const std::string& b : {GMMdBesedilo(2, "*NUMSOLV SVD\n*D H\n", kTrikotnik, kSmeri),
                                 GMMdBesedilo(2, "*D H\n", kTrikotnik, "C A 0 0 1 1\nC B 6 0 1 1\n")}) {
        const auto n = GMMdDatum(b);
        EXPECT_EQ(n->GMM.Hdat.nrow(), 0u);
        GMMdExpectAppended(n->GMM, matrika<long double>());
    }
}
