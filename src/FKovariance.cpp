#include "src/FKovariance.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <map>
#include <tuple>

#include "funkcije/Besedila.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

namespace {
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
