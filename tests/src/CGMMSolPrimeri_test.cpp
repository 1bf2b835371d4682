// The shipped examples adjusted in process: sigma0 a-posteriori, the sum of
// the redundancy numbers and the standard deviation of every coordinate
// against the independent adjustment of the example generator
// (tests/data/examples_gen/*_adjusted.txt: s0, redundancy, and per point the
// adjusted values and their a-priori standard deviations in mm).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

TEST(CGMMSolPrimeri, NatancnostNeodvisneIzravnave)
{
    // Levelling, GNSS vectors, plane networks with correlated composed angles
    // (full weights), a free one (datum H) and mixed observations, spatial.
    const struct {
        const char* primer;
        int dim;
    } primeri[] = {{"nivelman", 1},      {"vektorji", 3}, {"ravninska_dms", 2},
                   {"ravninska_gon", 2}, {"mesana", 2},   {"prostorska", 3}};
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.primer);
        const std::string ime = p.primer;
        double s0 = 0.0, f = 0.0;
        std::map<std::string, std::vector<double>> sig;
        const std::string ref = std::string(NIVEX_TEST_DATA) + "/examples_gen/" + ime + "_adjusted.txt";
        for (const std::string& l : Lines(ReadFile(ref))) {
            if (l.rfind("# s0 ", 0) == 0) s0 = std::stod(l.substr(5));
            if (l.find(" redundancy ") != std::string::npos) f = std::stod(l.substr(l.find(" redundancy ") + 12));
            if (l.empty() || l[0] == '#') continue;
            std::istringstream w(l);
            std::string tocka;
            std::vector<double> v(2 * p.dim);
            w >> tocka;
            for (double& e : v) w >> e;
            sig[tocka].assign(v.begin() + p.dim, v.end());
        }
        ASSERT_GT(s0 * f, 0.0);
        const Izravnava iz = Izravnaj(Primer(ime + ".dat"));
        const CNivex& n = *iz.run;
        EXPECT_NEAR(n.GMMS.SoI / n.GMM.So, s0, 1e-6);
        EXPECT_NEAR(n.GMMS.rsum, f, 1e-9);
        const std::size_t np = p.dim == 1 ? n.TO.TOHA.NObs() : n.TO.TOCrdA.NObs();
        ASSERT_EQ(np, sig.size());
        for (std::size_t i = 0; i < np; ++i) {
            const std::string tocka = p.dim == 1 ? n.TO.TOHA.GetPTS(i, 0) : n.TO.TOCrdA.GetPTS(i, 0);
            ASSERT_TRUE(sig.count(tocka)) << tocka;
            for (int d = 0; d < p.dim; ++d) {
                const long k = n.GMM.iDeltaB(i) + d;
                const double s = n.GMM.iDeltaB(i) < 0 ? 0.0 : 1000.0 * std::sqrt(n.GMMS.SoIIzracun * n.GMMS.Qdd(k, k));
                // The reference gives 0.001 mm and s0 six decimals.
                EXPECT_NEAR(s, s0 * sig[tocka][d], 6e-4 + 1e-6 * sig[tocka][d]) << tocka << " " << d;
            }
        }
    }
}
