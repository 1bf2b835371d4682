// Helpers of the decomposition tests: seeded random matrices, matrix literals,
// the largest element difference and the check of a library error block.
#ifndef NIVEX_TESTS_MATRIKA_RAZCEPPOMOC_H
#define NIVEX_TESTS_MATRIKA_RAZCEPPOMOC_H

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "TestUtil.h"
#include "matrika/matrika.h"
#include "matrika/transpon.h"

namespace razceptest {

using M = matrika<long double>;

// m x n uniform in [-1, 1); with cela small whole numbers, so that products
// and a linear dependence between columns stay exact.
inline M Nakljucna(unsigned long m, unsigned long n, unsigned seed, bool cela = false)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::uniform_int_distribution<int> z(-5, 5);
    M A(m, n);
    for (unsigned long k = 0; k < m * n; ++k) A(k) = cela ? z(gen) : u(gen);
    return A;
}

// max |A - B| over the elements; Razlika(A) is max |A|.
inline long double Razlika(const M& A, const M& B = M())
{
    EXPECT_TRUE(B.size() == 0 || (A.nrow() == B.nrow() && A.ncol() == B.ncol()));
    long double d = 0;
    for (unsigned long k = 0; k < A.size(); ++k) d = std::fmax(d, std::fabs(A(k) - (k < B.size() ? B(k) : 0)));
    return d;
}

inline M Iz(std::initializer_list<std::initializer_list<long double>> v)
{
    M A(v.size(), v.begin()->size());
    unsigned long k = 0;
    for (const auto& vr : v)
        for (long double x : vr) A(k++) = x;
    return A;
}

// The framed block of a matrix-library error with its message and source.
inline void PricakujNapako(const Izid& r, const std::string& sporocilo, const std::string& vir)
{
    EXPECT_EQ(r.status, 1) << sporocilo;
    EXPECT_NE(r.out.find("\n\n\n" + std::string(60, '*') + "\nNAPAKA:\n\n" + sporocilo), std::string::npos)
        << "pricakovano: " << sporocilo << "\ndobljeno: " << r.out;
    EXPECT_NE(r.out.find("\n" + vir + " -> "), std::string::npos) << r.out;
}

}  // namespace razceptest

#endif
