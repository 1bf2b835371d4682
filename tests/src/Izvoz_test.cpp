// The export files as a user gets them from the built program: the GMT plot
// files line by line, the ellipse and S-transformation files read back
// against the report, the design-matrix rows of the optimisation file, and
// files that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "src/CNVX2JSON.h"
#include "src/FBranje.h"

namespace fs = std::filesystem;

namespace {
struct Tek {
    std::string dir, report, con;
    int status;
    std::vector<std::string> Dat(const std::string& suffix) const { return Lines(ReadFile(dir + "/m" + suffix)); }
};

Tek Pozeni(const std::string& data, const std::string& ime = "m.dat", const std::string& predpriprava = "")
{
    Tek t{TempDir("izvoz"), "", "", -1};
    WriteFile(t.dir + "/" + ime, data);
    if (!predpriprava.empty()) fs::create_directory(t.dir + "/" + predpriprava);
    const Izid r = RunNivex({ime}, t.dir);
    t.status = r.status;
    t.con = r.out;
    t.report = ReadFile(t.dir + "/" + ime.substr(0, ime.rfind('.')) + ".NVX");
    return t;
}

// Numbers of a line (words that are not numbers are skipped).
std::vector<long double> Stevila(const std::string& line)
{
    std::istringstream s(line);
    std::vector<long double> v;
    for (std::string w; s >> w;) {
        try { v.push_back(std::stold(w)); } catch (...) {}
    }
    return v;
}

// The plane network: A fixed, B and C off their true places (200, 100) and
// (100, 200) by (+3, -2) and (-1, +2) cm; exact observations of every kind
// that has a plot file in a plane network.
const std::string kRavninska =
    "*DIM 2\n*AU DEG\n*GMT\n*OPT2\n*S02 APRIORI\n*D V\n**V A\nX A 100 100\nX B 200.03 99.98\nX C 99.99 200.02\n"
    "S A C 0 10\nS A B 90 10\nA A B 90 30\nD A B 100 10\nD A C 100 10\nD B C 141.42135623731 10\n"
    "C C 100 200 100 100\nV A B 100 0 30 30\n*K\n";

// Šoštanj, Žalec and Črna in UTF-8 and in Windows-1250.
const std::array<std::string, 3> kUtf8 = {"\xC5\xA0o\xC5\xA1tanj", "\xC5\xBD" "alec", "\xC4\x8Crna"},
                                 kCp1250 = {"\x8Ao\x9Atanj", "\x8E" "alec", "\xC8rna"};

// The plane network above (fewer kinds) with its points named n, every
// results file on.
std::string Mesta(const std::array<std::string, 3>& n)
{
    std::string s = "*DIM 2\n*AU DEG\n*GMT\n*JSON\n*CSV\n*GEOJSON\n*HTML\n*S02 APRIORI\n*D V\n**V {A}\n"
                    "X {A} 100 100\nX {B} 200.03 99.98\nX {C} 99.99 200.02\nS {A} {C} 0 10\nS {A} {B} 90 10\n"
                    "A {A} {B} 90 30\nD {A} {B} 100 10\nD {A} {C} 100 10\nD {B} {C} 141.42135623731 10\n*K\n";
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t p; (p = s.find(std::string{'{', static_cast<char>('A' + i), '}'})) != std::string::npos;)
            s.replace(p, 3, n[i]);
    return s;
}
}  // namespace

TEST(Izvoz, PlaneNetworkPlotAndDesignFiles)
{
    const Tek t = Pozeni(kRavninska);
    ASSERT_EQ(t.status, 0) << t.con;
    const std::string A = "      100.0000      100.0000", B = "      200.0000      100.0000",
                      C = "      100.0000      200.0000";
    const std::pair<const char*, std::vector<std::string>> datoteke[] = {
        {"_PTN.TXT", {A + "  8 0 25 ML A", B + "  8 0 25 ML B", C + "  8 0 25 ML C"}}, {"_CRD.TXT", {C}},
        {"_DIR.TXT", {">", A, C, ">", A, B, ">"}}, {"_AZI.TXT", {">", A, B, ">"}},
        {"_D2.TXT", {">", A, B, ">", A, C, ">", B, C, ">"}}, {"_VEC.TXT", {">", A, B, ">"}},
        {"_CCORR.TXT", {"", B + "    -3.00     2.00  0.0 0.0 0.0   B", C + "     1.00    -2.00  0.0 0.0 0.0   C"}}};
    for (const auto& [suffix, vrstice] : datoteke) EXPECT_EQ(t.Dat(suffix), vrstice) << suffix;
    // With A fixed, the relative ellipses to A are the absolute ellipses of
    // B and C (their values are checked against the report below).
    const auto abse = t.Dat("_ABSE.TXT"), rele = t.Dat("_RELE.TXT");
    ASSERT_TRUE(abse.size() == 2 && rele.size() == 3);
    EXPECT_EQ(abse[0].substr(0, 39) + abse[1].substr(0, 39), B + "  0.0 0.0  " + C + "  0.0 0.0  ");
    EXPECT_EQ(rele[0], "      100.0000      150.0000 0.0 0.0" + abse[1].substr(39, abse[1].size() - 40) + "A-C");
    EXPECT_EQ(rele[1], "      150.0000      100.0000 0.0 0.0" + abse[0].substr(39, abse[0].size() - 40) + "A-B");
    for (const char* ni : {"_D3.TXT", "_ZEN.TXT", "_H.TXT", "_DH.TXT", "_XVEL.TXT", "_STR.TXT"})
        EXPECT_FALSE(fs::exists(t.dir + "/m" + ni)) << ni;
    for (const char* obvestilo :
         {"\nIzpis koordinat in imen tock:                  3    TOCK [m_PTN.TXT]\n",
          "\nIzpis opazovanj:                               3     OBS [m_D2.TXT]\n",
          "\nIzpis relativnih elips:                        3  REL EL [m_RELE.TXT]\n",
          "\nIzpis podatkov za optimizacijo 2. reda:                  9 OPAZOVANJ [m_OPT2.TXT]\n"})
        EXPECT_NE(t.report.find(obvestilo), std::string::npos) << obvestilo;
    // Design rows of the one pass at the approximate coordinates: rows in
    // kind order (coordinates 0-1, vector 2-3, distances 4-6, angle 7,
    // azimuth 8), columns xB, yB, xC, yC; B is the negative derivative.
    const auto opt = t.Dat("_OPT2.TXT");
    ASSERT_EQ(opt.size(), 2u + 9u + 2u);
    EXPECT_EQ(opt[0], "#MATRIKA KOEFICIENTOV ENACB POPRAVKOV");
    const long double dx = 100.03L, dy = -0.02L, d2 = dx * dx + dy * dy, d = std::sqrt(d2);
    const std::pair<int, std::vector<long double>> vrstice[] = {
        {2, {-1, 0, 0, 0}}, {4, {-dx / d, -dy / d, 0, 0}}, {8, {-dy / d2, dx / d2, 0, 0}}};
    for (const auto& [r, pricak] : vrstice) {
        const auto f = Stevila(opt[2 + static_cast<std::size_t>(r)]);
        ASSERT_EQ(f.size(), 4u) << r;
        for (std::size_t j = 0; j < 4; ++j) EXPECT_NEAR(f[j], pricak[j], 1e-14L) << r << " " << j;
    }
}

TEST(Izvoz, CorrectionsAreTotalAndFlaggedOrRemovedLinesAreDrawn)
{
    // Iterated to convergence, the corrections are still those from the
    // data file's coordinates, as in the one pass above.
    const Tek t = Pozeni(Iteriraj(kRavninska));
    ASSERT_EQ(t.status, 0) << t.con;
    EXPECT_EQ(t.Dat("_CCORR.TXT")[1], "      200.0000      100.0000    -3.00     2.00  0.0 0.0 0.0   B");
    EXPECT_TRUE(t.Dat("_GROBE.TXT").empty());
    // The distance flagged by the screening, then removed by the snooping.
    const std::string groba = Primer("ravninska_groba.dat");
    for (const bool snoop : {false, true}) {
        const Tek g = Pozeni(ZNastavitvijo(snoop ? ZNastavitvijo(groba, "*SNOOP", "") : groba, "*GMT", ""));
        const auto crte = g.Dat("_GROBE.TXT");
        ASSERT_EQ(crte.size(), 3u);
        EXPECT_EQ(crte[0], snoop ? "> D 101 103 vrstica 82 t_stud -6.11 izloceno" : "> D 101 103 vrstica 81 w -3.90 oznaceno");
        EXPECT_EQ(crte[2].substr(0, 27), "   520102.8" + std::string(snoop ? "489   120844.363" : "498   120844.354"));
        EXPECT_NE(g.report.find("\nIzpis oznacenih/izlocenih opazovanj:           1     OBS [m_GROBE.TXT]\n"),
                  std::string::npos);
    }
}

// The direction 102 -> 105 of the gross-error example (its distance put
// right) spoiled by 20": both angles it enters are flagged and drawn along
// their rays, each ray naming its own direction's line; the summary names
// both lines of each angle; the GeoJSON holds every angle as the two rays
// from its station, and under *SNOOP the removed direction as its line.
TEST(Izvoz, SpoiledDirectionIsDrawnAlongItsRays)
{
    std::string data = ZNastavitvijo(ZNastavitvijo(Primer("ravninska_groba.dat"), "*GMT", ""), "*GEOJSON", "");
    data.replace(data.find("103       1473.2845"), 19, "103       1473.2525");
    data.replace(data.find("196 28 11.25"), 12, "196 28 31.25");
    const auto vr = Lines(data);
    const long L = std::find_if(vr.begin(), vr.end(), [](const std::string& l) { return l.starts_with("S  102    105"); }) -
                   vr.begin() + 1;
    const std::string l0 = std::to_string(L - 1), l1 = std::to_string(L), l2 = std::to_string(L + 1);
    for (const bool snoop : {false, true}) {
        const Tek t = Pozeni(snoop ? ZNastavitvijo(data, "*SNOOP", "") : data);
        ASSERT_EQ(t.status, 0) << t.con;
        // *SNOOP comes first in the file: every line one further down.
        const auto v = [&](long d) { return std::to_string(L + d + (snoop ? 1 : 0)); };
        std::vector<std::string> glave;
        for (const std::string& l : t.Dat("_GROBE.TXT"))
            if (l.starts_with(">")) glave.push_back(std::regex_replace(l, std::regex(" (w|t_stud) -?[0-9.]+ "), " $1 . "));
        const nlohmann::json g = nlohmann::json::parse(ReadFile(t.dir + "/m.geojson"));
        std::map<std::string, nlohmann::json> tocke;
        std::vector<nlohmann::json> koti, oznaceni, izloceni;
        for (const auto& f : g["features"]) {
            const auto& p = f["properties"];
            if (f["geometry"]["type"] == "Point") tocke[p["name"]] = f["geometry"]["coordinates"];
            if (p.contains("kind") && p["kind"] == "S" && p["from"].is_array()) koti.push_back(f);
            if (p.contains("flagged") && p["flagged"] == true) oznaceni.push_back(f);
            if (p.contains("removed") && p["removed"] == true) izloceni.push_back(f);
        }
        // 8 stations of 32 directions: 24 angles (one fewer without the
        // removed direction), each from its station.
        ASSERT_EQ(koti.size(), snoop ? 23u : 24u);
        for (const auto& f : koti)
            for (int i = 0; i < 2; ++i)
                EXPECT_EQ(f["geometry"]["coordinates"][i],
                          nlohmann::json::array({tocke[f["properties"]["from"][i]], tocke[f["properties"]["to"][i]]}));
        if (snoop) {
            EXPECT_EQ(glave, std::vector<std::string>{"> S 102 105 vrstica " + v(0) + " t_stud . izloceno"});
            ASSERT_EQ(izloceni.size(), 1u);
            EXPECT_TRUE(oznaceni.empty());
            const auto& f = izloceni[0];
            EXPECT_EQ(f["geometry"], (nlohmann::json{{"type", "LineString"},
                                                     {"coordinates", {tocke["102"], tocke["105"]}}}));
            EXPECT_EQ(f["properties"]["line"], L + 1);
            EXPECT_TRUE(f["properties"]["w"].is_null());
            EXPECT_LT(f["properties"]["statistic"].get<double>(), -2.576);
            EXPECT_EQ(f["properties"]["statistic_kind"], "studentized");
            EXPECT_GT(std::fabs(f["properties"]["misclosure"].get<double>()), 10.0 / 206264.8);
            continue;
        }
        EXPECT_EQ(glave, (std::vector<std::string>{"> S 102 106 vrstica " + l0 + " w . oznaceno",
                                                   "> S 102 105 vrstica " + l1 + " w . oznaceno",
                                                   "> S 102 105 vrstica " + l1 + " w . oznaceno",
                                                   "> S 102 GT21 vrstica " + l2 + " w . oznaceno"}));
        ASSERT_EQ(oznaceni.size(), 2u);
        std::set<std::string> kot;
        for (const auto& f : oznaceni) kot.insert(f["properties"]["to"].dump() + f["properties"]["line"].dump());
        EXPECT_EQ(kot, (std::set<std::string>{"[\"106\",\"105\"][" + l0 + "," + l1 + "]",
                                              "[\"105\",\"GT21\"][" + l1 + "," + l2 + "]"}));
        const auto pad = [](const std::string& s) { return std::string(7 - s.size(), ' ') + s; };
        EXPECT_NE(t.report.find("   S  102 106 105           vrstica" + pad(l0 + ", " + l1) + "   w ="), std::string::npos);
        EXPECT_NE(t.report.find("   S  102 105 GT21          vrstica" + pad(l1 + ", " + l2) + "   w ="), std::string::npos);
        EXPECT_NE(t.con.find("(najvecji: S  102 105 GT21, vrstica " + l1 + ", " + l2 + ", w ="), std::string::npos) << t.con;
    }
}

// A spatial network with velocities: P moves by (1, 0.5) cm a year, seen by
// two vectors from the fixed A ten years apart (sd 20, 10, 10 mm), so that
// its position has the vectors' deviations and its velocity those over
// sqrt(50): ellipses 2 x 1 cm and 0.28 x 0.14 cm/year along the first axis.
// Q (not moving) carries the kinds drawn only in space.
TEST(Izvoz, SpatialNetworkWithVelocities)
{
    const Tek t = Pozeni("*DIM 3\n*AU DEG\n*GMT\n*S02 APRIORI\n*XVT 2000\n*D V\n**V A\nX A 0 0 0 0\n"
                         "X P 100.02 49.99 10 1\nX Q 0 100 5 0\nV A P 100 50 10 20 10 10 2000\n"
                         "V A P 100.1 50.05 10 20 10 10 2010\nL A Q 100.124921973 5 2000\n"
                         "Z A Q 87.137594773 10 2000\nA A Q 0 10 2000\nh A Q 5 5 2000\nH Q 5 5 2000\n*K\n");
    ASSERT_EQ(t.status, 0) << t.con;
    const std::string A = "        0.0000        0.0000", P = "      100.0000       50.0000",
                      Q = "        0.0000      100.0000";
    const std::pair<const char*, std::vector<std::string>> datoteke[] = {
        {"_PTN.TXT", {A + "  8 0 25 ML A", P + "  8 0 25 ML P", Q + "  8 0 25 ML Q"}},
        {"_VEC.TXT", {">", A, P, ">", A, P, ">"}}, {"_D3.TXT", {">", A, Q, ">"}}, {"_ZEN.TXT", {">", A, Q, ">"}},
        {"_DH.TXT", {">", A, Q, ">"}}, {"_H.TXT", {Q}},
        {"_CCORR.TXT", {"", P + "    -2.00     1.00  0.0 0.0 0.0   P", Q + "     0.00     0.00  0.0 0.0 0.0   Q"}},
        {"_XVEL.TXT", {P + "     1.00     0.50      0.28      0.14    0.0  P"}}};
    for (const auto& [suffix, vrstice] : datoteke) EXPECT_EQ(t.Dat(suffix), vrstice) << suffix;
    EXPECT_EQ(t.Dat("_ABSE.TXT").at(0), P + "  0.0 0.0       2.0000    1.0000    0.0  P");
    EXPECT_EQ(t.Dat("_RELE.TXT").at(1), "       50.0000       25.0000 0.0 0.0     2.0000    1.0000    0.0  A-P");
}

// A free levelling triangle (exact differences 1 and 2 m, sd 1 mm): no plot
// files, only the title; the S-transformation file holds the approximate
// heights, the corrections that the inner constraint spreads (sum zero) and
// the pseudo-inverse of the triangle's normal matrix, I/3 - J/9.
TEST(Izvoz, LevellingNetworkSTransformationFile)
{
    const Tek t = Pozeni("*DIM 1\n*GMT\n*STR\n*OPT2\n*S02 APRIORI\n*D H\nX R1 100\nX R2 101.01\nX R3 103\n"
                         "h R1 R2 1 1\nh R2 R3 2 1\nh R1 R3 3 1\n*K\n");
    ASSERT_EQ(t.status, 0) << t.con;
    const std::string crte(75, '=');
    EXPECT_NE(t.report.find("IZPIS REZULTATOV ZA IZRIS Z ORODJEM GMT:\n" + crte + "\n\n" + crte +
                            "\nIZPIS REZULTATOV ZA S TRANSFORMACIJO:"), std::string::npos);
    EXPECT_NE(t.report.find("\nIzpis podatkov za S-transformacijo:                  3    TOCK [m_STR.TXT]\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(t.dir + "/m_PTN.TXT"));
    const std::string p = "     0.222222222222222", o = "    -0.111111111111111";
    const std::vector<std::string> str = {"#RAZSEZNOST GEODETSKE MREZE", "#--------------------------", "D 1", "",
        "#STEVILO GEODETSKIH TOCK", "#-----------------------", "N 3", "",
        "#PRIBLIZNE KOORDINATE TOCK IN POPRAVKI PRIBLIZNIH KOORDINAT TOCK",
        "#---------------------------------------------------------------", "X       R1    100.00000000    0.0033333333",
        "X       R2    101.01000000   -0.0066666667", "X       R3    103.00000000    0.0033333333", "",
        "#REFERENCNA VARIANCA IZRACUNA:", "#-----------------------------", "V 0.000001000000000", "",
        "#MATRIKA KOFAKTORJEV NEZNANK Qxx:", "#--------------------------------", "K " + p + o + o, "K " + o + p + o,
        "K " + o + o + p, "", ""};
    EXPECT_EQ(t.Dat("_STR.TXT"), str);
    EXPECT_EQ(t.Dat("_OPT2.TXT").at(4), "B      1.000000000000000     0.000000000000000    -1.000000000000000");
}

// The free plane network (kind H), one run read back against its report:
// from the S-transformation file, approximate coordinates plus corrections
// are the adjusted ones, the cofactors times the reference variance give
// the deviations, and the block is symmetric with the translations and the
// rotation in its null space; the absolute ellipses (cm) are the report's
// (m), and the relative ellipses are the rows of the report's last table,
// drawn at the midpoints of the adjusted points.  The JSON and the CSV
// give the same orientations in radians (the report's degrees times pi /
// 180), and the page's JSON blocks hold a point named "</script>" escaped,
// so that its scripts stay whole and the data block reads back.
TEST(Izvoz, FreeNetworkReadBackAgainstTheReport)
{
    std::string data = Primer("ravninska_gon.dat");
    for (std::size_t i = 0; (i = data.find(" 101 ", i)) != std::string::npos;) data.replace(i, 5, " </script> ");
    const Tek t = Pozeni("*STR\n*GMT\n*JSON\n*CSV\n*HTML\n" + data);
    ASSERT_EQ(t.status, 0) << t.con;
    const nlohmann::json js = nlohmann::json::parse(ReadFile(t.dir + "/m.json"));
    std::map<std::string, long double> csvTheta;
    for (const std::string& l : t.Dat(".csv"))
        if (!l.starts_with("name,")) csvTheta[l.substr(0, l.find(','))] = std::stold(l.substr(l.rfind(',') + 1));
    const long double rad = 3.14159265358979323846L / 180, pol = 0.0051L * rad;
    const std::string html = ReadFile(t.dir + "/m.html");
    const auto kosov = [&](const std::string& x) {
        std::size_t n = 0;
        for (std::size_t i = 0; (i = html.find(x, i)) != std::string::npos; ++i) ++n;
        return n;
    };
    EXPECT_EQ(kosov("<script"), 5u);
    EXPECT_EQ(kosov("</script"), 5u);
    const std::size_t blok = html.find('>', html.find("id=\"nivex-data\"")) + 1;
    const nlohmann::json stran = nlohmann::json::parse(html.substr(blok, html.find("</script>", blok) - blok), nullptr, false);
    ASSERT_FALSE(stran.is_discarded());
    EXPECT_EQ(stran["points"][2]["name"], "</script>");
    const auto rep = Lines(t.report);
    std::vector<std::string> imena;
    std::vector<std::vector<long double>> X, K;
    long double var = -1;
    for (const std::string& l : t.Dat("_STR.TXT")) {
        std::istringstream v(l);
        std::string tag, ime;
        std::vector<long double> x(4);
        if (l.starts_with("X ") && (v >> tag >> ime >> x[0] >> x[1] >> x[2] >> x[3])) imena.push_back(ime), X.push_back(x);
        if (l.starts_with("K ")) K.push_back(Stevila(l));
        if (l.starts_with("V ")) var = Stevila(l).at(0);
    }
    const std::size_t n = X.size(), m = 2 * n;
    ASSERT_EQ(n, 8u);
    ASSERT_EQ(K.size(), m);
    EXPECT_GT(var, 0.0L);
    const auto abse = t.Dat("_ABSE.TXT");
    ASSERT_EQ(abse.size(), n);
    std::map<std::string, std::vector<long double>> izr;  // adjusted X, Y and the ellipse A, B, theta
    const auto zadnji = std::find(rep.rbegin(), rep.rend(), "OCENJENE KOORDINATE  TOCK").base();
    for (std::size_t i = 0; i < n; ++i) {
        const auto it = std::find_if(zadnji, rep.end(), [&](const std::string& l) {
            std::istringstream s(l);
            std::string st, ime;
            return (s >> st >> ime) && st == std::to_string(i + 1) && ime == imena[i];
        });
        ASSERT_TRUE(it != rep.end() && it + 2 < rep.end()) << imena[i];
        const auto sd = Stevila(*(it + 1)), r = izr[imena[i]] = Stevila(*(it + 2)), f = Stevila(abse[i]);
        ASSERT_EQ(r.size(), 5u);
        ASSERT_GE(f.size(), 7u);  // a numeric point name counts too
        EXPECT_TRUE(abse[i].ends_with("  " + imena[i])) << abse[i];
        for (std::size_t c = 0; c < 2; ++c) {
            EXPECT_NEAR(X[i][c] + X[i][2 + c], r[c], 0.6e-4L) << imena[i];
            EXPECT_NEAR(std::sqrt(var * K[2 * i + c][2 * i + c]), sd[2 + c], 0.6e-4L) << imena[i];
            EXPECT_NEAR(f[c], r[c], 0.6e-4L) << abse[i];
            EXPECT_NEAR(f[4 + c] / 100, r[2 + c], 0.6e-4L) << abse[i];
        }
        EXPECT_NEAR(f[6], r[4], 0.051L) << abse[i];
        EXPECT_NEAR(js["points"][i]["ellipse"]["theta"].get<double>(), r[4] * rad, pol) << imena[i];
        EXPECT_NEAR(csvTheta[imena[i]], r[4] * rad, pol) << imena[i];
    }
    const auto rele = t.Dat("_RELE.TXT");
    const auto glava = std::find(rep.rbegin(), rep.rend(), "      TC1   TC2        Ar          Br       THr  ").base();
    ASSERT_EQ(rele.size(), 16u);
    for (std::size_t i = 0; i < rele.size(); ++i) {
        std::istringstream r(*(glava + 1 + static_cast<long>(i)));
        std::string st, t1, t2;
        long double a, b, th;
        r >> st >> t1 >> t2 >> a >> b >> th;
        const auto f = Stevila(rele[i]);
        EXPECT_TRUE(rele[i].ends_with("  " + t1 + "-" + t2)) << rele[i];
        for (std::size_t c = 0; c < 2; ++c) EXPECT_NEAR(f[c], (izr[t1][c] + izr[t2][c]) / 2, 0.6e-4L) << rele[i];
        EXPECT_NEAR(f[4] / 100, a, 0.6e-4L) << rele[i];
        EXPECT_NEAR(f[5] / 100, b, 0.6e-4L) << rele[i];
        EXPECT_NEAR(f[6], th, 0.051L) << rele[i];
        const auto& e = js["relative_ellipses"][i];
        EXPECT_EQ(e["points"], nlohmann::json::array({t1, t2}));
        EXPECT_NEAR(e["theta"].get<double>(), th * rad, pol) << rele[i];
    }
    long double xs = 0, ys = 0, qmax = 0;
    for (std::size_t i = 0; i < n; ++i) xs += X[i][0] / n, ys += X[i][1] / n;
    for (std::size_t r = 0; r < m; ++r) {
        ASSERT_EQ(K[r].size(), m);
        long double tx = 0, ty = 0, rot = 0;
        for (std::size_t s = 0; s < m; ++s) {
            EXPECT_NEAR(K[r][s], K[s][r], 2e-15L);
            qmax = std::max(qmax, std::fabs(K[r][s]));
            (s % 2 == 0 ? tx : ty) += K[r][s];
            rot += K[r][s] * (s % 2 == 0 ? -(X[s / 2][1] - ys) : X[s / 2][0] - xs);
        }
        EXPECT_LT(std::fabs(tx) + std::fabs(ty), 1e-10L * qmax) << r;
        EXPECT_LT(std::fabs(rot), 1e-10L * qmax * 3000) << r;
    }
    EXPECT_GT(qmax, 1e-3L);
}

// The global test is two-sided: with 2 degrees of freedom the chi-square
// quantile is -2 ln(1 - p), so at the level a = 0.9 the bounds of the ratio
// are -ln((1 + a) / 2) and -ln((1 - a) / 2).
TEST(Izvoz, GlobalTestBoundsAreTwoSided)
{
    const Tek t = Pozeni("*DIM 1\n*JSON\n*PGTEST 0.9\n*D V\n**V A\nX A 100\nX B 101\nX C 103\n"
                         "h A B 1.001 1\nh B C 2 1\nh A C 3.002 1\nh C A -2.999 1\n*K\n");
    ASSERT_EQ(t.status, 0) << t.con;
    const nlohmann::json g = nlohmann::json::parse(ReadFile(t.dir + "/m.json"))["global_test"];
    EXPECT_EQ(g["dof"], 2);
    EXPECT_NEAR(g["lower"].get<double>(), -std::log(0.95), 1e-12);
    EXPECT_NEAR(g["upper"].get<double>(), -std::log(0.05), 1e-12);
    EXPECT_NE(t.report.find("  ( 0.05 -  3.00)\n"), std::string::npos);
}

// Files that cannot be written, in one run of a base name of 247
// characters: a folder in the place of the point file, names past 255
// characters (never written shortened), and the S-transformation of a
// network on fixed points.  Each is a warning that names it; the rest is
// written and the run ends normally.
TEST(Izvoz, UnwritableFilesAreWarnedAndSkipped)
{
    const std::string base(247, 'a'), ne = " #### Izhodne datoteke ni mogoce odpreti za pisanje - datoteka ni izdelana: ";
    const Tek t = Pozeni(ZNastavitvijo(kRavninska, "*STR", ""), base + ".dat", base + "_PTN.TXT");
    EXPECT_EQ(t.status, 0);
    EXPECT_NE(t.con.find("\n\n" + ne + base + "_PTN.TXT #### \n\n"), std::string::npos) << t.con;
    EXPECT_NE(t.report.find("\n" + ne + base + "_PTN.TXT #### \n"), std::string::npos);
    EXPECT_EQ(t.report.find("_PTN.TXT]"), std::string::npos);
    EXPECT_EQ(Lines(ReadFile(t.dir + "/" + base + "_D2.TXT")).size(), 10u);
    std::set<std::string> datoteke;
    for (const auto& e : fs::directory_iterator(t.dir))
        if (e.is_regular_file()) datoteke.insert(e.path().filename().string().substr(247));
    EXPECT_EQ(datoteke, (std::set<std::string>{".dat", ".NVX", "_CRD.TXT", "_DIR.TXT", "_AZI.TXT", "_D2.TXT", "_VEC.TXT"}));
    for (const char* s : {"_CCORR.TXT", "_ABSE.TXT", "_RELE.TXT", "_OPT2.TXT"})
        EXPECT_NE(t.con.find(" #### Ime izhodne datoteke je predolgo (najvec 255 znakov) - datoteka ni izdelana: " +
                             base + s + " #### "), std::string::npos) << s;
    EXPECT_NE(t.con.find(" #### Izpisa za S-transformacijo ni mozno narediti pri vklopljeni geodetski mrezi      #### "),
              std::string::npos);
    EXPECT_EQ(t.report.find("S TRANSFORMACIJO:\n" + std::string(75, '=') + "\n\n\nIzpis podatkov za S"), std::string::npos);
}

// A data file in UTF-8 (with or without the byte-order mark) and the same in
// Windows-1250 give the same results files, names in UTF-8; the report keeps
// the bytes of the data file.
TEST(Izvoz, NamesOfUtf8AndWindows1250DataFiles)
{
    const Tek u = Pozeni(Mesta(kUtf8)), bom = Pozeni("\xEF\xBB\xBF" + Mesta(kUtf8)), w = Pozeni(Mesta(kCp1250));
    for (const Tek* t : {&u, &bom, &w}) ASSERT_EQ(t->status, 0) << t->con;
    const auto csv = u.Dat(".csv");
    ASSERT_EQ(csv.size(), 4u);
    const std::string json = ReadFile(u.dir + "/m.json"), stran = ReadFile(w.dir + "/m.html");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(csv[i + 1].substr(0, kUtf8[i].size() + 1), kUtf8[i] + ",");
        EXPECT_NE(json.find("\"name\": \"" + kUtf8[i] + "\""), std::string::npos) << i;
        EXPECT_NE(stran.find("\"name\":\"" + kUtf8[i] + "\""), std::string::npos) << i;
        EXPECT_NE(u.report.find(kUtf8[i]), std::string::npos) << i;
        EXPECT_NE(w.report.find(kCp1250[i]), std::string::npos) << i;
        EXPECT_EQ(w.report.find(kUtf8[i]), std::string::npos) << i;
    }
    EXPECT_EQ(u.Dat("_PTN.TXT")[0], "      100.0000      100.0000  8 0 25 ML " + kUtf8[0]);
    for (const char* s : {".json", ".geojson", ".csv", "_PTN.TXT", "_CCORR.TXT", "_RELE.TXT"}) {
        EXPECT_TRUE(ReadFile(bom.dir + "/m" + s) == ReadFile(u.dir + "/m" + s)) << s;
        EXPECT_TRUE(ReadFile(w.dir + "/m" + s) == ReadFile(u.dir + "/m" + s)) << s;
    }
    EXPECT_TRUE(Maskiraj(bom.report) == Maskiraj(u.report));

    // A file is UTF-8 when it starts with the mark or is valid UTF-8 beyond
    // ASCII; bytes of a UTF-8 text that are not UTF-8 are decoded as
    // Windows-1250, so that the JSON is always valid.
    EXPECT_EQ(KodiranjeBesedila("X A 1 2\n"), Kodiranje::Windows1250);
    EXPECT_EQ(KodiranjeBesedila("\xEF\xBB\xBFX A 1 2\n"), Kodiranje::Utf8);
    EXPECT_EQ(KodiranjeBesedila("X " + kUtf8[1] + " 1 2\n"), Kodiranje::Utf8);
    for (const std::string& ni : {kCp1250[1], std::string("\xC0\xAF"), std::string("\xED\xA0\x80"),
                                 std::string("\xF4\x90\x80\x80"), kUtf8[1] + "\xC5"})
        EXPECT_EQ(KodiranjeBesedila("X " + ni), Kodiranje::Windows1250) << ni;
    EXPECT_EQ(NVX2Utf8(kUtf8[1] + " \x8A", Kodiranje::Utf8), kUtf8[1] + " \xC5\xA0");
    EXPECT_EQ(NVX2Utf8("\xC5\xBD", Kodiranje::Windows1250), "\xC4\xB9\xCB\x9D");
}

// The map script, with a stand-in for gmt that keeps the labels and arrows
// it is given: the names reach GMT in ISO-8859-2 with the encoding set, and
// the correction arrows are drawn, from the plot files of this version
// (UTF-8) as from plot files in Windows-1250.  The title and the legend are
// Slovenian, English with --lang en or when the run's JSON says so, and
// --lang sl overrides the JSON.
TEST(Izvoz, MapScriptNamesAndArrows)
{
    if (std::system("command -v iconv >/dev/null 2>&1") != 0) GTEST_SKIP() << "iconv is missing";
    const Tek t = Pozeni(Mesta(kUtf8));
    ASSERT_EQ(t.status, 0) << t.con;
    fs::create_directory(t.dir + "/bin");
    WriteFile(t.dir + "/bin/gmt", "#!/bin/sh\necho \"$*\" >>\"$KLICI\"/klici\n"
                                 "for a; do case \"$a\" in */labels|*/CCORR|*/legend) cp \"$a\" \"$KLICI\";; esac; done\n");
    fs::permissions(t.dir + "/bin/gmt", fs::perms::owner_all);
    const std::string ukaz = "cd '" + t.dir + "' && LC_ALL=C.UTF-8 KLICI=\"$PWD\" PATH=\"$PWD/bin:$PATH\" bash '" NIVEX_SOURCE_DIR
                             "/examples/plot-network.sh' ";
    for (const bool cp1250 : {false, true}) {
        if (cp1250)
            for (const char* s : {"_PTN.TXT", "_CCORR.TXT", "_ABSE.TXT"}) {
                std::string f = ReadFile(t.dir + "/m" + s);
                for (std::size_t i = 0; i < 3; ++i)
                    for (std::size_t p; (p = f.find(kUtf8[i])) != std::string::npos;) f.replace(p, kUtf8[i].size(), kCp1250[i]);
                WriteFile(t.dir + "/m" + s, f);
            }
        fs::remove(t.dir + "/CCORR");
        ASSERT_EQ(std::system((ukaz + "m >/dev/null 2>&1").c_str()), 0) << cp1250;
        EXPECT_EQ(Lines(ReadFile(t.dir + "/labels")),
                  (std::vector<std::string>{"100.0000 100.0000 \xA9o\xB9tanj", "200.0000 100.0000 \xAE" "alec",
                                            "100.0000 200.0000 \xC8rna"})) << cp1250;
        EXPECT_EQ(Lines(ReadFile(t.dir + "/CCORR")).size(), 2u) << cp1250;
        EXPECT_NE(ReadFile(t.dir + "/klici").find("PS_CHAR_ENCODING ISO-8859-2"), std::string::npos);
    }
    // The words of the legend (after the symbol of a line, or the whole of a
    // line of text) and the title.
    const auto besede = [&](const std::string& moznost) {
        fs::remove(t.dir + "/klici");
        EXPECT_EQ(std::system((ukaz + moznost + " m >/dev/null 2>&1").c_str()), 0) << moznost;
        std::vector<std::string> b;
        for (const std::string& l : Lines(ReadFile(t.dir + "/legend")))
            if (const auto p = l.find(" 0.9c "); l[0] == 'S' && p != std::string::npos) b.push_back(l.substr(p + 6));
            else if (l.rfind("L 8p,Helvetica C ", 0) == 0) b.push_back(l.substr(17));
        const std::string k = ReadFile(t.dir + "/klici"), n = "-BWSen+t";
        b.push_back(k.find(n) == std::string::npos ? "" : k.substr(k.find(n) + n.size(), k.find(' ', k.find(n)) - k.find(n) - n.size()));
        return b;
    };
    const std::vector<std::string> sl = {"smeri", "azimuti", "horizontalne dolzine", "relativne elipse", "absolutne elipse",
        "popravki (1 cm = 50 mm)", "dane tocke", "nove tocke", "Elipse pogreskov (1 sigma): 1 cm na karti = 50 mm", "Mreza"},
        en = {"directions", "azimuths", "horizontal distances", "relative error ellipses", "error ellipses",
              "corrections (1 cm = 50 mm)", "fixed points", "new points", "Error ellipses (1 sigma): 1 cm on the map = 50 mm", "Network"};
    EXPECT_EQ(besede(""), sl);
    EXPECT_EQ(besede("--lang en"), en);
    WriteFile(t.dir + "/m.json", "{\n  \"format\": \"nivex-results\",\n  \"language\": \"en\"\n}\n");
    EXPECT_EQ(besede(""), en);
    EXPECT_EQ(besede("--lang sl"), sl);
    EXPECT_NE(std::system((ukaz + "--lang de m >/dev/null 2>&1").c_str()), 0);
}
