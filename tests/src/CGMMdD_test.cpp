// Minimal constraints: every kind of D row against derivatives derived
// independently (by hand, and by finite differences of the observation
// functions at a generic geometry), given coordinates taken out of pair
// rows, the rows appended to the model, the trace and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "GMMdTestMreza.h"

namespace {

using Funkcija = std::function<long double(const std::vector<long double>&)>;

const std::vector<GMMdTocka> kProstor = {{"P1", 100.0L, 200.0L, 50.0L},
                                         {"P2", 130.7L, 245.3L, 58.9L},
                                         {"P3", 171.2L, 190.4L, 41.6L},
                                         {"P4", 95.5L, 260.8L, 62.3L}};

std::vector<long double> Gradient(const Funkcija& f, std::vector<long double> u)
{
    const long double h = 1e-5L;
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

// Expected pair row: sign * gradient, with the listed given coordinates
// (point, coordinate) set to 0, scaled to unit length; one extra zero column.
std::vector<long double> Pricakovana(const Funkcija& f, long double sign,
                                     const std::vector<std::pair<int, int>>& dane)
{
    std::vector<long double> u;
    for (const GMMdTocka& t : kProstor) u.insert(u.end(), {t.x, t.y, t.z});
    std::vector<long double> g = Gradient(f, u);
    for (auto [p, k] : dane) g[3 * p + k] = 0.0L;
    long double s = 0.0L;
    for (long double v : g) s += v * v;
    for (long double& v : g) v = sign * v / std::sqrt(s);
    g.push_back(0.0L);
    return g;
}

void ExpectRow(const matrika<long double>& D, long r, const std::vector<long double>& v, double tol)
{
    ASSERT_EQ(D.ncol(), v.size());
    for (std::size_t c = 0; c < v.size(); ++c)
        EXPECT_NEAR(static_cast<double>(D(r, static_cast<long>(c))), static_cast<double>(v[c]), tol)
            << "row " << r << " column " << c;
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
    ExpectRow(D, 0, Ena(0, 1), e);   // **DX P1
    ExpectRow(D, 1, Ena(9, 1), e);   // **DX P4
    ExpectRow(D, 2, Ena(1, 1), e);   // **DY P1
    ExpectRow(D, 3, Ena(2, 1), e);   // **DZ P1
    const long double r2 = 1 / std::sqrt(2.0L);
    Ena(3, -r2);                     // **DdX P2 P3: -1, +1 scaled
    v[6] = r2;
    ExpectRow(D, 4, v, e);
    ExpectRow(D, 5, Ena(0, 0), e);   // **DdX P1 P4: both x given, zero row
    Ena(4, -r2);                     // **DdY P2 P3
    v[7] = r2;
    ExpectRow(D, 6, v, e);
    Ena(8, -r2);                     // **DdZ P3 P4
    v[11] = r2;
    ExpectRow(D, 7, v, e);

    // Grid bearing atan2(dx, dy), distance and zenith distance atan2(s, dz).
    const Funkcija smer = [](const std::vector<long double>& u) {
        return std::atan2(Dx(u, 1, 3, 0), Dx(u, 1, 3, 1));
    };
    const auto dolzina = [](int i, int j) {
        return Funkcija([i, j](const std::vector<long double>& u) {
            return std::sqrt(Dx(u, i, j, 0) * Dx(u, i, j, 0) + Dx(u, i, j, 1) * Dx(u, i, j, 1) +
                             Dx(u, i, j, 2) * Dx(u, i, j, 2));
        });
    };
    const Funkcija zenitna = [](const std::vector<long double>& u) {
        return std::atan2(std::hypot(Dx(u, 1, 2, 0), Dx(u, 1, 2, 1)), Dx(u, 1, 2, 2));
    };
    // Bearing and distance rows carry the derivative, the zenith row its
    // negative (the coefficients of the zenith-distance equation).
    ExpectRow(D, 8, Pricakovana(smer, 1, {{3, 0}}), fd);
    ExpectRow(D, 9, Pricakovana(dolzina(2, 3), 1, {{3, 0}}), fd);
    ExpectRow(D, 10, Pricakovana(dolzina(0, 1), 1, {{0, 0}, {0, 1}, {0, 2}}), fd);
    ExpectRow(D, 11, Pricakovana(zenitna, -1, {}), fd);

    // Hdat is built as well (the solution needs it for the cofactors).
    ASSERT_EQ(m.GMM.Hdat.nrow(), 7u);
    EXPECT_NEAR(static_cast<double>(m.GMM.Hdat(0, 0)), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(m.GMM.Hdat(2, 11)), 0.5, 1e-15);

    // Appended below the untouched observation rows, f 0, cofactor 1.
    for (long c = 0; c < 13; ++c) {
        EXPECT_EQ(m.GMM.Bmat(0, c), kSentinelB);
        EXPECT_EQ(m.GMM.Bmat(1, c), kSentinelB);
        for (long r = 0; r < 12; ++r) EXPECT_EQ(m.GMM.Bmat(2 + r, c), D(r, c));
    }
    for (long r = 2; r < 14; ++r) {
        EXPECT_EQ(m.GMM.fvec(r, 0), 0.0L);
        EXPECT_EQ(m.GMM.Qll(r, 0), 0.0L);
        EXPECT_EQ(m.GMM.Qll(r, 1), 1.0L);
        EXPECT_EQ(m.GMM.Qll(r, 2), 0.0L);
    }
    EXPECT_EQ(m.GMM.fvec(1, 0), kSentinelF);
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
    ExpectRow(D, 0, {1, 0, 0, 0, 0, 0}, 0);
    ExpectRow(D, 1, {0, 1, 0, 0, 0, 0}, 0);
    ExpectRow(D, 2, {0, 0, 0.8L, -0.6L, 0, 0}, 1e-15);
    ExpectRow(D, 3, {0, 0, 0, r2, 0, -r2}, 1e-15);
    // With "SVD" too the rows are appended.
    ASSERT_EQ(m.GMM.Bmat.nrow(), 5u);
    EXPECT_EQ(m.GMM.Bmat(3, 2), D(2, 2));
    EXPECT_EQ(m.GMM.Qll(4, 1), 1.0L);
    const long double r3 = 1 / std::sqrt(3.0L);
    ExpectRow(m.GMM.Hdat, 0, {r3, 0, r3, 0, r3, 0}, 1e-15);

    // A bearing whose both points are fully given: zero row, row still counted.
    GMMdTestMreza z(2, "*D D\n**DX A\n**DY A\n**DX B\n**DY B\n**DS A B\n**DD A C\n", t, 1, 0);
    z.dD.SetGMMdD();
    ExpectRow(z.GMM.Ddat, 4, {0, 0, 0, 0, 0, 0}, 0);
    ExpectRow(z.GMM.Ddat, 5, {0, 0, 0, 0, 1, 0}, 1e-15);

    // Levelling: "**DH" puts 1 in the height column; H is 1/sqrt(3) everywhere.
    GMMdTestMreza h(1, "*D D\n**DH R2\n", {{"R1", 10, 0, 0}, {"R2", 12, 0, 0}, {"R3", 9, 0, 0}}, 2, 1);
    h.dD.SetGMMdD();
    ExpectRow(h.GMM.Ddat, 0, {0, 1, 0, 0}, 0);
    ExpectRow(h.GMM.Hdat, 0, {r3, r3, r3, 0}, 1e-15);
    EXPECT_EQ(h.GMM.Bmat(2, 1), 1.0L);
    EXPECT_EQ(h.GMM.Bmat(1, 1), kSentinelB);

    // Other kinds: CGMMdD does nothing.
    GMMdTestMreza f(2, "*D H\n", t, 1, 0);
    f.dD.SetGMMdD();
    EXPECT_EQ(f.GMM.Bmat(1, 0), 0.0L);
    EXPECT_EQ(f.GMM.Hdat(0, 0), 0.0L);
}

TEST(CGMMdD, ConsoleTrace)
{
    const std::string bs(7, '\b');
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 3, 0, 1}};
    GMMdTestMreza m(2, "*CONTPRINT 1\n*D D\n**DX A\n**DY A\n**DS A B\n", t, 1, 0);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { m.dD.SetGMMdD(); }),
              "C: SetGMMdD:\n"
              " F: SetGMMdD -> SetHdat2() [2R H]\n"
              " F: SetGMMdD -> SetDdat2() [2R D]\n"
              " F: SetGMMdD -> GMM.Bmat(GMM.Ddat,GMM.nobs,0)\n"
              + std::string(" F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i)=1.0 -> ") +
                  "      1" + bs + "      2" + bs + "      3" + bs + "\n\n");
    GMMdTestMreza p(3, "*CONTPRINT 1\n*D D\n**DZ A\n", t, 1, 0);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { p.dD.SetGMMdD(); }),
              "C: SetGMMdD:\n"
              " F: SetGMMdD -> SetDdat3() [3R H]\n"
              " F: SetGMMdD -> SetDdat3() [3R D]\n"
              " F: SetGMMdD -> GMM.Bmat(GMM.Ddat,GMM.nobs,0)\n"
              + std::string(" F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i)=1.0 -> ") +
                  "      1" + bs + "\n\n");
    GMMdTestMreza h(1, "*CONTPRINT 1\n*D D\n**DH R1\n", {{"R1", 1, 0, 0}, {"R2", 2, 0, 0}}, 1, 0);
    const std::string s = GMMdTestMreza::Konzola([&] { h.dD.SetGMMdD(); });
    const std::string zacetek = "C: SetGMMdD:\n F: SetGMMdD -> SetHdat1() [1R H]\n F: SetGMMdD -> SetDdat1() [1R D]\n";
    EXPECT_EQ(s.substr(0, zacetek.size()), zacetek);
    GMMdTestMreza q(2, "*D D\n**DX A\n", t, 1, 0);
    EXPECT_EQ(GMMdTestMreza::Konzola([&] { q.dD.SetGMMdD(); }), "");
}

TEST(CGMMdD, Refusals)
{
    const auto Fatal = [](unsigned short dim, const std::string& datum, const std::vector<GMMdTocka>& t,
                          const std::string& sporocilo) {
        const Izid r = RunChild([&] {
            GMMdTestMreza m(dim, "*D D\n" + datum, t, 1, 0);
            m.dD.SetGMMdD();
        });
        EXPECT_EQ(r.status, 1) << datum << r.out;
        EXPECT_NE(r.out.find(sporocilo), std::string::npos) << datum << r.out;
    };
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 0, 0, 5}, {"E", 0, 0, 0}};
    const std::string konec = "      *** \n\n";
    Fatal(2, "**DX A\n**DS A Q9\n", t, "  *****  TOCKA:        Q9  NE OBSTAJA V SEZNAMU TOCK!!!! *****");
    Fatal(3, "**DZen Q8 A\n", t, "  *****  TOCKA:        Q8  NE OBSTAJA V SEZNAMU TOCK!!!! *****");
    Fatal(2, "**DX A\n**DZ A\n", t,
          "\n\n **** Ni pravi podatek:    Datumska kolicina **DZ ni mozna v 2R mrezi" + konec);
    Fatal(2, "**DdZ A B\n", t, " **** Ni pravi podatek:    Datumska kolicina **DdZ ni mozna v 2R mrezi" + konec);
    Fatal(2, "**DZen A B\n", t, " **** Ni pravi podatek:    Datumska kolicina **DZen ni mozna v 2R mrezi" + konec);
    Fatal(3, "**DH A\n", t, " **** Ni pravi podatek:    Datumska kolicina **DH ni mozna v 3R mrezi" + konec);
    Fatal(1, "**DX A\n", t, " **** Ni pravi podatek:    Datumska kolicina **DX ni mozna v 1R mrezi" + konec);
    Fatal(1, "**DH A\n**DD A B\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DD ni mozna v 1R mrezi" + konec);
    Fatal(2, "**DdX B B\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DdX B - B: ista tocka je podana dvakrat" + konec);
    // Coincident points: the quantity has no direction to differentiate.
    Fatal(2, "**DS A E\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DS A - E: horizontalna dolzina med tockama je 0" + konec);
    Fatal(2, "**DD E A\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DD E - A: horizontalna dolzina med tockama je 0" + konec);
    Fatal(3, "**DD A E\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DD A - E: dolzina med tockama je 0" + konec);
    Fatal(3, "**DS A C\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DS A - C: horizontalna dolzina med tockama je 0" + konec);
    Fatal(3, "**DZen A C\n", t,
          " **** Ni pravi podatek:    Datumska kolicina **DZen A - C: horizontalna dolzina med tockama je 0" +
              konec);
    // ... but a distance to a point straight above is fine.
    const Izid ok = RunChild([&] {
        GMMdTestMreza m(3, "*D D\n**DD A C\n", t, 1, 0);
        m.dD.SetGMMdD();
        std::cout << m.GMM.Ddat(0, 2) << " " << m.GMM.Ddat(0, 8);
    });
    EXPECT_EQ(ok.status, 0);
    EXPECT_NE(ok.out.find("-0.707107 0.707107"), std::string::npos) << ok.out;
}
