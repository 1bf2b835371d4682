// Minimal constraints: every kind of D row against derivatives derived
// independently (by hand, and by finite differences of the observation
// functions at a generic geometry), given coordinates taken out of pair
// rows, the rows appended to the model, the trace and the refusals.
#include "GMMEqTestMreza.h"

namespace {

using U = std::vector<long double>;

long double Dx(const U& u, int i, int j, int k) { return u[3 * j + k] - u[3 * i + k]; }

// The approximate coordinates of the point list, point p from u[Dim * p].
std::vector<long double> GMMdKoordinate(const GMMEqTestMreza& m)
{
    std::vector<long double> u;
    for (long p = 0; p < static_cast<long>(m.TO.TOCrdA.NObs()); ++p)
        for (long k = 0; k < m.procset.GetDim(); ++k) u.push_back(m.TO.TOCrdA.GetOBS(p, k));
    return u;
}

// Gradient of f by central differences; h = 1e-3 keeps the rounding of
// values of some 1e3 m near 1e-16 / h, the truncation far below it.
std::vector<long double> GMMdGradient(const std::function<long double(const std::vector<long double>&)>& f,
                                             std::vector<long double> u)
{
    const long double h = 1e-3L;
    std::vector<long double> g(u.size());
    for (std::size_t c = 0; c < u.size(); ++c) {
        const long double u0 = u[c];
        u[c] = u0 + h;
        const long double fp = f(u);
        u[c] = u0 - h;
        g[c] = (fp - f(u)) / (2 * h);
        u[c] = u0;
    }
    return g;
}

// Expected pair row: sign * gradient, with the listed given coordinates
// (point, coordinate) set to 0, scaled to unit length, padded with zeros to n columns.
U Pricakovana(const std::function<long double(const U&)>& f, long double sign,
              const std::vector<std::pair<int, int>>& dane, const U& u, std::size_t n)
{
    U g = GMMdGradient(f, u);
    for (auto [p, k] : dane) g[3 * p + k] = 0.0L;
    long double s = 0.0L;
    for (long double v : g) s += v * v;
    for (long double& v : g) v = sign * v / std::sqrt(s);
    g.resize(n, 0.0L);
    return g;
}


}  // namespace

TEST(CGMMdD, SpatialRowsOfEveryKind)
{
    // File order mixes the kinds; the rows come in the fixed kind order.
    // Given: x of P1 and P4, y and z of P1.  P4's velocity takes columns 12..14.
    const auto m = GMMdDatum("*DIM 3\n*XVT 2000\n*D D\n**DZen P2 P3\n**DX P1\n**DD P3 P4\n**DdX P2 P3\n**DY P1\n"
                       "**DS P2 P4\n**DZ P1\n**DdY P2 P3\n**DX P4\n**DdZ P3 P4\n**DdX P1 P4\n**DD P1 P2\n"
                         "X P1 100 200 50 0\nX P2 130.7 245.3 58.9 0\nX P3 171.2 190.4 41.6 0\nX P4 95.5 260.8 62.3 1\n"
                       "L P1 P2 55 1 2001\nL P3 P4 99 1 2001\n");
    ASSERT_EQ(m->gdatum.nD, 12);
    ASSERT_EQ(m->GMM.nunk, 15);
    const matrika<long double>& D = m->GMM.Ddat;
    ASSERT_EQ(D.nrow(), 12u);
    const long double r2 = 1 / std::sqrt(2.0L);
    const auto V = [](std::vector<std::pair<int, long double>> e) {
        U v(15, 0.0L);
        for (auto [c, x] : e) v[c] = x;
        return v;
    };
    // **DX P1, **DX P4, **DY P1, **DZ P1; **DdX P2 P3 (-1, +1 scaled), **DdX P1 P4
    // (both x given: zero row), **DdY P2 P3, **DdZ P3 P4.
    const U rocno[] = {V({{0, 1}}), V({{9, 1}}), V({{1, 1}}), V({{2, 1}}), V({{3, -r2}, {6, r2}}), V({}),
                       V({{4, -r2}, {7, r2}}), V({{8, -r2}, {11, r2}})};
    for (long r = 0; r < 8; ++r) GMMdExpectRow(D, r, rocno[r], 1e-15);

    // Grid bearing atan2(dx, dy), distance and zenith distance atan2(s, dz).
    const auto smer = [](const U& u) { return std::atan2(Dx(u, 1, 3, 0), Dx(u, 1, 3, 1)); };
    const auto dolzina = [](int i, int j) {
        return [i, j](const U& u) { return std::hypot(Dx(u, i, j, 0), Dx(u, i, j, 1), Dx(u, i, j, 2)); };
    };
    const auto zenitna = [](const U& u) {
        return std::atan2(std::hypot(Dx(u, 1, 2, 0), Dx(u, 1, 2, 1)), Dx(u, 1, 2, 2));
    };
    // Bearing and distance rows carry the derivative, the zenith row its
    // negative (the coefficients of the zenith-distance equation).
    const U u = GMMdKoordinate(*m);
    const double fd = 1e-9;
    GMMdExpectRow(D, 8, Pricakovana(smer, 1, {{3, 0}}, u, 15), fd);
    GMMdExpectRow(D, 9, Pricakovana(dolzina(2, 3), 1, {{3, 0}}, u, 15), fd);
    GMMdExpectRow(D, 10, Pricakovana(dolzina(0, 1), 1, {{0, 0}, {0, 1}, {0, 2}}, u, 15), fd);
    GMMdExpectRow(D, 11, Pricakovana(zenitna, -1, {}, u, 15), fd);
    GMMdExpectAppended(m->GMM, D);
}

TEST(CGMMdD, PlaneAndLevellingByHand)
{
    // A(0,0) given in x and y, B(3,4), C(3,0).  Bearing A->B keeps only B:
    // (dy, -dx)/s^2 = (4, -3)/25, unit length (0.8, -0.6).  Distance B->C:
    // (-dx, -dy)/d at B = (0, 1), at C (0, -1), scaled by 1/sqrt(2).
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 3, 0, 0}};
    const auto m = GMMdDatum(GMMdBesedilo(2, "*NUMSOLV SVD\n*D D\n**DD B C\n**DS A B\n**DY A\n**DX A\n", t, "D A B 5 1\n"));
    const matrika<long double>& D = m->GMM.Ddat;
    ASSERT_EQ(D.nrow(), 4u);
    GMMdExpectRow(D, 2, {0, 0, 0.8L, -0.6L, 0, 0}, 1e-15);
    GMMdExpectRow(D, 3, {0, 0, 0, 1 / std::sqrt(2.0L), 0, -1 / std::sqrt(2.0L)}, 1e-15);
    GMMdExpectAppended(m->GMM, D);   // with "SVD" too

    // A bearing whose both points are fully given: zero row, row still counted.
    const auto z = GMMdDatum(GMMdBesedilo(2, "*D D\n**DX A\n**DY A\n**DX B\n**DY B\n**DS A B\n**DD A C\n", t, "D A B 5 1\n"));
    GMMdExpectRow(z->GMM.Ddat, 4, {0, 0, 0, 0, 0, 0}, 0);
    GMMdExpectRow(z->GMM.Ddat, 5, {0, 0, 0, 0, 1, 0}, 1e-15);

    // Levelling: "**DH" puts 1 in the height column, none in R3's velocity column.
    const auto h = GMMdDatum("*DIM 1\n*XVT 2000\n*D D\n**DH R2\nX R1 10 0\nX R2 12 0\nX R3 9 1\nh R1 R2 2 1 2001\n");
    GMMdExpectRow(h->GMM.Ddat, 0, {0, 1, 0, 0}, 0);
    GMMdExpectRow(h->GMM.Hdat, 0, {1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L), 0}, 1e-15);
    GMMdExpectAppended(h->GMM, h->GMM.Ddat);
}

TEST(CGMMdD, DistanceToAPointStraightAbove)
{
    // Coinciding points are refused (see the refusal table); a distance to
    // a point straight above is fine.
    const std::vector<GMMdTocka> t = {{"A", 0, 0, 0}, {"B", 3, 4, 0}, {"C", 0, 0, 5}};
    const auto m = GMMdDatum(GMMdBesedilo(3, "*D D\n**DD A C\n", t, "L A B 5 1\n"));
    GMMdExpectRow(m->GMM.Ddat, 0, {0, 0, -1 / std::sqrt(2.0L), 0, 0, 0, 0, 0, 1 / std::sqrt(2.0L)}, 1e-15);
}
