#include "src/FIskanje.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <set>
#include <sstream>
#include <utility>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/Besedila.h"
#include "funkcije/Hi2Por.h"
#include "funkcije/NormPor.h"
#include "funkcije/StudentPor.h"
#include "src/CProcSet.h"
#include "src/FTestiZapisov.h"
#include "src/NivexAux.h"

namespace {
void Mala(std::ostream& out, const RezIzlocen& z, const std::string& enota, real x)
{
    out << std::fixed << std::setprecision(2) << std::setw(10) << IskanjeMala(z.vrsta, enota, x);
}
}  // namespace

real IskanjeMala(char vrsta, const std::string& kotnaEnota, real x)
{
    if (!TerObsKotna(vrsta)) return 1000.0L * x;
    return kotnaEnota == "GON" ? 1000.0L * rad2gon(x) : rad2sec(x);
}

real IskanjeSidak(real alfa, long n)
{
    return n < 1 ? alfa : -std::expm1(std::log1p(-alfa) / static_cast<real>(n));
}

real IskanjeKriticna(real alfaN, long f, bool apriori)
{
    if (apriori) return NormPorInvF(1.0L - alfaN / 2.0L);
    return f - 1 < 1 ? 0.0L : StudentPorInvFC2(alfaN, static_cast<real>(f - 1));
}

StatistikaZapisa IskanjeStatistika(const TestZapisa& t, real omega, long f, bool apriori, bool vrednost)
{
    StatistikaZapisa s;
    const int q = t.komponent;
    if (!t.preverjen) return s;
    if (apriori) {
        // w ~ N(0, 1), T ~ chi2(q).
        s.testiran = true;
        s.kljuc = t.T / q;
        s.p = Hi2PorFC(t.T, q);
        s.vrednost = t.w;
        return s;
    }
    if (f - q < 1) return s;
    // The variance without the record: v'Pv less its share T, over the
    // degrees of freedom left; a record that takes all of v'Pv has an
    // infinite statistic (p = 0).
    const real s2 = std::max((omega - t.T) / static_cast<real>(f - q), 1e-300L);
    s.testiran = true;
    s.kljuc = t.T / (q * s2);
    if (q == 1) {
        s.vrednost = t.w / std::sqrt(s2);
        s.p = StudentPorFC2(s.vrednost, static_cast<real>(f - 1));
    } else {
        s.p = FPorFC(s.kljuc, q, static_cast<real>(f - q));
        if (vrednost) s.vrednost = f - 1 < 1 ? 0.0L : StudentPorInvFC2(s.p, static_cast<real>(f - 1));
    }
    return s;
}

namespace {
using Zapisi = std::set<std::pair<unsigned, long>>;

// The record the search removes next, or why it stops (konec not empty).
struct Korak {
    RezIzlocen zapis;
    int komponent = 1;
    std::string konec;
    const char* razlog = "";  // the reason as a fixed word for other programs
};

// The test that removes a record is the largest statistic of all n records
// tested: its critical value is that of the maximum at the level of the
// global test, 1 - (1 - a)^(1/n) (Sidak).  Records of different kinds are
// compared through their p.  While the global test is rejected below its
// lower bound nothing is removed: the a-priori deviations are too large,
// and the studentised statistic is inflated.  An accepted global test does
// not stop the search (over many degrees of freedom a few errors hardly
// move it).
Korak NaslednjiKorak(const CIzravnalnik& izravnava, const CProcSet& procset, const IzidIzravnave& izid,
                     const Zapisi& neprevereni, std::size_t izlocenih, std::vector<TestZapisa>& testi,
                     RezIskanje& isk)
{
    Korak k;
    const RezGlobalniTest& gt = izravnava.Rezultati().globalniTest;
    // The tests presume least squares: robust weights have already taken
    // the residuals' measure.
    if (procset.RobSolve != "MNK") {
        k.konec = BesediloF(Besedilo::IskanjeKonecRobustna, procset.RobSolve.c_str());
        k.razlog = "robust_estimation";
        return k;
    }
    if (!izid.skonvergirala) {
        k.konec = B(Besedilo::IskanjeKonecNiSkonvergirala);
        k.razlog = "not_converged";
        return k;
    }
    testi = izravnava.TestiZapisov();
    const bool apriori = procset.GetIfVarApriori() != 0;
    const long f = gt.prostostne;
    const real omega = static_cast<real>(f) * gt.statistika;
    const TestZapisa* naj = nullptr;
    const TestZapisa* brezNadstevilnih = nullptr;
    StatistikaZapisa najS;
    long n = 0;
    for (const TestZapisa& t : testi) {
        if (!t.preverjen || neprevereni.count({t.set, t.zapis}) != 0) continue;
        const StatistikaZapisa s = IskanjeStatistika(t, omega, f, apriori, false);
        if (!s.testiran) {
            // Studentised, the record would leave no degree of freedom.
            if (brezNadstevilnih == nullptr || std::fabs(t.w) > std::fabs(brezNadstevilnih->w)) brezNadstevilnih = &t;
            continue;
        }
        ++n;
        if (naj == nullptr || s.p < najS.p || (s.p == najS.p && s.kljuc > najS.kljuc)) {
            naj = &t;
            najS = s;
        }
    }
    isk.testov = n;
    isk.alfa = 1.0L - procset.Getgtestp();
    isk.studentiziran = !apriori;
    isk.prostostne = apriori ? 0 : std::max(f - 1, 0L);
    const real alfaN = IskanjeSidak(isk.alfa, n);
    isk.kriticna = IskanjeKriticna(alfaN, f, apriori);
    if (gt.prostostne > 0 && gt.statistika < gt.spodnja) {
        k.konec = BesediloF(Besedilo::IskanjeKonecPodSpodnjo, static_cast<double>(gt.statistika),
                            static_cast<double>(gt.spodnja));
        k.razlog = "global_test_below_lower_bound";
        return k;
    }
    if (naj == nullptr && brezNadstevilnih != nullptr) {
        const RezIzlocen z = izravnava.Zapis(brezNadstevilnih->set, brezNadstevilnih->zapis);
        k.konec = BesediloF(Besedilo::IskanjeKonecBrezNadstevilnih, z.tocke.c_str(), z.vrstica);
        k.razlog = "no_redundancy_left";
        return k;
    }
    if (naj == nullptr || !(najS.p < alfaN)) {
        k.konec = B(Besedilo::IskanjeKonecPodN);
        k.razlog = "none_above_critical_value";
        return k;
    }
    if (procset.GetSnoopMax() != 0 && izlocenih >= procset.GetSnoopMax()) {
        k.konec = BesediloF(Besedilo::IskanjeKonecNajvec, static_cast<unsigned long>(procset.GetSnoopMax()));
        k.razlog = "limit_reached";
        return k;
    }
    k.zapis = izravnava.Zapis(naj->set, naj->zapis);
    k.zapis.w = IskanjeStatistika(*naj, omega, f, apriori, true).vrednost;
    k.zapis.p = najS.p;
    k.zapis.kriticna = isk.kriticna;
    k.zapis.studentiziran = !apriori;
    k.zapis.groba = naj->groba;
    k.komponent = naj->komponent;
    if (gt.prostostne - naj->komponent < 1) {
        k.konec = BesediloF(Besedilo::IskanjeKonecBrezNadstevilnih, k.zapis.tocke.c_str(), k.zapis.vrstica);
        k.razlog = "no_redundancy_left";
    }
    return k;
}
}  // namespace

IzidIskanja IskanjeGrobih(CIzravnalnik& izravnava, const CProcSet& procset, std::ostream& report)
{
    using Zacetek = CIzravnalnik::Zacetek;
    IzidIskanja izidIskanja;
    RezIskanje& isk = izidIskanja.iskanje;
    isk.vklopljeno = true;
    std::ostringstream prvo;
    IzidIzravnave izid = izravnava.Izravnaj(prvo, false, Zacetek::Datoteka);
    if (!izid) {
        report << prvo.str();
        izidIskanja.sporocilo = izid.sporocilo;
        return izidIskanja;
    }
    Zapisi neprevereni;
    bool poskusi = false;
    std::vector<TestZapisa> testi;
    for (;;) {
        Korak k = NaslednjiKorak(izravnava, procset, izid, neprevereni, isk.izloceni.size(), testi, isk);
        if (!k.konec.empty()) {
            isk.konec = k.konec;
            isk.razlog = k.razlog;
            break;
        }
        RezIzlocen& z = k.zapis;
        poskusi = true;
        // A low-rank step of the converged adjustment (or a whole quiet
        // one where it cannot apply).
        IzidIzravnave poskus = izravnava.IzlociZapis(z.set, z.zapis);
        if (!poskus) {
            // The record alone determines some unknown: it stays, unchecked,
            // and the adjustment is as it was.
            if (!poskus.zapisOstal) {
                izidIskanja.sporocilo = poskus.sporocilo;
                return izidIskanja;
            }
            neprevereni.insert({z.set, z.zapis});
            isk.neprevereni.push_back(z);
            continue;
        }
        izid = poskus;
        z.SoPo = izravnava.Rezultati().globalniTest.SoAposteriori;
        z.statistika = izravnava.Rezultati().globalniTest.statistika;
        isk.izloceni.push_back(z);
    }
    // A record that no other observation checks (r = 0) is the only one to
    // determine some unknown: it cannot be tested, and removing it would
    // leave the network undetermined.
    if (testi.empty() && procset.RobSolve == "MNK") testi = izravnava.TestiZapisov();
    for (const TestZapisa& t : testi)
        if (!t.preverjen && neprevereni.count({t.set, t.zapis}) == 0)
            isk.neprevereni.push_back(izravnava.Zapis(t.set, t.zapis));
    if (!poskusi) {
        report << prvo.str();
    } else {
        // The printed adjustment starts from the data file's values: it is
        // the adjustment of the file without the removed lines.
        izid = izravnava.Izravnaj(report, false, Zacetek::Datoteka);
        if (!izid) izidIskanja.sporocilo = izid.sporocilo;
    }
    return izidIskanja;
}

void IskanjeOdstopanja(CIzravnalnik& izravnava, RezIskanje& iskanje)
{
    if (!iskanje.izloceni.empty()) izravnava.Odstopanja(iskanje.izloceni);
}

void IskanjePorocilo(const RezIskanje& isk, const std::string& enota, std::ostream& report)
{
    Naslov(report, B(Besedilo::NaslovIskanje), 1);
    if (isk.studentiziran)
        report << BesediloF(Besedilo::IskanjeStatistikaStud, isk.prostostne) << "\n";
    else
        report << B(Besedilo::IskanjeStatistikaApr) << "\n";
    report << B(Besedilo::IskanjePrimerjava) << "\n"
           << BesediloF(Besedilo::IskanjeKriticnaN, isk.testov, static_cast<double>(isk.alfa)) << std::fixed
           << std::setprecision(3) << std::setw(10) << isk.kriticna << "\n\n";
    PodNaslov(report, B(isk.studentiziran ? Besedilo::IskanjeGlavaStud : Besedilo::IskanjeGlava), 1);
    int k = 0;
    for (const RezIzlocen& z : isk.izloceni) {
        report << std::setw(3) << ++k << "  " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke
               << std::right << std::setw(7) << z.vrstica << std::fixed << std::setprecision(3) << std::setw(9)
               << z.w << std::setw(9) << z.kriticna;
        Mala(report, z, enota, z.groba);
        report << std::setw(21) << std::setprecision(3) << 1000.0L * z.SoPo << std::setw(13) << std::setprecision(4)
               << z.statistika << "\n";
    }
    if (isk.izloceni.empty()) report << B(Besedilo::IskanjeNobenIzlocen) << "\n";
    report << "\n" << B(Besedilo::IskanjeKoncano) << isk.konec << ".\n\n";
    if (!isk.izloceni.empty()) {
        PodNaslov(report, B(Besedilo::IskanjeOdstopanja), 1);
        for (const RezIzlocen& z : isk.izloceni) {
            report << "   " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke << std::right << std::setw(7)
                   << z.vrstica;
            Mala(report, z, enota, z.odstopanje);
            report << (TerObsKotna(z.vrsta) ? (enota == "GON" ? " mg" : " ''") : " mm") << "\n";
        }
        report << "\n";
    }
    if (!isk.neprevereni.empty()) {
        PodNaslov(report, B(Besedilo::IskanjeNeprevereni), 1);
        for (const RezIzlocen& z : isk.neprevereni)
            report << "   " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke << std::right << std::setw(7)
                   << z.vrstica << std::fixed << std::setprecision(3) << std::setw(9) << z.w << "\n";
        report << "\n";
    }
}
