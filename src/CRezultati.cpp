#include "src/CRezultati.h"

#include <algorithm>
#include <cmath>

#include "funkcije/Hi2Por.h"
#include "funkcije/funkcijeAux.h"
#include "matrika/elipsoidpog.h"
#include "matrika/elipspog.h"
#include "matrika/matrika.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsTocke.h"
#include "src/MetodaResitve.h"

namespace {
real Sigma(real SoIIzracun, real q) { return std::sqrt(SoIIzracun * std::fabs(q)); }

// One point's block of dim values of the list M (coordinates or velocities)
// whose unknowns start at ix, with its ellipses; k2 and k3 scale the
// standard ellipse and ellipsoid to the confidence level.
RezBlok Blok(const matrika<real>& M, long i, long ix, int dim, const ResitevPrehoda& res, real k2,
             real k3)
{
    const real s2 = res.SoIIzracun;
    RezBlok b;
    b.dim = dim;
    b.neznanka = ix;
    for (int d = 0; d < dim; ++d) {
        b.apr[d] = M(i, d);
        b.izr[d] = b.apr[d];
    }
    if (ix < 0) return b;
    for (int d = 0; d < dim; ++d) {
        b.pop[d] = res.xunk(ix + d);
        b.izr[d] = b.apr[d] + b.pop[d];
        b.sig[d] = Sigma(s2, res.kofaktorji(ix + d, ix + d));
        for (int e = 0; e < dim; ++e) b.Q[d][e] = res.kofaktorji(ix + d, ix + e);
    }
    if (dim == 2) {
        // The ellipse of the covariances.
        real qxx = s2 * b.Q[0][0], qyy = s2 * b.Q[1][1], qxy = s2 * b.Q[1][0];
        elipspog(qxx, qyy, qxy, b.a, b.b, b.theta);
    } else if (dim == 3) {
        // The ellipsoid and the horizontal ellipse of the cofactors, scaled
        // by sigma0.
        matrika<real> Q(3, 3, 0.0L), S(3, 1, 0.0L), A(3, 1, 0.0L);
        for (int d = 0; d < 3; ++d)
            for (int e = 0; e < 3; ++e) Q(d, e) = b.Q[d][e];
        real qxx = Q(0, 0), qyy = Q(1, 1), qxy = Q(1, 0);
        elipsoidpog(Q, S, A);
        real ah = 0.0L, bh = 0.0L;
        elipspog(qxx, qyy, qxy, ah, bh, b.theta);
        const real so = std::sqrt(s2);
        b.a = ah * so;
        b.b = bh * so;
        for (int d = 0; d < 3; ++d) {
            b.S[d] = std::sqrt(s2 * std::fabs(S(d)));
            b.A[d] = A(d);
            b.SZaup[d] = k3 * b.S[d];
        }
    }
    b.aZaup = k2 * b.a;
    b.bZaup = k2 * b.b;
    return b;
}
}  // namespace

void CRezultati::SetGlobalniTest(const CProcSet& procset, const CGMM& GMM, const ResitevPrehoda& res)
{
    RezGlobalniTest& g = globalniTest;
    g.SoApriori = GMM.So;
    g.SoAposteriori = res.SoI;
    g.verjetnost = procset.Getgtestp();
    g.statistika = res.gtest;
    g.spodnja = res.gtestA;
    g.zgornja = res.gtestB;
    g.prostostne = res.prostostne;
    g.sprejet = g.prostostne > 0 && g.statistika >= g.spodnja && g.statistika <= g.zgornja;
    g.rsum = res.rsum;
    g.rpovp = res.rpovp;
    g.iteracijRobustne = res.nIter;
    g.apriori = procset.GetIfVarApriori() != 0;
}

void CRezultati::SetPrehod(const CProcSet& procset, const CGMM& GMM, const ResitevPrehoda& res)
{
    kofaktorji = res.kofaktorji;
    const unsigned short Dim = procset.GetDim();
    const unsigned short XVel = procset.GetXVel();
    dim = Dim;
    kotnaEnota = procset.GetAngUnit();
    metoda = procset.GetNumSolve();
    const MetodaResitve* m = procset.Metoda();
    izvedenaResitev = m ? IzvedenaResitev(*m) : "";
    robustna = procset.RobSolve;
    SoIIzracun = res.SoIIzracun;
    zaupanjeElips = procset.Gethipelp();
    // The semi-axes of a standard ellipse (ellipsoid) hold the point with
    // probability P when multiplied by the root of the chi-square quantile
    // with 2 (3) degrees of freedom.
    const bool zaup = zaupanjeElips > 0.0L && zaupanjeElips < 1.0L;
    const real k2 = zaup ? std::sqrt(Hi2PorInvF(zaupanjeElips, 2.0L)) : 0.0L;
    const real k3 = zaup ? std::sqrt(Hi2PorInvF(zaupanjeElips, 3.0L)) : 0.0L;

    const CTerObsTocke& lista = GMM.Tocke();
    const int d = Dim == 1 ? 1 : (Dim == 2 ? 2 : 3);
    tocke.assign(lista.PTS.nrow(), RezTocka{});
    for (long i = 0; i < static_cast<long>(lista.PTS.nrow()); ++i) {
        RezTocka& t = tocke[static_cast<std::size_t>(i)];
        t.ime = lista.PTS(i, 0);
        const long ix = GMM.iDeltaB(i);
        t.dana = ix < 0;
        t.koordinate = Blok(lista.OBS, i, ix, d, res, k2, k3);
        if (XVel) t.hitrosti = Blok(lista.VELA, i, GMM.iDeltaBV(i), d, res, k2, k3);
    }

    // As printed: one coefficient for the network, or one per station.
    refrakcija.clear();
    if (procset.IfEstkRef) {
        const bool ena = procset.kRefType.find("SINGLE") != std::string::npos;
        const bool postaje = !ena && procset.kRefType.find("STAT") != std::string::npos;
        const long nk = ena ? (GMM.nunkkref > 0 ? 1 : 0) : (postaje ? GMM.nunkkref : 0);
        for (long t = 0; t < nk; ++t) {
            const long k = GMM.iDeltaBk(t);
            refrakcija.push_back({postaje ? GMM.PTSk(t) : std::string(), GMM.kRefEst(t) + res.xunk(k),
                                  Sigma(res.SoIIzracun, res.kofaktorji(k, k))});
        }
    }

    SetGlobalniTest(procset, GMM, res);
    robustneUtezi = res.robustneUtezi;

    const long u = static_cast<long>(GMM.Bmat.ncol());
    diagQ.assign(static_cast<std::size_t>(u), 0.0L);
    korenQ.assign(static_cast<std::size_t>(u), 0.0L);
    nicelna.assign(static_cast<std::size_t>(u), 0);
    for (long k = 0; k < u; ++k) {
        diagQ[static_cast<std::size_t>(k)] = res.kofaktorji(k, k);
        korenQ[static_cast<std::size_t>(k)] = std::sqrt(std::fabs(diagQ[static_cast<std::size_t>(k)]));
        nicelna[static_cast<std::size_t>(k)] = dabs(diagQ[static_cast<std::size_t>(k)]) <= numerika::kIzpisNic;
    }
    obratniKoren.assign(static_cast<std::size_t>(u), 0.0);
    for (long k = 0; k < u; ++k) {
        const real kq = korenQ[static_cast<std::size_t>(k)];
        if (nicelna[static_cast<std::size_t>(k)]) continue;
        if (!(kq > 1e-150L && kq < 1e150L)) {
            obratniKoren.clear();
            break;
        }
        obratniKoren[static_cast<std::size_t>(k)] = 1.0 / static_cast<double>(kq);
    }
}

real CRezultati::Korelacija(long i, long j) const
{
    // The cofactor is asked for as (j, i): off the factor's pattern it is
    // solved by columns, and the column i then serves a whole row of the
    // table.
    return i == j ? Korelacija(i, j, 0.0L) : Korelacija(i, j, kofaktorji(j, i));
}

void CRezultati::KorelacijeVrstice(long i, std::vector<real>& r) const
{
    r.resize(diagQ.size());
    kofaktorji.Stolpec(i, r);
    const std::size_t ii = static_cast<std::size_t>(i);
    if (dabs(diagQ[ii]) <= numerika::kIzpisNic) {
        std::fill(r.begin(), r.end(), 0.0L);
        return;
    }
    // As Korelacija(i, j), the variances' tests made once.
    for (std::size_t j = 0; j < r.size(); ++j)
        r[j] = j == ii ? 1.0L : (nicelna[j] ? 0.0L : r[j] / (korenQ[j] * korenQ[ii]));
}

bool CRezultati::KorelacijeVrsticeDvojno(long i, std::vector<double>& r) const
{
    r.resize(diagQ.size());
    if (obratniKoren.size() != diagQ.size() || !kofaktorji.StolpecDvojno(i, r)) return false;
    const std::size_t ii = static_cast<std::size_t>(i);
    if (dabs(diagQ[ii]) <= numerika::kIzpisNic) {
        std::fill(r.begin(), r.end(), 0.0);
        return true;
    }
    // One rounding to double on the cofactor, two on each reciprocal root,
    // two on the products: some seven units of 2^-53 in all, beside the two
    // of 2^-64 of the long double division.
    const double ai = obratniKoren[ii];
    for (std::size_t j = 0; j < r.size(); ++j)
        r[j] = j == ii ? 1.0 : (nicelna[j] ? 0.0 : r[j] * ai * obratniKoren[j]);
    return true;
}

real CRezultati::Korelacija(long i, long j, real Qij) const
{
    // Magnitudes compared with the tolerance in double precision; the square
    // roots of the magnitudes keep a round-off negative variance from
    // printing as "nan".
    const double qii = dabs(diagQ[static_cast<std::size_t>(i)]);
    if (i == j) return qii > numerika::kIzpisNic ? 1.0L : 0.0L;
    const double qjj = dabs(diagQ[static_cast<std::size_t>(j)]);
    if (qii <= numerika::kIzpisNic || qjj <= numerika::kIzpisNic) return 0.0L;
    return Qij / (korenQ[static_cast<std::size_t>(j)] * korenQ[static_cast<std::size_t>(i)]);
}

void CRezultati::SetZacetne(const CTerObsTocke& tocke)
{
    zacetne.assign(tocke.NObs(), {0.0L, 0.0L, 0.0L});
    const long dim = std::min<long>(tocke.GetDim(), 3);
    for (unsigned long i = 0; i < tocke.NObs(); ++i)
        for (long d = 0; d < dim; ++d) zacetne[i][static_cast<std::size_t>(d)] = tocke.GetOBS(static_cast<long>(i), d);
}
