#include "src/FGMMSol.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "matrika/elipsoidpog.h"
#include "matrika/elipspog.h"
#include "src/CTerObs.h"
#include "src/NivexAux.h"

namespace {
const std::string kPrazno9(9, ' ');

long double Sigma(long double SoIIzracun, long double q) { return std::sqrt(SoIIzracun * std::fabs(q)); }

// One point's block of dim values of the list M (coordinates or velocities)
// whose unknowns start at ix: a-priori, correction, adjusted value, standard
// deviation.
struct Blok {
    long double apr[3] = {0, 0, 0};
    long double pop[3] = {0, 0, 0};
    long double izr[3] = {0, 0, 0};
    long double sig[3] = {0, 0, 0};
    // Cofactor block of the unknowns, zero without unknowns.
    long double Q[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
};

Blok IzravnajBlok(const matrika<long double>& M, long i, long ix, int dim, const matrika<long double>& xunk,
                  const Kofaktor& Qdd, long double SoIIzracun)
{
    Blok b;
    for (int d = 0; d < dim; ++d) {
        b.apr[d] = M(i, d);
        b.izr[d] = b.apr[d];
    }
    if (ix < 0) return b;
    for (int d = 0; d < dim; ++d) {
        b.pop[d] = xunk(ix + d);
        b.izr[d] = b.apr[d] + b.pop[d];
        b.sig[d] = Sigma(SoIIzracun, Qdd(ix + d, ix + d));
        for (int e = 0; e < dim; ++e) b.Q[d][e] = Qdd(ix + d, ix + e);
    }
    return b;
}

// Rows of a 2D block: values, corrections with deviations, adjusted values
// with the absolute error ellipse.  `oznaka` stands before the first row
// (number and name, or blanks).
void Blok2Print(std::ostream& izhod, const std::string& oznaka, const Blok& b, long double SoIIzracun)
{
    izhod << oznaka << std::setw(14) << b.apr[0] << std::setw(14) << b.apr[1] << "\n";
    izhod << kPrazno9 << std::setw(14) << b.pop[0] << std::setw(14) << b.pop[1] << std::setw(10) << b.sig[0]
          << std::setw(10) << b.sig[1] << "\n";
    long double qxx = SoIIzracun * b.Q[0][0];
    long double qyy = SoIIzracun * b.Q[1][1];
    long double qxy = SoIIzracun * b.Q[1][0];
    long double a = 0.0L, bb = 0.0L, theta = 0.0L;
    elipspog(qxx, qyy, qxy, a, bb, theta);
    izhod << kPrazno9 << std::setw(14) << b.izr[0] << std::setw(14) << b.izr[1] << std::setw(10) << a
          << std::setw(10) << bb;
    IzpisNastavitve(izhod, 2);
    izhod << std::setw(10) << theta;
}

// Rows of a 3D block; `oznaka(d)` is what stands before the values of row d.
template <typename Oznaka>
void Blok3Print(std::ostream& izhod, Oznaka oznaka, const Blok& b, long double SoIIzracun)
{
    matrika<long double> Q(3, 3, 0.0L);
    for (int d = 0; d < 3; ++d)
        for (int e = 0; e < 3; ++e) Q(d, e) = b.Q[d][e];
    long double qxx = Q(0, 0), qyy = Q(1, 1), qxy = Q(1, 0);
    matrika<long double> S(3, 1, 0.0L), A(3, 1, 0.0L);
    elipsoidpog(Q, S, A);
    long double ah = 0.0L, bh = 0.0L, th = 0.0L;
    elipspog(qxx, qyy, qxy, ah, bh, th);
    const long double so = std::sqrt(SoIIzracun);
    for (int d = 0; d < 3; ++d) {
        IzpisNastavitve(izhod, 4);
        izhod << oznaka(d) << std::setw(14) << b.apr[d] << std::setw(10) << b.pop[d] << std::setw(14) << b.izr[d]
              << std::setw(10) << b.sig[d] << std::setw(12) << std::sqrt(SoIIzracun * std::fabs(S(d)));
        IzpisNastavitve(izhod, 2);
        izhod << std::setw(7) << A(d);
        if (d == 0) {
            IzpisNastavitve(izhod, 4);
            izhod << std::setw(12) << ah * so;
        } else if (d == 1) {
            IzpisNastavitve(izhod, 4);
            izhod << std::setw(12) << bh * so;
            IzpisNastavitve(izhod, 2);
            izhod << std::setw(7) << th;
        }
        if (d < 2) izhod << "\n";
    }
}

std::string StevilkaIme(long i, const matrika<std::string>& PTS)
{
    std::ostringstream s;
    s << std::right << std::setw(3) << i + 1;
    TerObsTxt(s, PTS(i), 6);
    return s.str();
}
}  // namespace

std::size_t GMMSolResHeadPrint(std::ostream& izhod, unsigned short Dim, unsigned short XVel)
{
    std::string zadnja;
    auto vrstica = [&](const char* t) {
        izhod << t << "\n";
        zadnja = t;
    };
    if (Dim == 1) {
        vrstica("      TC         H0          dH            H           sH    ");
        if (XVel) vrstica("                VH0         dVH           VH          sVH    ");
    } else if (Dim == 2) {
        vrstica("      TC        X0            Y0");
        vrstica("                dX            dY          sdX       sdY");
        vrstica("                 X             Y           A         B        TH   ");
        if (XVel) {
            izhod << "\n";
            vrstica("               VX0           VY0");
            vrstica("               dVX           dVY         sdVX      sdVY");
            vrstica("                VX            VY           AV        BV       THV  ");
        }
    } else {
        vrstica("      TC    K     APRIORI    POPRAVEK    IZRAVNANE      SIG           3R                 2R");
        vrstica("                 KOORDINATE  KOORDINAT   KOORDINATE     CRD          ELIPSOID           ELIPSA     ");
    }
    return zadnja.size();
}

void GMMSolSetIndex(long i, const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                    unsigned short XVel, long& ix, long& ixv)
{
    ix = iDeltaB(i);
    ixv = XVel ? static_cast<long>(iDeltaBV(i)) : -1L;
}

void GMMSolResBodyPrint1(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun)
{
    IzpisNastavitve(izhod, 6);
    izhod << std::right;
    const long n = static_cast<long>(PTS.nrow());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n";
        long ix = -1, ixv = -1;
        GMMSolSetIndex(i, iDeltaB, iDeltaBV, XVel, ix, ixv);
        const Blok h = IzravnajBlok(OBS, i, ix, 1, xunk, Qdd, SoIIzracun);
        izhod << StevilkaIme(i, PTS) << std::setw(14) << h.apr[0] << std::setw(12) << h.pop[0] << std::setw(14)
              << h.izr[0] << std::setw(12) << h.sig[0];
        if (XVel) {
            const Blok v = IzravnajBlok(VELA, i, ixv, 1, xunk, Qdd, SoIIzracun);
            izhod << "\n" << kPrazno9 << std::setw(14) << v.apr[0] << std::setw(12) << v.pop[0] << std::setw(14)
                  << v.izr[0] << std::setw(12) << v.sig[0];
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolResBodyPrint2(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun)
{
    izhod << std::right;
    const long n = static_cast<long>(PTS.nrow());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n\n";
        IzpisNastavitve(izhod, 4);
        long ix = -1, ixv = -1;
        GMMSolSetIndex(i, iDeltaB, iDeltaBV, XVel, ix, ixv);
        const Blok c = IzravnajBlok(OBS, i, ix, 2, xunk, Qdd, SoIIzracun);
        Blok2Print(izhod, StevilkaIme(i, PTS), c, SoIIzracun);
        if (XVel) {
            IzpisNastavitve(izhod, 4);
            izhod << "\n\n";
            const Blok v = IzravnajBlok(VELA, i, ixv, 2, xunk, Qdd, SoIIzracun);
            Blok2Print(izhod, kPrazno9, v, SoIIzracun);
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolResBodyPrint3(std::ostream& izhod, const matrika<std::string>& PTS,
                         const matrika<long double>& OBS, const matrika<long double>& VELA,
                         const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                         unsigned short XVel, const matrika<long double>& xunk, const Kofaktor& Qdd,
                         long double SoIIzracun)
{
    static const char* const kOs[3] = {"X", "Y", "Z"};
    static const char* const kHitrost[3] = {"VX", "VY", "VZ"};
    izhod << std::right;
    const long n = static_cast<long>(PTS.nrow());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n";
        long ix = -1, ixv = -1;
        GMMSolSetIndex(i, iDeltaB, iDeltaBV, XVel, ix, ixv);
        const Blok c = IzravnajBlok(OBS, i, ix, 3, xunk, Qdd, SoIIzracun);
        const std::string ime = StevilkaIme(i, PTS);
        Blok3Print(
            izhod,
            [&](int d) {
                std::ostringstream s;
                s << (d == 0 ? ime : kPrazno9) << std::setw(4) << kOs[d];
                return s.str();
            },
            c, SoIIzracun);
        if (XVel) {
            izhod << "\n\n";
            const Blok v = IzravnajBlok(VELA, i, ixv, 3, xunk, Qdd, SoIIzracun);
            Blok3Print(
                izhod,
                [&](int d) {
                    std::ostringstream s;
                    s << std::setw(13) << kHitrost[d];
                    return s.str();
                },
                v, SoIIzracun);
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolPrintRefKoeficient(std::ostream& izhod, std::int32_t nunkkref, const std::string& kRefType,
                              const matrika<long double>& xunk, const Kofaktor& Qdd,
                              const matrika<std::int32_t>& iDeltaBk, const matrika<long double>& kRefEst,
                              const matrika<std::string>& PTSk, long double SoIIzracun)
{
    PodNaslov(izhod, "OCENJENE VREDNOSTI KOEFICIENTA REFRAKCIJE", 1);
    izhod << "\n" << std::right;
    auto izravnaj = [&](long t) {
        const long k = iDeltaBk(t);
        izhod << std::setw(8) << kRefEst(t) + xunk(k) << "  +- " << std::setw(8) << Sigma(SoIIzracun, Qdd(k, k));
    };
    if (kRefType.find("SINGLE") != std::string::npos) {
        izhod << "Koeficient refrakcije: ";
        IzpisNastavitve(izhod, 3);
        if (nunkkref > 0) izravnaj(0);
    } else if (kRefType.find("STAT") != std::string::npos) {
        const std::string crta(30, '-');
        izhod << std::setw(9) << "TC " << std::setw(21) << "Koeficient refrakcije" << "\n" << crta << "\n";
        IzpisNastavitve(izhod, 3);
        for (long t = 0; t < nunkkref; ++t) {
            izhod << std::setw(3) << t + 1;
            TerObsTxt(izhod, PTSk(t), 6);
            izravnaj(t);
            izhod << "\n";
        }
        izhod << crta << "\n";
    }
    izhod << "\n\n";
}
