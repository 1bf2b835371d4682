#include "src/FKovariance.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <map>
#include <tuple>

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CTerObsZbirka.h"
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

std::string Oznaka(char crka, const std::vector<std::string>& imena)
{
    std::string s(1, crka);
    for (const std::string& t : imena) s += " " + t;
    return s;
}

// The run of consecutive directions of one setup of a station that holds direction j.
std::pair<long, long> NizSmeri(const CTerObs& smeri, long j)
{
    long a = j, b = j;
    while (a > 0 && smeri.IstaPostavitev(a - 1, j)) --a;
    while (b + 1 < static_cast<long>(smeri.NObs()) && smeri.IstaPostavitev(b + 1, j)) ++b;
    return {a, b};
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

void PoveziKovBloke(CTerObsZbirka& TO, unsigned short dim)
{
    // Block (from 1) that holds each record, 0 for none.
    std::vector<std::vector<long>> blok(kTOSetov);
    for (unsigned s = 0; s < kTOSetov; ++s) blok[s].assign(TO.Set(static_cast<TerObsSet>(s)).NObs(), 0);
    // The records of each set by their point names, in file order.
    std::vector<std::map<std::string, std::vector<long>>> kazalo(kTOSetov);
    for (std::size_t k = 0; k < TO.kovBloki.size(); ++k) {
        KovBlokZapisov& b = TO.kovBloki[k];
        b.zapisi.clear();
        for (const auto& [crka, imena] : b.imena) {
            const TerObsSet s = static_cast<TerObsSet>(TerObsIndeks(*TerObsVrstaZapisa(crka, dim)));
            const CTerObs& set = TO.Set(s);
            if (kazalo[s].empty())
                for (long i = 0; i < static_cast<long>(set.NObs()); ++i) {
                    std::string kljuc;
                    for (long c = 0; c < static_cast<long>(set.PTS.ncol()); ++c) kljuc += set.PTS(i, c) + '\n';
                    kazalo[s][kljuc].push_back(i);
                }
            std::string kljuc;
            for (const std::string& t : imena) kljuc += t + '\n';
            long najden = -1, zaseden = -1;
            const auto it = kazalo[s].find(kljuc);
            if (it != kazalo[s].end())
                for (long i : it->second) {
                    if (blok[s][static_cast<std::size_t>(i)] == 0) {
                        najden = i;
                        break;
                    }
                    if (zaseden < 0) zaseden = i;
                }
            if (najden < 0 && zaseden >= 0)
                Napaka(b.vrstica,
                       BesediloF(Besedilo::BlokZapisZeVBloku, Oznaka(crka, imena).c_str(), set.Vrstica(zaseden),
                                 TO.kovBloki[static_cast<std::size_t>(blok[s][static_cast<std::size_t>(zaseden)] - 1)]
                                     .vrstica));
            if (najden < 0) Napaka(b.vrstica, BesediloF(Besedilo::BlokZapisNeObstaja, Oznaka(crka, imena).c_str()));
            blok[s][static_cast<std::size_t>(najden)] = static_cast<long>(k) + 1;
            b.zapisi.emplace_back(s, najden);
        }
    }
    for (const KovBlokZapisov& b : TO.kovBloki) {
        // The composed angles of a station take every direction of its run.
        for (const auto& [s, i] : b.zapisi) {
            if (s != kTODir) continue;
            const auto [a, z] = NizSmeri(TO.TODir, i);
            for (long j = a; j <= z; ++j)
                if (blok[kTODir][static_cast<std::size_t>(j)] != blok[kTODir][static_cast<std::size_t>(i)])
                    Napaka(b.vrstica, BesediloF(Besedilo::BlokSmeriStojisca, TO.TODir.PTS(i, 0).c_str(),
                                                TO.TODir.Vrstica(a), TO.TODir.Vrstica(z)));
        }
        matrika<real> L;
        if (!KovCholesky(b.Q, L)) Napaka(b.vrstica, B(Besedilo::BlokNiPozitivnoDefinitna));
    }
    // The deviations of the records are those of the covariance.
    for (const KovBlokZapisov& b : TO.kovBloki)
        for (std::size_t k = 0; k < b.zapisi.size(); ++k) {
            CTerObs& set = TO.Set(b.zapisi[k].first);
            const unsigned long n = kTerObsVrste[b.zapisi[k].first].poDim ? dim : 1u;
            const TerObsVrsta& v = kTerObsVrste[b.zapisi[k].first];
            // The deviation in the file's unit of the kind (mm, '' or mg) is
            // held to the kind's zero threshold, as on the record's own line.
            const real enota = v.vrednosti == TerObsVrednosti::Dolzinska
                                   ? 1000.0L
                                   : (set.AngUnit == "GON" ? 200000.0L : 648000.0L) / 3.14159265358979323846264338327950288L;
            for (unsigned long c = 0; c < n; ++c) {
                const long r = static_cast<long>(b.odmik[k] + c);
                const real sd = std::sqrt(b.Q(r, r));
                if (v.sdOznaka != Besedilo::VrstaBrez && !(static_cast<double>(sd * enota) > v.sdMeja))
                    Napaka(b.vrstica, BesediloF(Besedilo::BlokOdklonNic,
                                                Oznaka(b.imena[k].first, b.imena[k].second).c_str()));
                set.SIG(b.zapisi[k].second, static_cast<long>(c)) = sd;
            }
        }
}

std::vector<KovBlokModela> KovBlokiModela(const CTerObsZbirka& TO, const std::vector<VrsticaModela>& vrstice, real So)
{
    std::vector<KovBlokModela> bloki;
    if (TO.kovBloki.empty()) return bloki;
    std::map<std::tuple<unsigned, long, int>, unsigned long> vrsticaZapisa;
    for (std::size_t r = 0; r < vrstice.size(); ++r)
        if (vrstice[r].set != kTOSetov)
            vrsticaZapisa[{vrstice[r].set, vrstice[r].zapis, vrstice[r].komponenta}] = r;
    const real s2 = So * So;
    for (const KovBlokZapisov& b : TO.kovBloki) {
        // Each model row of the block as a combination of the block's rows:
        // one record component, or the difference of two directions.
        std::map<long, unsigned long> odmikSmeri;
        for (std::size_t k = 0; k < b.zapisi.size(); ++k)
            if (b.zapisi[k].first == kTODir) odmikSmeri[b.zapisi[k].second] = b.odmik[k];
        struct Vrsta {
            unsigned long vrstica;
            long zapis;
            std::vector<std::pair<unsigned long, real>> t;
        };
        std::vector<Vrsta> t;
        for (std::size_t k = 0; k < b.zapisi.size(); ++k) {
            const auto [s, i] = b.zapisi[k];
            if (!TO.Set(s).Aktiven(i)) continue;
            if (s == kTODir) {
                const long kot = TO.TOAngl.GetIndAng(i);
                const long prej = CTerObsAngl::PrejsnjaSmer(TO.TODir, i);
                const auto r = vrsticaZapisa.find({kTOAngl, kot, 0});
                if (kot < 0 || prej < 0 || r == vrsticaZapisa.end()) continue;
                t.push_back({r->second, -1, {{b.odmik[k], 1.0L}, {odmikSmeri.at(prej), -1.0L}}});
                continue;
            }
            const int n = kTerObsVrste[s].poDim ? static_cast<int>(TO.Set(s).SIG.ncol()) : 1;
            for (int c = 0; c < n; ++c) {
                const auto r = vrsticaZapisa.find({s, i, c});
                if (r != vrsticaZapisa.end())
                    t.push_back({r->second, static_cast<long>(k), {{b.odmik[k] + static_cast<unsigned long>(c), 1.0L}}});
            }
        }
        if (t.empty()) continue;
        std::sort(t.begin(), t.end(), [](const Vrsta& x, const Vrsta& y) { return x.vrstica < y.vrstica; });
        KovBlokModela m;
        m.Q.resize(t.size(), t.size(), 0.0L);
        for (std::size_t a = 0; a < t.size(); ++a) {
            m.vrstice.push_back(t[a].vrstica);
            m.zapis.push_back(t[a].zapis);
            for (std::size_t c = 0; c <= a; ++c) {
                real q = 0.0L;
                for (const auto& [p, tp] : t[a].t)
                    for (const auto& [o, to] : t[c].t) q += tp * b.Q(static_cast<long>(p), static_cast<long>(o)) * to;
                m.Q(static_cast<long>(a), static_cast<long>(c)) = m.Q(static_cast<long>(c), static_cast<long>(a)) = q / s2;
            }
        }
        bloki.push_back(std::move(m));
    }
    return bloki;
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

void PrintKovBloke(std::ostream& izhod, const CTerObsZbirka& TO)
{
    if (TO.kovBloki.empty()) return;
    PodNaslov(izhod, B(Besedilo::PodnaslovBlokiKovarianc), 1);
    izhod << B(Besedilo::GlavaBlokiKovarianc) << "\n";
    izhod << std::string(75, '-') << "\n";
    for (const KovBlokZapisov& b : TO.kovBloki) {
        real kor = 0.0L;
        const long n = static_cast<long>(b.Q.nrow());
        for (long i = 0; i < n; ++i)
            for (long j = i + 1; j < n; ++j) kor = std::max(kor, std::fabs(b.Q(i, j)) / std::sqrt(b.Q(i, i) * b.Q(j, j)));
        izhod << std::right << std::setw(9) << b.vrstica << std::setw(9) << b.zapisi.size() << std::setw(8) << n
              << std::fixed << std::setprecision(3) << std::setw(10) << kor << "  ";
        for (std::size_t k = 0; k < b.zapisi.size(); ++k)
            izhod << (k ? ", " : " ") << Oznaka(b.imena[k].first, b.imena[k].second) << " ("
                  << TO.Set(b.zapisi[k].first).Vrstica(b.zapisi[k].second) << ")";
        izhod << "\n";
    }
    izhod << std::string(75, '-') << "\n\n\n";
}
