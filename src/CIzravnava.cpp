#include "src/CIzravnava.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <iostream>
#include <new>

#include "funkcije/Besedila.h"
#include "funkcije/funkcijeAux.h"
#include "src/CGDatum.h"
#include "src/CProcSet.h"
#include "src/CTerObsZbirka.h"
#include "src/FDolocenost.h"
#include "src/FTestiZapisov.h"
#include "src/NivexAux.h"

namespace {
// The smallest correction norm the arithmetic resolves at the size of the
// network's coordinates (heights): a norm below it is rounding noise, which
// is convergence, never a sign of divergence, whatever the threshold.
real MejaZaokrozitve(const CTerObs& tocke, long nunk)
{
    real m = 1.0L;
    for (unsigned long i = 0; i < tocke.NObs(); ++i)
        for (long k = 0; k < static_cast<long>(tocke.OBS.ncol()); ++k)
            m = std::max(m, std::fabs(tocke.GetOBS(static_cast<long>(i), k)));
    return 16.0L * DBL_EPSILON * m * std::sqrt(static_cast<real>(std::max(nunk, 1L)));
}

// A linearisation that runs away: with iteration on, corrections that are
// not a number, or that grew in two passes in a row while still above the
// threshold, stop the adjustment before coordinates from them are printed
// (the message; empty while the loop may go on).  A single larger step is
// allowed: the first passes from poor approximate values may overshoot once
// and still converge.
std::string PreveriKonvergenco(int k, real& normPrej, int& rast, real normX, real prag)
{
    // Both messages name the usual causes on a line of their own.
    const std::string vzroki = std::string("\n") + B(Besedilo::NamigRazhajanje);
    if (!std::isfinite(static_cast<double>(normX))) return BesediloF(Besedilo::NapakaIteracijaNiStevil, k) + vzroki;
    rast = (k > 1 && normX > normPrej && normX >= prag) ? rast + 1 : 0;
    if (rast >= 2)
        return BesediloF(Besedilo::NapakaIteracijaRaste, k, static_cast<double>(normX), static_cast<double>(normPrej)) +
               vzroki;
    normPrej = normX;
    return {};
}

// Title of one pass of the iteration loop, with the correction norm of the
// previous pass (1.0 before the first solution).
std::string NaslovIteracije(int k, real normX)
{
    return BesediloF(Besedilo::NaslovIteracije, k, static_cast<double>(normX));
}
}  // namespace

CIzravnava::CIzravnava(CProcSet& procset, CGDatum& gdatum, CTerObsZbirka& TO)
    : procset(procset),
      gdatum(gdatum),
      TO(TO),
      GMM(procset, gdatum, TO),
      GMMS(procset, gdatum, TO.TOHA, TO.TOCrdA, GMM),
      GMMdH(procset, gdatum, TO, GMM),
      GMMdD(procset, gdatum, TO, GMM),
      RelEll(procset, TO, GMM, GMMS),
      TOEst(procset, TO, GMM, GMMS)
{
    for (const TerObsSet s : TerObsSetiModela()) GMMEq.push_back(kTerObsVrste[s].gradnik(procset, TO, GMM));
}

void CIzravnava::SetGMMEq(std::ostream& report)
{
    // Each kind writes its rows and prints them, in the fixed kind order.
    GMM.GMMResetIndex();
    for (const std::unique_ptr<CGMMEq>& enacbe : GMMEq) {
        enacbe->SetGMMEq();
        enacbe->PrintGMMEq(report);
    }
}

real CIzravnava::IterPrag() const
{
    return std::max(static_cast<real>(procset.GetIterThres()),
                    MejaZaokrozitve(TO.Tocke(procset.GetDim()), GMM.nunk));
}

bool CIzravnava::KonecIteracij(int k, std::ostream& report) const
{
    if (procset.GetifIter() == 0) return true;
    const bool skonvergirala = GMMS.GetNormX() < IterPrag();
    if (static_cast<int>(procset.GetNIter()) < k) {
        // The limit ends the loop; say so when the corrections were still
        // above the threshold, so unconverged values are not taken as final.
        if (!skonvergirala) {
            const std::string b =
                BesediloF(Besedilo::OpozoriloNiSkonvergirala, k, static_cast<double>(GMMS.GetNormX()),
                          static_cast<double>(procset.GetIterThres()));
            NivexWarning(b);
            report << "\n" << b << "\n\n";
        }
        return true;
    }
    return skonvergirala;
}

void CIzravnava::SetReliab(std::ostream& report)
{
    // Adjusted observations with their reliability, kind by kind in the
    // order of their model rows.
    const bool izpis = procset.GetizpisRez() != 0;
    Naslov(report, B(Besedilo::NaslovZanesljivost), izpis);
    TOEst.SetDimensions();
    for (const char tip : std::string_view(kVrstniRedVrstic)) {
        TOEst.SetPar(tip);
        TOEst.SetReliab();
        if (izpis) TOEst.PrintReliab(report);
    }
    rez.opazovanja = TOEst.opazovanja;
    rez.kriticnaN = TOEst.N;
    rez.del0 = TOEst.del0;
}

CIzravnava::Stanje CIzravnava::Shrani() const
{
    const CTerObsTocke& tocke = TO.Tocke(procset.GetDim());
    return {tocke.OBS, tocke.VELA};
}

void CIzravnava::Obnovi(const Stanje& s)
{
    CTerObsTocke& tocke = TO.Tocke(procset.GetDim());
    tocke.OBS = s.obs;
    tocke.VELA = s.vel;
}

IzidIzravnave CIzravnava::Izravnaj(std::ostream& report, bool tihoIzravnava, Zacetek od)
{
    const Stanje prej = Shrani();
    if (od == Zacetek::Datoteka) Obnovi(zacetno);
    IzidIzravnave izid;
    try {
        izid = IzravnajOdTrenutnih(report, tihoIzravnava);
    } catch (const NivexNapakaPomnilnik& e) {
        // Only the SVD holds the whole design matrix and its square: the
        // message says which methods get by with the network's sparse pattern.
        if (!procset.Psevdoinverz()) throw;
        throw NivexNapakaPomnilnik(std::string(e.what()) + B(Besedilo::NamigPomnilnikSVD) + "\n\n");
    } catch (const std::bad_alloc&) {
        if (!procset.Psevdoinverz()) throw;
        NivexError(std::string(B(Besedilo::NapakaPomnilnik)) + "\n" + B(Besedilo::NamigPomnilnikSVD));
    }
    if (!izid) Obnovi(prej);
    return izid;
}

void CIzravnava::SetAktiven(TerObsSet set, long zapis, bool aktiven)
{
    TO.Set(set).SetAktiven(zapis, aktiven);
    // The composed angles follow their directions.
    if (set == kTODir) TO.TOAngl.SetPar(procset.GetCorAng());
}

std::vector<TestZapisa> CIzravnava::TestiZapisov() const { return ::TestiZapisov(TO, GMM, GMMS); }

RezIzlocen CIzravnava::Zapis(TerObsSet set, long zapis) const { return TestiOpisZapisa(TO, set, zapis); }

void CIzravnava::Odstopanja(std::vector<RezIzlocen>& zapisi)
{
    // The records back in the model, its equations at the adjusted values
    // (f = computed - observed).
    std::vector<bool> bili;
    for (const RezIzlocen& z : zapisi) {
        bili.push_back(TO.Set(z.set).Aktiven(z.zapis));
        SetAktiven(z.set, z.zapis, true);
    }
    // The refraction coefficients as the adjustment left them: numbering
    // the unknowns again starts them from the approximate one.  A station
    // whose zenith distances were all set aside keeps that.
    const matrika<real> kRef = GMM.kRefEst;
    const matrika<std::string> postaje = GMM.PTSk;
    std::ostream nic(nullptr);
    GMM.DataSum(nic);
    GMM.DataSet();
    for (long t = 0; t < static_cast<long>(GMM.kRefEst.nrow()); ++t) {
        long q = GMM.PTSk.empty() ? t : -1;
        for (long j = 0; q < 0 && j < static_cast<long>(postaje.nrow()); ++j)
            if (postaje(j) == GMM.PTSk(t)) q = j;
        if (q >= 0 && q < static_cast<long>(kRef.nrow())) GMM.kRefEst(t) = kRef(q);
    }
    SetGMMEq(nic);
    for (RezIzlocen& z : zapisi) {
        real e[3] = {0, 0, 0}, sosedi = 0;
        for (long r = 0; r < GMM.nobs; ++r) {
            const VrsticaModela& m = GMM.vrstice[static_cast<std::size_t>(r)];
            if (m.set == kTOAngl && z.set == kTODir) {
                // A direction against the mean of its neighbours at the
                // station: the angles to it count +, those from it -.
                const std::array<long, 2> s = TO.TOAngl.Smeri(m.zapis);
                if (s[1] == z.zapis) e[0] -= GMM.fvec(r), ++sosedi;
                if (s[0] == z.zapis) e[0] += GMM.fvec(r), ++sosedi;
            } else if (m.set == z.set && m.zapis == z.zapis) {
                e[m.komponenta] = -GMM.fvec(r);
            }
        }
        if (sosedi > 0) e[0] /= sosedi;
        z.odstopanje = TerObsKomponente(z.vrsta) ? std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]) : e[0];
    }
    for (std::size_t i = 0; i < zapisi.size(); ++i) SetAktiven(zapisi[i].set, zapisi[i].zapis, bili[i]);
}

IzidIzravnave CIzravnava::IzravnajOdTrenutnih(std::ostream& report, bool tihoIzravnava)
{
    Naslov(report, B(Besedilo::NaslovPovzetekPodatkov), procset.GetizpisSet());
    GMM.DataSum(report);
    GMM.DataSet();

    // The linearisation loop: equations at the current approximate values,
    // solution, results, then the approximate values move to the adjusted
    // ones, until the corrections fall below the threshold.
    IzidIzravnave izid;
    std::ostream nic(nullptr);
    std::ostream& konzola = tihoIzravnava ? nic : std::cout;
    GMMS.normX = 1.0L;
    real normPrej = 0.0L;  // correction norm of the previous pass
    int rast = 0;                 // passes in a row whose corrections grew
    for (int k = 1;; ++k) {
        if (procset.GetifIter() != 0) {
            const std::string t = NaslovIteracije(k, GMMS.GetNormX());
            Naslov(report, t.c_str(), 1);
            Naslov(konzola, t.c_str(), 1);
        }
        Naslov(report, B(Besedilo::NaslovEnacbe), procset.GetizpisEnPop());
        SetGMMEq(report);
        GMMdH.SetGMMdH();
        GMMdD.SetGMMdD();
        // What the observations and the datum cannot determine is refused
        // before the first solution, naming the points; the equations and
        // the datum rows have refused what is wrong with single records.
        if (k == 1) {
            izid.sporocilo = PreveriDolocenost(GMM);
            if (!izid) return izid;
        }
        GMM.SetPll();
        GMM.GMMEqPrint(report);

        Naslov(report, B(Besedilo::NaslovRezultati), 1);
        GMMS.SetPar();
        const IzidResitve resitev = GMMS.SolveFuncModel();
        if (!resitev) {
            izid.nedolocene = resitev.nedolocene;
            izid.sporocilo = resitev.sporocilo;
            return izid;
        }
        if (procset.GetifIter() != 0) {
            izid.sporocilo = PreveriKonvergenco(k, normPrej, rast, GMMS.GetNormX(), IterPrag());
            if (!izid) return izid;
        }
        GMMS.SolveStohModel();
        GMMS.PrintResultsSummary(report);
        GMMS.PrintResultsSummary(konzola);
        rez.SetPrehod(procset, GMM, GMMS.Prehod());
        GMMS.PrintResults(report, rez);
        GMMS.SetResults();
        // The correlation table is only printed: a quiet trial adjustment
        // of the data snooping needs none of it.
        if (!tihoIzravnava) GMMS.PrintCorrUnknown(report, rez);
        RelEll.SetRelEll();
        RelEll.PrintRelEll(report);
        RelEll.SetRezultati(rez);
        nPasses = izid.prehodov = rez.prehodov = k;

        if (KonecIteracij(k, report)) break;
    }
    izid.skonvergirala = rez.skonvergirala = procset.GetifIter() == 0 || GMMS.GetNormX() < IterPrag();
    rez.normaPopravkov = GMMS.GetNormX();
    rez.datum = gdatum.GetGDatum();
    return izid;
}
