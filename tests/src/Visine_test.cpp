// Spatial networks observed from instruments and to targets above their
// marks, and points held in some of their coordinates only.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "IzravnavaUtil.h"

namespace {
using T3 = std::array<double, 3>;
// Three fixed points, two new ones; the stations with their instrument
// heights and their targets with the target heights (1.2 to 1.8 m).
const std::map<std::string, T3> kTocke = {{"A", {1000, 1000, 100}}, {"B", {2000, 1100, 120}}, {"C", {1500, 2000, 90}},
                                          {"P", {1500, 1400, 150}}, {"Q", {1800, 1700, 135}}};
const std::map<std::string, double> kI = {{"A", 1.55}, {"B", 1.32}, {"C", 1.71}, {"P", 1.48}};
const std::map<std::string, double> kT = {{"A", 1.2}, {"B", 1.8}, {"C", 1.45}, {"P", 1.6}, {"Q", 1.25}};
const std::map<std::string, std::string> kVizure = {{"A", "BPQ"}, {"B", "CPQ"}, {"C", "APQ"}, {"P", "ABCQ"}};
constexpr double kStop = 180.0 / 3.14159265358979323846;

std::string F(const char* f, double v)
{
    char b[64];
    std::snprintf(b, sizeof b, f, v);
    return b;
}
std::string Glava(const std::string& datum) { return "*DIM 3\n*AU DEG\n*ITER 1\n*ITERTHRES 1e-10\n*D V\n" + datum; }
// The point record, its coordinates moved by d.
std::string X(const std::string& p, T3 d = {0, 0, 0})
{
    std::string s = "X " + p;
    for (int k = 0; k < 3; ++k) s += F(" %.4f", kTocke.at(p)[k] + d[k]);
    return s + "\n";
}
// Differences from station s to target t, each at its height above its mark.
T3 Razlika(const std::string& s, const std::string& t, double i, double v)
{
    const T3 &a = kTocke.at(s), &b = kTocke.at(t);
    return {b[0] - a[0], b[1] - a[1], b[2] + v - a[2] - i};
}
}  // namespace

// The file with heights against the same observations reduced mark to mark
// here: horizontal s = L sin z, height difference L cos z + i - t between the
// marks, then the mark-to-mark L and z.  The observations are rounded as a
// field book holds them, so the network does not close exactly.
TEST(Visine, InstrumentAndTargetHeightsGiveTheCoordinatesOfTheHandReduction)
{
    std::string visine = Glava("**V A\n**V B\n**V C\n") + X("A") + X("B") + X("C") + X("P", {0.7, -0.5, 0.9}) +
                         X("Q", {-0.4, 0.6, -0.8});
    std::string roke = visine;
    for (const auto& [s, cilji] : kVizure) {
        // The first target's height for every target, then the others' own.
        visine += "*IH " + s + F(" %.3f", kI.at(s)) + "\n*TH" + F(" %.3f", kT.at(cilji.substr(0, 1))) + "\n";
        for (const char c : cilji.substr(1)) visine += "*TH " + std::string(1, c) + F(" %.3f", kT.at({c})) + "\n";
        for (const char c : cilji) {
            const std::string t(1, c), pt = s + " " + t;
            const T3 d = Razlika(s, t, kI.at(s), kT.at(t));
            const double h = std::hypot(d[0], d[1]), L = std::round(std::hypot(h, d[2]) * 1e4) / 1e4,
                         z = std::round(std::atan2(h, d[2]) * kStop * 1e6) / 1e6;
            const std::string smer = "S " + pt + F(" %.6f 3\n", std::fmod(std::atan2(d[0], d[1]) * kStop + 360.0, 360.0));
            visine += smer + "L " + pt + F(" %.4f 2\n", L) + "Z " + pt + F(" %.6f 3\n", z);
            const double hs = L * std::sin(z / kStop), hz = L * std::cos(z / kStop) + kI.at(s) - kT.at(t);
            roke += smer + "L " + pt + F(" %.8f 2\n", std::hypot(hs, hz)) + "Z " + pt + F(" %.9f 3\n", std::atan2(hs, hz) * kStop);
        }
    }
    const Izravnava a = Izravnaj(visine + "*K\n"), b = Izravnaj(roke + "*K\n");
    for (const char* p : {"P", "Q"})
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a.tocke.at(p)[k], b.tocke.at(p)[k], 1e-6L) << p << k;
            EXPECT_NEAR(a.tocke.at(p)[k], kTocke.at(p)[k], 1e-3L) << p << k;
        }
}

// Two setups at one station, one after the other, the second with another
// orientation of its circle: its directions start a set of their own, as
// they do when another station's setup stands between the two.
TEST(Visine, EverySetupStartsItsOwnSetOfDirections)
{
    const auto postavitev = [](const std::string& s, const std::string& cilji, double orientacija) {
        std::string t = "*IH " + s + " 0\n";
        for (const char c : cilji) {
            const T3 d = Razlika(s, {c}, 0, 0);
            const std::string pt = s + " " + c;
            const double h = std::hypot(d[0], d[1]);
            t += "S " + pt + F(" %.10f 1\n", std::fmod(std::atan2(d[0], d[1]) * kStop + orientacija + 720.0, 360.0)) +
                 "L " + pt + F(" %.10f 2\n", std::hypot(h, d[2])) + "Z " + pt + F(" %.12f 3\n", std::atan2(h, d[2]) * kStop);
        }
        return t;
    };
    const std::string glava = Glava("**V A\n**V B\n**V C\n") + X("A") + X("B") + X("C") + X("P", {0.3, -0.2, 0.1}) +
                              X("Q", {-0.2, 0.3, 0.2});
    const std::string p1 = postavitev("P", "ABC", 0.0), p2 = postavitev("P", "CQA", 37.123), c = postavitev("C", "APQ", 0.0);
    const Izravnava zapored = Izravnaj(glava + p1 + p2 + c + "*K\n"), vmes = Izravnaj(glava + p1 + c + p2 + "*K\n");
    for (const char* p : {"P", "Q"})
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(zapored.tocke.at(p)[k], vmes.tocke.at(p)[k], 1e-9L) << p << k;
            EXPECT_NEAR(zapored.tocke.at(p)[k], kTocke.at(p)[k], 1e-6L) << p << k;
        }
}

// Exact observations mark to mark; one point held in its plane coordinates
// (its height starts a metre off), or in its height (its plane coordinates
// start off).  The free coordinates come back, the held ones stay exactly as
// given - also when they are given 5 cm off, which pulls on the network -
// with the standard deviation 0, and each adds a degree of freedom.  The
// free coordinates equal those of the point observed (C) with 1 um in the
// held coordinates and 1000 km in the others.
TEST(Visine, PointHeldInSomeCoordinatesKeepsThemAndGetsTheOthers)
{
    std::string opaz;
    int n = 0;
    for (const auto& [s, cilji] : kVizure)
        for (const char c : cilji) {
            const T3 d = Razlika(s, {c}, 0, 0);
            const std::string pt = s + " " + c;
            opaz += "L " + pt + F(" %.10f 2\n", std::hypot(std::hypot(d[0], d[1]), d[2])) + "Z " + pt +
                    F(" %.12f 3\n", std::atan2(std::hypot(d[0], d[1]), d[2]) * kStop);
            n += 2;
        }
    for (const double o : {0.0, 0.05})
        for (const std::string kaj : {"XY", "Z"}) {
            const bool xy = kaj == "XY";
            const T3 zamik = xy ? T3{o, -o, 1.0} : T3{0.8, -0.6, o};
            const std::string P = X("P", zamik), mreza = X("A") + X("B") + X("C") + P + X("Q", {0.5, 0.5, 0.5}) + opaz;
            const Izravnava r = Izravnaj("*S02 APRIORI\n" + Glava("**V A\n**V B\n**V C\n**V" + kaj + " P\n") + mreza + "*K\n");
            const Izravnava c = Izravnaj(Glava("**V A\n**V B\n**V C\n") + mreza + "C" + P.substr(1, P.size() - 2) +
                                         (xy ? " 0.001 0.001 1e9\n" : " 1e9 1e9 0.001\n") + "*K\n");
            const RezBlok& b = r.run->rez.tocke[3].koordinate;   // P
            for (int k = 0; k < 3; ++k) {
                const long double p = r.tocke.at("P")[k];
                if ((k < 2) == xy) {
                    EXPECT_EQ(p, std::stold(F("%.4f", kTocke.at("P")[k] + zamik[k]))) << kaj << k;
                    EXPECT_EQ(b.sig[k], 0.0L) << kaj << k;
                    continue;
                }
                if (o == 0.0) { EXPECT_NEAR(p, kTocke.at("P")[k], 1e-6L) << kaj << k; }
                EXPECT_NEAR(p, c.tocke.at("P")[k], 1e-5L) << kaj << k;
                EXPECT_NEAR(r.tocke.at("Q")[k], c.tocke.at("Q")[k], 1e-5L) << kaj << k;
                EXPECT_GT(b.sig[k], 0.0L) << kaj << k;
            }
            EXPECT_EQ(r.run->rez.globalniTest.prostostne, n - (6 - (xy ? 2 : 1))) << kaj;
        }
}
