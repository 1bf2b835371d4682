// Adjusted observations and their reliability: every column of the table
// against the closed form of a weighted mean, the strict screening bound, and
// a network without degrees of freedom (the shipped examples are in their
// golden reports).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
// P is levelled from four benchmarks and its height is observed once: its
// height is the weighted mean of l = H(benchmark) + h and of that height.
// The leg from D is 20 mm off.  Q hangs on P by one leg nothing checks.
const std::string kMreza =
    "*DIM 1\n*S02 APRIORI\n*D V\n**V A\n**V B\n**V C\n**V D\n"
    "X A 100.000\nX B 101.000\nX C 99.000\nX D 102.000\nX P 105.0\nX Q 106.0\n"
    "H P 105.0000 4.0\nh A P 5.0005 1.0\nh B P 3.9995 1.0\nh C P 6.0000 2.0\nh D P 3.0200 3.0\nh P Q 1.0 1.5\n*K\n";
const char* kImena[] = {"P", "A     P", "B     P", "C     P", "D     P"};
const double kL[] = {105.0, 5.0005, 3.9995, 6.0, 3.02};  // observed values
const double kOdmik[] = {0.0, 0.5, -0.5, 0.0, 20.0};    // l - 105 m [mm]
const double kSig[] = {4.0, 1.0, 1.0, 2.0, 3.0};          // [mm]

// A table row from its values in mm: w, NAB, LAM, the flag and the gross
// error follow from the residual, its deviation, r and the a-priori sigma.
std::string Vrstica(int nr, const char* imena, double l, double v, double sv, double s, double r, double sig)
{
    const double w = sv > 0 ? v / sv : 0, nab = r > 0 ? 3.24 * sig / std::sqrt(r) : 0;
    char b[200];
    int n = std::snprintf(b, sizeof b, "%3d%*s%14.6f%8.2f%8.2f%14.6f%8.2f%7.3f%8.3f%8.2f%8.3f", nr, imena[1] ? 12 : 6,
                          imena, l, v, sv, l + v / 1000, s, r, w, nab, r > 0 ? (1 / r - 1) * 3.24 * 3.24 : 0);
    if (std::fabs(w) > 2.5758293035489004) n += std::snprintf(b + n, sizeof b - n, "  *** ");
    if (std::fabs(w) > 2.5758293035489004 && r > 0) std::snprintf(b + n, sizeof b - n, "%8.2f", -v / r);
    return b;
}

// The line of the reliability tables that starts with the running number
// and the names.
std::string Najdi(const std::string& rep, const std::string& zacetek)
{
    const std::size_t od = rep.find("IZRAVNANA OPAZOVANJA");
    for (const std::string& l : Lines(rep.substr(od == std::string::npos ? 0 : od)))
        if (l.rfind(zacetek, 0) == 0) return l;
    return "<ni vrstice " + zacetek + ">";
}
}  // namespace

TEST(TerObsEst, WeightedMeanInClosedFormStrictScreeningWithAndWithoutFullMatrices)
{
    double P = 0, x = 0;
    for (int j = 0; j < 5; ++j) { P += 1 / (kSig[j] * kSig[j]); x += kOdmik[j] / (kSig[j] * kSig[j]); }
    x /= P;
    for (const char* polne : {"1", "0"}) {
        SCOPED_TRACE(polne);
        Izravnava iz = Izravnaj(ZNastavitvijo(kMreza, "*MATFULL", polne));
        for (int j = 0; j < 5; ++j) {
            const double v = x - kOdmik[j], sv = std::sqrt(kSig[j] * kSig[j] - 1 / P);
            const double r = polne[0] == '1' ? 1 - 1 / (kSig[j] * kSig[j] * P) : 0;
            const std::string vr = Vrstica(j == 0 ? 1 : j, kImena[j], kL[j], v, sv, std::sqrt(1 / P), r, kSig[j]);
            EXPECT_EQ(Najdi(iz.report, vr.substr(0, j == 0 ? 9 : 15)), vr);
        }
        // The leg to Q: zero redundancy, no test; its deviation is its own.
        const double vq = static_cast<double>(iz.run->GMMS.vvec(5)) * 1000;
        EXPECT_LT(std::fabs(vq), 1e-9);
        EXPECT_EQ(Najdi(iz.report, "  5     P     Q"), Vrstica(5, "P     Q", 1.0, vq, 0, 1.5, 0, 1.5));
        // The screening is strict: |w| equal to N is not flagged.
        CTerObsEst& est = iz.run->TOEst;
        const long double w = std::fabs(est.GetVrstica(4).w);
        for (const long double N : {w, std::nextafter(w, 0.0L)}) {
            std::ostringstream s;
            est.N = N;
            est.SetPar('h');
            est.SetReliab();
            est.PrintReliab(s);
            EXPECT_EQ(Najdi(s.str(), "  4     D     P").find("***") != std::string::npos, N < w);
        }
    }
}

TEST(TerObsEst, NoDegreesOfFreedomPrintsZerosNeverNan)
{
    // Three spatial distances fix P: r is round-off of either sign.
    for (const char* s02 : {"APOSTERIORI", "APRIORI"}) {
        const Izravnava iz = Izravnaj("*S02 " + std::string(s02) + "\n*DIM 3\n*D V\n**V A\n**V B\n**V C\n"
                                      "X A 1000 1000 100\nX B 2000 1000 150\nX C 1500 300 120\nX P 1500 1800 130\n"
                                      "L A P 943.8 2.0\nL B P 943.5 2.0\nL C P 1500.3 2.0\n*K\n");
        for (int j = 0; j < 3; ++j) {
            const double v = static_cast<double>(iz.run->GMMS.vvec(j)) * 1000, s = s02[2] == 'R' ? 2.0 : 0.0;
            const double l = static_cast<double>(iz.run->TO.TODist3.GetOBS(j, 0));
            const std::string vr = Vrstica(j + 1, (std::string(1, char('A' + j)) + "     P").c_str(), l, v, 0, s, 0, 2);
            EXPECT_EQ(Najdi(iz.report, vr.substr(0, 15)), vr);
        }
        EXPECT_FALSE(std::regex_search(iz.report, std::regex("\\b(nan|inf)\\b", std::regex::icase))) << s02;
    }
}
