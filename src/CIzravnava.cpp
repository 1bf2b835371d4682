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
    nizki = NizkiRang{};
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

void CIzravnava::Aktiven(TerObsSet set, long zapis, bool aktiven)
{
    TO.Set(set).SetAktiven(zapis, aktiven);
    // The composed angles follow their directions.
    if (set == kTODir) TO.TOAngl.SetPar(procset.GetCorAng());
}

void CIzravnava::SetAktiven(TerObsSet set, long zapis, bool aktiven)
{
    nizki = NizkiRang{};
    Aktiven(set, zapis, aktiven);
}

const CIzravnava::NizkiRang& CIzravnava::Nizki() const
{
    if (nizki.zgrajen) return nizki;
    NizkiRang& nr = nizki;
    nr.zapisi = AlternativeZapisov(TO, GMM, GMMS);
    for (std::size_t i = 0; i < nr.zapisi.size(); ++i) nr.indeks[{nr.zapisi[i].set, nr.zapisi[i].zapis}] = i;
    nr.izlocen.assign(nr.zapisi.size(), 0);
    nr.f = GMMS.prostostne;
    nr.vPv = nr.f > 0 ? GMMS.SoI * GMMS.SoI * static_cast<real>(nr.f) : 0.0L;
    nr.So = GMM.So;
    nr.zgrajen = true;
    return nr;
}

std::vector<TestZapisa> CIzravnava::TestiZapisov() const
{
    const NizkiRang& nr = Nizki();
    // w, T and the estimated error do not depend on the scale of the
    // weights: the a-priori sigma0 the alternatives were formed with serves.
    std::vector<TestZapisa> testi;
    for (std::size_t i = 0; i < nr.zapisi.size(); ++i)
        if (!nr.izlocen[i]) testi.push_back(TestIzAlternative(nr.zapisi[i], nr.So * nr.So));
    return testi;
}

IzidIzravnave CIzravnava::IzlociZapis(TerObsSet set, long zapis)
{
    // The low-rank step presumes the converged least-squares adjustment
    // whose residuals and factor are held, and P C of every record: a long
    // chain of correlated angles holds its weights as a band, which the
    // step does not form.
    const bool nizkiRang = procset.RobSolve == "MNK" && rez.skonvergirala && GMMS.Resitev() != nullptr &&
                           GMMS.prostostne > 0 && !(GMM.Pll.nrow() == 0 && GMM.PllB.imaTrakove());
    if (nizkiRang) {
        const NizkiRang& nr = Nizki();
        const auto f = nr.indeks.find({set, zapis});
        if (f != nr.indeks.end() && !nr.izlocen[f->second]) {
            const AlternativaZapisa& a = nr.zapisi[f->second];
            // Without the correlations of *CORKOT the angles formed anew
            // round a removed direction are not its two angles less the
            // direction: only a whole adjustment gives them.
            const bool dvaNekorelirana = procset.GetCorAng() == 0 && a.set == kTODir && !a.C.empty() &&
                                         a.C[0].size() > 1;
            if (!dvaNekorelirana) return IzlociNizkiRang(f->second);
        }
    }
    // A whole quiet adjustment from the current values; one that fails
    // leaves the record in and the adjustment as it was.
    std::ostream nic(nullptr);
    Aktiven(set, zapis, false);
    IzidIzravnave izid = Izravnaj(nic, true, Zacetek::Trenutni);
    if (izid) return izid;
    Aktiven(set, zapis, true);
    const IzidIzravnave obnova = Izravnaj(nic, true, Zacetek::Trenutni);
    if (!obnova) return obnova;
    izid.zapisOstal = true;
    return izid;
}

namespace {
// M^-1 of a record's alternative by Gauss-Jordan (q <= 3, positive definite).
void InverzAlternative(const AlternativaZapisa& a, int q, real (&Minv)[3][3])
{
    real A[3][6] = {};
    for (int i = 0; i < q; ++i) {
        for (int j = 0; j < q; ++j) A[i][j] = a.M[i][j];
        A[i][q + i] = 1.0L;
    }
    for (int p = 0; p < q; ++p) {
        const real d = A[p][p];
        for (int j = 0; j < 2 * q; ++j) A[p][j] /= d;
        for (int i = 0; i < q; ++i)
            if (i != p) {
                const real m = A[i][p];
                for (int j = 0; j < 2 * q; ++j) A[i][j] -= m * A[p][j];
            }
    }
    for (int i = 0; i < q; ++i)
        for (int j = 0; j < q; ++j) Minv[i][j] = A[i][q + j];
}

// The step's t_i -= H M^-1 t and M_i -= H M^-1 H' of another record b, with
// H = C_b'P G and e = M^-1 t.
void PosodobiAlternativo(AlternativaZapisa& b, const std::vector<std::vector<real>>& G, const real (&Minv)[3][3],
                         int q, const real (&e)[3])
{
    const int qi = b.komponent();
    real H[3][3] = {}, HM[3][3] = {};
    for (int c = 0; c < qi; ++c)
        for (const auto& [r, pc] : b.PC[static_cast<std::size_t>(c)])
            for (int j = 0; j < q; ++j) H[c][j] += pc * G[static_cast<std::size_t>(j)][static_cast<std::size_t>(r)];
    for (int c = 0; c < qi; ++c)
        for (int j = 0; j < q; ++j)
            for (int l = 0; l < q; ++l) HM[c][j] += H[c][l] * Minv[l][j];
    for (int c = 0; c < qi; ++c) {
        for (int j = 0; j < q; ++j) b.t[c] -= H[c][j] * e[j];
        for (int d = 0; d < qi; ++d)
            for (int j = 0; j < q; ++j) b.M[c][d] -= HM[c][j] * H[d][j];
    }
}
}  // namespace

std::vector<real> CIzravnava::StolpecG(const AlternativaZapisa& a, std::size_t j, long n) const
{
    // y = Q B'P c (one solve with the factor held), G = c - B y over the
    // observation rows.
    const unsigned long u = GMM.Bmat.ncol();
    std::vector<real> s(u, 0.0L), y(u, 0.0L), G(static_cast<std::size_t>(n), 0.0L);
    std::vector<std::pair<unsigned long, real>> bpc;
    for (const auto& [r, pc] : a.PC[j])
        for (const auto& e : GMM.Bmat.vrstica(static_cast<unsigned long>(r))) {
            if (s[e.stolpec] == 0.0L) bpc.push_back({e.stolpec, 0.0L});
            s[e.stolpec] += e.vrednost * pc;
        }
    for (auto& [c, x] : bpc) x = s[c];
    GMMS.Resitev()->QKrat(bpc, y);
    for (long r = 0; r < n; ++r) {
        if (GMM.vrstice[static_cast<std::size_t>(r)].set == kTOSetov) continue;
        real by = 0.0L;
        for (const auto& e : GMM.Bmat.vrstica(static_cast<unsigned long>(r))) by += e.vrednost * y[e.stolpec];
        G[static_cast<std::size_t>(r)] = -by;
    }
    for (const auto& [r, c] : a.C[j]) G[static_cast<std::size_t>(r)] += c;
    // The earlier steps: Qvv P of now = Qvv P - sum G_h M_h^-1 G_h'P.
    for (const NizkiRang::Korak& h : nizki.koraki) {
        const int qh = static_cast<int>(h.G.size());
        real g[3] = {0, 0, 0}, d[3] = {0, 0, 0};
        for (int b = 0; b < qh; ++b)
            for (const auto& [r, pc] : a.PC[j]) g[b] += h.G[static_cast<std::size_t>(b)][static_cast<std::size_t>(r)] * pc;
        for (int b = 0; b < qh; ++b)
            for (int c = 0; c < qh; ++c) d[b] += h.Minv[b][c] * g[c];
        for (int b = 0; b < qh; ++b)
            for (long r = 0; r < n; ++r)
                G[static_cast<std::size_t>(r)] -= h.G[static_cast<std::size_t>(b)][static_cast<std::size_t>(r)] * d[b];
    }
    return G;
}

IzidIzravnave CIzravnava::IzlociNizkiRang(std::size_t k)
{
    // The record's columns C as extra unknowns (the mean-shift model), from
    // the adjustment of the last step: G = Qvv P C = C - B Q B'P C (one solve
    // with the factor held per column, less the earlier steps' terms),
    // M = C'P G, t = C'P v; then v -= G M^-1 t, v'P v -= t'M^-1 t, f -= q, and
    // for every other record i, with H = C_i'P G:
    //   t_i -= H M^-1 t,  M_i -= H M^-1 H'.
    NizkiRang& nr = nizki;
    AlternativaZapisa& a = nr.zapisi[k];
    const int q = a.komponent();
    IzidIzravnave izid;
    if (!TestIzAlternative(a, nr.So * nr.So).preverjen) {
        const RezIzlocen z = Zapis(a.set, a.zapis);
        izid.sporocilo = BesediloF(Besedilo::IskanjeNepreverjenZapis, z.tocke.c_str(), z.vrstica);
        izid.zapisOstal = true;
        return izid;
    }
    NizkiRang::Korak korak;
    InverzAlternative(a, q, korak.Minv);
    const long n = static_cast<long>(std::min<std::size_t>(GMM.vrstice.size(), GMMS.vvec.nrow()));
    for (int j = 0; j < q; ++j) korak.G.push_back(StolpecG(a, static_cast<std::size_t>(j), n));
    // The estimated errors of the record, M^-1 t.
    real e[3] = {0, 0, 0};
    for (int i = 0; i < q; ++i)
        for (int j = 0; j < q; ++j) e[i] += korak.Minv[i][j] * a.t[j];
    // One pass over the rows: every other record, the residuals.
    for (std::size_t i = 0; i < nr.zapisi.size(); ++i)
        if (i != k && !nr.izlocen[i]) PosodobiAlternativo(nr.zapisi[i], korak.G, korak.Minv, q, e);
    for (long r = 0; r < n; ++r)
        for (int j = 0; j < q; ++j) GMMS.vvec(r) -= korak.G[static_cast<std::size_t>(j)][static_cast<std::size_t>(r)] * e[j];
    for (int j = 0; j < q; ++j) nr.vPv -= a.t[j] * e[j];
    nr.vPv = std::max(nr.vPv, 0.0L);
    nr.f -= q;
    nr.izlocen[k] = 1;
    nr.koraki.push_back(std::move(korak));
    Aktiven(a.set, a.zapis, false);
    std::ostream nic(nullptr);
    GMM.SetSo(nic);
    GMMS.GlobalniTest(std::sqrt(nr.vPv) * GMM.So / nr.So, nr.f);
    rez.SetGlobalniTest(procset, GMM, GMMS.Prehod());
    izid.skonvergirala = true;
    return izid;
}

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
