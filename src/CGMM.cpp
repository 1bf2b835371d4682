#include "src/CGMM.h"

#include <array>
#include <iomanip>
#include <iostream>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "funkcije/Besedila.h"
#include "funkcije/funkcijeAux.h"
#include "matrika/invtrid.h"
#include "matrika/seznamm.h"
#include "src/CGDatum.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/NivexAux.h"

namespace {
// The blocks over the model rows `vrstice` of the records that take part.
std::vector<KovBlokModela> KovBlokiModela(const CTerObsZbirka& TO, const std::vector<VrsticaModela>& vrstice, real So)
{
    std::vector<KovBlokModela> bloki;
    if (TO.kovBloki.empty()) return bloki;
    std::map<std::tuple<unsigned, long, int>, unsigned long> vrsticaZapisa;
    for (std::size_t r = 0; r < vrstice.size(); ++r)
        if (vrstice[r].set != kTOSetov)
            vrsticaZapisa[{vrstice[r].set, vrstice[r].zapis, vrstice[r].komponenta}] = r;
    const real s2 = So * So;
    for (const KovBlokZapisov& b : TO.kovBloki) {
        // Each model row of the block as a combination of the block's rows:
        // one record component, or the difference of two directions.
        std::map<long, unsigned long> odmikSmeri;
        for (std::size_t k = 0; k < b.zapisi.size(); ++k)
            if (b.zapisi[k].first == kTODir) odmikSmeri[b.zapisi[k].second] = b.odmik[k];
        struct Vrsta {
            unsigned long vrstica;
            long zapis;
            std::vector<std::pair<unsigned long, real>> t;
        };
        std::vector<Vrsta> t;
        for (std::size_t k = 0; k < b.zapisi.size(); ++k) {
            const auto [s, i] = b.zapisi[k];
            if (!TO.Set(s).Aktiven(i)) continue;
            if (s == kTODir) {
                const long kot = TO.TOAngl.GetIndAng(i);
                const long prej = CTerObsAngl::PrejsnjaSmer(TO.TODir, i);
                const auto r = vrsticaZapisa.find({kTOAngl, kot, 0});
                if (kot < 0 || prej < 0 || r == vrsticaZapisa.end()) continue;
                t.push_back({r->second, -1, {{b.odmik[k], 1.0L}, {odmikSmeri.at(prej), -1.0L}}});
                continue;
            }
            const int n = kTerObsVrste[s].poDim ? static_cast<int>(TO.Set(s).SIG.ncol()) : 1;
            for (int c = 0; c < n; ++c) {
                const auto r = vrsticaZapisa.find({s, i, c});
                if (r != vrsticaZapisa.end())
                    t.push_back({r->second, static_cast<long>(k), {{b.odmik[k] + static_cast<unsigned long>(c), 1.0L}}});
            }
        }
        if (t.empty()) continue;
        std::sort(t.begin(), t.end(), [](const Vrsta& x, const Vrsta& y) { return x.vrstica < y.vrstica; });
        KovBlokModela m;
        m.Q.resize(t.size(), t.size(), 0.0L);
        for (std::size_t a = 0; a < t.size(); ++a) {
            m.vrstice.push_back(t[a].vrstica);
            m.zapis.push_back(t[a].zapis);
            for (std::size_t c = 0; c <= a; ++c) {
                real q = 0.0L;
                for (const auto& [p, tp] : t[a].t)
                    for (const auto& [o, to] : t[c].t) q += tp * b.Q(static_cast<long>(p), static_cast<long>(o)) * to;
                m.Q(static_cast<long>(a), static_cast<long>(c)) = m.Q(static_cast<long>(c), static_cast<long>(a)) = q / s2;
            }
        }
        bloki.push_back(std::move(m));
    }
    return bloki;
}
}  // namespace

CGMM::CGMM(CProcSet& procset_, CGDatum& gdatum_, CTerObsZbirka& TO_) : procset(procset_), gdatum(gdatum_), TO(TO_)
{
}

void CGMM::GMMResetIndex()
{
    iRowBin = 0;
    iRowBout = 0;
}

const CTerObsTocke& CGMM::Tocke() const { return TO.Tocke(procset.GetDim()); }

namespace {
// Names of all datum lists that the chosen kind uses.
std::vector<const matrika<std::string>*> DatumLists(const CGDatum& gd)
{
    switch (gd.Datum) {
    case 'V': return {&gd.PTDV, &gd.PTVXY, &gd.PTVZ};
    case 'H': return {&gd.PTDH};
    case 'D':
        return {&gd.PTX, &gd.PTY, &gd.PTZ, &gd.PTdX, &gd.PTdY, &gd.PTdZ, &gd.PTDist, &gd.PTDir, &gd.PTZen, &gd.PTH};
    default: return {};
    }
}

// Points of the list that are fixed given points ("**V", datum kind V).
std::vector<bool> FixedPoints(const matrika<std::string>& names, const CGDatum& gd)
{
    std::vector<bool> fiksna(names.nrow(), false);
    if (gd.Datum != 'V') return fiksna;
    std::unordered_set<std::string> v;
    for (unsigned long k = 0; k < gd.PTDV.size(); ++k) v.insert(gd.PTDV(static_cast<long>(k)));
    for (unsigned long p = 0; p < names.nrow(); ++p) fiksna[p] = v.count(names(static_cast<long>(p), 0)) != 0;
    return fiksna;
}

// Coordinates of each point held by "**VXY" (X, Y) or "**VZ" (Z) in a
// spatial network with datum kind V; a fixed point holds them all anyway.
std::vector<std::array<bool, 3>> HeldCoordinates(const matrika<std::string>& names, const CGDatum& gd,
                                                  unsigned short Dim)
{
    std::vector<std::array<bool, 3>> drzane(names.nrow(), {false, false, false});
    if (gd.Datum != 'V' || Dim != 3) return drzane;
    std::unordered_set<std::string> xy, z;
    for (unsigned long k = 0; k < gd.PTVXY.size(); ++k) xy.insert(gd.PTVXY(static_cast<long>(k)));
    for (unsigned long k = 0; k < gd.PTVZ.size(); ++k) z.insert(gd.PTVZ(static_cast<long>(k)));
    for (unsigned long p = 0; p < names.nrow(); ++p) {
        const std::string& ime = names(static_cast<long>(p), 0);
        drzane[p] = {xy.count(ime) != 0, xy.count(ime) != 0, z.count(ime) != 0};
    }
    return drzane;
}

const char* const kTracDataSum = " F: DataSum(ofstream & izhod) -> ";
}  // namespace

void CGMM::CheckGDatumPoints() const
{
    // A name of a datum line names that line.
    for (const CGDatum::ImeVVrstici& d : gdatum.imenaVrstic)
        if (Tocke().FindPoint(d.ime) < 0)
            TerObsPointError(d.ime, BesediloF(Besedilo::NapakaTockaDatumskeVrstice, d.beseda.c_str(), d.vrstica));
    for (const matrika<std::string>* L : DatumLists(gdatum))
        for (unsigned long k = 0; k < L->size(); ++k) Tocke().PointIndex((*L)(static_cast<long>(k)));
}

void CGMM::DataSum(std::ostream& izhod)
{
    const unsigned short trace = procset.GetContPrint();
    if (trace) std::cout << "C: CGMM:\n";
    // Refusals that the counts below would otherwise hide.
    if (procset.GetDim() == 2 && (TO.TOH.NObs() > 0 || TO.TOHdif.NObs() > 0))
        NivexError(izhod, B(Besedilo::NapakaVisineVRavninskiMrezi));
    CheckGDatumPoints();
    if (trace) std::cout << kTracDataSum << "SetRoSec()\n";
    SetRoSec();
    if (trace) std::cout << kTracDataSum << "SetMmFact()\n";
    SetMmFact();
    if (trace) std::cout << kTracDataSum << "GetDataSum()\n";
    GetDataSum();
    SetSo(izhod);
    if (trace) std::cout << kTracDataSum << "PrintDataSumSum(ofstream & izhod)\n";
    PrintDataSumSum(izhod);
    if (trace) std::cout << kTracDataSum << "PrintDataSumRefSD(ofstream & izhod)\n";
    PrintDataSumRefSD(izhod);
}

void CGMM::SetRoSec()
{
    constexpr real pi = std::numbers::pi_v<real>;
    roSec = procset.GetAngUnit() == "GON" ? 200000.0L / pi : 180.0L * 3600.0L / pi;
}

void CGMM::SetMmFact() { mmFact = 1000.0L; }

void CGMM::GetDataSum()
{
    const std::int32_t Dim = procset.GetDim();
    const auto N = [](const CTerObs& t) { return static_cast<std::int32_t>(t.NAktivnih()); };
    npts = static_cast<std::int32_t>(Tocke().NObs());
    // A record of coordinates or of a vector has Dim rows, any other one.
    nobs = 0;
    for (const TerObsSet s : TerObsSetiModela()) nobs += (kTerObsVrste[s].poDim ? Dim : 1) * N(TO.Set(s));

    // A fixed point takes its Dim unknowns away; counted over the point list
    // with the same test that SetiDeltaB numbers by, so counts and numbering agree.
    const std::vector<bool> fiksna = FixedPoints(Tocke().PTS, gdatum);
    nunkcrd = 0;
    for (bool f : fiksna)
        if (!f) nunkcrd += Dim;
    nptsunk = nunkcrd / Dim;
    ndrzanih = 0;
    const std::vector<std::array<bool, 3>> drzane = HeldCoordinates(Tocke().PTS, gdatum, procset.GetDim());
    for (std::size_t p = 0; p < drzane.size(); ++p)
        for (bool d : drzane[p]) ndrzanih += !fiksna[p] && d;

    nunkvel = 0;
    if (procset.GetXVel())
        for (std::int32_t p = 0; p < npts; ++p)
            if (Tocke().GetIfVel(p) != 0) nunkvel += Dim;

    // A refraction coefficient is estimated only where zenith distances can
    // determine it: those that take part (a station whose zenith distances
    // are all set aside has none, as if their lines were not in the file).
    nunkkref = 0;
    PTSk = matrika<std::string>();
    if (procset.IfEstkRef && TO.TOZen.NAktivnih() > 0) {
        if (procset.kRefType == "SINGLE") {
            nunkkref = 1;
        } else if (procset.kRefType == "STAT") {
            matrika<std::string> postaje(TO.TOZen.NAktivnih(), 1);
            for (long i = 0, k = 0; i < static_cast<long>(TO.TOZen.NObs()); ++i)
                if (TO.TOZen.Aktiven(i)) postaje(k++, 0) = TO.TOZen.PTS(i, 0);
            PTSk = seznam(postaje);
            nunkkref = static_cast<std::int32_t>(PTSk.nrow());
        }
    }

    nunk = nunkcrd + nunkvel + nunkkref;
    nredund = nobs - (nunk - ndrzanih);
}

namespace {
// The observation sets of the data summary, of sigma0 a-priori and of its
// table, in the order of the summary.
struct Skupina {
    std::string label;
    const TerObsVrsta* vrsta;
    const CTerObs* set;
    real n;       // records that take part, times Dim for coordinates and vectors
    bool kotna;   // angular set: printed in arc seconds or milligon
};

std::vector<Skupina> Skupine(const CTerObsZbirka& TO, real Dim)
{
    std::vector<Skupina> skupine;
    for (const char* c = kVrstniRedPovzetka; *c != '\0'; ++c) {
        const TerObsVrsta* v = TerObsVrstaModela(*c);
        if (v == nullptr) continue;
        const CTerObs& set = TO.Set(static_cast<TerObsSet>(TerObsIndeks(*v)));
        std::ostringstream label;
        label << "      # " << std::left << std::setw(27) << B(v->povzetek) << ": ";
        const real n = static_cast<real>(set.NAktivnih());
        skupine.push_back({label.str(), v, &set, v->poDim ? Dim * n : n, TerObsKotna(*v)});
    }
    return skupine;
}
}  // namespace

void CGMM::PrintDataSumSum(std::ostream& izhod)
{
    const unsigned short izpis = procset.GetizpisSet();
    if (!izpis) return;
    const std::int32_t Dim = procset.GetDim();
    const auto vrsta = [&izhod](const char* label, long n) {
        izhod << label << std::right << std::setw(9) << n << "\n";
    };
    PodNaslov(izhod, B(Besedilo::PovzetekNaslovStevilo), 1);
    vrsta(B(Besedilo::PovzetekSteviloTock), npts);
    vrsta(B(Besedilo::PovzetekDaneTocke), npts - nptsunk);
    vrsta(B(Besedilo::PovzetekNoveTocke), nptsunk);
    izhod << "\n";
    vrsta(B(Besedilo::PovzetekSteviloNeznank), nunk - ndrzanih);
    vrsta(B(Besedilo::PovzetekKoordinatneNeznanke), nunkcrd - ndrzanih);
    if (ndrzanih != 0) vrsta(B(Besedilo::PovzetekDrzaneKoordinate), ndrzanih);
    vrsta(B(Besedilo::PovzetekNeznankeHitrosti), nunkvel);
    vrsta(B(Besedilo::PovzetekKoeficientiRefrakcije), nunkkref);
    izhod << "\n";
    vrsta(B(Besedilo::PovzetekSteviloOpazovanj), nobs);
    for (const Skupina& s : Skupine(TO, Dim))
        if (s.vrsta->vStetju) vrsta(s.label.c_str(), static_cast<long>(s.n));
    izhod << "\n";
    vrsta(B(Besedilo::PovzetekNadstevilna), nredund);
    izhod << "\n";
}


void CGMM::SetSo(std::ostream& izhod)
{
    // sigma0: the mean of the sets' mean deviations, weighted by their counts
    // (linear and angular sets alike in metres and radians).
    TO.CalcRefStDApr();
    real vsota = 0.0L, stevilo = 0.0L;
    for (const Skupina& s : Skupine(TO, procset.GetDim())) {
        vsota += s.set->GetSo() * s.n;
        stevilo += s.n;
    }
    // Every cofactor divides by sigma0^2: without observations, or with all
    // deviations zero, there is nothing to adjust.
    if (stevilo == 0.0L)
        NivexError(izhod, B(Besedilo::NapakaBrezOpazovanjSo));
    So = vsota / stevilo;
    if (!(So > 0.0L))
        NivexError(izhod, B(Besedilo::NapakaSoNic));
}

void CGMM::PrintDataSumRefSD(std::ostream& izhod)
{
    if (!procset.GetizpisSet()) return;
    const char* kotEnota = procset.GetAngUnit() == "GON" ? " mg" : " ''";
    IzpisNastavitve(izhod, 1);
    PodNaslov(izhod, B(Besedilo::PovzetekNaslovOdkloni), 1);
    for (const Skupina& s : Skupine(TO, procset.GetDim())) {
        izhod << s.label << std::right << std::setw(11);
        if (s.n > 0.0L)
            izhod << (s.kotna ? roSec : mmFact) * s.set->GetSo();
        else
            izhod << "-.-";
        izhod << (s.kotna ? kotEnota : " mm") << "\n";
    }
    izhod << "\n";
    izhod << B(Besedilo::PovzetekSoApriori) << std::setw(11) << mmFact * So << "\n\n\n";
}

void CGMM::DataSet()
{
    const unsigned short trace = procset.GetContPrint();
    const char D = gdatum.Datum;
    const bool svd = procset.Psevdoinverz();
    nHdat = 0;
    if (trace) std::cout << " F: DataSet() -> SetiDeltaB()\n";
    SetiDeltaB();
    if (nunk <= 0)
        NivexError(B(Besedilo::NapakaBrezNeznank));
    if (D == 'D') {
        Ddat.resize(gdatum.nD, static_cast<unsigned long>(nunk));
        if (trace) std::cout << " F: DataSet() -> CountHDatSize() [D]\n";
        CountHDatSize();
        if (trace) std::cout << " F: DataSet() -> SetHDatSize() [D]\n";
        SetHDatSize();
    }
    if (D == 'H') {
        if (trace) std::cout << " F: DataSet() -> SetHDatSize() [H]\n";
        CountHDatSize();
        if (!svd) {
            if (trace) std::cout << " F: DataSet() -> SetHDatSize() [!=SVD]\n";
            SetHDatSize();
        }
    }
    if (trace) std::cout << " F: DataSet() -> SetGMMSize()\n";
    SetGMMSize();
    Qlldiag = TO.TOAngl.NumCorr == 0 && TO.kovBloki.empty();
    if (trace) std::cout << " F: DataSet() -> Qll diagonal: " << Qlldiag << "\n\n";
}

void CGMM::SetiDeltaB()
{
    const std::int32_t Dim = procset.GetDim();
    const std::vector<bool> fiksna = FixedPoints(Tocke().PTS, gdatum);
    const unsigned long n = static_cast<unsigned long>(npts);
    iDeltaB.resize(n, 1, -1);
    const bool vel = procset.GetXVel() != 0;
    if (vel) iDeltaBV.resize(n, 1, -1);

    const std::vector<std::array<bool, 3>> drzane = HeldCoordinates(Tocke().PTS, gdatum, procset.GetDim());
    drzana.clear();
    std::int32_t k = 0;
    for (unsigned long p = 0; p < n; ++p)
        if (!fiksna[p]) {
            iDeltaB(static_cast<long>(p)) = k;
            for (std::int32_t d = 0; d < Dim && ndrzanih > 0; ++d) drzana.push_back(drzane[p][d] ? 1 : 0);
            k += Dim;
        }
    if (vel)
        for (unsigned long p = 0; p < n; ++p) {
            const long ip = static_cast<long>(p);
            if (Tocke().GetIfVel(ip) != 0) {
                iDeltaBV(ip) = k;
                k += Dim;
            }
        }
    if (nunkkref > 0) {
        iDeltaBk.resize(static_cast<unsigned long>(nunkkref), 1);
        kRefEst.resize(static_cast<unsigned long>(nunkkref), 1);
        for (std::int32_t i = 0; i < nunkkref; ++i) {
            iDeltaBk(i) = k++;
            kRefEst(i) = procset.kRef;
        }
    }
}

void CGMM::CountHDatSize()
{
    const unsigned short Dim = procset.GetDim();
    if (Dim == 1) {
        nHdat = 1;
        return;
    }
    // Every defect of the free network stands until an observation kind
    // takes it away (the kinds' rows say which, from how many records).
    unsigned long zapisov[kTOSetov] = {};
    for (unsigned s = 0; s < kTOSetov; ++s) zapisov[s] = TO.Set(static_cast<TerObsSet>(s)).NAktivnih();
    const unsigned d = TerObsDatumskiDefekti(kDefVse, zapisov);
    const auto ostane = [d](unsigned bit) { return static_cast<std::uint16_t>((d & bit) != 0); };
    tx = ostane(kDefTx), ty = ostane(kDefTy), tz = ostane(kDefTz);
    wx = ostane(kDefWx), wy = ostane(kDefWy), wz = ostane(kDefWz);
    m2 = ostane(kDefM2), m3 = ostane(kDefM3);
    if (Dim == 2)
        nHdat = static_cast<std::uint16_t>(tx + ty + wz + m2);
    else
        nHdat = static_cast<std::uint16_t>(tx + ty + tz + wx + wy + wz + ((m2 || m3) ? 1 : 0));
}

void CGMM::SetHDatSize()
{
    const unsigned long u = static_cast<unsigned long>(nunk);
    Hdat.resize(nHdat, u);
    if (gdatum.Datum == 'H') Hred.resize(nHdat, u);
}

void CGMM::SetGMMSize()
{
    unsigned long rows = static_cast<unsigned long>(nobs);
    if (gdatum.Datum == 'D') rows += Ddat.nrow();
    if (gdatum.Datum == 'H' && !procset.Psevdoinverz()) rows += Hdat.nrow();
    rows += static_cast<unsigned long>(ndrzanih);
    Bmat.resize(rows, static_cast<unsigned long>(nunk));
    fvec.resize(rows, 1);
    Qll.resize(rows, 3);
    vrstice.assign(rows, VrsticaModela{});
}

double CGMM::GetMatrixFullProc(const matrika<real>& A) const
{
    const double n = static_cast<double>(A.nrow()) * static_cast<double>(A.ncol());
    if (n == 0.0) return 0.0;
    const real* a = A.data();
    double nenic = 0.0;
    for (unsigned long k = 0; k < A.size(); ++k)
        if (dabs(a[k]) > numerika::kIzpisNic) nenic += 1.0;
    return 100.0 * nenic / n;
}

double CGMM::GetMatrixFullProc(const redkaMatrika& A) const
{
    const double n = static_cast<double>(A.nrow()) * static_cast<double>(A.ncol());
    if (n == 0.0) return 0.0;
    double nenic = 0.0;
    for (unsigned long i = 0; i < A.nrow(); ++i)
        for (const auto& e : A.vrstica(i))
            if (dabs(e.vrednost) > numerika::kIzpisNic) nenic += 1.0;
    return 100.0 * nenic / n;
}

void CGMM::GMMEqPrint(std::ostream& izhod)
{
    if (procset.GetContPrint()) std::cout << "C: CGMM:\n F: CGMM -> GMMEqPrint(ofstream& izhod)\n";
    struct Vrsta {
        const char* label;
        const matrika<real>* A;   // null: the design matrix
    };
    std::vector<Vrsta> vrste = {{B(Besedilo::EnacbeMatrikaB), nullptr},
                                {B(Besedilo::EnacbeVektorF), &fvec},
                                {B(Besedilo::EnacbeMatrikaSll), &Qll}};
    if (gdatum.Datum == 'D') {
        vrste.push_back({B(Besedilo::EnacbeMatrikaD), &Ddat});
        vrste.push_back({B(Besedilo::EnacbeMatrikaH), &Hdat});
    }
    if (gdatum.Datum == 'H' && !procset.Psevdoinverz()) {
        vrste.push_back({B(Besedilo::EnacbeMatrikaH), &Hdat});
        vrste.push_back({B(Besedilo::EnacbeMatrikaHred), &Hred});
    }

    PodNaslov(izhod, B(Besedilo::EnacbeNaslovPomnilnik), 1);
    for (const Vrsta& v : vrste) {
        // The storage of the H(red) line is that of Hdat, which Hred shares.
        // The design matrix is reported at the size it would take dense.
        const unsigned long r = v.A == nullptr ? Bmat.nrow() : (v.A == &Hred ? Hdat : *v.A).nrow();
        const unsigned long c = v.A == nullptr ? Bmat.ncol() : (v.A == &Hred ? Hdat : *v.A).ncol();
        const unsigned long long bajti = static_cast<unsigned long long>(r) * c * 12ULL + 8ULL;
        izhod << v.label << std::right << std::setw(15) << bajti << " b\n";
    }
    izhod << "\n\n";
    PodNaslov(izhod, B(Besedilo::EnacbeNaslovNenicelni), 1);
    IzpisNastavitve(izhod, 2);
    for (const Vrsta& v : vrste)
        izhod << v.label << std::right << std::setw(15) << (v.A == nullptr ? GetMatrixFullProc(Bmat) : GetMatrixFullProc(*v.A)) << " %\n";
    izhod << "\n\n";
}

void CGMM::SetPll()
{
    // Weights: a column of reciprocal cofactors unless composed angles are correlated.
    if (Qlldiag) {
        Pll = invdiagR3(Qll);
        PllB.izprazni();
    } else if (TO.kovBloki.empty()) {
        Pll = matrika<real>();
        PllB = invtridB(Qll, DolgeVerige());
    } else {
        SetKovBloki();
    }
}

void CGMM::SetDrzaneVrstice()
{
    long r = nobs;
    for (long k = 0; k < static_cast<long>(drzana.size()); ++k) {
        if (!Drzana(k)) continue;
        Bmat(r, k) = 1.0L;
        fvec(r) = 0.0L;
        Qll(r, 0) = 0.0L;
        Qll(r, 1) = 1.0L;
        Qll(r, 2) = 0.0L;
        ++r;
    }
}

void CGMM::SetKovBloki()
{
    // The covariance blocks take their rows out of the band: the chains of
    // the band are inverted as before, each block on its own.
    Pll = matrika<real>();
    kovBloki = KovBlokiModela(TO, vrstice, So);
    const unsigned long n = Qll.nrow();
    kovBlokVrstice.assign(n, -1);
    kovPolozaj.assign(n, 0);
    for (std::size_t b = 0; b < kovBloki.size(); ++b)
        for (std::size_t a = 0; a < kovBloki[b].vrstice.size(); ++a) {
            const unsigned long r = kovBloki[b].vrstice[a];
            const long ir = static_cast<long>(r);
            kovBlokVrstice[r] = static_cast<long>(b);
            kovPolozaj[r] = a;
            Qll(ir, 1) = kovBloki[b].Q(static_cast<long>(a), static_cast<long>(a));
            Qll(ir, 0) = Qll(ir, 2) = 0.0L;
            if (r > 0) Qll(ir - 1, 2) = 0.0L;
            if (r + 1 < n) Qll(ir + 1, 0) = 0.0L;
        }
    const bdmatrika trak = invtridB(Qll, DolgeVerige());
    PllB.izprazni();
    for (unsigned long b = 0; b < trak.nblok(); ++b) {
        if (kovBlokVrstice[trak.zacetek(b)] >= 0) continue;
        if (trak.trak(b)) {
            PllB.dodajTrak(trak.blok(b), trak.zacetek(b));
            continue;
        }
        std::vector<unsigned long> v(trak.velikost(b));
        for (unsigned long k = 0; k < v.size(); ++k) v[k] = trak.vrstica(b, k);
        PllB.dodaj(trak.blok(b), v);
    }
    for (const KovBlokModela& b : kovBloki) {
        matrika<real> L;
        if (!KovCholesky(b.Q, L))
            NivexError(B(Besedilo::NapakaQllNiPozitivna));
        PllB.dodaj(KovInverz(L), b.vrstice);
    }
}

bool CGMM::DolgeVerige() const
{
    // With velocities an angle's row takes one epoch for both its
    // directions, so it is no difference of two direction rows.
    return procset.GetXVel() == 0;
}

real CGMM::Kofaktor(unsigned long i, unsigned long k) const
{
    if (!kovBloki.empty() && kovBlokVrstice[i] >= 0) {
        const long b = kovBlokVrstice[i];
        if (kovBlokVrstice[k] != b) return 0.0L;
        return kovBloki[static_cast<std::size_t>(b)].Q(static_cast<long>(kovPolozaj[i]), static_cast<long>(kovPolozaj[k]));
    }
    const long ii = static_cast<long>(i);
    if (k == i) return Qll(ii, 1);
    if (k + 1 == i) return Qll(ii, 0);
    if (k == i + 1) return Qll(ii, 2);
    return 0.0L;
}
