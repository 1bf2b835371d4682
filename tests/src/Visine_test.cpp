// Spatial networks observed from instruments and to targets above their
// marks, and points held in some of their coordinates only.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "IzravnavaUtil.h"

namespace {
struct T3 {
    double x, y, z;
};
// Three fixed points, two new ones; the stations with their instrument
// heights and their targets with the target heights (1.2 to 1.8 m).
const std::map<std::string, T3> kTocke = {{"A", {1000, 1000, 100}}, {"B", {2000, 1100, 120}},
                                          {"C", {1500, 2000, 90}},  {"P", {1500, 1400, 150}},
                                          {"Q", {1800, 1700, 135}}};
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
std::string X(const std::string& p, double dx, double dy, double dz)
{
    const T3& t = kTocke.at(p);
    return "X " + p + F(" %.4f", t.x + dx) + F(" %.4f", t.y + dy) + F(" %.4f", t.z + dz) + "\n";
}
}  // namespace

// The file with heights against the same observations reduced mark to mark
// here: horizontal s = L sin z, height difference L cos z + i - t between the
// marks, then the mark-to-mark L and z.  The observations are rounded as a
// field book holds them, so the network does not close exactly.
TEST(Visine, InstrumentAndTargetHeightsGiveTheCoordinatesOfTheHandReduction)
{
    std::string visine = Glava("**V A\n**V B\n**V C\n"), roke = visine;
    for (const char* p : {"A", "B", "C"}) visine += X(p, 0, 0, 0);
    visine += X("P", 0.7, -0.5, 0.9) + X("Q", -0.4, 0.6, -0.8);
    roke = visine;
    for (const auto& [s, cilji] : kVizure) {
        // The first target's height for every target, then the others' own.
        visine += "*IH " + s + F(" %.3f", kI.at(s)) + "\n*TH" + F(" %.3f", kT.at(std::string(1, cilji[0]))) + "\n";
        for (const char c : cilji.substr(1)) visine += "*TH " + std::string(1, c) + F(" %.3f", kT.at(std::string(1, c))) + "\n";
        for (const char c : cilji) {
            const std::string t(1, c);
            const T3 &a = kTocke.at(s), &b = kTocke.at(t);
            const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z + kT.at(t) - a.z - kI.at(s), h = std::hypot(dx, dy);
            const double L = std::round(std::hypot(h, dz) * 1e4) / 1e4, z = std::round(std::atan2(h, dz) * kStop * 1e6) / 1e6;
            const std::string pt = s + " " + t;
            const std::string smer = "S " + pt + F(" %.6f 3\n", std::fmod(std::atan2(dx, dy) * kStop + 360.0, 360.0));
            visine += smer + "L " + pt + F(" %.4f 2\n", L) + "Z " + pt + F(" %.6f 3\n", z);
            const double hs = L * std::sin(z / kStop), hz = L * std::cos(z / kStop) + kI.at(s) - kT.at(t);
            roke += smer + "L " + pt + F(" %.8f 2\n", std::hypot(hs, hz)) + "Z " + pt +
                    F(" %.9f 3\n", std::atan2(hs, hz) * kStop);
        }
    }
    const Izravnava a = Izravnaj(visine + "*K\n"), b = Izravnaj(roke + "*K\n");
    for (const char* p : {"P", "Q"})
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a.tocke.at(p)[k], b.tocke.at(p)[k], 1e-6L) << p << k;
            const T3& t = kTocke.at(p);
            EXPECT_NEAR(a.tocke.at(p)[k], k == 0 ? t.x : k == 1 ? t.y : t.z, 1e-3L) << p << k;
        }
}

// Exact observations mark to mark; one point held in its plane coordinates
// (its height starts a metre off), or in its height (its plane coordinates
// start off).  The free coordinates come back, the held ones stay exactly as
// given - also when they are given 5 cm off, which pulls on the network -
// and each held coordinate adds a degree of freedom.  The free coordinates
// equal those of the point observed (C) with 1 um in the held coordinates
// and 1000 km in the others.
TEST(Visine, PointHeldInSomeCoordinatesKeepsThemAndGetsTheOthers)
{
    std::string opaz;
    int n = 0;
    for (const auto& [s, cilji] : kVizure)
        for (const char c : cilji) {
            const T3 &a = kTocke.at(s), &b = kTocke.at(std::string(1, c));
            const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
            const std::string pt = s + " " + c;
            opaz += "L " + pt + F(" %.10f 2\n", std::sqrt(dx * dx + dy * dy + dz * dz)) + "Z " + pt +
                    F(" %.12f 3\n", std::atan2(std::hypot(dx, dy), dz) * kStop);
            n += 2;
        }
    for (const bool vleci : {false, true})
        for (const std::string kaj : {"XY", "Z"}) {
            const bool xy = kaj == "XY";
            const double o = vleci ? 0.05 : 0.0;
            const std::string Pz = xy ? X("P", o, -o, 1.0) : X("P", 0.8, -0.6, o);
            const std::string mreza = X("A", 0, 0, 0) + X("B", 0, 0, 0) + X("C", 0, 0, 0) + Pz + X("Q", 0.5, 0.5, 0.5) + opaz;
            const Izravnava r = Izravnaj("*S02 APRIORI\n" + Glava("**V A\n**V B\n**V C\n**V" + kaj + " P\n") + mreza + "*K\n");
            const Izravnava c = Izravnaj(Glava("**V A\n**V B\n**V C\n") + mreza + "C" + Pz.substr(1, Pz.size() - 2) +
                                         (xy ? " 0.001 0.001 1e9\n" : " 1e9 1e9 0.001\n") + "*K\n");
            const std::vector<long double>& p = r.tocke.at("P");
            const T3& t = kTocke.at("P");
            const double dano[3] = {t.x + (xy ? o : 0.8), t.y + (xy ? -o : -0.6), t.z + (xy ? 1.0 : o)};
            const RezBlok& b = r.run->rez.tocke[3].koordinate;
            for (int k = 0; k < 3; ++k) {
                if ((k < 2) == xy) {
                    EXPECT_EQ(p[k], std::stold(F("%.4f", dano[k]))) << kaj << k;
                    EXPECT_EQ(b.sig[k], 0.0L) << kaj << k;
                } else {
                    if (!vleci) {
                        EXPECT_NEAR(p[k], k == 0 ? t.x : k == 1 ? t.y : t.z, 1e-6L) << kaj << k;
                    }
                    EXPECT_NEAR(p[k], c.tocke.at("P")[k], 1e-5L) << kaj << k;
                    EXPECT_NEAR(r.tocke.at("Q")[k], c.tocke.at("Q")[k], 1e-5L) << kaj << k;
                    EXPECT_GT(b.sig[k], 0.0L) << kaj << k;
                }
            }
            EXPECT_EQ(r.run->rez.globalniTest.prostostne, n - (6 - (xy ? 2 : 1))) << kaj;
        }
}
