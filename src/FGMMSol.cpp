#include "src/FGMMSol.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "funkcije/Besedila.h"
#include "src/CTerObs.h"
#include "src/NivexAux.h"

namespace {
const std::string kPrazno9(9, ' ');

// Rows of a 2D block: values, corrections with deviations, adjusted values
// with the absolute error ellipse.  `oznaka` stands before the first row
// (number and name, or blanks).
void Blok2Print(std::ostream& izhod, const std::string& oznaka, const RezBlok& b)
{
    izhod << oznaka << std::setw(14) << b.apr[0] << std::setw(14) << b.apr[1] << "\n";
    izhod << kPrazno9 << std::setw(14) << b.pop[0] << std::setw(14) << b.pop[1] << std::setw(10) << b.sig[0]
          << std::setw(10) << b.sig[1] << "\n";
    izhod << kPrazno9 << std::setw(14) << b.izr[0] << std::setw(14) << b.izr[1] << std::setw(10) << b.a
          << std::setw(10) << b.b;
    IzpisNastavitve(izhod, 2);
    izhod << std::setw(10) << b.theta;
}

// Rows of a 3D block; `oznaka(d)` is what stands before the values of row d.
template <typename Oznaka>
void Blok3Print(std::ostream& izhod, Oznaka oznaka, const RezBlok& b)
{
    for (int d = 0; d < 3; ++d) {
        IzpisNastavitve(izhod, 4);
        izhod << oznaka(d) << std::setw(14) << b.apr[d] << std::setw(10) << b.pop[d] << std::setw(14) << b.izr[d]
              << std::setw(10) << b.sig[d] << std::setw(12) << b.S[d];
        IzpisNastavitve(izhod, 2);
        izhod << std::setw(7) << b.A[d];
        if (d == 0) {
            IzpisNastavitve(izhod, 4);
            izhod << std::setw(12) << b.a;
        } else if (d == 1) {
            IzpisNastavitve(izhod, 4);
            izhod << std::setw(12) << b.b;
            IzpisNastavitve(izhod, 2);
            izhod << std::setw(7) << b.theta;
        }
        if (d < 2) izhod << "\n";
    }
}

std::string StevilkaIme(long i, const std::string& ime)
{
    std::ostringstream s;
    s << std::right << std::setw(3) << i + 1;
    TerObsTxt(s, ime, 6);
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
        vrstica(B(Besedilo::RezGlavaH));
        if (XVel) vrstica(B(Besedilo::RezGlavaVH));
    } else if (Dim == 2) {
        vrstica(B(Besedilo::RezGlavaXY0));
        vrstica(B(Besedilo::RezGlavaDXY));
        vrstica(B(Besedilo::RezGlavaXY));
        if (XVel) {
            izhod << "\n";
            vrstica(B(Besedilo::RezGlavaVXY0));
            vrstica(B(Besedilo::RezGlavaDVXY));
            vrstica(B(Besedilo::RezGlavaVXY));
        }
    } else {
        vrstica(B(Besedilo::RezGlava3D1));
        vrstica(B(Besedilo::RezGlava3D2));
    }
    return zadnja.size();
}

void GMMSolSetIndex(long i, const matrika<std::int32_t>& iDeltaB, const matrika<std::int32_t>& iDeltaBV,
                    unsigned short XVel, long& ix, long& ixv)
{
    ix = iDeltaB(i);
    ixv = XVel ? static_cast<long>(iDeltaBV(i)) : -1L;
}

void GMMSolResBodyPrint1(std::ostream& izhod, const CRezultati& rez, unsigned short XVel)
{
    IzpisNastavitve(izhod, 6);
    izhod << std::right;
    const long n = static_cast<long>(rez.tocke.size());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n";
        const RezTocka& t = rez.tocke[static_cast<std::size_t>(i)];
        const RezBlok& h = t.koordinate;
        izhod << StevilkaIme(i, t.ime) << std::setw(14) << h.apr[0] << std::setw(12) << h.pop[0] << std::setw(14)
              << h.izr[0] << std::setw(12) << h.sig[0];
        if (XVel) {
            const RezBlok& v = t.hitrosti;
            izhod << "\n" << kPrazno9 << std::setw(14) << v.apr[0] << std::setw(12) << v.pop[0] << std::setw(14)
                  << v.izr[0] << std::setw(12) << v.sig[0];
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolResBodyPrint2(std::ostream& izhod, const CRezultati& rez, unsigned short XVel)
{
    izhod << std::right;
    const long n = static_cast<long>(rez.tocke.size());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n\n";
        IzpisNastavitve(izhod, 4);
        const RezTocka& t = rez.tocke[static_cast<std::size_t>(i)];
        Blok2Print(izhod, StevilkaIme(i, t.ime), t.koordinate);
        if (XVel) {
            IzpisNastavitve(izhod, 4);
            izhod << "\n\n";
            Blok2Print(izhod, kPrazno9, t.hitrosti);
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolResBodyPrint3(std::ostream& izhod, const CRezultati& rez, unsigned short XVel)
{
    static const char* const kOs[3] = {"X", "Y", "Z"};
    static const char* const kHitrost[3] = {"VX", "VY", "VZ"};
    izhod << std::right;
    const long n = static_cast<long>(rez.tocke.size());
    for (long i = 0; i < n; ++i) {
        if (i > 0) izhod << "\n\n";
        const RezTocka& t = rez.tocke[static_cast<std::size_t>(i)];
        const std::string ime = StevilkaIme(i, t.ime);
        Blok3Print(
            izhod,
            [&](int d) {
                std::ostringstream s;
                s << (d == 0 ? ime : kPrazno9) << std::setw(4) << kOs[d];
                return s.str();
            },
            t.koordinate);
        if (XVel) {
            izhod << "\n\n";
            Blok3Print(
                izhod,
                [&](int d) {
                    std::ostringstream s;
                    s << std::setw(13) << kHitrost[d];
                    return s.str();
                },
                t.hitrosti);
        }
    }
    if (n > 0) izhod << "\n";
}

void GMMSolPrintRefKoeficient(std::ostream& izhod, const std::string& kRefType, const CRezultati& rez)
{
    PodNaslov(izhod, B(Besedilo::NaslovRefrakcija), 1);
    izhod << "\n" << std::right;
    auto izravnaj = [&](const RezRefrakcija& k) {
        izhod << std::setw(8) << k.k << "  +- " << std::setw(8) << k.sig;
    };
    if (kRefType.find("SINGLE") != std::string::npos) {
        izhod << B(Besedilo::RefrakcijaKoeficientOznaka);
        IzpisNastavitve(izhod, 3);
        if (!rez.refrakcija.empty()) izravnaj(rez.refrakcija[0]);
    } else if (kRefType.find("STAT") != std::string::npos) {
        const std::string crta(30, '-');
        izhod << std::setw(9) << B(Besedilo::RefrakcijaTocka) << std::setw(21) << B(Besedilo::RefrakcijaKoeficient) << "\n" << crta << "\n";
        IzpisNastavitve(izhod, 3);
        for (std::size_t t = 0; t < rez.refrakcija.size(); ++t) {
            izhod << std::setw(3) << t + 1;
            TerObsTxt(izhod, rez.refrakcija[t].postaja, 6);
            izravnaj(rez.refrakcija[t]);
            izhod << "\n";
        }
        izhod << crta << "\n";
    }
    izhod << "\n\n";
}
