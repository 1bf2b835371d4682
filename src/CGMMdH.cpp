#include "src/CGMMdH.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <unordered_set>

#include "funkcije/Besedila.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/NivexAux.h"

namespace {

[[noreturn]] void NoDatumPoints(const std::string& ime)
{
    NivexError(BesediloF(Besedilo::NapakaMatrikaBrezDatumskihTock, ime.c_str()));
}

[[noreturn]] void DegenerateRow(const std::string& ime, const char* kaj)
{
    NivexError(BesediloF(Besedilo::NapakaDatumskeTockeNeDolocajo, ime.c_str(), kaj));
}

// Divides row r by the square root of its sum of squares `vsota`.
void NormRow(matrika<real>& H, long r, real vsota, const std::string& ime, const char* kaj)
{
    if (!(vsota > 0.0L)) DegenerateRow(ime, kaj);
    const real dolzina = std::sqrt(vsota);
    real* h = H.data() + static_cast<std::size_t>(r) * H.ncol();
    for (unsigned long c = 0; c < H.ncol(); ++c) h[c] /= dolzina;
}

}  // namespace

void GMMdSetHdat(CGMM& GMM, const CTerObsTocke& tocke, unsigned short Dim)
{
    GMMdHSetH(GMM.Hdat, GMM, Dim, tocke.OBS, std::vector<bool>(tocke.nobs, true), "H");
}

void GMMdHSetH(matrika<real>& H, const CGMM& GMM, unsigned short Dim, const matrika<real>& X,
               const std::vector<bool>& datumska, const std::string& ime)
{
    std::fill(H.data(), H.data() + H.size(), 0.0L);
    const long n = static_cast<long>(datumska.size());
    const long m = static_cast<long>(std::count(datumska.begin(), datumska.end(), true));
    if (m == 0) NoDatumPoints(ime);
    const real t = 1.0L / std::sqrt(static_cast<real>(m));

    // The row of every remaining defect (-1 for a fixed one), in row order:
    // translations, rotations about x, y and z, one scale row.  A levelling
    // network has the translation of its heights only.
    enum { Tx, Ty, Tz, Wx, Wy, Wz, M, nDef };
    const bool d1 = Dim == 1, d3 = Dim == 3, m2 = !d1 && GMM.m2, m3 = d3 && GMM.m3;
    const bool ostane[nDef] = {GMM.tx != 0,        !d1 && GMM.ty != 0, d3 && GMM.tz != 0, d3 && GMM.wx != 0,
                               d3 && GMM.wy != 0, !d1 && GMM.wz != 0, m2 || m3};
    long vrstica[nDef], r = 0;
    for (int d = 0; d < nDef; ++d) vrstica[d] = ostane[d] ? r++ : -1;

    // Rotations and scale act about the centroid of the taking points, so
    // that they stay orthogonal to the translations.
    real xs = 0.0L, ys = 0.0L, zs = 0.0L;
    if (vrstica[Wx] >= 0 || vrstica[Wy] >= 0 || vrstica[Wz] >= 0 || vrstica[M] >= 0) {
        for (long p = 0; p < n; ++p) {
            if (!datumska[static_cast<std::size_t>(p)]) continue;
            xs += X(p, 0);
            ys += X(p, 1);
            if (d3) zs += X(p, 2);
        }
        xs /= m;
        ys /= m;
        zs /= m;
    }

    real vsota[nDef] = {};   // sums of squares of the rotation and scale rows
    for (long p = 0; p < n; ++p) {
        const long b = GMM.iDeltaB(p);
        if (!datumska[static_cast<std::size_t>(p)] || b < 0) continue;
        const real dx = X(p, 0) - xs, dy = d1 ? 0.0L : X(p, 1) - ys, dz = d3 ? X(p, 2) - zs : 0.0L;
        const real e[nDef][3] = {{t, 0, 0},     {0, t, 0},    {0, 0, t},
                                        {0, -dz, dy},  {dz, 0, -dx}, {-dy, dx, 0},
                                        {m2 ? dx : 0, m2 ? dy : 0, m3 ? dz : 0}};
        for (int d = 0; d < nDef; ++d)
            for (long k = 0; vrstica[d] >= 0 && k < Dim; ++k) H(vrstica[d], b + k) = e[d][k];
        vsota[Wx] += dz * dz + dy * dy;
        vsota[Wy] += dz * dz + dx * dx;
        vsota[Wz] += dx * dx + dy * dy;
        if (m2) vsota[M] += dx * dx + dy * dy;
        if (m3) vsota[M] += dz * dz;
    }
    const char* const kaj[nDef] = {"", "", "", B(Besedilo::DatumRotacijaX), B(Besedilo::DatumRotacijaY),
                                   B(Besedilo::DatumRotacijaZ), B(Besedilo::DatumMerila)};
    for (int d = Wx; d < nDef; ++d)
        if (vrstica[d] >= 0) NormRow(H, vrstica[d], vsota[d], ime, kaj[d]);
}

void GMMdAppendRows(CGMM& GMM, const matrika<real>& C, const std::string& trace)
{
    if (!trace.empty()) std::cout << trace;
    // A datum without constraint rows (every defect fixed by the observations)
    // adds nothing; the container would refuse a put of no rows below Bmat.
    if (C.nrow() > 0) {
        GMM.Bmat(C, GMM.nobs, 0);
        for (unsigned long i = 0; i < C.nrow(); ++i) {
            const long r = GMM.nobs + static_cast<long>(i);
            GMM.fvec(r, 0) = 0.0L;
            GMM.Qll(r, 0) = 0.0L;
            GMM.Qll(r, 1) = 1.0L;
            GMM.Qll(r, 2) = 0.0L;
            if (!trace.empty()) std::cout << std::setw(7) << i + 1 << "\b\b\b\b\b\b\b";
        }
    }
    if (!trace.empty()) std::cout << "\n\n";
}

// ---------------------------------------------------------------------------

CGMMdH::CGMMdH(CProcSet& procset_, CGDatum& gdatum_, CTerObsZbirka& TO_, CGMM& GMM_)
    : procset(procset_), gdatum(gdatum_), TO(TO_), GMM(GMM_)
{
}

void CGMMdH::SetGMMdH()
{
    if (gdatum.Datum != 'H' || procset.Psevdoinverz()) return;
    const bool trace = procset.GetContPrint() != 0;
    if (trace) std::cout << "C: CGMMdH:\n";
    switch (procset.GetDim()) {
    case 1:
        if (trace) std::cout << " F: SetGMMdH -> SetHdat1() [1R H !=SVD]\n";
        SetHdat1();
        if (trace) std::cout << " F: SetGMMdH -> SetHred1() [1R H !=SVD]\n";
        SetHred1();
        break;
    case 2:
        if (trace) std::cout << " F: SetGMMdH -> SetHdat2() [2R H !=SVD]\n";
        SetHdat2();
        if (trace) std::cout << " F: SetGMMdH -> SetHred2() [2R H !=SVD]\n";
        SetHred2();
        break;
    default:
        if (trace) std::cout << " F: SetGMMdH -> SetHdat3() [3R H !=SVD]\n";
        SetHdat3();
        if (trace) std::cout << " F: SetGMMdH -> SetHred3() [3R H !=SVD]\n";
        SetHred3();
        break;
    }
    if (trace) std::cout << " F: SetGMMdH -> GMM.Bmat(GMM.Hred,GMM.nobs,0)\n";
    GMMdAppendRows(GMM, GMM.Hred, trace ? " F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i) = 1.0 -> " : "");
}

void CGMMdH::SetHdat1() { GMMdSetHdat(GMM, TO.Tocke(1), 1); }

void CGMMdH::SetHdat2() { GMMdSetHdat(GMM, TO.Tocke(2), 2); }

void CGMMdH::SetHdat3() { GMMdSetHdat(GMM, TO.Tocke(3), 3); }

void CGMMdH::SetHred1() { SetHred(1); }
void CGMMdH::SetHred2() { SetHred(2); }
void CGMMdH::SetHred3() { SetHred(3); }

void CGMMdH::SetHred(unsigned short Dim)
{
    const CTerObsTocke& tocke = TO.Tocke(Dim);
    const matrika<std::string>& izvzete = gdatum.PTDH;
    if (izvzete.size() == 0) {
        GMM.Hred = GMM.Hdat;
        return;
    }
    // Every excluded name must be a point: a misspelt one would otherwise
    // leave the point silently in the datum.
    std::unordered_set<std::string> imena;
    for (unsigned long k = 0; k < izvzete.size(); ++k) {
        tocke.PointIndex(izvzete(static_cast<long>(k)));
        imena.insert(izvzete(static_cast<long>(k)));
    }
    // A repeated name in the point list is excluded at every occurrence.
    std::vector<bool> datumska(tocke.nobs, true);
    for (unsigned long p = 0; p < tocke.nobs; ++p)
        if (imena.count(tocke.PTS(static_cast<long>(p), 0)) != 0) datumska[p] = false;
    GMMdHSetH(GMM.Hred, GMM, Dim, tocke.OBS, datumska, "H(red)");
}
