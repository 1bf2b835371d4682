// Helpers of the decomposition tests: seeded random matrices, products and
// the check of a library error block.
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

// m x n with elements uniform in [-1, 1); with cela, small whole numbers
// (exact products, so a linear dependence stays exact).
inline M Nakljucna(unsigned long m, unsigned long n, unsigned seed, bool cela = false)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::uniform_int_distribution<int> z(-5, 5);
    M A(m, n);
    for (unsigned long k = 0; k < m * n; ++k) A(k) = cela ? z(gen) : u(gen);
    return A;
}

// Products by the container's own operators (checked separately).
inline M AtB(const M& A, const M& B) { return transpon(A) * B; }
inline M AB(const M& A, const M& B) { return A * B; }

inline long double NajvecjaRazlika(const M& A, const M& B)
{
    EXPECT_EQ(A.nrow(), B.nrow());
    EXPECT_EQ(A.ncol(), B.ncol());
    long double d = 0;
    for (unsigned long k = 0; k < A.size() && k < B.size(); ++k) d = std::fmax(d, std::fabs(A(k) - B(k)));
    return d;
}

inline long double NajvecjiElement(const M& A)
{
    long double d = 0;
    for (unsigned long k = 0; k < A.size(); ++k) d = std::fmax(d, std::fabs(A(k)));
    return d;
}

inline M Iden(unsigned long n) { return I(n, 1.0L); }

inline M Iz(std::initializer_list<std::initializer_list<long double>> v)
{
    M A(v.size(), v.begin()->size());
    unsigned long i = 0;
    for (const auto& vr : v) {
        unsigned long j = 0;
        for (long double x : vr) A(i, j++) = x;
        ++i;
    }
    return A;
}

inline M Stolpec(std::initializer_list<long double> v)
{
    M a(v.size(), 1);
    unsigned long i = 0;
    for (long double x : v) a(i++) = x;
    return a;
}

// The framed block of a matrix-library error with its message and source.
inline void PricakujNapako(const Izid& r, const std::string& sporocilo, const std::string& vir)
{
    EXPECT_EQ(r.status, 1) << sporocilo;
    const std::string okvir(60, '*');
    EXPECT_NE(r.out.find("\n\n\n" + okvir + "\nNAPAKA:\n\n" + sporocilo), std::string::npos)
        << "pricakovano: " << sporocilo << "\ndobljeno: " << r.out;
    EXPECT_NE(r.out.find("\n" + vir + " -> "), std::string::npos) << r.out;
}

}  // namespace razceptest

#endif
