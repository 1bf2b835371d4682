#include "src/FPovzetek.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iomanip>

#include "src/FIskanje.h"
#include "src/Nivex.h"
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

std::string Stevilo(const char* oblika, real x)
{
    char b[64];
    std::snprintf(b, sizeof b, oblika, static_cast<double>(x));
    return b;
}

std::string GlobalniTest(const RezGlobalniTest& g)
{
    return std::string("Globalni test modela je ") + (g.sprejet ? "SPREJET" : "ZAVRNJEN") + " (stopnja zaupanja " +
           Stevilo("%.3f", g.verjetnost) + "): " + Stevilo("%.4f", g.statistika) + "  (" +
           Stevilo("%5.2f", g.spodnja) + " - " + Stevilo("%5.2f", g.zgornja) + ")";
}
}  // namespace

std::vector<std::string> PovzetekNamigi(const CNivex& nx)
{
    std::vector<std::string> namigi;
    const CRezultati& rez = nx.rez;
    const RezGlobalniTest& g = rez.globalniTest;
    if (g.zgornja > 0.0L && g.statistika > kPovzetekFaktorTesta * g.zgornja)
        namigi.emplace_back("NAMIG: globalni test je vec kot 100-krat nad zgornjo mejo - preveri enoto kotov (*AU), "
                            "priblizne koordinate in standardne odklone");
    if (nx.procset.GetifIter() == 0 && rez.dim > 1) {
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
            namigi.emplace_back("NAMIG: popravki enega prehoda (najvec " + Stevilo("%.3f", d) +
                                " m) so preveliki za linearizacijo - vklopi iteracijo z *ITER 1");
    }
    return namigi;
}

std::vector<std::string> PovzetekOpozorila(const CNivex& nx)
{
    std::vector<std::string> opozorila;
    for (const CProcSet::NeznanaBesedaVrstica& b : nx.procset.NeznaneBesede())
        opozorila.push_back("NEPOZNAN PARAMETER OBDELAVE -> " + b.beseda + " (vrstica " + std::to_string(b.vrstica) +
                            ") - prezrt");
    for (const std::string& t : NivexOpozorila()) {
        const std::string b = BrezOkvirja(t);
        if (b.rfind("NEPOZNAN PARAMETER OBDELAVE", 0) != 0 && std::find(opozorila.begin(), opozorila.end(), b) == opozorila.end())
            opozorila.push_back(b);
    }
    return opozorila;
}

void Povzetek(const CNivex& nx, std::ostream& report, std::ostream& konzola)
{
    const CRezultati& rez = nx.rez;
    const RezGlobalniTest& g = rez.globalniTest;
    const std::string& enota = nx.procset.GetAngUnit();
    std::vector<const RezOpazovanje*> napake;
    for (const RezOpazovanje& o : rez.opazovanja)
        if (o.napaka) napake.push_back(&o);
    // By |w| as printed (three decimals), so that values equal to the print
    // keep the order of the rows whatever round-off the solution leaves.
    const auto izpisan = [](const RezOpazovanje* o) { return std::llround(std::fabs(o->w) * 1000.0L); };
    std::stable_sort(napake.begin(), napake.end(),
                     [&](const RezOpazovanje* a, const RezOpazovanje* b) { return izpisan(a) > izpisan(b); });
    const auto opis = [&nx](const RezOpazovanje& o) {
        const RezIzlocen z = IskanjeZapis(nx.TO, o.set, o.zapis);
        std::string t = std::string(1, o.vrsta) + "  " + z.tocke;
        if (TerObsKomponente(o.vrsta)) t += std::string(" ") + kOs[o.komponenta];
        return std::pair<std::string, long>(t, z.vrstica);
    };
    const std::vector<std::string> opozorila = PovzetekOpozorila(nx);
    const std::vector<std::string> namigi = PovzetekNamigi(nx);

    Naslov(report, "POVZETEK IZRAVNAVE:", 1);
    report << GlobalniTest(g) << "\n\n";
    report << "Opazovanja z |w| > N (N =" << Stevilo("%6.3f", rez.kriticnaN) << "):" << std::setw(8) << napake.size()
           << "\n";
    for (std::size_t i = 0; i < napake.size() && i < kPovzetekNajvec; ++i) {
        const RezOpazovanje& o = *napake[i];
        const auto [t, vrstica] = opis(o);
        report << "   " << std::left << std::setw(24) << t << std::right << " vrstica" << std::setw(7) << vrstica
               << "   w =" << Stevilo("%9.3f", o.w);
        if (o.ocena) report << "   groba =" << Stevilo("%9.2f", IskanjeMala(o.vrsta, enota, o.groba)) << Enota(o.vrsta, enota);
        report << "\n";
    }
    if (napake.size() > kPovzetekNajvec) report << "   ... in se " << napake.size() - kPovzetekNajvec << "\n";
    if (rez.iskanje.vklopljeno) {
        report << "\nIzloceni zapisi (*SNOOP):" << std::setw(8) << rez.iskanje.izloceni.size() << "\n";
        for (const RezIzlocen& z : rez.iskanje.izloceni)
            report << "   " << std::left << std::setw(24) << (std::string(1, z.vrsta) + "  " + z.tocke) << std::right
                   << " vrstica" << std::setw(7) << z.vrstica << "   w =" << Stevilo("%9.3f", z.w)
                   << "   odstopanje =" << Stevilo("%9.2f", IskanjeMala(z.vrsta, enota, z.odstopanje))
                   << Enota(z.vrsta, enota) << "\n";
        for (const RezIzlocen& z : rez.iskanje.neprevereni)
            report << "   nepreverjen: " << z.vrsta << "  " << z.tocke << " vrstica " << z.vrstica << "\n";
    }
    report << "\nPrehodov izravnave:" << std::setw(6) << rez.prehodov << ", iteracija "
           << (nx.procset.GetifIter() == 0 ? "ni vklopljena" : (rez.skonvergirala ? "je skonvergirala" : "NI skonvergirala"))
           << ", zadnja norma popravkov: "
           // Below a nanometre the norm is round-off, which differs by solution method.
           << (rez.normaPopravkov < 1e-9L ? std::string("< 1.00e-09") : Stevilo("%9.2e", rez.normaPopravkov)) << "\n";
    const RezTocka* naj = nullptr;
    for (const RezTocka& t : rez.tocke) {
        const real x = rez.dim == 1 ? t.koordinate.sig[0] : t.koordinate.a;
        if (naj == nullptr || x > (rez.dim == 1 ? naj->koordinate.sig[0] : naj->koordinate.a)) naj = &t;
    }
    if (naj != nullptr)
        report << (rez.dim == 1 ? "Najvecji standardni odklon visine:  " : "Najvecja polos absolutnih elips:    ")
               << Stevilo("%10.4f", rez.dim == 1 ? naj->koordinate.sig[0] : naj->koordinate.a) << " m  (tocka "
               << naj->ime << ")\n";
    report << "\nOpozorila:" << std::setw(8) << opozorila.size() << "\n";
    for (const std::string& t : opozorila) report << "   " << t << "\n";
    for (const std::string& t : namigi) report << "\n" << t << "\n";
    report << "\n";

    // The short form on the console.
    konzola << "\nPOVZETEK IZRAVNAVE:\n  " << GlobalniTest(g) << "\n  Opazovanja z |w| > N: " << napake.size();
    if (!napake.empty()) {
        const auto [t, vrstica] = opis(*napake[0]);
        konzola << " (najvecji: " << t << ", vrstica " << vrstica << ", w =" << Stevilo("%8.3f", napake[0]->w) << ")";
    }
    konzola << "\n";
    if (rez.iskanje.vklopljeno) konzola << "  Izloceni zapisi (*SNOOP): " << rez.iskanje.izloceni.size() << "\n";
    for (const std::string& t : namigi) konzola << "  " << t << "\n";
    konzola << "\n";
}
