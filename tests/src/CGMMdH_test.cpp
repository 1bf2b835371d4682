// Inner constraints of a free network: H and H(red) against hand values, the
// null-space property B * H' = 0 against finite-difference derivatives of
// the observation functions, the rows appended to the model, the trace and
// the refusals.
#include <numbers>

#include "GMMdTestMreza.h"
#include "src/CGetObs.h"

namespace {

long double D(const std::vector<long double>& u, int dim, int i, int j, int k) { return u[dim * j + k] - u[dim * i + k]; }

long double Dolzina(const std::vector<long double>& u, int dim, int i, int j)
{
    long double s = 0.0L;
    for (int k = 0; k < dim; ++k) s += D(u, dim, i, j, k) * D(u, dim, i, j, k);
    return std::sqrt(s);
}

// Composed angle at s from j to k; bearings from the second axis towards the first.
long double Kot(const std::vector<long double>& u, int s, int j, int k)
{
    const long double a = std::atan2(D(u, 2, s, k, 0), D(u, 2, s, k, 1)) - std::atan2(D(u, 2, s, j, 0), D(u, 2, s, j, 1));
    return a < 0 ? a + 2 * std::numbers::pi_v<long double> : a;
}

long double Zenitna(const std::vector<long double>& u, int i, int j)
{
    return std::atan2(std::hypot(D(u, 3, i, j, 0), D(u, 3, i, j, 1)), D(u, 3, i, j, 2));
}

std::vector<long double> Koordinate(const std::vector<GMMdTocka>& t, int dim)
{
    std::vector<long double> u;
    for (const GMMdTocka& p : t) u.insert(u.end(), {p.x, p.y, p.z});
    if (dim == 2)
        for (std::size_t p = 0; p < t.size(); ++p) u.erase(u.begin() + static_cast<long>(2 * p + 2));
    return u;
}

double Produkt(const std::vector<long double>& g, const matrika<long double>& H, long r)
{
    long double s = 0.0L;
    for (std::size_t c = 0; c < g.size(); ++c) s += g[c] * H(r, static_cast<long>(c));
    return static_cast<double>(s);
}

const std::vector<GMMdTocka> kTrikotnik = {{"A", 0, 0, 0}, {"B", 6, 0, 0}, {"C", 0, 6, 0}};
const std::vector<GMMdTocka> kMreza = {{"1", 512.31, 1204.77, 310.2}, {"2", 890.05, 1377.42, 355.9},
                                       {"3", 1103.66, 905.18, 298.4}, {"4", 640.12, 713.93, 402.7},
                                       {"5", 955.48, 1150.07, 330.0}};
constexpr double kE = 1e-15;

}  // namespace

TEST(CGMMdH, PlaneNetworkByHand)
{
    // Centroid (2, 2); rotation and scale rows have the sum of squares 48.
    GMMdTestMreza m(2, "*NUMSOLV QRGIV\n*D H\n", kTrikotnik);
    m.dH.SetGMMdH();
    const long double t = 1 / std::sqrt(3.0L), q = 1 / std::sqrt(48.0L);
    const matrika<long double>& H = m.GMM.Hdat;
    ASSERT_EQ(H.nrow(), 4u);
    GMMdExpectRow(H, 0, {t, 0, t, 0, t, 0, 0}, kE);
    GMMdExpectRow(H, 1, {0, t, 0, t, 0, t, 0}, kE);
    GMMdExpectRow(H, 2, {2 * q, -2 * q, 2 * q, 4 * q, -4 * q, -2 * q, 0}, kE);
    GMMdExpectRow(H, 3, {-2 * q, -2 * q, 4 * q, -2 * q, -2 * q, 4 * q, 0}, kE);
    // No point excluded: H(red) is H, entry for entry.
    GMMdExpectRow(m.GMM.Hred, 2, {2 * q, -2 * q, 2 * q, 4 * q, -4 * q, -2 * q, 0}, 0);
    GMMdExpectAppended(m.GMM, m.GMM.Hred);

    // Distances fix the scale: three rows.  The rows follow the approximate
    // values of each iteration: B to (12, 0) gives the centroid (4, 2) and
    // the sum of squares 120.
    GMMdDefekti d;
    d.m2 = 0;
    GMMdTestMreza s(2, "*D H\n", kTrikotnik, 3, 0, d);
    s.TOCrdA.OBS(1, 0) = 12;
    s.dH.SetGMMdH();
    ASSERT_EQ(s.GMM.Hdat.nrow(), 3u);
    const long double q2 = 1 / std::sqrt(120.0L);
    GMMdExpectRow(s.GMM.Hdat, 2, {2 * q2, -4 * q2, 2 * q2, 8 * q2, -4 * q2, -4 * q2}, kE);
    GMMdExpectAppended(s.GMM, s.GMM.Hred);
}

TEST(CGMMdH, SpatialNetworkByHand)
{
    // Centroid (0.5, 0.5, 0.5).  Rotation about x: -(z-zs), (y-ys), sum of
    // squares 6; common scale: sum of squares 9; scale of z alone: 3.
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 2, 0, 0}, {"C", 0, 2, 0}, {"D", 0, 0, 2}};
    GMMdTestMreza m(3, "*D H\n", t, 1, 0);
    m.dH.SetGMMdH();
    const matrika<long double>& H = m.GMM.Hdat;
    ASSERT_EQ(H.nrow(), 7u);
    const long double h = 0.5L, r = 1 / std::sqrt(6.0L), k = 1 / 3.0L;
    GMMdExpectRow(H, 2, {0, 0, h, 0, 0, h, 0, 0, h, 0, 0, h}, kE);
    GMMdExpectRow(H, 3, {0, h * r, -h * r, 0, h * r, -h * r, 0, h * r, 3 * h * r, 0, -3 * h * r, -h * r}, kE);
    GMMdExpectRow(H, 6, {-h * k, -h * k, -h * k, 3 * h * k, -h * k, -h * k, -h * k, 3 * h * k, -h * k, -h * k,
                         -h * k, 3 * h * k}, kE);

    GMMdDefekti samoZ;  // horizontal scale fixed, height scale free
    samoZ.m2 = 0;
    GMMdTestMreza z(3, "*D H\n", t, 1, 0, samoZ);
    z.dH.SetGMMdH();
    const long double r3 = 1 / std::sqrt(3.0L);
    GMMdExpectRow(z.GMM.Hdat, 6, {0, 0, -h * r3, 0, 0, -h * r3, 0, 0, -h * r3, 0, 0, 3 * h * r3}, kE);
    GMMdExpectAppended(z.GMM, z.GMM.Hred);
}

TEST(CGMMdH, ConstraintsSpanTheDefectOfDistancesAndAngles)
{
    // Plane, distances and composed angles: translations and rotation remain.
    const std::vector<long double> u = Koordinate(kMreza, 2);
    std::vector<GMMdFunkcija> dolzine, koti;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            dolzine.push_back([i, j](const std::vector<long double>& x) { return Dolzina(x, 2, i, j); });
    for (auto [s, j, k] : {std::tuple{0, 1, 2}, {2, 3, 4}, {4, 0, 3}})
        koti.push_back([s, j, k](const std::vector<long double>& x) { return Kot(x, s, j, k); });
    GMMdDefekti d;
    d.m2 = 0;
    GMMdTestMreza m(2, "*D H\n", kMreza, 1, 0, d);
    m.dH.SetGMMdH();
    ASSERT_EQ(m.GMM.Hdat.nrow(), 3u);
    for (const auto* skupina : {&dolzine, &koti})
        for (const GMMdFunkcija& f : *skupina)
            for (long r = 0; r < 3; ++r) EXPECT_NEAR(Produkt(GMMdGradient(f, u), m.GMM.Hdat, r), 0.0, 1e-12);

    // Angles alone leave the scale free too; a distance is not scale-free.
    GMMdTestMreza a(2, "*D H\n", kMreza, 1, 0);
    a.dH.SetGMMdH();
    for (const GMMdFunkcija& f : koti)
        for (long r = 0; r < 4; ++r) EXPECT_NEAR(Produkt(GMMdGradient(f, u), a.GMM.Hdat, r), 0.0, 1e-12);
    EXPECT_GT(std::fabs(Produkt(GMMdGradient(dolzine[0], u), a.GMM.Hdat, 3)), 0.1);
    // Unit rows; translations orthogonal to rotation and scale.
    for (long r = 0; r < 4; ++r) {
        long double s = 0.0L, o = 0.0L;
        for (long c = 0; c < 10; ++c) {
            s += a.GMM.Hdat(r, c) * a.GMM.Hdat(r, c);
            o += a.GMM.Hdat(r, c) * a.GMM.Hdat(r < 2 ? 2 : 0, c);
        }
        EXPECT_NEAR(static_cast<double>(s), 1.0, kE);
        EXPECT_NEAR(static_cast<double>(o), 0.0, kE);
    }

    // Space, spatial distances: three translations and three rotations remain.
    // A zenith distance keeps the translations and the rotation about the
    // vertical, but not the two tilts.
    const std::vector<long double> w = Koordinate(kMreza, 3);
    GMMdDefekti p;
    p.m2 = p.m3 = 0;
    GMMdTestMreza s(3, "*D H\n", kMreza, 1, 0, p);
    s.dH.SetGMMdH();
    ASSERT_EQ(s.GMM.Hdat.nrow(), 6u);
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j) {
            const auto g = GMMdGradient([i, j](const std::vector<long double>& x) { return Dolzina(x, 3, i, j); }, w);
            const auto z = GMMdGradient([i, j](const std::vector<long double>& x) { return Zenitna(x, i, j); }, w);
            for (long r = 0; r < 6; ++r) EXPECT_NEAR(Produkt(g, s.GMM.Hdat, r), 0.0, 1e-12);
            for (long r : {0L, 1L, 2L, 5L}) EXPECT_NEAR(Produkt(z, s.GMM.Hdat, r), 0.0, 1e-12);
            EXPECT_GT(std::fabs(Produkt(z, s.GMM.Hdat, 3)) + std::fabs(Produkt(z, s.GMM.Hdat, 4)), 1e-6);
        }
}

TEST(CGMMdH, LevellingAndExcludedPoints)
{
    const std::vector<GMMdTocka> t = {{"R1", 301.2, 0, 0}, {"R2", 299.7, 0, 0}, {"R3", 305.5, 0, 0},
                                      {"R4", 310.0, 0, 0}};
    GMMdTestMreza m(1, "*D H\n**H R3\n", t, 3, 1);
    m.dH.SetGMMdH();
    const long double r3 = 1 / std::sqrt(3.0L);
    GMMdExpectRow(m.GMM.Hdat, 0, {0.5L, 0.5L, 0.5L, 0.5L, 0}, kE);
    GMMdExpectRow(m.GMM.Hred, 0, {r3, r3, 0, r3, 0}, kE);
    GMMdExpectAppended(m.GMM, m.GMM.Hred);

    // Plane: four datum points on a square (centroid (2, 2), sum of squares
    // 32) and two far points left out by "**H": their columns stay zero and
    // they move neither the centroid nor the normalisation; H keeps them.
    const std::vector<GMMdTocka> p = {{"P1", 0, 0, 0}, {"E1", 100, 50, 0}, {"P2", 4, 0, 0},
                                      {"P3", 4, 4, 0}, {"E2", -30, 70, 0}, {"P4", 0, 4, 0}};
    GMMdTestMreza s(2, "*D H\n**H E1\n**H E2\n", p, 2, 2);
    s.dH.SetGMMdH();
    const long double k = 2 / std::sqrt(32.0L), h = .5L, t6 = 1 / std::sqrt(6.0L);
    const matrika<long double>& R = s.GMM.Hred;
    GMMdExpectRow(R, 0, {h, 0, 0, 0, h, 0, h, 0, 0, 0, h, 0, 0, 0}, kE);
    GMMdExpectRow(R, 2, {k, -k, 0, 0, k, k, -k, k, 0, 0, -k, -k, 0, 0}, kE);
    GMMdExpectRow(R, 3, {-k, -k, 0, 0, k, -k, k, k, 0, 0, -k, k, 0, 0}, kE);
    GMMdExpectRow(s.GMM.Hdat, 1, {0, t6, 0, t6, 0, t6, 0, t6, 0, t6, 0, t6, 0, 0}, kE);
    GMMdExpectAppended(s.GMM, R);

    // Translations only (rotation and scale fixed by observations): still 1/2.
    GMMdDefekti samoT;
    samoT.wz = samoT.m2 = 0;
    GMMdTestMreza u(2, "*D H\n**H E1\n**H E2\n", p, 2, 0, samoT);
    u.dH.SetGMMdH();
    ASSERT_EQ(u.GMM.Hred.nrow(), 2u);
    GMMdExpectRow(u.GMM.Hred, 1, {0, h, 0, 0, 0, h, 0, h, 0, 0, 0, h}, kE);
}

TEST(CGMMdH, OnlyForFreeNetworksWithoutSvd)
{
    // "SVD" copes with the defect itself; other kinds are not CGMMdH's; a
    // network whose observations fix every defect has no rows to append.
    GMMdTestMreza s(2, "*NUMSOLV SVD\n*D H\n", kTrikotnik);
    s.dH.SetGMMdH();
    EXPECT_EQ(s.GMM.Hdat.nrow(), 0u);
    GMMdExpectAppended(s.GMM, matrika<long double>());
    GMMdTestMreza d(2, "*D D\n**DX A\n**DY A\n**DS A B\n", kTrikotnik);
    d.dH.SetGMMdH();
    for (long r = 2; r < 5; ++r) EXPECT_EQ(d.GMM.Bmat(r, 0) + d.GMM.Qll(r, 1), 0.0L);
    GMMdDefekti nic;
    nic.tx = nic.ty = nic.wz = nic.m2 = 0;
    GMMdTestMreza n(2, "*D H\n", kTrikotnik, 2, 0, nic);
    n.dH.SetGMMdH();
    GMMdExpectAppended(n.GMM, matrika<long double>());
}

TEST(CGMMdH, ConsoleTrace)
{
    const std::string bs(7, '\b');
    const std::string qll = " F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i) = 1.0 -> ";
    GMMdDefekti d;
    d.m2 = d.m3 = 0;
    for (unsigned short dim : {1, 2, 3}) {
        GMMdTestMreza m(dim, "*CONTPRINT 1\n*D H\n", kTrikotnik, 2, 0, d);
        const std::string n = std::to_string(dim);
        std::string pricakovano = "C: CGMMdH:\n F: SetGMMdH -> SetHdat" + n + "() [" + n + "R H !=SVD]\n" +
                                  " F: SetGMMdH -> SetHred" + n + "() [" + n + "R H !=SVD]\n" +
                                  " F: SetGMMdH -> GMM.Bmat(GMM.Hred,GMM.nobs,0)\n" + qll;
        for (int i = 1; i <= m.GMM.nHdat; ++i) pricakovano += "      " + std::to_string(i) + bs;
        EXPECT_EQ(GMMdTestMreza::Konzola([&] { m.dH.SetGMMdH(); }), pricakovano + "\n\n");
    }
    GMMdTestMreza q(2, "*D H\n", kTrikotnik);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { q.dH.SetGMMdH(); }), "");
}

TEST(CGMMdH, Refusals)
{
    const auto Ends = [](unsigned short dim, const std::string& datum, const std::vector<GMMdTocka>& t,
                         const std::string& sporocilo) {
        GMMdExpectFatal(
            [&] {
                GMMdTestMreza m(dim, "*D H\n" + datum, t, 1, 0);
                m.dH.SetGMMdH();
            },
            sporocilo);
    };
    Ends(2, "**H Q9\n", kTrikotnik, "  *****  TOCKA:        Q9  NE OBSTAJA V SEZNAMU TOCK!!!! *****");
    Ends(1, "**H A\n**H B\n**H C\n", kTrikotnik,
         "\n\n **** Ni pravi podatek:    Matrika H(red) nima nobene datumske tocke (vse tocke izvzete z **H)"
         "      *** \n\n");
    // The datum points left stand on one spot: no rotation about them.
    Ends(2, "**H C\n", {{"A", 5, 5, 0}, {"B", 5, 5, 0}, {"C", 9, 1, 0}},
         "\n\n **** Ni pravi podatek:    Datumske tocke matrike H(red) ne dolocajo rotacije okoli osi Z "
         "(tocke sovpadajo ali lezijo na osi rotacije)      *** \n\n");
    // Spatial points on one line along x: no rotation about x.
    Ends(3, "", {{"A", 0, 1, 2}, {"B", 5, 1, 2}, {"C", 9, 1, 2}},
         "\n\n **** Ni pravi podatek:    Datumske tocke matrike H ne dolocajo rotacije okoli osi X "
         "(tocke sovpadajo ali lezijo na osi rotacije)      *** \n\n");
}

TEST(CGMMdH, ThroughTheModel)
{
    // The model sizes H from the observations it finds: directions and
    // distances leave tx, ty and wz, three rows below the five observations.
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
    CGMMdH(procset, gdatum, TOHA, TOCrdA, GMM).SetGMMdH();
    ASSERT_EQ(GMM.nobs, 5);
    ASSERT_EQ(GMM.Bmat.nrow(), 8u);
    // Datum points T1..T3: translations 1/sqrt(3), T4 left out; rotation
    // about the centroid (3700/3, 1900).
    const long double r3 = 1 / std::sqrt(3.0L), xs = 3700.0L / 3;
    const long double n = std::sqrt((1000 - xs) * (1000 - xs) + (1400 - xs) * (1400 - xs) +
                                    (1300 - xs) * (1300 - xs) + 100 * 100 + 200 * 200 + 300 * 300);
    GMMdExpectRow(GMM.Bmat, 5, {r3, 0, r3, 0, r3, 0, 0, 0}, kE);
    GMMdExpectRow(GMM.Bmat, 7, {-100 / n, (1000 - xs) / n, -200 / n, (1400 - xs) / n, 300 / n, (1300 - xs) / n,
                                  0, 0}, kE);
    for (long r = 5; r < 8; ++r) EXPECT_EQ(GMM.Qll(r, 1), 1.0L);
}
