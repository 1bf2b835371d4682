// Test networks for the solution: every object the solution talks to, with
// the model's matrices set up directly from a list of height differences, and
// an independent reference adjustment (plain dense Gauss-Jordan on the
// normal equations, written here and nowhere else).
#ifndef NIVEX_TESTS_SRC_GMMSOLTESTMREZA_H
#define NIVEX_TESTS_SRC_GMMSOLTESTMREZA_H

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMSol.h"
#include "src/CProcSet.h"
#include "src/CTerObsAngl.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsVec.h"

namespace gmmsol_test {

using Mat = std::vector<std::vector<long double>>;

inline Mat Nicelna(std::size_t r, std::size_t c) { return Mat(r, std::vector<long double>(c, 0.0L)); }

inline Mat Produkt(const Mat& A, const Mat& B)
{
    Mat C = Nicelna(A.size(), B[0].size());
    for (std::size_t i = 0; i < A.size(); ++i)
        for (std::size_t j = 0; j < B[0].size(); ++j)
            for (std::size_t k = 0; k < B.size(); ++k) C[i][j] += A[i][k] * B[k][j];
    return C;
}

inline Mat Transponiraj(const Mat& A)
{
    Mat T = Nicelna(A[0].size(), A.size());
    for (std::size_t i = 0; i < A.size(); ++i)
        for (std::size_t j = 0; j < A[0].size(); ++j) T[j][i] = A[i][j];
    return T;
}

// Gauss-Jordan with partial pivoting on [A | I].
inline Mat Inverz(Mat A)
{
    const std::size_t n = A.size();
    Mat X = Nicelna(n, n);
    for (std::size_t i = 0; i < n; ++i) X[i][i] = 1.0L;
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t p = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::fabs(A[i][k]) > std::fabs(A[p][k])) p = i;
        std::swap(A[p], A[k]);
        std::swap(X[p], X[k]);
        const long double d = A[k][k];
        for (std::size_t j = 0; j < n; ++j) {
            A[k][j] /= d;
            X[k][j] /= d;
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (i == k) continue;
            const long double f = A[i][k];
            for (std::size_t j = 0; j < n; ++j) {
                A[i][j] -= f * A[k][j];
                X[i][j] -= f * X[k][j];
            }
        }
    }
    return X;
}

// Generalised least squares x = (B'PB)^-1 B'Pf, Qxx, v = f - Bx, v'Pv.
struct Referenca {
    Mat Qxx;
    std::vector<long double> x, v;
    long double vpv = 0.0L;
};

inline Referenca Izravnaj(const Mat& B, const std::vector<long double>& f, const Mat& P)
{
    Referenca r;
    const Mat Bt = Transponiraj(B);
    const Mat BtP = Produkt(Bt, P);
    r.Qxx = Inverz(Produkt(BtP, B));
    Mat fm = Nicelna(f.size(), 1);
    for (std::size_t i = 0; i < f.size(); ++i) fm[i][0] = f[i];
    const Mat x = Produkt(r.Qxx, Produkt(BtP, fm));
    for (const auto& row : x) r.x.push_back(row[0]);
    for (std::size_t i = 0; i < B.size(); ++i) {
        long double s = f[i];
        for (std::size_t j = 0; j < r.x.size(); ++j) s -= B[i][j] * r.x[j];
        r.v.push_back(s);
    }
    for (std::size_t i = 0; i < f.size(); ++i)
        for (std::size_t j = 0; j < f.size(); ++j) r.vpv += r.v[i] * P[i][j] * r.v[j];
    return r;
}

// A height difference from point i to point j (list positions), observed
// value and standard deviation in metres.
struct Hdif {
    int i, j;
    long double h, sigma;
};

// Every object of the run that the solution holds a reference to.
struct Mreza {
    CProcSet procset;
    CGDatum gdatum;
    CTerObsDir dir, zen, azi;
    std::unique_ptr<CTerObsAngl> angl;
    CTerObsCrd crd;
    CTerObsCrdA crdA;
    CTerObsDist d2, d3;
    CTerObsH h;
    CTerObsHA hA;
    CTerObsHdif hdif;
    CTerObsVec vec;
    CTerObsPara para;
    std::unique_ptr<CGMM> GMM;
    std::unique_ptr<CGMMSol> sol;

    // Dense copies of what was put into the model, for the reference.
    Mat B, P;
    std::vector<long double> f;

    // settings: the star lines of the data file (the point lines are added).
    Mreza(const std::string& nastavitve, const std::vector<std::string>& imena, unsigned short dim = 1)
    {
        angl = std::make_unique<CTerObsAngl>(dir);
        std::ostringstream d;
        d << "*DIM " << dim << "\n" << nastavitve << "\n";
        for (const auto& ime : imena) {
            d << "X " << ime;
            for (unsigned short k = 0; k < dim; ++k) d << " 100.0";
            d << "\n";
        }
        d << "*K\n";
        const std::string pot = TempDir("gmmsol") + "/mreza.dat";
        WriteFile(pot, d.str());
        std::ostringstream porocilo;
        procset.ReadProcSet(pot, porocilo);
        GMM = std::make_unique<CGMM>(procset, gdatum, *angl, zen, crd, crdA, d2, d3, h, hA, hdif, vec, azi, para);
        sol = std::make_unique<CGMMSol>(procset, gdatum, hA, crdA, *GMM);
    }

    // Levelling model: heights H0 of the points, unknown column of each point
    // (-1 fixed), the height differences and, below them, datum rows of unit
    // weight.  rho != 0 correlates neighbouring pairs of rows (0-1, 2-3, ...)
    // and makes the weights a full matrix.
    void Nivelman(char datum, const std::vector<std::string>& imena, const std::vector<long double>& H0,
                  const std::vector<int>& iDeltaB, const std::vector<Hdif>& obs, long double So,
                  const Mat& datumske = {}, long double rho = 0.0L)
    {
        gdatum.Datum = datum;
        CGMM& G = *GMM;
        const std::size_t nobs = obs.size(), n = nobs + datumske.size();
        std::size_t u = 0;
        for (int k : iDeltaB)
            if (k >= 0) ++u;
        hA.SetPar(imena.size(), 0, 0);
        G.iDeltaB.resize(imena.size(), 1);
        for (std::size_t p = 0; p < imena.size(); ++p) {
            hA.PTS(p) = imena[p];
            hA.OBS(p) = H0[p];
            G.iDeltaB(p) = iDeltaB[p];
        }
        G.So = So;
        G.npts = static_cast<std::int32_t>(imena.size());
        G.nobs = static_cast<std::int32_t>(nobs);
        G.nunk = G.nunkcrd = static_cast<std::int32_t>(u);
        G.nptsunk = G.nunk;
        G.nredund = G.nobs - G.nunk;
        B = Nicelna(n, u);
        f.assign(n, 0.0L);
        Mat Qfull = Nicelna(n, n);
        for (std::size_t k = 0; k < nobs; ++k) {
            const Hdif& o = obs[k];
            f[k] = (H0[o.j] - H0[o.i]) - o.h;
            if (iDeltaB[o.j] >= 0) B[k][iDeltaB[o.j]] = -1.0L;
            if (iDeltaB[o.i] >= 0) B[k][iDeltaB[o.i]] = 1.0L;
            Qfull[k][k] = (o.sigma * o.sigma) / (So * So);
        }
        for (std::size_t r = 0; r < datumske.size(); ++r) {
            B[nobs + r] = datumske[r];
            Qfull[nobs + r][nobs + r] = 1.0L;
        }
        if (rho != 0.0L)
            for (std::size_t k = 0; k + 1 < nobs; k += 2)
                Qfull[k][k + 1] = Qfull[k + 1][k] = rho * std::sqrt(Qfull[k][k] * Qfull[k + 1][k + 1]);
        G.Bmat.resize(n, u, 0.0L);
        G.fvec.resize(n, 1, 0.0L);
        G.Qll.resize(n, 3, 0.0L);
        for (std::size_t i = 0; i < n; ++i) {
            G.fvec(i) = f[i];
            for (std::size_t j = 0; j < u; ++j) G.Bmat(i, j) = B[i][j];
            G.Qll(i, 1) = Qfull[i][i];
            if (i > 0) G.Qll(i, 0) = Qfull[i][i - 1];
            if (i + 1 < n) G.Qll(i, 2) = Qfull[i][i + 1];
        }
        P = Inverz(Qfull);
        G.Qlldiag = (rho == 0.0L);
        if (G.Qlldiag) {
            G.Pll.resize(n, 1, 0.0L);
            for (std::size_t i = 0; i < n; ++i) G.Pll(i) = P[i][i];
        } else {
            matrika<long double> Pf(n, n, 0.0L);
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = 0; j < n; ++j) Pf(i, j) = P[i][j];
            G.Pll = matrika<long double>();
            G.PllB = bdmatrika::IzPolne(Pf);
        }
    }

    // One iteration as the driver runs it, without the prints.
    void Resi()
    {
        sol->SetPar();
        sol->SolveFuncModel();
        sol->SolveStohModel();
    }
};

}  // namespace gmmsol_test

#endif
