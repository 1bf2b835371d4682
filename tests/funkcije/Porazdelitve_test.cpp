// Normal and chi-square distributions and the gamma functions behind them:
// published table values, SciPy reference values read from
// tests/data/distributions/reference.csv (see gen_reference.py there), the
// infinite ends, poles and non-finite arguments, and every argument refusal.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "funkcije/Hi2Por.h"
#include "funkcije/NormPor.h"
#include "funkcije/gamma.h"

namespace {
constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kEnd = 1e300;  // the finite stand-in for an infinite quantile
}  // namespace

// Quantiles to six significant digits: |got - table| within half a unit of
// the table value's sixth digit.
TEST(Porazdelitve, QuantilesMatchPublishedTables)
{
    const auto sest = [](long double got, double table) {
        const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(table))) - 5);
        return std::fabs(static_cast<double>(got) - table) <= 0.5 * unit * (1 + 1e-9);
    };
    for (auto [p, x] : {std::pair{0.9, 1.28155}, {0.95, 1.64485}, {0.975, 1.95996}, {0.99, 2.32635}, {0.995, 2.57583},
                        {1e-10, -6.36134}, {1 - 1e-10, 6.36134}})
        EXPECT_TRUE(sest(NormPorInvF(p), x)) << p << ": " << static_cast<double>(NormPorInvF(p));
    const double ps[5] = {0.025, 0.05, 0.95, 0.975, 0.99};
    const std::vector<std::pair<int, std::vector<double>>> tabela = {
        {1, {0.000982069, 0.00393214, 3.84146, 5.02389, 6.63490}},
        {2, {0.0506356, 0.102587, 5.99146, 7.37776, 9.21034}},
        {3, {0.215795, 0.351846, 7.81473, 9.34840, 11.3449}},
        {4, {0.484419, 0.710723, 9.48773, 11.1433, 13.2767}},
        {5, {0.831212, 1.14548, 11.0705, 12.8325, 15.0863}},
        {6, {1.23734, 1.63538, 12.5916, 14.4494, 16.8119}},
        {7, {1.68987, 2.16735, 14.0671, 16.0128, 18.4753}},
        {8, {2.17973, 2.73264, 15.5073, 17.5345, 20.0902}},
        {9, {2.70039, 3.32511, 16.9190, 19.0228, 21.6660}},
        {10, {3.24697, 3.94030, 18.3070, 20.4832, 23.2093}},
        {11, {3.81575, 4.57481, 19.6751, 21.9200, 24.7250}},
        {12, {4.40379, 5.22603, 21.0261, 23.3367, 26.2170}},
        {13, {5.00875, 5.89186, 22.3620, 24.7356, 27.6882}},
        {14, {5.62873, 6.57063, 23.6848, 26.1189, 29.1412}},
        {15, {6.26214, 7.26094, 24.9958, 27.4884, 30.5779}},
        {16, {6.90766, 7.96165, 26.2962, 28.8454, 31.9999}},
        {17, {7.56419, 8.67176, 27.5871, 30.1910, 33.4087}},
        {18, {8.23075, 9.39046, 28.8693, 31.5264, 34.8053}},
        {19, {8.90652, 10.1170, 30.1435, 32.8523, 36.1909}},
        {20, {9.59078, 10.8508, 31.4104, 34.1696, 37.5662}},
        {21, {10.2829, 11.5913, 32.6706, 35.4789, 38.9322}},
        {22, {10.9823, 12.3380, 33.9244, 36.7807, 40.2894}},
        {23, {11.6886, 13.0905, 35.1725, 38.0756, 41.6384}},
        {24, {12.4012, 13.8484, 36.4150, 39.3641, 42.9798}},
        {25, {13.1197, 14.6114, 37.6525, 40.6465, 44.3141}},
        {26, {13.8439, 15.3792, 38.8851, 41.9232, 45.6417}},
        {27, {14.5734, 16.1514, 40.1133, 43.1945, 46.9629}},
        {28, {15.3079, 16.9279, 41.3371, 44.4608, 48.2782}},
        {29, {16.0471, 17.7084, 42.5570, 45.7223, 49.5879}},
        {30, {16.7908, 18.4927, 43.7730, 46.9792, 50.8922}},
        {50, {32.3574, 34.7643, 67.5048, 71.4202, 76.1539}},
        {100, {74.2219, 77.9295, 124.342, 129.561, 135.807}},
        {1000, {914.257, 927.594, 1074.68, 1089.53, 1106.97}},
    };
    for (const auto& [k, vrednosti] : tabela)
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_TRUE(sest(Hi2PorInvF(ps[i], k), vrednosti[i])) << ps[i] << ", " << k;
}

// Every function of the reference file with the error it is allowed (relative,
// or absolute where marked) and the least number of rows it must have there.
TEST(Porazdelitve, AgreeWithSciPyReference)
{
    struct Ref {
        double a, b, c, r;  // the arguments (unused ones 0) and SciPy's value
    };
    struct Funkcija {
        long double (*f)(const Ref&);
        double (*meja)(const Ref&);
        bool absolutno;
        int najmanj;
    };
#define FN []([[maybe_unused]] const Ref& v)
    const std::map<std::string, Funkcija> funkcije = {
        {"ndtri", {FN { return NormPorInvF(v.a); }, FN { return 2e-15; }, false, 2900}},
        // The search on Q(k/2, x) near 1 resolves 1 - p only to about 5e-15 / p,
        // and x varies like p^(2/k) there.
        {"chi2ppf", {FN { return Hi2PorInvF(v.a, v.b); }, FN { return 2e-11 + 2e-14 / (v.b * v.a); }, false, 1100}},
        {"gammainccinv", {FN { return invincompletegammac(v.a, v.b); },
                          FN { return 1e-11 + 4e-15 * v.a + 1e-14 / (v.a * (1 - v.b)); }, false, 2700}},
        {"gammaln", {FN {
                         long double sign = 0;
                         const long double y = lngamma(v.a, sign);
                         EXPECT_EQ(sign, v.b) << v.a;
                         return y;
                     },
                     FN { return 1e-15 * std::fmax(1, std::fabs(v.r)); }, true, 2300}},
        {"gamma", {FN { return gamma(static_cast<long double>(v.a)); }, FN { return 2e-15; }, false, 1800}},
        // ln x, exp and ln Γ(a) in double: the exponent a ln x - x - ln Γ(a)
        // carries an error growing with a.
        {"gammainc", {FN { return incompletegamma(v.a, v.b); }, FN { return 1e-13 + 4e-15 * v.a; }, false, 3000}},
        {"gammaincc", {FN { return incompletegammac(v.a, v.b); }, FN { return 1e-13 + 4e-15 * v.a; }, false, 3000}},
        {"chi2pdf", {FN { return Hi2Porf(v.a, v.b); }, FN { return 1e-13 + 2e-15 * v.b; }, false, 900}},
        {"chi2cdf", {FN { return Hi2PorF(v.a, v.b); }, FN { return 1e-13 + 2e-15 * v.b; }, false, 900}},
        {"chi2sf", {FN { return Hi2PorFC(v.a, v.b); }, FN { return 1e-13 + 2e-15 * v.b; }, false, 900}},
        {"normpdf", {FN { return NormPorf(v.a); }, FN { return 1e-15; }, false, 700}},
        {"normpdf3", {FN { return NormPorf(v.a, v.b, v.c); },
                      FN { return 1e-15 * (1 + (v.a - v.b) * (v.a - v.b) / (v.c * v.c)); }, false, 480}},
        // 0.5 (1 + erf(x / sqrt 2)) is accurate in absolute terms only: the
        // lower tail loses its relative accuracy to the sum.
        {"normcdf", {FN { return NormPorF(v.a); }, FN { return v.a >= 0 ? 2e-16 : 3e-16; }, true, 700}},
    };
#undef FN
    std::ifstream datoteka(std::string(NIVEX_TEST_DATA) + "/distributions/reference.csv");
    ASSERT_TRUE(datoteka);
    std::map<std::string, int> stevilo;
    int slabih = 0;
    for (std::string vrstica; std::getline(datoteka, vrstica);) {
        if (vrstica.empty() || vrstica[0] == '#') continue;
        const std::string ime = vrstica.substr(0, vrstica.find(','));
        const auto fn = funkcije.find(ime);
        ASSERT_TRUE(fn != funkcije.end()) << "unknown function in the reference: " << vrstica;
        // The file holds the doubles SciPy saw: read them as doubles.
        Ref v{};
        char* p = vrstica.data() + ime.size();
        for (double* d : {&v.a, &v.b, &v.c, &v.r}) *d = std::strtod(p + 1, &p);
        const Funkcija& f = fn->second;
        ++stevilo[ime];
        const long double got = f.f(v), d = std::fabs(got - v.r);
        // Values below the double exponent range of exp() are given as 0.
        const bool nic = !f.absolutno && std::fabs(v.r) < 1e-290;
        const double napaka = static_cast<double>(nic ? std::fabs(got) : f.absolutno ? d : d / std::fabs(v.r));
        const double meja = nic ? 1e-280 : f.meja(v);
        if (!(napaka <= meja) && ++slabih <= 20)
            ADD_FAILURE() << ime << ": error " << napaka << " above " << meja << " at " << vrstica << " (got "
                          << static_cast<double>(got) << ")";
    }
    EXPECT_EQ(slabih, 0);
    for (const auto& [ime, f] : funkcije) EXPECT_GE(stevilo[ime], f.najmanj) << ime << " has too few reference rows";
}

// What the reference cannot hold: the ends of the quantiles, poles, infinite
// and NaN arguments, probabilities beyond double precision.
TEST(Porazdelitve, EndsPolesAndNonFiniteArguments)
{
    struct Primer {
        long double dobljeno, pricakovano;  // NaN expected: NaN
        const char* klic;
    };
#define P(klic, vrednost) Primer{klic, vrednost, #klic}
    long double sign = 0;
    const Primer primeri[] = {
        P(NormPorInvF(0.5L), 0), P(NormPorInvF(0), -kEnd), P(NormPorInvF(-0.5L), -kEnd), P(NormPorInvF(-kInf), -kEnd),
        P(NormPorInvF(1), kEnd), P(NormPorInvF(1.5L), kEnd), P(NormPorInvF(kInf), kEnd), P(NormPorInvF(kNaN), kNaN),
        P(NormPorF(kInf), 1), P(NormPorF(-kInf), 0), P(Hi2PorInvF(0, 3.5L), 0), P(Hi2PorInvF(1, 3.5L), kEnd),
        P(Hi2Porf(0, 1), kInf), P(Hi2Porf(0, 2), 0.5L), P(Hi2Porf(0, 3), 0), P(Hi2Porf(kInf, 3), 0),
        P(Hi2PorF(kInf, 3), 1), P(Hi2PorFC(kInf, 3), 0), P(gamma(0.0L), kInf), P(gamma(-0.0L), -kInf),
        P(gamma(-1.0L), kNaN), P(gamma(-35.0L), kNaN), P(gamma(-1e30L), kNaN), P(gamma(-kInf), kNaN),
        P(gamma(800.0L), kInf), P(gamma(1e6L), kInf), P(gamma(kInf), kInf), P(lngamma(kInf, sign), kInf),
        P(incompletegamma(0, 1), 0), P(incompletegammac(-1, 1), 1), P(incompletegamma(kNaN, 1), kNaN),
        P(incompletegammac(1, kNaN), kNaN),
    };
    for (const Primer& p : primeri)
        EXPECT_TRUE(std::isnan(p.pricakovano) ? std::isnan(p.dobljeno) : p.dobljeno == p.pricakovano)
            << p.klic << " = " << p.dobljeno;
#undef P
    for (long double a : {0.1L, 0.5L, 1.0L, 7.0L, 1000.0L}) {
        EXPECT_TRUE(incompletegamma(a, 0) == 0 && incompletegamma(a, -1) == 0 && incompletegamma(a, kInf) == 1) << a;
        EXPECT_TRUE(incompletegammac(a, 0) == 1 && incompletegammac(a, -1) == 1 && incompletegammac(a, kInf) == 0)
            << a;
        EXPECT_TRUE(invincompletegammac(a, 1) == 0 && invincompletegammac(a, 0) == kEnd) << a;
    }
    // Poles: ln|Γ| is +inf there with sign +1.
    for (long double x : {0.0L, -1.0L, -3.0L, -33.0L, -34.0L, -100.0L, -1e30L}) {
        sign = 0;
        EXPECT_TRUE(lngamma(x, sign) == kInf && sign == 1) << x;
    }
    const long double blizu1 = NormPorInvF(1 - 1e-19L);
    EXPECT_TRUE(blizu1 > 8.9L && blizu1 < 9.1L) << blizu1;
}

TEST(Porazdelitve, HugeArgumentsEndInGoodTime)
{
    const auto t0 = std::chrono::steady_clock::now();
    // Wilson-Hilferty is close to exact for a huge k.
    const long double k = 1e10L, z = NormPorInvF(0.975L);
    const long double wh = k * std::pow(1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k)), 3);
    EXPECT_LE(std::fabs(Hi2PorInvF(0.975L, k) / wh - 1), 1e-9L);
    // Beyond what the sums can reach the gamma functions give up with NaN
    // instead of running for hours.
    EXPECT_TRUE(std::isnan(incompletegamma(1e300L, 1e300L)));
    EXPECT_TRUE(std::isnan(invincompletegammac(1e300L, 0.5L)));
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 30.0);
}

TEST(Porazdelitve, ArgumentErrorsEndTheProgram)
{
    const auto hi2 = [](const std::string& f, int vrstica) {
        return "Funkcija:   " + f + "\nNapacna vrednost argumentov (k,x): \n\nfunkcije/Hi2Por -> " +
               std::to_string(vrstica) + "\n" + std::string(60, '*') + "\n\n";
    };
    using Klici = std::vector<std::function<void()>>;
    const std::vector<std::pair<std::string, Klici>> primeri = {
        {hi2("Hi2PorInvF", 35),
         {[] { Hi2PorInvF(0.95L, 0.5L); }, [] { Hi2PorInvF(1.5L, 10); }, [] { Hi2PorInvF(-0.01L, 10); },
          [] { Hi2PorInvF(kNaN, 10); }, [] { Hi2PorInvF(0.5L, kNaN); }, [] { Hi2PorInvF(0.5L, kInf); },
          [] { Hi2PorInvF(0.5L, 2e10L); }}},
        {hi2("Hi2Porf", 11), {[] { Hi2Porf(-1, 5); }, [] { Hi2Porf(1, 0.99L); }, [] { Hi2Porf(1, kInf); }}},
        {hi2("Hi2PorF", 19), {[] { Hi2PorF(-0.5L, 4); }, [] { Hi2PorF(kNaN, 4); }}},
        {hi2("Hi2PorFC", 27), {[] { Hi2PorFC(-1e-300L, 4); }, [] { Hi2PorFC(1, 0); }, [] { Hi2PorFC(1, 3e10L); }}},
        {"Funkcija:   invincompletegammac\nNapacna vrednost argumentov (a,y): \n\nfunkcije/gamma -> ",
         {[] { invincompletegammac(0, 0.5L); }, [] { invincompletegammac(kInf, 0.5L); },
          [] { invincompletegammac(3, 1.0000001L); }, [] { invincompletegammac(3, kNaN); }}},
        {"Funkcija:   NormPorf\nNapacna vrednost argumenta (sigma): \n\nfunkcije/NormPor -> ",
         {[] { NormPorf(0, 0, 0); }, [] { NormPorf(0, 0, kNaN); }}},
    };
    for (const auto& [blok, klici] : primeri)
        for (const auto& klic : klici) {
            const Izid r = RunChild(klic);
            EXPECT_EQ(r.status, 1) << blok;
            EXPECT_NE(r.out.find("NAPAKA:\n\n" + blok), std::string::npos) << r.out;
            EXPECT_NE(r.out.find("Pritisni ENTER ... "), std::string::npos) << r.out;
        }
    // The boundary values themselves are accepted.
    const Izid r =
        RunChild([] { Hi2PorInvF(0, 1); Hi2PorInvF(1, 1e10L); Hi2Porf(0, 1); Hi2PorF(0, 1); Hi2PorFC(0, 1); });
    EXPECT_EQ(r.status, 0) << r.out;
}
