#include "src/FIskanje.h"

#include <cmath>
#include <iomanip>
#include <set>
#include <sstream>
#include <utility>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/Besedila.h"
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

namespace {
using Zapisi = std::set<std::pair<unsigned, long>>;

// The record the search removes next, or why it stops (konec not empty).
struct Korak {
    RezIzlocen zapis;
    int komponent = 1;
    std::string konec;
    const char* razlog = "";  // the reason as a fixed word for other programs
};

Korak NaslednjiKorak(const CIzravnalnik& izravnava, const CProcSet& procset, const IzidIzravnave& izid,
                     const Zapisi& neprevereni, std::size_t izlocenih, std::vector<TestZapisa>& testi)
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
    if (gt.sprejet) {
        k.konec = B(Besedilo::IskanjeKonecSprejet);
        k.razlog = "global_test_accepted";
        return k;
    }
    testi = izravnava.TestiZapisov();
    const TestZapisa* naj = nullptr;
    for (const TestZapisa& t : testi)
        if (t.preverjen && neprevereni.count({t.set, t.zapis}) == 0 &&
            (naj == nullptr || std::fabs(t.w) > std::fabs(naj->w)))
            naj = &t;
    if (naj == nullptr || !(std::fabs(naj->w) > TestiKriticnaN(procset.Getdatasp()))) {
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
    k.zapis.w = naj->w;
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
        Korak k = NaslednjiKorak(izravnava, procset, izid, neprevereni, isk.izloceni.size(), testi);
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

void IskanjePorocilo(const RezIskanje& isk, real kriticnaN, const std::string& enota, std::ostream& report)
{
    Naslov(report, B(Besedilo::NaslovIskanje), 1);
    report << B(Besedilo::IskanjeKriticnaN) << std::fixed << std::setprecision(3) << std::setw(10) << kriticnaN
           << "\n\n";
    PodNaslov(report, B(Besedilo::IskanjeGlava), 1);
    int k = 0;
    for (const RezIzlocen& z : isk.izloceni) {
        report << std::setw(3) << ++k << "  " << z.vrsta << "  " << std::left << std::setw(22) << z.tocke
               << std::right << std::setw(7) << z.vrstica << std::fixed << std::setprecision(3) << std::setw(9)
               << z.w;
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
