#include "src/CGMMdD.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CGMMdH.h"
#include "src/CProcSet.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsHA.h"
#include "src/NivexAux.h"

namespace {

// Rows of zero length or shorter are left zero rather than blown up.
constexpr long double kMinRowLength = 1e-14L;

// The ten lists of given quantities in row order.
enum class Vrsta { H, X, Y, Z, dX, dY, dZ, Dir, Dist, Zen };

struct Seznam {
    Vrsta vrsta;
    const char* kljuc;                 // keyword of the data file
    const matrika<std::string>* imena;
    unsigned short minDim, maxDim;     // dimensions in which the quantity exists
};

std::string Par(const char* kljuc, const std::string& a, const std::string& b)
{
    return std::string(kljuc) + " " + a + " - " + b;
}

[[noreturn]] void NiMozna(const char* kljuc, unsigned short Dim)
{
    NivexError(std::string(" **** Ni pravi podatek:    Datumska kolicina ") + kljuc + " ni mozna v " +
               std::to_string(Dim) + "R mrezi      *** ");
}

[[noreturn]] void IstaTocka(const char* kljuc, const std::string& a, const std::string& b)
{
    NivexError(" **** Ni pravi podatek:    Datumska kolicina " + Par(kljuc, a, b) +
               ": ista tocka je podana dvakrat      *** ");
}

[[noreturn]] void NicDolzina(const char* kljuc, const std::string& a, const std::string& b, bool horizontalna)
{
    NivexError(" **** Ni pravi podatek:    Datumska kolicina " + Par(kljuc, a, b) + ": " +
               (horizontalna ? "horizontalna dolzina" : "dolzina") + " med tockama je 0      *** ");
}

}  // namespace

CGMMdD::CGMMdD(CProcSet& procset_, CGDatum& gdatum_, CTerObsHA& TOHA_, CTerObsCrdA& TOCrdA_, CGMM& GMM_)
    : procset(procset_), gdatum(gdatum_), TOHA(TOHA_), TOCrdA(TOCrdA_), GMM(GMM_)
{
}

void CGMMdD::SetGMMdD()
{
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

void CGMMdD::SetHdat1()
{
    GMMdHSetH(GMM.Hdat, GMM, 1, TOHA.OBS, std::vector<bool>(TOHA.nobs, true), "H");
}

void CGMMdD::SetHdat2()
{
    GMMdHSetH(GMM.Hdat, GMM, 2, TOCrdA.OBS, std::vector<bool>(TOCrdA.nobs, true), "H");
}

void CGMMdD::SetHdat3()
{
    GMMdHSetH(GMM.Hdat, GMM, 3, TOCrdA.OBS, std::vector<bool>(TOCrdA.nobs, true), "H");
}

void CGMMdD::SetDdat1() { SetDdat(1); }
void CGMMdD::SetDdat2() { SetDdat(2); }
void CGMMdD::SetDdat3() { SetDdat(3); }

void CGMMdD::SetDdat(unsigned short Dim)
{
    matrika<long double>& D = GMM.Ddat;
    std::fill(D.data(), D.data() + D.size(), 0.0L);

    const Seznam seznami[] = {
        {Vrsta::H, "**DH", &gdatum.PTH, 1, 1},       {Vrsta::X, "**DX", &gdatum.PTX, 2, 3},
        {Vrsta::Y, "**DY", &gdatum.PTY, 2, 3},       {Vrsta::Z, "**DZ", &gdatum.PTZ, 3, 3},
        {Vrsta::dX, "**DdX", &gdatum.PTdX, 2, 3},    {Vrsta::dY, "**DdY", &gdatum.PTdY, 2, 3},
        {Vrsta::dZ, "**DdZ", &gdatum.PTdZ, 3, 3},    {Vrsta::Dir, "**DS", &gdatum.PTDir, 2, 3},
        {Vrsta::Dist, "**DD", &gdatum.PTDist, 2, 3}, {Vrsta::Zen, "**DZen", &gdatum.PTZen, 3, 3},
    };
    // A quantity the network cannot carry would leave a zero row behind and
    // a singular system (and a wrong count of datum parameters).
    for (const Seznam& s : seznami)
        if (s.imena->nrow() > 0 && (Dim < s.minDim || Dim > s.maxDim)) NiMozna(s.kljuc, Dim);

    const CTerObs& tocke = Dim == 1 ? static_cast<const CTerObs&>(TOHA) : static_cast<const CTerObs&>(TOCrdA);
    const matrika<long double>& X = tocke.OBS;
    const std::unordered_map<std::string, long> index = GMMdPointIndex(tocke.PTS);

    // Coordinates that are themselves given take no part in the pair rows.
    std::unordered_set<std::string> dane[3];
    const matrika<std::string>* daneL[3] = {&gdatum.PTX, &gdatum.PTY, &gdatum.PTZ};
    for (int k = 0; k < 3; ++k)
        for (unsigned long i = 0; i < daneL[k]->size(); ++i) dane[k].insert((*daneL[k])(static_cast<long>(i)));

    const int nk = Dim == 1 ? 1 : Dim;  // coordinates per point
    long r = 0;
    for (const Seznam& s : seznami) {
        const matrika<std::string>& L = *s.imena;
        for (unsigned long q = 0; q < L.nrow(); ++q, ++r) {
            const long iq = static_cast<long>(q);
            const long pi = GMMdFindPoint(index, L(iq, 0));
            const long bi = GMM.iDeltaB(pi);
            switch (s.vrsta) {
            case Vrsta::H:
            case Vrsta::X:
                if (bi >= 0) D(r, bi) = 1.0L;
                continue;
            case Vrsta::Y:
                if (bi >= 0) D(r, bi + 1) = 1.0L;
                continue;
            case Vrsta::Z:
                if (bi >= 0) D(r, bi + 2) = 1.0L;
                continue;
            default:
                break;
            }

            // A pair: the derivatives by the coordinates of i (ci) and j (cj).
            const std::string& a = L(iq, 0);
            const std::string& b = L(iq, 1);
            const long pj = GMMdFindPoint(index, b);
            if (pj == pi) IstaTocka(s.kljuc, a, b);
            const long bj = GMM.iDeltaB(pj);
            const long double dx = X(pj, 0) - X(pi, 0);
            const long double dy = X(pj, 1) - X(pi, 1);
            const long double dz = Dim == 3 ? X(pj, 2) - X(pi, 2) : 0.0L;
            long double ci[3] = {0.0L, 0.0L, 0.0L};
            long double cj[3] = {0.0L, 0.0L, 0.0L};
            switch (s.vrsta) {
            case Vrsta::dX:
            case Vrsta::dY:
            case Vrsta::dZ: {
                const int k = s.vrsta == Vrsta::dX ? 0 : s.vrsta == Vrsta::dY ? 1 : 2;
                ci[k] = -1.0L;
                cj[k] = 1.0L;
                break;
            }
            case Vrsta::Dir: {
                // Grid bearing atan2(dx, dy) from the second axis towards the first.
                const long double s2 = dx * dx + dy * dy;
                if (!(s2 > 0.0L)) NicDolzina(s.kljuc, a, b, true);
                ci[0] = -dy / s2;
                ci[1] = dx / s2;
                cj[0] = dy / s2;
                cj[1] = -dx / s2;
                break;
            }
            case Vrsta::Dist: {
                const long double d = std::sqrt(dx * dx + dy * dy + dz * dz);
                if (!(d > 0.0L)) NicDolzina(s.kljuc, a, b, Dim == 2);
                ci[0] = -dx / d;
                ci[1] = -dy / d;
                ci[2] = -dz / d;
                cj[0] = dx / d;
                cj[1] = dy / d;
                cj[2] = dz / d;
                break;
            }
            case Vrsta::Zen: {
                // The coefficients of the zenith-distance equation z = atan(s / dz).
                const long double sd = std::sqrt(dx * dx + dy * dy);
                if (!(sd > 0.0L)) NicDolzina(s.kljuc, a, b, true);
                const long double d2 = sd * sd + dz * dz;
                const long double c = dz / (sd * d2);
                ci[0] = c * dx;
                ci[1] = c * dy;
                ci[2] = -sd / d2;
                cj[0] = -c * dx;
                cj[1] = -c * dy;
                cj[2] = sd / d2;
                break;
            }
            default:
                break;
            }
            for (int k = 0; k < nk; ++k) {
                if (bi < 0 || dane[k].count(a) != 0) ci[k] = 0.0L;
                if (bj < 0 || dane[k].count(b) != 0) cj[k] = 0.0L;
            }
            long double vsota = 0.0L;
            for (int k = 0; k < nk; ++k) vsota += ci[k] * ci[k] + cj[k] * cj[k];
            const long double m = std::sqrt(vsota);
            if (m <= kMinRowLength) continue;
            for (int k = 0; k < nk; ++k) {
                if (bi >= 0) D(r, bi + k) = ci[k] / m;
                if (bj >= 0) D(r, bj + k) = cj[k] / m;
            }
        }
    }
}
