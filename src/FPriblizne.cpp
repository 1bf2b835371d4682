#include "src/FPriblizne.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "funkcije/Besedila.h"
#include "src/CGDatum.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/FPribliznoStanje.h"
#include "src/NivexAux.h"

namespace {
std::size_t U(long p) { return static_cast<std::size_t>(p); }
// Points with this many determinations in a round go before the others.
constexpr unsigned kNajmanjDolocitev = 3;
// Points of rough data named one by one among the warnings.
constexpr unsigned long kGrobihPoImenu = 20;

// The determinations of one coordinate group (k = 2 plan, 1 height) into
// one value: the median of those within the tolerance of the median of all.
Tocka2 Zdruzi(const std::vector<PrDolocitev>& d, int k, PribliznaTocka& rez)
{
    const auto mediana = [&](const std::vector<const PrDolocitev*>& v) {
        Tocka2 x{};
        for (int c = 0; c < k; ++c) {
            std::vector<real> s;
            for (const PrDolocitev* p : v) s.push_back(p->x[U(c)]);
            x[U(c)] = PribliznaMediana(std::move(s));
        }
        return x;
    };
    const auto razdalja = [&](const Tocka2& a, const Tocka2& b) {
        return k == 1 ? std::fabs(a[0] - b[0]) : std::hypot(a[0] - b[0], a[1] - b[1]);
    };
    std::vector<const PrDolocitev*> vse, skladne;
    for (const PrDolocitev& p : d) vse.push_back(&p);
    const Tocka2 m0 = mediana(vse);
    for (const PrDolocitev* p : vse)
        if (razdalja(p->x, m0) <= kPribliznaToleranca) skladne.push_back(p);
    if (skladne.empty()) skladne = vse;
    const Tocka2 x = mediana(skladne);
    for (const PrDolocitev* p : skladne) {
        rez.nacini |= p->nacin;
        rez.vrstice.insert(rez.vrstice.end(), p->vrstice.begin(), p->vrstice.end());
    }
    for (const PrDolocitev* p : vse) rez.razpon = std::max(rez.razpon, razdalja(p->x, x));
    rez.dolocitev += static_cast<unsigned>(d.size());
    rez.groba = rez.groba || rez.razpon > kPribliznaToleranca;
    return x;
}

// The record of a point computed in the state, made on its first use.
PribliznaTocka& Zapis(PrStanje& st, long q)
{
    if (st.izracunana[U(q)] < 0) {
        st.izracunana[U(q)] = static_cast<long>(st.izracun.size());
        st.izracun.emplace_back();
        st.izracun.back().tocka = q;
    }
    return st.izracun[U(st.izracunana[U(q)])];
}

void Postavi(const PribliznaMreza& m, PrStanje& st, long q, const Tocka2* xy, const real* z)
{
    if (xy != nullptr) {
        st.x[U(q)][0] = (*xy)[0];
        st.x[U(q)][1] = (*xy)[1];
        st.znanXY[U(q)] = 1;
        for (const auto& c : m.cilji[U(q)]) ++st.znanihCiljev[U(c[0])];
    }
    if (z != nullptr) {
        st.x[U(q)][2] = *z;
        st.znanZ[U(q)] = 1;
    }
}

// Adds to `kandidati` the unknown points tied to q (q itself while it is
// not known whole), each once.
void Sosedi(const PribliznaMreza& m, const PrStanje& st, long q, std::vector<char>& oznacen,
            std::vector<long>& kandidati)
{
    std::vector<long> s{q};
    PribliznaSosescina(m, q, s);
    for (long p : s)
        if (!st.Znana(m, p) && !oznacen[U(p)]) {
            oznacen[U(p)] = 1;
            kandidati.push_back(p);
        }
}

struct Nova {
    long q = -1;
    bool xy = false, z = false;
    Tocka2 p{};
    real h = 0.0L;
    PribliznaTocka rez;
};

// A point's determinations of the round (plan and height as it lacks them).
Nova Oceni(const PribliznaMreza& m, PrStanje& st, long q)
{
    Nova nv;
    nv.q = q;
    if (m.dim != 1 && !st.znanXY[U(q)]) {
        const std::vector<PrDolocitev> d = PribliznoRavnina(m, st, q);
        if (!d.empty()) nv.p = Zdruzi(d, 2, nv.rez), nv.xy = true;
    }
    if (m.dim != 2 && !st.znanZ[U(q)]) {
        const std::vector<PrDolocitev> d = PribliznoVisina(m, st, q);
        if (!d.empty()) nv.h = Zdruzi(d, 1, nv.rez)[0], nv.z = true;
    }
    return nv;
}

void Sprejmi(const PribliznaMreza& m, PrStanje& st, const Nova& nv)
{
    Postavi(m, st, nv.q, nv.xy ? &nv.p : nullptr, nv.z ? &nv.h : nullptr);
    PribliznaTocka& r = Zapis(st, nv.q);
    r.nacini |= nv.rez.nacini;
    r.vrstice.insert(r.vrstice.end(), nv.rez.vrstice.begin(), nv.rez.vrstice.end());
    r.razpon = std::max(r.razpon, nv.rez.razpon);
    r.dolocitev += nv.rez.dolocitev;
    r.groba = r.groba || nv.rez.groba;
}

// The rounds: every candidate from the points known before the round, then
// all of them known at once; the next candidates are the points tied to them.
// The best determined first: while some point of the round has three or
// more determinations, one with fewer waits (its neighbours, once known, add
// to them); the waiting points are taken when nothing else is left.
void Razsiri(const PribliznaMreza& m, PrStanje& st, std::vector<long> kandidati)
{
    std::vector<char> oznacen(U(m.n), 0);
    for (long q : kandidati) oznacen[U(q)] = 1;
    std::vector<long> cakajo;
    bool vse = false;
    while (!kandidati.empty()) {
        std::vector<Nova> nove;
        for (long q : kandidati) {
            oznacen[U(q)] = 0;
            Nova nv = Oceni(m, st, q);
            if (nv.xy || nv.z) nove.push_back(std::move(nv));
        }
        unsigned prag = 0;
        if (!vse)
            for (const Nova& nv : nove) prag = std::max(prag, std::min(nv.rez.dolocitev, kNajmanjDolocitev));
        kandidati.clear();
        std::vector<long> sprejete;
        for (const Nova& nv : nove) {
            if (nv.rez.dolocitev < prag) {
                cakajo.push_back(nv.q);
                continue;
            }
            Sprejmi(m, st, nv);
            sprejete.push_back(nv.q);
        }
        for (long q : sprejete) Sosedi(m, st, q, oznacen, kandidati);
        vse = kandidati.empty();
        if (vse) {
            for (long q : cakajo)
                if (!st.Znana(m, q) && !oznacen[U(q)]) oznacen[U(q)] = 1, kandidati.push_back(q);
            cakajo.clear();
        }
    }
}

// The transformation of a local frame onto the known points: plan and
// height each either found (ravnina, visina) or not.
struct Prenos {
    bool ravnina = false, visina = false, lokalni = false;
    PodobnostRavnine t;
    real dz = 0.0L;
};

Prenos Transformacija(const PribliznaMreza& m, const PrStanje& glob, const PrStanje& lok)
{
    Prenos p;
    std::vector<Tocka2> l, g;
    std::vector<real> dz;
    bool globXY = false, globZ = false;
    for (long i = 0; i < m.n; ++i) {
        globXY = globXY || glob.znanXY[U(i)];
        globZ = globZ || glob.znanZ[U(i)];
        if (glob.znanXY[U(i)] && lok.znanXY[U(i)]) l.push_back(lok.XY(i)), g.push_back(glob.XY(i));
        if (glob.znanZ[U(i)] && lok.znanZ[U(i)]) dz.push_back(glob.x[U(i)][2] - lok.x[U(i)][2]);
    }
    if (m.dim != 1) {
        if (l.size() >= 2) {
            p.ravnina = PribliznaPodobnost(l, g, p.t);
        } else if (l.size() == 1 && !lok.proizvolna) {
            p.t.tx = g[0][0] - l[0][0];
            p.t.ty = g[0][1] - l[0][1];
            p.ravnina = true;
        } else if (!globXY) {
            p.ravnina = p.lokalni = true;
        }
    }
    if (m.dim != 2) {
        if (!dz.empty()) {
            p.dz = PribliznaMediana(dz);
            p.visina = true;
        } else if (!globZ) {
            p.visina = true;
            p.lokalni = p.lokalni || m.dim == 1;
        }
    }
    return p;
}

// A local frame from the station `seme` (at the origin, its first set
// oriented at 0), brought onto the known points; the points it gives are
// added to `nove`.  Every point of the frame is marked visited.
void LokalniSistem(const PribliznaMreza& m, PrStanje& glob, long seme, std::vector<char>& obiskan,
                   std::vector<long>& nove)
{
    PrStanje lok(m);
    const Tocka2 izhodisce{0.0L, 0.0L};
    const real visina = 0.0L;
    Postavi(m, lok, seme, &izhodisce, &visina);
    // The first direction of the station's first set points along the
    // second axis.
    if (!m.stojisca[U(seme)].empty()) {
        const long s = m.stojisca[U(seme)][0];
        lok.fiksna[U(s)] = 1;
        lok.orientacija[U(s)] = PribliznaNormiraj(-m.nizi[U(s)].smeri.front().r);
        lok.proizvolna = true;
    }
    std::vector<char> oznacen(U(m.n), 0);
    std::vector<long> kandidati;
    Sosedi(m, lok, seme, oznacen, kandidati);
    Razsiri(m, lok, kandidati);
    for (long i = 0; i < m.n; ++i)
        if (lok.Znana(m, i)) obiskan[U(i)] = 1;
    const Prenos t = Transformacija(m, glob, lok);
    for (long i = 0; i < m.n; ++i) {
        const bool xy = t.ravnina && m.dim != 1 && !glob.znanXY[U(i)] && lok.znanXY[U(i)];
        const bool z = t.visina && m.dim != 2 && !glob.znanZ[U(i)] && lok.znanZ[U(i)];
        if (!xy && !z) continue;
        const Tocka2 p = t.t(lok.XY(i));
        const real h = lok.x[U(i)][2] + t.dz;
        Postavi(m, glob, i, xy ? &p : nullptr, z ? &h : nullptr);
        PribliznaTocka& r = Zapis(glob, i);
        if (lok.izracunana[U(i)] >= 0) {
            const PribliznaTocka& l = lok.izracun[U(lok.izracunana[U(i)])];
            r.nacini |= l.nacini;
            r.vrstice.insert(r.vrstice.end(), l.vrstice.begin(), l.vrstice.end());
            r.razpon = std::max(r.razpon, l.razpon);
            r.dolocitev += l.dolocitev;
            r.groba = r.groba || l.groba;
        }
        r.nacini |= t.lokalni ? kPrLokalni : kPrPodobnost;
        nove.push_back(i);
    }
}

// What point q lacks, in words.
std::string Manjka(const PribliznaMreza& m, PrStanje& st, long q, const std::string& ime)
{
    if (m.dim == 1) return BesediloF(Besedilo::PribliznoManjkaNivelman, ime.c_str());
    if (st.znanXY[U(q)]) return BesediloF(Besedilo::PribliznoManjkaVisina, ime.c_str());
    const PrManjka r = PribliznoManjka(m, st, q);
    if (r.smeri == 0 && r.dolzine == 0 && r.nazaj == 0 && r.vektorji == 0)
        return BesediloF(Besedilo::PribliznoManjkaPovezava, ime.c_str());
    if (r.smeri == 1 && r.dolzine == 0 && r.nazaj == 0) return BesediloF(Besedilo::PribliznoManjkaEnaSmer, ime.c_str());
    if (r.smeri == 0 && r.dolzine == 1 && r.nazaj == 0)
        return BesediloF(Besedilo::PribliznoManjkaEnaDolzina, ime.c_str());
    if (r.smeri == 0 && r.dolzine == 2 && r.nazaj < 2) return BesediloF(Besedilo::PribliznoManjkaStran, ime.c_str());
    if (r.smeri == 0 && r.dolzine == 0 && r.nazaj < 3)
        return BesediloF(Besedilo::PribliznoManjkaNazaj, ime.c_str(), r.nazaj);
    return BesediloF(Besedilo::PribliznoManjkaPremalo, ime.c_str(), r.smeri, r.dolzine);
}

// A coordinate held by the datum must be given, not computed.
void PreveriDatum(const CGDatum& datum, const CTerObsTocke& tocke)
{
    for (const CGDatum::ImeVVrstici& d : datum.imenaVrstic) {
        if (d.beseda != "**V" && d.beseda != "**VXY" && d.beseda != "**VZ" && d.beseda != "**DX" &&
            d.beseda != "**DY" && d.beseda != "**DZ" && d.beseda != "**DH")
            continue;
        const long p = tocke.FindPoint(d.ime);
        if (p >= 0 && tocke.racunana[U(p)])
            NivexError(BesediloF(Besedilo::NapakaPribliznaDatum, d.ime.c_str(), d.beseda.c_str(), d.vrstica));
    }
}

// The rounds from the given points, then local frames from the stations
// left (in file order) while they bring points in.
void Izracunaj(const PribliznaMreza& m, PrStanje& st)
{
    for (long p = 0; p < m.n; ++p)
        if (st.znanXY[U(p)])
            for (const auto& c : m.cilji[U(p)]) ++st.znanihCiljev[U(c[0])];
    std::vector<long> kandidati;
    for (long p = 0; p < m.n; ++p)
        if (!st.Znana(m, p)) kandidati.push_back(p);
    Razsiri(m, st, kandidati);
    std::vector<long> semena;
    for (const PrNiz& n : m.nizi) semena.push_back(n.stojisce);
    for (long p = 0; p < m.n; ++p) semena.push_back(p);
    std::vector<char> obiskan(U(m.n), 0);
    for (long s : semena) {
        if (st.Znana(m, s) || obiskan[U(s)]) continue;
        std::vector<long> nove;
        LokalniSistem(m, st, s, obiskan, nove);
        if (nove.empty()) continue;
        std::vector<char> oznacen(U(m.n), 0);
        kandidati.clear();
        for (long q : nove) Sosedi(m, st, q, oznacen, kandidati);
        Razsiri(m, st, kandidati);
    }
}
}  // namespace

PrStanje::PrStanje(const PribliznaMreza& m)
    : x(U(m.n), std::array<real, 3>{}), znanXY(U(m.n), 0), znanZ(U(m.n), 0), izracunana(U(m.n), -1),
      orientacija(m.nizi.size(), 0.0L), orientiranZ(m.nizi.size(), -1), znanihCiljev(m.nizi.size(), 0),
      vrsticeOrientacije(m.nizi.size()), fiksna(m.nizi.size(), 0)
{
}

std::vector<PribliznaTocka> IzracunajPriblizne(CTerObsZbirka& TO, const CGDatum& datum, unsigned short dim)
{
    CTerObsTocke& tocke = TO.Tocke(dim);
    if (std::none_of(tocke.racunana.begin(), tocke.racunana.end(), [](char c) { return c != 0; })) return {};
    PreveriDatum(datum, tocke);
    const PribliznaMreza m = PribliznaMrezaIz(TO, dim);
    PrStanje st(m);
    for (long p = 0; p < m.n; ++p) {
        if (tocke.racunana[U(p)]) continue;
        for (long k = 0; k < dim; ++k) st.x[U(p)][U(dim == 1 ? 2 : k)] = tocke.OBS(p, k);
        st.znanXY[U(p)] = dim != 1;
        st.znanZ[U(p)] = dim != 2;
    }
    Izracunaj(m, st);
    std::string manjka;
    unsigned long nManjka = 0;
    for (long p = 0; p < m.n; ++p)
        if (!st.Znana(m, p)) manjka += "\n      " + Manjka(m, st, p, tocke.PTS(p, 0)), ++nManjka;
    if (nManjka != 0) NivexError(BesediloF(Besedilo::NapakaPriblizne, nManjka) + manjka);
    std::vector<PribliznaTocka> izid;
    unsigned long grobih = 0;
    for (long p = 0; p < m.n; ++p) {
        if (!tocke.racunana[U(p)]) continue;
        PribliznaTocka r = st.izracun[U(st.izracunana[U(p)])];
        r.ime = tocke.PTS(p, 0);
        for (long k = 0; k < dim; ++k) {
            r.x[U(k)] = st.x[U(p)][U(dim == 1 ? 2 : k)];
            tocke.OBS(p, k) = r.x[U(k)];
        }
        std::sort(r.vrstice.begin(), r.vrstice.end());
        r.vrstice.erase(std::unique(r.vrstice.begin(), r.vrstice.end()), r.vrstice.end());
        // The first points of rough data by name; the rest counted once
        // (the section names each of them).
        if (r.groba && ++grobih <= kGrobihPoImenu)
            NivexWarning(BesediloF(Besedilo::OpozoriloPribliznaRazpon, r.ime.c_str(), static_cast<double>(r.razpon),
                                   static_cast<double>(kPribliznaToleranca)));
        izid.push_back(std::move(r));
    }
    if (grobih > kGrobihPoImenu)
        NivexWarning(BesediloF(Besedilo::OpozoriloPribliznaRazponVec, grobih - kGrobihPoImenu,
                               static_cast<double>(kPribliznaToleranca)));
    return izid;
}
