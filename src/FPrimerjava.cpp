#include "src/FPrimerjava.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "funkcije/Besedila.h"
#include "funkcije/funkcijeAux.h"
#include "src/CNVX2HTML.h"
#include "src/CNVX2JSON.h"
#include "src/CNVX2Primerjava.h"
#include "src/IzpisStevil.h"
#include "src/Nivex.h"

namespace {
struct UkazPrimerjave {
    std::string epoha[2];
    long najvec = -1;
};

[[noreturn]] void NapacenUkaz(const std::string& zakaj)
{
    NivexError(BesediloF(Besedilo::PrimerjavaNapakaUkaz, zakaj.c_str(), B(Besedilo::PrimerjavaUporaba)));
}

UkazPrimerjave Razcleni(const NivexUkaz& ukaz)
{
    UkazPrimerjave u;
    if (ukaz.jezikNapacen) NapacenUkaz("--lang " + ukaz.napacenJezik);
    const std::vector<const char*>& a = ukaz.argumenti;
    bool datoteke = false, omejitev = false;
    for (std::size_t k = 1; k < a.size(); ++k) {
        const std::string s = a[k];
        if (s == "--compare" && !datoteke) {
            if (k + 2 >= a.size()) NapacenUkaz("--compare");
            u.epoha[0] = a[k + 1];
            u.epoha[1] = a[k + 2];
            k += 2;
            datoteke = true;
        } else if (s == "--max-moved" && !omejitev && k + 1 < a.size()) {
            const std::string n = a[++k];
            if (n.empty() || n.size() > 9 || n.find_first_not_of("0123456789") != std::string::npos)
                NapacenUkaz("--max-moved " + n);
            u.najvec = std::stol(n);
            omejitev = true;
        } else {
            NapacenUkaz(s);
        }
    }
    return u;
}

// One epoch adjusted as a run of its own: its report and export files beside
// its data file (the caller has checked that it can be read).  A file
// that does not adjust ends the comparison.
std::unique_ptr<CNivex> Epoha(const std::string& dataFile, int k)
{
    auto run = std::make_unique<CNivex>();
    std::string reportFile, baseName;
    ImenaDatotek(dataFile, reportFile, baseName);
    std::cout << BesediloF(Besedilo::PrimerjavaEpohaKonzola, k) << "\n"
              << B(Besedilo::DatotekaPodatki) << dataFile << "\n"
              << B(Besedilo::DatotekaRezultati) << reportFile << "\n\n";
    std::ofstream report(reportFile, std::ios::out | std::ios::trunc);
    if (!report.is_open()) NivexError(NivexNapakaPorocila(reportFile));
    HitriIzpis(report);
    run->kontekst.porocilo = &report;
    NaslovNivex(report);
    report << B(Besedilo::DatotekaPodatki) << std::setw(20) << dataFile << "\n";
    report << B(Besedilo::DatotekaRezultati) << std::setw(20) << reportFile << "\n\n\n";
    try {
        run->Izracun(dataFile, report);
    } catch (const NivexNapaka& napaka) {
        // The epoch's own message goes where its run alone would put it.
        report << napaka.what();
        report.close();
        std::cout << napaka.what() << "\n";
        std::cerr << napaka.what() << "\n";
        NivexError(BesediloF(Besedilo::PrimerjavaNapakaIzravnava, dataFile.c_str(), k));
    }
    run->kontekst.porocilo = nullptr;
    return run;
}

// The datum defects that an epoch's observations leave (as the free
// network's inner constraints see them).
unsigned Defekti(const CNivex& e)
{
    if (e.procset.GetDim() == 1) return kDefTx;
    unsigned long zapisov[kTOSetov] = {};
    for (unsigned s = 0; s < kTOSetov; ++s) zapisov[s] = e.TO.Set(static_cast<TerObsSet>(s)).NAktivnih();
    const unsigned d = TerObsDatumskiDefekti(kDefVse, zapisov);
    return e.procset.GetDim() == 2 ? d & (kDefTx | kDefTy | kDefWz | kDefM2) : d;
}

// Coordinates and a-priori covariances (sigma0 a-priori squared times the
// cofactors) of the points idx of an epoch.
void Koordinate(const CRezultati& r, const std::vector<std::size_t>& idx, int k, real So, matrika<real>& x,
                matrika<real>& C)
{
    const long m = static_cast<long>(idx.size()) * k;
    x.resize(static_cast<unsigned long>(m), 1, 0.0L);
    C.resize(static_cast<unsigned long>(m), static_cast<unsigned long>(m), 0.0L);
    const KofaktorjiNeznank& Q = r.Kofaktorji();
    for (long i = 0; i < m; ++i) {
        const RezBlok& bi = r.tocke[idx[static_cast<std::size_t>(i / k)]].koordinate;
        x(i) = bi.izr[i % k];
        for (long j = 0; j < m && bi.neznanka >= 0; ++j) {
            const RezBlok& bj = r.tocke[idx[static_cast<std::size_t>(j / k)]].koordinate;
            if (bj.neznanka >= 0) C(i, j) = So * So * Q(bi.neznanka + i % k, bj.neznanka + j % k);
        }
    }
}
}  // namespace

bool PrimerjavaZahtevana(const NivexUkaz& ukaz)
{
    for (std::size_t k = 1; k < ukaz.argumenti.size(); ++k)
        if (std::string(ukaz.argumenti[k]) == "--compare") return true;
    return false;
}

VhodPrimerjave PrimerjavaVhod(const CNivex& e1, const CNivex& e2, long najvecPremaknjenih)
{
    const int d1 = e1.procset.GetDim(), d2 = e2.procset.GetDim();
    if (d1 != d2) NivexError(BesediloF(Besedilo::PrimerjavaNapakaDimenzija, d1, d2));
    VhodPrimerjave v;
    v.dim = d2;
    v.defekti = Defekti(e1) | Defekti(e2);
    v.P = e2.procset.Getskladp();
    v.najvecPremaknjenih = najvecPremaknjenih;
    std::vector<std::size_t> i1, i2;
    const CRezultati &r1 = e1.Rezultati(), &r2 = e2.Rezultati();
    for (std::size_t j = 0; j < r2.tocke.size(); ++j)
        for (std::size_t i = 0; i < r1.tocke.size(); ++i)
            if (r1.tocke[i].ime == r2.tocke[j].ime) {
                i1.push_back(i);
                i2.push_back(j);
                v.tocke.push_back(r2.tocke[j].ime);
                break;
            }
    const long n = static_cast<long>(v.tocke.size());
    if (n == 0) NivexError(B(Besedilo::PrimerjavaNapakaBrezSkupnih));
    const int p = PrimerjavaParametrov(v.dim, v.defekti);
    if (n < PrimerjavaNajmanjTock(v.dim) || n * v.dim <= p)
        NivexError(BesediloF(Besedilo::PrimerjavaNapakaPremalo, n, p));
    const RezGlobalniTest &g1 = r1.globalniTest, &g2 = r2.globalniTest;
    Koordinate(r1, i1, v.dim, g1.SoApriori, v.x1, v.C1);
    Koordinate(r2, i2, v.dim, g2.SoApriori, v.x2, v.C2);
    // The pooled variance factor of both epochs by their degrees of freedom;
    // an epoch that takes its a-priori variance as known makes it known.
    const long f = std::max(g1.prostostne, 0L) + std::max(g2.prostostne, 0L);
    if (g1.apriori || g2.apriori || f <= 0) return v;
    const auto faktor = [](const RezGlobalniTest& g) {
        const real s = g.SoAposteriori / g.SoApriori;
        return static_cast<real>(std::max(g.prostostne, 0L)) * s * s;
    };
    v.f = static_cast<real>(f);
    v.s02 = (faktor(g1) + faktor(g2)) / v.f;
    return v;
}

int PrimerjavaMain(const NivexUkaz& ukaz)
{
    CKontekstIzvajanja kontekst;
    const CNamesceniKontekst namescen(kontekst);
    std::ofstream report;
    return NivexIzvedi([&] {
        const UkazPrimerjave u = Razcleni(ukaz);
        BesedilaJezik(ukaz.jezikPodan ? ukaz.jezik : CProcSet::JezikPodatkov(u.epoha[1]));
        NaslovNivex(std::cout);
        CppCas cas;
        cas.Start();
        // The comparison report opens once both files can be read, so that
        // a refusal after it (a file that does not adjust) is written in it
        // and no earlier comparison's report is left standing.
        for (const std::string& f : u.epoha) {
            if (f.size() > NivexMaxImeDatoteke) NivexError(BesediloF(Besedilo::NapakaImePredolgo, NivexMaxImeDatoteke));
            if (const std::string napaka = NivexNapakaVhodne(f); !napaka.empty()) NivexError(napaka);
        }
        std::string reportFile, baseName;
        ImenaDatotek(u.epoha[1], reportFile, baseName);
        reportFile = baseName + ".primerjava.NVX";
        report.open(reportFile, std::ios::out | std::ios::trunc);
        if (!report.is_open()) NivexError(NivexNapakaPorocila(reportFile));
        kontekst.porocilo = &report;
        NaslovNivex(report);

        const std::unique_ptr<CNivex> e1 = Epoha(u.epoha[0], 1);
        const std::unique_ptr<CNivex> e2 = Epoha(u.epoha[1], 2);
        const VhodPrimerjave v = PrimerjavaVhod(*e1, *e2, u.najvec);
        const RezPrimerjave rez = Primerjaj(v);
        // Common points without variance in either epoch (fixed in both)
        // carry no test.
        if (rez.testi.front().h == 0)
            NivexError(BesediloF(Besedilo::PrimerjavaNapakaPremalo, static_cast<long>(v.tocke.size()), rez.parametrov));
        std::cout << B(Besedilo::DatotekaRezultati) << reportFile << "\n\n";
        const OpisPrimerjave opis{u.epoha[0], u.epoha[1], v, rez};
        PrimerjavaPorocilo(opis, report);
        const CProcSet& ps = e2->procset;
        if (ps.IzdelaJSON() || ps.IzdelaHTML()) {
            const CNVX2JSON pisec(e2->Rezultati(), e2->TO, ps, e2->gdatum);
            nlohmann::ordered_json dokument = pisec.Dokument(u.epoha[1]);
            dokument["deformation"] = PrimerjavaJSON(opis, e2->TO.kodiranje);
            if (ps.IzdelaJSON()) pisec.PrintJSON(baseName + ".primerjava.json", dokument, report);
            if (ps.IzdelaHTML())
                NVX2PrintHTML(baseName + ".primerjava.html", dokument, e2->Rezultati(), cas.Ascii(), report);
        }
        kontekst.porocilo = nullptr;
        report.close();
        KonecPrograma(2, cas.Stop());
        return 0;
    });
}
