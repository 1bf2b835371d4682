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

// name -> values of an *_adjusted.txt file, and its s0 (sigma0 a-posteriori / a-priori).
std::map<std::string, Tocka> PreberiIzravnavo(const std::string& pot, int dim, double& s0)
{
    std::map<std::string, Tocka> t;
    for (const std::string& l : Lines(ReadFile(pot))) {
        if (l.rfind("# s0 ", 0) == 0) s0 = std::stod(l.substr(5));
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
}  // namespace

TEST(CGMMSolPrimeri, NivelmanInVektorji)
{
    struct {
        const char* primer;
        const char* naslov;
        int dim;
        double redundanca;
    } primeri[] = {{"nivelman", "OCENJENE VISINE  TOCK", 1, 7.0}, {"vektorji", "OCENJENE KOORDINATE  TOCK", 3, 24.0}};
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.primer);
        double s0 = 0.0;
        const auto ref = PreberiIzravnavo(std::string(NIVEX_TEST_DATA) + "/examples_gen/" + p.primer + "_adjusted.txt",
                                          p.dim, s0);
        ASSERT_GT(s0, 0.0);
        const std::string nvx = Porocilo(p.primer);
        EXPECT_NEAR(Vrednost(nvx, "Globalni test [SQRT]:                  "), s0, 6e-5);
        EXPECT_NEAR(Vrednost(nvx, "Matrika nadstevilnosti [riri]:         "), p.redundanca, 1e-4);

        // Adjusted value to the printed decimals; sigma = s0 * a-priori sigma.
        const double dec = p.dim == 1 ? 1e-5 + 1e-6 : 1e-5 + 1e-4;
        std::size_t preverjenih = 0;
        std::string ime;
        int d = 0;
        for (const std::string& l : ZadnjaTabela(nvx, p.naslov)) {
            std::istringstream s(l);
            std::vector<std::string> w;
            for (std::string x; s >> x;) w.push_back(x);
            if (w.empty() || w[0] == "TC" || w[0] == "KOORDINATE") continue;  // header lines
            // 1D: number name H0 dH H sH; 3D: number name X X0 dX X sX ..., then Y|Z Y0 dY Y sY ...
            std::size_t k = 0;
            if (p.dim == 1) {
                ime = w[1];
                k = 4;
            } else if (w.size() > 2 && w[2] == "X") {
                ime = w[1];
                d = 0;
                k = 5;
            } else {
                d = w[0] == "Y" ? 1 : 2;
                k = 3;
            }
            ASSERT_TRUE(ref.count(ime)) << l;
            const Tocka& t = ref.at(ime);
            EXPECT_NEAR(std::stod(w[k]), t.izr[d], dec) << l;
            EXPECT_NEAR(std::stod(w[k + 1]), s0 * t.sig[d] / 1000.0, p.dim == 1 ? 1e-6 : 1e-4) << l;
            ++preverjenih;
        }
        EXPECT_EQ(preverjenih, ref.size() * static_cast<std::size_t>(p.dim));
    }
}
