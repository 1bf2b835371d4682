#include "src/CGMMSol.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "funkcije/Besedila.h"
#include "funkcije/Hi2Por.h"
#include "matrika/bdmatrika.h"
#include "matrika/inv.h"
#include "matrika/normm.h"
#include "funkcije/numerika.h"
#include "src/CGDatum.h"
#include "src/CGMMSolRedka.h"
#include "src/CRezultati.h"
#include "src/CResitevGosta.h"
#include "src/MetodaResitve.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsHA.h"
#include "src/FDolgeVerige.h"
#include "src/FDolocenost.h"
#include "src/FGMMSol.h"
#include "src/FGMMSolMat.h"
#include "src/FKovBloki.h"
#include "src/FWeighRobust.h"
#include "matrika/vzporedno.h"
#include "src/IzpisStevil.h"
#include "src/NivexAux.h"

namespace {
std::string SporociloRobustno(const std::string& RobSolve)
{
    return BesediloF(Besedilo::NapakaRobustnaNedolocena, RobSolve.c_str());
}

// (L'v)_i / L_ii of the observation rows that the blocks of L cover.
void VbeliOstanki(const bdmatrika& L, const matrika<real>& v, matrika<real>& vObs)
{
    for (unsigned long b = 0; b < L.nblok(); ++b) {
        const unsigned long n = L.velikost(b);
        const matrika<real>& B = L.blok(b);
        if (L.trak(b)) {
            // L = U^-T: (L'v)_i / L_ii = (U^-1 v)_i U_ii.
            std::vector<real> y(n);
            for (unsigned long i = 0; i < n; ++i) y[i] = v(static_cast<long>(L.vrstica(b, i)));
            resiBidiagonalno(B, y);
            for (unsigned long i = 0; i < n && L.vrstica(b, i) < vObs.nrow(); ++i)
                vObs(static_cast<long>(L.vrstica(b, i))) = y[i] * B(static_cast<long>(i), 1);
            continue;
        }
        for (unsigned long i = 0; i < n && L.vrstica(b, i) < vObs.nrow(); ++i) {
            real r = 0.0L;
            for (unsigned long j = i; j < n; ++j)
                r += B(static_cast<long>(j), static_cast<long>(i)) * v(static_cast<long>(L.vrstica(b, j)));
            vObs(static_cast<long>(L.vrstica(b, i))) = r / B(static_cast<long>(i), static_cast<long>(i));
        }
    }
}

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

std::string SporociloGMM(const char* napaka, const char* datum, const char* metoda)
{
    return BesediloF(Besedilo::NapakaResitevGMM, napaka, datum, metoda);
}
}  // namespace

CGMMSol::CGMMSol(CProcSet& procset_, CGDatum& gdatum_, CTerObsHA& TOHA_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), gdatum(gdatum_), TOHA(TOHA_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

real CGMMSol::Qxx(long i, long j) const { return GMM.Drzana(i) || GMM.Drzana(j) ? 0.0L : resitev->Q(i, j); }

KofaktorjiNeznank CGMMSol::Kofaktorji() const
{
    if (!resitev) return {};
    return KofaktorjiNeznank(resitev, GMM.drzana);
}

ResitevPrehoda CGMMSol::Prehod() const
{
    ResitevPrehoda r;
    r.xunk = xunk;
    r.kofaktorji = Kofaktorji();
    r.SoI = SoI;
    r.SoIIzracun = SoIIzracun;
    r.gtest = gtest;
    r.gtestA = gtestA;
    r.gtestB = gtestB;
    r.prostostne = prostostne;
    r.rsum = rsum;
    r.rpovp = rpovp;
    r.nIter = nIter;
    r.robustneUtezi = robustneUtezi;
    return r;
}

bool CGMMSol::Gosto() const { return gosto || procset.Psevdoinverz(); }

void CGMMSol::SetPar()
{
    const bool sled = procset.GetContPrint() != 0;
    if (sled) std::cout << "C: CGMMSol:" << "\n" << " F: SetPar(): " << " CHOL";
    xunk.resize(GMM.Bmat.ncol(), 1, 0.0L);
    nIter = 0;
    robustneUtezi.clear();
    const MetodaResitve* metoda = procset.Metoda();
    const bool gost = Gosto();
    if (!resitev || metoda != metodaResitve || gost != resitevGosta) {
        resitev.reset();
        if (gost && metoda != nullptr) resitev = std::make_shared<CResitevGosta>(*metoda, procset.SVDthres);
        else resitev = std::make_shared<CGMMSolRedka>();
        metodaResitve = metoda;
        resitevGosta = gost;
    }
    if (sled) std::cout << ". Bf. Bp. fp";
    resitev->Beli(GMM);
    if (sled) std::cout << "." << "\n";
}

IzidResitve CGMMSol::SolveFuncModel()
{
    const bool sled = procset.GetContPrint() != 0;
    IzidResitve izid;
    switch (gdatum.Datum) {
        case 'P':
        case 'V':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelPV() [P V] -> ";
            izid = SolveInnerLoop(CResitev::Datum::brez, B(Besedilo::DatumPaliV));
            break;
        case 'D':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelD() [D] -> ";
            izid = SolveInnerLoop(CResitev::Datum::D, "D");
            break;
        case 'H':
            if (sled) std::cout << " F: SolveFuncModel() -> SolveFuncModelH() [H] -> ";
            izid = SolveInnerLoop(CResitev::Datum::H, "H");
            break;
        default:
            break;
    }
    normX = xunk.empty() ? 0.0L : norm(xunk);
    return izid;
}

IzidResitve CGMMSol::Neuspeh(CResitev::Izid izid, bool utezeno, const char* datumOznaka) const
{
    IzidResitve r;
    r.izid = izid;
    r.robustna = utezeno;
    r.nedolocene = resitev->nedolocene;
    const char* metoda = metodaResitve->oznaka;
    // After a re-weighting a singular system is the work of the rejected
    // observations, and the message says so; otherwise it names the unknowns
    // that are not determined.
    if (izid == CResitev::Izid::nekoncna) r.sporocilo = SporociloGMM(B(Besedilo::ResitevNekoncna), datumOznaka, metoda);
    else if (utezeno) r.sporocilo = SporociloRobustno(procset.RobSolve);
    else if (izid == CResitev::Izid::nedolocena) r.sporocilo = SporociloNedolocenih(GMM, r.nedolocene);
    else r.sporocilo = SporociloGMM(B(Besedilo::ResitevSingularna), datumOznaka, metoda);
    return r;
}

IzidResitve CGMMSol::SolveInnerLoop(CResitev::Datum datum, const char* datumOznaka)
{
    if (metodaResitve == nullptr) {
        IzidResitve r;
        r.izid = CResitev::Izid::nedolocena;
        r.sporocilo = B(Besedilo::NapakaNiPraviPodatekResitev);
        return r;
    }
    if (procset.GetContPrint()) std::cout << metodaResitve->oznaka << "\n";
    const bool mnk = (procset.RobSolve == "MNK");
    if (!mnk && GMM.PllB.imaTrakove() && !Gosto()) {
        // The sparse solution holds a long set of directions by the
        // directions themselves, whose rows no angle's weight can scale.
        IzidResitve r;
        r.izid = CResitev::Izid::nedolocena;
        r.sporocilo = BesediloF(Besedilo::NapakaRobustnaDolgaVeriga, procset.RobSolve.c_str(),
                                bdmatrika::kDolgaVeriga + 1);
        return r;
    }

    // Robust weight memory: current and previous row factor of every row.
    // The weights act on the observation rows only: the datum rows below
    // them fix the datum defect and keep their unit weight, which the datum
    // correction of the cofactors presumes (it is formed from the unweighted
    // constraint matrix).
    const unsigned long nVrstic = GMM.Bmat.nrow();
    matrika<real> W(nVrstic, 2, 1.0L);
    const unsigned long nObs = std::min(nVrstic, static_cast<unsigned long>(GMM.nobs > 0 ? GMM.nobs : 0));
    matrika<real> vObs;
    if (!mnk) vObs.resize(nObs, 1, 0.0L);
    bdmatrika L;
    if (!GMM.Qlldiag && (procset.RobSolve == "LPN" || procset.RobSolve == "L1N")) L = chrB(GMM.PllB);
    // The unweighted whitened rows, from which a rejected row is rebuilt,
    // and the rank they have (where the solution asks for it).
    redkaMatrika Bp0;
    matrika<real> fp0;
    long rang0 = -1;

    const CResitev::DatumSistema ds = SistemDatuma(datum);

    for (;;) {
        // Form and solve, the datum applied to the cofactors.
        const bool utezeno = !mnk && nIter > 0;
        matrika<real> x;
        const CResitev::Izid izid = resitev->Resi(ds, x);
        if (izid != CResitev::Izid::resena) return Neuspeh(izid, utezeno, datumOznaka);
        KorakResitve(x, utezeno);
        const real d = OstankiPrehoda(x, mnk, nObs, L, vObs);

        if (d < thres) break;
        ++nIter;
        if (mnk) break;
        if (nIter > 100) {
            IzidResitve r;
            r.izid = CResitev::Izid::nekoncna;
            r.robustna = true;
            r.sporocilo = SporociloGMM(B(Besedilo::ResitevPrevecIteracij), datumOznaka, metodaResitve->oznaka);
            return r;
        }
        if (!Preutezi(vObs, nObs, W, Bp0, fp0, rang0))
            return Neuspeh(CResitev::Izid::nedolocena, true, datumOznaka);
    }
    // The weights of the last solution (the square of the row factors).
    robustneUtezi.clear();
    if (!mnk)
        for (unsigned long i = 0; i < nObs; ++i)
            robustneUtezi.push_back(W(static_cast<long>(i), 0) * W(static_cast<long>(i), 0));
    return {};
}

CResitev::DatumSistema CGMMSol::SistemDatuma(CResitev::Datum datum) const
{
    // The datum of the solution: the inner constraints of a free network
    // (rows below the observations, where the method adds them) or the
    // minimal constraints, the same for every method.
    CResitev::DatumSistema ds;
    ds.datum = datum;
    ds.Hdat = &GMM.Hdat;
    ds.nA = GMM.Bmat.nrow();
    if (datum == CResitev::Datum::H && GMM.Hred.nrow() > 0) {
        ds.C = &GMM.Hred;
        ds.nA = static_cast<unsigned long>(GMM.nobs);
    }
    if (datum == CResitev::Datum::D && GMM.Hdat.nrow() > 0) ds.C = &GMM.Ddat;
    if (datum == CResitev::Datum::H) ds.defekt = GMM.nHdat;
    return ds;
}

void CGMMSol::KorakResitve(matrika<real>& x, bool utezeno) const
{
    // A held coordinate keeps its value exactly, whatever the round-off
    // of the method.
    for (long k = 0; k < static_cast<long>(x.nrow()); ++k)
        if (GMM.Drzana(k)) x(k) = 0.0L;

    // With LPN and p > 2 the re-weighted solution overshoots the
    // minimum of sum |v|^p: the step 1/(p-1) of it is Newton's step for
    // that sum, which converges where the full step oscillates.
    if (utezeno && procset.RobSolve == "LPN" && procset.lpnorm > 2.0L)
        for (unsigned long i = 0; i < x.nrow(); ++i) {
            const long k = static_cast<long>(i);
            x(k) = xunk(k) + (x(k) - xunk(k)) / (procset.lpnorm - 1.0L);
        }
}

real CGMMSol::OstankiPrehoda(const matrika<real>& x, bool mnk, unsigned long nObs, const bdmatrika& L,
                             matrika<real>& vObs)
{
    // Change of the solution, residuals of the unweighted model.
    const real d = norm(x - xunk);
    xunk = x;
    vvec = GMM.fvec;
    VvecCalc(vvec, GMM.Bmat, xunk);
    if (!mnk)
        for (unsigned long i = 0; i < nObs; ++i) vObs(static_cast<long>(i)) = vvec(static_cast<long>(i));
    // The Lp norms weigh the whitened rows by their own residuals
    // (L'v)_i / L_ii (with diagonal weights simply v_i): with correlated
    // angles the raw residual of a row does not belong to its whitened
    // row, and the re-weighting then oscillates instead of converging.
    if (!L.empty()) VbeliOstanki(L, vvec, vObs);
    return d;
}

bool CGMMSol::Preutezi(const matrika<real>& vObs, unsigned long nObs, matrika<real>& W, redkaMatrika& Bp0,
                       matrika<real>& fp0, long& rang0)
{
    // Robust re-weighting of the observation rows for the next pass.
    if (Bp0.nrow() == 0) {
        Bp0 = resitev->Bp;
        fp0 = resitev->fp;
    }
    WeighRobust(resitev->Bp, resitev->fp, vObs, W, GMM.So, procset.RobSolve, procset.lpnorm, nIter, Bp0, fp0);
    // Rejections may take away what determined the network; where the
    // solution would bridge the defect (or name it less well) the rank
    // of the kept rows is checked whenever the set changes.
    bool novaZavrnitev = false;
    for (unsigned long i = 0; i < nObs; ++i)
        novaZavrnitev |= W(static_cast<long>(i), 0) == 0.0L && W(static_cast<long>(i), 1) != 0.0L;
    if (novaZavrnitev && resitev->RangPoZavrnitvi()) {
        const matrika<real> B0 = Bp0.gosta();
        if (rang0 < 0) rang0 = RangOhranjenih(B0, matrika<real>(B0.nrow(), 1, 1.0L));
        if (RangOhranjenih(B0, W) < rang0) return false;
    }
    if (!GMM.kovBloki.empty()) {
        KovFaktorjiZapisov(GMM.kovBloki, W);
        BeliKovBloke(GMM, &W, resitev->Bp, resitev->fp);
    }
    return true;
}

long CGMMSol::ProstostneStopnje() const
{
    const long rang = resitev->Rang();
    if (rang >= 0) return static_cast<long>(GMM.Bmat.nrow()) - rang;
    switch (gdatum.Datum) {
        case 'D': return static_cast<long>(GMM.nredund) + gdatum.nD;
        case 'H': return static_cast<long>(GMM.nredund) + GMM.nHdat;
        default: return GMM.nredund;
    }
}

namespace {
// The rows of the residual cofactors are formed a few hundred at a time by
// the threads: each a sum of cofactor lookups, every row the same on any
// thread.
constexpr unsigned long kVrsticNaNalogo = 256;
constexpr double kDeloVrstice = 200.0;
}  // namespace

void CGMMSol::QvvDiagonala()
{
    // q_vv,ii = q_ii - b_i Q b_i' of the unweighted rows: the same sums, in
    // the same order, as the full product B Q B'.
    const unsigned long n = GMM.Bmat.nrow();
    const CResitev& r = *resitev;
    Qvv.resize(GMM.Qll.nrow(), 1, 0.0L);
    const long nalog = static_cast<long>((n + kVrsticNaNalogo - 1) / kVrsticNaNalogo);
    vzporedno::Vzporedno(nalog, static_cast<double>(n) * kDeloVrstice, vzporedno::Jedra(), [&](long t) {
        const unsigned long od = static_cast<unsigned long>(t) * kVrsticNaNalogo, doo = std::min(n, od + kVrsticNaNalogo);
        for (unsigned long i = od; i < doo; ++i) Qvv(i) = -r.Par(GMM.Bmat, i, i) + GMM.Qll(static_cast<long>(i), 1);
    });
}

namespace {
// The residual cofactors Qvv = Qll - B Q B' of the rows of one dense block
// `blk` of the weights P (m x m, row after row): t = b_i Q is formed once
// per row, on the columns that the rows of the block touch, and serves every
// row of the block; the cofactors of every pair of those columns are looked
// up once per block.
void QvvBloka(const CResitev& res, const CGMM& GMM, const bdmatrika& P, unsigned long blk, std::vector<real>& qvv)
{
    const redkaMatrika& B = GMM.Bmat;
    const unsigned long m = P.velikost(blk);
    thread_local std::vector<unsigned long> stolpci;
    thread_local std::vector<real> q, t;
    stolpci.clear();
    for (unsigned long kk = 0; kk < m; ++kk)
        for (const auto& e : B.vrstica(P.vrstica(blk, kk))) stolpci.push_back(e.stolpec);
    std::sort(stolpci.begin(), stolpci.end());
    stolpci.erase(std::unique(stolpci.begin(), stolpci.end()), stolpci.end());
    const std::size_t ns = stolpci.size();
    auto mesto = [&](unsigned long j) {
        return static_cast<std::size_t>(std::lower_bound(stolpci.begin(), stolpci.end(), j) - stolpci.begin());
    };
    q.resize(ns * ns);
    for (std::size_t b = 0; b < ns; ++b)
        for (std::size_t a = 0; a < ns; ++a) q[a * ns + b] = res.Q(static_cast<long>(stolpci[a]), static_cast<long>(stolpci[b]));
    t.resize(ns);
    qvv.assign(m * m, 0.0L);
    for (unsigned long ii = 0; ii < m; ++ii) {
        const unsigned long i = P.vrstica(blk, ii);
        for (std::size_t b = 0; b < ns; ++b) {
            real s = 0.0L;
            for (const auto& e : B.vrstica(i)) s += e.vrednost * q[mesto(e.stolpec) * ns + b];
            t[b] = s;
        }
        for (unsigned long kk = 0; kk < m; ++kk) {
            const unsigned long k = P.vrstica(blk, kk);
            real s = 0.0L;
            for (const auto& e : B.vrstica(k)) s += t[mesto(e.stolpec)] * e.vrednost;
            qvv[ii * m + kk] = -s + GMM.Kofaktor(i, k);
        }
    }
}

// r_ii = sum_k Qvv(i,k) P(k,i) over the rows k of i's block blk of P; the
// block's Qvv also into `hrani` when given.
void RDiagBloka(const CResitev& res, const CGMM& GMM, const bdmatrika& P, unsigned long blk, matrika<real>& R,
                std::vector<real>* hrani)
{
    const unsigned long z = P.zacetek(blk), m = P.velikost(blk);
    if (m == 1) {
        // A row of its own (a datum row of a free network among them).
        R(static_cast<long>(z)) = (-res.Par(GMM.Bmat, z, z) + GMM.Kofaktor(z, z)) * P.blok(blk)(0, 0);
        return;
    }
    thread_local std::vector<real> qvv;
    QvvBloka(res, GMM, P, blk, qvv);
    if (hrani != nullptr) *hrani = qvv;
    for (unsigned long ii = 0; ii < m; ++ii) {
        real r = 0.0L;
        for (unsigned long kk = 0; kk < m; ++kk)
            r += qvv[ii * m + kk] * P.blok(blk)(static_cast<long>(kk), static_cast<long>(ii));
        R(static_cast<long>(P.vrstica(blk, ii))) = r;
    }
}
}  // namespace

void CGMMSol::RDiagonala()
{
    // The blocks of the weights: a long chain of angles by the solution
    // that holds it by its directions, or as a full block; the other blocks
    // shared among the threads.
    const bdmatrika& PllB = GMM.PllB;
    const bool verige = resitev->DolgeVerige();
    bdmatrika gosta;
    if (!verige && PllB.imaTrakove()) gosta = PllB.gosta();
    const bdmatrika& P = !verige && PllB.imaTrakove() ? gosta : PllB;
    std::vector<unsigned long> bloki;
    unsigned long vrstic = 0;
    for (unsigned long blk = 0; blk < P.nblok(); ++blk) {
        if (P.trak(blk)) resitev->RDiagVeriga(SmeriDolgeVerige(GMM, blk), GMM.Bmat, R);
        else bloki.push_back(blk), vrstic += P.velikost(blk) * P.velikost(blk);
    }
    const CResitev& r = *resitev;
    // A design judges its directions from the blocks (FNacrt).
    qvvBloki.assign(procset.Nacrt() ? P.nblok() : 0, {});
    vzporedno::Vzporedno(static_cast<long>(bloki.size()), static_cast<double>(vrstic) * kDeloVrstice, vzporedno::Jedra(),
                         [&](long b) {
                             const unsigned long blk = bloki[static_cast<std::size_t>(b)];
                             RDiagBloka(r, GMM, P, blk, R, qvvBloki.empty() ? nullptr : &qvvBloki[blk]);
                         });
}

void CGMMSol::SolveStohModel()
{
    const bool sled = procset.GetContPrint() != 0;
    const bool polne = procset.GetMatFull() != 0;
    if (sled) std::cout << " F: SolveStohModel() -> Qvv";
    // Qvv = Qll - B Qdd B' on its diagonal: the same sums, in the same order,
    // as the full product, without the rows x rows matrix.
    const unsigned long n = GMM.Bmat.nrow();
    QvvDiagonala();
    if (sled && polne) std::cout << "....";
    if (sled) std::cout << "." << " R";

    R.resize(n, 1, 0.0L);
    rsum = 0.0L;
    if (polne) {
        if (GMM.Qlldiag) {
            for (unsigned long i = 0; i < n; ++i) R(i) = Qvv(i) * GMM.Pll(i);
        } else {
            RDiagonala();
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
        NivexWarning(B(Besedilo::OpozoriloNegativnaNadstevilnost));
    if (sled) std::cout << " gtest";
    GlobalniTest(SoI, f);
    if (sled) std::cout << " SoIIzracun" << "\n";
}

void CGMMSol::GlobalniTest(real korenVPV, long f)
{
    prostostne = f;
    if (f <= 0) SoI = 0.0L;
    else SoI = korenVPV / std::sqrt(static_cast<real>(f));
    gtest = GMM.So != 0.0L ? (SoI * SoI) / (GMM.So * GMM.So) : 0.0L;
    gtestA = gtestB = 0.0L;
    if (f > 0) {
        const real alfa = procset.Getgtestp();
        const real ff = static_cast<real>(f);
        gtestA = Hi2PorInvF((1.0L - alfa) / 2.0L, ff) / ff;
        gtestB = Hi2PorInvF(alfa + (1.0L - alfa) / 2.0L, ff) / ff;
    }
    SoIIzracun = procset.GetIfVarApriori() == 0 ? SoI * SoI : GMM.So * GMM.So;
}

void CGMMSol::SetResults()
{
    const unsigned short Dim = procset.GetDim();
    const unsigned short XVel = procset.GetXVel();
    CTerObs& tocke = Dim == 1 ? static_cast<CTerObs&>(TOHA) : static_cast<CTerObs&>(TOCrdA);
    matrika<real>& VELA = Dim == 1 ? TOHA.VELA : TOCrdA.VELA;
    const long dim = Dim == 1 ? 1 : (Dim == 2 ? 2 : 3);
    // A point without unknowns (negative index) keeps its values.
    auto popravi = [&](matrika<real>& M, long i, long ix) {
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

namespace {
// A design's block in place of the global test: no residuals to test.
void NacrtResitev(std::ostream& izhod, real So, real rsum, real rpovp)
{
    izhod << std::right;
    IzpisNastavitve(izhod, 4);
    izhod << "\n" << B(Besedilo::NacrtNaslovResitve) << "\n";
    izhod << B(Besedilo::GlobalniSoApriori) << std::setw(10) << 1000.0L * So << "\n";
    izhod << B(Besedilo::GlobalniNadstevilnost) << std::setw(10) << rsum << "\n";
    izhod << B(Besedilo::GlobalniPovprecnaNadstevilnost) << std::setw(10) << rpovp << "\n";
    izhod << B(Besedilo::GlobalniVarianca) << std::setw(13) << B(Besedilo::GlobalniApriori) << "\n\n";
    izhod << B(Besedilo::NacrtOpomba) << "\n\n\n";
}
}  // namespace

void CGMMSol::PrintResultsSummary(std::ostream& izhod) const
{
    if (procset.GetContPrint()) std::cout << " F: PrintResultsSummary(ostream & izhod)" << "\n";
    if (procset.Nacrt()) return NacrtResitev(izhod, GMM.So, rsum, rpovp);
    izhod << std::right;
    IzpisNastavitve(izhod, 4);
    izhod << B(Besedilo::GlobalniIteracij) << std::setw(38) << nIter + 1 << "\n";
    izhod << "\n" << B(Besedilo::GlobalniNaslov) << "\n";
    izhod << B(Besedilo::GlobalniSoApriori) << std::setw(10) << 1000.0L * GMM.So << "\n";
    izhod << B(Besedilo::GlobalniSoAposteriori) << std::setw(10) << 1000.0L * SoI << "\n";
    izhod << B(Besedilo::GlobalniVerjetnost) << std::setw(10) << procset.Getgtestp() << "\n";
    izhod << B(Besedilo::GlobalniTest) << std::setw(10) << gtest;
    IzpisNastavitve(izhod, 2);
    izhod << "  (" << std::setw(5) << gtestA << " - " << std::setw(5) << gtestB << ")" << "\n";
    IzpisNastavitve(izhod, 4);
    izhod << B(Besedilo::GlobalniTestKoren) << std::setw(10) << std::sqrt(gtest);
    IzpisNastavitve(izhod, 2);
    izhod << "  (" << std::setw(5) << std::sqrt(gtestA) << " - " << std::setw(5) << std::sqrt(gtestB) << ")"
          << "\n";
    IzpisNastavitve(izhod, 4);
    izhod << B(Besedilo::GlobalniNadstevilnost) << std::setw(10) << rsum << "\n";
    izhod << B(Besedilo::GlobalniPovprecnaNadstevilnost) << std::setw(10) << rpovp << "\n";
    izhod << B(Besedilo::GlobalniVarianca) << std::setw(13)
          << B(procset.GetIfVarApriori() == 0 ? Besedilo::GlobalniAposteriori : Besedilo::GlobalniApriori) << "\n\n\n";
}

void CGMMSol::PrintResults(std::ostream& izhod) const
{
    CRezultati rez;
    rez.SetPrehod(procset, GMM, Prehod());
    PrintResults(izhod, rez);
}

void CGMMSol::PrintResults(std::ostream& izhod, const CRezultati& rez) const
{
    const unsigned short Dim = procset.GetDim();
    const unsigned short XVel = procset.GetXVel();
    const bool sled = procset.GetContPrint() != 0;
    const Besedilo naslov = Dim < 2 ? (XVel ? Besedilo::NaslovVisineHitrosti : Besedilo::NaslovVisine)
                                    : (XVel ? Besedilo::NaslovKoordinateHitrosti : Besedilo::NaslovKoordinate);
    PodNaslov(izhod, B(naslov), 1);
    izhod << "\n";
    const std::size_t L = GMMSolResHeadPrint(izhod, Dim, XVel);
    if (Dim == 1) {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint1(...)" << "\n";
        GMMSolResBodyPrint1(izhod, rez, XVel);
    } else if (Dim == 2) {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint2(...)" << "\n";
        GMMSolResBodyPrint2(izhod, rez, XVel);
    } else {
        if (sled) std::cout << " F: PrintResults(ostream & izhod) -> GMMSolResBodyPrint3(...)" << "\n";
        GMMSolResBodyPrint3(izhod, rez, XVel);
    }
    izhod << std::string(L, '-') << "\n\n\n";
    if (procset.IfEstkRef) GMMSolPrintRefKoeficient(izhod, procset.kRefType, rez);
}

namespace {
const char* const kOsKorelacij[3] = {"X", "Y", "Z"};

// The correlation table of the unknowns: its head, and its rows formed a
// batch at a time while the batch before is written.
//
// A row of the table is a column of the cofactors, formatted into one
// buffer and written at once: a national network has millions of entries
// per pass.  The rows are formed kVrstic at a time by the helper threads
// (the columns too, where the solution allows it after the first), and
// written in their order.
class TabelaKorelacij {
public:
    // prva: the first unknown of each point of the table (tocke).
    TabelaKorelacij(std::ostream& izhod, const CRezultati& rez, const matrika<std::string>& PTS,
                    const std::vector<long>& tocke, const std::vector<long>& prva, unsigned short Dim, long dim)
        : izhod(izhod), rez(rez), PTS(PTS), tocke(tocke), Dim(Dim), dim(dim),
          sirinaTocke(2 + 6 * static_cast<std::size_t>(dim))
    {
        for (std::size_t a = 0; a < tocke.size(); ++a)
            for (long d = 0; d < dim; ++d) vrste.push_back({prva[a] + d, a, d});
        kor.resize(std::min(kVrstic, vrste.size()));
        besedilo.resize(kor.size());
        prvaNeznanka.resize(tocke.size());
        for (std::size_t b = 0; b < tocke.size(); ++b) prvaNeznanka[b] = static_cast<std::size_t>(prva[b]);
        korD.resize(kor.size());
        prejsnje.resize(kor.size());
    }

    // The two head lines: the points' numbers with their axes, and the rule.
    void Glava() const;
    // The rows, batch by batch, and the closing rule.
    void Vrstice();

private:
    struct Vrsta {
        long i;          // the unknown
        std::size_t a;   // the point
        long d;          // its axis
    };
    static constexpr std::size_t kVrstic = 32;

    // Row k of the batch from the correlations in long double.
    void Oblikuj(std::size_t k);
    // Row k of the batch from the correlations in double, where every
    // field is written so; false where one is not (the row is then formed
    // again from the long doubles).
    bool OblikujDvojno(std::size_t k);
    // The rows of the batch before, each after its point's name and axis.
    void Zapisi() const;

    std::ostream& izhod;
    const CRezultati& rez;
    const matrika<std::string>& PTS;
    const std::vector<long>& tocke;
    const unsigned short Dim;
    const long dim;
    const std::size_t sirinaTocke;
    std::vector<Vrsta> vrste;
    std::vector<std::vector<real>> kor;
    std::vector<std::string> besedilo;
    // The row's text is written into its buffer in place while every
    // field has 6 characters (the correlations), appended from the first
    // that has not.
    std::vector<std::size_t> prvaNeznanka;
    std::vector<std::vector<double>> korD;
    // The rows of one batch are written while the next batch is formed
    // (the write is one task of the batch's loop, on whichever thread takes
    // it first), from the other of two sets of buffers.
    std::vector<std::string> prejsnje;
    std::size_t zPrej = 0, mPrej = 0;
};

void TabelaKorelacij::Glava() const
{
    izhod << std::setw(12) << " ";
    for (std::size_t k = 0; k < tocke.size(); ++k) {
        izhod << "  ";
        for (long d = 0; d < dim; ++d) {
            izhod << std::setw(4) << k + 1;
            if (Dim == 1) izhod << "  ";
            else izhod << kOsKorelacij[d] << " ";
        }
    }
    izhod << "\n";
    izhod << std::string(12, '-');
    for (std::size_t k = 0; k < tocke.size(); ++k) izhod << "--" << std::string(static_cast<std::size_t>(6 * dim), '-');
    izhod << "\n";
}

void TabelaKorelacij::Oblikuj(std::size_t k)
{
    std::string& vrstica = besedilo[k];
    const real* r = kor[k].data();
    vrstica.resize(tocke.size() * sirinaTocke + 1);
    char* z = vrstica.data();
    std::size_t b = 0;
    for (; b < tocke.size(); ++b, z += sirinaTocke) {
        z[0] = z[1] = ' ';
        const real* rb = r + prvaNeznanka[b];
        long e = 0;
        while (e < dim && Korelacija6(z + 2 + 6 * e, rb[e])) ++e;
        if (e < dim) break;
    }
    vrstica.resize(static_cast<std::size_t>(z - vrstica.data()));
    for (; b < tocke.size(); ++b) {
        vrstica += "  ";
        for (long e = 0; e < dim; ++e) DodajFiksno(vrstica, r[prvaNeznanka[b] + static_cast<std::size_t>(e)], 6, 2);
    }
    vrstica += '\n';
}

bool TabelaKorelacij::OblikujDvojno(std::size_t k)
{
    std::string& vrstica = besedilo[k];
    const double* r = korD[k].data();
    vrstica.resize(tocke.size() * sirinaTocke + 1);
    char* z = vrstica.data();
    for (std::size_t b = 0; b < tocke.size(); ++b, z += sirinaTocke) {
        z[0] = z[1] = ' ';
        const double* rb = r + prvaNeznanka[b];
        for (long e = 0; e < dim; ++e)
            if (!Korelacija6(z + 2 + 6 * e, rb[e])) return false;
    }
    *z = '\n';
    return true;
}

void TabelaKorelacij::Zapisi() const
{
    for (std::size_t k = 0; k < mPrej; ++k) {
        const Vrsta& v = vrste[zPrej + k];
        if (v.d == 0) {
            izhod << std::setw(3) << v.a + 1;
            TerObsTxt(izhod, PTS(tocke[v.a]), 6);
            izhod << std::setw(3) << (Dim == 1 ? "H" : kOsKorelacij[v.d]);
        } else {
            izhod << std::setw(12) << kOsKorelacij[v.d];
        }
        izhod.write(prejsnje[k].data(), static_cast<std::streamsize>(prejsnje[k].size()));
        if (Dim > 1 && v.d == dim - 1 && v.a + 1 < tocke.size()) izhod << "\n";
    }
}

void TabelaKorelacij::Vrstice()
{
    const std::size_t W = 12 + tocke.size() * static_cast<std::size_t>(2 + 6 * dim);
    const int niti = vzporedno::Jedra();
    for (std::size_t z = 0; z < vrste.size(); z += kVrstic) {
        const std::size_t m = std::min(kVrstic, vrste.size() - z);
        const bool hkrati = z > 0 && rez.Kofaktorji().StolpciHkrati();
        if (!hkrati)
            for (std::size_t k = 0; k < m; ++k) rez.KorelacijeVrstice(vrste[z + k].i, kor[k]);
        vzporedno::Vzporedno(static_cast<long>(m + 1), static_cast<double>(m) * static_cast<double>(tocke.size()) * 100.0,
                             niti, [&](long k) {
                                 if (k == 0) return Zapisi();
                                 const std::size_t kk = static_cast<std::size_t>(k - 1);
                                 const long i = vrste[z + kk].i;
                                 if (hkrati && rez.KorelacijeVrsticeDvojno(i, korD[kk]) && OblikujDvojno(kk)) return;
                                 if (hkrati) rez.KorelacijeVrstice(i, kor[kk]);
                                 Oblikuj(kk);
                             });
        besedilo.swap(prejsnje);
        zPrej = z;
        mPrej = m;
    }
    Zapisi();
    izhod << std::string(W, '-') << "\n\n\n";
}
}  // namespace

void CGMMSol::PrintCorrUnknown(std::ostream& izhod, const CRezultati& rez) const
{
    if (!procset.GetizpisCorrUnk()) return;
    if (procset.GetContPrint()) std::cout << " F: PrintCorrUnknown(ostream & izhod)" << "\n";
    const unsigned short Dim = procset.GetDim();
    const long dim = Dim < 1 ? 1 : (Dim > 3 ? 3 : Dim);
    const matrika<std::string>& PTS = Dim == 1 ? TOHA.PTS : TOCrdA.PTS;

    PodNaslov(izhod, B(Besedilo::NaslovKorelacije), 1);
    izhod << "\n" << std::right;
    IzpisNastavitve(izhod, 2);

    std::vector<long> tocke;  // list positions of the points with unknowns
    std::vector<long> prva;   // the first unknown of each
    for (long p = 0; p < static_cast<long>(PTS.nrow()); ++p)
        if (GMM.iDeltaB(p) >= 0) {
            tocke.push_back(p);
            prva.push_back(GMM.iDeltaB(p));
        }

    TabelaKorelacij tabela(izhod, rez, PTS, tocke, prva, Dim, dim);
    tabela.Glava();
    tabela.Vrstice();
}
