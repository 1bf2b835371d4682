// A whole network for the model, equation and datum tests: the data file is
// read as the program reads it (settings, datum, the record reader), then the
// model counts and numbers the unknowns, the four linear builders write their
// rows and the two datum builders append theirs.
#ifndef NIVEX_TESTS_SRC_GMMEQTESTMREZA_H
#define NIVEX_TESTS_SRC_GMMEQTESTMREZA_H

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMEqCrd.h"
#include "src/CGMMEqH.h"
#include "src/CGMMEqHdif.h"
#include "src/CGMMEqVec.h"
#include "src/CGMMdD.h"
#include "src/CGMMdH.h"
#include "src/CGetObs.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"

// Marks in the observation rows, which no datum builder may touch.
constexpr long double kGMMdOznakaB = 7.0L, kGMMdOznakaF = 5.0L, kGMMdOznakaQ = 2.0L;

class GMMEqTestMreza {
public:
    // `besedilo`: the data file without its "*K" line.
    explicit GMMEqTestMreza(const std::string& besedilo)
        : GMM(procset, gdatum, TO),
          EqH(procset, TO.TOH, TO.TOHA, TO.TOCrdA, GMM),
          EqHdif(procset, TO.TOHdif, TO.TOHA, TO.TOCrdA, GMM),
          EqCrd(procset, TO.TOCrd, TO.TOCrdA, GMM),
          EqVec(procset, TO.TOVec, TO.TOCrdA, GMM),
          dH(procset, gdatum, TO, GMM),
          dD(procset, gdatum, TO, GMM)
    {
        pot = TempDir("gmmeq") + "/mreza.dat";
        WriteFile(pot, besedilo + "\n*K\n");
        std::ostringstream vhod;
        procset.ReadProcSet(pot, vhod);
        gdatum.ReadGDatum(pot, vhod, 0);
        CGetObs bralec;
        bralec.SetCTerObs(procset, TO);
        bralec.ReadCTerObs(procset, TO, pot);
    }

    // Counts, sigma0, numbering and sizes; the data summary goes to `povzetek`.
    void Model()
    {
        GMM.DataSum(povzetek);
        GMM.DataSet();
    }

    // One iteration's rows of the four linear kinds in the program's order.
    void Enacbe()
    {
        GMM.GMMResetIndex();
        EqH.SetGMMEq();
        EqHdif.SetGMMEq();
        EqCrd.SetGMMEq();
        EqVec.SetGMMEq();
    }

    // Their equation print.
    std::string Izpis()
    {
        std::ostringstream s;
        EqH.PrintGMMEq(s);
        EqHdif.PrintGMMEq(s);
        EqCrd.PrintGMMEq(s);
        EqVec.PrintGMMEq(s);
        return s.str();
    }

    // The datum step of one iteration, as the driver calls it, after the
    // observation rows have been filled with marks.
    void Datum()
    {
        for (long r = 0; r < GMM.nobs; ++r) {
            for (long c = 0; c < GMM.nunk; ++c) GMM.Bmat(r, c) = kGMMdOznakaB;
            GMM.fvec(r) = kGMMdOznakaF;
            GMM.Qll(r, 1) = kGMMdOznakaQ;
        }
        dH.SetGMMdH();
        dD.SetGMMdD();
    }

    // Console output of f.
    template <typename F>
    static std::string Konzola(F f)
    {
        std::ostringstream s;
        std::streambuf* prej = std::cout.rdbuf(s.rdbuf());
        f();
        std::cout.rdbuf(prej);
        return s.str();
    }

    std::string pot;
    std::ostringstream povzetek;
    CProcSet procset;
    CGDatum gdatum;
    CTerObsZbirka TO;
    CGMM GMM;
    CGMMEqH EqH;
    CGMMEqHdif EqHdif;
    CGMMEqCrd EqCrd;
    CGMMEqVec EqVec;
    CGMMdH dH;
    CGMMdD dD;
};

// A network read and modelled, then `korak` of one iteration (the
// equations or the datum step) when given.
inline std::unique_ptr<GMMEqTestMreza> GMMMreza(const std::string& besedilo,
                                                void (GMMEqTestMreza::*korak)() = nullptr)
{
    auto m = std::make_unique<GMMEqTestMreza>(besedilo);
    m->Model();
    if (korak) ((*m).*korak)();
    return m;
}

struct GMMdTocka {
    std::string ime;
    long double x, y, z;
};

// Data file of a network: settings and datum lines, the X lines of the
// points with their first `dim` coordinates, then the observation lines.
inline std::string GMMdBesedilo(int dim, const std::string& glava, const std::vector<GMMdTocka>& tocke,
                                const std::string& opazovanja)
{
    std::ostringstream s;
    s << std::setprecision(12) << "*DIM " << dim << "\n" << glava;
    for (const GMMdTocka& t : tocke) {
        s << "X " << t.ime << " " << t.x;
        if (dim > 1) s << " " << t.y;
        if (dim > 2) s << " " << t.z;
        s << "\n";
    }
    return s.str() + opazovanja;
}

// The approximate coordinates of the point list, point p from u[Dim * p].
inline std::vector<long double> GMMdKoordinate(const GMMEqTestMreza& m)
{
    std::vector<long double> u;
    for (unsigned long p = 0; p < m.TO.TOCrdA.NObs(); ++p)
        for (long k = 0; k < m.procset.GetDim(); ++k) u.push_back(m.TO.TOCrdA.GetOBS(static_cast<long>(p), k));
    return u;
}

// Row r of a matrix against v, element by element.
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
    ASSERT_EQ(GMM.Bmat.nrow(), GMM.nobs + C.nrow());
    for (long r = 0; r < static_cast<long>(GMM.Bmat.nrow()); ++r) {
        const bool dat = r >= GMM.nobs;
        for (long c = 0; c < GMM.nunk; ++c) EXPECT_EQ(GMM.Bmat(r, c), dat ? C(r - GMM.nobs, c) : kGMMdOznakaB);
        EXPECT_EQ(GMM.fvec(r), dat ? 0.0L : kGMMdOznakaF);
        EXPECT_EQ(GMM.Qll(r, 1), dat ? 1.0L : kGMMdOznakaQ);
        if (dat) {
            EXPECT_EQ(GMM.Qll(r, 0) + GMM.Qll(r, 2), 0.0L);
        }
    }
}

// Gradient of f by central differences; h = 1e-3 keeps the rounding of
// values of some 1e3 m near 1e-16 / h, the truncation far below it.
inline std::vector<long double> GMMdGradient(const std::function<long double(const std::vector<long double>&)>& f,
                                             std::vector<long double> u)
{
    const long double h = 1e-3L;
    std::vector<long double> g(u.size());
    for (std::size_t c = 0; c < u.size(); ++c) {
        const long double u0 = u[c];
        u[c] = u0 + h;
        const long double fp = f(u);
        u[c] = u0 - h;
        g[c] = (fp - f(u)) / (2 * h);
        u[c] = u0;
    }
    return g;
}

// A fatal end of f with the message among the console output.
inline void GMMdExpectFatal(const std::function<void()>& f, const std::string& sporocilo)
{
    const Izid r = RunChild(f);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find(sporocilo), std::string::npos) << r.out;
}

#endif
