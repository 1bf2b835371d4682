// A small network for the datum-constraint tests: settings and datum lines
// read from a data file as the program reads them, the point list filled
// directly, and the model sized by hand (every point has Dim coordinate
// unknowns from column Dim*p, plus `extra` further columns standing for
// velocity or refraction unknowns, which no datum row may touch).
#ifndef NIVEX_TESTS_SRC_GMMDTESTMREZA_H
#define NIVEX_TESTS_SRC_GMMDTESTMREZA_H

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMdD.h"
#include "src/CGMMdH.h"
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

struct GMMdTocka {
    std::string ime;
    long double x, y, z;
};

// Defect flags in the order tx, ty, tz, wx, wy, wz, m2, m3.
struct GMMdDefekti {
    int tx = 1, ty = 1, tz = 1, wx = 1, wy = 1, wz = 1, m2 = 1, m3 = 1;
};

constexpr long double kSentinelB = 7.0L;   // observation rows of Bmat before the datum step
constexpr long double kSentinelF = 5.0L;

class GMMdTestMreza {
public:
    // `vrstice`: settings and datum lines of the data file (without *DIM, X, *K).
    GMMdTestMreza(unsigned short dim, const std::string& vrstice, const std::vector<GMMdTocka>& tocke,
                  long nobs = 2, long extra = 1, GMMdDefekti d = {})
        : TOAngl(TODir),
          GMM(procset, gdatum, TOAngl, TOZen, TOCrd, TOCrdA, TODist2, TODist3, TOH, TOHA, TOHdif, TOVec, TOAzi,
              TOPara),
          dH(procset, gdatum, TOHA, TOCrdA, GMM),
          dD(procset, gdatum, TOHA, TOCrdA, GMM),
          Dim(dim)
    {
        std::string besedilo = "*DIM " + std::to_string(dim) + "\n" + vrstice + "\n";
        for (const GMMdTocka& t : tocke) besedilo += "X " + t.ime + " 0 0 0\n";
        besedilo += "*K\n";
        const std::string pot = TempDir("gmmd") + "/mreza.dat";
        WriteFile(pot, besedilo);
        std::ostringstream porocilo;
        procset.ReadProcSet(pot, porocilo);
        gdatum.ReadGDatum(pot, porocilo, 0);

        const long n = static_cast<long>(tocke.size());
        if (dim == 1) {
            TOHA.SetPar(n, 0, 0);
            for (long p = 0; p < n; ++p) {
                TOHA.PTS(p, 0) = tocke[p].ime;
                TOHA.OBS(p, 0) = tocke[p].x;
            }
        } else {
            TOCrdA.SetPar(n, 0, dim, 0);
            for (long p = 0; p < n; ++p) {
                TOCrdA.PTS(p, 0) = tocke[p].ime;
                TOCrdA.OBS(p, 0) = tocke[p].x;
                TOCrdA.OBS(p, 1) = tocke[p].y;
                if (dim == 3) TOCrdA.OBS(p, 2) = tocke[p].z;
            }
        }

        GMM.npts = static_cast<std::int32_t>(n);
        GMM.nobs = static_cast<std::int32_t>(nobs);
        GMM.nunk = static_cast<std::int32_t>(n * dim + extra);
        GMM.iDeltaB.resize(n, 1);
        for (long p = 0; p < n; ++p) GMM.iDeltaB(p) = static_cast<std::int32_t>(p * dim);
        GMM.tx = d.tx; GMM.ty = d.ty; GMM.tz = d.tz;
        GMM.wx = d.wx; GMM.wy = d.wy; GMM.wz = d.wz;
        GMM.m2 = d.m2; GMM.m3 = d.m3;
        if (dim == 1) GMM.nHdat = 1;
        else if (dim == 2) GMM.nHdat = d.tx + d.ty + d.wz + d.m2;
        else GMM.nHdat = d.tx + d.ty + d.tz + d.wx + d.wy + d.wz + ((d.m2 || d.m3) ? 1 : 0);

        const bool svd = procset.GetNumSolve() == "SVD";
        long datumske = 0;
        if (gdatum.Datum == 'H' && !svd) {
            GMM.Hdat.resize(GMM.nHdat, GMM.nunk);
            GMM.Hred.resize(GMM.nHdat, GMM.nunk);
            datumske = GMM.nHdat;
        } else if (gdatum.Datum == 'D') {
            GMM.Hdat.resize(GMM.nHdat, GMM.nunk);
            GMM.Ddat.resize(gdatum.nD, GMM.nunk);
            datumske = gdatum.nD;
        }
        const long vrst = nobs + datumske;
        GMM.Bmat.resize(vrst, GMM.nunk);
        GMM.fvec.resize(vrst, 1);
        GMM.Qll.resize(vrst, 3);
        for (long r = 0; r < nobs; ++r) {
            for (long c = 0; c < GMM.nunk; ++c) GMM.Bmat(r, c) = kSentinelB;
            GMM.fvec(r, 0) = kSentinelF;
            GMM.Qll(r, 0) = 0.25L;
            GMM.Qll(r, 1) = 2.0L;
            GMM.Qll(r, 2) = 0.5L;
        }
    }

    // Console output of f, for the trace lines.
    template <typename F>
    static std::string Konzola(F f)
    {
        std::ostringstream s;
        std::streambuf* prej = std::cout.rdbuf(s.rdbuf());
        f();
        std::cout.rdbuf(prej);
        return s.str();
    }

    CProcSet procset;
    CGDatum gdatum;
    CTerObsDir TODir, TOZen, TOAzi;
    CTerObsAngl TOAngl;
    CTerObsCrd TOCrd;
    CTerObsCrdA TOCrdA;
    CTerObsDist TODist2, TODist3;
    CTerObsH TOH;
    CTerObsHA TOHA;
    CTerObsHdif TOHdif;
    CTerObsVec TOVec;
    CTerObsPara TOPara;
    CGMM GMM;
    CGMMdH dH;
    CGMMdD dD;
    unsigned short Dim;
};

// Observation function of the coordinate vector u (point p from u[Dim*p]).
using GMMdFunkcija = std::function<long double(const std::vector<long double>&)>;

// Gradient by central differences; h = 1e-3 keeps the rounding of values
// of some 1e3 m near 1e-16 / h, the truncation far below it.
inline std::vector<long double> GMMdGradient(const GMMdFunkcija& f, std::vector<long double> u)
{
    const long double h = 1e-3L;
    std::vector<long double> g(u.size());
    for (std::size_t c = 0; c < u.size(); ++c) {
        const long double u0 = u[c];
        u[c] = u0 + h;
        const long double fp = f(u);
        u[c] = u0 - h;
        const long double fm = f(u);
        u[c] = u0;
        g[c] = (fp - fm) / (2 * h);
    }
    return g;
}

inline void GMMdExpectRow(const matrika<long double>& H, long r, const std::vector<long double>& v, double tol)
{
    ASSERT_EQ(H.ncol(), v.size());
    for (std::size_t c = 0; c < v.size(); ++c)
        EXPECT_NEAR(static_cast<double>(H(r, static_cast<long>(c))), static_cast<double>(v[c]), tol)
            << "row " << r << " column " << c;
}

// The datum rows C stand below the untouched observation rows, with f = 0
// and a unit cofactor without correlation.
inline void GMMdExpectAppended(const CGMM& GMM, const matrika<long double>& C)
{
    for (long r = 0; r < GMM.nobs; ++r) {
        for (long c = 0; c < GMM.nunk; ++c) EXPECT_EQ(GMM.Bmat(r, c), kSentinelB);
        EXPECT_EQ(GMM.fvec(r, 0), kSentinelF);
        EXPECT_EQ(GMM.Qll(r, 1), 2.0L);
    }
    ASSERT_EQ(GMM.Bmat.nrow(), GMM.nobs + C.nrow());
    for (unsigned long i = 0; i < C.nrow(); ++i) {
        const long r = GMM.nobs + static_cast<long>(i);
        for (long c = 0; c < GMM.nunk; ++c) EXPECT_EQ(GMM.Bmat(r, c), C(static_cast<long>(i), c));
        EXPECT_EQ(GMM.fvec(r, 0), 0.0L);
        EXPECT_EQ(GMM.Qll(r, 0), 0.0L);
        EXPECT_EQ(GMM.Qll(r, 1), 1.0L);
        EXPECT_EQ(GMM.Qll(r, 2), 0.0L);
    }
}

// A fatal end with the message among the console output.
inline void GMMdExpectFatal(const std::function<void()>& f, const std::string& sporocilo)
{
    const Izid r = RunChild(f);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find(sporocilo), std::string::npos) << r.out;
}

#endif
