// Equations of distances, composed angles, zenith distances, azimuths and
// angles between directions: coefficients against central differences of the
// misclosures, misclosures against closed forms (atan2, hypot), the full-turn
// reduction, the cofactor band of composed angles, refraction and velocity
// columns, the equation print and trace, and the refusals.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <iomanip>
#include <map>
#include <numbers>
#include <sstream>
#include <tuple>
#include <vector>

#include "GMMEqTestMreza.h"

namespace {

using LD = long double;
constexpr LD kPi = std::numbers::pi_v<LD>, kSt = kPi / 180.0L;

using NelinMreza = GMMEqTestMreza;

// Every row's coefficient in the columns of the coordinates (or velocities)
// of each point with such unknowns against -(f(x+h) - f(x-h)) / 2h, the
// coefficient of x under v + B*delta = f.  Returns the number of columns.
std::size_t PricakujOdvode(NelinMreza& n, bool hitrosti, LD h, LD tol)
{
    const CGMM& G = n.GMM;
    std::size_t stolpcev = 0;
    for (long p = 0; p < static_cast<long>(n.TO.TOCrdA.NObs()); ++p) {
        const long b = hitrosti ? G.iDeltaBV(p) : G.iDeltaB(p);
        for (long k = 0; b >= 0 && k < n.procset.GetDim(); ++k, ++stolpcev) {
            LD& x = hitrosti ? n.TO.TOCrdA.VELA(p, k) : n.TO.TOCrdA.OBS(p, k);
            const LD x0 = x;
            std::vector<LD> f[2];
            for (int s : {0, 1}) {
                x = x0 + (s ? -h : h);
                n.Enacbe();
                for (long r = 0; r < G.nobs; ++r) f[s].push_back(G.fvec(r));
            }
            x = x0;
            n.Enacbe();
            for (long r = 0; r < G.nobs; ++r)
                EXPECT_NEAR(G.Bmat(r, b + k), -(f[0][r] - f[1][r]) / (2 * h), tol) << "row " << r << " col " << b + k;
        }
    }
    return stolpcev;
}

// Closed forms, independent of the program's bearing routine.
struct Tocka {
    LD x, y, z;
};
LD Smer(const Tocka& a, const Tocka& b) { return std::fmod(std::atan2(b.x - a.x, b.y - a.y) + 2 * kPi, 2 * kPi); }
LD Dolzina2(const Tocka& a, const Tocka& b) { return std::hypot(b.x - a.x, b.y - a.y); }
LD Dolzina3(const Tocka& a, const Tocka& b) { return std::hypot(Dolzina2(a, b), b.z - a.z); }
LD Zenit(const Tocka& a, const Tocka& b) { return std::atan2(Dolzina2(a, b), b.z - a.z); }

std::string Stevilo(LD v)
{
    std::ostringstream s;
    s << std::fixed << std::setprecision(12) << ' ' << v;
    return s.str();
}

}  // namespace

TEST(CGMMEqNelin, CoefficientsAreTheNegativeDerivativesAndMisclosuresTheClosedForms)
{
    // Station O sees into all four quadrants, up and down; F is fixed.
    const std::map<std::string, Tocka> T = {{"F", {1000, 1000, 300}},  {"O", {1500, 1500, 320}},
                                            {"NE", {2100, 2300, 410}}, {"SE", {2200, 900, 250}},
                                            {"SW", {900, 750, 330}},   {"NW", {1100, 2400, 305}}};
    // Kind, points and observed minus computed (mm, arc seconds), in the
    // model's row order.  S: a direction set read 5 deg right of its first
    // target, each reading one more odmik off, so each angle is odmik off.
    // P: common station; far point of one = station of the other (both
    // ways); one direction twice; four different points.  Z: above the
    // horizon, below it, back, and from the fixed point.
    const std::vector<std::tuple<char, std::vector<std::string>, LD>> opaz = {
        {'D', {"O", "NE"}, 4}, {'D', {"SW", "NW"}, -3}, {'D', {"F", "O"}, 2}, {'L', {"O", "NE"}, -3},
        {'L', {"SE", "SW"}, 5}, {'L', {"F", "NW"}, 1}, {'S', {"O", "NE", "SE", "SW", "NW"}, 1},
        {'S', {"NE", "O", "SW"}, -2}, {'A', {"O", "NE"}, 2.5}, {'A', {"O", "SE"}, -1.5}, {'A', {"O", "SW"}, 3},
        {'A', {"O", "NW"}, 1}, {'A', {"F", "O"}, 2}, {'P', {"O", "NE", "O", "SW"}, -1.5},
        {'P', {"NE", "SE", "SE", "NW"}, 2}, {'P', {"SW", "NW", "NE", "SW"}, 1}, {'P', {"O", "NE", "O", "NE"}, -1.5},
        {'P', {"F", "O", "SE", "NW"}, 4}, {'Z', {"O", "NE"}, 4}, {'Z', {"O", "SE"}, -2}, {'Z', {"NE", "O"}, 3},
        {'Z', {"F", "O"}, 1}};
    for (int dim : {2, 3}) {
        SCOPED_TRACE("Dim " + std::to_string(dim));
        std::string s = "*DIM " + std::to_string(dim) + "\n*AU DEG\n*D V\n**V F\n";
        for (const auto& [ime, t] : T)
            s += "X " + ime + Stevilo(t.x) + Stevilo(t.y) + (dim == 3 ? Stevilo(t.z) : "") + "\n";
        std::vector<LD> f;   // expected misclosures, m and rad
        for (const auto& [k, t, odmik] : opaz) {
            const Tocka &a = T.at(t[0]), &b = T.at(t[1]);
            const bool kot = k != 'D' && k != 'L';
            const LD l = kot ? odmik / 3600 * kSt : odmik / 1000;
            if (dim == 2 && (k == 'L' || k == 'Z')) continue;
            for (std::size_t j = 2; k == 'S' && j < t.size(); ++j) f.push_back(-l);
            for (std::size_t j = 1; k == 'S' && j < t.size(); ++j)   // readings
                s += "S " + t[0] + " " + t[j] +
                     Stevilo(std::fmod((Smer(a, T.at(t[j])) - Smer(a, b) + j * l) / kSt + 365, 360)) + " 2\n";
            if (k == 'S') continue;
            const LD racun = k == 'D' ? Dolzina2(a, b) : k == 'L' ? Dolzina3(a, b) : k == 'A' ? Smer(a, b)
                           : k == 'Z' ? Zenit(a, b) : Smer(T.at(t[2]), T.at(t[3])) - Smer(a, b);
            s += std::string(1, k) + " " + t[0] + " " + t[1] + (k == 'P' ? " " + t[2] + " " + t[3] : "") +
                 Stevilo((racun + l) / (kot ? kSt : 1)) + " 2\n";
            f.push_back(-l);
        }
        NelinMreza n(s);
        const CGMM& G = n.GMM;
        ASSERT_EQ(static_cast<std::size_t>(G.nobs), f.size());
        n.Enacbe();
        for (long r = 0; r < G.nobs; ++r) EXPECT_NEAR(G.fvec(r), f[static_cast<std::size_t>(r)], 1e-12L) << "row " << r;
        // The same direction twice: the coefficients cancel.
        for (long c = 0; c < G.nunk; ++c) EXPECT_EQ(G.Bmat(G.nobs - (dim == 3 ? 4 : 0) - 2, c), 0.0L);
        // Coefficients are 1e-3 to 1; the differences stay near 1e-13.  The
        // repeated passes also show that rows are rewritten, not accumulated.
        EXPECT_EQ(PricakujOdvode(n, false, 1e-3L, 1e-11L), dim * 5u);
    }
}

TEST(CGMMEqNelin, FullTurnReductionOfAngularMisclosures)
{
    // Station O at the origin, targets 1000 m away at the bearings given.
    std::string s = "*DIM 2\n*AU DEG\n*CORKOT 0\n*D V\n**V O\nX O 0 0\nX Q 0 0\nX R 0 0\nX U 0 0\n";
    for (const auto& [ime, nu] : std::vector<std::pair<std::string, LD>>{
             {"A", 10.0L}, {"B", 9.99L}, {"C", 10.01L}, {"D", 30.0L}, {"E", 350.0L}})
        s += "X " + ime + Stevilo(1000 * std::sin(nu * kSt)) + Stevilo(1000 * std::cos(nu * kSt)) + "\n";
    NelinMreza n(s +
                 "S O A 0 1\nS O B 0.01 1\n"          // computed 359.99, observed 0.01: reduced by one turn
                 "S Q A 0 1\nS Q C 359.99 1\n"        // computed 0.01, observed 359.99: raised by one turn
                 "S R E 350 1\nS R D 30 1\n"          // computed 40, observed -320
                 "S U A 0 1\nS U D 20.001 1\n"        // ordinary angle, no turn
                 "A O A 370 3\nA O C -349.98 3\nA O B 9.99 3\n"   // bearings either side of zero
                 "P O E O A 20 2\nP O A O E -20.0001 2\n");         // computed -340 and 340
    n.Enacbe();
    const LD f[9] = {-0.02L, 0.02L, 0, -0.001L, 0, -0.01L, 0, 0, 0.0001L};   // degrees
    ASSERT_EQ(n.GMM.nobs, 9);
    for (long r = 0; r < 9; ++r) EXPECT_NEAR(n.GMM.fvec(r), f[r] * kSt, 1e-12L) << "row " << r;
}

TEST(CGMMEqNelin, BandCofactorsOfCorrelatedComposedAngles)
{
    // Four directions at O give three angles that share directions, two at
    // A one more; the sigmas all differ.
    const std::string mreza = "*DIM 2\n*AU DEG\n*D V\n**V O\nX O 0 0\nX A 100 0\nX B 0 100\nX C -100 0\n"
                              "X D 0 -100\nS O A 0 1.0\nS O B 90 2.0\nS O C 180 3.0\nS O D 270 4.0\n"
                              "S A B 0 1.5\nS A C 45 2.5\n";
    for (int korel : {1, 0}) {
        SCOPED_TRACE("CORKOT " + std::to_string(korel));
        NelinMreza n("*CORKOT " + std::to_string(korel) + "\n" + mreza);
        n.Enacbe();
        const CGMM& G = n.GMM;
        ASSERT_EQ(G.nobs, 4);
        EXPECT_EQ(G.Qlldiag, korel == 0);
        const auto q = [&](LD s) { return s * s * kSt * kSt / 3600 / 3600 / (G.So * G.So); };
        const LD diag[4] = {q(1) + q(2), q(2) + q(3), q(3) + q(4), q(1.5L) + q(2.5L)};
        // Angles 0 and 1 share O->B, 1 and 2 share O->C; angle 2 is followed
        // by another station's, the last angle by none.
        const LD desno[4] = {korel ? -q(2) : 0, korel ? -q(3) : 0, 0, 0};
        for (long r = 0; r < 4; ++r) {
            EXPECT_NEAR(G.Qll(r, 1), diag[r], 1e-14L * diag[r]) << r;
            EXPECT_NEAR(G.Qll(r, 2), desno[r], 1e-14L * diag[r]) << r;
            EXPECT_NEAR(G.Qll(r, 0), r > 0 ? desno[r - 1] : 0, 1e-14L * diag[r]) << r;
        }
    }
}

TEST(CGMMEqZen, CurvatureRefractionAndRefractionCoefficients)
{
    const std::map<std::string, Tocka> T = {{"P1", {0, 0, 100}}, {"P2", {800, 600, 150}}, {"P3", {-300, 400, 60}}};
    const std::tuple<std::string, std::string, LD> zen[4] = {
        {"P1", "P2", 87.5L}, {"P1", "P3", 94}, {"P2", "P3", 92}, {"P2", "P1", 92.6L}};
    // R: earth radius when curvature is on; k: the known coefficient, -1 when
    // estimated (set to 0.2 + 0.1 q for unknown q); nk: refraction unknowns.
    const std::tuple<std::string, LD, LD, long> primeri[] = {
        {"*UKRZ\n*R_UKRZ 6379000\n*K_REF 0.13\n*KTYP NONE\n", 6379000, 0.13L, 0},
        {"*OBSRES\n*UKRZ\n*R_UKRZ 6379000\n*K_REF 0.13\n*KTYP NONE\n", 6379000, 0.13L, 0},   // only c (u - k) - l
        {"*UKRZ\n*R_UKRZ 6379000\n*K_REF 0.13\n*KTYP SINGLE\n", 6379000, -1, 1},
        {"*UKRZ\n*KTYP STAT\n", 6371000, -1, 2}};   // default radius, one coefficient per station
    for (const auto& [nast, R, kZnan, nk] : primeri) {
        SCOPED_TRACE(nast);
        const bool obsres = nast.find("*OBSRES") == 0;
        std::string s = nast + "*DIM 3\n*AU DEG\n*D V\n**V P1\nD P1 P2 1000 2\n";
        for (const auto& [ime, t] : T) s += "X " + ime + Stevilo(t.x) + Stevilo(t.y) + Stevilo(t.z) + "\n";
        for (const auto& [a, b, l] : zen) s += "Z " + a + " " + b + Stevilo(l) + " 2\n";
        NelinMreza n(s);
        CGMM& G = n.GMM;
        ASSERT_EQ(G.nunkkref, nk);
        EXPECT_EQ(G.nunk, 6 + nk);
        for (long q = 0; q < nk; ++q) G.kRefEst(q) = 0.2L + 0.1L * q;
        n.Enacbe();
        for (long q = 0; q < nk; ++q) EXPECT_EQ(G.Bmat(0, G.iDeltaBk(q)), 0.0L);   // the distance row
        for (long i = 0; i < 4; ++i) {
            const auto& [a, b, l] = zen[i];
            const LD z0 = Zenit(T.at(a), T.at(b)), sn = std::sin(z0);
            const LD c = R > 0 ? Dolzina2(T.at(a), T.at(b)) / R / 2 * sn * sn : 0;
            LD k = kZnan;
            for (long q = 0; q < nk; ++q) {
                const bool svoj = nk == 1 || G.PTSk(q) == a;
                EXPECT_NEAR(G.Bmat(i + 1, G.iDeltaBk(q)), svoj ? c : 0, 1e-18L) << i << " " << q;
                if (svoj) k = G.kRefEst(q);
            }
            ASSERT_GE(k, 0) << "station without a coefficient";
            EXPECT_NEAR(G.fvec(i + 1), (obsres ? 0 : z0) + c * ((R > 0) - k) - l * kSt, 1e-15L) << i;
        }
    }
}

TEST(CGMMEqNelin, VelocityColumnsAndCoordinatesCarriedToTheEpoch)
{
    // F is fixed but has velocity unknowns, A has coordinate unknowns only.
    // Epochs: distance 2010, angle 2004 (its first direction; the second is
    // 2012), bearing 2006, angle between directions 2008.
    NelinMreza n("*DIM 2\n*AU DEG\n*XVT 2000\n*XV0\n*D V\n**V F\n"
                 "X F 0 0 0.01 0.02 1\nX O 500 500 -0.01 0.005 1\nX A 900 1100 0.003 -0.004 0\n"
                 "X B 100 1200 0.0 0.01 1\nD O A 721.1 2.0 2010\nS O A 0 1 2004\nS O B 80 1 2012\n"
                 "A O B 320 3 2006\nP F O O A 10 2 2008\n");
    n.Enacbe();
    const CGMM& G = n.GMM;
    ASSERT_EQ(G.nobs, 4);
    EXPECT_EQ(G.iDeltaB(0), -1);
    EXPECT_EQ(G.iDeltaBV(2), -1);
    // Velocity coefficients are the negative derivatives by the a-priori
    // velocities (which carry the coordinates to the epoch), F's included.
    EXPECT_EQ(PricakujOdvode(n, true, 1e-4L, 1e-10L), 6u);
    EXPECT_EQ(PricakujOdvode(n, false, 1e-3L, 1e-11L), 6u);
    // The distance at 2010 between O and A moved by ten years of velocity.
    EXPECT_NEAR(G.fvec(0), Dolzina2({500 - 0.1L, 500 + 0.05L, 0}, {900 + 0.03L, 1100 - 0.04L, 0}) - 721.1L, 1e-12L);
}

TEST(CGMMEqNelin, SpatialDistanceStraightUp)
{
    // Coinciding points are refused (see the refusal table); a spatial
    // distance straight up is defined, and only the heights enter.
    NelinMreza n("*DIM 3\n*AU DEG\n*D V\n**V A\nX A 0 0 0\nX B 100 0 0\nX C 0 0 0\nX V 0 0 5\n"
                 "L A V 5.002 2\nL V B 100.2 2\n");
    n.Enacbe();
    for (long c = 6; c < 9; ++c) EXPECT_EQ(n.GMM.Bmat(0, c), c == 8 ? -1.0L : 0.0L);
    EXPECT_NEAR(n.GMM.fvec(0), -0.002L, 1e-15L);
}
