#include "src/FDolgeVerige.h"

#include <algorithm>
#include <map>

#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"

namespace {
// Whether column j is one of point t's horizontal unknowns.
bool Tockin(const GMMEqTocka& t, unsigned long j)
{
    const auto v = [j](long z) { return z >= 0 && j >= static_cast<unsigned long>(z) && j < static_cast<unsigned long>(z) + 2; };
    return v(t.iB) || v(t.iBV);
}
}  // namespace

SmeriVerige SmeriDolgeVerige(const CGMM& GMM, unsigned long b)
{
    const bdmatrika& P = GMM.PllB;
    SmeriVerige s;
    s.zacetek = P.zacetek(b);
    s.kotov = P.velikost(b);
    const unsigned long m = s.kotov + 1;
    const matrika<real>& Q = P.blok(b);
    // The directions' cofactors from the band: Q(a, a) = D_a + D_(a+1),
    // Q(a, a + 1) = -D_(a+1).
    std::vector<real> D(m);
    for (unsigned long k = 1; k < s.kotov; ++k) D[k] = -Q(static_cast<long>(k - 1), 2);
    D[0] = Q(0, 1) - D[1];
    D[s.kotov] = Q(static_cast<long>(s.kotov - 1), 1) - D[s.kotov - 1];
    s.w.resize(m);
    for (unsigned long k = 0; k < m; ++k) s.w[k] = 1.0L / D[k];

    const CTerObsZbirka& TO = GMM.TO;
    const unsigned short XVel = GMM.procset.GetXVel();
    const auto tocka = [&](unsigned long r, int p) {
        const long kot = GMM.vrstice[r].zapis;
        return GMMEqSetIndex(GMM, TO.TOCrdA, TO.TOAngl.GetPTS(kot, p), XVel);
    };
    const GMMEqTocka S = tocka(s.zacetek, 0);
    std::map<unsigned long, real> postaja;   // station's columns, summed up to the direction
    s.vrstice.resize(m);
    s.f.assign(m, 0.0L);
    GMMEqTocka prej = tocka(s.zacetek, 1);
    std::vector<redkaMatrika::Element> ciljPrej;
    for (const auto& e : GMM.Bmat.vrstica(s.zacetek))
        if (Tockin(prej, e.stolpec) && !Tockin(S, e.stolpec)) ciljPrej.push_back({e.stolpec, -e.vrednost});
    s.vrstice[0] = ciljPrej;
    for (unsigned long k = 1; k < m; ++k) {
        const unsigned long r = s.zacetek + k - 1;
        const GMMEqTocka T = tocka(r, 2);
        std::vector<redkaMatrika::Element> cilj;
        for (const auto& e : GMM.Bmat.vrstica(r)) {
            if (Tockin(S, e.stolpec)) postaja[e.stolpec] += e.vrednost;
            else if (Tockin(T, e.stolpec) && T.ind != prej.ind) cilj.push_back({e.stolpec, e.vrednost});
        }
        // The same target twice in a row: the angle is 0 on it, and the
        // direction's row is that of the one before.
        if (T.ind == prej.ind) cilj = ciljPrej;
        auto& v = s.vrstice[k];
        v = cilj;
        for (const auto& [j, x] : postaja) v.push_back({j, x});
        std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.stolpec < b.stolpec; });
        s.f[k] = s.f[k - 1] + GMM.fvec(static_cast<long>(r));
        prej = T;
        ciljPrej = cilj;
    }
    std::map<unsigned long, real> g;
    for (unsigned long k = 0; k < m; ++k) {
        s.c += s.w[k];
        for (const auto& e : s.vrstice[k]) g[e.stolpec] += s.w[k] * e.vrednost;
    }
    for (const auto& [j, x] : g) s.g.push_back({j, x});
    return s;
}
