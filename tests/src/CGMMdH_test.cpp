// Inner constraints of a free network: H and H(red) against hand values, the
// null-space property B * H' = 0 against finite-difference derivatives of
// the observation functions, the rows appended to the model, the trace and
// the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "GMMdTestMreza.h"
#include "src/CGetObs.h"

namespace {

constexpr long double kTol = 1e-15L;

// Observation functions of the coordinate vector u (point p at u[Dim*p ...]).
using Funkcija = std::function<long double(const std::vector<long double>&)>;

long double Dolzina(const std::vector<long double>& u, int dim, int i, int j)
{
    long double s = 0.0L;
    for (int k = 0; k < dim; ++k) s += (u[dim * j + k] - u[dim * i + k]) * (u[dim * j + k] - u[dim * i + k]);
    return std::sqrt(s);
}

// Grid bearing from the second axis towards the first.
long double SmerniKotT(const std::vector<long double>& u, int dim, int i, int j)
{
    return std::atan2(u[dim * j] - u[dim * i], u[dim * j + 1] - u[dim * i + 1]);
}

long double Kot(const std::vector<long double>& u, int dim, int s, int j, int k)
{
    long double a = SmerniKotT(u, dim, s, k) - SmerniKotT(u, dim, s, j);
    if (a < 0) a += 2 * std::numbers::pi_v<long double>;
    return a;
}

long double Zenitna(const std::vector<long double>& u, int i, int j)
{
    const long double dx = u[3 * j] - u[3 * i], dy = u[3 * j + 1] - u[3 * i + 1], dz = u[3 * j + 2] - u[3 * i + 2];
    return std::atan2(std::sqrt(dx * dx + dy * dy), dz);
}

// Gradient by central differences.
std::vector<long double> Gradient(const Funkcija& f, std::vector<long double> u)
{
    const long double h = 1e-3L;  // rounding of ~1e3 m values stays near 1e-16 / h
    std::vector<long double> g(u.size());
    for (std::size_t c = 0; c < u.size(); ++c) {
        const long double u0 = u[c];
        u[c] = u0 + h;
        const long double fp = f(u);
        u[c] = u0 - h;
        const long double fm = f(u);
        u[c] = u0;
        g[c] = (fp - fm) / (2 * h);
    }
    return g;
}

std::vector<long double> Koordinate(const std::vector<GMMdTocka>& t, int dim)
{
    std::vector<long double> u;
    for (const GMMdTocka& p : t) {
        u.push_back(p.x);
        if (dim > 1) u.push_back(p.y);
        if (dim > 2) u.push_back(p.z);
    }
    return u;
}

long double Produkt(const std::vector<long double>& g, const matrika<long double>& H, long r)
{
    long double s = 0.0L;
    for (std::size_t c = 0; c < g.size(); ++c) s += g[c] * H(r, static_cast<long>(c));
    return s;
}

void ExpectRow(const matrika<long double>& H, long r, const std::vector<long double>& v, long double tol = kTol)
{
    ASSERT_EQ(H.ncol(), v.size());
    for (std::size_t c = 0; c < v.size(); ++c)
        EXPECT_NEAR(static_cast<double>(H(r, static_cast<long>(c))), static_cast<double>(v[c]),
                    static_cast<double>(tol))
            << "row " << r << " column " << c;
}

// The datum rows stand below the untouched observation rows, with f = 0 and
// a unit cofactor without correlation.
void ExpectAppended(const CGMM& GMM, const matrika<long double>& C)
{
    for (long r = 0; r < GMM.nobs; ++r) {
        for (long c = 0; c < GMM.nunk; ++c) EXPECT_EQ(GMM.Bmat(r, c), kSentinelB);
        EXPECT_EQ(GMM.fvec(r, 0), kSentinelF);
        EXPECT_EQ(GMM.Qll(r, 1), 2.0L);
    }
    ASSERT_EQ(GMM.Bmat.nrow(), GMM.nobs + C.nrow());
    for (unsigned long i = 0; i < C.nrow(); ++i) {
        const long r = GMM.nobs + static_cast<long>(i);
        for (long c = 0; c < GMM.nunk; ++c) EXPECT_EQ(GMM.Bmat(r, c), C(static_cast<long>(i), c));
        EXPECT_EQ(GMM.fvec(r, 0), 0.0L);
        EXPECT_EQ(GMM.Qll(r, 0), 0.0L);
        EXPECT_EQ(GMM.Qll(r, 1), 1.0L);
        EXPECT_EQ(GMM.Qll(r, 2), 0.0L);
    }
}

const std::vector<GMMdTocka> kTrikotnik = {{"A", 0, 0, 0}, {"B", 6, 0, 0}, {"C", 0, 6, 0}};

}  // namespace

TEST(CGMMdH, PlaneNetworkByHand)
{
    // Centroid (2, 2); rotation and scale rows have the sum of squares 48.
    GMMdTestMreza m(2, "*NUMSOLV QRGIV\n*D H\n", kTrikotnik);
    m.dH.SetGMMdH();
    const long double t = 1 / std::sqrt(3.0L), q = 1 / std::sqrt(48.0L);
    const matrika<long double>& H = m.GMM.Hdat;
    ASSERT_EQ(H.nrow(), 4u);
    ExpectRow(H, 0, {t, 0, t, 0, t, 0, 0});
    ExpectRow(H, 1, {0, t, 0, t, 0, t, 0});
    ExpectRow(H, 2, {2 * q, -2 * q, 2 * q, 4 * q, -4 * q, -2 * q, 0});
    ExpectRow(H, 3, {-2 * q, -2 * q, 4 * q, -2 * q, -2 * q, 4 * q, 0});
    // No point excluded: H(red) is H, entry for entry.
    for (long r = 0; r < 4; ++r)
        for (long c = 0; c < 7; ++c) EXPECT_EQ(m.GMM.Hred(r, c), H(r, c));
    ExpectAppended(m.GMM, m.GMM.Hred);

    // Distances fix the scale: three rows, the rotation row unchanged.
    GMMdDefekti brezMerila;
    brezMerila.m2 = 0;
    GMMdTestMreza d(2, "*D H\n", kTrikotnik, 3, 0, brezMerila);
    d.dH.SetGMMdH();
    ASSERT_EQ(d.GMM.Hdat.nrow(), 3u);
    ExpectRow(d.GMM.Hdat, 2, {2 * q, -2 * q, 2 * q, 4 * q, -4 * q, -2 * q});
    ExpectAppended(d.GMM, d.GMM.Hred);

    // The rows follow the approximate values of each iteration.
    d.TOCrdA.OBS(1, 0) = 12;  // B to (12, 0): centroid (4, 2), sum of squares 4+16+4+64+16+16 = 120
    d.dH.SetGMMdH();
    const long double q2 = 1 / std::sqrt(120.0L);
    ExpectRow(d.GMM.Hdat, 2, {2 * q2, -4 * q2, 2 * q2, 8 * q2, -4 * q2, -4 * q2});
    ExpectAppended(d.GMM, d.GMM.Hred);
}

TEST(CGMMdH, SpatialNetworkByHand)
{
    // Centroid (0.5, 0.5, 0.5).  Rotation about x: entries -(z-zs), (y-ys),
    // sum of squares 6; common scale: sum of squares 9; scale of z only: 3.
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 2, 0, 0}, {"C", 0, 2, 0}, {"D", 0, 0, 2}};
    GMMdTestMreza m(3, "*D H\n", t, 1, 0);
    m.dH.SetGMMdH();
    const matrika<long double>& H = m.GMM.Hdat;
    ASSERT_EQ(H.nrow(), 7u);
    const long double h = 0.5L, r6 = 1 / std::sqrt(6.0L);
    ExpectRow(H, 0, {h, 0, 0, h, 0, 0, h, 0, 0, h, 0, 0});
    ExpectRow(H, 2, {0, 0, h, 0, 0, h, 0, 0, h, 0, 0, h});
    ExpectRow(H, 3, {0, .5L * r6, -.5L * r6, 0, .5L * r6, -.5L * r6, 0, .5L * r6, 1.5L * r6, 0, -1.5L * r6, -.5L * r6});
    ExpectRow(H, 6, {-.5L / 3, -.5L / 3, -.5L / 3, 1.5L / 3, -.5L / 3, -.5L / 3, -.5L / 3, 1.5L / 3, -.5L / 3,
                     -.5L / 3, -.5L / 3, 1.5L / 3});

    GMMdDefekti samoZ;  // horizontal scale fixed, height scale free
    samoZ.m2 = 0;
    GMMdTestMreza z(3, "*D H\n", t, 1, 0, samoZ);
    z.dH.SetGMMdH();
    const long double r3 = 1 / std::sqrt(3.0L);
    ExpectRow(z.GMM.Hdat, 6, {0, 0, -.5L * r3, 0, 0, -.5L * r3, 0, 0, -.5L * r3, 0, 0, 1.5L * r3});
    ExpectAppended(z.GMM, z.GMM.Hred);
}

TEST(CGMMdH, ConstraintsSpanTheDefectOfDistancesAndAngles)
{
    const std::vector<GMMdTocka> t = {{"1", 512.31, 1204.77, 0}, {"2", 890.05, 1377.42, 0},
                                      {"3", 1103.66, 905.18, 0}, {"4", 640.12, 713.93, 0},
                                      {"5", 955.48, 1150.07, 0}};
    const std::vector<long double> u = Koordinate(t, 2);
    std::vector<Funkcija> dolzine, koti;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            dolzine.push_back([i, j](const std::vector<long double>& x) { return Dolzina(x, 2, i, j); });
    koti.push_back([](const std::vector<long double>& x) { return Kot(x, 2, 0, 1, 2); });
    koti.push_back([](const std::vector<long double>& x) { return Kot(x, 2, 2, 3, 4); });
    koti.push_back([](const std::vector<long double>& x) { return Kot(x, 2, 4, 0, 3); });

    // Distances and angles: two translations and the rotation remain.
    GMMdDefekti d;
    d.m2 = 0;
    GMMdTestMreza m(2, "*D H\n", t, 1, 0, d);
    m.dH.SetGMMdH();
    ASSERT_EQ(m.GMM.Hdat.nrow(), 3u);
    std::vector<const std::vector<Funkcija>*> vse = {&dolzine, &koti};
    for (const auto* skupina : vse)
        for (const Funkcija& f : *skupina) {
            const std::vector<long double> g = Gradient(f, u);
            for (long r = 0; r < 3; ++r) EXPECT_NEAR(static_cast<double>(Produkt(g, m.GMM.Hdat, r)), 0.0, 1e-12);
        }

    // Angles alone leave the scale free too; a distance is not scale-free,
    // so the scale row must not be built when distances are observed.
    GMMdTestMreza a(2, "*D H\n", t, 1, 0);
    a.dH.SetGMMdH();
    ASSERT_EQ(a.GMM.Hdat.nrow(), 4u);
    for (const Funkcija& f : koti) {
        const std::vector<long double> g = Gradient(f, u);
        for (long r = 0; r < 4; ++r) EXPECT_NEAR(static_cast<double>(Produkt(g, a.GMM.Hdat, r)), 0.0, 1e-12);
    }
    EXPECT_GT(std::fabs(static_cast<double>(Produkt(Gradient(dolzine[0], u), a.GMM.Hdat, 3))), 0.1);

    // Rows of unit length, translations orthogonal to rotation and scale.
    for (long r = 0; r < 4; ++r) {
        long double s = 0.0L, o = 0.0L;
        for (long c = 0; c < 10; ++c) {
            s += a.GMM.Hdat(r, c) * a.GMM.Hdat(r, c);
            o += a.GMM.Hdat(r, c) * a.GMM.Hdat(r < 2 ? 2 : 0, c);
        }
        EXPECT_NEAR(static_cast<double>(s), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(o), 0.0, 1e-15);
    }
}

TEST(CGMMdH, SpatialConstraintsSpanTheDefectOfDistancesAndZenithDistances)
{
    const std::vector<GMMdTocka> t = {{"1", 512.31, 1204.77, 310.2}, {"2", 890.05, 1377.42, 355.9},
                                      {"3", 1103.66, 905.18, 298.4}, {"4", 640.12, 713.93, 402.7}};
    const std::vector<long double> u = Koordinate(t, 3);
    GMMdDefekti d;  // spatial distances fix both scales
    d.m2 = d.m3 = 0;
    GMMdTestMreza m(3, "*D H\n", t, 1, 0, d);
    m.dH.SetGMMdH();
    ASSERT_EQ(m.GMM.Hdat.nrow(), 6u);
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            const auto g = Gradient([i, j](const std::vector<long double>& x) { return Dolzina(x, 3, i, j); }, u);
            for (long r = 0; r < 6; ++r) EXPECT_NEAR(static_cast<double>(Produkt(g, m.GMM.Hdat, r)), 0.0, 1e-12);
            // A zenith distance keeps the translations and the rotation about the
            // vertical, but not the tilts (rows 3 and 4).
            const auto z = Gradient([i, j](const std::vector<long double>& x) { return Zenitna(x, i, j); }, u);
            for (long r : {0L, 1L, 2L, 5L})
                EXPECT_NEAR(static_cast<double>(Produkt(z, m.GMM.Hdat, r)), 0.0, 1e-12);
            EXPECT_GT(std::fabs(static_cast<double>(Produkt(z, m.GMM.Hdat, 3))) +
                          std::fabs(static_cast<double>(Produkt(z, m.GMM.Hdat, 4))),
                      1e-6);
        }
}

TEST(CGMMdH, LevellingAndExcludedPoints)
{
    const std::vector<GMMdTocka> t = {{"R1", 301.2, 0, 0}, {"R2", 299.7, 0, 0}, {"R3", 305.5, 0, 0},
                                      {"R4", 310.0, 0, 0}};
    GMMdTestMreza m(1, "*D H\n", t, 3, 1);
    m.dH.SetGMMdH();
    ASSERT_EQ(m.GMM.Hdat.nrow(), 1u);
    ExpectRow(m.GMM.Hdat, 0, {0.5L, 0.5L, 0.5L, 0.5L, 0});
    ExpectRow(m.GMM.Hred, 0, {0.5L, 0.5L, 0.5L, 0.5L, 0});
    ExpectAppended(m.GMM, m.GMM.Hred);

    GMMdTestMreza x(1, "*D H\n**H R3\n", t, 3, 1);
    x.dH.SetGMMdH();
    const long double r3 = 1 / std::sqrt(3.0L);
    ExpectRow(x.GMM.Hdat, 0, {0.5L, 0.5L, 0.5L, 0.5L, 0});
    ExpectRow(x.GMM.Hred, 0, {r3, r3, 0, r3, 0});
    ExpectAppended(x.GMM, x.GMM.Hred);

    // Plane: four datum points on a square (centroid (2, 2), sum of squares
    // 32) and two far points left out by "**H": their columns stay zero and
    // they move neither the centroid nor the normalisation.
    const std::vector<GMMdTocka> p = {{"P1", 0, 0, 0},   {"E1", 100, 50, 0}, {"P2", 4, 0, 0},
                                      {"P3", 4, 4, 0},   {"E2", -30, 70, 0}, {"P4", 0, 4, 0}};
    GMMdTestMreza s(2, "*D H\n**H E1\n**H E2\n", p, 2, 2);
    s.dH.SetGMMdH();
    const long double k = 1 / std::sqrt(32.0L);
    const matrika<long double>& R = s.GMM.Hred;
    ASSERT_EQ(R.nrow(), 4u);
    ExpectRow(R, 0, {.5L, 0, 0, 0, .5L, 0, .5L, 0, 0, 0, .5L, 0, 0, 0});
    ExpectRow(R, 1, {0, .5L, 0, 0, 0, .5L, 0, .5L, 0, 0, 0, .5L, 0, 0});
    ExpectRow(R, 2, {2 * k, -2 * k, 0, 0, 2 * k, 2 * k, -2 * k, 2 * k, 0, 0, -2 * k, -2 * k, 0, 0});
    ExpectRow(R, 3, {-2 * k, -2 * k, 0, 0, 2 * k, -2 * k, 2 * k, 2 * k, 0, 0, -2 * k, 2 * k, 0, 0});
    // H keeps all six points.
    const long double t6 = 1 / std::sqrt(6.0L);
    ExpectRow(s.GMM.Hdat, 0, {t6, 0, t6, 0, t6, 0, t6, 0, t6, 0, t6, 0, 0, 0});
    ExpectAppended(s.GMM, R);

    // Translations only (rotation and scale fixed by observations): still 1/2.
    GMMdDefekti samoT;
    samoT.wz = samoT.m2 = 0;
    GMMdTestMreza u(2, "*D H\n**H E1\n**H E2\n", p, 2, 0, samoT);
    u.dH.SetGMMdH();
    ASSERT_EQ(u.GMM.Hred.nrow(), 2u);
    ExpectRow(u.GMM.Hred, 1, {0, .5L, 0, 0, 0, .5L, 0, .5L, 0, 0, 0, .5L});
}

TEST(CGMMdH, OnlyForFreeNetworksWithoutSvd)
{
    // "SVD" copes with the defect itself: no rows, nothing built.
    GMMdTestMreza s(2, "*NUMSOLV SVD\n*D H\n", kTrikotnik);
    s.dH.SetGMMdH();
    EXPECT_EQ(s.GMM.Bmat.nrow(), 2u);
    EXPECT_EQ(s.GMM.Hdat.nrow(), 0u);
    ExpectAppended(s.GMM, matrika<long double>());

    // Other datum kinds: CGMMdH does nothing.
    GMMdTestMreza d(2, "*D D\n**DX A\n**DY A\n**DS A B\n", kTrikotnik);
    d.dH.SetGMMdH();
    for (long r = 2; r < 5; ++r)
        for (long c = 0; c < 7; ++c) EXPECT_EQ(d.GMM.Bmat(r, c), 0.0L);

    // Every defect fixed by the observations: no rows to append.
    GMMdDefekti nic;
    nic.tx = nic.ty = nic.wz = nic.m2 = 0;
    GMMdTestMreza n(2, "*D H\n", kTrikotnik, 2, 0, nic);
    n.dH.SetGMMdH();
    ExpectAppended(n.GMM, matrika<long double>());
}

TEST(CGMMdH, ConsoleTrace)
{
    GMMdDefekti d;
    d.m2 = 0;
    GMMdTestMreza m(2, "*CONTPRINT 1\n*D H\n", kTrikotnik, 2, 0, d);
    const std::string bs(7, '\b');
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { m.dH.SetGMMdH(); }),
              "C: CGMMdH:\n"
              " F: SetGMMdH -> SetHdat2() [2R H !=SVD]\n"
              " F: SetGMMdH -> SetHred2() [2R H !=SVD]\n"
              " F: SetGMMdH -> GMM.Bmat(GMM.Hred,GMM.nobs,0)\n"
              + std::string(" F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i) = 1.0 -> ") +
                  "      1" + bs + "      2" + bs + "      3" + bs + "\n\n");

    GMMdTestMreza h(1, "*CONTPRINT 1\n*D H\n", {{"R1", 1, 0, 0}, {"R2", 2, 0, 0}}, 1, 0);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { h.dH.SetGMMdH(); }),
              "C: CGMMdH:\n"
              " F: SetGMMdH -> SetHdat1() [1R H !=SVD]\n"
              " F: SetGMMdH -> SetHred1() [1R H !=SVD]\n"
              " F: SetGMMdH -> GMM.Bmat(GMM.Hred,GMM.nobs,0)\n"
              + std::string(" F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i) = 1.0 -> ") +
                  "      1" + bs + "\n\n");

    GMMdTestMreza p(3, "*CONTPRINT 1\n*D H\n", {{"A", 0, 0, 0}, {"B", 1, 2, 3}, {"C", 3, 1, 2}}, 1, 0, d);
    const std::string s = GMMdTestMreza::Konzola([&] { p.dH.SetGMMdH(); });
    const std::string zacetek = "C: CGMMdH:\n"
                                " F: SetGMMdH -> SetHdat3() [3R H !=SVD]\n"
                                " F: SetGMMdH -> SetHred3() [3R H !=SVD]\n";
    EXPECT_EQ(s.substr(0, zacetek.size()), zacetek);
    // Silent without the trace switch.
    GMMdTestMreza q(2, "*D H\n", kTrikotnik);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { q.dH.SetGMMdH(); }), "");
}

TEST(CGMMdH, Refusals)
{
    const auto Fatal = [](const std::function<void()>& f, const std::string& sporocilo) {
        const Izid r = RunChild(f);
        EXPECT_EQ(r.status, 1) << r.out;
        EXPECT_NE(r.out.find(sporocilo), std::string::npos) << r.out;
    };
    // An excluded name that is not a point.
    Fatal(
        [] {
            GMMdTestMreza m(2, "*D H\n**H Q9\n", kTrikotnik);
            m.dH.SetGMMdH();
        },
        "  *****  TOCKA:        Q9  NE OBSTAJA V SEZNAMU TOCK!!!! *****");
    // Every point excluded.
    Fatal(
        [] {
            GMMdTestMreza m(1, "*D H\n**H R1\n**H R2\n", {{"R1", 1, 0, 0}, {"R2", 2, 0, 0}}, 1, 0);
            m.dH.SetGMMdH();
        },
        "\n\n **** Ni pravi podatek:    Matrika H(red) nima nobene datumske tocke (vse tocke izvzete z **H)      *** "
        "\n\n");
    // The datum points left stand on one spot: no rotation about them.
    Fatal(
        [] {
            GMMdTestMreza m(2, "*D H\n**H C\n", {{"A", 5, 5, 0}, {"B", 5, 5, 0}, {"C", 9, 1, 0}});
            m.dH.SetGMMdH();
        },
        "\n\n **** Ni pravi podatek:    Datumske tocke matrike H(red) ne dolocajo rotacije okoli osi Z "
        "(tocke sovpadajo ali lezijo na osi rotacije)      *** \n\n");
    // Spatial points on one line along x: no rotation about x.
    Fatal(
        [] {
            GMMdTestMreza m(3, "*D H\n", {{"A", 0, 1, 2}, {"B", 5, 1, 2}, {"C", 9, 1, 2}});
            m.dH.SetGMMdH();
        },
        "\n\n **** Ni pravi podatek:    Datumske tocke matrike H ne dolocajo rotacije okoli osi X "
        "(tocke sovpadajo ali lezijo na osi rotacije)      *** \n\n");
}

TEST(CGMMdH, ThroughTheModel)
{
    // The model sizes H from the observations it finds: directions and
    // distances leave tx, ty and wz, so H has three rows below the
    // observation rows.
    const std::string pot = TempDir("gmmdh_model") + "/prosta.dat";
    WriteFile(pot, "*DIM 2\n*AU DEG\n*NUMSOLV CH\n*D H\n**H T4\n"
                   "X T1 1000.00 2000.00\nX T2 1400.00 2100.00\nX T3 1300.00 1600.00\nX T4 900.00 1700.00\n"
                   "S T1 T2 0 1\nS T1 T3 90 1\nS T1 T4 180 1\n"
                   "D T1 T2 412.31 2\nD T2 T3 509.90 2\nD T3 T4 447.21 2\n*K\n");
    std::ostringstream rep;
    CProcSet procset;
    CGDatum gdatum;
    CTerObsDir TODir, TOZen, TOAzi;
    CTerObsAngl TOAngl(TODir);
    CTerObsCrd TOCrd;
    CTerObsCrdA TOCrdA;
    CTerObsDist TODist2, TODist3;
    CTerObsH TOH;
    CTerObsHA TOHA;
    CTerObsHdif TOHdif;
    CTerObsVec TOVec;
    CTerObsPara TOPara;
    procset.ReadProcSet(pot, rep);
    gdatum.ReadGDatum(pot, rep, 0);
    CGetObs obs;
    obs.SetCTerObs(procset, TODir, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi, TOPara);
    obs.ReadCTerObs(procset, TODir, TOAngl, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi,
                    TOPara, pot);
    CGMM GMM(procset, gdatum, TOAngl, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi,
             TOPara);
    GMM.DataSum(rep);
    GMM.DataSet();
    GMM.GMMResetIndex();
    CGMMdH dH(procset, gdatum, TOHA, TOCrdA, GMM);
    dH.SetGMMdH();
    ASSERT_EQ(GMM.nobs, 5);
    ASSERT_EQ(GMM.Hred.nrow(), 3u);
    ASSERT_EQ(GMM.Bmat.nrow(), 8u);
    // Datum points T1..T3: centroid (1233.33, 1900), translation entries 1/sqrt(3).
    const long double r3 = 1 / std::sqrt(3.0L);
    EXPECT_NEAR(static_cast<double>(GMM.Bmat(5, 0)), static_cast<double>(r3), 1e-15);
    EXPECT_EQ(GMM.Bmat(5, 6), 0.0L);
    EXPECT_NEAR(static_cast<double>(GMM.Bmat(6, 3)), static_cast<double>(r3), 1e-15);
    const long double xs = 3700.0L / 3, ys = 1900.0L;
    const long double sq = (1000 - xs) * (1000 - xs) + 100 * 100 + (1400 - xs) * (1400 - xs) + 200 * 200 +
                           (1300 - xs) * (1300 - xs) + 300 * 300;
    EXPECT_NEAR(static_cast<double>(GMM.Bmat(7, 0)), static_cast<double>(-(2000 - ys) / std::sqrt(sq)), 1e-15);
    EXPECT_NEAR(static_cast<double>(GMM.Bmat(7, 5)), static_cast<double>((1300 - xs) / std::sqrt(sq)), 1e-15);
    for (long r = 5; r < 8; ++r) EXPECT_EQ(GMM.Qll(r, 1), 1.0L);
}
