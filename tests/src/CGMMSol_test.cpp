// Solution, stochastic model and report on small levelling networks put
// straight into the model: correlated weights against an independent
// generalised least squares, datum H and D against the closed forms of a
// loop, the global test, exact report lines, and singular systems refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/Nivex.h"

namespace {
using Mat = std::vector<std::vector<long double>>;
const char* const kMetode[] = {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"};

Mat Nicelna(std::size_t r, std::size_t c) { return Mat(r, std::vector<long double>(c, 0.0L)); }

matrika<long double> M(const Mat& v)
{
    matrika<long double> A(v.size(), v.empty() ? 0 : v[0].size());
    for (std::size_t i = 0; i < A.nrow(); ++i)
        for (std::size_t j = 0; j < A.ncol(); ++j) A(i, j) = v[i][j];
    return A;
}

struct Hdif {
    int i, j;  // from point i to point j (list positions)
    long double h, sigma;
};

// The model of a levelling network: unknown column of each point (-1 fixed),
// heights 100, 101, ..., the observations and below them datum rows of unit
// weight; rho correlates the rows 0-1, 2-3, ... (full weights).  Datum H and
// D: Hdat = 1/sqrt(u) in every column, the datum rows are Hred or Ddat.
struct Mreza {
    CNivex n;
    Mat B, Q, P;
    std::vector<long double> f;

    Mreza(const std::string& nastavitve, char datum, const std::vector<int>& iDeltaB, const std::vector<Hdif>& obs,
          long double So, const Mat& datumske = {}, long double rho = 0.0L)
    {
        const std::string pot = TempDir("gmmsol") + "/mreza.dat";
        WriteFile(pot, "*DIM 1\n" + nastavitve + "\nX A 100\nX B 101\nX C 102\nX D 103\n*K\n");
        std::ostringstream porocilo;
        n.procset.ReadProcSet(pot, porocilo);
        CGMM& G = n.GMM;
        n.gdatum.Datum = datum;
        const std::size_t nobs = obs.size(), m = nobs + datumske.size(), np = iDeltaB.size();
        const std::size_t u = np - std::count(iDeltaB.begin(), iDeltaB.end(), -1);
        n.TO.TOHA.SetPar(np, 0, 0);
        G.iDeltaB.resize(np, 1);
        for (std::size_t p = 0; p < np; ++p) {
            n.TO.TOHA.PTS(p) = std::string(1, static_cast<char>('A' + p));
            n.TO.TOHA.OBS(p) = 100.0L + p;
            G.iDeltaB(p) = iDeltaB[p];
        }
        G.So = So;
        G.nobs = static_cast<std::int32_t>(nobs);
        G.nredund = static_cast<std::int32_t>(nobs - u);
        B = datumske;
        B.insert(B.begin(), nobs, std::vector<long double>(u, 0.0L));
        Q = Nicelna(m, m);
        for (std::size_t k = 0; k < m; ++k) {
            Q[k][k] = k < nobs ? (obs[k].sigma * obs[k].sigma) / (So * So) : 1.0L;
            f.push_back(k < nobs ? (obs[k].j - obs[k].i) - obs[k].h : 0.0L);
            if (k < nobs && iDeltaB[obs[k].j] >= 0) B[k][iDeltaB[obs[k].j]] = -1.0L;
            if (k < nobs && iDeltaB[obs[k].i] >= 0) B[k][iDeltaB[obs[k].i]] = 1.0L;
            if (k % 2 == 1 && k < nobs) Q[k][k - 1] = Q[k - 1][k] = rho * std::sqrt(Q[k][k] * Q[k - 1][k - 1]);
        }
        P = Nicelna(m, m);  // blocks of two rows
        for (std::size_t k = 0; k < m; k += 2) {
            const long double d = k + 1 < m ? Q[k][k] * Q[k + 1][k + 1] - Q[k][k + 1] * Q[k][k + 1] : Q[k][k];
            P[k][k] = k + 1 < m ? Q[k + 1][k + 1] / d : 1.0L / d;
            if (k + 1 < m) P[k + 1][k + 1] = Q[k][k] / d, P[k][k + 1] = P[k + 1][k] = -Q[k][k + 1] / d;
        }
        G.Qlldiag = rho == 0.0L;
        G.Bmat = M(B);
        G.fvec.resize(m, 1, 0.0L);
        G.Qll.resize(m, 3, 0.0L);
        G.Pll.resize(G.Qlldiag ? m : 0, 1, 0.0L);
        for (std::size_t i = 0; i < m; ++i) {
            G.fvec(i) = f[i];
            for (std::size_t j = 0; j < 3; ++j) G.Qll(i, j) = i + j >= 1 && i + j <= m ? Q[i][i + j - 1] : 0.0L;
            if (G.Qlldiag) G.Pll(i) = P[i][i];
        }
        if (!G.Qlldiag) G.PllB = bdmatrika::IzPolne(M(P));
        if (datum == 'H' || datum == 'D') {
            G.nHdat = n.gdatum.nD = 1;
            G.Hdat.resize(1, u, 1.0L / std::sqrt(static_cast<long double>(u)));
            (datum == 'H' ? G.Hred : G.Ddat) = M(datumske);
        }
    }

    void Resi()
    {
        n.GMMS.SetPar();
        n.GMMS.SolveFuncModel();
        n.GMMS.SolveStohModel();
    }
};

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

// Correlated weights (band Qll, full P) with every method: Qdd inverts
// N = B'PB, x solves N x = B'Pf; residuals, sigma0 and Qvv = Q - B Qdd B'
// follow; the redundancy numbers sum to f = 3.  Without full matrices R and
// rsum are zero and Qvv the same.
TEST(CGMMSol, KoreliraneUtezi)
{
    for (const char* m : kMetode) {
        SCOPED_TRACE(m);
        Mreza mr(Nastavitve(m), 'V', {-1, 0, 1, 2}, kObs4, 0.0015L, {}, 0.4L);
        Mreza opt(Nastavitve(m, 0), 'V', {-1, 0, 1, 2}, kObs4, 0.0015L, {}, 0.4L);
        mr.Resi();
        opt.Resi();
        const CGMMSol &s = mr.n.GMMS, &so = opt.n.GMMS;
        Mat N = Nicelna(3, 3);
        std::vector<long double> n(3, 0.0L), v = mr.f;
        for (int k = 0; k < 6; ++k)
            for (int l = 0; l < 6; ++l)
                for (int i = 0; i < 3; ++i) {
                    n[i] += mr.B[k][i] * mr.P[k][l] * mr.f[l];
                    for (int j = 0; j < 3; ++j) N[i][j] += mr.B[k][i] * mr.P[k][l] * mr.B[l][j];
                }
        long double vpv = 0.0L;
        for (int i = 0; i < 3; ++i) {
            long double Nx = 0.0L;
            for (int j = 0; j < 3; ++j) {
                long double QN = 0.0L;
                for (int k = 0; k < 3; ++k) QN += s.Qdd(i, k) * N[k][j];
                EXPECT_NEAR(QN, i == j, 1e-12L);
                Nx += N[i][j] * s.xunk(j);
            }
            EXPECT_NEAR(Nx, n[i], 1e-15L);
        }
        for (int i = 0; i < 6; ++i) {
            long double qvv = mr.Q[i][i];
            for (int a = 0; a < 3; ++a) {
                v[i] -= mr.B[i][a] * s.xunk(a);
                for (int b = 0; b < 3; ++b) qvv -= mr.B[i][a] * s.Qdd(a, b) * mr.B[i][b];
            }
            EXPECT_NEAR(s.vvec(i), v[i], 1e-18L);
            EXPECT_NEAR(s.Qvv(i), qvv, 1e-15L);
            EXPECT_EQ(so.Qvv(i), s.Qvv(i));
            EXPECT_EQ(so.R(i), 0.0L);
        }
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) vpv += v[i] * mr.P[i][j] * v[j];
        const long double x2 = s.xunk(0) * s.xunk(0) + s.xunk(1) * s.xunk(1) + s.xunk(2) * s.xunk(2);
        EXPECT_NEAR(s.GetNormX(), std::sqrt(x2), 1e-18L);
        EXPECT_EQ(s.nIter, 1);
        EXPECT_NEAR(s.SoI, std::sqrt(vpv / 3.0L), 1e-12L * s.SoI);
        EXPECT_NEAR(s.rsum, 3.0L, 1e-12L);  // sum of R(i)
        EXPECT_NEAR(s.rpovp, 0.5L, 1e-12L);
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
    const long double xV[] = {0.0L, 0.001L, -0.008L}, xH[] = {7e-3L / 3, 10e-3L / 3, -17e-3L / 3};
    const Mat QV = {{0, 0, 0}, {0, 5.0L / 6, 1.0L / 6}, {0, 1.0L / 6, 5.0L / 6}},
              QH = {{4.0L / 18, -2.0L / 18, -2.0L / 18},
                    {-2.0L / 18, 7.0L / 18, -5.0L / 18},
                    {-2.0L / 18, -5.0L / 18, 7.0L / 18}};
    const long double h = 1.0L / std::sqrt(3.0L);
    for (const char* m : kMetode) {
        const bool svd = std::string(m) == "SVD";
        for (char datum : {'H', 'D'}) {
            SCOPED_TRACE(std::string(m) + " " + datum);
            Mreza mr(Nastavitve(m), datum, {0, 1, 2}, kZanka, 0.001L,
                     datum == 'D' ? Mat{{1, 0, 0}} : svd ? Mat{} : Mat{{h, h, h}});
            mr.Resi();
            const CGMMSol& s = mr.n.GMMS;
            for (int i = 0; i < 3; ++i) {
                EXPECT_NEAR(s.xunk(i), datum == 'D' ? xV[i] : xH[i], 1e-15L);
                for (int j = 0; j < 3; ++j) EXPECT_NEAR(s.Qdd(i, j), datum == 'D' ? QV[i][j] : QH[i][j], 1e-12L);
            }
            EXPECT_NEAR(s.SoI, std::sqrt(6e-6L), 1e-15L);
        }
    }
}

// Global test of the loop with A fixed (statistic 6 outside the 95 % interval
// 0.00098 - 5.02 of f = 1) passes with twice the sigmas against sigma0 2 mm
// (statistic 1.5), and APRIORI then scales by sigma0^2.  No redundancy: sigma0
// a-posteriori, statistic and bounds 0, nothing divided by zero.
TEST(CGMMSol, GlobalniTest)
{
    std::vector<Hdif> dvakrat = kZanka;
    for (auto& o : dvakrat) o.sigma *= 2;
    Mreza mr("*S02 APRIORI\n*ICORRUNK 0", 'V', {-1, 0, 1}, dvakrat, 0.002L);
    mr.Resi();
    const CGMMSol& s = mr.n.GMMS;
    std::ostringstream prazno;  // no correlations without *ICORRUNK
    mr.n.GMMS.PrintCorrUnknown(prazno);
    EXPECT_EQ(prazno.str(), "");
    EXPECT_NEAR(s.gtest, 1.5L, 1e-12L);
    EXPECT_TRUE(s.gtestA <= s.gtest && s.gtest <= s.gtestB);
    EXPECT_NEAR(s.gtestB, 5.023886L, 1e-5L);
    EXPECT_NEAR(s.SoIIzracun, 4e-6L, 1e-18L);
    EXPECT_NEAR(s.xunk(1), -0.008L, 1e-15L);

    Mreza m0(Nastavitve("QRGIV"), 'V', {-1, 0, 1}, {kZanka[0], kZanka[1]}, 0.001L);
    m0.Resi();
    const CGMMSol& s0 = m0.n.GMMS;
    EXPECT_EQ(s0.SoI + s0.gtest + s0.gtestA + s0.gtestB, 0.0L);
    EXPECT_NEAR(s0.xunk(1), -0.003L, 1e-15L);
}

// Exact report lines of the loop: summary, adjusted heights written back
// into the point list, correlations.
TEST(CGMMSol, IzpisNivelmanskeZanke)
{
    Mreza mr(Nastavitve("CH"), 'V', {-1, 0, 1}, kZanka, 0.001L);
    mr.Resi();
    std::ostringstream izhod;
    mr.n.GMMS.PrintResultsSummary(izhod);
    mr.n.GMMS.PrintResults(izhod);
    mr.n.GMMS.PrintCorrUnknown(izhod);
    const std::vector<std::string> pricakovano = {
        "# ITERACIJ:" + std::string(37, ' ') + "2", "", "GLOBALNI TEST MODELA:",
        "Referencni stand. odklon a-priori:     " "    1.0000",
        "Referencni stand. odklon a-posteriori: " "    2.4495",
        "Verjetnost globalnega testa:           " "    0.9500",
        "Globalni test:                         " "    6.0000" "  ( 0.00 -  5.02)",
        "Globalni test [SQRT]:                  " "    2.4495" "  ( 0.03 -  2.24)",
        "Matrika nadstevilnosti [riri]:         " "    1.0000",
        "Povprecna nadstevilnost:               " "    0.3333",
        "Uporabljena ref. varianca v modelu: " "  APOSTERIORI", "", "",
        "OCENJENE VISINE  TOCK", std::string(21, '-'), "",
        "      TC         H0          dH            H           sH    ",
        "  1     A    100.000000    0.000000    100.000000    0.000000", "",
        "  2     B    101.000000    0.001000    101.001000    0.002236", "",
        "  3     C    102.000000   -0.008000    101.992000    0.002236", std::string(61, '-'), "", "",
        "KORELACIJE MED NEZNANKAMI", std::string(25, '-'), "",
        std::string(17, ' ') + "1" + std::string(7, ' ') + "2  ", std::string(28, '-'),
        "  1     B  H    1.00    0.20",
        "  2     C  H    0.20    1.00", std::string(28, '-'), "", ""};
    EXPECT_EQ(Lines(izhod.str()), pricakovano);
    EXPECT_EQ(mr.n.TO.TOHA.OBS(0), 100.0L);
    EXPECT_NEAR(mr.n.TO.TOHA.OBS(1), 101.001L, 1e-12L);
    EXPECT_NEAR(mr.n.TO.TOHA.OBS(2), 101.992L, 1e-12L);

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
            Mreza mr(Nastavitve(m), datum, {0, 1, 2}, obs, 0.001L, datum == 'D' ? Mat{{1, -1, 0}} : Mat{});
            for (long i = 0; i < 4 && primer == 1; ++i)
                mr.n.GMM.Bmat(i, 0) = 1.0L, mr.n.GMM.Bmat(i, 1) = 1.0L + (i % 3 - 1) * 5e-8L;
            mr.Resi();
            mr.n.GMMS.PrintResults(std::cout);
        });
    };
    const std::string gj = "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: ",
                      qr = "Funkcija:   qrr::inv\nMatrika je singularna: ";
    const std::string singularna[] = {gj, gj, "Funkcija: chr::razcep\nMatrika mora biti pozitivno semi definitna: ",
                                      qr, qr, qr, qr, ""};
    for (int k = 0; k < 8; ++k) {
        const std::string m = kMetode[k], oznaka = m.substr(0, 2) == "QR" ? "QR*" : m;
        SCOPED_TRACE(m);
        const Izid r0 = Tek(kMetode[k], 'P', 0);
        const Izid r1 = m == "SVD" ? r0 : Tek(kMetode[k], 'P', 1);
        for (const Izid& r : {r0, r1}) {
            EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;
            EXPECT_EQ(r.out.find("inf"), std::string::npos) << r.out;
            EXPECT_EQ(r.status == 0, m == "SVD") << r.out;
            EXPECT_EQ(r.out.find("OCENJENE VISINE") != std::string::npos, m == "SVD") << r.out;
        }
        EXPECT_NE(r0.out.find(singularna[k]), std::string::npos) << r0.out;
        const std::string gmm = " **** SINGULAREN SISTEM:    RESITEV GMM (Datum: P ali V   Ressist: " + oznaka + ")";
        if (m != "SVD") {
            EXPECT_NE(r1.out.find(gmm + "      *** "), std::string::npos) << r1.out;
        }
    }
    const Izid r = Tek("SVD", 'D', 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Funkcija:   chr::inv\nMatrika je singularna: "), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("OCENJENE VISINE"), std::string::npos) << r.out;
}
