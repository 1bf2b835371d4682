#include "src/FPribliznaMreza.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "src/CTerObsZbirka.h"

namespace {
using Par = std::pair<long, long>;

void NiziSmeri(PribliznaMreza& m, const CTerObsDir& s, const CTerObsTocke& tocke)
{
    for (long i = 0; i < static_cast<long>(s.NObs()); ++i) {
        if (i == 0 || !s.IstaPostavitev(i - 1, i)) m.nizi.push_back({tocke.FindPoint(s.PTS(i, 0)), {}});
        m.nizi.back().smeri.push_back({tocke.FindPoint(s.PTS(i, 1)), s.OBS(i, 0), s.Vrstica(i)});
    }
}

// A zenith distance with a distance of its two points (its own direction
// first, else the reverse one): the height difference of the marks and,
// from a slope distance, the horizontal one.
void Zenitne(PribliznaMreza& m, const CTerObsZbirka& TO, const CTerObsTocke& tocke)
{
    std::map<Par, long> posevne, vodoravne;
    const CTerObsDist &L = TO.TODist3, &D = TO.TODist2;
    for (long i = 0; i < static_cast<long>(L.NObs()); ++i)
        posevne.emplace(Par{tocke.FindPoint(L.PTS(i, 0)), tocke.FindPoint(L.PTS(i, 1))}, i);
    for (long i = 0; i < static_cast<long>(D.NObs()); ++i)
        vodoravne.emplace(Par{tocke.FindPoint(D.PTS(i, 0)), tocke.FindPoint(D.PTS(i, 1))}, i);
    const auto najdi = [](const std::map<Par, long>& v, long a, long b) {
        auto it = v.find({a, b});
        if (it == v.end()) it = v.find({b, a});
        return it == v.end() ? -1L : it->second;
    };
    std::vector<char> reducirana(L.NObs(), 0);
    const CTerObsDir& Z = TO.TOZen;
    for (long i = 0; i < static_cast<long>(Z.NObs()); ++i) {
        const long a = tocke.FindPoint(Z.PTS(i, 0)), b = tocke.FindPoint(Z.PTS(i, 1));
        const real z = Z.OBS(i, 0), visini = Z.VisinaInstrumenta(i) - Z.VisinaTarce(i);
        if (const long l = najdi(posevne, a, b); l >= 0) {
            m.visine.push_back({a, b, visini + L.OBS(l, 0) * std::cos(z), true, {Z.Vrstica(i), L.Vrstica(l)}});
            if (!reducirana[static_cast<std::size_t>(l)]) {
                reducirana[static_cast<std::size_t>(l)] = 1;
                m.razdalje.push_back({a, b, L.OBS(l, 0) * std::sin(z), false, 0.0L, {L.Vrstica(l), Z.Vrstica(i)}});
            }
        } else if (const long d = najdi(vodoravne, a, b); d >= 0 && std::fabs(std::sin(z)) > 1e-6L) {
            m.visine.push_back({a, b, visini + D.OBS(d, 0) * std::cos(z) / std::sin(z), true,
                                {Z.Vrstica(i), D.Vrstica(d)}});
        }
    }
    for (long i = 0; i < static_cast<long>(L.NObs()); ++i)
        if (!reducirana[static_cast<std::size_t>(i)])
            m.razdalje.push_back({tocke.FindPoint(L.PTS(i, 0)), tocke.FindPoint(L.PTS(i, 1)), L.OBS(i, 0),
                                  m.dim == 3, L.VisinaTarce(i) - L.VisinaInstrumenta(i), {L.Vrstica(i)}});
}

void Zberi(PribliznaMreza& m, const CTerObsZbirka& TO, const CTerObsTocke& tocke)
{
    if (m.dim != 1) {
        NiziSmeri(m, TO.TODir, tocke);
        const CTerObsDist& D = TO.TODist2;
        for (long i = 0; i < static_cast<long>(D.NObs()); ++i)
            m.razdalje.push_back({tocke.FindPoint(D.PTS(i, 0)), tocke.FindPoint(D.PTS(i, 1)), D.OBS(i, 0), false,
                                  0.0L, {D.Vrstica(i)}});
        Zenitne(m, TO, tocke);
        const CTerObsDir& A = TO.TOAzi;
        for (long i = 0; i < static_cast<long>(A.NObs()); ++i)
            m.azimuti.push_back({tocke.FindPoint(A.PTS(i, 0)), tocke.FindPoint(A.PTS(i, 1)), A.OBS(i, 0), A.Vrstica(i)});
        const CTerObsPara& P = TO.TOPara;
        for (long i = 0; i < static_cast<long>(P.NObs()); ++i) {
            PrKot k{{}, P.OBS(i, 0), P.Vrstica(i)};
            for (int c = 0; c < 4; ++c) k.p[static_cast<std::size_t>(c)] = tocke.FindPoint(P.PTS(i, c));
            m.koti.push_back(k);
        }
        const CTerObsVec& V = TO.TOVec;
        for (long i = 0; i < static_cast<long>(V.NObs()); ++i) {
            PrVektor v{tocke.FindPoint(V.PTS(i, 0)), tocke.FindPoint(V.PTS(i, 1)), {}, V.Vrstica(i)};
            for (long k = 0; k < m.dim; ++k) v.d[static_cast<std::size_t>(k)] = V.OBS(i, k);
            m.vektorji.push_back(v);
        }
        const CTerObsCrd& C = TO.TOCrd;
        for (long i = 0; i < static_cast<long>(C.NObs()); ++i) {
            PrOpazovana o{tocke.FindPoint(C.PTS(i, 0)), {}, false, C.Vrstica(i)};
            for (long k = 0; k < m.dim; ++k) o.x[static_cast<std::size_t>(k)] = C.OBS(i, k);
            m.opazovane.push_back(o);
        }
    }
    const CTerObsHdif& h = TO.TOHdif;
    for (long i = 0; i < static_cast<long>(h.NObs()); ++i)
        m.visine.push_back({tocke.FindPoint(h.PTS(i, 0)), tocke.FindPoint(h.PTS(i, 1)), h.OBS(i, 0), false,
                            {h.Vrstica(i)}});
    const CTerObsH& H = TO.TOH;
    for (long i = 0; i < static_cast<long>(H.NObs()); ++i)
        m.opazovane.push_back({tocke.FindPoint(H.PTS(i, 0)), {0.0L, 0.0L, H.OBS(i, 0)}, true, H.Vrstica(i)});
}

void Kazala(PribliznaMreza& m)
{
    const auto n = static_cast<std::size_t>(m.n);
    m.cilji.assign(n, {});
    for (auto* v : {&m.stojisca, &m.razdaljeTocke, &m.azimutiTocke, &m.kotiTocke, &m.visineTocke, &m.vektorjiTocke,
                    &m.opazovaneTocke})
        v->assign(n, {});
    const auto u = [](long p) { return static_cast<std::size_t>(p); };
    for (long s = 0; s < static_cast<long>(m.nizi.size()); ++s) {
        m.stojisca[u(m.nizi[u(s)].stojisce)].push_back(s);
        for (long k = 0; k < static_cast<long>(m.nizi[u(s)].smeri.size()); ++k)
            m.cilji[u(m.nizi[u(s)].smeri[u(k)].cilj)].push_back({s, k});
    }
    for (long i = 0; i < static_cast<long>(m.razdalje.size()); ++i)
        for (long p : {m.razdalje[u(i)].a, m.razdalje[u(i)].b}) m.razdaljeTocke[u(p)].push_back(i);
    for (long i = 0; i < static_cast<long>(m.azimuti.size()); ++i)
        for (long p : {m.azimuti[u(i)].a, m.azimuti[u(i)].b}) m.azimutiTocke[u(p)].push_back(i);
    for (long i = 0; i < static_cast<long>(m.koti.size()); ++i)
        for (long p : m.koti[u(i)].p) m.kotiTocke[u(p)].push_back(i);
    for (long i = 0; i < static_cast<long>(m.visine.size()); ++i)
        for (long p : {m.visine[u(i)].a, m.visine[u(i)].b}) m.visineTocke[u(p)].push_back(i);
    for (long i = 0; i < static_cast<long>(m.vektorji.size()); ++i)
        for (long p : {m.vektorji[u(i)].a, m.vektorji[u(i)].b}) m.vektorjiTocke[u(p)].push_back(i);
    for (long i = 0; i < static_cast<long>(m.opazovane.size()); ++i) m.opazovaneTocke[u(m.opazovane[u(i)].p)].push_back(i);
}
}  // namespace

PribliznaMreza PribliznaMrezaIz(const CTerObsZbirka& TO, unsigned short dim)
{
    PribliznaMreza m;
    m.dim = dim;
    const CTerObsTocke& tocke = TO.Tocke(dim);
    m.n = static_cast<long>(tocke.NObs());
    Zberi(m, TO, tocke);
    Kazala(m);
    return m;
}

void PribliznaSosescina(const PribliznaMreza& m, long p, std::vector<long>& sosedi)
{
    const auto u = [](long q) { return static_cast<std::size_t>(q); };
    const auto niz = [&](long s) {
        sosedi.push_back(m.nizi[u(s)].stojisce);
        for (const PrSmer& r : m.nizi[u(s)].smeri) sosedi.push_back(r.cilj);
    };
    for (const auto& c : m.cilji[u(p)]) niz(c[0]);
    for (long s : m.stojisca[u(p)]) niz(s);
    for (long i : m.razdaljeTocke[u(p)]) sosedi.insert(sosedi.end(), {m.razdalje[u(i)].a, m.razdalje[u(i)].b});
    for (long i : m.azimutiTocke[u(p)]) sosedi.insert(sosedi.end(), {m.azimuti[u(i)].a, m.azimuti[u(i)].b});
    for (long i : m.kotiTocke[u(p)]) sosedi.insert(sosedi.end(), m.koti[u(i)].p.begin(), m.koti[u(i)].p.end());
    for (long i : m.visineTocke[u(p)]) sosedi.insert(sosedi.end(), {m.visine[u(i)].a, m.visine[u(i)].b});
    for (long i : m.vektorjiTocke[u(p)]) sosedi.insert(sosedi.end(), {m.vektorji[u(i)].a, m.vektorji[u(i)].b});
}
