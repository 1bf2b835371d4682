#include "src/FGMMEqNelin.h"

#include <cmath>
#include <iostream>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/SmerniKot.h"
#include "funkcije/funkcijeAux.h"
#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObs.h"
#include "src/CTerObsCrdA.h"
#include "src/NivexAux.h"

namespace {

const real kDvaPi = 2.0L * static_cast<real>(kotne::PI);

// SmerniKot takes coordinate differences below this as zero; below it in
// every component two points coincide for the equations too.
constexpr double kSovpad = numerika::kNicla;

[[noreturn]] void SovpadajoceTocke(const GMMEqNelinVrstica& v, int a, int b, bool navpicnica)
{
    std::string imena;
    for (int p = 0; p < v.kind.nPts; ++p) imena += (p ? " " : "") + v.TO.GetPTS(v.i, p);
    NivexError(BesediloF(navpicnica ? Besedilo::NapakaTockiNaNavpicnici : Besedilo::NapakaTockiSovpadata,
                         v.TO.GetVrsta().c_str(), v.TO.OznakaZapisa(v.i).c_str(), imena.c_str(),
                         v.TO.GetPTS(v.i, a).c_str(), v.TO.GetPTS(v.i, b).c_str()));
}

}  // namespace

GMMEqNelinRazlika GMMEqNelinVrstica::Razlika(int a, int b, bool prostorska) const
{
    const long pa = t[a].ind, pb = t[b].ind;
    const bool tri = TOCrdA.GetDim() == 3;
    GMMEqNelinRazlika d;
    d.dx = TOCrdA.OBS(pb, 0) - TOCrdA.OBS(pa, 0);
    d.dy = TOCrdA.OBS(pb, 1) - TOCrdA.OBS(pa, 1);
    if (tri) d.dz = TOCrdA.OBS(pb, 2) - TOCrdA.OBS(pa, 2);
    if (XVel) {
        d.dx += dT * (TOCrdA.VELA(pb, 0) - TOCrdA.VELA(pa, 0));
        d.dy += dT * (TOCrdA.VELA(pb, 1) - TOCrdA.VELA(pa, 1));
        if (tri) d.dz += dT * (TOCrdA.VELA(pb, 2) - TOCrdA.VELA(pa, 2));
    }
    const bool vodoravno = dabs(d.dx) < kSovpad && dabs(d.dy) < kSovpad;
    const bool visina = dabs(d.dz) < kSovpad;
    if (vodoravno && (!prostorska || visina)) SovpadajoceTocke(*this, a, b, !visina);
    return GMMEqRazlika(d.dx, d.dy, d.dz);
}

GMMEqNelinRazlika GMMEqRazlika(real dx, real dy, real dz)
{
    GMMEqNelinRazlika d;
    d.dx = dx;
    d.dy = dy;
    d.dz = dz;
    d.s2 = dx * dx + dy * dy;
    d.s = std::sqrt(d.s2);
    d.d2 = d.s2 + dz * dz;
    d.d = std::sqrt(d.d2);
    return d;
}

GMMEqNelinRazlika GMMEqVisini(const GMMEqNelinRazlika& d, const CTerObs& TO, long i)
{
    if (!TO.ImaVisine()) return d;
    return GMMEqRazlika(d.dx, d.dy, d.dz + TO.VisinaTarce(i) - TO.VisinaInstrumenta(i));
}

void GMMEqDolzinaOdvod(const GMMEqNelinRazlika& d, bool prostorska, real c[3])
{
    const real d0 = prostorska ? d.d : d.s;
    c[0] = d.dx / d0;
    c[1] = d.dy / d0;
    c[2] = d.dz / d0;
}

void GMMEqZenitOdvod(const GMMEqNelinRazlika& d, real c[3])
{
    const real a = d.dz / (d.s * d.d2);
    c[0] = d.dx * a;
    c[1] = d.dy * a;
    c[2] = -d.s / d.d2;
}

std::vector<std::string> GMMEqNelinGlava(const std::string& koef, const std::string& hitr, const std::string& f,
                                         bool XVel)
{
    if (XVel) return {koef, hitr + f};
    return {koef + f};
}

real GMMEqSmer(const GMMEqNelinRazlika& d) { return SmerniKot(0.0L, 0.0L, d.dx, d.dy, "rad"); }

void GMMEqSmerOdvod(const GMMEqNelinRazlika& d, real& cx, real& cy)
{
    cx = d.dy / d.s2;
    cy = -d.dx / d.s2;
}

void GMMEqSetNelin(CGMM& GMM, const CProcSet& procset, const CTerObs& TO, const CTerObsCrdA& TOCrdA,
                   const GMMEqNelinKind& kind, const GMMEqNelinFn& lineariziraj)
{
    const long n = static_cast<long>(TO.NObs());
    if (n == 0) return;
    const unsigned short on = procset.GetContPrint();
    const unsigned short XVel = procset.GetXVel();
    GMMEqTraceStart(on, kind.classLine, kind.setFn);
    for (long i = 0; i < n; ++i) {
        if (!TO.Aktiven(i)) continue;
        GMMEqTraceNum(on, i);
        GMMEqNelinVrstica v(TO, TOCrdA, kind);
        v.i = i;
        v.r = GMM.iRowBin;
        GMM.vrstice.at(static_cast<std::size_t>(v.r)) = {TO.Set(), i, 0};
        v.XVel = XVel != 0;
        for (int p = 0; p < kind.nPts; ++p) v.t[p] = GMMEqSetIndex(GMM, TOCrdA, TO.GetPTS(i, p), XVel);
        v.dT = XVel ? GMMEqDeltaT(procset, TO, i) : 0.0L;
        lineariziraj(v);

        const long r = v.r;
        GMMEqSetQll(GMM, r, TO.GetSIG(i, 0));
        GMM.Qll(r, 0) = v.q0;
        GMM.Qll(r, 2) = v.q2;

        real f = GMMEqMisclosure(v.F0, TO.GetOBS(i, 0), procset.ifObsResiduals) + v.Fdod;
        if (kind.redukcija2Pi) {
            // Angles are defined up to full turns: a misclosure of about one
            // turn is an angle that crosses zero on one side only.
            if (std::fabs(f - kDvaPi) < 0.1L) f -= kDvaPi;
            else if (std::fabs(f + kDvaPi) < 0.1L) f += kDvaPi;
        }
        GMM.fvec(r) = f;

        // A point named more than once gets the sum of its coefficients.
        for (int p = 0; p < kind.nPts; ++p) {
            bool prej = false;
            for (int q = 0; q < p && !prej; ++q) prej = v.t[q].ind == v.t[p].ind;
            if (prej) continue;
            for (int k = 0; k < kind.nCrd; ++k) {
                real c = v.B[p][k];
                for (int q = p + 1; q < kind.nPts; ++q)
                    if (v.t[q].ind == v.t[p].ind) c += v.B[q][k];
                GMMEqSetCoef(GMM, r, v.t[p], k, c, XVel, v.dT);
            }
        }
        if (v.iDod >= 0) GMM.Bmat(r, v.iDod) = v.cDod;

        ++GMM.iRowBin;
        GMMEqTraceBack(on);
    }
    GMMEqTraceEnd(on, 1);
}

void GMMEqPrintNelin(std::ostream& izhod, CGMM& GMM, const CProcSet& procset, const CTerObs& TO,
                     const CTerObsCrdA& TOCrdA, const GMMEqNelinKind& kind)
{
    const long n = static_cast<long>(TO.NObs());
    const long nAkt = static_cast<long>(TO.NAktivnih());
    if (nAkt == 0) return;
    if (!procset.GetizpisEnPop()) {
        // Nothing is printed, but the counter keeps naming the next row.
        GMM.iRowBout += static_cast<std::int32_t>(nAkt);
        return;
    }
    const unsigned short on = procset.GetContPrint();
    const unsigned short XVel = procset.GetXVel();
    // Angular coefficients in arc seconds (milligon) per metre, distances
    // unitless; misclosures in the small angle unit or in millimetres.
    const int wC = kind.kotna ? 10 : 12, pC = kind.kotna ? 2 : 8, wF = kind.kotna ? 9 : 11;
    const real fC = kind.kotna ? GMM.roSec : 1.0L, fF = kind.kotna ? GMM.roSec : GMM.mmFact;

    GMMEqTraceStart(on, "", kind.printFn);
    const std::size_t len = GMMEqPrintHead(izhod, kind.title, nAkt, kind.header);
    GMMEqTocka t[4];
    for (long i = 0, prej = -1; i < n; prej = TO.Aktiven(i) ? i : prej, ++i) {
        if (!TO.Aktiven(i)) continue;
        GMMEqTraceNum(on, i);
        const long r = GMM.iRowBout;
        for (int p = 0; p < kind.nPts; ++p) t[p] = GMMEqSetIndex(GMM, TOCrdA, TO.GetPTS(i, p), XVel);
        GMMEqPrintPT(izhod, TO.PTS, i, prej);
        for (int p = 0; p < kind.nPts; ++p)
            for (int k = 0; k < kind.nCrd; ++k) GMMEqCoefMatPrint(izhod, GMM.Bmat, r, t[p].iB + k, t[p].iB, wC, pC, fC);
        if (XVel) {
            if (kind.velZamik >= 0) izhod << "\n" << std::string(static_cast<std::size_t>(kind.velZamik), ' ');
            for (int p = 0; p < kind.nPts; ++p)
                for (int k = 0; k < kind.nCrd; ++k)
                    GMMEqCoefMatPrint(izhod, GMM.Bmat, r, t[p].iBV + k, t[p].iBV, wC, pC, fC);
        }
        GMMEqCoefVecPrint(izhod, GMM.fvec(r), wF, 2, fF);
        ++GMM.iRowBout;
        GMMEqTraceBack(on);
    }
    GMMEqPrintEnd(izhod, len);
    GMMEqTraceEnd(on, 2);
}
