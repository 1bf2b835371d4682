// Solution and stochastic model: small levelling networks put straight into
// the model, with correlated weights against an independent generalised least
// squares, datum H and D against the closed forms of a loop, and singular
// systems refused. The global test is held by the whole adjustments and the
// golden reports.
#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>

#include "matrika/inv.h"
#include "matrika/normm.h"
#include "matrika/razcepPomoc.h"
#include "src/CRezultati.h"
#include "src/FGMMSolMat.h"
#include "src/Nivex.h"
#include "src/NivexAux.h"

using namespace razceptest;

namespace {
const char* const kMetode[] = {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"};

struct Hdif {
    int i, j;  // from point i to point j (list positions)
    long double h, sigma;
};

// The model of a levelling network: unknown column of each point (-1 fixed),
// heights 100, 101, ..., the observations and below them the datum rows of
// unit weight; rho correlates the rows 0-1, 2-3, ... (band Qll, block
// weights).  Datum H and D: Hdat = 1/sqrt(u) in every column, the datum rows
// are Hred or Ddat.  B, Q, P = Q^-1 (Gauss-Jordan of the full matrix) and f
// are kept for the reference solutions.
struct Mreza {
    CNivex n;
    M B, Q, P, f;

    Mreza(const std::string& nastavitve, char datum, const std::vector<int>& iDeltaB, const std::vector<Hdif>& obs,
          long double So, const M& datumske = M(), long double rho = 0.0L)
    {
        const std::string pot = Datoteka("*DIM 1\n" + nastavitve + "\nX A 100\nX B 101\nX C 102\nX D 103\n*K\n");
        std::ostringstream porocilo;
        n.procset.ReadProcSet(pot, porocilo);
        CGMM& G = n.GMM;
        n.gdatum.Datum = datum;
        const long nobs = static_cast<long>(obs.size()), m = nobs + static_cast<long>(datumske.nrow()),
                   np = static_cast<long>(iDeltaB.size()), u = np - std::count(iDeltaB.begin(), iDeltaB.end(), -1);
        n.TO.TOHA.SetPar(np, 0, 0);
        G.iDeltaB.resize(np, 1);
        for (long p = 0; p < np; ++p) {
            n.TO.TOHA.PTS(p) = std::string(1, static_cast<char>('A' + p));
            n.TO.TOHA.OBS(p) = 100.0L + p;
            G.iDeltaB(p) = iDeltaB[p];
        }
        G.So = So;
        G.nobs = static_cast<std::int32_t>(nobs);
        G.nredund = static_cast<std::int32_t>(nobs - u);
        B.resize(m, u, 0.0L);
        Q.resize(m, m, 0.0L);
        f.resize(m, 1, 0.0L);
        if (m > nobs) B(datumske, nobs, 0);
        for (long k = 0; k < m; ++k) {
            Q(k, k) = k < nobs ? (obs[k].sigma * obs[k].sigma) / (So * So) : 1.0L;
            if (k >= nobs) continue;
            f(k) = (obs[k].j - obs[k].i) - obs[k].h;
            if (iDeltaB[obs[k].j] >= 0) B(k, iDeltaB[obs[k].j]) = -1.0L;
            if (iDeltaB[obs[k].i] >= 0) B(k, iDeltaB[obs[k].i]) = 1.0L;
            if (k % 2 == 1) Q(k, k - 1) = Q(k - 1, k) = rho * std::sqrt(Q(k, k) * Q(k - 1, k - 1));
        }
        P = inv(Q);
        G.Qlldiag = rho == 0.0L;
        G.Bmat = B;
        G.fvec = f;
        G.Qll.resize(m, 3, 0.0L);
        G.Pll.resize(G.Qlldiag ? m : 0, 1, 0.0L);
        for (long i = 0; i < m; ++i) {
            for (long j = 0; j < 3; ++j)
                if (i + j >= 1 && i + j <= m) G.Qll(i, j) = Q(i, i + j - 1);
            if (G.Qlldiag) G.Pll(i) = P(i, i);
        }
        if (!G.Qlldiag) G.PllB = invtridB(G.Qll);
        if (datum == 'H' || datum == 'D') {
            G.nHdat = n.gdatum.nD = 1;
            G.Hdat.resize(1, u, 1.0L / std::sqrt(static_cast<long double>(u)));
            (datum == 'H' ? G.Hred : G.Ddat) = datumske;
        }
    }

    void Resi(bool gosto = false)
    {
        n.GMMS.gosto = gosto;
        n.GMMS.SetPar();
        const IzidResitve izid = n.GMMS.SolveFuncModel();
        if (!izid) NivexError(izid.sporocilo);
        n.GMMS.SolveStohModel();
    }
};

// The cofactors of the unknowns as the solution gives them out.
M Kofaktorji(const CGMMSol& s)
{
    const long u = static_cast<long>(s.xunk.nrow());
    M Q(u, u, 0.0L);
    for (long i = 0; i < u; ++i)
        for (long j = 0; j < u; ++j) Q(i, j) = s.Qxx(i, j);
    return Q;
}

std::string Nastavitve(const std::string& metoda, int matfull = 1)
{
    return "*NUMSOLV " + metoda + "\n*MATFULL " + std::to_string(matfull);
}

// Four points, A fixed, the six height differences between them: u = 3, f = 3.
const std::vector<Hdif> kObs4 = {{0, 1, 1.0021L, 0.0010L}, {0, 2, 1.9964L, 0.0020L}, {0, 3, 3.0043L, 0.0015L},
                                 {1, 2, 0.9951L, 0.0010L}, {1, 3, 2.0012L, 0.0025L}, {2, 3, 1.0037L, 0.0010L}};
// Loop A-B-C-A, misclosure 6 mm, cofactors 1, 4, 1 (sigma0 1 mm).  With A
// fixed: corrections of B, C 1 and -8 mm, Qxx = [[5, 1], [1, 5]] / 6,
// v'Pv = w^2 / sum q = 6e-6.
const std::vector<Hdif> kZanka = {{0, 1, 1.002L, 0.001L}, {1, 2, 0.995L, 0.002L}, {2, 0, -1.991L, 0.001L}};
}  // namespace

// The adjustments below hold the other products. A reused output is
// overwritten, not added to; A B' (the datum correction) by hand.
TEST(FGMMSolMat, ProduktiNaRoko)
{
    const M A = Iz({{1, 2}, {3, 4}, {5, 6}});
    M n(2, 1, 9.0L), Y;
    AtBprod(A, Iz({{1}, {0}, {2}}), n);
    ABtprod(Iz({{1, 2}, {3, 4}}), Iz({{5, 6}}), Y);
    EXPECT_EQ(Razlika(n, Iz({{11}, {14}})), 0.0L);
    EXPECT_EQ(Razlika(Y, Iz({{17}, {39}})), 0.0L);
    PricakujNapako(RunChild([&] { AtBprod(A, Iz({{1}, {2}}), Y); }),
                   "Funkcija:   AtBprod\nDimenziji matrik napacni: ", "src/FGMMSolMat");
}

// Correlated weights with every method against generalised least squares:
// Qxx = (B'PB)^-1, x = Qxx B'Pf, v = f - Bx, Qvv = Q - B Qxx B', sigma0 from
// v'Pv; the redundancy numbers sum to f = 3.  Without full matrices R and
// rsum are zero and Qvv the same.
TEST(CGMMSol, KoreliraneUtezi)
{
    // Every method's own decomposition, and once the sparse solution that
    // every method but the SVD runs.
    for (const char* m : kMetode)
      for (bool gosto : {false, true}) {
        if (!gosto && std::string(m) != "NS") continue;
        SCOPED_TRACE(std::string(m) + (gosto ? " dense" : " sparse"));
        Mreza mr(Nastavitve(m), 'V', {-1, 0, 1, 2}, kObs4, 0.0015L, M(), 0.4L);
        Mreza opt(Nastavitve(m, 0), 'V', {-1, 0, 1, 2}, kObs4, 0.0015L, M(), 0.4L);
        mr.Resi(gosto);
        opt.Resi(gosto);
        const CGMMSol &s = mr.n.GMMS, &so = opt.n.GMMS;
        const M BtP = transpon(mr.B) * mr.P, Qxx = inv(BtP * mr.B), x = Qxx * (BtP * mr.f), v = mr.f - mr.B * x;
        const M BQB = mr.B * Qxx * transpon(mr.B), vPv = transpon(v) * mr.P * v;
        EXPECT_LT(Razlika(s.xunk, x), 1e-15L);
        EXPECT_LT(Razlika(Kofaktorji(s), Qxx), 1e-12L * Razlika(Qxx));
        EXPECT_LT(Razlika(s.vvec, v), 1e-18L);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(s.Qvv(i), mr.Q(i, i) - BQB(i, i), 1e-15L);
            EXPECT_TRUE(so.Qvv(i) == s.Qvv(i) && so.R(i) == 0.0L);
        }
        EXPECT_NEAR(s.GetNormX(), norm(x), 1e-18L);
        EXPECT_NEAR(s.SoI, std::sqrt(vPv(0) / 3.0L), 1e-12L * s.SoI);
        EXPECT_NEAR(s.rsum, 3.0L, 1e-12L);
        EXPECT_EQ(so.rsum + so.rpovp, 0.0L);
    }
}

// Datum D (height of A given) gives the solution with A fixed; datum H the
// minimum-norm one, its S-transform with S = I - J/3: x_H = x_V - mean(x_V)
// = (7, 10, -17) / 3 mm, Q_H = S Q_V S = [[4, -2, -2], [-2, 7, -5], [-2, -5, 7]] / 18.
// Every method; SVD copes with H without constraint rows.  f = nredund (0) +
// nHdat (1) = nredund + nD: sigma0 sqrt(6) mm.
TEST(CGMMSol, DatumHinD)
{
    const M xV = Iz({{0}, {1e-3L}, {-8e-3L}}), xH = Iz({{7e-3L / 3}, {10e-3L / 3}, {-17e-3L / 3}});
    M QV = Iz({{0, 0, 0}, {0, 5, 1}, {0, 1, 5}}), QH = Iz({{4, -2, -2}, {-2, 7, -5}, {-2, -5, 7}});
    QV *= 1.0L / 6;
    QH *= 1.0L / 18;
    const long double h = 1.0L / std::sqrt(3.0L);
    for (const char* m : kMetode)
        for (char datum : {'H', 'D'})
          for (bool gosto : {false, true}) {
            if (!gosto && std::string(m) != "NS") continue;
            SCOPED_TRACE(std::string(m) + " " + datum + (gosto ? " dense" : " sparse"));
            const M vrstice = datum == 'D' ? Iz({{1, 0, 0}}) : std::string(m) == "SVD" ? M() : Iz({{h, h, h}});
            Mreza mr(Nastavitve(m), datum, {0, 1, 2}, kZanka, 0.001L, vrstice);
            mr.Resi(gosto);
            EXPECT_LT(Razlika(mr.n.GMMS.xunk, datum == 'D' ? xV : xH), 1e-15L);
            EXPECT_LT(Razlika(Kofaktorji(mr.n.GMMS), datum == 'D' ? QV : QH), 1e-12L);
            EXPECT_NEAR(mr.n.GMMS.SoI, std::sqrt(6e-6L), 1e-15L);
        }
}

// The results of a pass keep the cofactors they were set from when the
// solution is gone: the loop under datum H, sparse and dense (SVD), its
// cofactors Q_H and correlations Q_ij / sqrt(Q_ii Q_jj) read from the
// results after the whole program object is destroyed.
TEST(CRezultati, KofaktorjiBrezResitve)
{
    M QH = Iz({{4, -2, -2}, {-2, 7, -5}, {-2, -5, 7}});
    QH *= 1.0L / 18;
    const long double h = 1.0L / std::sqrt(3.0L);
    for (bool gosto : {false, true}) {
        SCOPED_TRACE(gosto ? "SVD" : "sparse");
        CRezultati rez;
        {
            auto mr = std::make_unique<Mreza>(Nastavitve(gosto ? "SVD" : "CH"), 'H', std::vector<int>{0, 1, 2}, kZanka,
                                              0.001L, gosto ? M() : Iz({{h, h, h}}));
            mr->Resi(gosto);
            rez.SetPrehod(mr->n.procset, mr->n.GMM, mr->n.GMMS.Prehod());
        }
        const KofaktorjiNeznank& Q = rez.Kofaktorji();
        ASSERT_FALSE(Q.Prazni());
        std::vector<long double> stolpec(3), r(3);
        for (long j = 0; j < 3; ++j) {
            Q.Stolpec(j, stolpec);
            rez.KorelacijeVrstice(j, r);
            for (long i = 0; i < 3; ++i) {
                EXPECT_NEAR(Q(i, j), QH(i, j), 1e-15L) << i << " " << j;
                EXPECT_NEAR(stolpec[i], QH(i, j), 1e-15L) << i << " " << j;
                EXPECT_NEAR(r[i], QH(i, j) / std::sqrt(QH(i, i) * QH(j, j)), 1e-14L) << i << " " << j;
            }
        }
        EXPECT_NEAR(rez.tocke[1].koordinate.sig[0], std::sqrt(6e-6L * 7.0L / 18), 1e-15L);
    }
}

// Systems the datum does not fix end the run with a message before anything
// is printed, never with numbers that are not numbers: a free network under
// datum P (SVD gives the minimum-norm solution instead), two unknowns whose
// columns differ by 5e-8 (pivots above the tolerances of the decompositions,
// variance inflated beyond 1e14), and minimal constraints that fix no height.
TEST(CGMMSol, SingularniSistemi)
{
    auto Tek = [](const char* m, char datum, int primer) {
        return RunChild([=] {
            std::vector<Hdif> obs = kZanka;
            obs.push_back({0, 1, 1.0015L, 0.001L});
            Mreza mr(Nastavitve(m), datum, {0, 1, 2}, obs, 0.001L, datum == 'D' ? Iz({{1, -1, 0}}) : M());
            for (long i = 0; i < 4 && primer == 1; ++i)
                mr.n.GMM.Bmat(i, 0) = 1.0L, mr.n.GMM.Bmat(i, 1) = 1.0L + (i % 3 - 1) * 5e-8L;
            mr.Resi(true);
            mr.n.GMMS.PrintResults(std::cout);
        });
    };
    // The loop alone leaves the common height of A, B, C free, the nearly
    // equal columns of A and B their difference: every method, the SVD too,
    // refuses the system and names those points, without printing a result.
    const std::string nedoloceno = " **** Mreza ni dolocena - opazovanja in datum ne dolocajo: ";
    for (int k = 0; k < 8; ++k) {
        const std::string m = kMetode[k];
        SCOPED_TRACE(m);
        const Izid r0 = Tek(kMetode[k], 'P', 0), r1 = m == "SVD" ? r0 : Tek(kMetode[k], 'P', 1);
        for (const Izid& r : {r0, r1}) {
            EXPECT_EQ(r.status, 1) << r.out;
            EXPECT_EQ(r.out.find("OCENJENE VISINE"), std::string::npos) << r.out;
        }
        EXPECT_NE(r0.out.find(nedoloceno + "A (H), B (H), C (H)      *** "), std::string::npos) << r0.out;
        EXPECT_TRUE(m == "SVD" || r1.out.find(nedoloceno + "A (H), B (H)      *** ") != std::string::npos) << r1.out;
    }
    // A constraint on the difference of A and B fixes no height: the SVD's
    // rank shows it.
    const Izid r = Tek("SVD", 'D', 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(nedoloceno + "A (H), B (H), C (H)      *** "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("OCENJENE VISINE"), std::string::npos) << r.out;
}
