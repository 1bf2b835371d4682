#include "src/Nivex.h"
#include "src/IzpisStevil.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <new>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "funkcije/CppCas.h"
#include "funkcije/funkcijeAux.h"
#include "src/CNVX2HTML.h"
#include "src/CNVX2JSON.h"
#include "src/FDolocenost.h"
#include "src/FIskanje.h"
#include "src/FPovzetek.h"
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
    out << std::left << std::setw(60) << "       Nivex" << "Ver.   3.2 " << "\n" << std::right;
    out << "       =====" << "\n";
    out << std::left << std::setw(60) << "       Release:" << "12 AVG 2014" << "\n" << std::right;
    out << podcrtaj << "\n" << zvezde << "\n";
    out << std::string(55, ' ') << cas.Ascii() << "\n";
    out << "\n";
}

void DobiPodatke(int argc, const char** argv, std::string& dataFile, std::string& reportFile,
                 std::string& baseName)
{
    NivexMoznosti(argc, argv);
    NaslovNivex(std::cout);
    if (argc > 2) NivexError(std::string(" **** ") + kNivexUporaba + "      *** ");
    if (argc == 2) {
        dataFile = argv[1];
    } else {
        // The whole line is the name (a name may hold blanks); blanks and a
        // CR around it are not part of it.
        std::cout << "Podaj datoteko s podatki -> ";
        std::cout.flush();
        dataFile.clear();
        std::getline(std::cin, dataFile);
        const std::size_t a = dataFile.find_first_not_of(" \t\r"), b = dataFile.find_last_not_of(" \t\r");
        dataFile = a == std::string::npos ? std::string() : dataFile.substr(a, b - a + 1);
        if (dataFile.empty()) NivexError(" **** Ime vhodne datoteke ni podano (NE MOREM ODPRETI!!)      *** ");
    }
    if (dataFile.size() > NivexMaxImeDatoteke)
        NivexError(" **** Ime vhodne datoteke je predolgo (najvec 255 znakov)!!      *** ");
    if (const std::string napaka = NivexNapakaVhodne(dataFile); !napaka.empty()) NivexError(napaka);
    ImenaDatotek(dataFile, reportFile, baseName);
    if (argc == 2) std::cout << "Datoteka s podatki       -> " << dataFile << "\n";
    std::cout << "Datoteka z rezultati     -> " << reportFile << "\n\n\n";
}

void KonecPrograma(int argc, double seconds)
{
    const std::string crta(78, '=');
    // Warnings a reader of the console may have scrolled past.
    for (const std::string& t : NivexOpombe()) std::cout << t << "\n";
    if (!NivexOpombe().empty()) std::cout << "\n";
    std::cout << crta << "\n";
    IzpisNastavitve(4);
    std::cout << "   KONCAL Z IZRACUNI !!!  [" << seconds << " s]" << "\n";
    std::cout << crta << "\n\n";
    std::cout.flush();
    if (argc == 1) {
        std::cin.ignore(std::cin.rdbuf()->in_avail());
        PocakajEnter();
    }
}

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
    if (!std::isfinite(static_cast<double>(normX))) {
        char b[160];
        std::snprintf(b, sizeof b, " **** Iteracija %d: popravki neznank niso stevila - izravnava se razhaja      *** ",
                      k);
        return b;
    }
    rast = (k > 1 && normX > normPrej && normX >= prag) ? rast + 1 : 0;
    if (rast >= 2) {
        char b[200];
        std::snprintf(b, sizeof b,
                      " **** Iteracija %d: popravki neznank rastejo (%9.2e > %9.2e) - izravnava se razhaja, "
                      "preveri priblizne koordinate in opazovanja      *** ",
                      k, static_cast<double>(normX), static_cast<double>(normPrej));
        return b;
    }
    normPrej = normX;
    return {};
}

// Title of one pass of the iteration loop, with the correction norm of the
// previous pass (1.0 before the first solution).
std::string NaslovIteracije(int k, real normX)
{
    char b[96];
    std::snprintf(b, sizeof b, "ITERACIJA OBDELAVE OPAZOVANJ: %15d  [%9.2e]", k, static_cast<double>(normX));
    return b;
}
}  // namespace

CNivex::CNivex()
    : GMM(procset, gdatum, TO),
      GMMS(procset, gdatum, TO.TOHA, TO.TOCrdA, GMM),
      GMMEqH(procset, TO.TOH, TO.TOHA, TO.TOCrdA, GMM),
      GMMEqHdif(procset, TO.TOHdif, TO.TOHA, TO.TOCrdA, GMM),
      GMMEqCrd(procset, TO.TOCrd, TO.TOCrdA, GMM),
      GMMEqVec(procset, TO.TOVec, TO.TOCrdA, GMM),
      GMMEqDist2(procset, TO.TODist2, TO.TOCrdA, GMM),
      GMMEqDist3(procset, TO.TODist3, TO.TOCrdA, GMM),
      GMMEqAngl(procset, TO.TOAngl, TO.TOCrdA, GMM),
      GMMEqZen(procset, TO.TOZen, TO.TOCrdA, GMM),
      GMMEqAzi(procset, TO.TOAzi, TO.TOCrdA, GMM),
      GMMEqPara(procset, TO.TOPara, TO.TOCrdA, GMM),
      GMMdH(procset, gdatum, TO, GMM),
      GMMdD(procset, gdatum, TO, GMM),
      RelEll(procset, TO, GMM, GMMS),
      TOEst(procset, TO, GMM, GMMS)
{
}

void CNivex::SetGMMEq(std::ostream& report)
{
    // Each kind writes its rows and prints them, in the fixed kind order.
    const auto vrsta = [&report](auto& enacbe) {
        enacbe.SetGMMEq();
        enacbe.PrintGMMEq(report);
    };
    GMM.GMMResetIndex();
    for (const char tip : std::string_view(kVrstniRedVrstic)) {
        switch (tip) {
            case 'H': vrsta(GMMEqH); break;
            case 'h': vrsta(GMMEqHdif); break;
            case 'C': vrsta(GMMEqCrd); break;
            case 'V': vrsta(GMMEqVec); break;
            case 'D': vrsta(GMMEqDist2); break;
            case 'L': vrsta(GMMEqDist3); break;
            case 'S': vrsta(GMMEqAngl); break;
            case 'A': vrsta(GMMEqAzi); break;
            case 'P': vrsta(GMMEqPara); break;
            case 'Z': vrsta(GMMEqZen); break;
            default: break;
        }
    }
}

real CNivex::IterPrag() const
{
    return std::max(static_cast<real>(procset.GetIterThres()),
                    MejaZaokrozitve(TO.Tocke(procset.GetDim()), GMM.nunk));
}

bool CNivex::KonecIteracij(int k, std::ostream& report) const
{
    if (procset.GetifIter() == 0) return true;
    const bool skonvergirala = GMMS.GetNormX() < IterPrag();
    if (static_cast<int>(procset.GetNIter()) < k) {
        // The limit ends the loop; say so when the corrections were still
        // above the threshold, so unconverged values are not taken as final.
        if (!skonvergirala) {
            char b[200];
            std::snprintf(b, sizeof b,
                          " #### Iteracija ni skonvergirala v %d korakih (|dx| = %9.2e >= %9.2e) - rezultati "
                          "niso zanesljivi #### ",
                          k, static_cast<double>(GMMS.GetNormX()), static_cast<double>(procset.GetIterThres()));
            NivexWarning(b);
            report << "\n" << b << "\n\n";
        }
        return true;
    }
    return skonvergirala;
}

void CNivex::SetReliab(std::ostream& report)
{
    // Adjusted observations with their reliability, kind by kind in the
    // order of their model rows.
    const bool izpis = procset.GetizpisRez() != 0;
    Naslov(report, "IZRAVNANA OPAZOVANJA IN LOKALNE MERE NATANCNOSTI:", izpis);
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

void CNivex::Beri(const std::string& dataFile, std::ostream& report)
{
    // Settings, datum and observations, each printed under its title.
    procset.ReadProcSet(dataFile, report);
    Naslov(report, "NASTAVITVE OBDELAVE OPAZOVANJ GEODETSKE MREZE:", procset.GetizpisSet());
    procset.PrintProcSet(report);
    Naslov(report, "ZAGOTOVITEV GEODETSKEGA DATUMA MREZE:", procset.GetizpisSet());
    gdatum.ReadGDatum(dataFile, report, procset.GetContPrint());
    gdatum.PrintGDatum(report, procset.GetContPrint());
    Naslov(report, "GEODETSKA OPAZOVANJA IN NEZNANKE:", procset.GetizpisPod());
    getobs.SetCTerObs(procset, TO);
    getobs.ReadCTerObs(procset, TO, dataFile);
    getobs.PrintCTerObs(procset, TO, report);
}

IzidIzravnave CNivex::Izravnaj(std::ostream& report)
{
    Naslov(report, "POVZETEK PODATKOV GEODETSKE MREZE:", procset.GetizpisSet());
    GMM.DataSum(report);
    GMM.DataSet();

    // The linearisation loop: equations at the current approximate values,
    // solution, results, then the approximate values move to the adjusted
    // ones, until the corrections fall below the threshold.
    IzidIzravnave izid;
    std::ostream nic(nullptr);
    std::ostream& konzola = tiho ? nic : std::cout;
    GMMS.normX = 1.0L;
    real normPrej = 0.0L;  // correction norm of the previous pass
    int rast = 0;                 // passes in a row whose corrections grew
    for (int k = 1;; ++k) {
        if (procset.GetifIter() != 0) {
            const std::string t = NaslovIteracije(k, GMMS.GetNormX());
            Naslov(report, t.c_str(), 1);
            Naslov(konzola, t.c_str(), 1);
        }
        Naslov(report, "ENACBE POPRAVKOV:", procset.GetizpisEnPop());
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

        Naslov(report, "REZULTATI OBDELAVE GEODETSKE MREZE:", 1);
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
        if (!tiho) GMMS.PrintCorrUnknown(report, rez);
        RelEll.SetRelEll();
        RelEll.PrintRelEll(report);
        rez.SetRelativne(RelEll);
        nPasses = izid.prehodov = rez.prehodov = k;

        if (KonecIteracij(k, report)) break;
    }
    izid.skonvergirala = rez.skonvergirala = procset.GetifIter() == 0 || GMMS.GetNormX() < IterPrag();
    rez.normaPopravkov = GMMS.GetNormX();
    rez.datum = gdatum.GetGDatum();
    return izid;
}

void CNivex::Porocaj(const std::string& dataFile, std::ostream& report)
{
    SetReliab(report);
    std::string reportFile, baseName;
    ImenaDatotek(dataFile, reportFile, baseName);
    IzvozneDatoteke(baseName, report, dataFile);
}

void CNivex::Izracun(const std::string& dataFile, std::ostream& report)
{
    Beri(dataFile, report);
    rez.SetZacetne(TO.Tocke(procset.GetDim()));
    if (procset.GetSnoop()) {
        IskanjeGrobih(*this, report);
    } else {
        const IzidIzravnave izid = Izravnaj(report);
        if (!izid) NivexError(report, izid.sporocilo);
    }
    Porocaj(dataFile, report);
    if (procset.GetSnoop()) IskanjePorocilo(*this, report);
    Povzetek(*this, report, std::cout);
}

void CNivex::IzvozneDatoteke(const std::string& baseName, std::ostream& report, const std::string& dataFile)
{
    const unsigned short cont = procset.GetContPrint();
    const unsigned short Dim = procset.GetDim();
    if (procset.GetizrisGMT() != 0) {
        Naslov(report, "IZPIS REZULTATOV ZA IZRIS Z ORODJEM GMT:", procset.GetizpisRez());
        NVX2GMT.SetContPrint(cont);
        NVX2GMT.SetDim(Dim);
        // A levelling network has no plane coordinates to draw.
        if (Dim > 1) {
            const std::pair<const char*, const CTerObs*> opazovanja[] = {
                {"_CRD.TXT", &TO.TOCrd},   {"_DIR.TXT", &TO.TODir},   {"_AZI.TXT", &TO.TOAzi}, {"_D2.TXT", &TO.TODist2},
                {"_D3.TXT", &TO.TODist3},  {"_ZEN.TXT", &TO.TOZen},   {"_VEC.TXT", &TO.TOVec}, {"_H.TXT", &TO.TOH},
                {"_DH.TXT", &TO.TOHdif}};
            NVX2GMT.SetGMTFile(baseName, "_PTN.TXT");
            NVX2GMT.PrintPTName(TO.TOCrdA, report);
            for (std::size_t j = 0; j < std::size(opazovanja); ++j) {
                if (opazovanja[j].second->NObs() == 0) continue;
                NVX2GMT.SetGMTFile(baseName, opazovanja[j].first);
                NVX2GMT.PrintOBS(TO.TOCrdA, *opazovanja[j].second, report);
            }
            NVX2GMT.SetGMTFile(baseName, "_GROBE.TXT");
            NVX2GMT.PrintGrobe(TO.TOCrdA, TO, rez, report);
            NVX2GMT.SetGMTFile(baseName, "_CCORR.TXT");
            NVX2GMT.PrintCRDCorr(TO.TOCrdA, rez, report);
            NVX2GMT.SetGMTFile(baseName, "_ABSE.TXT");
            NVX2GMT.PrintAbsEll(TO.TOCrdA, rez, report);
            NVX2GMT.SetGMTFile(baseName, "_RELE.TXT");
            NVX2GMT.PrintRelEll(rez, report);
            if (procset.GetXVel() != 0) {
                NVX2GMT.SetGMTFile(baseName, "_XVEL.TXT");
                NVX2GMT.PrintXVel(TO.TOCrdA, rez, report);
            }
            if (cont != 0) std::cout << "\n";
        }
    }
    if (procset.GetizrisSTR() != 0) {
        const char datum = gdatum.GetGDatum();
        if (datum != 'D' && datum != 'H') {
            // The settings section announced the file: the report says why it
            // is missing.
            const char* opozorilo =
                " #### Izpisa za S-transformacijo ni mozno narediti pri vklopljeni geodetski mrezi      #### ";
            NivexWarning(opozorilo);
            report << "\n" << opozorilo << "\n\n";
        } else {
            Naslov(report, "IZPIS REZULTATOV ZA S TRANSFORMACIJO:", procset.GetizpisRez());
            NVX2STR.SetContPrint(cont);
            NVX2STR.SetDimensions(Dim);
            NVX2STR.SetSTRFile(baseName, "_STR.TXT");
            if (Dim == 1) NVX2STR.PrintSTrans_1D(TO.TOHA, GMM, rez, report);
            else if (Dim == 2) NVX2STR.PrintSTrans_2D(TO.TOCrdA, GMM, rez, report);
            else if (Dim == 3) NVX2STR.PrintSTrans_3D(TO.TOCrdA, GMM, rez, report);
        }
    }
    if (procset.GetizrisOPT2() != 0) {
        Naslov(report, "IZPIS REZULTATOV ZA S TRANSFORMACIJO:", procset.GetizpisRez());
        NVX2OPT2.SetContPrint(cont);
        NVX2OPT2.SetOPT2File(baseName, "_OPT2.TXT");
        NVX2OPT2.PrintOptim2(GMM, report);
    }
    // The results for other programs.
    if (procset.IzdelaJSON() || procset.IzdelaGeoJSON() || procset.IzdelaCSV() || procset.IzdelaHTML()) {
        const CNVX2JSON NVX2JSON(rez, TO, procset, gdatum);
        // One document for the JSON file and the page.
        const nlohmann::ordered_json dokument =
            procset.IzdelaJSON() || procset.IzdelaHTML() ? NVX2JSON.Dokument(dataFile) : nlohmann::ordered_json();
        if (procset.IzdelaJSON()) NVX2JSON.PrintJSON(baseName + ".json", dokument, report);
        if (procset.IzdelaGeoJSON()) NVX2JSON.PrintGeoJSON(baseName + ".geojson", report);
        if (procset.IzdelaCSV()) NVX2JSON.PrintCSV(baseName + ".csv", report);
        if (procset.IzdelaHTML())
            NVX2PrintHTML(baseName + ".html", dokument, rez, cas.Ascii(), PovzetekOpozorila(*this), report);
    }
}

int NivexMain(int argc, const char** argv)
{
    std::ofstream report;
    CNivex nivex;

    std::string dataFile, reportFile, baseName;
    DobiPodatke(argc, argv, dataFile, reportFile, baseName);
    nivex.cas.Start();

    report.open(reportFile, std::ios::out | std::ios::trunc);
    if (!report.is_open()) NivexError(NivexNapakaPorocila(reportFile));
    HitriIzpis(report);
    // From here on a fatal message of any layer ends up in the report as well.
    NivexPorocilo(&report);
    NaslovNivex(report);
    report << "Datoteka s podatki       -> " << std::setw(20) << dataFile << "\n";
    report << "Datoteka z rezultati     -> " << std::setw(20) << reportFile << "\n\n\n";

    try {
        nivex.Izracun(dataFile, report);
    } catch (const std::bad_alloc&) {
        // Storage other than a matrix's (names, texts, lookups) that did not fit.
        NivexError(" **** Za izracun ni dovolj pomnilnika - mreza je prevelika za ta racunalnik      *** ");
    }

    NivexPorocilo(nullptr);
    report.close();
    KonecPrograma(argc, nivex.cas.Stop());
    return 0;
}
