#include "src/FGMM.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include "funkcije/funkcijeAux.h"
#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsTocke.h"
#include "src/NivexAux.h"

void GMMPointError(long ind, const std::string& name)
{
    if (ind < 0) TerObsPointError(name);
}

void NGMMEqPrint(std::ostream& izhod, long n)
{
    izhod << B(Besedilo::StEnacbPopravkov) << std::right << std::setw(15) << n << "\n\n";
}

void GMMEqPrintPT(std::ostream& izhod, const matrika<std::string>& PTS, long i, long prej)
{
    if (prej >= 0 && PTS(i, 0) != PTS(prej, 0)) izhod << "\n";
    izhod << std::right << std::setw(3) << i + 1 << "   ";
    for (unsigned long j = 0; j < PTS.ncol(); ++j) TerObsTxt(izhod, PTS(i, static_cast<long>(j)), 6);
    izhod << "    ";
}

void GMMEqCoefMatPrint(std::ostream& izhod, const redkaMatrika& A, long row, long col, long iUnk, int w,
                       int p, real factor)
{
    IzpisNastavitve(izhod, p);
    izhod << std::right << std::setw(w);
    if (iUnk >= 0)
        izhod << factor * A(row, col);
    else
        izhod << std::string(static_cast<std::size_t>(p + 2), '.');
}

void GMMEqCoefVecPrint(std::ostream& izhod, real value, int w, int p, real factor)
{
    IzpisNastavitve(izhod, p);
    izhod << std::right << std::setw(w) << factor * value << "\n";
}

GMMEqTocka GMMEqSetIndex(const CGMM& GMM, const CTerObsTocke& tocke, const std::string& name, unsigned short XVel)
{
    GMMEqTocka t;
    t.ind = tocke.PointIndex(name);
    t.iB = GMM.iDeltaB(t.ind);
    t.iBV = XVel ? static_cast<long>(GMM.iDeltaBV(t.ind)) : -1L;
    return t;
}

real GMMEqDeltaT(const CProcSet& procset, const CTerObs& TO, long i)
{
    if (!procset.GetXVel()) return 0.0L;
    return TO.GetT(i, 0) - static_cast<real>(procset.GetT0());
}

void GMMEqSetCoef(CGMM& GMM, long r, const GMMEqTocka& t, long k, real c, unsigned short XVel,
                  real deltaT)
{
    // A held coordinate is no unknown of the observations.
    if (t.iB > -1 && !GMM.Drzana(t.iB + k)) GMM.Bmat(r, t.iB + k) = c;
    if (XVel && t.iBV >= 0) GMM.Bmat(r, t.iBV + k) = deltaT * c;
}

void GMMEqSetQll(CGMM& GMM, long r, real sigma)
{
    GMM.Qll(r, 0) = 0.0L;
    GMM.Qll(r, 1) = (sigma * sigma) / (GMM.So * GMM.So);
    GMM.Qll(r, 2) = 0.0L;
}

real GMMEqMisclosure(real computed, real observed, bool ifObsResiduals)
{
    return ifObsResiduals ? -observed : computed - observed;
}

void GMMEqTraceStart(unsigned short on, const std::string& classLine, const std::string& fnLine)
{
    if (!on) return;
    if (!classLine.empty()) std::cout << classLine << "\n";
    std::cout << fnLine;
}

void GMMEqTraceNum(unsigned short on, long i)
{
    if (on) std::cout << std::right << std::setw(7) << i + 1;
}

void GMMEqTraceBack(unsigned short on)
{
    if (on) std::cout << "\b\b\b\b\b\b\b";
}

void GMMEqTraceEnd(unsigned short on, int lineEnds)
{
    if (!on) return;
    for (int k = 0; k < lineEnds; ++k) std::cout << "\n";
    std::cout.flush();
}

std::size_t GMMEqPrintHead(std::ostream& izhod, const std::string& title, long nEq,
                           const std::vector<std::string>& header)
{
    PodNaslov(izhod, title.c_str(), 1);
    NGMMEqPrint(izhod, nEq);
    if (header.empty()) return 0;
    for (std::size_t k = 0; k + 1 < header.size(); ++k) izhod << header[k] << "\n";
    PodNaslov(izhod, header.back().c_str(), 1);
    return header.back().size();
}

void GMMEqPrintEnd(std::ostream& izhod, std::size_t len) { izhod << std::string(len, '-') << "\n\n\n"; }

// ---------------------------------------------------------------------------

namespace {
// Signs of the points of a linear observation: the computed value is
// sum (-s_p) * X0(p), i.e. X0 of a single point, or X0(to) - X0(from).
real LinSign(int nPts, int p) { return (nPts == 1 || p == 1) ? -1.0L : 1.0L; }
}  // namespace

void GMMEqSetLin(CGMM& GMM, const CProcSet& procset, const CTerObs& TO, const CTerObsTocke& tocke,
                 const GMMEqLinKind& kind)
{
    const long n = static_cast<long>(TO.NObs());
    if (n == 0) return;
    const unsigned short on = procset.GetContPrint();
    const unsigned short XVel = procset.GetXVel();
    const bool obsRes = procset.ifObsResiduals;
    GMMEqTraceStart(on, kind.classLine, kind.setFn);
    GMMEqTocka t[2];
    for (long i = 0, prej = -1; i < n; prej = TO.Aktiven(i) ? i : prej, ++i) {
        if (!TO.Aktiven(i)) continue;
        GMMEqTraceNum(on, i);
        for (int p = 0; p < kind.nPts; ++p) t[p] = GMMEqSetIndex(GMM, tocke, TO.GetPTS(i, p), XVel);
        const real dT = XVel ? GMMEqDeltaT(procset, TO, i) : 0.0L;
        for (int k = 0; k < kind.nRows; ++k) {
            const long r = GMM.iRowBin + k;
            const long c = kind.col0 + k;
            GMM.vrstice.at(static_cast<std::size_t>(r)) = {TO.Set(), i, k};
            real racun = 0.0L, hitrost = 0.0L;
            for (int p = 0; p < kind.nPts; ++p) {
                const real s = LinSign(kind.nPts, p);
                GMMEqSetCoef(GMM, r, t[p], c, s, XVel, dT);
                racun += -s * tocke.OBS(t[p].ind, c);
                if (XVel) hitrost += -s * tocke.VELA(t[p].ind, c);
            }
            real f = GMMEqMisclosure(racun, TO.GetOBS(i, k), obsRes);
            if (XVel) f += dT * hitrost;
            GMM.fvec(r) = f;
            GMMEqSetQll(GMM, r, TO.GetSIG(i, k));
        }
        GMM.iRowBin += kind.nRows;
        GMMEqTraceBack(on);
    }
    GMMEqTraceEnd(on, 1);
}

void GMMEqPrintLin(std::ostream& izhod, CGMM& GMM, const CProcSet& procset, const CTerObs& TO,
                   const CTerObsTocke& tocke, const GMMEqLinKind& kind)
{
    const long n = static_cast<long>(TO.NObs());
    const long nAkt = static_cast<long>(TO.NAktivnih());
    if (nAkt == 0) return;
    if (!procset.GetizpisEnPop()) {
        // Nothing is printed, but the counter keeps naming the next row.
        GMM.iRowBout += static_cast<std::int32_t>(nAkt * kind.nRows);
        return;
    }
    const unsigned short on = procset.GetContPrint();
    const unsigned short XVel = procset.GetXVel();
    GMMEqTraceStart(on, "", kind.printFn);
    const std::size_t len = GMMEqPrintHead(izhod, kind.title, nAkt * kind.nRows, kind.header);
    GMMEqTocka t[2];
    for (long i = 0, prej = -1; i < n; prej = TO.Aktiven(i) ? i : prej, ++i) {
        if (!TO.Aktiven(i)) continue;
        GMMEqTraceNum(on, i);
        for (int p = 0; p < kind.nPts; ++p) t[p] = GMMEqSetIndex(GMM, tocke, TO.GetPTS(i, p), XVel);
        for (int k = 0; k < kind.nRows; ++k) {
            const long r = GMM.iRowBout + k;
            const long c = kind.col0 + k;
            if (k == 0) GMMEqPrintPT(izhod, TO.PTS, i, prej);
            for (int p = 0; p < kind.nPts; ++p) {
                const int w = (k > 0 && p == 0) ? kind.wCoefNext : kind.wCoef[p];
                GMMEqCoefMatPrint(izhod, GMM.Bmat, r, t[p].iB + c, t[p].iB, w, 2, 1.0L);
            }
            if (XVel)
                for (int p = 0; p < kind.nPts; ++p)
                    GMMEqCoefMatPrint(izhod, GMM.Bmat, r, t[p].iBV + c, t[p].iBV, kind.wVel[p], 2, 1.0L);
            GMMEqCoefVecPrint(izhod, GMM.fvec(r), kind.wF, kind.pF, GMM.mmFact);
        }
        GMM.iRowBout += kind.nRows;
        GMMEqTraceBack(on);
    }
    GMMEqPrintEnd(izhod, len);
    GMMEqTraceEnd(on, 2);
}
