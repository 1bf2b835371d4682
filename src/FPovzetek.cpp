#include "src/FPovzetek.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iomanip>
#include <string>
#include <unordered_set>

#include "funkcije/Besedila.h"
#include "src/CProcSet.h"
#include "src/CRezultati.h"
#include "src/CTerObsZbirka.h"
#include "src/FIskanje.h"
#include "src/FTestiZapisov.h"
#include "src/NivexAux.h"

namespace {
const char* const kOs[3] = {"X", "Y", "Z"};

std::string Enota(char vrsta, const std::string& kotnaEnota)
{
    return TerObsKotna(vrsta) ? (kotnaEnota == "GON" ? " mg" : " ''") : " mm";
}

// A warning without its frame of "#".
std::string BrezOkvirja(const std::string& t)
{
    std::size_t a = t.find_first_not_of(" #"), b = t.find_last_not_of(" #");
    return a == std::string::npos ? std::string() : t.substr(a, b - a + 1);
}


std::string GlobalniTest(const RezGlobalniTest& g)
{
    return BesediloF(Besedilo::PovzetekGlobalniTest, B(g.sprejet ? Besedilo::PovzetekSprejet : Besedilo::PovzetekZavrnjen),
                     static_cast<double>(g.verjetnost), static_cast<double>(g.statistika),
                     static_cast<double>(g.spodnja), static_cast<double>(g.zgornja));
}
}  // namespace

std::string PovzetekStevilo(const char* oblika, real x)
{
    char b[64];
    std::snprintf(b, sizeof b, oblika, static_cast<double>(x));
    return b;
}

std::string VrsticeOpazovanja(const CTerObsZbirka& TO, const RezOpazovanje& o)
{
    if (o.set == kTOAngl) {
        const std::array<long, 2> d = TO.TOAngl.Smeri(o.zapis);
        if (d[0] >= 0 && d[1] >= 0) return std::to_string(TO.TODir.Vrstica(d[0])) + ", " + std::to_string(TO.TODir.Vrstica(d[1]));
    }
    return std::to_string(TO.Set(o.set).Vrstica(o.zapis));
}

std::vector<std::string> PovzetekNamigi(const CRezultati& rez, const CProcSet& procset)
{
    std::vector<std::string> namigi;
    const RezGlobalniTest& g = rez.globalniTest;
    if (g.zgornja > 0.0L && g.statistika > kPovzetekFaktorTesta * g.zgornja)
        namigi.emplace_back(B(Besedilo::PovzetekNamigTest));
    // A variance significantly smaller than the a-priori one: the deviations
    // are pessimistic.  Larger, with no record beyond the snooping's critical
    // value: the deviations of some kind look too small rather than one
    // record wrong.
    if (g.prostostne > 0 && g.statistika < g.spodnja) namigi.emplace_back(B(Besedilo::PovzetekNamigSpodnja));
    else if (g.prostostne > 0 && g.statistika > g.zgornja && g.statistika <= kPovzetekFaktorTesta * g.zgornja &&
             rez.iskanje.razlog == "none_above_critical_value") {
        namigi.emplace_back(B(Besedilo::PovzetekNamigZgornja));
        // Each studentised statistic takes its variance from the other
        // errors too: two or more errors in few degrees of freedom hide
        // each other, which the a-priori variance does not.
        if (rez.iskanje.studentiziran)
            namigi.emplace_back(BesediloF(Besedilo::PovzetekNamigZakrivanje, static_cast<long>(g.prostostne)));
    }
    if (procset.GetifIter() == 0 && rez.dim > 1) {
        // The largest correction of the one pass against the shortest side
        // of the network: its second-order term is what one pass neglects.
        real d = 0.0L;
        for (const RezTocka& t : rez.tocke) {
            real s = 0.0L;
            for (int k = 0; k < t.koordinate.dim; ++k) s += t.koordinate.pop[k] * t.koordinate.pop[k];
            d = std::max(d, std::sqrt(s));
        }
        real smin = 0.0L;
        const std::size_t n = rez.tocke.size();
        if (d * d > 2.0L * kPovzetekMejaLinearizacije && n <= 5000)
            for (std::size_t i = 0; i < n; ++i)
                for (std::size_t j = i + 1; j < n; ++j) {
                    real s = 0.0L;
                    for (int k = 0; k < rez.tocke[i].koordinate.dim; ++k) {
                        const real x = rez.tocke[i].koordinate.izr[k] - rez.tocke[j].koordinate.izr[k];
                        s += x * x;
                    }
                    s = std::sqrt(s);
                    if (s > 0.0L && (smin == 0.0L || s < smin)) smin = s;
                }
        if (smin > 0.0L && d * d / (2.0L * smin) > kPovzetekMejaLinearizacije)
            namigi.emplace_back(BesediloF(Besedilo::PovzetekNamigLinearizacija, static_cast<double>(d)));
    }
    return namigi;
}

std::vector<NivexOpozorilo> PovzetekOpozorila(const CProcSet& procset)
{
    std::vector<NivexOpozorilo> opozorila;
    for (const CProcSet::NeznanaBesedaVrstica& b : procset.NeznaneBesede())
        opozorila.push_back({BesediloF(Besedilo::PovzetekNeznanaBeseda, b.beseda.c_str(), static_cast<long>(b.vrstica)),
                             static_cast<long>(b.vrstica)});
    // Each once, at any count of warnings (a national network's loops).
    std::unordered_set<std::string> dana;
    for (const NivexOpozorilo& o : opozorila) dana.insert(o.besedilo);
    for (const NivexOpozorilo& t : NivexOpozorila()) {
        std::string b = BrezOkvirja(t.besedilo);
        if (b.rfind(B(Besedilo::PovzetekNeznanaBesedaZacetek), 0) != 0 && dana.insert(b).second)
            opozorila.push_back({std::move(b), t.vrstica});
    }
    return opozorila;
}

void Povzetek(const CRezultati& rez, const CProcSet& procset, const CTerObsZbirka& TO,
              const std::vector<NivexOpozorilo>& opozorila, std::ostream& report, std::ostream& konzola)
{
    const RezGlobalniTest& g = rez.globalniTest;
    const std::string& enota = procset.GetAngUnit();
    std::vector<const RezOpazovanje*> napake;
    for (const RezOpazovanje& o : rez.opazovanja)
        if (o.napaka) napake.push_back(&o);
    // By |w| as printed (three decimals), so that values equal to the print
    // keep the order of the rows whatever round-off the solution leaves.
    const auto izpisan = [](const RezOpazovanje* o) { return std::llround(std::fabs(o->w) * 1000.0L); };
    std::stable_sort(napake.begin(), napake.end(),
                     [&](const RezOpazovanje* a, const RezOpazovanje* b) { return izpisan(a) > izpisan(b); });
    const auto opis = [&TO](const RezOpazovanje& o) {
        const RezIzlocen z = TestiOpisZapisa(TO, o.set, o.zapis);
        std::string t = std::string(1, o.vrsta) + "  " + z.tocke;
        if (TerObsKomponente(o.vrsta)) t += std::string(" ") + kOs[o.komponenta];
        return std::pair<std::string, std::string>(t, VrsticeOpazovanja(TO, o));
    };
    const std::vector<std::string> namigi = PovzetekNamigi(rez, procset);

    Naslov(report, B(Besedilo::NaslovPovzetek), 1);
    report << GlobalniTest(g) << "\n\n";
    report << BesediloF(Besedilo::PovzetekPodN, static_cast<double>(rez.kriticnaN)) << std::setw(8) << napake.size()
           << "\n";
    for (std::size_t i = 0; i < napake.size() && i < kPovzetekNajvec; ++i) {
        const RezOpazovanje& o = *napake[i];
        const auto [t, vrstica] = opis(o);
        report << "   " << std::left << std::setw(24) << t << std::right << B(Besedilo::PovzetekVrstica) << std::setw(7) << vrstica
               << B(Besedilo::PovzetekW) << PovzetekStevilo("%9.3f", o.w);
        if (o.ocena) report << B(Besedilo::PovzetekGroba) << PovzetekStevilo("%9.2f", IskanjeMala(o.vrsta, enota, o.groba)) << Enota(o.vrsta, enota);
        report << "\n";
    }
    if (napake.size() > kPovzetekNajvec) report << B(Besedilo::PovzetekInSe) << napake.size() - kPovzetekNajvec << "\n";
    if (rez.iskanje.vklopljeno) {
        report << "\n" << B(Besedilo::PovzetekIzloceni) << std::setw(8) << rez.iskanje.izloceni.size() << "\n";
        for (const RezIzlocen& z : rez.iskanje.izloceni)
            report << "   " << std::left << std::setw(24) << (std::string(1, z.vrsta) + "  " + z.tocke) << std::right
                   << B(Besedilo::PovzetekVrstica) << std::setw(7) << z.vrstica
                   << B(z.studentiziran ? Besedilo::PovzetekTStud : Besedilo::PovzetekWApr)
                   << PovzetekStevilo("%9.3f", z.w) << B(Besedilo::PovzetekOdstopanje) << PovzetekStevilo("%9.2f", IskanjeMala(z.vrsta, enota, z.odstopanje))
                   << Enota(z.vrsta, enota) << "\n";
        for (const RezIzlocen& z : rez.iskanje.neprevereni)
            report << BesediloF(Besedilo::PovzetekNepreverjen, z.vrsta, z.tocke.c_str(), z.vrstica) << "\n";
    }
    report << "\n" << B(Besedilo::PovzetekPrehodov) << std::setw(6) << rez.prehodov << B(Besedilo::PovzetekIteracija)
           << B(procset.GetifIter() == 0 ? Besedilo::PovzetekNiVklopljena
                                         : (rez.skonvergirala ? Besedilo::PovzetekSkonvergirala
                                                              : Besedilo::PovzetekNiSkonvergirala))
           << B(Besedilo::PovzetekNorma)
           // Below a nanometre the norm is round-off, which differs by solution method.
           << (rez.normaPopravkov < 1e-9L ? std::string("< 1.00e-09") : PovzetekStevilo("%9.2e", rez.normaPopravkov)) << "\n";
    const RezTocka* naj = nullptr;
    for (const RezTocka& t : rez.tocke) {
        const real x = rez.dim == 1 ? t.koordinate.sig[0] : t.koordinate.a;
        if (naj == nullptr || x > (rez.dim == 1 ? naj->koordinate.sig[0] : naj->koordinate.a)) naj = &t;
    }
    if (naj != nullptr)
        report << B(rez.dim == 1 ? Besedilo::PovzetekOdklonVisine : Besedilo::PovzetekPolos)
               << PovzetekStevilo("%10.4f", rez.dim == 1 ? naj->koordinate.sig[0] : naj->koordinate.a) << B(Besedilo::PovzetekTocka)
               << naj->ime << ")\n";
    report << "\n" << B(Besedilo::PovzetekOpozorila) << std::setw(8) << opozorila.size() << "\n";
    for (const NivexOpozorilo& t : opozorila) report << "   " << t.besedilo << "\n";
    for (const std::string& t : namigi) report << "\n" << t << "\n";
    report << "\n";

    // The short form on the console.
    konzola << "\n" << B(Besedilo::NaslovPovzetek) << "\n  " << GlobalniTest(g) << "\n" << B(Besedilo::PovzetekKonzolaPodN)
            << napake.size();
    if (!napake.empty()) {
        const auto [t, vrstica] = opis(*napake[0]);
        konzola << BesediloF(Besedilo::PovzetekKonzolaNajvecji, t.c_str(), vrstica.c_str(), static_cast<double>(napake[0]->w));
    }
    konzola << "\n";
    if (rez.iskanje.vklopljeno) konzola << B(Besedilo::PovzetekKonzolaIzloceni) << rez.iskanje.izloceni.size() << "\n";
    for (const std::string& t : namigi) konzola << "  " << t << "\n";
    konzola << "\n";
}
