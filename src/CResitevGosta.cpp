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

CResitevGosta::CResitevGosta(const MetodaResitve& metoda_, real SVDthres_)
    : metoda(metoda_), razcep(metoda_.razcep(metoda_.ime, SVDthres_))
{
}

void CResitevGosta::Beli(const CGMM& GMM)
{
    prva = true;
    Bgost = GMM.Bmat.gosta();
    // Pll = L L'; with diagonal weights L is the column of their square roots.
    // Correlated angles: L block by block, as the whole factor would hold it.
    chr<real> ch;
    bdmatrika LB;
    if (GMM.Qlldiag)
        ch.razcep(GMM.Pll, 1);
    else
        LB = chrB(GMM.PllB.imaTrakove() ? GMM.PllB.gosta() : GMM.PllB);
    matrika<real> B(Bgost.nrow(), Bgost.ncol(), 0.0L);
    fp.resize(Bgost.nrow(), 1, 0.0L);
    if (GMM.Qlldiag) {
        VtBprod(ch.L, Bgost, B, true);
        VtBprod(ch.L, GMM.fvec, fp, true);
    } else {
        VtBprod(LB, Bgost, B);
        VtBprod(LB, GMM.fvec, fp);
    }
    Bp = B;
}

CResitev::Izid CResitevGosta::Resi(const DatumSistema& d, matrika<real>& x)
{
    nedolocene.clear();
    x.resize(0, 0);
    const matrika<real> Bd = Bp.gosta();
    const bool normalna = !razcep || razcep->normalna();
    // The pseudo-inverse of the SVD is bounded by its threshold; every other
    // method must meet a regular system.
    const bool preveriRegularnost = !metoda.psevdoinverz;
    matrika<real> N, n;
    if (normalna) {
        AtBprod(Bd, Bd, N);
        AtBprod(Bd, fp, n);
    }
    // Diagonal of the normal matrix, the column norms of Bd squared.
    const unsigned long u = Bd.ncol();
    std::vector<real> diagN(u, 0.0L);
    const real* b = Bd.data();
    for (unsigned long i = 0; i < Bd.nrow(); ++i)
        for (unsigned long k = 0; k < u; ++k) diagN[k] += b[i * u + k] * b[i * u + k];

    // A vanishing pivot (its column) leaves the cofactors empty.
    long pivot = -1;
    if (!razcep) {
        Qdd = inv(N, &pivot);
    } else {
        razcep->razcep(normalna ? N : Bd, normalna ? n : fp);
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
            const std::vector<long> jedro = NeznankeNicelnegaProstora(NicelniDelez(Bd), d.datum == Datum::H);
            if (!jedro.empty()) nedolocene = jedro;
        }
        if (!nedolocene.empty()) return Izid::nedolocena;
    } else if (prva) {
        // The SVD bridges any defect: beyond the free network's own it is
        // refused, and the rank gives the degrees of freedom.
        rang = razcep->rang();
        const long dovoljen = d.defekt;
        if (static_cast<long>(u) - rang > dovoljen) {
            nedolocene = NeznankeNicelnegaProstora(razcep->nicelniDelez(), dovoljen > 0);
            return Izid::nedolocena;
        }
    }
    prva = false;

    // The datum: a constraint matrix that does not cover every defect of the
    // free network leaves M singular.
    bool regularna = true;
    if (d.C != nullptr) regularna = CorrectQdd(*d.Hdat, *d.C);
    if (!regularna) return Izid::datumSingularna;
    if (!razcep) x = Qdd * n;
    if (!Koncna(x) || !Koncna(Qdd)) return Izid::nekoncna;
    return Izid::resena;
}

bool CResitevGosta::CorrectQdd(const matrika<real>& H, const matrika<real>& C)
{
    // M inverted by the method's own family; a singular M, or one whose
    // inverse is inflated as an undetermined unknown's would be, refuses.
    matrika<real> T;
    const bool regularna = DatumskiG(H, C, [this](const matrika<real>& M) {
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
        if (!Koncna(Mi)) return matrika<real>();
        for (unsigned long a = 0; a < M.nrow(); ++a)
            if (NedolocenaNeznanka(M(a, a), Mi(a, a))) return matrika<real>();
        return Mi;
    }, T);
    if (!regularna) return false;
    // Qdd -= Hdat' T, T = Mi Hdat
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

