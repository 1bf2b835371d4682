// The shipped plane, spatial and mixed networks (directions, distances,
// zenith distances, bearings, angles between directions) adjusted in
// process: the adjusted coordinates left in the point list after the last
// iteration against the independent adjustment of the example generator
// (tests/data/examples_gen/*_adjusted.txt), to its five decimals.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/Nivex.h"

namespace {

// name -> adjusted coordinates of an *_adjusted.txt file.
std::map<std::string, std::vector<double>> Referenca(const std::string& primer, int dim)
{
    std::map<std::string, std::vector<double>> t;
    for (const std::string& l : Lines(ReadFile(std::string(NIVEX_TEST_DATA) + "/examples_gen/" + primer +
                                               "_adjusted.txt"))) {
        if (l.empty() || l[0] == '#') continue;
        std::istringstream s(l);
        std::string ime;
        s >> ime;
        std::vector<double> x(static_cast<std::size_t>(dim));
        for (double& v : x) s >> v;
        t[ime] = x;
    }
    return t;
}

// Runs the whole adjustment of an example in a child process and returns
// the point list after it, one "@@ name x y [z]" line per point.
std::map<std::string, std::vector<double>> Izravnava(const std::string& primer, int& status)
{
    const std::string dat = std::string(NIVEX_SOURCE_DIR) + "/examples/" + primer + ".dat";
    const Izid r = RunChild([&] {
        CNivex nivex;
        std::ostringstream porocilo, konzola;
        std::streambuf* prej = std::cout.rdbuf(konzola.rdbuf());
        nivex.Izracun(dat, porocilo);
        std::cout.rdbuf(prej);
        for (long p = 0; p < static_cast<long>(nivex.TOCrdA.NObs()); ++p) {
            std::printf("@@ %s", nivex.TOCrdA.PTS(p).c_str());
            for (long k = 0; k < nivex.TOCrdA.GetDim(); ++k) std::printf(" %.7Lf", nivex.TOCrdA.OBS(p, k));
            std::printf("\n");
        }
    });
    status = r.status;
    std::map<std::string, std::vector<double>> t;
    for (const std::string& l : Lines(r.out)) {
        if (l.rfind("@@ ", 0) != 0) continue;
        std::istringstream s(l.substr(3));
        std::string ime;
        s >> ime;
        for (double v; s >> v;) t[ime].push_back(v);
    }
    return t;
}

}  // namespace

TEST(NelinPrimeri, AdjustedCoordinatesAgreeWithTheIndependentAdjustment)
{
    struct {
        const char* primer;
        int dim;
    } primeri[] = {{"ravninska_dms", 2}, {"ravninska_gon", 2}, {"prostorska", 3}, {"mesana", 2}};
    for (const auto& p : primeri) {
        SCOPED_TRACE(p.primer);
        const auto ref = Referenca(p.primer, p.dim);
        int status = -1;
        const auto izr = Izravnava(p.primer, status);
        EXPECT_EQ(status, 0);
        ASSERT_EQ(izr.size(), ref.size());
        for (const auto& [ime, x] : ref) {
            ASSERT_TRUE(izr.count(ime)) << ime;
            ASSERT_EQ(izr.at(ime).size(), x.size());
            // The reference is rounded to 0.01 mm; the two adjustments agree to that.
            for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(izr.at(ime)[k], x[k], 1e-5) << ime << " " << k;
        }
    }
}
