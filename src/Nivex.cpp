#include "src/Nivex.h"
#include "src/IzpisStevil.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <utility>

#include "funkcije/CppCas.h"
#include "funkcije/funkcijeAux.h"
#include "funkcije/Besedila.h"
#include "src/FECEF.h"
#include "src/FIskanje.h"
#include "src/FNacrt.h"
#include "src/FPovzetek.h"
#include "src/FPriblizne.h"
#include "src/FZanke.h"
#include "src/Izvozi.h"
#include "src/NivexAux.h"

void ImenaDatotek(const std::string& dataFile, std::string& reportFile, std::string& baseName)
{
    // Only a dot of the file's own name starts the extension: a dot in a
    // folder name must not move the report out of that folder.
    const std::size_t poz = dataFile.rfind('/');
    const std::size_t zacetek = poz == std::string::npos ? 0 : poz + 1;
    const std::size_t pika = dataFile.rfind('.');
    baseName = pika == std::string::npos || pika < zacetek ? dataFile : dataFile.substr(0, pika);
    reportFile = baseName + ".NVX";
}

bool FileExists(const std::string& name) { return NivexNapakaVhodne(name).empty(); }

void NaslovNivex(std::ostream& out)
{
    CppCas cas;
    const std::string podcrtaj(75, '_'), zvezde(75, '*');
    out << podcrtaj << "\n" << zvezde << "\n";
    out << std::left << std::setw(60) << B(Besedilo::BannerIme) << B(Besedilo::BannerVerzija) << "\n" << std::right;
    out << "       =====" << "\n";
    out << std::left << std::setw(60) << B(Besedilo::BannerIzdaja) << B(Besedilo::BannerDatumIzdaje) << "\n" << std::right;
    out << podcrtaj << "\n" << zvezde << "\n";
    out << std::string(55, ' ') << cas.Ascii() << "\n";
    out << "\n";
}

void DobiPodatke(int argc, const char* const* argv, std::string& dataFile, std::string& reportFile,
                 std::string& baseName, bool jezikPodan)
{
    NaslovNivex(std::cout);
    if (argc > 2) NivexError(BesediloF(Besedilo::NapakaUporaba, B(Besedilo::NivexUporabaJezik)));
    if (argc == 2) {
        dataFile = argv[1];
    } else {
        // The whole line is the name (a name may hold blanks); blanks and a
        // CR around it are not part of it.
        std::cout << B(Besedilo::VprasanjeDatoteka);
        std::cout.flush();
        dataFile.clear();
        std::getline(std::cin, dataFile);
        const std::size_t a = dataFile.find_first_not_of(" \t\r"), b = dataFile.find_last_not_of(" \t\r");
        dataFile = a == std::string::npos ? std::string() : dataFile.substr(a, b - a + 1);
        if (dataFile.empty()) NivexError(B(Besedilo::NapakaImeNiPodano));
        // The banner and the question came before the name: the rest of the
        // run speaks the language of the file named.
        if (!jezikPodan) BesedilaJezik(CProcSet::JezikPodatkov(dataFile));
    }
    if (dataFile.size() > NivexMaxImeDatoteke)
        NivexError(BesediloF(Besedilo::NapakaImePredolgo, NivexMaxImeDatoteke));
    if (const std::string napaka = NivexNapakaVhodne(dataFile); !napaka.empty()) NivexError(napaka);
    ImenaDatotek(dataFile, reportFile, baseName);
    if (argc == 2) std::cout << B(Besedilo::DatotekaPodatki) << dataFile << "\n";
    std::cout << B(Besedilo::DatotekaRezultati) << reportFile << "\n\n\n";
}

void KonecPrograma(int argc, double seconds)
{
    const std::string crta(78, '=');
    // Warnings a reader of the console may have scrolled past.
    for (const std::string& t : NivexOpombe()) std::cout << t << "\n";
    if (!NivexOpombe().empty()) std::cout << "\n";
    std::cout << crta << "\n";
    IzpisNastavitve(4);
    std::cout << B(Besedilo::KoncalZIzracuni) << seconds << " s]" << "\n";
    std::cout << crta << "\n\n";
    std::cout.flush();
    if (argc == 1) {
        std::cin.ignore(std::cin.rdbuf()->in_avail());
        PocakajEnter();
    }
}

CNivex::CNivex() : CIzravnava(procset, gdatum, TO) {}

void CNivex::Beri(const std::string& dataFile, std::ostream& report)
{
    // Settings, datum and observations, each printed under its title.
    procset.ReadProcSet(dataFile, report);
    Naslov(report, B(Besedilo::NaslovNastavitve), procset.GetizpisSet());
    procset.PrintProcSet(report);
    Naslov(report, B(Besedilo::NaslovDatum), procset.GetizpisSet());
    gdatum.ReadGDatum(dataFile, report, procset.GetContPrint());
    gdatum.PrintGDatum(report, procset.GetContPrint());
    Naslov(report, B(Besedilo::NaslovOpazovanja), procset.GetizpisPod());
    getobs.SetCTerObs(procset, TO);
    getobs.ReadCTerObs(procset, TO, dataFile);
    if (procset.GetECEF()) ECEFVLokalni(TO, procset.GetECEFSirina(), procset.GetECEFDolzina());
    if (procset.Nacrt()) {
        // A design computes every value from the coordinates: it has none to
        // compute coordinates from.
        const CTerObsTocke& tocke = TO.Tocke(procset.GetDim());
        for (std::size_t p = 0; p < tocke.racunana.size(); ++p)
            if (tocke.racunana[p])
                NivexError(BesediloF(Besedilo::NapakaNacrtBrezKoordinat, tocke.GetPTS(static_cast<long>(p), 0).c_str()));
        NacrtVrednosti(*this, procset, TO, report);
    } else {
        // Points declared without coordinates get them before they are printed.
        rez.priblizne = IzracunajPriblizne(TO, gdatum, procset.GetDim());
    }
    getobs.PrintCTerObs(procset, TO, report);
    PribliznePorocilo(rez.priblizne, procset.GetDim(), report);
    ZapomniZacetne();
}

void CNivex::Porocaj(const std::string& dataFile, std::ostream& report)
{
    SetReliab(report);
    std::string reportFile, baseName;
    ImenaDatotek(dataFile, reportFile, baseName);
    // The misclosures of the removed records set up the model's equations
    // anew: after the writers of the model, before the results documents.
    IzvoziPisi({procset, gdatum, TO, rez, GMM, baseName, dataFile, cas.Ascii()}, report,
               [this] { if (procset.GetSnoop()) IskanjeOdstopanja(*this, rez.iskanje); });
}

void CNivex::Izracun(const std::string& dataFile, std::ostream& report)
{
    // Read, adjust (with the data snooping: adjust, test and adjust again),
    // the reliability, the snooping's misclosures and the export files, the
    // snooping's section, the summary.
    const CNamesceniKontekst namescen(kontekst);
    Beri(dataFile, report);
    rez.SetZacetne(TO.Tocke(procset.GetDim()));
    // A design's values close every loop by construction: no loops to show.
    if (!procset.Nacrt()) {
        rez.zanke = ZapiranjeZank(TO, procset);
        ZankePorocilo(rez.zanke, report);
    }
    if (procset.GetSnoop()) {
        IzidIskanja iskanje = IskanjeGrobih(*this, procset, report);
        if (!iskanje) NivexError(report, iskanje.sporocilo);
        rez.iskanje = std::move(iskanje.iskanje);
    } else {
        const IzidIzravnave izid = Izravnaj(report, tiho, Zacetek::Trenutni);
        if (!izid) NivexError(report, izid.sporocilo);
    }
    if (procset.Nacrt()) NacrtSmeri(*this, TO, rez);
    Porocaj(dataFile, report);
    if (procset.GetSnoop()) {
        IskanjePorocilo(rez.iskanje, procset.GetAngUnit(), report);
    }
    if (procset.Nacrt()) NacrtPovzetek(rez, procset, TO, PovzetekOpozorila(procset), report, std::cout);
    else Povzetek(rez, procset, TO, PovzetekOpozorila(procset), report, std::cout);
}

int NivexMain(int argc, const char** argv)
{
    CNivex nivex;
    // The run's open report and warnings live in its context, for this run
    // only; a fatal error of any layer is caught and reported once, by
    // NivexIzvedi.
    const CNamesceniKontekst kontekst(nivex.kontekst);
    std::ofstream report;
    const NivexUkaz ukaz = NivexArgumenti(argc, argv);
    const int n = static_cast<int>(ukaz.argumenti.size());
    const char* const* const args = ukaz.argumenti.data();
    // Each run speaks its own language, set before its first text: --lang,
    // else the "*LANG" of the data file named on the command line, else
    // Slovenian (a name given at the question sets it once it is known).
    const bool imeDatoteke = n == 2 && args[1][0] != '-';
    return NivexIzvedi([&] {
        BesedilaJezik(ukaz.jezikPodan ? ukaz.jezik : imeDatoteke ? CProcSet::JezikPodatkov(args[1]) : Jezik::SL);
        if (NivexMoznosti(ukaz)) return 0;
        std::string dataFile, reportFile, baseName;
        DobiPodatke(n, args, dataFile, reportFile, baseName, ukaz.jezikPodan);
        nivex.cas.Start();

        report.open(reportFile, std::ios::out | std::ios::trunc);
        if (!report.is_open()) NivexError(NivexNapakaPorocila(reportFile));
        HitriIzpis(report);
        // From here on a fatal message of any layer ends up in the report as well.
        nivex.kontekst.porocilo = &report;
        NaslovNivex(report);
        report << B(Besedilo::DatotekaPodatki) << std::setw(20) << dataFile << "\n";
        report << B(Besedilo::DatotekaRezultati) << std::setw(20) << reportFile << "\n\n\n";

        nivex.Izracun(dataFile, report);

        nivex.kontekst.porocilo = nullptr;
        report.close();
        KonecPrograma(n, nivex.cas.Stop());
        return 0;
    });
}
