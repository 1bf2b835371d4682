// A whole network for the model, equation and datum tests: the data file is
// read as the program reads it (settings, datum, the record reader) into the
// program's own objects, the model counts and numbers the unknowns, and a
// test then runs the equation builders or the datum step of one iteration.
#ifndef NIVEX_TESTS_SRC_GMMEQTESTMREZA_H
#define NIVEX_TESTS_SRC_GMMEQTESTMREZA_H

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "src/Nivex.h"

// Marks in the observation rows, which no datum builder may touch.
constexpr long double kGMMdOznakaB = 7.0L, kGMMdOznakaF = 5.0L, kGMMdOznakaQ = 2.0L;

struct GMMEqTestMreza {
    // `besedilo`: the data file without its "*K" line; read and modelled
    // (counts, sigma0, numbering and sizes; the data summary goes to `povzetek`).
    explicit GMMEqTestMreza(const std::string& besedilo)
    {
        const std::string pot = Datoteka(besedilo + "\n*K\n");
        std::ostringstream vhod;
        n.procset.ReadProcSet(pot, vhod);
        n.gdatum.ReadGDatum(pot, vhod, 0);
        n.getobs.SetCTerObs(n.procset, n.TO);
        n.getobs.ReadCTerObs(n.procset, n.TO, pot);
        GMM.DataSum(povzetek);
        GMM.DataSet();
    }

    // One iteration's observation rows, every kind in the program's order.
    void Enacbe()
    {
        std::ostringstream izpis;
        n.SetGMMEq(izpis);
    }

    // The datum step of one iteration, after the observation rows have been
    // filled with marks.
    void Datum()
    {
        for (long r = 0; r < GMM.nobs; ++r) {
            for (long c = 0; c < GMM.nunk; ++c) GMM.Bmat(r, c) = kGMMdOznakaB;
            GMM.fvec(r) = kGMMdOznakaF;
            GMM.Qll(r, 1) = kGMMdOznakaQ;
        }
        n.GMMdH.SetGMMdH();
        n.GMMdD.SetGMMdD();
    }

    CNivex n;
    CProcSet& procset = n.procset;
    CGDatum& gdatum = n.gdatum;
    CTerObsZbirka& TO = n.TO;
    CGMM& GMM = n.GMM;
    std::ostringstream povzetek;
};

// Levelling network: A fixed, B and C new; heights observed at C and A.
inline const std::string kNivelman = "*DIM 1\n*D V\n**V A\nX A 100.000\nX B 101.000\nX C 102.500\n"
                                     "H C 102.4950 4.0\nH A 100.0020 3.0\nh A B 1.0100 2.0\nh B C 1.4900 1.0\n";

// A network read and modelled, then `korak` of one iteration (the
// equations or the datum step) when given.
inline std::unique_ptr<GMMEqTestMreza> GMMMreza(const std::string& besedilo,
                                                void (GMMEqTestMreza::*korak)() = nullptr)
{
    auto m = std::make_unique<GMMEqTestMreza>(besedilo);
    if (korak) ((*m).*korak)();
    return m;
}

// A network read and modelled, then the datum step of one iteration.
inline std::unique_ptr<GMMEqTestMreza> GMMdDatum(const std::string& besedilo)
{
    return GMMMreza(besedilo, &GMMEqTestMreza::Datum);
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
        EXPECT_TRUE(!dat || GMM.Qll(r, 0) + GMM.Qll(r, 2) == 0.0L);
    }
}

#endif
