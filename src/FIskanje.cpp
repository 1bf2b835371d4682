#include "src/FIskanje.h"

#include <cmath>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "funkcije/Hi2Por.h"
#include "funkcije/KotnePretvorbe.h"
#include "funkcije/NormPor.h"
#include "src/FDolgeVerige.h"
#include "src/Nivex.h"
#include "src/NivexAux.h"

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

void Izloci(CNivex& nx, TerObsSet set, long zapis, bool aktiven)
{
    nx.TO.Set(set).SetAktiven(zapis, aktiven);
    if (set == kTODir) nx.TO.TOAngl.SetPar(nx.procset.GetCorAng());
}

void Mala(std::ostream& out, const RezIzlocen& z, const std::string& enota, real x)
{
    out << std::fixed << std::setprecision(2) << std::setw(10) << IskanjeMala(z.vrsta, enota, x);
}
}  // namespace

real IskanjeMala(char vrsta, const std::string& kotnaEnota, real x)
{
    if (!TerObsKotna(vrsta)) return 1000.0L * x;
    return kotnaEnota == "GON" ? 1000.0L * rad2gon(x) : rad2sec(x);
}

RezIzlocen IskanjeZapis(const CTerObsZbirka& TO, TerObsSet set, long zapis)
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

std::vector<TestZapisa> IskanjeTestiZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS)
{
    // The columns of every record over the model rows; a composed angle
    // enters its later direction with +1 and its earlier one with -1.
    std::map<std::pair<unsigned, long>, std::vector<Stolpec>> zapisi;
    const long n = static_cast<long>(std::min<std::size_t>(GMM.vrstice.size(), GMMS.vvec.nrow()));
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
    const CResitev* Q = GMMS.Resitev();
    // Baarda's test: the a-priori sigma0, whatever *S02 sets for the
    // accuracy measures (the a-posteriori one bounds |w| by the square root
    // of the degrees of freedom and hides errors in small networks).
    const real s2 = GMM.So * GMM.So;
    std::vector<TestZapisa> testi;
    std::map<unsigned long, VerigaIskanja> verige;
    for (const auto& [kljuc, C] : zapisi) {
        TestZapisa t;
        t.set = static_cast<TerObsSet>(kljuc.first);
        t.zapis = kljuc.second;
        const int q = static_cast<int>(C.size());
        t.komponent = q;
        // t = C'P v, M = C'P Qll P C - (B'P C)' Q (B'P C) with P Qll P = P.
        real tv[3] = {0, 0, 0}, M[3][3] = {}, cpc = 0;
        // A direction of a long chain: its place j among the chain's directions.
        unsigned long blokVerige = bdmatrika::kBrez, smerVerige = 0;
        if (GMM.Pll.nrow() == 0 && q == 1 && !C[0].empty()) {
            const auto [r, k] = *C[0].begin();
            const unsigned long b = GMM.PllB.blokVrstice(static_cast<unsigned long>(r));
            if (b != bdmatrika::kBrez && GMM.PllB.trak(b)) {
                blokVerige = b;
                smerVerige = static_cast<unsigned long>(r) - GMM.PllB.zacetek(b) + (k > 0.0L ? 1 : 0);
            }
        }
        std::vector<Stolpec> U;
        if (blokVerige != bdmatrika::kBrez)
            TestSmeriVerige(Veriga(verige, GMM, GMMS, Q, blokVerige), Q, smerVerige, tv[0], M[0][0], cpc);
        else
            for (const Stolpec& c : C) U.push_back(Utezeno(GMM, c));
        for (int j = 0; j < q && blokVerige == bdmatrika::kBrez; ++j) {
            for (const auto& [r, u] : U[j]) tv[j] += u * GMMS.vvec(r);
            for (int k = 0; k < q; ++k) {
                real m = 0;
                for (const auto& [r, c] : C[j]) {
                    const auto f = U[k].find(r);
                    if (f != U[k].end()) m += c * f->second;
                }
                if (j == k) cpc += m;
                if (Q != nullptr)
                    for (const auto& [r, ur] : U[j])
                        for (const auto& [s, us] : U[k])
                            m -= ur * us * Q->Par(GMM.Bmat, static_cast<unsigned long>(r), static_cast<unsigned long>(s));
                M[j][k] = m;
            }
        }
        // Cholesky factor of M; a pivot of round-off size: nothing checks it.
        real L[3][3] = {};
        bool preverjen = s2 > 0.0L && q <= 3;
        for (int j = 0; j < q && preverjen; ++j) {
            real d = M[j][j];
            for (int k = 0; k < j; ++k) d -= L[j][k] * L[j][k];
            if (!(d > kNic * cpc)) {
                preverjen = false;
                break;
            }
            L[j][j] = std::sqrt(d);
            for (int i = j + 1; i < q; ++i) {
                real x = M[i][j];
                for (int k = 0; k < j; ++k) x -= L[i][k] * L[j][k];
                L[i][j] = x / L[j][j];
            }
        }
        if (preverjen) {
            // y = L^-1 t, T = y'y / s2; the estimate -M^-1 t = -L'^-1 y.
            real y[3] = {0, 0, 0}, g[3] = {0, 0, 0}, T = 0;
            for (int j = 0; j < q; ++j) {
                y[j] = tv[j];
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
            if (q == 1) {
                t.w = tv[0] / std::sqrt(s2 * M[0][0]);
                t.groba = -g[0];
            } else {
                const real p = Hi2PorFC(T, q);
                t.w = p > 0.0L ? -NormPorInvF(p / 2.0L) : std::sqrt(T);
                t.groba = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
            }
        }
        testi.push_back(t);
    }
    return testi;
}

void IskanjeGrobih(CNivex& nx, std::ostream& report)
{
    RezIskanje isk;
    isk.vklopljeno = true;
    CTerObs& tocke = nx.TO.Tocke(nx.procset.GetDim());
    const matrika<real> zacetne = tocke.OBS;
    std::ostringstream prvo;
    IzidIzravnave izid = nx.Izravnaj(prvo);
    if (!izid) {
        report << prvo.str();
        NivexError(report, izid.sporocilo);
    }
    std::ostream nic(nullptr);
    const auto tiho = [&nx, &nic]() {
        nx.tiho = true;
        IzidIzravnave i = nx.Izravnaj(nic);
        nx.tiho = false;
        return i;
    };
    const real N = NormPorInvF(nx.procset.Getdatasp() / 2.0L + 0.5L);
    std::set<std::pair<unsigned, long>> neprevereni;
    bool poskusi = false;
    std::vector<TestZapisa> testi;
    for (;;) {
        const RezGlobalniTest& gt = nx.rez.globalniTest;
        // The tests presume least squares: robust weights have already
        // taken the residuals' measure.
        if (nx.procset.RobSolve != "MNK") {
            isk.konec = "robustna ocena (*ROBSOLV " + nx.procset.RobSolve + ") - iskanje ni izvedeno";
            break;
        }
        if (!izid.skonvergirala) {
            isk.konec = "iteracija ni skonvergirala";
            break;
        }
        if (gt.sprejet) {
            isk.konec = "globalni test sprejme model";
            break;
        }
        testi = IskanjeTestiZapisov(nx.TO, nx.GMM, nx.GMMS);
        const TestZapisa* naj = nullptr;
        for (const TestZapisa& t : testi)
            if (t.preverjen && neprevereni.count({t.set, t.zapis}) == 0 &&
                (naj == nullptr || std::fabs(t.w) > std::fabs(naj->w)))
                naj = &t;
        if (naj == nullptr || !(std::fabs(naj->w) > N)) {
            isk.konec = "noben |w| ne presega kriticne vrednosti N";
            break;
        }
        if (nx.procset.GetSnoopMax() != 0 && isk.izloceni.size() >= nx.procset.GetSnoopMax()) {
            isk.konec = "dosezeno najvecje stevilo izlocenih zapisov (*SNOOP " +
                        std::to_string(nx.procset.GetSnoopMax()) + ")";
            break;
        }
        RezIzlocen z = IskanjeZapis(nx.TO, naj->set, naj->zapis);
        z.w = naj->w;
        z.groba = naj->groba;
        if (gt.prostostne - naj->komponent < 1) {
            isk.konec = "izlocitev zapisa " + z.tocke + " (vrstica " + std::to_string(z.vrstica) +
                        ") bi pustila mrezo brez nadstevilnih opazovanj";
            break;
        }
        const matrika<real> prej = tocke.OBS;
        Izloci(nx, z.set, z.zapis, false);
        poskusi = true;
        IzidIzravnave poskus = tiho();
        if (!poskus) {
            // The record alone determines some unknown: it stays, unchecked.
            Izloci(nx, z.set, z.zapis, true);
            tocke.OBS = prej;
            neprevereni.insert({z.set, z.zapis});
            isk.neprevereni.push_back(z);
            izid = tiho();
            if (!izid) NivexError(report, izid.sporocilo);
            continue;
        }
        izid = poskus;
        z.SoPo = nx.rez.globalniTest.SoAposteriori;
        z.statistika = nx.rez.globalniTest.statistika;
        isk.izloceni.push_back(z);
    }
    // A record that no other observation checks (r = 0) is the only one to
    // determine some unknown: it cannot be tested, and removing it would
    // leave the network undetermined.
    if (testi.empty() && nx.procset.RobSolve == "MNK") testi = IskanjeTestiZapisov(nx.TO, nx.GMM, nx.GMMS);
    for (const TestZapisa& t : testi)
        if (!t.preverjen && neprevereni.count({t.set, t.zapis}) == 0)
            isk.neprevereni.push_back(IskanjeZapis(nx.TO, t.set, t.zapis));
    if (!poskusi) {
        report << prvo.str();
    } else {
        // The printed adjustment starts from the data file's values: it is
        // the adjustment of the file without the removed lines.
        tocke.OBS = zacetne;
        izid = nx.Izravnaj(report);
        if (!izid) NivexError(report, izid.sporocilo);
    }
    nx.rez.iskanje = isk;
}

void IskanjePorocilo(CNivex& nx, std::ostream& report)
{
    RezIskanje& isk = nx.rez.iskanje;
    if (!isk.izloceni.empty()) {
        // The misclosures: the removed records back in the model, its
        // equations at the adjusted coordinates (f = computed - observed).
        for (const RezIzlocen& z : isk.izloceni) Izloci(nx, z.set, z.zapis, true);
        std::ostream nic(nullptr);
        nx.GMM.DataSum(nic);
        nx.GMM.DataSet();
        nx.SetGMMEq(nic);
        for (RezIzlocen& z : isk.izloceni) {
            real e[3] = {0, 0, 0}, sosedi = 0;
            for (long r = 0; r < nx.GMM.nobs; ++r) {
                const VrsticaModela& m = nx.GMM.vrstice[static_cast<std::size_t>(r)];
                if (m.set == kTOAngl && z.set == kTODir) {
                    // A direction against the mean of its neighbours at the
                    // station: the angles to it count +, those from it -.
                    const std::array<long, 2> s = nx.TO.TOAngl.Smeri(m.zapis);
                    if (s[1] == z.zapis) e[0] -= nx.GMM.fvec(r), ++sosedi;
                    if (s[0] == z.zapis) e[0] += nx.GMM.fvec(r), ++sosedi;
                } else if (m.set == z.set && m.zapis == z.zapis) {
                    e[m.komponenta] = -nx.GMM.fvec(r);
                }
            }
            if (sosedi > 0) e[0] /= sosedi;
            z.odstopanje = TerObsKomponente(z.vrsta) ? std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2])
                                                            : e[0];
        }
    }
    const std::string& enota = nx.procset.GetAngUnit();
    Naslov(report, "ISKANJE GROBIH POGRESKOV:", 1);
    report << "Kriticna vrednost N:" << std::fixed << std::setprecision(3) << std::setw(10) << nx.rez.kriticnaN
           << "\n\n";
    PodNaslov(report, "  K  V  TOCKE                 VRSTICA        W    GROBA[mm, '', mg]    So_post    GLOB.TEST",
              1);
    int k = 0;
    for (const RezIzlocen& z : isk.izloceni) {
        report << std::setw(3) << ++k << "  " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke
               << std::right << std::setw(7) << z.vrstica << std::fixed << std::setprecision(3) << std::setw(9)
               << z.w;
        Mala(report, z, enota, z.groba);
        report << std::setw(21) << std::setprecision(3) << 1000.0L * z.SoPo << std::setw(13) << std::setprecision(4)
               << z.statistika << "\n";
    }
    if (isk.izloceni.empty()) report << "Noben zapis ni izlocen.\n";
    report << "\nIskanje je koncano: " << isk.konec << ".\n\n";
    if (!isk.izloceni.empty()) {
        PodNaslov(report, "ODSTOPANJA IZLOCENIH ZAPISOV OD IZRAVNAVE (opazovano - izracunano):", 1);
        for (const RezIzlocen& z : isk.izloceni) {
            report << "   " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke << std::right << std::setw(7)
                   << z.vrstica;
            Mala(report, z, enota, z.odstopanje);
            report << (TerObsKotna(z.vrsta) ? (enota == "GON" ? " mg" : " ''") : " mm") << "\n";
        }
        report << "\n";
    }
    if (!isk.neprevereni.empty()) {
        PodNaslov(report, "NEPREVERJENI ZAPISI (brez kontrole, izlocitev bi pustila mrezo nedoloceno):", 1);
        for (const RezIzlocen& z : isk.neprevereni)
            report << "   " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke << std::right << std::setw(7)
                   << z.vrstica << std::fixed << std::setprecision(3) << std::setw(9) << z.w << "\n";
        report << "\n";
    }
}
