#include "matrika/redkamatrika.h"

#include <algorithm>

namespace {
constexpr const char* kModul = "redkamatrika.cpp";
}

void redkaMatrika::preveri(long i, long j, long line) const
{
    if (i < 0 || static_cast<unsigned long>(i) >= nrow())
        matrikaError(B(Besedilo::MatRedkaIndeksVrstice), kModul, line, i, static_cast<long>(nrow()));
    if (j < 0 || static_cast<unsigned long>(j) >= col_)
        matrikaError(B(Besedilo::MatRedkaIndeksStolpca), kModul, line, j, static_cast<long>(col_));
}

redkaMatrika& redkaMatrika::operator=(const matrika<real>& A)
{
    resize(A.nrow(), A.ncol());
    for (unsigned long i = 0; i < A.nrow(); ++i)
        for (unsigned long j = 0; j < A.ncol(); ++j) {
            const real a = A(static_cast<long>(i), static_cast<long>(j));
            if (a != 0.0L) vrstice[i].push_back({j, a});
        }
    return *this;
}

void redkaMatrika::resize(unsigned long r, unsigned long c)
{
    col_ = c;
    vrstice.assign(r, {});
}

unsigned long redkaMatrika::nnz() const
{
    unsigned long n = 0;
    for (const auto& v : vrstice) n += static_cast<unsigned long>(v.size());
    return n;
}

real redkaMatrika::operator()(long i, long j) const
{
    preveri(i, j, __LINE__);
    const auto& v = vrstice[static_cast<unsigned long>(i)];
    const unsigned long c = static_cast<unsigned long>(j);
    const auto it = std::lower_bound(v.begin(), v.end(), c, [](const Element& e, unsigned long s) { return e.stolpec < s; });
    return it != v.end() && it->stolpec == c ? it->vrednost : 0.0L;
}

real& redkaMatrika::operator()(long i, long j)
{
    preveri(i, j, __LINE__);
    auto& v = vrstice[static_cast<unsigned long>(i)];
    const unsigned long c = static_cast<unsigned long>(j);
    auto it = std::lower_bound(v.begin(), v.end(), c, [](const Element& e, unsigned long s) { return e.stolpec < s; });
    if (it == v.end() || it->stolpec != c) it = v.insert(it, {c, 0.0L});
    return it->vrednost;
}

redkaMatrika& redkaMatrika::operator()(const matrika<real>& B, long i, long j)
{
    if (B.nrow() == 0 || B.ncol() == 0) return *this;
    preveri(i, j, __LINE__);
    preveri(i + static_cast<long>(B.nrow()) - 1, j + static_cast<long>(B.ncol()) - 1, __LINE__);
    for (unsigned long r = 0; r < B.nrow(); ++r) {
        auto& v = vrstice[static_cast<unsigned long>(i) + r];
        for (unsigned long c = 0; c < B.ncol(); ++c) {
            const real b = B(static_cast<long>(r), static_cast<long>(c));
            const long ii = i + static_cast<long>(r), jj = j + static_cast<long>(c);
            if (b != 0.0L) (*this)(ii, jj) = b;
            else {
                const unsigned long s = static_cast<unsigned long>(jj);
                auto it = std::lower_bound(v.begin(), v.end(), s,
                                           [](const Element& e, unsigned long t) { return e.stolpec < t; });
                if (it != v.end() && it->stolpec == s) v.erase(it);
            }
        }
    }
    return *this;
}

void redkaMatrika::zamenjajVrstico(unsigned long i, std::vector<Element>& v)
{
    preveri(static_cast<long>(i), 0, __LINE__);
    for (std::size_t k = 0; k < v.size(); ++k)
        if (v[k].stolpec >= col_ || (k > 0 && v[k].stolpec <= v[k - 1].stolpec))
            matrikaError(B(Besedilo::MatRedkaStolpciVrstice), kModul, __LINE__,
                         static_cast<long>(v[k].stolpec), static_cast<long>(col_));
    vrstice[i].swap(v);
}

matrika<real> redkaMatrika::gosta() const
{
    matrika<real> A(nrow(), col_, 0.0L);
    for (unsigned long i = 0; i < nrow(); ++i)
        for (const Element& e : vrstice[i]) A(static_cast<long>(i), static_cast<long>(e.stolpec)) = e.vrednost;
    return A;
}
