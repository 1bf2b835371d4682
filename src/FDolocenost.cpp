#include "src/FDolocenost.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_set>
#include <utility>

#include "matrika/inv.h"
#include "funkcije/Besedila.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/NivexAux.h"

namespace {
// Names joined by ", ", at most kNajvecImen of them, then how many more.
std::string SeznamImen(const std::vector<std::string>& imena)
{
    std::string s;
    for (std::size_t k = 0; k < imena.size() && k < kNajvecImen; ++k) s += (k ? ", " : "") + imena[k];
    if (imena.size() > kNajvecImen) s += BesediloF(Besedilo::DolocenostInSeTock, imena.size() - kNajvecImen);
    return s;
}

// Groups of points joined by observations (union-find with path halving).
struct Skupine {
    explicit Skupine(std::size_t n) : stars(n) { std::iota(stars.begin(), stars.end(), std::size_t{0}); }
    std::size_t Koren(std::size_t a)
    {
        while (stars[a] != a) a = stars[a] = stars[stars[a]];
        return a;
    }
    void Zdruzi(std::size_t a, std::size_t b) { stars[Koren(a)] = Koren(b); }
    std::vector<std::size_t> stars;
};

bool ImaNeznanke(const CGMM& GMM, long p)
{
    if (GMM.iDeltaB(p) >= 0) return true;
    return GMM.procset.GetXVel() != 0 && p < static_cast<long>(GMM.iDeltaBV.nrow()) && GMM.iDeltaBV(p) >= 0;
}

// Datum kinds that lack what they are made of.
std::string PreveriVrstoDatuma(const CGMM& GMM)
{
    const CGDatum& gd = GMM.gdatum;
    const unsigned short Dim = GMM.procset.GetDim();
    // Observed heights fix heights in a levelling or spatial network; in a
    // plane network they are refused before this.
    const bool opazovaneKoordinate = GMM.TO.TOCrd.NObs() > 0 || (Dim != 2 && GMM.TO.TOH.NObs() > 0);
    const char* kaj = B(Dim == 1 ? Besedilo::DolocenostOpazovaneVisine : Besedilo::DolocenostOpazovaneKoordinate);
    if (gd.Datum == 'V' && gd.nV == 0 && gd.nVXY == 0 && gd.nVZ == 0 && !opazovaneKoordinate)
        return BesediloF(Besedilo::NapakaDatumVBrezDanihTock, kaj);
    if (gd.Datum == 'P' && !opazovaneKoordinate)
        return BesediloF(Besedilo::NapakaDatumPBrezOpazovanj, kaj);
    if (gd.Datum == 'D' && gd.nD == 0)
        return B(Besedilo::NapakaDatumDBrezKolicin);
    return {};
}

// Levelling network: the groups of points with unknowns that no chain of
// height differences ties to a fixed point, an observed height or a given
// height; with inner constraints one such group is held by them (the one
// with the most datum points), every other is free to move.
std::string PreveriSkupine(const CGMM& GMM, Skupine& sk, const std::vector<char>& sidro)
{
    const CTerObsTocke& T = GMM.Tocke();
    const CGDatum& gd = GMM.gdatum;
    const std::size_t n = sidro.size();
    std::vector<char> zasidrana(n, 0);
    for (std::size_t p = 0; p < n; ++p)
        if (sidro[p]) zasidrana[sk.Koren(p)] = 1;
    std::unordered_set<std::string> izvzete;   // points left out of H
    for (unsigned long k = 0; k < gd.PTDH.size(); ++k) izvzete.insert(gd.PTDH(static_cast<long>(k)));
    std::map<std::size_t, std::vector<std::string>> proste;   // root -> its points with unknowns
    std::map<std::size_t, long> datumske;                     // root -> its datum points (H)
    std::vector<std::size_t> vrstniRed;                       // roots in the order of their first point
    std::vector<char> videna(n, 0);
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t r = sk.Koren(p);
        if (zasidrana[r]) continue;
        if (!videna[r]) vrstniRed.push_back(r);
        videna[r] = 1;
        if (ImaNeznanke(GMM, static_cast<long>(p))) proste[r].push_back(T.PTS(static_cast<long>(p), 0));
        if (!izvzete.count(T.PTS(static_cast<long>(p), 0))) ++datumske[r];
    }
    if (gd.Datum == 'H') {
        std::size_t drzi = n;
        for (const std::size_t r : vrstniRed)
            if (datumske[r] > 0 && (drzi == n || datumske[r] > datumske[drzi])) drzi = r;
        proste.erase(drzi);
    }
    std::string s;
    std::size_t imen = 0;
    for (const std::size_t r : vrstniRed) {
        const auto it = proste.find(r);
        if (it == proste.end() || it->second.empty()) continue;
        std::string skupina;
        for (const std::string& ime : it->second)
            if (imen++ < kNajvecImen) skupina += (skupina.empty() ? "" : ", ") + ime;
        if (!skupina.empty()) s += (s.empty() ? "(" : ", (") + skupina + ")";
    }
    if (imen == 0) return {};
    if (imen > kNajvecImen) s += BesediloF(Besedilo::DolocenostInSeTock, imen - kNajvecImen);
    return BesediloF(Besedilo::NapakaNedoloceneSkupine, s.c_str());
    return {};
}

// Minimal constraints (datum D) must fix every motion of the network that
// the observations leave free: the translations, the rotations and the
// scale of a similarity transformation.  A motion is a vector over the
// coordinate unknowns (the approximate coordinates moved about their
// centroid); the observation rows and the constraint rows, each normalised,
// see it when their products with it do not vanish.  The motions are
// eliminated from the normal matrix of these products in the order
// translations, rotations, scale: one whose remaining diagonal vanishes is
// free, so a rotation about a fixed point counts as a rotation, and a scale
// about it as a scale.
// The rigid motions (and the scale) of the points with unknowns about their
// centre, each as a unit vector over the unknowns, in elimination order,
// with their names in the message.
struct Gibanja {
    std::vector<std::string> imena;
    std::vector<std::vector<real>> g;
};

Gibanja GibanjaTock(const CGMM& GMM, unsigned short Dim, const real* c)
{
    const CTerObsTocke& T = GMM.Tocke();
    const long n = static_cast<long>(T.NObs()), u = GMM.nunk, d = Dim == 1 ? 1 : Dim;
    Gibanja gib;
    std::vector<std::string>& imena = gib.imena;
    std::vector<std::vector<real>>& g = gib.g;
    const auto gibanje = [&](const std::string& ime, auto polje) {
        std::vector<real> v(static_cast<std::size_t>(u), 0.0L);
        real norma = 0.0L;
        for (long p = 0; p < n; ++p) {
            if (p >= static_cast<long>(GMM.iDeltaB.nrow()) || GMM.iDeltaB(p) < 0) continue;
            real x[3] = {0.0L, 0.0L, 0.0L}, w[3] = {0.0L, 0.0L, 0.0L};
            for (long k = 0; k < d; ++k) x[k] = T.OBS(p, k) - c[k];
            polje(x, w);
            for (long k = 0; k < d; ++k) {
                v[static_cast<std::size_t>(GMM.iDeltaB(p) + k)] = w[k];
                norma += w[k] * w[k];
            }
        }
        if (!(norma > 0.0L)) return;
        for (real& e : v) e /= std::sqrt(norma);
        imena.push_back(ime);
        g.push_back(std::move(v));
    };
    static const char* const kOs[] = {"X", "Y", "Z"};
    for (long k = 0; k < d; ++k)
        gibanje(Dim == 1 ? std::string(B(Besedilo::GibanjePremikVisin)) : BesediloF(Besedilo::GibanjePremik, kOs[k]),
                [k](const real*, real* w) { w[k] = 1.0L; });
    if (Dim == 2) {
        gibanje(B(Besedilo::GibanjeZasuk), [](const real* x, real* w) { w[0] = -x[1]; w[1] = x[0]; });
    } else if (Dim == 3) {
        gibanje(B(Besedilo::GibanjeZasukX), [](const real* x, real* w) { w[1] = -x[2]; w[2] = x[1]; });
        gibanje(B(Besedilo::GibanjeZasukY), [](const real* x, real* w) { w[0] = x[2]; w[2] = -x[0]; });
        gibanje(B(Besedilo::GibanjeZasukZ), [](const real* x, real* w) { w[0] = -x[1]; w[1] = x[0]; });
    }
    if (Dim > 1) gibanje(B(Besedilo::GibanjeMerilo), [d](const real* x, real* w) {
        for (long k = 0; k < d; ++k) w[k] = x[k];
    });

    return gib;
}

// N = sum over the rows of the model and of the datum of a a', a_j = row .
// g_j / |row|: how strongly the rows see each motion.
std::vector<real> VidnostGibanj(const CGMM& GMM, const std::vector<std::vector<real>>& g)
{
    const long u = GMM.nunk;
    const std::size_t k = g.size();
    std::vector<real> N(k * k, 0.0L), a(k);
    const auto vrstica = [&](auto&& element, std::size_t dolzina) {
        real r2 = 0.0L;
        std::fill(a.begin(), a.end(), 0.0L);
        for (std::size_t e = 0; e < dolzina; ++e) {
            const auto [stolpec, vrednost] = element(e);
            if (stolpec >= static_cast<std::size_t>(u) || vrednost == 0.0L) continue;
            r2 += vrednost * vrednost;
            for (std::size_t j = 0; j < k; ++j) a[j] += vrednost * g[j][stolpec];
        }
        if (!(r2 > 0.0L)) return;
        for (std::size_t i = 0; i < k; ++i)
            for (std::size_t j = 0; j < k; ++j) N[i * k + j] += a[i] * a[j] / r2;
    };
    const unsigned long vrstic = std::min<unsigned long>(GMM.Bmat.nrow(), static_cast<unsigned long>(GMM.iRowBin));
    for (unsigned long r = 0; r < vrstic; ++r) {
        const auto el = GMM.Bmat.vrstica(r);
        vrstica([&el](std::size_t e) { return std::pair<std::size_t, real>(el[e].stolpec, el[e].vrednost); },
                el.size());
    }
    for (long r = 0; r < static_cast<long>(GMM.Ddat.nrow()); ++r)
        vrstica([&GMM, r](std::size_t e) {
            return std::pair<std::size_t, real>(e, GMM.Ddat(r, static_cast<long>(e)));
        }, GMM.Ddat.ncol());

    return N;
}

// The names of the motions that no row holds: elimination in order on N
// scaled to a unit diagonal; a remaining diagonal this small is round-off of
// a motion no row sees.
std::vector<std::string> ProstaGibanja(std::vector<real> N, const std::vector<std::string>& imena)
{
    const std::size_t k = imena.size();
    constexpr real kPrazno = 1e-20L, kOstanek = 1e-9L;
    std::vector<real> s(k, 0.0L);
    for (std::size_t j = 0; j < k; ++j) s[j] = N[j * k + j] > kPrazno ? 1.0L / std::sqrt(N[j * k + j]) : 0.0L;
    for (std::size_t i = 0; i < k; ++i)
        for (std::size_t j = 0; j < k; ++j) N[i * k + j] *= s[i] * s[j];
    std::vector<std::string> proste;
    for (std::size_t j = 0; j < k; ++j) {
        const real piv = N[j * k + j];
        if (s[j] == 0.0L || !(piv > kOstanek)) {
            proste.push_back(imena[j]);
            continue;
        }
        for (std::size_t i = j + 1; i < k; ++i) {
            const real f = N[i * k + j] / piv;
            for (std::size_t l = j; l < k; ++l) N[i * k + l] -= f * N[j * k + l];
        }
    }
    return proste;
}

std::string PreveriMinimalneVezi(const CGMM& GMM)
{
    if (GMM.gdatum.Datum != 'D' || GMM.procset.GetXVel() != 0) return {};
    const unsigned short Dim = GMM.procset.GetDim();
    const CTerObsTocke& T = GMM.Tocke();
    const long n = static_cast<long>(T.NObs()), u = GMM.nunk, d = Dim == 1 ? 1 : Dim;
    if (u <= 0 || Dim < 1 || Dim > 3) return {};

    real c[3] = {0.0L, 0.0L, 0.0L};
    long m = 0;
    for (long p = 0; p < n; ++p)
        if (p < static_cast<long>(GMM.iDeltaB.nrow()) && GMM.iDeltaB(p) >= 0) {
            for (long k = 0; k < d; ++k) c[k] += T.OBS(p, k);
            ++m;
        }
    if (m == 0) return {};
    for (long k = 0; k < d; ++k) c[k] /= static_cast<real>(m);

    const Gibanja gib = GibanjaTock(GMM, Dim, c);
    const std::vector<std::string> proste = ProstaGibanja(VidnostGibanj(GMM, gib.g), gib.imena);
    if (proste.empty()) return {};
    std::string t;
    for (const std::string& p : proste) t += (t.empty() ? "" : ", ") + p;
    return BesediloF(Besedilo::NapakaDatumDProsto, t.c_str());
}
}  // namespace

std::string PreveriDolocenost(const CGMM& GMM)
{
    if (std::string s = PreveriVrstoDatuma(GMM); !s.empty()) return s;
    const CTerObsTocke& T = GMM.Tocke();
    const unsigned short Dim = GMM.procset.GetDim();
    const std::size_t n = T.NObs();
    const CTerObsZbirka& TO = GMM.TO;

    // Which points the observations touch, and in a levelling network which
    // they join and which they tie to the datum.
    std::vector<char> dotaknjena(n, 0), sidro(n, 0);
    Skupine sk(n);
    for (const TerObsSet s : TerObsSetiModela()) {
        const CTerObs* S = &TO.Set(s);
        for (long r = 0; r < static_cast<long>(S->NObs()); ++r) {
            if (!S->Aktiven(r)) continue;
            long prva = -1;
            for (long j = 0; j < static_cast<long>(S->PTS.ncol()); ++j) {
                const long p = T.FindPoint(S->PTS(r, j));
                if (p < 0) return {};
                dotaknjena[static_cast<std::size_t>(p)] = 1;
                if (prva < 0) prva = p;
                else sk.Zdruzi(static_cast<std::size_t>(prva), static_cast<std::size_t>(p));
            }
            if (S == &TO.TOH) sidro[static_cast<std::size_t>(prva)] = 1;
        }
    }

    std::vector<std::string> brez;
    for (std::size_t p = 0; p < n; ++p)
        if (!dotaknjena[p] && ImaNeznanke(GMM, static_cast<long>(p))) brez.push_back(T.PTS(static_cast<long>(p), 0));
    if (!brez.empty())
        return BesediloF(Besedilo::NapakaTockeBrezOpazovanj, SeznamImen(brez).c_str());

    if (Dim == 1) {
        const CGDatum& gd = GMM.gdatum;
        for (std::size_t p = 0; p < n; ++p)
            if (gd.Datum == 'V' && GMM.iDeltaB(static_cast<long>(p)) < 0) sidro[p] = 1;
        if (gd.Datum == 'D')
            for (unsigned long k = 0; k < gd.PTH.size(); ++k)
                sidro[static_cast<std::size_t>(T.PointIndex(gd.PTH(static_cast<long>(k))))] = 1;
        if (std::string s = PreveriSkupine(GMM, sk, sidro); !s.empty()) return s;
    }

    if (std::string s = PreveriMinimalneVezi(GMM); !s.empty()) return s;

    // What the datum supplies besides the observations: the rows of the
    // minimal or inner constraints (with the SVD the defect it may leave).
    long datum = 0;
    if (GMM.gdatum.Datum == 'D') datum = GMM.gdatum.nD;
    if (GMM.gdatum.Datum == 'H') datum = GMM.nHdat;
    if (GMM.gdatum.Datum == 'V') datum = GMM.ndrzanih;
    if (GMM.nobs < GMM.nunk - datum)
        return BesediloF(Besedilo::NapakaPremaloOpazovanj, static_cast<int>(GMM.nobs), static_cast<int>(GMM.nunk),
                         datum);
    return {};
}

std::string SporociloNedolocenih(const CGMM& GMM, const std::vector<long>& neznanke)
{
    static const char* const kOs[] = {"X", "Y", "Z"};
    const CTerObsTocke& T = GMM.Tocke();
    const unsigned short Dim = GMM.procset.GetDim();
    const long dim = Dim == 1 ? 1 : (Dim == 2 ? 2 : 3);
    const auto os = [Dim](long d, const char* pred) {
        std::string s(pred);
        s += Dim == 1 ? "H" : kOs[d];
        return s;
    };

    // Owner and label of every column: a point (position in the list) or,
    // for the refraction coefficients, none (-1).
    struct Oznaka {
        long tocka = -2;   // -2: not a column of the model
        std::string ime;
    };
    std::map<long, Oznaka> stolpci;
    const auto oznaci = [&stolpci](long c, long tocka, const std::string& ime) { stolpci[c] = {tocka, ime}; };
    const long npts = static_cast<long>(T.NObs());
    for (long p = 0; p < npts && p < static_cast<long>(GMM.iDeltaB.nrow()); ++p) {
        for (long d = 0; GMM.iDeltaB(p) >= 0 && d < dim; ++d) oznaci(GMM.iDeltaB(p) + d, p, os(d, ""));
        if (GMM.procset.GetXVel() != 0 && p < static_cast<long>(GMM.iDeltaBV.nrow()))
            for (long d = 0; GMM.iDeltaBV(p) >= 0 && d < dim; ++d) oznaci(GMM.iDeltaBV(p) + d, p, os(d, "v"));
    }
    for (long t = 0; t < static_cast<long>(GMM.iDeltaBk.nrow()); ++t) {
        const bool postaje = t < static_cast<long>(GMM.PTSk.nrow()) && GMM.procset.kRefType == "STAT";
        oznaci(GMM.iDeltaBk(t), -1,
               postaje ? BesediloF(Besedilo::NedolocenKoeficientRefrakcijePostaje, GMM.PTSk(t, 0).c_str())
                       : std::string(B(Besedilo::NedolocenKoeficientRefrakcije)));
    }

    std::vector<long> urejene(neznanke);
    std::sort(urejene.begin(), urejene.end());
    urejene.erase(std::unique(urejene.begin(), urejene.end()), urejene.end());
    std::map<long, std::vector<std::string>> poTockah;   // point -> its labels in column order
    std::vector<std::string> ostale;                       // refraction coefficients, stray indices
    for (const long c : urejene) {
        const auto it = stolpci.find(c);
        const Oznaka o = it == stolpci.end() ? Oznaka{} : it->second;
        if (o.tocka >= 0) poTockah[o.tocka].push_back(o.ime);
        else if (o.tocka == -1) ostale.push_back(o.ime);
        else ostale.push_back(BesediloF(Besedilo::NedolocenParameter, c + 1));
    }
    std::vector<std::string> deli;
    for (const auto& [p, oznake] : poTockah) {
        std::string s = T.PTS(p, 0) + " (";
        for (std::size_t k = 0; k < oznake.size(); ++k) s += (k ? ", " : "") + oznake[k];
        deli.push_back(s + ")");
    }
    deli.insert(deli.end(), ostale.begin(), ostale.end());
    return BesediloF(Besedilo::NapakaMrezaNiDolocena, SeznamImen(deli).c_str());
}

matrika<real> NicelniDelez(const matrika<real>& B)
{
    using T = real;
    const std::size_t u = B.ncol(), m = B.nrow();
    // Normal matrix scaled to a unit diagonal, so that one tolerance serves
    // unknowns of any unit; a column without any coefficient is free as it is.
    matrika<T> Nmat(u, u, 0.0L);
    T* N = Nmat.data();
    std::vector<T> s(u, 1.0L);
    const T* b = B.data();
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < u; ++j)
            if (b[i * u + j] != 0.0L)
                for (std::size_t k = 0; k < u; ++k) N[j * u + k] += b[i * u + j] * b[i * u + k];
    for (std::size_t j = 0; j < u; ++j)
        if (N[j * u + j] > 0.0L) s[j] = 1.0L / std::sqrt(N[j * u + j]);
    for (std::size_t j = 0; j < u; ++j)
        for (std::size_t k = 0; k < u; ++k) N[j * u + k] *= s[j] * s[k];

    // Gauss-Jordan with the largest remaining diagonal as pivot: the pivot
    // rows end as the reduced echelon form, whose entries in a free column
    // are the negated null-space vector of that column.
    std::vector<char> pivotna(u, 0);
    for (const unsigned long p : gaussJordan(Nmat, nullptr, gjNacin{true, numerika::kRelativniPivot, 0})) pivotna[p] = 1;
    // The null vectors in the unknowns' own units, made orthonormal (twice,
    // for round-off), give the projector onto the null space.
    std::vector<std::vector<T>> baza;
    for (std::size_t c = 0; c < u; ++c) {
        if (pivotna[c]) continue;
        std::vector<T> z(u, 0.0L);
        z[c] = s[c];
        for (std::size_t p = 0; p < u; ++p)
            if (pivotna[p]) z[p] = -N[p * u + c] * s[p];
        for (int krog = 0; krog < 2; ++krog)
            for (const std::vector<T>& q : baza) {
                const T d = std::inner_product(z.begin(), z.end(), q.begin(), 0.0L);
                for (std::size_t k = 0; k < u; ++k) z[k] -= d * q[k];
            }
        const T dolzina = std::sqrt(std::inner_product(z.begin(), z.end(), z.begin(), 0.0L));
        if (!(dolzina > 0.0L)) continue;
        for (T& v : z) v /= dolzina;
        baza.push_back(std::move(z));
    }
    matrika<T> delez(u, 1, 0.0L);
    for (const std::vector<T>& q : baza)
        for (std::size_t k = 0; k < u; ++k) delez(static_cast<long>(k)) += q[k] * q[k];
    return delez;
}

std::vector<long> NeznankeNicelnegaProstora(const matrika<real>& delez, bool datumskiDefekt)
{
    real najvecji = 0.0L;
    for (unsigned long k = 0; k < delez.size(); ++k) najvecji = std::max(najvecji, delez(static_cast<long>(k)));
    const real meja = datumskiDefekt ? 0.5L * najvecji : 1e-6L * najvecji;
    std::vector<long> izid;
    for (unsigned long k = 0; k < delez.size(); ++k)
        if (delez(static_cast<long>(k)) > meja) izid.push_back(static_cast<long>(k));
    return izid;
}
