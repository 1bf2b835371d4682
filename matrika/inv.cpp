#include "matrika/inv.h"

#include <algorithm>
#include <cmath>

namespace {
const char* const F = "matrika/inv";

// Index of the pivot of step k: its row (= its column with diagonala), or n
// when no column is left.
unsigned long IzberiPivot(const real* a, unsigned long n, unsigned long k, const std::vector<char>& porabljen,
                          bool diagonala)
{
    unsigned long p = diagonala ? n : k;
    if (diagonala) {
        for (unsigned long j = 0; j < n; ++j)
            if (!porabljen[j] && (p == n || a[j * n + j] > a[p * n + p])) p = j;
    } else {
        real big = std::fabs(a[k * n + k]);
        for (unsigned long i = k + 1; i < n; ++i)
            if (std::fabs(a[i * n + k]) > big) big = std::fabs(a[i * n + k]), p = i;
    }
    return p;
}
}  // namespace

std::vector<unsigned long> gaussJordan(matrika<real>& A, matrika<real>* Ainv, const gjNacin& nacin)
{
    if (A.nrow() != A.ncol())
        matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatKvadratna), F, __LINE__);
    const unsigned long n = A.nrow();
    real* a = A.data();
    real* b = nullptr;
    if (Ainv != nullptr) {
        *Ainv = I(n, real(1));
        b = Ainv->data();
    }
    // The rows of the inverse are only non-zero in the columns of the rows
    // that have been pivots so far (and their own); adding a multiple of an
    // exact zero changes nothing, so only those columns are visited.  Of A,
    // the columns of earlier pivots are already cleared.
    std::vector<unsigned long> izvor(n);   // column of the identity's 1 in each row
    for (unsigned long i = 0; i < n; ++i) izvor[i] = i;
    std::vector<unsigned long> pivoti, stolpci;
    std::vector<char> porabljen(n, 0);
    pivoti.reserve(n);
    stolpci.reserve(n);
    const auto izlociti = [&nacin](real x) { return nacin.nic > 0 ? dabs(x) > nacin.nic : x != 0; };

    for (unsigned long k = 0; k < n; ++k) {
        const unsigned long p = IzberiPivot(a, n, k, porabljen, nacin.diagonala);
        if (p == n) break;
        const unsigned long r = nacin.diagonala ? p : k;   // the pivot's row and column
        if (!nacin.diagonala && p != k) {
            for (unsigned long j = 0; j < n; ++j) std::swap(a[p * n + j], a[k * n + j]);
            if (b != nullptr)
                for (unsigned long j = 0; j < n; ++j) std::swap(b[p * n + j], b[k * n + j]);
            std::swap(izvor[p], izvor[k]);
        }
        const real piv = a[r * n + r];
        const double primerjaj = nacin.diagonala ? static_cast<double>(piv) : dabs(piv);
        if (!(primerjaj >= nacin.meja) || piv == 0) break;
        porabljen[r] = 1;
        pivoti.push_back(r);
        stolpci.push_back(izvor[r]);
        real* Ar = a + r * n;
        real* Br = b != nullptr ? b + r * n : nullptr;
        for (unsigned long j = 0; j < n; ++j)
            if (!porabljen[j] || j == r) Ar[j] /= piv;
        if (Br != nullptr)
            for (const unsigned long j : stolpci) Br[j] /= piv;
        for (unsigned long i = 0; i < n; ++i) {
            real* Ai = a + i * n;
            if (i == r || !izlociti(Ai[r])) continue;
            const real f = Ai[r];
            for (unsigned long j = 0; j < n; ++j)
                if (!porabljen[j] || j == r) Ai[j] -= f * Ar[j];
            if (Br != nullptr) {
                real* Bi = b + i * n;
                for (const unsigned long j : stolpci) Bi[j] -= f * Br[j];
            }
        }
    }
    return pivoti;
}

matrika<real> inv(const matrika<real>& Ain) { return inv(Ain, nullptr); }

matrika<real> inv(const matrika<real>& Ain, long* pivot)
{
    if (Ain.nrow() != Ain.ncol())
        matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatKvadratna), F, __LINE__);
    if (Ain.empty())
        matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatNiDefinirana), F, __LINE__);
    if (pivot != nullptr) *pivot = -1;
    matrika<real> A(Ain), B;
    const unsigned long k = gaussJordan(A, &B, gjNacin{}).size();
    if (k == A.nrow()) return B;
    // A vanishing pivot (also one that is not a number): noted when the
    // caller asked for it, else the end of the run.
    if (pivot == nullptr)
        matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatSingularna), F, __LINE__,
                     A(k, k) / static_cast<real>(numerika::kSingularniPivot), static_cast<long>(k));
    *pivot = static_cast<long>(k);
    return matrika<real>();
}

matrika<real> invRelativna(const matrika<real>& Ain)
{
    if (Ain.nrow() != Ain.ncol())
        matrikaError(NapakaFunkcije("invgj() - Gauss Jacobi", Besedilo::MatKvadratna), F, __LINE__);
    real najvecji = 0;
    for (unsigned long k = 0; k < Ain.size(); ++k) najvecji = std::max(najvecji, std::fabs(Ain(static_cast<long>(k))));
    matrika<real> A(Ain), B;
    if (gaussJordan(A, &B, gjNacin{false, numerika::kRelativniPivot * najvecji, 0}).size() == A.nrow()) return B;
    return matrika<real>();
}
