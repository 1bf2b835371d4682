// The shipped levelling and GNSS examples adjusted by the built program: the
// adjusted heights / coordinates, their standard deviations and the global
// test of the last iteration against the independent adjustment that the
// example generator wrote (tests/data/examples_gen/*_adjusted.txt).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"

namespace {
struct Tocka {
    std::vector<double> izr, sig;  // adjusted values [m], a-priori standard deviations [mm]
};

// name -> values of an *_adjusted.txt file, its s0 (sigma0 a-posteriori / a-priori)
// and its redundancy.
std::map<std::string, Tocka> PreberiIzravnavo(const std::string& pot, int dim, double& s0, double& redundanca)
{
    std::map<std::string, Tocka> t;
    for (const std::string& l : Lines(ReadFile(pot))) {
        if (l.rfind("# s0 ", 0) == 0) s0 = std::stod(l.substr(5));
        if (l.rfind("# datum ", 0) == 0 && l.find("redundancy ") != std::string::npos)
            redundanca = std::stod(l.substr(l.find("redundancy ") + 11));
        if (l.empty() || l[0] == '#') continue;
        std::istringstream s(l);
        std::string ime;
        s >> ime;
        Tocka p;
        double v = 0;
        for (int d = 0; d < dim; ++d) {
            s >> v;
            p.izr.push_back(v);
        }
        for (int d = 0; d < dim; ++d) {
            s >> v;
            p.sig.push_back(v);
        }
        t[ime] = p;
    }
    return t;
}

// Lines of the last results table of the report: from the last `naslov` to the closing rule.
std::vector<std::string> ZadnjaTabela(const std::string& porocilo, const std::string& naslov)
{
    const std::size_t z = porocilo.rfind(naslov);
    std::vector<std::string> v;
    if (z == std::string::npos) return v;
    const auto l = Lines(porocilo.substr(z));
    for (std::size_t i = 3; i < l.size(); ++i) {
        if (!l[i].empty() && l[i].find_first_not_of('-') == std::string::npos) break;
        v.push_back(l[i]);
    }
    return v;
}

std::string Porocilo(const std::string& primer)
{
    const std::string dir = TempDir("gmmsol_primer");
    std::filesystem::copy_file(std::string(NIVEX_SOURCE_DIR) + "/examples/" + primer + ".dat",
                               dir + "/" + primer + ".dat");
    const Izid r = RunNivex({primer + ".dat"}, dir);
    EXPECT_EQ(r.status, 0) << r.out;
    return ReadFile(dir + "/" + primer + ".NVX");
}

double Vrednost(const std::string& porocilo, const std::string& oznaka)
{
    const std::size_t z = porocilo.rfind(oznaka);
    if (z == std::string::npos) return NAN;
    return std::stod(porocilo.substr(z + oznaka.size(), 10));
}


// Adjusted value and standard deviation of every coordinate in the last
// results table, by dimension: 1D one line per point (number name H0 dH H sH);
// 2D three lines (number name X0 Y0 / dX dY sdX sdY / X Y A B TH); 3D three
// lines (number name X X0 dX X sX ... / Y Y0 dY Y sY ... / Z ...).
struct Koordinata {
    std::string ime;
    int d;
    double izr, sig;
};

std::vector<Koordinata> Koordinate(const std::vector<std::string>& tabela, int dim)
{
    std::vector<Koordinata> k;
    std::vector<std::vector<std::string>> vrstice;
    for (const std::string& l : tabela) {
        std::istringstream s(l);
        std::vector<std::string> w;
        for (std::string x; s >> x;) w.push_back(x);
        if (w.empty() || w[0] == "TC" || w[0] == "KOORDINATE" || w[0] == "dX" || w[0] == "X") continue;  // headers
        vrstice.push_back(w);
    }
    if (dim == 1) {
        for (const auto& w : vrstice) k.push_back({w[1], 0, std::stod(w[4]), std::stod(w[5])});
    } else if (dim == 2) {
        for (std::size_t i = 0; i + 2 < vrstice.size(); i += 3) {
            const auto& a = vrstice[i];
            const auto& b = vrstice[i + 1];
            const auto& c = vrstice[i + 2];
            for (int d = 0; d < 2; ++d) k.push_back({a[1], d, std::stod(c[d]), std::stod(b[2 + d])});
        }
    } else {
        std::string ime;
        for (const auto& w : vrstice) {
            if (w.size() > 2 && w[2] == "X") {
                ime = w[1];
                k.push_back({ime, 0, std::stod(w[5]), std::stod(w[6])});
            } else {
                k.push_back({ime, w[0] == "Y" ? 1 : 2, std::stod(w[3]), std::stod(w[4])});
            }
        }
    }
    return k;
}
}  // namespace

TEST(CGMMSolPrimeri, NeodvisnaIzravnava)
{
    // Levelling (CH), GNSS vectors, plane networks with correlated composed
    // angles (QRHOUS: full weights) and with mixed observations (LU), spatial
    // network (CH); the settings are those of the example files.
    struct {
        const char* primer;
        int dim;
    } primeri[] = {{"nivelman", 1}, {"vektorji", 3}, {"ravninska_dms", 2}, {"mesana", 2}, {"prostorska", 3}};
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.primer);
        double s0 = 0.0, redundanca = 0.0;
        const auto ref = PreberiIzravnavo(std::string(NIVEX_TEST_DATA) + "/examples_gen/" + p.primer + "_adjusted.txt",
                                          p.dim, s0, redundanca);
        ASSERT_GT(s0, 0.0);
        ASSERT_GT(redundanca, 0.0);
        const std::string nvx = Porocilo(p.primer);
        EXPECT_NEAR(Vrednost(nvx, "Globalni test [SQRT]:                  "), s0, 6e-5);
        EXPECT_NEAR(Vrednost(nvx, "Matrika nadstevilnosti [riri]:         "), redundanca, 1e-4);

        // Adjusted value to the printed decimals (and the reference's five);
        // sigma = s0 * a-priori sigma.
        const double dec = (p.dim == 1 ? 5e-7 : 5e-5) + 5e-6;
        const auto k = Koordinate(ZadnjaTabela(nvx, p.dim == 1 ? "OCENJENE VISINE  TOCK" : "OCENJENE KOORDINATE  TOCK"),
                                  p.dim);
        EXPECT_EQ(k.size(), ref.size() * static_cast<std::size_t>(p.dim));
        for (const Koordinata& c : k) {
            SCOPED_TRACE(c.ime + " " + std::to_string(c.d));
            ASSERT_TRUE(ref.count(c.ime));
            const Tocka& t = ref.at(c.ime);
            EXPECT_NEAR(c.izr, t.izr[c.d], dec);
            EXPECT_NEAR(c.sig, s0 * t.sig[c.d] / 1000.0, dec + 1e-6);
        }
    }
}
