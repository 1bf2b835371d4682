// Numbers of the large tables: every value as the report stream writes it in
// fixed notation, compared with the stream itself.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "src/IzpisStevil.h"

namespace {
std::string Tok(long double v, int w, int d)
{
    std::ostringstream s;
    s << std::fixed << std::setprecision(d) << std::right << std::setw(w) << v;
    return s.str();
}
}  // namespace

TEST(IzpisStevil, WritesEveryValueAsTheStream)
{
    // Correlations (the table's values), ties of two and three decimals and
    // their neighbours a few units of the last place away, values of every
    // magnitude and the ones the library must take.
    std::vector<long double> v = {0.0L, -0.0L, 1.0L, -1.0L, 0.005L, -0.005L, 0.125L, -0.125L, 0.375L, 0.625L,
                                  2.5L, 0.5L, 1.5L, 9.995L, 99.995L, 999999.5L, 1e12L, 1e15L, 1e300L, -1e-300L,
                                  std::numeric_limits<long double>::infinity(),
                                  -std::numeric_limits<long double>::infinity(),
                                  std::numeric_limits<long double>::quiet_NaN(),
                                  -std::numeric_limits<long double>::quiet_NaN(),
                                  std::numeric_limits<long double>::denorm_min(),
                                  std::numeric_limits<long double>::max()};
    for (long k = -2000; k <= 2000; ++k)
        for (long double tie : {(2 * k + 1) / 200.0L, (2 * k + 1) / 2000.0L, (2 * k + 1) / 8.0L}) {
            v.push_back(tie);
            long double a = tie, b = tie;
            for (int u = 0; u < 3; ++u) v.push_back(a = std::nextafter(a, 10.0L)), v.push_back(b = std::nextafter(b, -10.0L));
        }
    std::mt19937_64 g(23);
    std::uniform_real_distribution<double> kor(-1.0, 1.0), eksp(-8.0, 14.0);
    for (int i = 0; i < 50000; ++i) {
        v.push_back(kor(g) + kor(g) * 1e-17L);
        v.push_back(std::copysign(std::pow(10.0L, static_cast<long double>(eksp(g))), kor(g)));
    }
    // The table's own field takes all but the values near a tie or beyond
    // 9.995, and writes what the stream writes.
    std::size_t korelacij = 0;
    for (const long double x : v) {
        for (const auto& [w, d] : {std::pair{6, 2}, {0, 0}, {10, 3}, {14, 4}, {12, 6}, {3, 9}, {8, 12}, {60, 1}}) {
            std::string s = "|";
            DodajFiksno(s, x, w, d);
            ASSERT_EQ(s.substr(1), Tok(x, w, d)) << std::setprecision(21) << x << " w " << w << " d " << d;
        }
        char polje[7] = "!!!!!!";
        if (Korelacija6(polje, x)) {
            ASSERT_EQ(polje, Tok(x, 6, 2)) << std::setprecision(21) << x;
            korelacij += std::fabs(x) <= 1;
        } else {
            ASSERT_STREQ(polje, "!!!!!!");
        }
    }
    EXPECT_GT(korelacij, 50000U);
}

// A stream with the fast numbers writes every number, whatever its flags, as
// a stream with the standard ones; the field width is used up either way.
TEST(IzpisStevil, FastStreamWritesAsTheStandardOne)
{
    const std::vector<long double> v = {0.0L, -0.0L, 0.125L, -2.5L, 1e15L, 1234.5678L, -0.004L,
                                        std::numeric_limits<long double>::quiet_NaN(),
                                        -std::numeric_limits<long double>::infinity()};
    using F = std::ios_base;
    const std::vector<F::fmtflags> zastavice = {F::fixed, F::fixed | F::left, F::fixed | F::internal,
                                                F::fixed | F::showpos, F::fixed | F::showpoint, F::fixed | F::uppercase,
                                                F::scientific, F::fmtflags{}};
    for (const F::fmtflags z : zastavice)
        for (const int d : {0, 2, 9, 12})
            for (const long double x : v) {
                std::ostringstream a, b;
                HitriIzpis(b);
                for (std::ostringstream* s : {&a, &b}) {
                    s->flags(z);
                    *s << std::setprecision(d) << std::setfill('*') << std::setw(11) << x << '|' << std::setw(7)
                       << static_cast<double>(x) << '|' << x << '|' << 42 << std::setw(5) << 'c';
                }
                ASSERT_EQ(b.str(), a.str()) << z << " " << d << " " << static_cast<double>(x);
            }
}
