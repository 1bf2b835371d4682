#include "src/CGMMSol.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "funkcije/Hi2Por.h"
#include "matrika/chr.h"
#include "matrika/inv.h"
#include "matrika/lur.h"
#include "matrika/normm.h"
#include "matrika/razcepmetoda.h"
#include "matrika/bdmatrika.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsHA.h"
#include "src/FDolocenost.h"
#include "src/FGMMSol.h"
#include "src/FGMMSolMat.h"
#include "src/FWeighRobust.h"
#include "src/NivexAux.h"

namespace {
// The eight solution methods.  What differs between them is only the
// decomposition (razcepZaMetodo; none for "NS", which inverts the normal
// matrix by Gauss-Jordan), the inverse of the small datum matrix M of the
// same family, and the method's word in the trace and the messages.
struct MetodaResitve {
    const char* ime;     // NumSolve
    const char* oznaka;  // trace word, "Ressist:" of the messages
    char inverzM;        // inverse of M: 'G' Gauss-Jordan, 'L' LU, 'C' Cholesky
};

constexpr MetodaResitve kMetode[] = {
    {"NS", "NS", 'G'},       {"LU", "LU", 'L'},       {"CH", "CH", 'C'},       {"QR", "QR*", 'C'},
    {"QRHOUS", "QR*", 'C'},  {"QRMGS", "QR*", 'C'},   {"QRGIV", "QR*", 'C'},   {"SVD", "SVD", 'C'},
};

const MetodaResitve* NajdiMetodo(const std::string& ime)
{
    for (const auto& m : kMetode)
        if (ime == m.ime) return &m;
    return nullptr;
}

// An unknown whose variance is inflated more than this by its dependence on
// the others (N(k,k) * Q(k,k), the variance inflation factor) is not
// determined by the observations and the datum: in extended precision a
// singular system leaves pivots of round-off size, whose inflation is 1e16
// or more, while a determined network stays many orders below.
constexpr long double kMejaVIF = 1e14L;

// The unknowns so inflated, none for a regular system.
std::vector<long> Singularna(const matrika<long double>& diagN, const matrika<long double>& Q)
{
    std::vector<long> nedolocene;
    for (unsigned long k = 0; k < diagN.nrow(); ++k) {
        const long double nkk = diagN(static_cast<long>(k));
        const long double vif = nkk * Q(static_cast<long>(k), static_cast<long>(k));
        if (nkk == 0.0L || std::fabs(vif) > kMejaVIF) nedolocene.push_back(static_cast<long>(k));
    }
    return nedolocene;
}

bool Koncna(const matrika<long double>& A)
{
    const long double* a = A.data();
    for (unsigned long k = 0; k < A.size(); ++k)
        if (!std::isfinite(a[k])) return false;
    return true;
}

std::string SporociloRobustno(const std::string& RobSolve)
{
    return " **** Robustna ocena (*ROBSOLV " + RobSolve +
           "): zavrnjena opazovanja pustijo mrezo nedoloceno      *** ";
}

// Rank of the rows of B whose robust factor (column 0 of W) is not 0, by
// elimination with diagonal pivoting of their normal matrix.  Positive
// factors do not change the rank, so the unweighted rows serve.
long RangOhranjenih(const matrika<long double>& B, const matrika<long double>& W)
{
    const unsigned long u = B.ncol();
    matrika<long double> N(u, u, 0.0L);
    const long double* b = B.data();
    long double* n = N.data();
    for (unsigned long i = 0; i < B.nrow(); ++i) {
        if (W(static_cast<long>(i), 0) == 0.0L) continue;
        for (unsigned long j = 0; j < u; ++j)
            if (b[i * u + j] != 0.0L)
                for (unsigned long k = 0; k < u; ++k) n[j * u + k] += b[i * u + j] * b[i * u + k];
    }
    long double najvecji = 0.0L;
    for (unsigned long j = 0; j < u; ++j) najvecji = std::max(najvecji, n[j * u + j]);
    // Pivots of round-off size, relative to the largest diagonal element.
    const long double meja = najvecji * 1e-13L;
    std::vector<char> porabljen(u, 0);
    long rang = 0;
    for (unsigned long korak = 0; korak < u; ++korak) {
        unsigned long p = u;
        for (unsigned long j = 0; j < u; ++j)
            if (!porabljen[j] && (p == u || n[j * u + j] > n[p * u + p])) p = j;
        if (p == u || !(n[p * u + p] > meja)) break;
        porabljen[p] = 1;
        ++rang;
        const long double piv = n[p * u + p];
        for (unsigned long j = 0; j < u; ++j) {
            if (porabljen[j] || n[j * u + p] == 0.0L) continue;
            const long double f = n[j * u + p] / piv;
            for (unsigned long k = 0; k < u; ++k) n[j * u + k] -= f * n[p * u + k];
        }
    }
    return rang;
}

std::string SporociloGMM(const char* napaka, const char* datum, const char* metoda)
{
    return std::string(" **** ") + napaka + ":    RESITEV GMM (Datum: " + datum + "   Ressist: " + metoda +
           ")      *** ";
}
}  // namespace

CGMMSol::CGMMSol(CProcSet& procset_, CGDatum& gdatum_, CTerObsHA& TOHA_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), gdatum(gdatum_), TOHA(TOHA_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

bool CGMMSol::Gosto() const { return gosto || procset.GetNumSolve() == "SVD"; }

void CGMMSol::SetPar()
{
    const bool sled = procset.GetContPrint() != 0;
    if (sled) std::cout << "C: CGMMSol:" << "\n" << " F: SetPar(): " << " CHOL";
    xunk.resize(GMM.Bmat.ncol(), 1, 0.0L);
    nIter = 0;
    if (!Gosto()) {
        Bgost.resize(0, 0);
        Bp.resize(0, 0);
        fp.resize(0, 0);
        Qdd.resize(0, 0);
        if (sled) std::cout << ". Bf. Bp. fp";
        redka.Beli(GMM);
        if (sled) std::cout << "." << "\n";
        return;
    }
    Bgost = GMM.Bmat.gosta();
    // Pll = L L'; with diagonal weights L is the column of their square roots.
    // Correlated angles: L block by block, as the whole factor would hold it.
    chr<long double> ch;
    bdmatrika LB;
    if (GMM.Qlldiag)
        ch.razcep(GMM.Pll, 1);
    else
        LB = chrB(GMM.PllB);
    if (sled) std::cout << ". Bf";
    Bp.resize(Bgost.nrow(), Bgost.ncol(), 0.0L);
    fp.resize(Bgost.nrow(), 1, 0.0L);
    if (sled) std::cout << ". Bp";
    if (GMM.Qlldiag)
        VtBprod(ch.L, Bgost, Bp, true);
    else
        VtBprod(LB, Bgost, Bp);
    if (sled) std::cout << ". fp";
    if (GMM.Qlldiag)
        VtBprod(ch.L, GMM.fvec, fp, true);
    else
        VtBprod(LB, GMM.fvec, fp);
    if (sled) std::cout << "." << "\n";
}

void CGMMSol::SolveFuncModel()
{
    const bool sled = procset.GetContPrint() != 0;
    switch (gdatum.Datum) {
        case 'P':
        case 'V':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelPV() [P V] -> ";
            SolveFuncModelPV();
            break;
        case 'D':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelD() [D] -> ";
            SolveFuncModelD();
            break;
        case 'H':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelH() [H] -> ";
            SolveFuncModelH();
            break;
        default:
            break;
    }
    normX = xunk.empty() ? 0.0L : norm(xunk);
}

void CGMMSol::SolveFuncModelPV() { SolveInnerLoop(DatumKorekcija::brez, "P ali V"); }
void CGMMSol::SolveFuncModelH() { SolveInnerLoop(DatumKorekcija::H, "H"); }
void CGMMSol::SolveFuncModelD() { SolveInnerLoop(DatumKorekcija::D, "D"); }

void CGMMSol::SolveInnerLoop(DatumKorekcija korekcija, const char* datumOznaka)
{
    const MetodaResitve* metoda = NajdiMetodo(procset.GetNumSolve());
    if (metoda == nullptr) return;
    if (procset.GetContPrint()) std::cout << metoda->oznaka << "\n";

    const bool mnk = (procset.RobSolve == "MNK");
    const bool gost = Gosto();
    std::unique_ptr<razcepMetoda<long double>> razcep;
    if (gost) razcep = razcepZaMetodo(metoda->ime, procset.SVDthres);
    const bool normalna = !razcep || razcep->normalna();
    // The pseudo-inverse of the SVD is bounded by its threshold; every other
    // method must meet a regular system.
    const bool preveriRegularnost = std::string(metoda->ime) != "SVD";

    // Robust weight memory: current and previous row factor of every row.
    // The weights act on the observation rows only: the datum rows below
    // them fix the datum defect and keep their unit weight, which the datum
    // correction of Qdd presumes (it is formed from the unweighted
    // constraint matrix).  Bp0, fp0 keep the unweighted rows, from which a
    // rejected observation that comes back is rebuilt.
    const unsigned long nVrstic = gost ? Bp.nrow() : redka.Bp.nrow();
    matrika<long double> W(nVrstic, 2, 1.0L);
    const unsigned long nObs = std::min(nVrstic, static_cast<unsigned long>(GMM.nobs > 0 ? GMM.nobs : 0));
    matrika<long double> Bp0, fp0, vObs;
    redkaMatrika Bpr0;
    if (!mnk) {
        if (gost) Bp0 = Bp;
        else Bpr0 = redka.Bp;
        fp0 = gost ? fp : redka.fp;
        vObs.resize(nObs, 1, 0.0L);
    }
    long rang = -1;  // rank of the unweighted system, formed at the first rejection
    matrika<long double> N, n, diagN(gost ? Bp.ncol() : 0, 1, 0.0L);

    // Form and solve on full matrices: N and n follow the current (possibly
    // re-weighted) Bp, fp.
    auto resiGosto = [&](bool utezeno) {
        matrika<long double> x;
        if (normalna) {
            N.resize(0, 0);
            n.resize(0, 0);
            AtBprod(Bp, Bp, N);
            AtBprod(Bp, fp, n);
        }
        if (preveriRegularnost) {
            // Diagonal of the normal matrix, the column norms of Bp squared.
            const unsigned long u = Bp.ncol();
            const long double* b = Bp.data();
            long double* dn = diagN.data();
            for (unsigned long k = 0; k < u; ++k) dn[k] = 0.0L;
            for (unsigned long i = 0; i < Bp.nrow(); ++i)
                for (unsigned long k = 0; k < u; ++k) dn[k] += b[i * u + k] * b[i * u + k];
        }
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
        // After a re-weighting a singular system is the work of the rejected
        // observations, and the message says so; otherwise it names the
        // unknowns that are not determined.
        if (preveriRegularnost) {
            std::vector<long> nedolocene;
            if (pivot >= 0) nedolocene.push_back(pivot);
            else if (Koncna(Qdd)) nedolocene = Singularna(diagN, Qdd);
            if (!nedolocene.empty() || !Koncna(Qdd)) {
                // The whole null space names them better than a pivot or the
                // inflation, which the inner constraints spread over every point.
                const std::vector<long> jedro =
                    NeznankeNicelnegaProstora(NicelniDelez(Bp), korekcija == DatumKorekcija::H);
                if (!jedro.empty()) nedolocene = jedro;
            }
            if (!nedolocene.empty())
                NivexError(utezeno ? SporociloRobustno(procset.RobSolve) : SporociloNedolocenih(GMM, nedolocene));
        } else if (nIter == 0) {
            // The SVD bridges any defect: beyond the free network's own it is
            // refused, and the rank gives the degrees of freedom.
            rangSVD = razcep->rang();
            const long dovoljen = korekcija == DatumKorekcija::H ? GMM.nHdat : 0;
            if (static_cast<long>(Bp.ncol()) - rangSVD > dovoljen) {
                const matrika<long double> delez = razcep->nicelniDelez();
                NivexError(SporociloNedolocenih(GMM, NeznankeNicelnegaProstora(delez, dovoljen > 0)));
            }
        }

        // 2. Datum: a constraint matrix that does not cover every defect of
        // the free network leaves M singular.
        bool regularna = true;
        if (korekcija == DatumKorekcija::H && GMM.Hred.nrow() > 0) regularna = CorrectQdd(GMM.Hred, metoda->inverzM);
        if (korekcija == DatumKorekcija::D && GMM.Hdat.nrow() > 0) regularna = CorrectQdd(GMM.Ddat, metoda->inverzM);
        if (!regularna)
            NivexError(utezeno ? SporociloRobustno(procset.RobSolve)
                               : SporociloGMM("SINGULAREN SISTEM", datumOznaka, metoda->oznaka));
        if (!razcep) x = Qdd * n;
        if (!Koncna(x) || !Koncna(Qdd))
            NivexError(SporociloGMM("NEKONCNA RESITEV", datumOznaka, metoda->oznaka));
        return x;
    };

    for (;;) {
        // 1.-2. Form and solve, the datum applied to the cofactors.
        const bool utezeno = !mnk && nIter > 0;
        const matrika<long double> x =
            gost ? resiGosto(utezeno) : ResiRedko(korekcija, datumOznaka, metoda->oznaka, utezeno);

        // 3.-5. Change of the solution, residuals of the unweighted model.
        const long double d = norm(x - xunk);
        xunk = x;
        vvec = GMM.fvec;
        if (gost) VvecCalc(vvec, Bgost, xunk);
        else VvecCalc(vvec, GMM.Bmat, xunk);
        if (!mnk)
            for (unsigned long i = 0; i < nObs; ++i) vObs(static_cast<long>(i)) = vvec(static_cast<long>(i));

        if (d < thres) break;
        ++nIter;
        if (mnk) break;
        if (nIter > 100) NivexError(SporociloGMM("PREVEC ITERACIJ", datumOznaka, metoda->oznaka));

        // Robust re-weighting of the observation rows for the next pass.
        if (!gost) {
            // Rejections that take away what determined the network show as
            // vanished pivots of the next factorisation.
            WeighRobust(redka.Bp, redka.fp, vObs, W, GMM.So, procset.RobSolve, procset.lpnorm, nIter, Bpr0, fp0);
            continue;
        }
        WeighRobust(Bp, fp, vObs, W, GMM.So, procset.RobSolve, procset.lpnorm, nIter, Bp0, fp0);
        // Rejections may take away what determined the network; the methods
        // would meet a singular system (or, with the SVD, quietly bridge it),
        // so the rank of the kept rows is checked whenever the set changes.
        bool novaZavrnitev = false;
        for (long i = 0; i < static_cast<long>(nObs); ++i) novaZavrnitev |= W(i, 0) == 0.0L && W(i, 1) != 0.0L;
        if (novaZavrnitev) {
            if (rang < 0) rang = RangOhranjenih(Bp0, matrika<long double>(Bp0.nrow(), 1, 1.0L));
            if (RangOhranjenih(Bp0, W) < rang) NivexError(SporociloRobustno(procset.RobSolve));
        }
    }
}

matrika<long double> CGMMSol::ResiRedko(DatumKorekcija korekcija, const char* datumOznaka, const char* metoda,
                                        bool utezeno)
{
    // The inner constraints of a free network touch every unknown: they stay
    // out of the sparse matrix as a low-rank term.  The minimal constraints
    // touch a few points and are rows like any other.
    unsigned long nA = redka.Bp.nrow();
    const matrika<long double> brez;
    const matrika<long double>* C = &brez;
    if (korekcija == DatumKorekcija::H && GMM.Hred.nrow() > 0) {
        nA = static_cast<unsigned long>(GMM.nobs);
        C = &GMM.Hred;
    }
    if (korekcija == DatumKorekcija::D && GMM.Hdat.nrow() > 0) C = &GMM.Ddat;
    matrika<long double> x;
    const CGMMSolRedka::Izid izid = redka.Resi(nA, *C, GMM.Hdat, x);
    // After a re-weighting a singular system is the work of the rejected
    // observations, and the message says so; otherwise it names the unknowns
    // that are not determined.
    std::vector<long> nedolocene = redka.nedolocene;
    if (izid == CGMMSolRedka::Izid::resena) nedolocene = redka.Napihnjene(kMejaVIF);
    if (utezeno && (izid != CGMMSolRedka::Izid::resena || !nedolocene.empty()))
        NivexError(SporociloRobustno(procset.RobSolve));
    if (!nedolocene.empty()) NivexError(SporociloNedolocenih(GMM, nedolocene));
    if (izid == CGMMSolRedka::Izid::datumSingularna)
        NivexError(SporociloGMM("SINGULAREN SISTEM", datumOznaka, metoda));
    if (!Koncna(x)) NivexError(SporociloGMM("NEKONCNA RESITEV", datumOznaka, metoda));
    return x;
}

bool CGMMSol::CorrectQdd(const matrika<long double>& C, char inverzM)
{
    const matrika<long double>& H = GMM.Hdat;
    // M = Hdat C'C Hdat' = K K' with K = Hdat C' (nHdat x rows of C).
    matrika<long double> K, M;
    ABtprod(H, C, K);
    ABtprod(K, K, M);
    matrika<long double> Mi;
    if (inverzM == 'G') {
        Mi = inv(M);
    } else if (inverzM == 'L') {
        lur<long double> lu;
        lu.razcep(M);
        Mi = lu.inv();
    } else {
        chr<long double> ch;
        ch.razcep(M, 0);
        Mi = ch.inv();
    }
    matrika<long double> diagM(M.nrow(), 1, 0.0L);
    for (unsigned long a = 0; a < M.nrow(); ++a) diagM(static_cast<long>(a)) = M(a, a);
    if (!Koncna(Mi) || !Singularna(diagM, Mi).empty()) return false;
    // Qdd -= Hdat' Mi Hdat
    const matrika<long double> T = Mi * H;
    const unsigned long u = Qdd.ncol(), h = H.nrow();
    long double* q = Qdd.data();
    const long double* hd = H.data();
    const long double* t = T.data();
    for (unsigned long i = 0; i < u; ++i)
        for (unsigned long j = 0; j < u; ++j) {
            long double s = 0.0L;
            for (unsigned long a = 0; a < h; ++a) s += hd[a * u + i] * t[a * u + j];
            q[i * u + j] -= s;
        }
    return true;
}

long CGMMSol::ProstostneStopnje() const
{
    if (rangSVD >= 0) return static_cast<long>(GMM.Bmat.nrow()) - rangSVD;
    switch (gdatum.Datum) {
        case 'D': return static_cast<long>(GMM.nredund) + gdatum.nD;
        case 'H': return static_cast<long>(GMM.nredund) + GMM.nHdat;
        default: return GMM.nredund;
    }
}

void CGMMSol::SolveStohModel()
{
    const bool sled = procset.GetContPrint() != 0;
    const bool polne = procset.GetMatFull() != 0;
    if (sled) std::cout << " F: SolveStohModel() -> Qvv";
    // Qvv = Qll - B Qdd B' on its diagonal: the same sums, in the same order,
    // as the full product, without the rows x rows matrix.
    const unsigned long n = GMM.Bmat.nrow();
    if (Gosto()) {
        QvvDiag(GMM.Qll, Bgost, Qdd, Qvv);
    } else {
        Qvv.resize(GMM.Qll.nrow(), 1, 0.0L);
        for (unsigned long i = 0; i < n; ++i) Qvv(i) = -redka.Par(GMM.Bmat, i, i) + GMM.Qll(static_cast<long>(i), 1);
    }
    if (sled && polne) std::cout << "....";
    if (sled) std::cout << "." << " R";

    R.resize(n, 1, 0.0L);
    rsum = 0.0L;
    if (polne) {
        if (GMM.Qlldiag) {
            for (unsigned long i = 0; i < n; ++i) R(i) = Qvv(i) * GMM.Pll(i);
        } else {
            if (Gosto()) QvvPDiag(GMM.Qll, Bgost, Qdd, GMM.PllB, R);
            else QvvPDiagRedko();
        }
        const unsigned long nobs = static_cast<unsigned long>(GMM.nobs > 0 ? GMM.nobs : 0);
        for (unsigned long i = 0; i < nobs && i < n; ++i) rsum += R(i);
    }
    rpovp = GMM.nobs > 0 ? rsum / GMM.nobs : 0.0L;

    if (sled) std::cout << "." << " SoI";
    SoI = GMM.Qlldiag ? vTPv(vvec, GMM.Pll, true) : vTPv(vvec, GMM.PllB);
    if (sled) std::cout << ".";

    const long f = ProstostneStopnje();
    if (f < 0)
        NivexWarning(" #### Stevilo nadstevilnih opazovanj je negativno - globalnega testa ni mogoce izvesti      #### ");
    if (f <= 0) SoI = 0.0L;
    else SoI = SoI / std::sqrt(static_cast<long double>(f));

    if (sled) std::cout << " gtest";
    gtest = GMM.So != 0.0L ? (SoI * SoI) / (GMM.So * GMM.So) : 0.0L;
    gtestA = gtestB = 0.0L;
    if (f > 0) {
        const long double alfa = procset.Getgtestp();
        const long double ff = static_cast<long double>(f);
        gtestA = Hi2PorInvF((1.0L - alfa) / 2.0L, ff) / ff;
        gtestB = Hi2PorInvF(alfa + (1.0L - alfa) / 2.0L, ff) / ff;
    }
    if (sled) std::cout << " SoIIzracun" << "\n";
    SoIIzracun = procset.GetIfVarApriori() == 0 ? SoI * SoI : GMM.So * GMM.So;
}

void CGMMSol::QvvPDiagRedko()
{
    // r_ii = sum_k Qvv(i,k) P(k,i) over the rows k of i's block, Qvv = Qll - B Q B'.
    // t = b_i Q is formed once per row, on the columns that the block's rows
    // touch, and serves every k.
    const bdmatrika& P = GMM.PllB;
    const redkaMatrika& B = GMM.Bmat;
    const long double* band = GMM.Qll.data();
    std::vector<long double> t(B.ncol(), 0.0L);
    std::vector<char> vBloku(B.ncol(), 0);
    std::vector<unsigned long> stolpci;
    for (unsigned long blk = 0; blk < P.nblok(); ++blk) {
        const unsigned long z = P.zacetek(blk), m = P.velikost(blk);
        if (m == 1) {
            // A row of its own (a datum row of a free network among them).
            R(static_cast<long>(z)) = (-redka.Par(B, z, z) + band[z * 3 + 1]) * P.blok(blk)(0, 0);
            continue;
        }
        stolpci.clear();
        for (unsigned long k = z; k < z + m; ++k)
            for (const auto& e : B.vrstica(k))
                if (!vBloku[e.stolpec]) vBloku[e.stolpec] = 1, stolpci.push_back(e.stolpec);
        for (unsigned long i = z; i < z + m; ++i) {
            for (unsigned long j : stolpci) {
                long double s = 0.0L;
                for (const auto& e : B.vrstica(i))
                    s += e.vrednost * redka.Q(static_cast<long>(e.stolpec), static_cast<long>(j));
                t[j] = s;
            }
            long double r = 0.0L;
            for (unsigned long k = z; k < z + m; ++k) {
                long double s = 0.0L;
                for (const auto& e : B.vrstica(k)) s += t[e.stolpec] * e.vrednost;
                long double qvv = -s;
                if (k == i) qvv += band[i * 3 + 1];
                else if (k + 1 == i) qvv += band[i * 3 + 0];
                else if (k == i + 1) qvv += band[i * 3 + 2];
                r += qvv * P.blok(blk)(static_cast<long>(k - z), static_cast<long>(i - z));
            }
            R(static_cast<long>(i)) = r;
        }
        for (unsigned long j : stolpci) vBloku[j] = 0;
    }
}

void CGMMSol::SetResults()
{
    const unsigned short Dim = procset.GetDim();
    const unsigned short XVel = procset.GetXVel();
    CTerObs& tocke = Dim == 1 ? static_cast<CTerObs&>(TOHA) : static_cast<CTerObs&>(TOCrdA);
    matrika<long double>& VELA = Dim == 1 ? TOHA.VELA : TOCrdA.VELA;
    const long dim = Dim == 1 ? 1 : (Dim == 2 ? 2 : 3);
    // A point without unknowns (negative index) keeps its values.
    auto popravi = [&](matrika<long double>& M, long i, long ix) {
        for (long d = 0; ix >= 0 && d < dim; ++d) M(i, d) += xunk(ix + d);
    };
    for (long i = 0; i < static_cast<long>(tocke.PTS.nrow()); ++i) {
        long ix = -1, ixv = -1;
        GMMSolSetIndex(i, GMM.iDeltaB, GMM.iDeltaBV, XVel, ix, ixv);
        popravi(tocke.OBS, i, ix);
        if (XVel) popravi(VELA, i, ixv);
    }
    if (!procset.IfEstkRef) return;
    // As printed: one coefficient for the network, or one per station.
    long nk = 0;
    if (procset.kRefType.find("SINGLE") != std::string::npos) nk = GMM.nunkkref > 0 ? 1 : 0;
    else if (procset.kRefType.find("STAT") != std::string::npos) nk = GMM.nunkkref;
    for (long t = 0; t < nk; ++t) GMM.kRefEst(t) += xunk(GMM.iDeltaBk(t));
}

void CGMMSol::PrintResultsSummary(std::ostream& izhod) const
{
    if (procset.GetContPrint()) std::cout << " F: PrintResultsSummary(ostream & izhod)" << "\n";
    izhod << std::right;
    IzpisNastavitve(izhod, 4);
    izhod << "# ITERACIJ:" << std::setw(38) << nIter + 1 << "\n";
    izhod << "\n" << "GLOBALNI TEST MODELA:" << "\n";
    izhod << "Referencni stand. odklon a-priori:     " << std::setw(10) << 1000.0L * GMM.So << "\n";
    izhod << "Referencni stand. odklon a-posteriori: " << std::setw(10) << 1000.0L * SoI << "\n";
    izhod << "Verjetnost globalnega testa:           " << std::setw(10) << procset.Getgtestp() << "\n";
    izhod << "Globalni test:                         " << std::setw(10) << gtest;
    IzpisNastavitve(izhod, 2);
    izhod << "  (" << std::setw(5) << gtestA << " - " << std::setw(5) << gtestB << ")" << "\n";
    IzpisNastavitve(izhod, 4);
    izhod << "Globalni test [SQRT]:                  " << std::setw(10) << std::sqrt(gtest);
    IzpisNastavitve(izhod, 2);
    izhod << "  (" << std::setw(5) << std::sqrt(gtestA) << " - " << std::setw(5) << std::sqrt(gtestB) << ")"
          << "\n";
    IzpisNastavitve(izhod, 4);
    izhod << "Matrika nadstevilnosti [riri]:         " << std::setw(10) << rsum << "\n";
    izhod << "Povprecna nadstevilnost:               " << std::setw(10) << rpovp << "\n";
    izhod << "Uporabljena ref. varianca v modelu: " << std::setw(13)
          << (procset.GetIfVarApriori() == 0 ? "APOSTERIORI" : "APRIORI") << "\n\n\n";
}

void CGMMSol::PrintResults(std::ostream& izhod) const
{
    const unsigned short Dim = procset.GetDim();
    const unsigned short XVel = procset.GetXVel();
    const bool sled = procset.GetContPrint() != 0;
    const std::string naslov =
        std::string(Dim < 2 ? "OCENJENE VISINE " : "OCENJENE KOORDINATE ") + (XVel ? "IN HITROSTI" : "") + " TOCK";
    PodNaslov(izhod, naslov.c_str(), 1);
    izhod << "\n";
    const std::size_t L = GMMSolResHeadPrint(izhod, Dim, XVel);
    const Kofaktor Q = [this](long i, long j) { return Qxx(i, j); };
    if (Dim == 1) {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint1(...)" << "\n";
        GMMSolResBodyPrint1(izhod, TOHA.PTS, TOHA.OBS, TOHA.VELA, GMM.iDeltaB, GMM.iDeltaBV, XVel, xunk, Q,
                            SoIIzracun);
    } else if (Dim == 2) {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint2(...)" << "\n";
        GMMSolResBodyPrint2(izhod, TOCrdA.PTS, TOCrdA.OBS, TOCrdA.VELA, GMM.iDeltaB, GMM.iDeltaBV, XVel, xunk, Q,
                            SoIIzracun);
    } else {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint3(...)" << "\n";
        GMMSolResBodyPrint3(izhod, TOCrdA.PTS, TOCrdA.OBS, TOCrdA.VELA, GMM.iDeltaB, GMM.iDeltaBV, XVel, xunk, Q,
                            SoIIzracun);
    }
    izhod << std::string(L, '-') << "\n\n\n";
    if (procset.IfEstkRef)
        GMMSolPrintRefKoeficient(izhod, GMM.nunkkref, procset.kRefType, xunk, Q, GMM.iDeltaBk, GMM.kRefEst,
                                 GMM.PTSk, SoIIzracun);
}

void CGMMSol::PrintCorrUnknown(std::ostream& izhod) const
{
    if (!procset.GetizpisCorrUnk()) return;
    if (procset.GetContPrint()) std::cout << " F: PrintCorrUnknown(ostream & izhod)" << "\n";
    static const char* const kOs[3] = {"X", "Y", "Z"};
    const unsigned short Dim = procset.GetDim();
    const long dim = Dim < 1 ? 1 : (Dim > 3 ? 3 : Dim);
    const matrika<std::string>& PTS = Dim == 1 ? TOHA.PTS : TOCrdA.PTS;

    PodNaslov(izhod, "KORELACIJE MED NEZNANKAMI", 1);
    izhod << "\n" << std::right;
    IzpisNastavitve(izhod, 2);

    std::vector<long> tocke;  // list positions of the points with unknowns
    for (long p = 0; p < static_cast<long>(PTS.nrow()); ++p)
        if (GMM.iDeltaB(p) >= 0) tocke.push_back(p);

    izhod << std::setw(12) << " ";
    for (std::size_t k = 0; k < tocke.size(); ++k) {
        izhod << "  ";
        for (long d = 0; d < dim; ++d) {
            izhod << std::setw(4) << k + 1;
            if (Dim == 1) izhod << "  ";
            else izhod << kOs[d] << " ";
        }
    }
    izhod << "\n";
    const std::size_t W = 12 + tocke.size() * static_cast<std::size_t>(2 + 6 * dim);
    izhod << std::string(12, '-');
    for (std::size_t k = 0; k < tocke.size(); ++k) izhod << "--" << std::string(static_cast<std::size_t>(6 * dim), '-');
    izhod << "\n";

    // Magnitudes compared with the tolerance in double precision; the square
    // roots of the magnitudes keep a round-off negative variance from
    // printing as "nan".
    // The table runs along rows of the unknowns, so an entry is asked for as
    // (j, i): a cofactor off the factor's pattern is solved by columns, and
    // the column i then serves the whole row.
    std::vector<long double> diag(GMM.Bmat.ncol());
    for (unsigned long k = 0; k < diag.size(); ++k) diag[k] = Qxx(static_cast<long>(k), static_cast<long>(k));
    auto korelacija = [&](long i, long j) -> long double {
        const long double Qii = diag[static_cast<std::size_t>(i)], Qjj = diag[static_cast<std::size_t>(j)];
        const double qii = dabs(Qii);
        if (i == j) return qii > 1e-12 ? 1.0L : 0.0L;
        const double qjj = dabs(Qjj);
        if (qii <= 1e-12 || qjj <= 1e-12) return 0.0L;
        return Qxx(j, i) / (std::sqrt(std::fabs(Qjj)) * std::sqrt(std::fabs(Qii)));
    };

    for (std::size_t a = 0; a < tocke.size(); ++a) {
        const long i0 = GMM.iDeltaB(tocke[a]);
        for (long d = 0; d < dim; ++d) {
            const char* oznaka = Dim == 1 ? "H" : kOs[d];
            if (d == 0) {
                izhod << std::setw(3) << a + 1;
                TerObsTxt(izhod, PTS(tocke[a]), 6);
                izhod << std::setw(3) << oznaka;
            } else {
                izhod << std::setw(12) << oznaka;
            }
            for (std::size_t b = 0; b < tocke.size(); ++b) {
                const long j0 = GMM.iDeltaB(tocke[b]);
                izhod << "  ";
                for (long e = 0; e < dim; ++e) izhod << std::setw(6) << korelacija(i0 + d, j0 + e);
            }
            izhod << "\n";
        }
        if (Dim > 1 && a + 1 < tocke.size()) izhod << "\n";
    }
    izhod << std::string(W, '-') << "\n\n\n";
}
