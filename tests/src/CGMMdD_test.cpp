// Minimal constraints: every kind of D row against derivatives derived
// independently (by hand, and by finite differences of the observation
// functions at a generic geometry), given coordinates taken out of pair
// rows, the rows appended to the model, the trace and the refusals.
#include "GMMdTestMreza.h"

namespace {

const std::vector<GMMdTocka> kProstor = {{"P1", 100.0L, 200.0L, 50.0L},
                                         {"P2", 130.7L, 245.3L, 58.9L},
                                         {"P3", 171.2L, 190.4L, 41.6L},
                                         {"P4", 95.5L, 260.8L, 62.3L}};

// Expected pair row: sign * gradient, with the listed given coordinates
// (point, coordinate) set to 0, scaled to unit length; one extra zero column.
std::vector<long double> Pricakovana(const GMMdFunkcija& f, long double sign,
                                     const std::vector<std::pair<int, int>>& dane)
{
    std::vector<long double> u;
    for (const GMMdTocka& t : kProstor) u.insert(u.end(), {t.x, t.y, t.z});
    std::vector<long double> g = GMMdGradient(f, u);
    for (auto [p, k] : dane) g[3 * p + k] = 0.0L;
    long double s = 0.0L;
    for (long double v : g) s += v * v;
    for (long double& v : g) v = sign * v / std::sqrt(s);
    g.push_back(0.0L);
    return g;
}

long double Dx(const std::vector<long double>& u, int i, int j, int k) { return u[3 * j + k] - u[3 * i + k]; }

}  // namespace

TEST(CGMMdD, SpatialRowsOfEveryKind)
{
    // File order mixes the kinds; the rows come in the fixed kind order.
    // Given: x of P1 and P4, y and z of P1.
    GMMdTestMreza m(3,
                    "*D D\n**DZen P2 P3\n**DX P1\n**DD P3 P4\n**DdX P2 P3\n**DY P1\n**DS P2 P4\n**DZ P1\n"
                    "**DdY P2 P3\n**DX P4\n**DdZ P3 P4\n**DdX P1 P4\n**DD P1 P2\n",
                    kProstor, 2, 1);
    ASSERT_EQ(m.gdatum.nD, 12);
    m.dD.SetGMMdD();
    const matrika<long double>& D = m.GMM.Ddat;
    ASSERT_EQ(D.nrow(), 12u);
    const double e = 1e-15, fd = 1e-9;
    std::vector<long double> v(13, 0.0L);
    auto Ena = [&v](int c, long double x) { std::fill(v.begin(), v.end(), 0.0L); v[c] = x; return v; };
    GMMdExpectRow(D, 0, Ena(0, 1), e);   // **DX P1
    GMMdExpectRow(D, 1, Ena(9, 1), e);   // **DX P4
    GMMdExpectRow(D, 2, Ena(1, 1), e);   // **DY P1
    GMMdExpectRow(D, 3, Ena(2, 1), e);   // **DZ P1
    const long double r2 = 1 / std::sqrt(2.0L);
    Ena(3, -r2);                     // **DdX P2 P3: -1, +1 scaled
    v[6] = r2;
    GMMdExpectRow(D, 4, v, e);
    GMMdExpectRow(D, 5, Ena(0, 0), e);   // **DdX P1 P4: both x given, zero row
    Ena(4, -r2);                     // **DdY P2 P3
    v[7] = r2;
    GMMdExpectRow(D, 6, v, e);
    Ena(8, -r2);                     // **DdZ P3 P4
    v[11] = r2;
    GMMdExpectRow(D, 7, v, e);

    // Grid bearing atan2(dx, dy), distance and zenith distance atan2(s, dz).
    const GMMdFunkcija smer = [](const std::vector<long double>& u) {
        return std::atan2(Dx(u, 1, 3, 0), Dx(u, 1, 3, 1));
    };
    const auto dolzina = [](int i, int j) {
        return GMMdFunkcija([i, j](const std::vector<long double>& u) {
            return std::sqrt(Dx(u, i, j, 0) * Dx(u, i, j, 0) + Dx(u, i, j, 1) * Dx(u, i, j, 1) +
                             Dx(u, i, j, 2) * Dx(u, i, j, 2));
        });
    };
    const GMMdFunkcija zenitna = [](const std::vector<long double>& u) {
        return std::atan2(std::hypot(Dx(u, 1, 2, 0), Dx(u, 1, 2, 1)), Dx(u, 1, 2, 2));
    };
    // Bearing and distance rows carry the derivative, the zenith row its
    // negative (the coefficients of the zenith-distance equation).
    GMMdExpectRow(D, 8, Pricakovana(smer, 1, {{3, 0}}), fd);
    GMMdExpectRow(D, 9, Pricakovana(dolzina(2, 3), 1, {{3, 0}}), fd);
    GMMdExpectRow(D, 10, Pricakovana(dolzina(0, 1), 1, {{0, 0}, {0, 1}, {0, 2}}), fd);
    GMMdExpectRow(D, 11, Pricakovana(zenitna, -1, {}), fd);

    // Hdat is built as well (the solution needs it for the cofactors).
    ASSERT_EQ(m.GMM.Hdat.nrow(), 7u);
    EXPECT_NEAR(static_cast<double>(m.GMM.Hdat(0, 0)), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(m.GMM.Hdat(2, 11)), 0.5, 1e-15);

    GMMdExpectAppended(m.GMM, D);
}

TEST(CGMMdD, PlaneAndLevellingByHand)
{
    // A(0,0) given in x and y, B(3,4), C(3,0).  Bearing A->B keeps only B:
    // (dy, -dx)/s^2 = (4, -3)/25, unit length (0.8, -0.6).  Distance B->C:
    // (-dx, -dy)/d at B = (0, 1), at C (0, -1), scaled by 1/sqrt(2).
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 3, 0, 0}};
    GMMdTestMreza m(2, "*NUMSOLV SVD\n*D D\n**DD B C\n**DS A B\n**DY A\n**DX A\n", t, 1, 0);
    m.dD.SetGMMdD();
    const matrika<long double>& D = m.GMM.Ddat;
    ASSERT_EQ(D.nrow(), 4u);
    const long double r2 = 1 / std::sqrt(2.0L);
    GMMdExpectRow(D, 0, {1, 0, 0, 0, 0, 0}, 0);
    GMMdExpectRow(D, 1, {0, 1, 0, 0, 0, 0}, 0);
    GMMdExpectRow(D, 2, {0, 0, 0.8L, -0.6L, 0, 0}, 1e-15);
    GMMdExpectRow(D, 3, {0, 0, 0, r2, 0, -r2}, 1e-15);
    GMMdExpectAppended(m.GMM, D);  // with "SVD" too
    const long double r3 = 1 / std::sqrt(3.0L);
    GMMdExpectRow(m.GMM.Hdat, 0, {r3, 0, r3, 0, r3, 0}, 1e-15);

    // A bearing whose both points are fully given: zero row, row still counted.
    GMMdTestMreza z(2, "*D D\n**DX A\n**DY A\n**DX B\n**DY B\n**DS A B\n**DD A C\n", t, 1, 0);
    z.dD.SetGMMdD();
    GMMdExpectRow(z.GMM.Ddat, 4, {0, 0, 0, 0, 0, 0}, 0);
    GMMdExpectRow(z.GMM.Ddat, 5, {0, 0, 0, 0, 1, 0}, 1e-15);

    // Levelling: "**DH" puts 1 in the height column; H is 1/sqrt(3) everywhere.
    GMMdTestMreza h(1, "*D D\n**DH R2\n", {{"R1", 10, 0, 0}, {"R2", 12, 0, 0}, {"R3", 9, 0, 0}}, 2, 1);
    h.dD.SetGMMdD();
    GMMdExpectRow(h.GMM.Ddat, 0, {0, 1, 0, 0}, 0);
    GMMdExpectRow(h.GMM.Hdat, 0, {r3, r3, r3, 0}, 1e-15);
    GMMdExpectAppended(h.GMM, h.GMM.Ddat);

    // Other kinds: CGMMdD does nothing.
    GMMdTestMreza f(2, "*D H\n", t, 1, 0);
    f.dD.SetGMMdD();
    EXPECT_EQ(f.GMM.Bmat(1, 0), 0.0L);
    EXPECT_EQ(f.GMM.Hdat(0, 0), 0.0L);
}

TEST(CGMMdD, ConsoleTrace)
{
    // The spatial H step has always been announced under the name of SetDdat3.
    const std::string bs(7, '\b');
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 3, 0, 1}};
    const char* kraj[] = {"", "**DH A\n", "**DX A\n**DY A\n**DS A B\n", "**DZ A\n"};
    const char* h[] = {"", "SetHdat1() [1R H]", "SetHdat2() [2R H]", "SetDdat3() [3R H]"};
    for (unsigned short dim : {1, 2, 3}) {
        GMMdTestMreza m(dim, std::string("*CONTPRINT 1\n*D D\n") + kraj[dim], t, 1, 0);
        const std::string n = std::to_string(dim);
        std::string pricakovano = std::string("C: SetGMMdD:\n F: SetGMMdD -> ") + h[dim] + "\n" +
                                  " F: SetGMMdD -> SetDdat" + n + "() [" + n + "R D]\n" +
                                  " F: SetGMMdD -> GMM.Bmat(GMM.Ddat,GMM.nobs,0)\n" +
                                  " F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i)=1.0 -> ";
        for (int i = 1; i <= m.gdatum.nD; ++i) pricakovano += "      " + std::to_string(i) + bs;
        EXPECT_EQ(GMMdTestMreza::Konzola([&] { m.dD.SetGMMdD(); }), pricakovano + "\n\n");
    }
    GMMdTestMreza q(2, "*D D\n**DX A\n", t, 1, 0);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { q.dD.SetGMMdD(); }), "");
}

TEST(CGMMdD, Refusals)
{
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 0, 0, 5}, {"E", 0, 0, 0}};
    const std::string np = " **** Ni pravi podatek:    Datumska kolicina ";
    const struct {
        unsigned short dim;
        const char* datum;
        std::string sporocilo;
    } primeri[] = {
        {2, "**DX A\n**DS A Q9\n", "  *****  TOCKA:        Q9  NE OBSTAJA V SEZNAMU TOCK!!!! *****"},
        {3, "**DZen Q8 A\n", "  *****  TOCKA:        Q8  NE OBSTAJA V SEZNAMU TOCK!!!! *****"},
        {2, "**DX A\n**DZ A\n", "\n\n" + np + "**DZ ni mozna v 2R mrezi      *** \n\n"},
        {2, "**DdZ A B\n", np + "**DdZ ni mozna v 2R mrezi      *** "},
        {2, "**DZen A B\n", np + "**DZen ni mozna v 2R mrezi      *** "},
        {3, "**DH A\n", np + "**DH ni mozna v 3R mrezi      *** "},
        {1, "**DX A\n", np + "**DX ni mozna v 1R mrezi      *** "},
        {1, "**DH A\n**DD A B\n", np + "**DD ni mozna v 1R mrezi      *** "},
        {2, "**DdX B B\n", np + "**DdX B - B: ista tocka je podana dvakrat      *** "},
        // Coincident points: the quantity has no direction to differentiate.
        {2, "**DS A E\n", np + "**DS A - E: horizontalna dolzina med tockama je 0      *** "},
        {2, "**DD E A\n", np + "**DD E - A: horizontalna dolzina med tockama je 0      *** "},
        {3, "**DD A E\n", np + "**DD A - E: dolzina med tockama je 0      *** "},
        {3, "**DS A C\n", np + "**DS A - C: horizontalna dolzina med tockama je 0      *** "},
        {3, "**DZen A C\n", np + "**DZen A - C: horizontalna dolzina med tockama je 0      *** "},
    };
    for (const auto& p : primeri)
        GMMdExpectFatal(
            [&] {
                GMMdTestMreza m(p.dim, std::string("*D D\n") + p.datum, t, 1, 0);
                m.dD.SetGMMdD();
            },
            p.sporocilo);
    // ... but a distance to a point straight above is fine.
    GMMdTestMreza m(3, "*D D\n**DD A C\n", t, 1, 0);
    m.dD.SetGMMdD();
    GMMdExpectRow(m.GMM.Ddat, 0, {0, 0, -1 / std::sqrt(2.0L), 0, 0, 0, 0, 0, 1 / std::sqrt(2.0L), 0, 0, 0}, 1e-15);
}
