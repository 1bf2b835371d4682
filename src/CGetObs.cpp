#include "src/CGetObs.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <iostream>
#include <vector>

#include "funkcije/Besedila.h"
#include "src/CProcSet.h"
#include "src/CStojisce.h"
#include "src/CTerObsTocke.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"
#include "src/FKovariance.h"

namespace {
// Line (from 1) of a position in the text, from the positions of its line ends.
long VrsticaNa(const std::vector<std::size_t>& konci, std::size_t poz)
{
    return static_cast<long>(std::lower_bound(konci.begin(), konci.end(), poz) - konci.begin()) + 1;
}

// Every point an observation names must stand in the point list: the
// message names the record, its line and the point.
void PreveriImenaTock(CTerObsZbirka& TO, unsigned short dim)
{
    const CTerObsTocke& tocke = TO.Tocke(dim);
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const TerObsVrsta& v = kTerObsVrste[s];
        if (!v.beri || v.vrednosti == TerObsVrednosti::Tocka || !TerObsSprejme(v, dim)) continue;
        const CTerObs& set = TO.Set(static_cast<TerObsSet>(s));
        for (long i = 0; i < static_cast<long>(set.NObs()); ++i)
            for (long c = 0; c < static_cast<long>(set.PTS.ncol()); ++c)
                if (tocke.FindPoint(set.PTS(i, c)) < 0)
                    NivexError(BesediloF(Besedilo::NapakaTockaNiVSeznamu, set.Zapis(i).c_str(), set.PTS(i, c).c_str()));
    }
}

// The data file as it is read, with the positions of its line ends, so that
// each record knows its line.
struct BranjePodatkov {
    std::istringstream& in;
    std::vector<std::size_t> konci;

    explicit BranjePodatkov(std::istringstream& vir) : in(vir)
    {
        const std::string& t = in.str();
        for (std::size_t k = t.find('\n'); k != std::string::npos; k = t.find('\n', k + 1)) konci.push_back(k);
    }
    // The line of the word just read (tellg is -1 after the last word of the file).
    long VrsticaBesede()
    {
        const std::streamoff za = in.tellg();
        return VrsticaNa(konci, (za < 0 ? in.str().size() : static_cast<std::size_t>(za)) - 1);
    }
};

// A block of covariances (its leading word just read), to the end of its line.
void BeriKovBlokPodatkov(BranjePodatkov& branje, CTerObsZbirka& TO, unsigned short dim)
{
    const long vrstica = branje.VrsticaBesede();
    TO.kovBloki.push_back(BeriKovBlok(
        [&](std::string& w, long& kje) {
            if (!BeriBesedo(branje.in, w) || w == "*K") return false;
            kje = branje.VrsticaBesede();
            return true;
        },
        vrstica, dim));
    std::string ostanek;
    std::getline(branje.in, ostanek);
    PreveriOstanekKovBloka(ostanek, TO.kovBloki.back());
}

// A record of kind v (its leading word just read) into the next place of its
// set, refused where the set has no room for it.
void BeriZapis(BranjePodatkov& branje, const TerObsVrsta& v, CTerObsZbirka& TO,
               std::array<unsigned long, kTOSetov>& prebranih, CStojisce& stojisce, unsigned short dim)
{
    const TerObsSet s = static_cast<TerObsSet>(TerObsIndeks(v));
    CTerObs& set = TO.Set(s);
    const unsigned long i = prebranih[s]++;
    const unsigned long prostor = TerObsSprejme(v, dim) ? set.NObs() : 0;
    const long vrstica = branje.VrsticaBesede();
    const std::string zapis =
        BesediloF(Besedilo::ZacetekZapisa, B(v.opis),
                  BesediloF(Besedilo::OznakaZapisaStVrstica, static_cast<long>(i + 1), vrstica).c_str());
    if (prostor == 0)
        NivexError(BesediloF(Besedilo::NapakaZapisDimenzija, zapis.c_str(), static_cast<unsigned>(dim),
                             static_cast<unsigned>(dim)));
    if (i >= prostor) NivexError(BesediloF(Besedilo::NapakaZapisovVec, zapis.c_str(), prostor));
    set.SetVrstica(static_cast<long>(i), vrstica);
    set.ReadObs(branje.in, static_cast<long>(i));
    stojisce.Zapis(set, static_cast<long>(i), zapis);
}

// Records the counting pass found but the reading pass did not would stay
// empty names and zero values in the model.
void PreveriSteviloZapisov(CTerObsZbirka& TO, const std::array<unsigned long, kTOSetov>& prebranih,
                           unsigned short dim)
{
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const TerObsVrsta& v = kTerObsVrste[s];
        const unsigned long n = TO.Set(static_cast<TerObsSet>(s)).NObs();
        if (v.beri && TerObsSprejme(v, dim) && prebranih[s] < n)
            NivexError(BesediloF(Besedilo::NapakaZapisovManj, B(v.opis), prebranih[s], n));
    }
}
}  // namespace

void CGetObs::SetCTerObs(CProcSet& procset, CTerObsZbirka& TO)
{
    if (procset.GetContPrint() != 0) {
        std::cout << "C: CGetObs:" << "\n";
        std::cout << " F: SetCTerObs(... OBS CLASSES ...)" << "\n";
    }
    // The point list of the network's dimension always, every other set the
    // dimension takes when the settings pass counted records of it.
    const unsigned short dim = procset.GetDim();
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const TerObsVrsta& v = kTerObsVrste[s];
        const unsigned long n = procset.GetNZapisov(static_cast<TerObsSet>(s));
        if (v.velikost == nullptr || !TerObsSprejme(v, dim)) continue;
        if (n != 0 || v.vrednosti == TerObsVrednosti::Tocka) v.velikost(TO, procset, n);
    }
}

void CGetObs::ReadCTerObs(CProcSet& procset, CTerObsZbirka& TO, const std::string& dataFile)
{
    if (procset.GetContPrint() != 0)
        std::cout << " F: ReadCTerObs(... OBS CLASSES ..., " << dataFile << ")" << "\n";
    const unsigned short dim = procset.GetDim();
    std::istringstream in;
    if (!BeriPodatke(dataFile, in, TO.kodiranje))
        NivexError(B(Besedilo::NapakaOdpiranjeOpazovanj));
    BranjePodatkov branje(in);

    // Records read into each set; a kind the dimension does not take has no
    // room, so that its records are refused by name instead of being read
    // into nothing.
    std::array<unsigned long, kTOSetov> prebranih{};
    std::string beseda;
    TO.kovBloki.clear();
    CStojisce stojisce;   // instrument and target heights
    while (BeriBesedo(in, beseda)) {
        if (beseda == "*K") break;
        if (CStojisce::JeVrsticaVisin(beseda)) {
            const long vrstica = branje.VrsticaBesede();
            std::string vrsta;
            std::getline(in, vrsta);
            stojisce.Beri(beseda, vrsta, vrstica, dim);
            continue;
        }
        if (JeKovBlok(beseda)) {
            BeriKovBlokPodatkov(branje, TO, dim);
            continue;
        }
        if (const TerObsVrsta* v = TerObsVrstaZapisa(beseda[0], dim))
            BeriZapis(branje, *v, TO, prebranih, stojisce, dim);
        PreskociVrstico(in);
    }

    PreveriSteviloZapisov(TO, prebranih, dim);
    TO.Tocke(dim).SetUniquePTS();
    PreveriImenaTock(TO, dim);
    stojisce.PreveriImena(TO.Tocke(dim));
    PoveziKovBloke(TO, dim);
    TO.TOAngl.SetPar(procset.GetCorAng());
    TO.CalcRefStDApr();
}

void CGetObs::PrintCTerObs(CProcSet& procset, CTerObsZbirka& TO, std::ostream& izhod)
{
    if (procset.GetContPrint() != 0)
        std::cout << " F: PrintCTerObs(... OBS CLASSES ..., ofstream & izhod)" << "\n";

    const auto tabela = [&izhod](CTerObs& s) {
        s.SetPrintQuant("ALL");
        s.PrintObs(izhod, 0);
    };
    tabela(TO.Tocke(procset.GetDim()));
    if (procset.GetizpisPod() == 0) return;
    // The directions have no table of their own: their stations and targets
    // stand in the names of the composed angles.
    TO.TOAngl.SetPrintAngQuant("ANG");
    for (unsigned s = kTOCrdA + 1; s < kTOSetov; ++s) {
        CTerObs& set = TO.Set(static_cast<TerObsSet>(s));
        if (s != kTODir && set.NObs() != 0) tabela(set);
    }
    CStojisce::PrintVisine(TO, izhod);
    PrintKovBloke(izhod, TO);
}
