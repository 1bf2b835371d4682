// The determinations of one point from the known points of a state
// (declared in FPribliznoStanje.h).
#include <algorithm>
#include <cmath>

#include "src/FPribliznoStanje.h"

namespace {
constexpr real kPi = 3.141592653589793238462643383279502884L;
// At most this many determinations of one kind from the pairs and triples.
constexpr std::size_t kNajvecKombinacij = 6;

std::size_t U(long p) { return static_cast<std::size_t>(p); }

std::vector<long> Zdruzi(std::vector<long> a, const std::vector<long>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The orientation of set s (its station known) from its known targets; false
// while it has none.
bool Orientacija(const PribliznaMreza& m, PrStanje& st, long s)
{
    if (st.fiksna[U(s)]) return true;
    if (st.znanihCiljev[U(s)] == 0) return false;
    if (st.orientiranZ[U(s)] == st.znanihCiljev[U(s)]) return true;
    const PrNiz& niz = m.nizi[U(s)];
    std::vector<real> o;
    std::vector<long> vrstice;
    for (const PrSmer& r : niz.smeri)
        if (st.znanXY[U(r.cilj)] && r.cilj != niz.stojisce) {
            o.push_back(PribliznaSmer(st.XY(niz.stojisce), st.XY(r.cilj)) - r.r);
            vrstice.push_back(r.vrstica);
        }
    if (o.empty()) return false;
    st.orientacija[U(s)] = PribliznaMedianaKotov(std::move(o));
    st.vrsticeOrientacije[U(s)] = std::move(vrstice);
    st.orientiranZ[U(s)] = st.znanihCiljev[U(s)];
    return true;
}

struct Zarek {
    long od;
    real t;
    std::vector<long> vrstice;
};
struct Dolzina {
    long od;
    real d;
    std::vector<long> vrstice;
};

// Rays from known stations towards q: oriented directions, azimuths, angles.
std::vector<Zarek> Zarki(const PribliznaMreza& m, PrStanje& st, long q)
{
    std::vector<Zarek> z;
    for (const auto& c : m.cilji[U(q)]) {
        const PrNiz& niz = m.nizi[U(c[0])];
        if (niz.stojisce == q || !st.znanXY[U(niz.stojisce)] || !Orientacija(m, st, c[0])) continue;
        const PrSmer& r = niz.smeri[U(c[1])];
        z.push_back({niz.stojisce, PribliznaNormiraj(r.r + st.orientacija[U(c[0])]),
                     Zdruzi({r.vrstica}, st.vrsticeOrientacije[U(c[0])])});
    }
    if (!st.proizvolna)
        for (long i : m.azimutiTocke[U(q)]) {
            const PrAzimut& a = m.azimuti[U(i)];
            if (a.b == q && a.a != q && st.znanXY[U(a.a)]) z.push_back({a.a, a.t, {a.vrstica}});
            if (a.a == q && a.b != q && st.znanXY[U(a.b)]) z.push_back({a.b, PribliznaNormiraj(a.t + kPi), {a.vrstica}});
        }
    for (long i : m.kotiTocke[U(q)]) {
        const PrKot& k = m.koti[U(i)];
        const auto znan = [&](int j) { return k.p[U(j)] != q && st.znanXY[U(k.p[U(j)])]; };
        const auto smer = [&](int a, int b) { return PribliznaSmer(st.XY(k.p[U(a)]), st.XY(k.p[U(b)])); };
        // bearing(2 -> 3) = bearing(0 -> 1) + angle: the pair known gives the other's bearing.
        for (int par = 0; par < 2; ++par) {
            const int a = par == 0 ? 0 : 2, b = a + 1, c = par == 0 ? 2 : 0, d = c + 1;
            if (!znan(a) || !znan(b)) continue;
            const real t = smer(a, b) + (par == 0 ? k.kot : -k.kot);
            if (k.p[U(d)] == q && znan(c)) z.push_back({k.p[U(c)], PribliznaNormiraj(t), {k.vrstica}});
            if (k.p[U(c)] == q && znan(d)) z.push_back({k.p[U(d)], PribliznaNormiraj(t + kPi), {k.vrstica}});
        }
    }
    return z;
}

// Horizontal distances from known points to q (a slope distance once both
// heights are known).
std::vector<Dolzina> Dolzine(const PribliznaMreza& m, const PrStanje& st, long q)
{
    std::vector<Dolzina> d;
    for (long i : m.razdaljeTocke[U(q)]) {
        const PrRazdalja& r = m.razdalje[U(i)];
        const long k = r.a == q ? r.b : r.a;
        if (k == q || !st.znanXY[U(k)]) continue;
        real h = r.d;
        if (r.posevna) {
            if (!st.znanZ[U(k)] || !st.znanZ[U(q)]) continue;
            const real dz = st.x[U(r.b)][2] - st.x[U(r.a)][2] + r.dh;
            if (std::fabs(dz) >= r.d) continue;
            h = std::sqrt(r.d * r.d - dz * dz);
        }
        d.push_back({k, h, r.vrstice});
    }
    return d;
}

void Polarne(const PrStanje& st, const std::vector<Zarek>& z, const std::vector<Dolzina>& d,
             std::vector<PrDolocitev>& izid)
{
    for (const Zarek& r : z)
        for (const Dolzina& l : d)
            if (r.od == l.od)
                izid.push_back({PribliznoPolarno(st.XY(r.od), r.t, l.d), kPrPolarno, Zdruzi(r.vrstice, l.vrstice)});
}

void Preseki(const PrStanje& st, const std::vector<Zarek>& z, std::vector<PrDolocitev>& izid)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < z.size() && n < kNajvecKombinacij; ++i)
        for (std::size_t j = i + 1; j < z.size() && n < kNajvecKombinacij; ++j) {
            Tocka2 p;
            if (z[i].od == z[j].od || !PribliznoPresek(st.XY(z[i].od), z[i].t, st.XY(z[j].od), z[j].t, p)) continue;
            izid.push_back({p, kPrPresek, Zdruzi(z[i].vrstice, z[j].vrstice)});
            ++n;
        }
}

// Resection from each direction set at q with three or more known targets
// (consecutive triples of them).
void Nazaj(const PribliznaMreza& m, const PrStanje& st, long q, std::vector<PrDolocitev>& izid)
{
    for (long s : m.stojisca[U(q)]) {
        std::vector<const PrSmer*> znani;
        for (const PrSmer& r : m.nizi[U(s)].smeri)
            if (r.cilj != q && st.znanXY[U(r.cilj)]) znani.push_back(&r);
        const std::size_t n = znani.size();
        if (n < 3) continue;
        for (std::size_t k = 0; k < std::min(n == 3 ? std::size_t{1} : n, kNajvecKombinacij); ++k) {
            const PrSmer *a = znani[k], *b = znani[(k + 1) % n], *c = znani[(k + 2) % n];
            Tocka2 p;
            if (a->cilj == b->cilj || b->cilj == c->cilj || a->cilj == c->cilj) continue;
            if (PribliznoNazaj({st.XY(a->cilj), st.XY(b->cilj), st.XY(c->cilj)}, {a->r, b->r, c->r}, p))
                izid.push_back({p, kPrNazaj, {a->vrstica, b->vrstica, c->vrstica}});
        }
    }
}

// How far p is from agreeing with the observations of q other than the two
// distances i and j (metres at the point; -1 when there are none).
real Neskladje(const PribliznaMreza& m, const PrStanje& st, long q, const Tocka2& p, const std::vector<Zarek>& z,
               const std::vector<Dolzina>& d, std::size_t i, std::size_t j)
{
    real vsota = 0.0L;
    bool ima = false;
    for (std::size_t k = 0; k < d.size(); ++k)
        if (k != i && k != j && d[k].od != d[i].od && d[k].od != d[j].od) {
            const Tocka2 a = st.XY(d[k].od);
            vsota += std::fabs(std::hypot(p[0] - a[0], p[1] - a[1]) - d[k].d);
            ima = true;
        }
    for (const Zarek& r : z) {
        const Tocka2 a = st.XY(r.od);
        const real dt = PribliznaSmer(a, p) - r.t;
        vsota += std::hypot(p[0] - a[0], p[1] - a[1]) * std::fabs(std::sin(dt / 2.0L)) * 2.0L;
        ima = true;
    }
    for (long s : m.stojisca[U(q)]) {
        const PrSmer* prva = nullptr;
        for (const PrSmer& r : m.nizi[U(s)].smeri) {
            if (r.cilj == q || !st.znanXY[U(r.cilj)]) continue;
            if (prva == nullptr) { prva = &r; continue; }
            const Tocka2 a = st.XY(prva->cilj), b = st.XY(r.cilj);
            const real dt = PribliznaSmer(p, b) - PribliznaSmer(p, a) - (r.r - prva->r);
            vsota += std::hypot(b[0] - p[0], b[1] - p[1]) * std::fabs(std::sin(dt / 2.0L)) * 2.0L;
            ima = true;
        }
    }
    return ima ? vsota : -1.0L;
}

// Arc intersections of pairs of distances from two known points, the side
// chosen by q's other observations.
void Loki(const PribliznaMreza& m, const PrStanje& st, long q, const std::vector<Zarek>& z,
          const std::vector<Dolzina>& d, std::vector<PrDolocitev>& izid)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < d.size() && n < kNajvecKombinacij; ++i)
        for (std::size_t j = i + 1; j < d.size() && n < kNajvecKombinacij; ++j) {
            Tocka2 p1, p2;
            if (d[i].od == d[j].od || !PribliznoLok(st.XY(d[i].od), d[i].d, st.XY(d[j].od), d[j].d, p1, p2)) continue;
            const real loceni = std::hypot(p1[0] - p2[0], p1[1] - p2[1]);
            Tocka2 p = p1;
            if (loceni > kPribliznaToleranca) {
                const real n1 = Neskladje(m, st, q, p1, z, d, i, j), n2 = Neskladje(m, st, q, p2, z, d, i, j);
                if (n1 < 0.0L || std::fabs(n1 - n2) < loceni / 4.0L) continue;
                if (n2 < n1) p = p2;
            }
            izid.push_back({p, kPrLok, Zdruzi(d[i].vrstice, d[j].vrstice)});
            ++n;
        }
}
}  // namespace

std::vector<PrDolocitev> PribliznoRavnina(const PribliznaMreza& m, PrStanje& st, long q)
{
    std::vector<PrDolocitev> izid;
    for (long i : m.opazovaneTocke[U(q)]) {
        const PrOpazovana& o = m.opazovane[U(i)];
        if (!o.samoVisina) izid.push_back({{o.x[0], o.x[1]}, kPrOpazovane, {o.vrstica}});
    }
    for (long i : m.vektorjiTocke[U(q)]) {
        const PrVektor& v = m.vektorji[U(i)];
        const long k = v.a == q ? v.b : v.a;
        const real s = v.a == q ? -1.0L : 1.0L;
        if (k != q && st.znanXY[U(k)])
            izid.push_back({{st.x[U(k)][0] + s * v.d[0], st.x[U(k)][1] + s * v.d[1]}, kPrVektor, {v.vrstica}});
    }
    const std::vector<Zarek> z = Zarki(m, st, q);
    const std::vector<Dolzina> d = Dolzine(m, st, q);
    // In a local frame the rays carry the orientation of the frame's first
    // set from station to station, and its drift grows without bound over a
    // large network; distances do not drift so: there the arcs alone place
    // a point that has them.
    Loki(m, st, q, z, d, izid);
    if (!st.proizvolna || izid.empty()) {
        Polarne(st, z, d, izid);
        Preseki(st, z, izid);
        Nazaj(m, st, q, izid);
    }
    return izid;
}

std::vector<PrDolocitev> PribliznoVisina(const PribliznaMreza& m, const PrStanje& st, long q)
{
    std::vector<PrDolocitev> izid;
    for (long i : m.opazovaneTocke[U(q)]) {
        const PrOpazovana& o = m.opazovane[U(i)];
        if (o.samoVisina || m.dim == 3) izid.push_back({{o.x[2], 0.0L}, kPrOpazovane, {o.vrstica}});
    }
    for (long i : m.visineTocke[U(q)]) {
        const PrVisina& h = m.visine[U(i)];
        const long k = h.a == q ? h.b : h.a;
        if (k == q || !st.znanZ[U(k)]) continue;
        const real z = st.x[U(k)][2] + (h.a == q ? -h.dh : h.dh);
        izid.push_back({{z, 0.0L}, h.zenitna ? kPrZenitna : kPrNivelman, h.vrstice});
    }
    if (m.dim == 3)
        for (long i : m.vektorjiTocke[U(q)]) {
            const PrVektor& v = m.vektorji[U(i)];
            const long k = v.a == q ? v.b : v.a;
            if (k != q && st.znanZ[U(k)])
                izid.push_back({{st.x[U(k)][2] + (v.a == q ? -v.d[2] : v.d[2]), 0.0L}, kPrVektor, {v.vrstica}});
        }
    return izid;
}

PrManjka PribliznoManjka(const PribliznaMreza& m, PrStanje& st, long q)
{
    PrManjka r;
    r.smeri = Zarki(m, st, q).size();
    r.dolzine = Dolzine(m, st, q).size();
    for (long s : m.stojisca[U(q)]) {
        unsigned long n = 0;
        for (const PrSmer& c : m.nizi[U(s)].smeri) n += c.cilj != q && st.znanXY[U(c.cilj)] ? 1 : 0;
        r.nazaj = std::max(r.nazaj, n);
    }
    for (long i : m.vektorjiTocke[U(q)]) {
        const PrVektor& v = m.vektorji[U(i)];
        r.vektorji += st.znanXY[U(v.a == q ? v.b : v.a)] ? 1 : 0;
    }
    return r;
}
