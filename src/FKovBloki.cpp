#include "src/FKovBloki.h"

#include <cmath>
#include <map>

#include "funkcije/Besedila.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

namespace {
// Most records in one block: blocks are small groups, and the triangle of a
// larger count would only be a mistyped count.
constexpr long kNajvecZapisov = 1000;

[[noreturn]] void Napaka(long vrstica, const std::string& besedilo)
{
    NivexError(BesediloF(Besedilo::NapakaBlokKovarianc, vrstica, besedilo.c_str()));
}
}  // namespace

bool KovCholesky(const matrika<real>& A, matrika<real>& L)
{
    const long n = static_cast<long>(A.nrow());
    L.resize(A.nrow(), A.nrow(), 0.0L);
    for (long j = 0; j < n; ++j) {
        real d = A(j, j);
        for (long k = 0; k < j; ++k) d -= L(j, k) * L(j, k);
        // A pivot of round-off size against its diagonal: not positive definite.
        if (!(d > 1e-14L * A(j, j)) || !(A(j, j) > 0.0L)) return false;
        L(j, j) = std::sqrt(d);
        for (long i = j + 1; i < n; ++i) {
            real x = A(i, j);
            for (long k = 0; k < j; ++k) x -= L(i, k) * L(j, k);
            L(i, j) = x / L(j, j);
        }
    }
    return true;
}

matrika<real> KovInverz(const matrika<real>& L)
{
    // L^-1 by forward substitution, then A^-1 = L^-T L^-1.
    const long n = static_cast<long>(L.nrow());
    matrika<real> M(L.nrow(), L.nrow(), 0.0L);
    for (long c = 0; c < n; ++c)
        for (long i = c; i < n; ++i) {
            real x = i == c ? 1.0L : 0.0L;
            for (long k = c; k < i; ++k) x -= L(i, k) * M(k, c);
            M(i, c) = x / L(i, i);
        }
    matrika<real> P(L.nrow(), L.nrow(), 0.0L);
    for (long i = 0; i < n; ++i)
        for (long j = 0; j <= i; ++j) {
            real s = 0.0L;
            for (long k = i; k < n; ++k) s += M(k, i) * M(k, j);
            P(i, j) = P(j, i) = s;
        }
    return P;
}

KovBlokZapisov BeriKovBlok(const std::function<bool(std::string&, long&)>& beseda, long vrstica, unsigned short dim)
{
    KovBlokZapisov b;
    b.vrstica = vrstica;
    std::string w;
    long kje = vrstica;
    long n = 0;
    if (!beseda(w, kje) || !BesedaVCelo(w, n, 1, kNajvecZapisov))
        Napaka(vrstica, BesediloF(Besedilo::BlokSteviloZapisov, kNajvecZapisov));
    unsigned long N = 0;
    for (long z = 0; z < n; ++z) {
        const std::string stev = BesediloF(Besedilo::BlokZapisOd, z + 1, n);
        if (!beseda(w, kje)) Napaka(vrstica, BesediloF(Besedilo::BlokZapisManjka, stev.c_str()));
        const TerObsVrsta* v = w.size() == 1 && w[0] != 'X' ? TerObsVrstaZapisa(w[0], dim) : nullptr;
        if (v == nullptr || !TerObsSprejme(*v, dim))
            Napaka(vrstica, BesediloF(Besedilo::BlokNiVrsta, stev.c_str(), w.c_str()));
        std::vector<std::string> imena;
        for (unsigned k = 0; k < v->imen; ++k) {
            if (!beseda(w, kje)) Napaka(vrstica, BesediloF(Besedilo::BlokNimaTock, stev.c_str(), B(v->opis)));
            imena.push_back(w);
        }
        b.imena.emplace_back(v->crka, imena);
        b.odmik.push_back(N);
        N += v->poDim ? dim : 1u;
    }
    const unsigned long elementov = N * (N + 1) / 2;
    const std::string koliko = BesediloF(Besedilo::BlokTrikotnik, N, N, elementov);
    b.Q.resize(N, N, 0.0L);
    unsigned long prebranih = 0;
    for (unsigned long i = 0; i < N; ++i)
        for (unsigned long j = i; j < N; ++j, ++prebranih) {
            if (!beseda(w, kje))
                Napaka(vrstica, BesediloF(Besedilo::BlokPrebranih, koliko.c_str(), prebranih));
            real x = 0.0L;
            if (!BesedaVStevilo(w, x) || std::fabs(x) > kNajvecjeStevilo)
                Napaka(vrstica,
                       BesediloF(Besedilo::BlokElementNiStevilo, prebranih + 1, kje, w.c_str(), koliko.c_str()));
            b.Q(static_cast<long>(i), static_cast<long>(j)) = x;
            b.Q(static_cast<long>(j), static_cast<long>(i)) = x;
        }
    return b;
}

void PreveriOstanekKovBloka(const std::string& ostanek, const KovBlokZapisov& b)
{
    const std::size_t z = ostanek.find_first_not_of(" \t\r");
    if (z == std::string::npos) return;
    const std::string w = ostanek.substr(z, ostanek.find_first_of(" \t\r", z) - z);
    real x = 0.0L;
    if (BesedaVStevilo(w, x))
        Napaka(b.vrstica, BesediloF(Besedilo::BlokSteviloZaElementom, w.c_str(),
                                    BesediloF(Besedilo::BlokTrikotnik, b.Q.nrow(), b.Q.nrow(),
                                              b.Q.nrow() * (b.Q.nrow() + 1) / 2)
                                        .c_str()));
}

matrika<real> KovBeljenje(const KovBlokModela& b, const std::vector<real>& f)
{
    const unsigned long m = b.vrstice.size();
    matrika<real> W(m, m, 0.0L);
    std::vector<long> ostale;
    for (unsigned long a = 0; a < m; ++a)
        if (f[a] > 0.0L) ostale.push_back(static_cast<long>(a));
    if (ostale.empty()) return W;
    const unsigned long n = ostale.size();
    matrika<real> Q(n, n), L, L2;
    for (unsigned long a = 0; a < n; ++a)
        for (unsigned long c = 0; c < n; ++c)
            Q(static_cast<long>(a), static_cast<long>(c)) =
                b.Q(ostale[a], ostale[c]) / (f[static_cast<std::size_t>(ostale[a])] * f[static_cast<std::size_t>(ostale[c])]);
    if (!KovCholesky(Q, L) || !KovCholesky(KovInverz(L), L2)) return W;
    for (unsigned long a = 0; a < n; ++a)
        for (unsigned long c = a; c < n; ++c)
            W(ostale[a], ostale[c]) = L2(static_cast<long>(c), static_cast<long>(a));
    return W;
}

void KovFaktorjiZapisov(const std::vector<KovBlokModela>& bloki, matrika<real>& W)
{
    for (const KovBlokModela& b : bloki) {
        std::map<long, real> najmanjsi;
        for (std::size_t a = 0; a < b.vrstice.size(); ++a) {
            if (b.zapis[a] < 0) continue;
            const real f = W(static_cast<long>(b.vrstice[a]), 0);
            const auto it = najmanjsi.find(b.zapis[a]);
            if (it == najmanjsi.end() || f < it->second) najmanjsi[b.zapis[a]] = f;
        }
        for (std::size_t a = 0; a < b.vrstice.size(); ++a)
            if (b.zapis[a] >= 0) W(static_cast<long>(b.vrstice[a]), 0) = najmanjsi[b.zapis[a]];
    }
}
