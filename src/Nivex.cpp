#include "src/Nivex.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>

#include "funkcije/CppCas.h"
#include "funkcije/funkcijeAux.h"
#include "src/NivexAux.h"

void ImenaDatotek(const std::string& dataFile, std::string& reportFile, std::string& baseName)
{
    const std::size_t pika = dataFile.rfind('.');
    baseName = pika == std::string::npos ? dataFile : dataFile.substr(0, pika);
    reportFile = baseName + ".NVX";
}

bool FileExists(const std::string& name)
{
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) return false;
    std::ifstream f(name);
    const bool ok = f.is_open();
    f.close();
    return ok;
}

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
    NaslovNivex(std::cout);
    if (argc > 2) {
        std::cout.flush();
        std::exit(1);
    }
    if (argc == 2) {
        dataFile = argv[1];
    } else {
        std::cout << "Podaj datoteko s podatki -> ";
        std::cout.flush();
        dataFile.clear();
        std::cin >> dataFile;
    }
    if (dataFile.size() > NivexMaxImeDatoteke)
        NivexError(" **** Ime vhodne datoteke je predolgo (najvec 255 znakov)!!      *** ");
    if (!FileExists(dataFile))
        NivexError(" **** Vhodna datoteka s tem imenom ne obstaja (NE MOREM ODPRETI!!)      *** ");
    ImenaDatotek(dataFile, reportFile, baseName);
    if (argc == 2) std::cout << "Datoteka s podatki       -> " << dataFile << "\n";
    std::cout << "Datoteka z rezultati     -> " << reportFile << "\n\n\n";
}

void KonecPrograma(int argc, double seconds)
{
    const std::string crta(78, '=');
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

int NivexMain(int argc, const char** argv)
{
    // The report has static storage so that a fatal end (std::exit) still
    // flushes and closes it with everything written before the error.
    static std::ofstream report;
    CppCas cas;
    std::string dataFile, reportFile, baseName;

    DobiPodatke(argc, argv, dataFile, reportFile, baseName);
    cas.Start();

    report.open(reportFile, std::ios::out | std::ios::trunc);
    if (!report.is_open())
        NivexError(" **** Datoteke z rezultati ni mogoce odpreti za pisanje!!      *** ");
    NaslovNivex(report);
    report << "Datoteka s podatki       -> " << std::setw(20) << dataFile << "\n";
    report << "Datoteka z rezultati     -> " << std::setw(20) << reportFile << "\n\n\n";

    // Settings, datum and observations are read here, each printed into the
    // report under its title; then the data summary, the iteration loop,
    // the adjusted observations with their reliability and the export files.

    report.close();
    KonecPrograma(argc, cas.Stop());
    return 0;
}
