#include "src/FZanke.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <string>
#include <unordered_map>

#include "funkcije/Besedila.h"
#include "funkcije/Hi2Por.h"
#include "funkcije/NormPor.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/NivexAux.h"

namespace {

// The records of one set as a graph: edge k is a record (zapis[k]) from
// point a[k] to point b[k]; the edges at each point in CSR form.
struct Graf {
    std::vector<int> a, b;
    std::vector<long> zapis;
    std::vector<std::size_t> zacetek;
    std::vector<int> sosedi;
    int tock = 0;
    int Drugi(int e, int x) const { return a[static_cast<std::size_t>(e)] == x ? b[static_cast<std::size_t>(e)] : a[static_cast<std::size_t>(e)]; }
};

Graf GrafZapisov(const CTerObs& set)
{
    Graf g;
    std::unordered_map<std::string, int> indeks;
    indeks.reserve(set.NObs() * 2);
    const auto tocka = [&](const std::string& ime) {
        const auto [it, nova] = indeks.try_emplace(ime, g.tock);
        if (nova) ++g.tock;
        return it->second;
    };
    for (long i = 0; i < static_cast<long>(set.NObs()); ++i) {
        if (!set.Aktiven(i)) continue;
        g.a.push_back(tocka(set.GetPTS(i, 0)));
        g.b.push_back(tocka(set.GetPTS(i, 1)));
        g.zapis.push_back(i);
    }
    g.zacetek.assign(static_cast<std::size_t>(g.tock) + 1, 0);
    for (std::size_t e = 0; e < g.a.size(); ++e) {
        ++g.zacetek[static_cast<std::size_t>(g.a[e]) + 1];
        if (g.b[e] != g.a[e]) ++g.zacetek[static_cast<std::size_t>(g.b[e]) + 1];
    }
    for (std::size_t x = 0; x < static_cast<std::size_t>(g.tock); ++x) g.zacetek[x + 1] += g.zacetek[x];
    g.sosedi.resize(g.zacetek.back());
    std::vector<std::size_t> poz(g.zacetek.begin(), g.zacetek.end() - 1);
    for (std::size_t e = 0; e < g.a.size(); ++e) {
        g.sosedi[poz[static_cast<std::size_t>(g.a[e])]++] = static_cast<int>(e);
        if (g.b[e] != g.a[e]) g.sosedi[poz[static_cast<std::size_t>(g.b[e])]++] = static_cast<int>(e);
    }
    return g;
}

// The spanning forest (breadth first, from the points in the order the
// records name them): the edge to each point's parent (-1 at a root), the
// depth, which edges belong to it, and the other edges in the order the
// search met them.
struct Gozd {
    std::vector<int> stars, globina;
    std::vector<char> vDrevesu;
    std::vector<int> ostali;
};

Gozd GozdGrafa(const Graf& g)
{
    Gozd f;
    const std::size_t n = static_cast<std::size_t>(g.tock);
    f.stars.assign(n, -1);
    f.globina.assign(n, -1);
    f.vDrevesu.assign(g.a.size(), 0);
    std::vector<char> videna(g.a.size(), 0);
    std::vector<int> vrsta;
    vrsta.reserve(n);
    for (std::size_t e = 0; e < g.a.size(); ++e) {
        const int koren = g.a[e];
        if (f.globina[static_cast<std::size_t>(koren)] >= 0) continue;
        f.globina[static_cast<std::size_t>(koren)] = 0;
        vrsta.assign(1, koren);
        for (std::size_t k = 0; k < vrsta.size(); ++k) {
            const int x = vrsta[k];
            for (std::size_t s = g.zacetek[static_cast<std::size_t>(x)]; s < g.zacetek[static_cast<std::size_t>(x) + 1]; ++s) {
                const int r = g.sosedi[s];
                if (videna[static_cast<std::size_t>(r)]) continue;
                videna[static_cast<std::size_t>(r)] = 1;
                const int y = g.Drugi(r, x);
                if (f.globina[static_cast<std::size_t>(y)] < 0) {
                    f.globina[static_cast<std::size_t>(y)] = f.globina[static_cast<std::size_t>(x)] + 1;
                    f.stars[static_cast<std::size_t>(y)] = r;
                    f.vDrevesu[static_cast<std::size_t>(r)] = 1;
                    vrsta.push_back(y);
                } else {
                    f.ostali.push_back(r);
                }
            }
        }
    }
    return f;
}

// The closing path of a loop: the edges from point u to point v, shortest
// among the edges marked in vH within kZankeIskanje points of u, else along
// the forest.
class IskanjePoti {
public:
    IskanjePoti(const Graf& g, const Gozd& f)
        : g_(g), f_(f), oznaka_(static_cast<std::size_t>(g.tock), 0), prej_(static_cast<std::size_t>(g.tock), -1)
    {
    }

    void Pot(int u, int v, const std::vector<char>& vH, std::vector<int>& pot)
    {
        pot.clear();
        if (u == v) return;
        if (!Najkrajsa(u, v, vH, pot)) PoGozdu(u, v, pot);
    }

private:
    bool Najkrajsa(int u, int v, const std::vector<char>& vH, std::vector<int>& pot)
    {
        ++zig_;
        vrsta_.assign(1, u);
        oznaka_[static_cast<std::size_t>(u)] = zig_;
        for (std::size_t k = 0; k < vrsta_.size() && k < kZankeIskanje; ++k) {
            const int x = vrsta_[k];
            for (std::size_t s = g_.zacetek[static_cast<std::size_t>(x)]; s < g_.zacetek[static_cast<std::size_t>(x) + 1]; ++s) {
                const int r = g_.sosedi[s];
                const int y = g_.Drugi(r, x);
                if (!vH[static_cast<std::size_t>(r)] || oznaka_[static_cast<std::size_t>(y)] == zig_) continue;
                oznaka_[static_cast<std::size_t>(y)] = zig_;
                prej_[static_cast<std::size_t>(y)] = r;
                if (y == v) {
                    for (int z = v; z != u; z = g_.Drugi(prej_[static_cast<std::size_t>(z)], z))
                        pot.push_back(prej_[static_cast<std::size_t>(z)]);
                    std::reverse(pot.begin(), pot.end());
                    return true;
                }
                vrsta_.push_back(y);
            }
        }
        return false;
    }

    // Up the forest from both ends to their common ancestor.
    void PoGozdu(int u, int v, std::vector<int>& pot) const
    {
        std::vector<int> odV;
        while (u != v) {
            if (f_.globina[static_cast<std::size_t>(u)] >= f_.globina[static_cast<std::size_t>(v)]) {
                const int r = f_.stars[static_cast<std::size_t>(u)];
                pot.push_back(r);
                u = g_.Drugi(r, u);
            } else {
                const int r = f_.stars[static_cast<std::size_t>(v)];
                odV.push_back(r);
                v = g_.Drugi(r, v);
            }
        }
        pot.insert(pot.end(), odV.rbegin(), odV.rend());
    }

    const Graf& g_;
    const Gozd& f_;
    std::vector<unsigned> oznaka_;
    std::vector<int> prej_;
    std::vector<int> vrsta_;
    unsigned zig_ = 0;
};

// Where a record of the set lies in a covariance block: the block (-1 in
// none) and its first row there.
struct MestoVBloku {
    std::vector<long> blok;
    std::vector<unsigned long> odmik;
};

MestoVBloku MestaVBlokih(const CTerObsZbirka& TO, TerObsSet vrsta, unsigned long nobs)
{
    MestoVBloku m{std::vector<long>(nobs, -1), std::vector<unsigned long>(nobs, 0)};
    for (std::size_t b = 0; b < TO.kovBloki.size(); ++b) {
        const KovBlokZapisov& blok = TO.kovBloki[b];
        for (std::size_t k = 0; k < blok.zapisi.size() && k < blok.odmik.size(); ++k) {
            const auto [set, zapis] = blok.zapisi[k];
            if (set != vrsta || zapis < 0 || static_cast<unsigned long>(zapis) >= nobs) continue;
            m.blok[static_cast<std::size_t>(zapis)] = static_cast<long>(b);
            m.odmik[static_cast<std::size_t>(zapis)] = blok.odmik[k];
        }
    }
    return m;
}

// Misclosure, its covariance and T of the loop of records `zapisi` with
// directions `smeri`.
struct Zapiranje {
    std::vector<real> w, sw;
    real T = 0;
};

Zapiranje ZapiranjeZanke(const CTerObsZbirka& TO, const CTerObs& set, const MestoVBloku& mesta, unsigned short d,
                         const std::vector<long>& zapisi, const std::vector<signed char>& smeri)
{
    const std::size_t dd = d;
    Zapiranje z{std::vector<real>(dd, 0.0L), std::vector<real>(dd, 0.0L), 0.0L};
    matrika<real> Q(dd, dd, 0.0L);
    for (std::size_t i = 0; i < zapisi.size(); ++i) {
        const long r = zapisi[i];
        for (std::size_t c = 0; c < dd; ++c) z.w[c] += smeri[i] * set.GetOBS(r, static_cast<long>(c));
        const long b = mesta.blok[static_cast<std::size_t>(r)];
        if (b < 0) {
            for (std::size_t c = 0; c < dd; ++c) {
                const real s = set.GetSIG(r, static_cast<long>(c));
                Q(static_cast<long>(c), static_cast<long>(c)) += s * s;
            }
            continue;
        }
        // Every pair of the loop's records in one block, this one first.
        const matrika<real>& C = TO.kovBloki[static_cast<std::size_t>(b)].Q;
        for (std::size_t j = 0; j < zapisi.size(); ++j) {
            const long q = zapisi[j];
            if (mesta.blok[static_cast<std::size_t>(q)] != b) continue;
            const unsigned long oi = mesta.odmik[static_cast<std::size_t>(r)], oj = mesta.odmik[static_cast<std::size_t>(q)];
            for (std::size_t x = 0; x < dd; ++x)
                for (std::size_t y = 0; y < dd; ++y)
                    Q(static_cast<long>(x), static_cast<long>(y)) +=
                        smeri[i] * smeri[j] * C(static_cast<long>(oi + x), static_cast<long>(oj + y));
        }
    }
    for (std::size_t c = 0; c < dd; ++c) z.sw[c] = std::sqrt(Q(static_cast<long>(c), static_cast<long>(c)));
    matrika<real> L;
    if (!KovCholesky(Q, L)) {
        z.T = -1.0L;   // not testable
        return z;
    }
    // T = |L^-1 w|^2.
    std::vector<real> y(dd, 0.0L);
    for (std::size_t i = 0; i < dd; ++i) {
        real s = z.w[i];
        for (std::size_t k = 0; k < i; ++k) s -= L(static_cast<long>(i), static_cast<long>(k)) * y[k];
        y[i] = s / L(static_cast<long>(i), static_cast<long>(i));
        z.T += y[i] * y[i];
    }
    return z;
}

std::string SeznamVrstic(const std::vector<long>& vrstice, std::size_t najvec, const char* locilo)
{
    std::string s;
    for (std::size_t i = 0; i < vrstice.size() && i < najvec; ++i) {
        if (i > 0) s.append(locilo);
        s.append(std::to_string(vrstice[i]));
    }
    if (vrstice.size() > najvec) s += BesediloF(Besedilo::ZankeSeVrstic, vrstice.size() - najvec);
    return s;
}

real Dolzina(const std::vector<real>& w)
{
    real s = 0;
    for (real x : w) s += x * x;
    return std::sqrt(s);
}

void OpozoriloZanke(const RezZanka& z, unsigned short d, real meja)
{
    const std::string vrstice = SeznamVrstic(z.vrstice, kZankeVrsticOpozorila, ", ");
    const long prva = z.vrstice.empty() ? 0 : z.vrstice.front();
    if (d == 1)
        NivexWarning(BesediloF(Besedilo::OpozoriloZankaVisin, z.stevilka, static_cast<double>(z.w[0] * 1000.0L),
                               static_cast<double>(std::sqrt(meja) * z.sw[0] * 1000.0L), vrstice.c_str()),
                     prva);
    else
        NivexWarning(BesediloF(Besedilo::OpozoriloZankaVektorjev, z.stevilka, static_cast<double>(Dolzina(z.w) * 1000.0L),
                               static_cast<double>(z.T), static_cast<double>(meja), vrstice.c_str()),
                     prva);
}

// The kept loops: at most kZankeNajvec, those of the largest T (a loop
// that cannot be tested counts least).
class Izbor {
public:
    bool Sprejme(real T) const { return zanke_.size() < kZankeNajvec || T > zanke_.front().T; }
    void Dodaj(RezZanka&& z)
    {
        zanke_.push_back(std::move(z));
        std::push_heap(zanke_.begin(), zanke_.end(), Manjsa);
        if (zanke_.size() > kZankeNajvec) {
            std::pop_heap(zanke_.begin(), zanke_.end(), Manjsa);
            zanke_.pop_back();
        }
    }
    std::vector<RezZanka> Urejene()
    {
        std::sort(zanke_.begin(), zanke_.end(), [](const RezZanka& a, const RezZanka& b) { return a.stevilka < b.stevilka; });
        return std::move(zanke_);
    }

private:
    static bool Manjsa(const RezZanka& a, const RezZanka& b) { return a.T > b.T; }
    std::vector<RezZanka> zanke_;
};

}  // namespace

real ZankeMeja(unsigned short d, real p)
{
    if (d == 1) {
        const real z = NormPorInvF(0.5L + p / 2.0L);
        return z * z;
    }
    return Hi2PorInvF(p, d);
}

RezZankeVrste ZankeVrste(const CTerObsZbirka& TO, TerObsSet vrsta, unsigned short d, real zaupanje)
{
    const CTerObs& set = TO.Set(vrsta);
    RezZankeVrste rv;
    rv.vrsta = vrsta;
    rv.d = d;
    const Graf g = GrafZapisov(set);
    if (g.a.empty()) return rv;
    const Gozd f = GozdGrafa(g);
    const MestoVBloku mesta = MestaVBlokih(TO, vrsta, set.NObs());
    const real meja = ZankeMeja(d, zaupanje);
    std::vector<char> vH = f.vDrevesu;
    IskanjePoti iskanje(g, f);
    Izbor izbor;
    std::vector<int> pot;
    std::vector<long> zapisi;
    std::vector<signed char> smeri;
    for (const int e : f.ostali) {
        // The loop's own record along its direction, then back from its end
        // to its start.
        const std::size_t ue = static_cast<std::size_t>(e);
        iskanje.Pot(g.b[ue], g.a[ue], vH, pot);
        vH[ue] = 1;
        zapisi.assign(1, g.zapis[ue]);
        smeri.assign(1, 1);
        int x = g.b[ue];
        for (const int r : pot) {
            zapisi.push_back(g.zapis[static_cast<std::size_t>(r)]);
            smeri.push_back(g.a[static_cast<std::size_t>(r)] == x ? 1 : -1);
            x = g.Drugi(r, x);
        }
        Zapiranje zap = ZapiranjeZanke(TO, set, mesta, d, zapisi, smeri);
        ++rv.stevilo;
        const bool presezena = zap.T > meja;
        if (presezena) ++rv.presezenih;
        if (!presezena && !izbor.Sprejme(zap.T)) continue;
        RezZanka z{static_cast<long>(rv.stevilo), zapisi, smeri, {}, std::move(zap.w), std::move(zap.sw), zap.T, presezena};
        for (const long r : zapisi) z.vrstice.push_back(set.Vrstica(r));
        if (presezena) OpozoriloZanke(z, d, meja);
        if (izbor.Sprejme(z.T)) izbor.Dodaj(std::move(z));
    }
    rv.zanke = izbor.Urejene();
    return rv;
}

RezZanke ZapiranjeZank(const CTerObsZbirka& TO, const CProcSet& procset)
{
    RezZanke r;
    r.zaupanje = procset.Getgtestp();
    if (procset.GetXVel() != 0) return r;
    RezZankeVrste h = ZankeVrste(TO, kTOHdif, 1, r.zaupanje);
    if (h.stevilo > 0) r.vrste.push_back(std::move(h));
    RezZankeVrste v = ZankeVrste(TO, kTOVec, TO.TOVec.GetDim(), r.zaupanje);
    if (v.stevilo > 0) r.vrste.push_back(std::move(v));
    return r;
}

namespace {

void VrsticeZanke(const RezZanka& z, std::size_t zamik, std::ostream& out)
{
    // Ten lines a row, the rows after the first under the first.
    for (std::size_t i = 0; i < z.vrstice.size(); i += 10) {
        if (i > 0) out << "\n" << std::string(zamik, ' ');
        const std::vector<long> del(z.vrstice.begin() + static_cast<long>(i),
                                    z.vrstice.begin() + static_cast<long>(std::min(i + 10, z.vrstice.size())));
        out << " " << SeznamVrstic(del, del.size(), " ");
    }
    out << "\n";
}

// Columns: loop 7, records 6, then 10 for each number; the mark 2.
void TabelaZank(const RezZankeVrste& v, real meja, std::ostream& out)
{
    const bool visine = v.d == 1;
    std::string glava = B(Besedilo::ZankeGlavaVisin), enote(13, ' ');
    if (!visine) {
        glava = std::string(B(Besedilo::ZankeGlavaVektorjev)) + (v.d == 3 ? B(Besedilo::ZankeGlavaWZ) : "") +
                B(Besedilo::ZankeGlavaVektorjevT);
    }
    for (unsigned k = 0; k < (visine ? 3u : v.d + 1u); ++k) enote += B(Besedilo::ZankeEnotaMM);
    const std::size_t zamik = 13 + 10 * (visine ? 3 : v.d + 2) + 2;
    const std::string crta(glava.size(), '-');
    out << "\n" << glava << "\n" << enote << "\n" << crta << "\n";
    IzpisNastavitve(out, 2);
    for (const RezZanka& z : v.zanke) {
        out << std::setw(7) << z.stevilka << std::setw(6) << z.zapisi.size();
        if (visine) {
            out << std::setw(10) << z.w[0] * 1000.0L << std::setw(10) << z.sw[0] * 1000.0L << std::setw(10)
                << std::sqrt(meja) * z.sw[0] * 1000.0L;
        } else {
            for (const real x : z.w) out << std::setw(10) << x * 1000.0L;
            out << std::setw(10) << Dolzina(z.w) * 1000.0L << std::setw(10) << z.T;
        }
        out << (z.presezena ? " *" : "  ");
        VrsticeZanke(z, zamik, out);
    }
    out << crta << "\n";
}

}  // namespace

void ZankePorocilo(const RezZanke& zanke, std::ostream& out)
{
    if (zanke.Prazno()) return;
    Naslov(out, B(Besedilo::NaslovZapiranjeZank), 1);
    for (const RezZankeVrste& v : zanke.vrste) {
        const real meja = ZankeMeja(v.d, zanke.zaupanje);
        PodNaslov(out, B(v.d == 1 ? Besedilo::PodnaslovZankeVisin : Besedilo::PodnaslovZankeVektorjev), 1);
        out << BesediloF(Besedilo::ZankeSteviloZank, v.stevilo, v.presezenih) << "\n";
        if (v.d == 1)
            out << BesediloF(Besedilo::ZankePraviloVisin, static_cast<double>(std::sqrt(meja)),
                             static_cast<double>(zanke.zaupanje))
                << "\n";
        else
            out << BesediloF(Besedilo::ZankePraviloVektorjev, static_cast<double>(meja), static_cast<int>(v.d),
                             static_cast<double>(zanke.zaupanje))
                << "\n";
        if (v.zanke.size() < v.stevilo)
            out << BesediloF(Besedilo::ZankeIzpisanih, v.zanke.size(), v.stevilo) << "\n";
        out << B(Besedilo::ZankeOpis) << "\n";
        TabelaZank(v, meja, out);
        out << "\n";
    }
}
