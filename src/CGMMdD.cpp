#include "src/CGMMdD.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <unordered_set>

#include "funkcije/Besedila.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMdH.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMMEqNelin.h"
#include "src/NivexAux.h"

namespace {

// Rows of zero length or shorter are left zero rather than blown up.
constexpr real kMinRowLength = numerika::kNicla;

// The ten lists of given quantities in row order.
enum class Vrsta { H, X, Y, Z, dX, dY, dZ, Dir, Dist, Zen };

const struct Seznam {
    Vrsta vrsta;
    const char* kljuc;                       // keyword of the data file
    matrika<std::string> CGDatum::*imena;
    unsigned short minDim, maxDim;           // dimensions in which the quantity exists
} kSeznami[] = {
    {Vrsta::H, "**DH", &CGDatum::PTH, 1, 1},       {Vrsta::X, "**DX", &CGDatum::PTX, 2, 3},
    {Vrsta::Y, "**DY", &CGDatum::PTY, 2, 3},       {Vrsta::Z, "**DZ", &CGDatum::PTZ, 3, 3},
    {Vrsta::dX, "**DdX", &CGDatum::PTdX, 2, 3},    {Vrsta::dY, "**DdY", &CGDatum::PTdY, 2, 3},
    {Vrsta::dZ, "**DdZ", &CGDatum::PTdZ, 3, 3},    {Vrsta::Dir, "**DS", &CGDatum::PTDir, 2, 3},
    {Vrsta::Dist, "**DD", &CGDatum::PTDist, 2, 3}, {Vrsta::Zen, "**DZen", &CGDatum::PTZen, 3, 3},
};

// The derivatives of a pair quantity by the coordinates of the second
// point; the first point takes their negatives.  The zenith-distance row
// carries the coefficients of its equation, the negative derivatives.  A
// quantity that needs a length refuses coinciding points.
void OdvodPara(Vrsta vrsta, const GMMEqNelinRazlika& d, unsigned short Dim, const std::string& par, real c[3])
{
    const bool nicS = !(d.s2 > 0.0L), nicD = !(d.d > 0.0L);
    if ((vrsta == Vrsta::Dir || vrsta == Vrsta::Zen || (vrsta == Vrsta::Dist && Dim == 2)) && nicS)
        NivexError(BesediloF(Besedilo::NapakaDatumskaKolicinaHorizontalnaDolzina, par.c_str()));
    if (vrsta == Vrsta::Dist && nicD) NivexError(BesediloF(Besedilo::NapakaDatumskaKolicinaDolzina, par.c_str()));
    c[0] = c[1] = c[2] = 0.0L;
    switch (vrsta) {
    case Vrsta::dX: c[0] = 1.0L; break;
    case Vrsta::dY: c[1] = 1.0L; break;
    case Vrsta::dZ: c[2] = 1.0L; break;
    case Vrsta::Dir: GMMEqSmerOdvod(d, c[0], c[1]); break;
    case Vrsta::Dist: GMMEqDolzinaOdvod(d, Dim == 3, c); break;
    case Vrsta::Zen:
        GMMEqZenitOdvod(d, c);
        for (int k = 0; k < 3; ++k) c[k] = -c[k];
        break;
    default: break;
    }
}

}  // namespace

CGMMdD::CGMMdD(CProcSet& procset_, CGDatum& gdatum_, CTerObsZbirka& TO_, CGMM& GMM_)
    : procset(procset_), gdatum(gdatum_), TO(TO_), GMM(GMM_)
{
}

void CGMMdD::SetGMMdD()
{
    // Fixed points with some coordinates held: their datum rows.
    if (gdatum.Datum == 'V') GMM.SetDrzaneVrstice();
    if (gdatum.Datum != 'D') return;
    const bool trace = procset.GetContPrint() != 0;
    if (trace) std::cout << "C: SetGMMdD:\n";
    switch (procset.GetDim()) {
    case 1:
        if (trace) std::cout << " F: SetGMMdD -> SetHdat1() [1R H]\n";
        SetHdat1();
        if (trace) std::cout << " F: SetGMMdD -> SetDdat1() [1R D]\n";
        SetDdat1();
        break;
    case 2:
        if (trace) std::cout << " F: SetGMMdD -> SetHdat2() [2R H]\n";
        SetHdat2();
        if (trace) std::cout << " F: SetGMMdD -> SetDdat2() [2R D]\n";
        SetDdat2();
        break;
    default:
        // The program has always named the spatial H step this way in its trace.
        if (trace) std::cout << " F: SetGMMdD -> SetDdat3() [3R H]\n";
        SetHdat3();
        if (trace) std::cout << " F: SetGMMdD -> SetDdat3() [3R D]\n";
        SetDdat3();
        break;
    }
    if (trace) std::cout << " F: SetGMMdD -> GMM.Bmat(GMM.Ddat,GMM.nobs,0)\n";
    GMMdAppendRows(GMM, GMM.Ddat, trace ? " F: SetGMMdH -> GMM.Qll(GMM.nobs+i,GMM.nobs+i)=1.0 -> " : "");
}

void CGMMdD::SetHdat1() { GMMdSetHdat(GMM, TO.Tocke(1), 1); }

void CGMMdD::SetHdat2() { GMMdSetHdat(GMM, TO.Tocke(2), 2); }

void CGMMdD::SetHdat3() { GMMdSetHdat(GMM, TO.Tocke(3), 3); }

void CGMMdD::SetDdat1() { SetDdat(1); }
void CGMMdD::SetDdat2() { SetDdat(2); }
void CGMMdD::SetDdat3() { SetDdat(3); }

void CGMMdD::SetDdat(unsigned short Dim)
{
    matrika<real>& D = GMM.Ddat;
    std::fill(D.data(), D.data() + D.size(), 0.0L);
    // A quantity the network cannot carry would leave a zero row behind and
    // a singular system (and a wrong count of datum parameters).
    for (const Seznam& s : kSeznami)
        if ((gdatum.*s.imena).nrow() > 0 && (Dim < s.minDim || Dim > s.maxDim))
            NivexError(BesediloF(Besedilo::NapakaDatumskaKolicinaDimenzija, s.kljuc, static_cast<int>(Dim)));

    const CTerObsTocke& tocke = TO.Tocke(Dim);
    // Coordinates that are themselves given take no part in the pair rows.
    std::unordered_set<std::string> dane[3];
    for (int k = 0; k < 3; ++k) {
        const matrika<std::string>& L = gdatum.*kSeznami[1 + k].imena;
        for (unsigned long i = 0; i < L.size(); ++i) dane[k].insert(L(static_cast<long>(i)));
    }
    long r = 0;
    for (const Seznam& s : kSeznami) {
        const matrika<std::string>& L = gdatum.*s.imena;
        for (long q = 0; q < static_cast<long>(L.nrow()); ++q, ++r) {
            const long pi = tocke.PointIndex(L(q, 0)), bi = GMM.iDeltaB(pi);
            if (L.ncol() == 1) {
                // A given height or coordinate: 1.0 in its column.
                const long k = s.vrsta == Vrsta::Y ? 1 : s.vrsta == Vrsta::Z ? 2 : 0;
                if (bi >= 0) D(r, bi + k) = 1.0L;
                continue;
            }
            const std::string &a = L(q, 0), &b = L(q, 1);
            const long pj = tocke.PointIndex(b), bj = GMM.iDeltaB(pj);
            const std::string par = std::string(s.kljuc) + " " + a + " - " + b;
            if (pj == pi) NivexError(BesediloF(Besedilo::NapakaDatumskaKolicinaIstaTocka, par.c_str()));
            const auto razlika = [&](int k) { return Dim > k ? tocke.OBS(pj, k) - tocke.OBS(pi, k) : 0.0L; };
            real cj[3];
            OdvodPara(s.vrsta, GMMEqRazlika(razlika(0), razlika(1), razlika(2)), Dim, par, cj);
            real ci[3] = {-cj[0], -cj[1], -cj[2]};
            real vsota = 0.0L;
            for (int k = 0; k < Dim; ++k) {
                if (bi < 0 || dane[k].count(a) != 0) ci[k] = 0.0L;
                if (bj < 0 || dane[k].count(b) != 0) cj[k] = 0.0L;
                vsota += ci[k] * ci[k] + cj[k] * cj[k];
            }
            const real m = std::sqrt(vsota);
            if (m <= kMinRowLength) continue;
            for (int k = 0; k < Dim; ++k) {
                if (bi >= 0) D(r, bi + k) = ci[k] / m;
                if (bj >= 0) D(r, bj + k) = cj[k] / m;
            }
        }
    }
}
