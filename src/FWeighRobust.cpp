#include "src/FWeighRobust.h"

#include <algorithm>
#include <cmath>

namespace {
// Below this raw residual the L1 weight 1/|v| is replaced by a fixed bound,
// so that an observation the solution fits exactly keeps a finite weight.
constexpr real kL1Meja = 1e-10L;
constexpr real kL1Faktor = 1000000.0L;
// Relative floor of the residuals of LPN with p other than 1 and 2 (see UteziVrstic).
constexpr real kLpPodlaga = 1e-3L;

enum class Funkcija { L1N, LPN, HUB, MHUB, HAMP, BIWEIG, FAIR, LOGIST, TALW, WELS, DAN };

struct Opis {
    const char* ime;
    Funkcija f;
    bool standardizirana;  // u = |v| / So rather than |v|
};

constexpr Opis kFunkcije[] = {
    {"L1N", Funkcija::L1N, false},    {"LPN", Funkcija::LPN, false},       {"HUB", Funkcija::HUB, true},
    {"MHUB", Funkcija::MHUB, true},   {"HAMP", Funkcija::HAMP, true},      {"BIWEIG", Funkcija::BIWEIG, true},
    {"FAIR", Funkcija::FAIR, false},  {"LOGIST", Funkcija::LOGIST, false}, {"TALW", Funkcija::TALW, false},
    {"WELS", Funkcija::WELS, false},  {"DAN", Funkcija::DAN, true},
};

const Opis* Najdi(const std::string& ime)
{
    for (const Opis& o : kFunkcije)
        if (ime == o.ime) return &o;
    return nullptr;
}

real Faktor(Funkcija f, real u, real p, std::uint16_t nIter)
{
    switch (f) {
        case Funkcija::L1N: return u > kL1Meja ? std::sqrt(1.0L / u) : kL1Faktor;
        case Funkcija::LPN:
            // Below 2 the exponent makes the weight grow without bound at a
            // zero residual: the same bound as L1N (p = 1 is L1N).
            if (p == 1.0L) return Faktor(Funkcija::L1N, u, p, nIter);
            if (p < 2.0L && u <= kL1Meja) return kL1Faktor;
            return std::sqrt(std::pow(u, p - 2.0L));
        case Funkcija::HUB: return u <= 1.5L ? 1.0L : std::sqrt(1.5L / u);
        case Funkcija::MHUB: return u <= 1.5L ? 1.0L : (u <= 3.0L ? std::sqrt(1.5L / u) : 0.0L);
        case Funkcija::HAMP: {
            const real a = 2.0L, b = 4.0L, c = 8.0L;
            if (u <= a) return 1.0L;
            if (u <= b) return std::sqrt(a / u);
            if (u <= c) return std::sqrt(a * (c - u) / (u * (c - b)));
            return 0.0L;
        }
        case Funkcija::BIWEIG: {
            const real k = 4.685L;
            return u < k ? std::sqrt(std::fabs(1.0L - (u / k) * (u / k))) : 0.0L;
        }
        case Funkcija::FAIR: return std::sqrt(1.0L / (1.0L + u / 1.4L));
        case Funkcija::LOGIST:
            // tanh(t)/t tends to 1 at t = 0.
            return u > 0.0L ? std::sqrt((1.205L / u) * std::tanh(u / 1.205L)) : 1.0L;
        case Funkcija::TALW: return u < 2.795L ? 1.0L : 0.0L;
        case Funkcija::WELS: return std::sqrt(std::exp(-(u / 2.985L) * (u / 2.985L)));
        case Funkcija::DAN: {
            if (u < 3.0L) return 1.0L;
            const real k = nIter <= 2 ? 2.0L : 3.0L;
            return std::sqrt(std::exp(-0.05L * std::pow(u, k)));
        }
    }
    return 1.0L;
}

real Argument(const Opis& o, real v, real So)
{
    // The residual enters in double precision, as the weight functions were
    // tuned on it.
    const real a = std::fabs(static_cast<double>(v));
    return o.standardizirana ? a / So : a;
}
}  // namespace

std::optional<real> RobustFaktor(const std::string& RobSolve, real v, real So, real p,
                                        std::uint16_t nIter)
{
    const Opis* o = Najdi(RobSolve);
    if (o == nullptr) return std::nullopt;
    return Faktor(o->f, Argument(*o, v, So), p, nIter);
}

void MultBwii(matrika<real>& Bp, matrika<real>& fp, const real* factor, const unsigned long* i)
{
    const long r = static_cast<long>(*i);
    for (long j = 0; j < static_cast<long>(Bp.ncol()); ++j) Bp(r, j) *= *factor;
    fp(r) *= *factor;
}

namespace {
// The factor of every row from its residual; `vrstica(r, razmerje, s)` applies
// it: the ratio to the row's previous factor, or, when the row holds zeros
// (rejected before), the new factor itself to be applied to its unweighted copy.
template <class Vrstica>
void UteziVrstic(const matrika<real>& vvec, matrika<real>& W, real So, const Opis& o,
                 real p, std::uint16_t nIter, Vrstica vrstica)
{
    // With p > 2 the Lp weight |v|^(p-2) vanishes at a residual of zero: a
    // row the solution fits exactly would count as rejected; for 1 < p < 2
    // it grows without bound there and the re-weighting creeps.  Residuals
    // below a thousandth of the largest one weigh as that floor.  L1N (and
    // LPN with p = 1, which is L1N) keeps its own bound only: its minimum
    // fits some rows exactly, and a floor would pull the solution off them.
    real podlaga = 0.0L;
    if (o.f == Funkcija::LPN && p != 1.0L && p != 2.0L) {
        for (unsigned long i = 0; i < vvec.nrow(); ++i)
            podlaga = std::max(podlaga, Argument(o, vvec(static_cast<long>(i)), So));
        podlaga = std::max(podlaga * kLpPodlaga, kL1Meja);
    }
    for (unsigned long i = 0; i < vvec.nrow(); ++i) {
        const long r = static_cast<long>(i);
        const real s = Faktor(o.f, std::max(Argument(o, vvec(r), So), podlaga), p, nIter);
        W(r, 1) = W(r, 0);
        W(r, 0) = s;
        const real razmerje = W(r, 1) != 0.0L ? W(r, 0) / W(r, 1) : 0.0L;
        if (W(r, 1) != 0.0L && std::isfinite(razmerje)) vrstica(i, true, razmerje);
        else vrstica(i, false, s);   // a rejected row holds zeros: the ratio cannot bring it back
    }
}
}  // namespace

void WeighRobust(matrika<real>& Bp, matrika<real>& fp, const matrika<real>& vvec,
                 matrika<real>& W, real So, const std::string& RobSolve, real p,
                 std::uint16_t nIter, const matrika<real>& Bp0, const matrika<real>& fp0)
{
    const Opis* o = Najdi(RobSolve);
    if (o == nullptr) return;
    UteziVrstic(vvec, W, So, *o, p, nIter, [&](unsigned long i, bool razmerje, real s) {
        const long r = static_cast<long>(i);
        if (razmerje) {
            MultBwii(Bp, fp, &s, &i);
            return;
        }
        for (long j = 0; j < static_cast<long>(Bp.ncol()); ++j) Bp(r, j) = s * Bp0(r, j);
        fp(r) = s * fp0(r);
    });
}

void WeighRobust(redkaMatrika& Bp, matrika<real>& fp, const matrika<real>& vvec,
                 matrika<real>& W, real So, const std::string& RobSolve, real p,
                 std::uint16_t nIter, const redkaMatrika& Bp0, const matrika<real>& fp0)
{
    const Opis* o = Najdi(RobSolve);
    if (o == nullptr) return;
    UteziVrstic(vvec, W, So, *o, p, nIter, [&](unsigned long i, bool razmerje, real s) {
        const auto v0 = Bp0.vrstica(i);
        auto v = Bp.vrstica(i);
        for (std::size_t e = 0; e < v.size(); ++e) v[e].vrednost = razmerje ? v[e].vrednost * s : s * v0[e].vrednost;
        fp(static_cast<long>(i)) = razmerje ? fp(static_cast<long>(i)) * s : s * fp0(static_cast<long>(i));
    });
}
