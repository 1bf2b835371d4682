// Equations of distances, composed angles, zenith distances, azimuths and
// angles between directions: every coefficient against a central-difference
// derivative of the misclosure, misclosures against closed forms (atan2,
// hypot), the full-turn reduction of angular misclosures, the band of
// correlated composed angles, refraction coefficients, velocity columns, the
// equation print with its trace, and the refusal of coinciding points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "GMMEqTestMreza.h"
#include "src/CGMMEqAngl.h"
#include "src/CGMMEqAzi.h"
#include "src/CGMMEqDist.h"
#include "src/CGMMEqPara.h"
#include "src/CGMMEqZen.h"

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kRo = 180.0L * 3600.0L / kPi;   // arc seconds per radian

// A whole network with the linear builders of GMMEqTestMreza and the six
// non-linear ones, called in the program's kind order.
struct NelinMreza {
    explicit NelinMreza(const std::string& besedilo)
        : m(besedilo),
          D2(m.procset, m.TODist2, m.TOCrdA, m.GMM),
          D3(m.procset, m.TODist3, m.TOCrdA, m.GMM),
          S(m.procset, m.TOAngl, m.TOCrdA, m.GMM),
          Z(m.procset, m.TOZen, m.TOCrdA, m.GMM),
          A(m.procset, m.TOAzi, m.TOCrdA, m.GMM),
          P(m.procset, m.TOPara, m.TOCrdA, m.GMM)
    {
        m.Model();
    }
    void Enacbe()
    {
        m.Enacbe();
        D2.SetGMMEq();
        D3.SetGMMEq();
        S.SetGMMEq();
        A.SetGMMEq();
        P.SetGMMEq();
        Z.SetGMMEq();
    }
    std::string Izpis()
    {
        m.GMM.GMMResetIndex();
        std::ostringstream s;
        s << m.Izpis();
        D2.PrintGMMEq(s);
        D3.PrintGMMEq(s);
        S.PrintGMMEq(s);
        A.PrintGMMEq(s);
        P.PrintGMMEq(s);
        Z.PrintGMMEq(s);
        return s.str();
    }
    std::vector<long double> F() const
    {
        std::vector<long double> f;
        for (long r = 0; r < m.GMM.nobs; ++r) f.push_back(m.GMM.fvec(r));
        return f;
    }

    GMMEqTestMreza m;
    CGMMEqDist D2, D3;
    CGMMEqAngl S;
    CGMMEqZen Z;
    CGMMEqAzi A;
    CGMMEqPara P;
};

// Central difference of every misclosure by one parameter: -(f(x+h) - f(x-h)) / 2h,
// which is the coefficient of that parameter under v + B*delta = f.
std::vector<long double> NumOdvod(NelinMreza& n, long double& x, long double h)
{
    const long double x0 = x;
    x = x0 + h;
    n.Enacbe();
    const std::vector<long double> fp = n.F();
    x = x0 - h;
    n.Enacbe();
    const std::vector<long double> fm = n.F();
    x = x0;
    n.Enacbe();
    std::vector<long double> d(fp.size());
    for (std::size_t r = 0; r < fp.size(); ++r) d[r] = -(fp[r] - fm[r]) / (2.0L * h);
    return d;
}

// Every observation row of B, column by column, against the numerical
// derivatives by the point coordinates; a column of a coordinate that the
// row does not depend on must hold 0.  Returns the largest difference.
long double PreveriJacobi(NelinMreza& n, long double tol)
{
    n.Enacbe();
    const CGMM& G = n.m.GMM;
    long double najvec = 0.0L;
    const long dim = n.m.procset.GetDim();
    for (long p = 0; p < static_cast<long>(n.m.TOCrdA.NObs()); ++p) {
        if (G.iDeltaB(p) < 0) continue;
        for (long k = 0; k < dim; ++k) {
            const long col = G.iDeltaB(p) + k;
            const std::vector<long double> d = NumOdvod(n, n.m.TOCrdA.OBS(p, k), 1e-3L);
            for (long r = 0; r < G.nobs; ++r) {
                const long double raz = std::fabs(G.Bmat(r, col) - d[static_cast<std::size_t>(r)]);
                najvec = std::max(najvec, raz);
                EXPECT_LE(raz, tol) << "row " << r << " point " << n.m.TOCrdA.PTS(p) << " coordinate " << k
                                    << ": B " << static_cast<double>(G.Bmat(r, col)) << " numerical "
                                    << static_cast<double>(d[static_cast<std::size_t>(r)]);
            }
        }
    }
    return najvec;
}

// Closed forms, independent of the program's bearing routine.
struct Tocka {
    const char* ime;
    long double x, y, z;
};

long double Smer(const Tocka& a, const Tocka& b)
{
    long double nu = std::atan2(b.x - a.x, b.y - a.y);
    if (nu < 0) nu += 2.0L * kPi;
    return nu;
}
long double Dolzina2(const Tocka& a, const Tocka& b) { return std::hypot(b.x - a.x, b.y - a.y); }
long double Dolzina3(const Tocka& a, const Tocka& b) { return std::hypot(Dolzina2(a, b), b.z - a.z); }
long double Zenit(const Tocka& a, const Tocka& b) { return std::atan2(Dolzina2(a, b), b.z - a.z); }
long double Stopinje(long double rad) { return rad * 180.0L / kPi; }

std::string Stevilo(long double v)
{
    char b[64];
    std::snprintf(b, sizeof b, "%.10Lf", v);
    return b;
}

// A network around station O with sights into all four quadrants, up and
// down, and observations that name one point twice.  F is fixed.
const std::vector<Tocka> kTocke = {{"F", 1000, 1000, 300},  {"O", 1500, 1500, 320},  {"NE", 2100, 2300, 410},
                                   {"SE", 2200, 900, 250},  {"SW", 900, 750, 330},   {"NW", 1100, 2400, 305}};

const Tocka& T(const std::string& ime)
{
    for (const Tocka& t : kTocke)
        if (ime == t.ime) return t;
    throw std::logic_error("no point " + ime);
}

// Data file (angles in decimal degrees) and, in the row order of the model,
// the computed value of every observation by the closed forms.  Observed
// values are the computed ones plus small deviations.
struct Primer {
    std::string besedilo;
    std::vector<long double> racun;
};

Primer Mreza(int dim)
{
    Primer p;
    std::string s = "*DIM " + std::to_string(dim) + "\n*AU DEG\n*D V\n**V F\n";
    for (const Tocka& t : kTocke) {
        s += std::string("X ") + t.ime + " " + Stevilo(t.x) + " " + Stevilo(t.y);
        if (dim == 3) s.append(" ").append(Stevilo(t.z));
        s += "\n";
    }
    const std::vector<std::pair<std::string, std::string>> d2 = {{"O", "NE"}, {"SW", "NW"}, {"F", "O"}};
    for (const auto& [a, b] : d2) {
        s += "D " + a + " " + b + " " + Stevilo(Dolzina2(T(a), T(b)) + 0.004L) + " 2.0\n";
        p.racun.push_back(Dolzina2(T(a), T(b)));
    }
    if (dim == 3) {
        // The last one is vertical: only the heights differ.
        const std::vector<std::pair<std::string, std::string>> d3 = {{"O", "NE"}, {"SE", "SW"}, {"F", "NW"}};
        for (const auto& [a, b] : d3) {
            s += "L " + a + " " + b + " " + Stevilo(Dolzina3(T(a), T(b)) - 0.003L) + " 2.0\n";
            p.racun.push_back(Dolzina3(T(a), T(b)));
        }
    }
    // Direction sets at O (three angles) and at NE (one angle), the readings
    // 5 degrees right of the first target and off by a few seconds.
    const std::vector<std::vector<std::string>> nizi = {{"O", "NE", "SE", "SW", "NW"}, {"NE", "O", "SW"}};
    for (const auto& niz : nizi) {
        const long double nic = Smer(T(niz[0]), T(niz[1]));
        for (std::size_t j = 1; j < niz.size(); ++j) {
            long double r =
                Stopinje(Smer(T(niz[0]), T(niz[j])) - nic) + 5.0L + (static_cast<long double>(j) - 2.0L) / 3600.0L;
            if (r < 0) r += 360.0L;
            s += "S " + niz[0] + " " + niz[j] + " " + Stevilo(r) + " 1.0\n";
            if (j > 1) {
                long double kot = Smer(T(niz[0]), T(niz[j])) - Smer(T(niz[0]), T(niz[j - 1]));
                if (kot < 0) kot += 2.0L * kPi;
                p.racun.push_back(kot);
            }
        }
    }
    const std::vector<std::pair<std::string, std::string>> azi = {
        {"O", "NE"}, {"O", "SE"}, {"O", "SW"}, {"O", "NW"}, {"F", "O"}};
    for (const auto& [a, b] : azi) {
        s += "A " + a + " " + b + " " + Stevilo(Stopinje(Smer(T(a), T(b))) + 2.5L / 3600.0L) + " 3.0\n";
        p.racun.push_back(Smer(T(a), T(b)));
    }
    // Common station; far point of one = station of the other (both ways);
    // one direction twice; four different points.
    const std::vector<std::vector<std::string>> para = {{"O", "NE", "O", "SW"},  {"NE", "SE", "SE", "NW"},
                                                        {"SW", "NW", "NE", "SW"}, {"O", "NE", "O", "NE"},
                                                        {"F", "O", "SE", "NW"}};
    for (const auto& q : para) {
        const long double kot = Smer(T(q[2]), T(q[3])) - Smer(T(q[0]), T(q[1]));
        s += "P " + q[0] + " " + q[1] + " " + q[2] + " " + q[3] + " " + Stevilo(Stopinje(kot) - 1.5L / 3600.0L) +
             " 2.0\n";
        p.racun.push_back(kot);
    }
    if (dim == 3) {
        // Above the horizon, below it, back, and from the fixed point.
        const std::vector<std::pair<std::string, std::string>> zen = {{"O", "NE"}, {"O", "SE"}, {"NE", "O"}, {"F", "O"}};
        for (const auto& [a, b] : zen) {
            s += "Z " + a + " " + b + " " + Stevilo(Stopinje(Zenit(T(a), T(b))) + 4.0L / 3600.0L) + " 2.0\n";
            p.racun.push_back(Zenit(T(a), T(b)));
        }
    }
    p.besedilo = s;
    return p;
}

// Observed values in the model's row order (the non-linear kinds only).
std::vector<long double> Opazovanja(const NelinMreza& n)
{
    std::vector<long double> l;
    for (const CTerObs* to : std::vector<const CTerObs*>{&n.m.TODist2, &n.m.TODist3, &n.m.TOAngl, &n.m.TOAzi,
                                                         &n.m.TOPara, &n.m.TOZen})
        for (long i = 0; i < static_cast<long>(to->NObs()); ++i) l.push_back(to->GetOBS(i, 0));
    return l;
}

}  // namespace

TEST(CGMMEqNelin, CoefficientsAreTheNegativeDerivativesAndMisclosuresTheClosedForms)
{
    for (int dim : {2, 3}) {
        SCOPED_TRACE("Dim " + std::to_string(dim));
        const Primer pr = Mreza(dim);
        NelinMreza n(pr.besedilo);
        ASSERT_EQ(static_cast<std::size_t>(n.m.GMM.nobs), pr.racun.size());
        n.Enacbe();
        EXPECT_EQ(n.m.GMM.iRowBin, n.m.GMM.nobs);

        // f = computed - observed, metres and radians.
        const std::vector<long double> l = Opazovanja(n);
        for (std::size_t r = 0; r < l.size(); ++r)
            EXPECT_NEAR(n.m.GMM.fvec(static_cast<long>(r)), pr.racun[r] - l[r], 1e-12L) << "row " << r;

        // The same direction twice: computed 0 and the coefficients cancel.
        const long rDvakrat = n.m.GMM.nobs - (dim == 3 ? 4 : 0) - 2;
        for (long c = 0; c < n.m.GMM.nunk; ++c) EXPECT_EQ(n.m.GMM.Bmat(rDvakrat, c), 0.0L);

        // Rows are rewritten, not accumulated: a second pass gives the same B.
        const matrika<long double> B1 = n.m.GMM.Bmat;
        n.Enacbe();
        for (long r = 0; r < n.m.GMM.nobs; ++r)
            for (long c = 0; c < n.m.GMM.nunk; ++c) ASSERT_EQ(n.m.GMM.Bmat(r, c), B1(r, c));

        // Coefficients are 1e-3 to 1; the differences stay near 1e-13.
        EXPECT_LT(PreveriJacobi(n, 1e-11L), 1e-11L);
    }
}

TEST(CGMMEqNelin, CoefficientOfAPointNamedTwiceIsTheSumOfItsParts)
{
    // O is the station of both directions: its coefficients from the two
    // bearings add up; writing them one after the other would keep only the
    // second, here (dy2/s2^2 - dy1/s1^2, ...) against the closed form.
    NelinMreza n("*DIM 2\n*AU DEG\n*D V\n**V F\nX F 0 0\nX O 100 100\nX A 400 500\nX B 100 -200\n"
                 "P O A O B 100 2\n");
    n.Enacbe();
    const long double s1 = 500.0L * 500.0L, s2 = 300.0L * 300.0L;   // (300,400) and (0,-300)
    // nu1 = bearing O->A, nu2 = bearing O->B; B_O = -d(nu2 - nu1)/dO = d nu2/dB - d nu1/dA.
    EXPECT_NEAR(n.m.GMM.Bmat(0, 0), (-300.0L / s2) - (400.0L / s1), 1e-15L);
    EXPECT_NEAR(n.m.GMM.Bmat(0, 1), (-0.0L / s2) - (-300.0L / s1), 1e-15L);
    EXPECT_NEAR(n.m.GMM.Bmat(0, 2), 400.0L / s1, 1e-15L);     // A: +d nu1
    EXPECT_NEAR(n.m.GMM.Bmat(0, 3), -300.0L / s1, 1e-15L);
    EXPECT_NEAR(n.m.GMM.Bmat(0, 4), 300.0L / s2, 1e-15L);     // B: -d nu2
    EXPECT_NEAR(n.m.GMM.Bmat(0, 5), 0.0L, 1e-15L);
}

TEST(CGMMEqNelin, FullTurnReductionOfAngularMisclosures)
{
    // Station O at the origin; a target at bearing 10 deg and others just
    // either side of it.
    const auto pt = [](const char* ime, long double stopinje) {
        const long double a = stopinje * kPi / 180.0L;
        return std::string("X ") + ime + " " + Stevilo(1000.0L * std::sin(a)) + " " + Stevilo(1000.0L * std::cos(a)) +
               "\n";
    };
    const std::string glava = "*DIM 2\n*AU DEG\n*CORKOT 0\n*D V\n**V O\nX O 0 0\n" + pt("A", 10.0L) +
                              pt("B", 9.99L) + pt("C", 10.01L) + pt("D", 30.0L) + pt("E", 350.0L);
    NelinMreza n(glava +
                 // Computed 359.99, observed 0.01: f reduced by one turn.
                 "S O A 0 1\nS O B 0.01 1\n"
                 // Computed 0.01, observed 359.99: f raised by one turn.
                 "S Q A 0 1\nS Q C 359.99 1\n"
                 // Directions 350 and 30 observe -320 against the computed 40.
                 "S R E 350 1\nS R D 30 1\n"
                 // An ordinary angle keeps its misclosure.
                 "S U A 0 1\nS U D 20.001 1\n"
                 // Bearings either side of zero, and an angle between
                 // directions computed as -340 against the observed 20.
                 "A O A 370 3\nA O C -349.98 3\nA O B 9.99 3\n"
                 "P O E O A 20 2\nP O A O E -20.0001 2\n" +
                 std::string("X Q 0 0\nX R 0 0\nX U 0 0\n"));
    n.Enacbe();
    const long double st = kPi / 180.0L;
    const std::vector<long double> f = n.F();
    ASSERT_EQ(f.size(), 9u);
    EXPECT_NEAR(f[0], -0.02L * st, 1e-12L);    // 359.99 - 0.01 - 360
    EXPECT_NEAR(f[1], 0.02L * st, 1e-12L);     // 0.01 - 359.99 + 360
    EXPECT_NEAR(f[2], 0.0L, 1e-12L);           // 40 - (-320) - 360
    EXPECT_NEAR(f[3], -0.001L * st, 1e-12L);   // 20 - 20.001, no turn
    EXPECT_NEAR(f[4], 0.0L, 1e-12L);           // 10 - 370 + 360
    EXPECT_NEAR(f[5], -0.01L * st, 1e-12L);    // 10.01 - (-349.98) - 360
    EXPECT_NEAR(f[6], 0.0L, 1e-12L);
    EXPECT_NEAR(f[7], 0.0L, 1e-12L);           // -340 - 20 + 360
    EXPECT_NEAR(f[8], 0.0001L * st, 1e-12L);   // 340 - (-20.0001) - 360
}

TEST(CGMMEqNelin, BandCofactorsOfCorrelatedComposedAngles)
{
    // Four directions at O give three angles that share directions, two at
    // A give one more; the sigmas are all different.
    const std::string mreza = "*DIM 2\n*AU DEG\n*D V\n**V O\nX O 0 0\nX A 100 0\nX B 0 100\nX C -100 0\n"
                              "X D 0 -100\n"
                              "S O A 0 1.0\nS O B 90 2.0\nS O C 180 3.0\nS O D 270 4.0\n"
                              "S A B 0 1.5\nS A C 45 2.5\n";
    const long double sek = kPi / 180.0L / 3600.0L;
    for (int korel : {1, 0}) {
        SCOPED_TRACE("CORKOT " + std::to_string(korel));
        NelinMreza n("*CORKOT " + std::to_string(korel) + "\n" + mreza);
        n.Enacbe();
        const CGMM& G = n.m.GMM;
        ASSERT_EQ(G.nobs, 4);
        EXPECT_EQ(G.Qlldiag, korel == 0);
        const long double So2 = G.So * G.So;
        const auto q = [&](long double s) { return s * s * sek * sek / So2; };
        const long double diag[4] = {q(1.0L) + q(2.0L), q(2.0L) + q(3.0L), q(3.0L) + q(4.0L), q(1.5L) + q(2.5L)};
        // Angle 0 shares direction O->B with angle 1, angle 1 shares O->C
        // with angle 2; angle 2 has a right neighbour of another station, and
        // the last angle of the set none.
        const long double desno[4] = {korel ? -q(2.0L) : 0.0L, korel ? -q(3.0L) : 0.0L, 0.0L, 0.0L};
        for (long r = 0; r < 4; ++r) {
            EXPECT_NEAR(G.Qll(r, 1), diag[r], 1e-14L * diag[r]) << r;
            EXPECT_NEAR(G.Qll(r, 2), desno[r], 1e-14L * diag[r]) << r;
            EXPECT_NEAR(G.Qll(r, 0), r > 0 ? desno[r - 1] : 0.0L, 1e-14L * diag[r]) << r;
        }
    }
}

TEST(CGMMEqZen, CurvatureRefractionAndRefractionCoefficients)
{
    const std::string tocke = "*DIM 3\n*AU DEG\n*D V\n**V P1\nX P1 0 0 100\nX P2 800 600 150\nX P3 -300 400 60\n";
    const std::string zen = "Z P1 P2 87.5 2\nZ P1 P3 94 2\nZ P2 P3 92 2\nZ P2 P1 92.6 2\nD P1 P2 1000 2\n";
    const Tocka P1{"P1", 0, 0, 100}, P2{"P2", 800, 600, 150}, P3{"P3", -300, 400, 60};
    const std::vector<std::pair<Tocka, Tocka>> pari = {{P1, P2}, {P1, P3}, {P2, P3}, {P2, P1}};
    const long double st = kPi / 180.0L;
    const long double l[4] = {87.5L * st, 94.0L * st, 92.0L * st, 92.6L * st};
    const long double R = 6379000.0L;
    const auto c = [&](std::size_t i) {
        const long double z0 = Zenit(pari[i].first, pari[i].second);
        const long double sn = std::sin(z0);
        return Dolzina2(pari[i].first, pari[i].second) / R / 2.0L * sn * sn;
    };

    {   // Neither curvature nor refraction: z0 - l exactly.
        NelinMreza n(tocke + zen);
        n.Enacbe();
        EXPECT_EQ(n.m.GMM.nunk, 6);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(n.m.GMM.fvec(static_cast<long>(i) + 1), Zenit(pari[i].first, pari[i].second) - l[i], 1e-15L);
    }
    {   // Curvature and a known coefficient: + c (1 - k), no unknown for it;
        // with "*OBSRES" only the term stays of the computed value.
        for (bool obsres : {false, true}) {
            NelinMreza n(std::string(obsres ? "*OBSRES\n" : "") + "*UKRZ\n*R_UKRZ 6379000\n*K_REF 0.13\n*KTYP NONE\n" +
                         tocke + zen);
            n.Enacbe();
            EXPECT_EQ(n.m.GMM.nunk, 6);
            for (std::size_t i = 0; i < 4; ++i) {
                const long double z0 = obsres ? 0.0L : Zenit(pari[i].first, pari[i].second);
                EXPECT_NEAR(n.m.GMM.fvec(static_cast<long>(i) + 1), z0 + c(i) * 0.87L - l[i], 1e-15L);
            }
        }
    }
    {   // One coefficient for the network: every zenith row carries c in the
        // same column, the current estimate replaces K_REF, and c is the
        // negative derivative of f by the coefficient.
        NelinMreza n("*UKRZ\n*R_UKRZ 6379000\n*K_REF 0.13\n*KTYP SINGLE\n" + tocke + zen);
        const CGMM& G = n.m.GMM;
        ASSERT_EQ(G.nunkkref, 1);
        const long col = G.iDeltaBk(0);
        EXPECT_EQ(col, 6);
        n.m.GMM.kRefEst(0) = 0.2L;
        n.Enacbe();
        EXPECT_EQ(G.Bmat(0, col), 0.0L);   // the distance row
        const std::vector<long double> d = NumOdvod(n, n.m.GMM.kRefEst(0), 0.01L);
        for (std::size_t i = 0; i < 4; ++i) {
            const long r = static_cast<long>(i) + 1;
            EXPECT_NEAR(G.Bmat(r, col), c(i), 1e-18L);
            EXPECT_NEAR(d[static_cast<std::size_t>(r)], c(i), 1e-15L);
            EXPECT_NEAR(G.fvec(r), Zenit(pari[i].first, pari[i].second) + c(i) * 0.8L - l[i], 1e-15L);
        }
    }
    {   // A coefficient per station: each station's rows use its own column.
        NelinMreza n("*UKRZ\n*KTYP STAT\n" + tocke + zen);
        const CGMM& G = n.m.GMM;
        ASSERT_EQ(G.nunkkref, 2);
        n.m.GMM.kRefEst(1) = 0.05L;
        n.Enacbe();
        for (std::size_t i = 0; i < 4; ++i) {
            const long r = static_cast<long>(i) + 1;
            const long q = G.PTSk(0) == pari[i].first.ime ? 0 : 1;
            ASSERT_EQ(G.PTSk(q), pari[i].first.ime);
            const long double ci = c(i) * R / 6371000.0L;   // default radius
            EXPECT_NEAR(G.Bmat(r, G.iDeltaBk(q)), ci, 1e-18L);
            EXPECT_EQ(G.Bmat(r, G.iDeltaBk(1 - q)), 0.0L);
            EXPECT_NEAR(G.fvec(r), Zenit(pari[i].first, pari[i].second) + ci * (1.0L - G.kRefEst(q)) - l[i], 1e-15L);
        }
    }
    {   // Velocity estimation switches the refraction off (with a warning);
        // the estimation kind left behind must not reach for a coefficient.
        const std::string v = "*XVT 2000\n*UKRZ\n*KTYP SINGLE\n*DIM 3\n*AU DEG\n*D V\n**V P1\n"
                              "X P1 0 0 100 0\nX P2 800 600 150 1\nX P3 -300 400 60 0\n"
                              "Z P1 P2 87.5 2 2001\n";
        NelinMreza n(v);
        EXPECT_EQ(n.m.GMM.nunkkref, 0);
        n.Enacbe();
        EXPECT_NEAR(n.m.GMM.fvec(0), Zenit(P1, P2) + c(0) * R / 6371000.0L - l[0], 1e-15L);
    }
}

TEST(CGMMEqNelin, VelocityColumnsAndCoordinatesCarriedToTheEpoch)
{
    // F is fixed but has velocity unknowns, A has coordinate unknowns only.
    // Epochs: distance 2010, angle 2004 (its first direction; the second is
    // 2012), bearing 2006, angle between directions 2008.
    NelinMreza n("*DIM 2\n*AU DEG\n*XVT 2000\n*XV0\n*D V\n**V F\n"
                 "X F 0 0 0.01 0.02 1\nX O 500 500 -0.01 0.005 1\nX A 900 1100 0.003 -0.004 0\n"
                 "X B 100 1200 0.0 0.01 1\n"
                 "D O A 721.1 2.0 2010\n"
                 "S O A 0 1 2004\nS O B 80 1 2012\n"
                 "A O B 320 3 2006\n"
                 "P F O O A 10 2 2008\n");
    n.Enacbe();
    const CGMM& G = n.m.GMM;
    ASSERT_EQ(G.nobs, 4);
    const long double dT[4] = {10.0L, 4.0L, 6.0L, 8.0L};
    long stolpcev = 0;
    for (long p = 0; p < 4; ++p) {
        if (G.iDeltaB(p) < 0 || G.iDeltaBV(p) < 0) continue;
        for (long r = 0; r < 4; ++r)
            for (long k = 0; k < 2; ++k, ++stolpcev)
                EXPECT_EQ(G.Bmat(r, G.iDeltaBV(p) + k), dT[r] * G.Bmat(r, G.iDeltaB(p) + k)) << r << " " << p;
    }
    EXPECT_EQ(stolpcev, 2 * 4 * 2);   // O and B
    // Velocity coefficients are the negative derivatives by the a-priori
    // velocities (which carry the coordinates to the epoch), F's included.
    for (long p = 0; p < 4; ++p) {
        if (G.iDeltaBV(p) < 0) continue;
        for (long k = 0; k < 2; ++k) {
            const std::vector<long double> d = NumOdvod(n, n.m.TOCrdA.VELA(p, k), 1e-4L);
            for (long r = 0; r < 4; ++r)
                EXPECT_NEAR(G.Bmat(r, G.iDeltaBV(p) + k), d[static_cast<std::size_t>(r)], 1e-10L) << r << " " << p;
        }
    }
    EXPECT_EQ(G.iDeltaBV(2), -1);
    EXPECT_LT(PreveriJacobi(n, 1e-11L), 1e-11L);

    // The distance at 2010 between O and A moved by ten years of velocity.
    const Tocka O{"O", 500.0L - 0.1L, 500.0L + 0.05L, 0}, A{"A", 900.0L + 0.03L, 1100.0L - 0.04L, 0};
    EXPECT_NEAR(G.fvec(0), Dolzina2(O, A) - 721.1L, 1e-12L);
}

namespace {
std::vector<std::string> Glava(const std::string& koef, const std::string& hitr, const std::string& f, bool v)
{
    return v ? std::vector<std::string>{koef, hitr + f} : std::vector<std::string>{koef + f};
}
}  // namespace

TEST(CGMMEqNelin, EquationPrintLinesAndHeaders)
{
    {   // Whole blocks of a distance and a bearing from a fixed point.
        NelinMreza n("*DIM 2\n*AU DEG\n*D V\n**V A\nX A 0 0\nX B 300 400\nD A B 500.0123 2.0\nA A B 36.87 3.0\n");
        n.Enacbe();
        const std::string hD = "         Z    S           CSX         CSY         CZX         CZY           f    ";
        const std::string hA = "          S     Z           CSX       CSY       CZX       CZY       f  ";
        const std::string cD(hD.size(), '-'), cA(hA.size(), '-');
        // d0 = 500, B of B = -(0.6, 0.8), f = -12.30 mm; bearing 36.869897...
        // deg, B of B = (-400, 300) / 500^2 * roSec, f = -0.368" .
        EXPECT_EQ(n.Izpis(), "HORIZONTALNE DOLZINE\n--------------------\n# enacb popravkov:              1\n\n" + hD +
                                 "\n" + cD + "\n" +
                                 "  1        A     B      ..........  .......... -0.60000000 -0.80000000     -12.30\n" +
                                 cD + "\n\n\n" +
                                 "AZIMUTI / SMERNI KOTI\n---------------------\n# enacb popravkov:              1\n\n" +
                                 hA + "\n" + cA + "\n" +
                                 "  1        A     B          ....      ....   -330.02    247.52    -0.37\n" + cA +
                                 "\n\n\n");
        EXPECT_EQ(n.m.GMM.iRowBout, 2);
    }
    for (bool v : {false, true}) {
        SCOPED_TRACE(v ? "with velocities" : "without velocities");
        const std::string x = v ? " 1" : "", t = v ? " 2001" : "";
        NelinMreza n(std::string("*DIM 3\n*AU GON\n*D V\n**V A\n") + (v ? "*XVT 2000\n" : "") + "X A 0 0 10" + x +
                     "\nX B 300 400 20" + x + "\nX C -200 100 5" + x + "\n" + "D A B 500 2" + t + "\nL A B 500.1 2" +
                     t + "\nS A B 0 1" + t + "\nS A C 100 1" + t + "\nA A B 40 3" + t + "\nP A B A C 100 2" + t +
                     "\nZ A B 99 2" + t + "\nZ A C 101 2" + t + "\n");
        n.Enacbe();
        const std::vector<std::string> l = Lines(n.Izpis());
        // Title, header lines, names and coefficients per equation, and the
        // indent of a velocity line of its own (-1: velocities on the same line).
        struct Blok {
            std::string naslov;
            std::vector<std::string> glava;
            std::size_t nImen, nKoef, nEq;
            int zamik;
        };
        const std::vector<Blok> bloki = {
            {"HORIZONTALNE DOLZINE",
             Glava("         Z    S           CSX         CSY         CZX         CZY",
                   "                          VSX         VSY         VZX         VZY", "           f    ", v),
             2, 4, 1, 22},
            {"PROSTORSKE DOLZINE",
             Glava("         Z    S           CSX         CSY         CSZ         CZX         CZY         CZZ",
                   "                          VSX         VSY         VSZ         VZX         VZY         VZZ",
                   "           f    ", v),
             2, 6, 1, 22},
            {"SESTAVLJENI HZ KOTI",
             Glava("          S    Z1    Z2           CSX       CSY      CZ1X      CZ1Y      CZ2X      CZ2Y",
                   "                                  VSX       VSY      VZ1X      VZ1Y      VZ2X      VZ2Y",
                   "       f  ", v),
             3, 6, 1, 28},
            {"AZIMUTI / SMERNI KOTI",
             Glava("          S     Z           CSX       CSY       CZX       CZY",
                   "                            VSX       VSY       VZX       VZY", "       f  ", v),
             2, 4, 1, -1},
            {"KOTI MED SMERMI",
             Glava("          S1    Z1    S2    Z2          CS1X      CS1Y      CZ1X      CZ1Y      CS2X      CS2Y      "
                   "CZ2X      CZ2Y",
                   "                                        VS1X      VS1Y      VZ1X      VZ1Y      VS2X      VS2Y      "
                   "VZ2X      VZ2Y",
                   "       f  ", v),
             4, 8, 1, -1},
            {"ZENITNE RAZDALJE",
             Glava("          S    Z           CSX       CSY       CSZ       CZX       CZY       CZZ",
                   "                           VSX       VSY       VSZ       VZX       VZY       VZZ", "       f  ", v),
             2, 6, 2, -1}};
        std::size_t i = 0;
        for (const Blok& k : bloki) {
            SCOPED_TRACE(k.naslov);
            ASSERT_LT(i + 5 + k.glava.size() + 2 * k.nEq, l.size());
            EXPECT_EQ(l[i], k.naslov);
            EXPECT_EQ(l[i + 1], std::string(k.naslov.size(), '-'));
            EXPECT_EQ(l[i + 2], "# enacb popravkov:" + std::string(14, ' ') + std::to_string(k.nEq));
            EXPECT_EQ(l[i + 3], "");
            i += 4;
            for (const std::string& g : k.glava) EXPECT_EQ(l[i++], g);
            const std::string crta(k.glava.back().size(), '-');
            EXPECT_EQ(l[i++], crta);
            // Distances: coefficients 12 wide, f 11; angular kinds 10 and 9.
            const bool dolzina = k.zamik == 22;
            const std::size_t w = dolzina ? 12 : 10, wf = dolzina ? 11 : 9;
            const bool svojaVrsta = v && k.zamik >= 0;
            for (std::size_t e = 0; e < k.nEq; ++e) {
                const std::string& vr = l[i++];
                EXPECT_EQ(vr.substr(0, 3), "  " + std::to_string(e + 1));
                EXPECT_NE(vr.find(dolzina ? "  .........." : "      ...."), std::string::npos);   // fixed A
                EXPECT_EQ(vr.size(), 10 + 6 * k.nImen + w * k.nKoef * (v && !svojaVrsta ? 2 : 1) + (svojaVrsta ? 0 : wf));
                if (svojaVrsta) {
                    const std::size_t z = static_cast<std::size_t>(k.zamik);
                    EXPECT_EQ(l[i].substr(0, z), std::string(z, ' '));
                    EXPECT_EQ(l[i].size(), z + w * k.nKoef + wf);
                    ++i;
                }
            }
            EXPECT_EQ(l[i++], crta);
            EXPECT_EQ(l[i++], "");
            EXPECT_EQ(l[i++], "");
        }
        EXPECT_EQ(i, l.size());
    }
    {   // Print switched off: nothing, the counter still follows the rows.
        NelinMreza n("*IZPENP 0\n*DIM 2\n*D V\n**V A\nX A 0 0\nX B 300 400\nD A B 500.0123 2.0\nA A B 36 52 12 3.0\n");
        n.Enacbe();
        EXPECT_EQ(n.Izpis(), "");
        EXPECT_EQ(n.m.GMM.iRowBout, 2);
    }
}

TEST(CGMMEqNelin, TraceCountsTheObservations)
{
    NelinMreza n("*CONTPRINT 1\n*DIM 3\n*AU DEG\n*D V\n**V A\nX A 0 0 10\nX B 300 400 20\nX C -200 100 5\n"
                 "D A B 500 2\nD A C 223 2\nL A B 500.1 2\nS A B 0 1\nS A C 100 1\nA A B 40 3\nP A B A C 100 2\n"
                 "Z A B 89 2\n");
    const std::string b(7, '\b');
    const std::string ena = "      1" + b + "\n";
    EXPECT_EQ(GMMEqTestMreza::Konzola([&] { n.Enacbe(); }),
              "C: CGMMEqDist:\n F: SetGMMEq -> Eq#:      1" + b + "      2" + b + "\n" +
                  "C: CGMMEqDist:\n F: SetGMMEq -> Eq#:" + ena + "C: CGMMEqAngl:\n F: SetGMMEq() -> Eq#:" + ena +
                  "C: CGMMEqAzi:\n F: SetGMMEq() -> Eq#:" + ena + "C: CGMMEqPara:\n F: SetGMMEq() -> Eq#:" + ena +
                  "C: CGMMEqZen:\n F: SetGMMEq() -> Eq#:" + ena);
    EXPECT_EQ(GMMEqTestMreza::Konzola([&] { n.Izpis(); }),
              " F: PrintGMMEq -> Eq#:      1" + b + "      2" + b + "\n\n" + " F: PrintGMMEq -> Eq#:" + ena + "\n" +
                  " F: PrintGMMEq() -> Eq#:" + ena + "\n" + " F: PrintGMMEq() -> Eq#:" + ena + "\n" +
                  " F: PrintGMMEq() -> Eq#:" + ena + "\n" + " F: SetGMMEq() -> Eq#:" + ena + "\n");
}

TEST(CGMMEqNelin, CoincidingPointsAndImpossibleKindsAreRefused)
{
    const std::string ravn = "*DIM 2\n*AU DEG\n*D V\n**V A\nX A 0 0\nX B 100 0\nX C 0 0\n";
    const std::string pros = "*DIM 3\n*AU DEG\n*D V\n**V A\nX A 0 0 0\nX B 100 0 0\nX C 0 0 0\nX V 0 0 5\n";
    struct Primer {
        std::string besedilo, sporocilo;
    };
    const std::vector<Primer> primeri = {
        {ravn + "D A B 100 2\nD A C 1 2\n",
         " **** Opazovanje D (horizontalna dolzina) st. 2 [A C]: tocki A in C sovpadata, enacba popravka ni "
         "dolocena!!      *** "},
        {pros + "L A V 5 2\nL C A 1 2\n", "Opazovanje L (prostorska dolzina) st. 2 [C A]: tocki C in A sovpadata"},
        {ravn + "S A B 0 1\nS A C 90 1\n", "Opazovanje S (sestavljeni kot) st. 1 [A B C]: tocki A in C sovpadata"},
        {ravn + "A A B 90 3\nA B A 270 3\nA C A 0 3\n",
         "Opazovanje A (azimut/smerni kot) st. 3 [C A]: tocki C in A sovpadata"},
        {ravn + "P A B C A 10 2\n", "Opazovanje P (kot med smermi) st. 1 [A B C A]: tocki C in A sovpadata"},
        {pros + "Z A B 90 2\nZ A V 0 2\n",
         "Opazovanje Z (zenitna razdalja) st. 2 [A V]: tocki A in V lezita na isti navpicnici"},
        {ravn + "Z A B 90 2\n", " **** Zenitne razdalje (Z) v ravninski mrezi (*DIM 2) niso mogoce      *** "},
        {ravn + "L A B 100 2\n", " **** Prostorske dolzine (L) v ravninski mrezi (*DIM 2) niso mogoce      *** "},
        {"*UKRZ\n*R_UKRZ 0\n" + pros + "Z A B 90 2\n", "Polmer Zemlje (*R_UKRZ) za zenitne razdalje mora biti pozitiven"},
    };
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.sporocilo);
        const Izid r = RunChild([&] {
            NelinMreza n(p.besedilo);
            n.Enacbe();
        });
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find(p.sporocilo), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("nan"), std::string::npos);
    }

    // A spatial distance straight up is defined: only the heights enter.
    NelinMreza n(pros + "L A V 5.002 2\nL V B 100.2 2\n");
    n.Enacbe();
    EXPECT_EQ(n.m.GMM.Bmat(0, 6), 0.0L);
    EXPECT_EQ(n.m.GMM.Bmat(0, 7), 0.0L);
    EXPECT_EQ(n.m.GMM.Bmat(0, 8), -1.0L);
    EXPECT_NEAR(n.m.GMM.fvec(0), -0.002L, 1e-15L);
}
