#include "src/CResitevGosta.h"

#include <algorithm>
#include <vector>

#include "matrika/bdmatrika.h"
#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/lur.h"
#include "src/CGMM.h"
#include "src/FDolocenost.h"
#include "src/FGMMSolMat.h"
#include "src/FWeighRobust.h"

namespace {
// Rank of the rows of B whose robust factor (column 0 of W) is not 0, by
// elimination with diagonal pivoting of their normal matrix.  Positive
// factors do not change the rank, so the unweighted rows serve.
long RangOhranjenih(const matrika<real>& B, const matrika<real>& W)
{
    const unsigned long u = B.ncol();
    matrika<real> N(u, u, 0.0L);
    const real* b = B.data();
    real* n = N.data();
    for (unsigned long i = 0; i < B.nrow(); ++i) {
        if (W(static_cast<long>(i), 0) == 0.0L) continue;
        for (unsigned long j = 0; j < u; ++j)
            if (b[i * u + j] != 0.0L)
                for (unsigned long k = 0; k < u; ++k) n[j * u + k] += b[i * u + j] * b[i * u + k];
    }
    real najvecji = 0.0L;
    for (unsigned long j = 0; j < u; ++j) najvecji = std::max(najvecji, n[j * u + j]);
    // Pivots of round-off size, relative to the largest diagonal element.
    return static_cast<long>(gaussJordan(N, nullptr, gjNacin{true, najvecji * numerika::kRelativniRang, 0}).size());
}
}  // namespace

CResitevGosta::CResitevGosta(const MetodaResitve& metoda_, real SVDthres_)
    : metoda(metoda_), razcep(metoda_.razcep(metoda_.ime, SVDthres_))
{
}

void CResitevGosta::Beli(const CGMM& GMM)
{
    prva = true;
    Bp0.resize(0, 0);
    fp0.resize(0, 0);
    rang0 = -1;
    Bgost = GMM.Bmat.gosta();
    // Pll = L L'; with diagonal weights L is the column of their square roots.
    // Correlated angles: L block by block, as the whole factor would hold it.
    chr<real> ch;
    bdmatrika LB;
    if (GMM.Qlldiag)
        ch.razcep(GMM.Pll, 1);
    else
        LB = chrB(GMM.PllB.imaTrakove() ? GMM.PllB.gosta() : GMM.PllB);
    Bp.resize(Bgost.nrow(), Bgost.ncol(), 0.0L);
    fp.resize(Bgost.nrow(), 1, 0.0L);
    if (GMM.Qlldiag) {
        VtBprod(ch.L, Bgost, Bp, true);
        VtBprod(ch.L, GMM.fvec, fp, true);
    } else {
        VtBprod(LB, Bgost, Bp);
        VtBprod(LB, GMM.fvec, fp);
    }
}

CResitev::Izid CResitevGosta::Resi(const CGMM& GMM, Datum datum, matrika<real>& x)
{
    nedolocene.clear();
    x.resize(0, 0);
    const bool normalna = !razcep || razcep->normalna();
    // The pseudo-inverse of the SVD is bounded by its threshold; every other
    // method must meet a regular system.
    const bool preveriRegularnost = !metoda.psevdoinverz;
    matrika<real> N, n;
    if (normalna) {
        AtBprod(Bp, Bp, N);
        AtBprod(Bp, fp, n);
    }
    // Diagonal of the normal matrix, the column norms of Bp squared.
    const unsigned long u = Bp.ncol();
    std::vector<real> diagN(u, 0.0L);
    const real* b = Bp.data();
    for (unsigned long i = 0; i < Bp.nrow(); ++i)
        for (unsigned long k = 0; k < u; ++k) diagN[k] += b[i * u + k] * b[i * u + k];

    // A vanishing pivot (its column) leaves the cofactors empty.
    long pivot = -1;
    if (!razcep) {
        Qdd = inv(N, &pivot);
    } else {
        razcep->razcep(normalna ? N : Bp, normalna ? n : fp);
        x = razcep->resi();
        Qdd = razcep->inv();
        pivot = razcep->nicelniPivot();
    }
    if (preveriRegularnost) {
        if (pivot >= 0) nedolocene.push_back(pivot);
        else if (Koncna(Qdd))
            for (unsigned long k = 0; k < u; ++k)
                if (NedolocenaNeznanka(diagN[k], Qdd(k, k))) nedolocene.push_back(static_cast<long>(k));
        if (!nedolocene.empty() || !Koncna(Qdd)) {
            const std::vector<long> jedro = NeznankeNicelnegaProstora(NicelniDelez(Bp), datum == Datum::H);
            if (!jedro.empty()) nedolocene = jedro;
        }
        if (!nedolocene.empty()) return Izid::nedolocena;
    } else if (prva) {
        // The SVD bridges any defect: beyond the free network's own it is
        // refused, and the rank gives the degrees of freedom.
        rang = razcep->rang();
        const long dovoljen = datum == Datum::H ? GMM.nHdat : 0;
        if (static_cast<long>(u) - rang > dovoljen) {
            nedolocene = NeznankeNicelnegaProstora(razcep->nicelniDelez(), dovoljen > 0);
            return Izid::nedolocena;
        }
    }
    prva = false;

    // The datum: a constraint matrix that does not cover every defect of the
    // free network leaves M singular.
    bool regularna = true;
    if (datum == Datum::H && GMM.Hred.nrow() > 0) regularna = CorrectQdd(GMM.Hdat, GMM.Hred);
    if (datum == Datum::D && GMM.Hdat.nrow() > 0) regularna = CorrectQdd(GMM.Hdat, GMM.Ddat);
    if (!regularna) return Izid::datumSingularna;
    if (!razcep) x = Qdd * n;
    if (!Koncna(x) || !Koncna(Qdd)) return Izid::nekoncna;
    return Izid::resena;
}

bool CResitevGosta::CorrectQdd(const matrika<real>& H, const matrika<real>& C)
{
    // M = Hdat C'C Hdat' = K K' with K = Hdat C' (nHdat x rows of C), inverted
    // by the method's own family.
    matrika<real> K, M;
    ABtprod(H, C, K);
    ABtprod(K, K, M);
    matrika<real> Mi;
    if (metoda.inverzM == 'G') {
        Mi = inv(M);
    } else if (metoda.inverzM == 'L') {
        lur<real> lu;
        lu.razcep(M);
        Mi = lu.inv();
    } else {
        chr<real> ch;
        ch.razcep(M, 0);
        Mi = ch.inv();
    }
    if (!Koncna(Mi)) return false;
    for (unsigned long a = 0; a < M.nrow(); ++a)
        if (NedolocenaNeznanka(M(a, a), Mi(a, a))) return false;
    // Qdd -= Hdat' Mi Hdat
    const matrika<real> T = Mi * H;
    const unsigned long u = Qdd.ncol(), h = H.nrow();
    real* q = Qdd.data();
    const real* hd = H.data();
    const real* t = T.data();
    for (unsigned long i = 0; i < u; ++i)
        for (unsigned long j = 0; j < u; ++j) {
            real s = 0.0L;
            for (unsigned long a = 0; a < h; ++a) s += hd[a * u + i] * t[a * u + j];
            q[i * u + j] -= s;
        }
    return true;
}

real CResitevGosta::Par(const redkaMatrika& B, unsigned long r, unsigned long s) const
{
    return ParIzKofaktorjev(B, r, s, [this](long i, long j) { return Qdd(i, j); });
}

void CResitevGosta::RDiag(const CGMM& GMM, matrika<real>& R) const
{
    // Long chains held by their bands are inverted here: the dense solution
    // holds matrices of that size anyway.
    bdmatrika gosta;
    if (GMM.PllB.imaTrakove()) gosta = GMM.PllB.gosta();
    const bdmatrika& P = GMM.PllB.imaTrakove() ? gosta : GMM.PllB;
    if (GMM.kovBloki.empty()) {
        QvvPDiag(GMM.Qll, Bgost, Qdd, P, R);
        return;
    }
    QvvPDiag(GMM.Qll, Bgost, Qdd, P, R,
             [&GMM](unsigned long i, unsigned long k) { return GMM.Kofaktor(i, k); });
}

void CResitevGosta::PrevesiBloke(const CGMM& GMM, const matrika<real>& W)
{
    // Row a of a block becomes sum_c Wb(a, c) B_c of the unweighted rows.
    const unsigned long u = Bgost.ncol();
    for (const KovBlokModela& b : GMM.kovBloki) {
        const unsigned long m = b.vrstice.size();
        std::vector<real> f(m);
        for (unsigned long a = 0; a < m; ++a) f[a] = W(static_cast<long>(b.vrstice[a]), 0);
        const matrika<real> Wb = KovBeljenje(b, f);
        for (unsigned long a = 0; a < m; ++a) {
            const long ra = static_cast<long>(b.vrstice[a]);
            real fa = 0.0L;
            for (unsigned long j = 0; j < u; ++j) Bp(ra, static_cast<long>(j)) = 0.0L;
            for (unsigned long c = a; c < m; ++c) {
                const real w = Wb(static_cast<long>(a), static_cast<long>(c));
                if (w == 0.0L) continue;
                const long rc = static_cast<long>(b.vrstice[c]);
                for (unsigned long j = 0; j < u; ++j) Bp(ra, static_cast<long>(j)) += w * Bgost(rc, static_cast<long>(j));
                fa += w * GMM.fvec(rc);
            }
            fp(ra) = fa;
        }
    }
}

bool CResitevGosta::Prevesi(const matrika<real>& vObs, matrika<real>& W, real So,
                            const std::string& RobSolve, real p, std::uint16_t nIter)
{
    if (Bp0.empty()) {
        Bp0 = Bp;
        fp0 = fp;
    }
    WeighRobust(Bp, fp, vObs, W, So, RobSolve, p, nIter, Bp0, fp0);
    // Rejections may take away what determined the network; the methods
    // would meet a singular system (or, with the SVD, quietly bridge it), so
    // the rank of the kept rows is checked whenever the set changes.
    bool novaZavrnitev = false;
    for (unsigned long i = 0; i < vObs.nrow(); ++i)
        novaZavrnitev |= W(static_cast<long>(i), 0) == 0.0L && W(static_cast<long>(i), 1) != 0.0L;
    if (!novaZavrnitev) return true;
    if (rang0 < 0) rang0 = RangOhranjenih(Bp0, matrika<real>(Bp0.nrow(), 1, 1.0L));
    return RangOhranjenih(Bp0, W) >= rang0;
}
