#include "src/FTestiZapisov.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "funkcije/Hi2Por.h"
#include "funkcije/NormPor.h"
#include "src/CGMM.h"
#include "src/CGMMSol.h"
#include "src/CTerObsZbirka.h"
#include "src/FDolgeVerige.h"

namespace {
// Below this, relative to c'P c, the residual cofactor of a record is
// round-off: no other observation checks it.
constexpr real kNic = 1e-12L;

// Column j of the alternative: model row -> coefficient.
using Stolpec = std::map<long, real>;

// P c of one column: P is a column of weights or blocks (chains of
// correlated angles, covariance blocks of the data file).
Stolpec Utezeno(const CGMM& GMM, const Stolpec& c)
{
    Stolpec u;
    for (const auto& [r, k] : c) {
        if (GMM.Pll.nrow() > 0) {
            u[r] += GMM.Pll(r) * k;
            continue;
        }
        const unsigned long b = GMM.PllB.blokVrstice(static_cast<unsigned long>(r));
        const long pr = static_cast<long>(GMM.PllB.polozaj(static_cast<unsigned long>(r)));
        const matrika<real>& P = GMM.PllB.blok(b);
        for (long i = 0; i < static_cast<long>(GMM.PllB.velikost(b)); ++i)
            u[static_cast<long>(GMM.PllB.vrstica(b, static_cast<unsigned long>(i)))] += P(i, pr) * k;
    }
    return u;
}

// A direction of a long chain (a band block): its column is T e_j in the
// chain's angles, and with M = W - W 1 1' W / c (FDolgeVerige)
//   C'P v = e_j' M x   (x the sums of the angles' residuals, T x = v),
//   C'P C = w_j - w_j^2 / c,
//   B'P C = w_j (b_j - g / c),
// so the test needs Q g once per chain and cofactors on the direction's
// own points.
struct VerigaIskanja {
    SmeriVerige smeri;
    std::vector<real> x;
    real wx = 0.0L;          // sum of w_k x_k
    std::vector<real> Qg;    // Q g
    real gQg = 0.0L;
};

const VerigaIskanja& Veriga(std::map<unsigned long, VerigaIskanja>& verige, const CGMM& GMM, const CGMMSol& GMMS,
                            const CResitev* Q, unsigned long b)
{
    auto f = verige.find(b);
    if (f != verige.end()) return f->second;
    VerigaIskanja& v = verige[b];
    v.smeri = SmeriDolgeVerige(GMM, b);
    const unsigned long m = v.smeri.kotov + 1;
    v.x.assign(m, 0.0L);
    for (unsigned long k = 1; k < m; ++k) v.x[k] = v.x[k - 1] + GMMS.vvec(static_cast<long>(v.smeri.zacetek + k - 1));
    for (unsigned long k = 0; k < m; ++k) v.wx += v.smeri.w[k] * v.x[k];
    std::vector<std::pair<unsigned long, real>> g;
    for (const auto& e : v.smeri.g) g.push_back({e.stolpec, e.vrednost});
    v.Qg.assign(GMM.Bmat.ncol(), 0.0L);
    if (Q != nullptr) Q->QKrat(g, v.Qg);
    for (const auto& [j, x] : g) v.gQg += x * v.Qg[j];
    return v;
}

// tv and M of direction j of the chain.
void TestSmeriVerige(const VerigaIskanja& v, const CResitev* Q, unsigned long j, real& tv, real& M, real& cpc)
{
    const real w = v.smeri.w[j], c = v.smeri.c;
    tv = w * v.x[j] - w * v.wx / c;
    cpc = w - w * w / c;
    M = cpc;
    if (Q == nullptr) return;
    real bQb = 0.0L, bQg = 0.0L;
    for (const auto& a : v.smeri.vrstice[j]) {
        bQg += a.vrednost * v.Qg[a.stolpec];
        for (const auto& b : v.smeri.vrstice[j])
            bQb += a.vrednost * b.vrednost * Q->Q(static_cast<long>(a.stolpec), static_cast<long>(b.stolpec));
    }
    M -= w * w * (bQb - 2.0L * bQg / c + v.gQg / (c * c));
}

}  // namespace

real TestiKriticnaN(real verjetnost) { return NormPorInvF(verjetnost / 2.0L + 0.5L); }

RezIzlocen TestiOpisZapisa(const CTerObsZbirka& TO, TerObsSet set, long zapis)
{
    RezIzlocen z;
    const CTerObs& s = TO.Set(set);
    z.vrsta = kTerObsVrste[set].crka;
    z.set = set;
    z.zapis = zapis;
    z.vrstica = s.Vrstica(zapis);
    for (unsigned j = 0; j < kTerObsVrste[set].imen; ++j)
        z.tocke += (j ? " " : "") + s.GetPTS(zapis, static_cast<long>(j));
    return z;
}

namespace {
// The columns of every record over the model rows; a composed angle enters
// its later direction with +1 and its earlier one with -1.
using StolpciZapisov = std::map<std::pair<unsigned, long>, std::vector<Stolpec>>;

StolpciZapisov Stolpci(const CTerObsZbirka& TO, const CGMM& GMM, long n)
{
    StolpciZapisov zapisi;
    for (long r = 0; r < n; ++r) {
        const VrsticaModela& m = GMM.vrstice[static_cast<std::size_t>(r)];
        if (m.set == kTOSetov) continue;
        const auto dodaj = [&](TerObsSet set, long zapis, int k, real c) {
            std::vector<Stolpec>& z = zapisi[{set, zapis}];
            if (static_cast<int>(z.size()) <= k) z.resize(static_cast<std::size_t>(k) + 1);
            z[static_cast<std::size_t>(k)][r] += c;
        };
        if (m.set == kTOAngl) {
            const std::array<long, 2> s = TO.TOAngl.Smeri(m.zapis);
            dodaj(kTODir, s[0], 0, -1.0L);
            dodaj(kTODir, s[1], 0, 1.0L);
        } else {
            dodaj(m.set, m.zapis, m.komponenta, 1.0L);
        }
    }
    return zapisi;
}

// t = C'P v and M = C'P Qll P C - (B'P C)' Q (B'P C) (P Qll P = P) of one
// record of q columns, and c'P c of its first column; P C of its columns.
void TinM(const std::vector<Stolpec>& C, const CGMM& GMM, const CGMMSol& GMMS, const CResitev* Q,
          std::map<unsigned long, VerigaIskanja>& verige, AlternativaZapisa& a)
{
    for (const Stolpec& c : C) a.C.emplace_back(c.begin(), c.end());
    const int q = static_cast<int>(C.size());
    // A direction of a long chain: its place j among the chain's directions.
    if (GMM.Pll.nrow() == 0 && q == 1 && !C[0].empty()) {
        const auto [r, k] = *C[0].begin();
        const unsigned long b = GMM.PllB.blokVrstice(static_cast<unsigned long>(r));
        if (b != bdmatrika::kBrez && GMM.PllB.trak(b)) {
            const unsigned long j = static_cast<unsigned long>(r) - GMM.PllB.zacetek(b) + (k > 0.0L ? 1 : 0);
            TestSmeriVerige(Veriga(verige, GMM, GMMS, Q, b), Q, j, a.t[0], a.M[0][0], a.cpc);
            return;
        }
    }
    std::vector<Stolpec> U;
    for (const Stolpec& c : C) {
        U.push_back(Utezeno(GMM, c));
        a.PC.emplace_back(U.back().begin(), U.back().end());
    }
    for (int j = 0; j < q; ++j) {
        for (const auto& [r, u] : U[j]) a.t[j] += u * GMMS.vvec(r);
        for (int k = 0; k < q; ++k) {
            real m = 0;
            for (const auto& [r, c] : C[j]) {
                const auto f = U[k].find(r);
                if (f != U[k].end()) m += c * f->second;
            }
            if (j == k) a.cpc += m;
            if (Q != nullptr)
                for (const auto& [r, ur] : U[j])
                    for (const auto& [s, us] : U[k])
                        m -= ur * us * Q->Par(GMM.Bmat, static_cast<unsigned long>(r), static_cast<unsigned long>(s));
            a.M[j][k] = m;
        }
    }
}

// The statistic of the record from t and M: a Cholesky factor of M (a pivot
// of round-off size: nothing checks the record), then w and the estimated
// error.
void Statistika(const AlternativaZapisa& a, int q, real s2, TestZapisa& t)
{
    real L[3][3] = {};
    bool preverjen = s2 > 0.0L && q <= 3;
    for (int j = 0; j < q && preverjen; ++j) {
        real d = a.M[j][j];
        for (int k = 0; k < j; ++k) d -= L[j][k] * L[j][k];
        if (!(d > kNic * a.cpc)) {
            preverjen = false;
            break;
        }
        L[j][j] = std::sqrt(d);
        for (int i = j + 1; i < q; ++i) {
            real x = a.M[i][j];
            for (int k = 0; k < j; ++k) x -= L[i][k] * L[j][k];
            L[i][j] = x / L[j][j];
        }
    }
    if (!preverjen) return;
    // y = L^-1 t, T = y'y / s2; the estimate -M^-1 t = -L'^-1 y.
    real y[3] = {0, 0, 0}, g[3] = {0, 0, 0}, T = 0;
    for (int j = 0; j < q; ++j) {
        y[j] = a.t[j];
        for (int k = 0; k < j; ++k) y[j] -= L[j][k] * y[k];
        y[j] /= L[j][j];
        T += y[j] * y[j];
    }
    for (int j = q - 1; j >= 0; --j) {
        g[j] = y[j];
        for (int k = j + 1; k < q; ++k) g[j] -= L[k][j] * g[k];
        g[j] /= L[j][j];
    }
    T /= s2;
    t.preverjen = true;
    t.T = T;
    if (q == 1) {
        t.w = a.t[0] / std::sqrt(s2 * a.M[0][0]);
        t.groba = -g[0];
    } else {
        const real p = Hi2PorFC(T, q);
        t.w = p > 0.0L ? -NormPorInvF(p / 2.0L) : std::sqrt(T);
        t.groba = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    }
}
}  // namespace

std::vector<AlternativaZapisa> AlternativeZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS,
                                                  TerObsSet samo)
{
    const long n = static_cast<long>(std::min<std::size_t>(GMM.vrstice.size(), GMMS.vvec.nrow()));
    const StolpciZapisov zapisi = Stolpci(TO, GMM, n);
    const CResitev* Q = GMMS.Resitev();
    std::vector<AlternativaZapisa> alternative;
    alternative.reserve(zapisi.size());
    std::map<unsigned long, VerigaIskanja> verige;
    for (const auto& [kljuc, C] : zapisi) {
        if (samo != kTOSetov && kljuc.first != samo) continue;
        AlternativaZapisa& a = alternative.emplace_back();
        a.set = static_cast<TerObsSet>(kljuc.first);
        a.zapis = kljuc.second;
        TinM(C, GMM, GMMS, Q, verige, a);
    }
    return alternative;
}

TestZapisa TestIzAlternative(const AlternativaZapisa& a, real s2)
{
    TestZapisa t;
    t.set = a.set;
    t.zapis = a.zapis;
    t.komponent = a.komponent();
    if (t.komponent == 1 && a.cpc > 0.0L) t.r = a.M[0][0] / a.cpc;
    Statistika(a, t.komponent, s2, t);
    return t;
}

std::vector<TestZapisa> TestiZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS, TerObsSet samo)
{
    // w and T with the a-priori sigma0: the snooping studentises them with
    // the variance estimated without the record where *S02 asks for the
    // a-posteriori one (FIskanje).
    const real s2 = GMM.So * GMM.So;
    std::vector<TestZapisa> testi;
    for (const AlternativaZapisa& a : AlternativeZapisov(TO, GMM, GMMS, samo)) testi.push_back(TestIzAlternative(a, s2));
    return testi;
}
