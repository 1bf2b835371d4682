// Normal and chi-square distributions and the gamma functions behind them:
// SciPy reference values read from
// tests/data/distributions/reference.csv (see gen_reference.py there), the
// infinite ends, poles and non-finite arguments, and every argument refusal.
#include <gtest/gtest.h>

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
#include "funkcije/StudentPor.h"
#include "funkcije/gamma.h"

namespace {
constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kEnd = 1e300;  // the finite stand-in for an infinite quantile
}  // namespace

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
        {"gammaln", {FN { long double sign = 0, y = lngamma(v.a, sign); EXPECT_EQ(sign, v.b) << v.a; return y; },
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

// What the reference cannot hold: the ends of the quantiles, poles, infinite,
// NaN and huge arguments, probabilities beyond double precision.
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
        P(Hi2PorInvF(0, 3.5L), 0), P(Hi2PorInvF(1, 3.5L), kEnd), P(Hi2Porf(0, 1), kInf), P(Hi2Porf(0, 2), 0.5L),
        P(Hi2PorF(kInf, 3), 1), P(Hi2PorFC(kInf, 3), 0), P(gamma(0.0L), kInf), P(gamma(-0.0L), -kInf),
        P(gamma(-1.0L), kNaN), P(gamma(800.0L), kInf), P(lngamma(kInf, sign), kInf), P(incompletegamma(0, 1), 0),
        P(incompletegammac(-1, 1), 1), P(incompletegamma(kNaN, 1), kNaN), P(incompletegammac(1, kNaN), kNaN),
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
    // Beyond what the sums can reach the gamma functions give up with NaN
    // instead of running for hours; a huge k is still answered
    // (Wilson-Hilferty is close to exact there).
    const long double k = 1e10L, z = NormPorInvF(0.975L);
    const long double wh = k * std::pow(1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k)), 3);
    EXPECT_LE(std::fabs(Hi2PorInvF(0.975L, k) / wh - 1), 1e-9L);
    EXPECT_TRUE(std::isnan(incompletegamma(1e300L, 1e300L)));
    EXPECT_TRUE(std::isnan(invincompletegammac(1e300L, 0.5L)));
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
        }
    // The boundary values themselves are accepted.
    const Izid r =
        RunChild([] { Hi2PorInvF(0, 1); Hi2PorInvF(1, 1e10L); Hi2Porf(0, 1); Hi2PorF(0, 1); Hi2PorFC(0, 1); });
    EXPECT_EQ(r.status, 0) << r.out;
}

// The incomplete beta function and the t and F tails on it against closed
// forms: I_x(a, 1) = x^a, I_x(1, b) = 1 - (1 - x)^b, I_1/2(a, a) = 1/2;
// t with 1 (Cauchy) and 2 degrees of freedom, F(2, d2), F(1, f) = t^2, the
// normal limit, a tabulated quantile; tiny tails to their relative size.
TEST(Porazdelitve, IncompleteBetaStudentAndF)
{
    const long double pi = 3.14159265358979323846264L;
    for (const long double x : {1e-6L, 0.1L, 0.37L, 0.5L, 0.9L, 0.999L})
        for (const long double a : {0.5L, 1.0L, 2.5L, 40.0L, 3e4L}) {
            EXPECT_NEAR(incompletebeta(a, 1, x), std::pow(x, a), 1e-14L * (1 + std::pow(x, a))) << a << " " << x;
            EXPECT_NEAR(incompletebeta(1, a, x), -std::expm1(a * std::log1p(-x)), 1e-14L) << a << " " << x;
            EXPECT_NEAR(incompletebeta(a, a, 0.5L), 0.5L, 1e-13L) << a;
        }
    EXPECT_EQ(incompletebeta(2, 3, 0), 0);
    EXPECT_EQ(incompletebeta(2, 3, 1), 1);
    for (const long double t : {0.0L, 0.3L, 1.0L, 2.2L, 12.0L, 1e3L, 1e10L}) {
        const long double c = 2 / pi * std::atan(1 / t), d = 2 / (t * t + 2) / (1 + t / std::sqrt(t * t + 2));
        EXPECT_NEAR(StudentPorFC2(t, 1) / c, 1, 1e-13L) << t;
        EXPECT_NEAR(StudentPorFC2(-t, 2) / d, 1, 1e-13L) << t;
        for (const long double d2 : {1.0L, 7.0L, 180.0L, 1.6e5L}) {
            const long double x = t * t;
            // Beyond the range of long double both are 0.
            const long double f2 = std::pow(1 + 2 * x / d2, -d2 / 2), t2 = StudentPorFC2(t, d2);
            EXPECT_NEAR(FPorFC(x, 2, d2), f2, 1e-11L * f2) << x << " " << d2;
            EXPECT_NEAR(FPorFC(x, 1, d2), t2, 1e-11L * t2) << t << " " << d2;
        }
    }
    EXPECT_NEAR(StudentPorFC2(1.959963984540054L, 1e7L), 0.05L, 1e-7L);
    EXPECT_NEAR(StudentPorInvFC2(0.05L, 10), 2.228138851986274L, 1e-12L);
    EXPECT_NEAR(StudentPorInvFC2(2 / pi * std::atan(1 / 37.5L), 1), 37.5L, 1e-9L);
    EXPECT_EQ(StudentPorInvFC2(1, 5), 0);
    EXPECT_EQ(static_cast<double>(StudentPorInvFC2(0, 5)), 1e300);
    EXPECT_EQ(StudentPorFC2(kInf, 5), 0);
    EXPECT_EQ(FPorFC(0, 3, 5), 1);
    const Izid r = RunChild([] { StudentPorFC2(1, 0.5L); });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Funkcija:   StudentPorFC2"), std::string::npos) << r.out;
}
