#include "src/CRelEll.h"

#include "src/CRezultati.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <utility>
#include <vector>

#include "funkcije/Besedila.h"
#include "matrika/elipsoidpog.h"
#include "matrika/elipspog.h"
#include "matrika/seznamm.h"
#include "matrika/vzporedno.h"
#include "src/CGMM.h"
#include "src/CGMMSol.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FGMM.h"
#include "src/NivexAux.h"

namespace {
// A semi-axis from a variance that round-off may leave a hair below zero.
real Polos(real s, real lambda) { return lambda > 0.0L ? std::sqrt(s * lambda) : 0.0L; }
}  // namespace

CRelEll::CRelEll(CProcSet& procset_, CTerObsZbirka& TO_, CGMM& GMM_, CGMMSol& GMMS_)
    : procset(procset_), TO(TO_), GMM(GMM_), GMMS(GMMS_)
{
}

std::vector<const CTerObs*> CRelEll::Povezave() const
{
    std::vector<const CTerObs*> zbirke;
    for (const char* c = kVrstniRedPovezav; *c != '\0'; ++c)
        if (const TerObsVrsta* v = TerObsVrstaZapisa(*c, procset.GetDim()); v != nullptr && v->povezuje)
            zbirke.push_back(&TO.Set(static_cast<TerObsSet>(TerObsIndeks(*v))));
    return zbirke;
}

void CRelEll::SetRelEll()
{
    Dim = procset.GetDim();
    if (Dim < 2) return;
    const bool sled = procset.GetContPrint() != 0;
    if (sled) std::cout << "\n" << "C: CRelEll:" << "\n" << " F: SetRelEll() -> SetDimensions() [2R 3R] -> ";
    SetDimensions();
    if (sled) std::cout << " F: SetRelEll() -> CalcRelEll() [2R 3R]" << "\n";
    CalcRelEll();
}

void CRelEll::SetPTS(matrika<std::string>& P, long i1, long i2, long row) const
{
    P(row, 0) = TO.TOCrdA.PTS(i1 < i2 ? i1 : i2);
    P(row, 1) = TO.TOCrdA.PTS(i1 < i2 ? i2 : i1);
}

void CRelEll::SetDimensions()
{
    const bool sled = procset.GetContPrint() != 0;
    const std::vector<const CTerObs*> zbirke = Povezave();
    // The pairs of the records that take part: a record set aside connects
    // nothing, as if its line were not in the file.
    nobs = 0;
    for (const CTerObs* z : zbirke) nobs += z->NAktivnih();
    if (nobs == 0) {
        if (sled) std::cout << " #RelEll = 0" << "\n";
        PTS.resize(0, 0);
        OBS.resize(0, 0);
        SIG.resize(0, 0);
        return;
    }
    matrika<std::string> vsi(nobs, 2);
    long row = 0;
    for (const CTerObs* z : zbirke)
        for (unsigned long i = 0; i < z->NObs(); ++i) {
            if (!z->Aktiven(static_cast<long>(i))) continue;
            const GMMEqTocka t1 = GMMEqSetIndex(GMM, TO.TOCrdA, z->GetPTS(i, 0), 0);
            const GMMEqTocka t2 = GMMEqSetIndex(GMM, TO.TOCrdA, z->GetPTS(i, 1), 0);
            SetPTS(vsi, t1.ind, t2.ind, row++);
        }
    if (sled) std::cout << " PTS";
    PTS = seznamVr(vsi);
    if (sled) std::cout << " OBS";
    OBS.resize(PTS.nrow(), Dim, 0.0L);
    SIG.resize(PTS.nrow(), Dim == 2 ? 3 : 9, 0.0L);
    if (sled) std::cout << " OK" << "\n";
}

void CRelEll::CalcRelEll()
{
    nobs = static_cast<std::uint32_t>(PTS.nrow());
    const long s = Dim == 2 ? 0 : 6;  // first column of the horizontal ellipse
    const real so2 = GMMS.SoIIzracun, so = std::sqrt(so2);
    // The points of every pair looked up first; the pairs then shared among
    // the threads (every one writes its own row, the cofactors are only read).
    std::vector<std::pair<GMMEqTocka, GMMEqTocka>> tocki(nobs);
    for (long d = 0; d < static_cast<long>(nobs); ++d)
        tocki[static_cast<std::size_t>(d)] = {GMMEqSetIndex(GMM, TO.TOCrdA, PTS(d, 0), 0),
                                              GMMEqSetIndex(GMM, TO.TOCrdA, PTS(d, 1), 0)};
    constexpr long kParov = 256;   // pairs of one task
    const long nalog = (static_cast<long>(nobs) + kParov - 1) / kParov;
    vzporedno::Vzporedno(nalog, 400.0 * nobs, vzporedno::Jedra(), [&](long n) {
        for (long d = n * kParov; d < std::min(static_cast<long>(nobs), (n + 1) * kParov); ++d) {
            const GMMEqTocka& t1 = tocki[static_cast<std::size_t>(d)].first;
            const GMMEqTocka& t2 = tocki[static_cast<std::size_t>(d)].second;
            // Cofactors of the difference of the two points' coordinates.
            matrika<real> Q(Dim, Dim, 0.0L);
            for (long a = 0; a < Dim; ++a)
                for (long b = 0; b < Dim; ++b) {
                    real q = 0.0L;
                    if (t1.iB >= 0) q += GMMS.Qxx(t1.iB + a, t1.iB + b);
                    if (t2.iB >= 0) q += GMMS.Qxx(t2.iB + a, t2.iB + b);
                    if (t1.iB >= 0 && t2.iB >= 0) q -= GMMS.Qxx(t1.iB + a, t2.iB + b) + GMMS.Qxx(t2.iB + a, t1.iB + b);
                    Q(a, b) = q;
                }
            real qxx = Q(0, 0), qyy = Q(1, 1), qxy = Q(1, 0), A = 0.0L, B = 0.0L, theta = 0.0L;
            elipspog(qxx, qyy, qxy, A, B, theta);
            for (long c = 0; c < Dim; ++c) OBS(d, c) = (TO.TOCrdA.OBS(t1.ind, c) + TO.TOCrdA.OBS(t2.ind, c)) / 2.0L;
            if (Dim == 3) {
                matrika<real> L(3, 1, 0.0L), alfa(3, 1, 0.0L);
                elipsoidpog(Q, L, alfa);
                for (long k = 0; k < 3; ++k) {
                    SIG(d, k) = Polos(so2, L(k));
                    SIG(d, 3 + k) = alfa(k);
                }
            }
            SIG(d, s) = A * so;
            SIG(d, s + 1) = B * so;
            SIG(d, s + 2) = theta;
        }
    });
}

void CRelEll::PrintRelEll(std::ostream& izhod)
{
    if (Dim < 2 || nobs == 0) return;
    const bool sled = procset.GetContPrint() != 0;
    if (sled) std::cout << " F: PrintRelEll(ofstream& izhod) -> PrintHead(ofstream& izhod) [2R 3R]" << "\n";
    PrintHead(izhod);
    if (sled) std::cout << " F: PrintRelEll(ofstream& izhod) -> PrintEll(ofstream& izhod) [2R 3R]" << "\n";
    PrintEll(izhod);
}

void CRelEll::PrintHead(std::ostream& izhod)
{
    PodNaslov(izhod, B(Dim == 2 ? Besedilo::NaslovRelativneElipse : Besedilo::NaslovRelativneElipsoidi), 1);
    izhod << "\n";
    const std::string glava =
        B(Dim == 2 ? Besedilo::RelativneElipseGlava : Besedilo::RelativneElipsoidiGlava);
    izhod << glava << "\n";
    nline = static_cast<std::int32_t>(glava.size());
    izhod << std::string(glava.size(), '-') << "\n";
}

void CRelEll::PrintEll(std::ostream& izhod)
{
    izhod << std::right;
    for (long d = 0; d < static_cast<long>(nobs); ++d) {
        izhod << std::setw(3) << d + 1;
        TerObsTxt(izhod, PTS(d, 0), 6);
        TerObsTxt(izhod, PTS(d, 1), 6);
        IzpisNastavitve(izhod, 4);
        if (Dim == 2) {
            izhod << std::setw(12) << SIG(d, 0) << std::setw(12) << SIG(d, 1);
            IzpisNastavitve(izhod, 2);
            izhod << std::setw(10) << SIG(d, 2) << "\n";
            continue;
        }
        izhod << std::setw(15) << SIG(d, 0) << std::setw(12) << SIG(d, 1) << std::setw(12) << SIG(d, 2)
              << std::setw(17) << SIG(d, 6) << std::setw(12) << SIG(d, 7) << "\n";
        IzpisNastavitve(izhod, 2);
        izhod << std::setw(30) << SIG(d, 3) << std::setw(12) << SIG(d, 4) << std::setw(12) << SIG(d, 5)
              << std::setw(17) << SIG(d, 8) << "\n";
        if (d + 1 < static_cast<long>(nobs)) izhod << "\n";
    }
    izhod << std::string(static_cast<std::size_t>(nline), '-') << "\n\n\n";
}

void CRelEll::SetRezultati(CRezultati& rez) const
{
    // The horizontal ellipse follows the six ellipsoid values in a spatial network.
    const long s = rez.dim == 3 ? 6 : 0;
    rez.relativne.assign(nobs, RezRelElipsa{});
    for (long i = 0; i < static_cast<long>(nobs); ++i) {
        RezRelElipsa& e = rez.relativne[static_cast<std::size_t>(i)];
        e.od = PTS(i, 0);
        e.doTocke = PTS(i, 1);
        for (long d = 0; d < static_cast<long>(OBS.ncol()) && d < 3; ++d) e.sredina[d] = OBS(i, d);
        e.a = SIG(i, s);
        e.b = SIG(i, s + 1);
        e.theta = SIG(i, s + 2);
    }
}
