#include "src/CGetObs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <map>
#include <sstream>
#include <utility>
#include <iostream>
#include <vector>

#include "src/CProcSet.h"
#include "src/CTerObsTocke.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

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
                    NivexError(set.Zapis(i) + ": TOCKA " + set.PTS(i, c) +
                               " NE OBSTAJA V SEZNAMU TOCK!!!! (zapisi X)      *** ");
    }
}

// The station setup that a "*IH station height" line opens, with the target
// heights of the "*TH" lines after it ("*TH height" for every target,
// "*TH target height" for one).  A setup holds for the records that follow
// it until the next "*IH": the directions, zenith distances and horizontal
// and slope distances in it must be taken from its station; the zenith and
// slope distances take its heights.  A word beginning with '#' starts a
// remark on these lines.
struct Stojisce {
    std::string tocka;   // the station; empty while no setup is open
    long vrstica = 0;
    real instrument = 0.0L, vsem = 0.0L;
    std::map<std::string, real> tarce;
    // Every station and target these lines name, with the line: a name
    // missing from the point list is a height that no record would take.
    std::vector<std::pair<std::string, long>> imena;

    void Beri(const std::string& kljuc, const std::string& vrsta, long v, unsigned short dim)
    {
        const std::string kje = " **** Vrstica " + std::to_string(v) + " (" + kljuc + "): ";
        if (dim != 3)
            NivexError(kje + "visine instrumenta in tarce so mogoce samo v prostorski mrezi (*DIM 3)      *** ");
        std::istringstream s(vrsta);
        std::vector<std::string> b;
        for (std::string w; BeriBesedo(s, w) && w[0] != '#';) b.push_back(w);
        const bool ih = kljuc == "*IH";
        if (ih ? b.size() != 2 : (b.empty() || b.size() > 2))
            NivexError(kje + (ih ? "zahteva stojisce in visino instrumenta [m]"
                                 : "zahteva visino tarce [m] ali tarco in njeno visino [m]") +
                       "      *** ");
        real h = 0.0L;
        if (!BesedaVStevilo(b.back(), h) || std::fabs(h) > kNajvecjeStevilo)
            NivexError(kje + "visina ni pravo stevilo -> " + b.back() + "      *** ");
        if (b.size() == 2) imena.emplace_back(b[0], v);
        if (ih) {
            tocka = b[0];
            vrstica = v;
            instrument = h;
            vsem = 0.0L;
            tarce.clear();
        } else if (tocka.empty()) {
            NivexError(kje + "visina tarce stoji zunaj stojisca - pred njo ni vrstice *IH      *** ");
        } else if (b.size() == 1) {
            vsem = h;
            tarce.clear();
        } else {
            tarce[b[0]] = h;
        }
    }
    // Record i of `set`, just read, within the setup.
    void Zapis(CTerObs& set, long i, const std::string& zapis) const
    {
        const char c = set.Vrsta().crka;
        if (tocka.empty() || (c != 'S' && c != 'Z' && c != 'L' && c != 'D')) return;
        if (set.PTS(i, 0) != tocka)
            NivexError(zapis + ": stojisce " + set.PTS(i, 0) + " ni stojisce " + tocka + " vrstice *IH (vrstica " +
                       std::to_string(vrstica) + ") - drugo stojisce zahteva svojo vrstico *IH      *** ");
        if (c != 'Z' && c != 'L') return;
        const auto t = tarce.find(set.PTS(i, 1));
        set.SetVisini(i, instrument, t != tarce.end() ? t->second : vsem);
    }
};

// Instrument and target heights of the records that have them.
void TabelaVisin(const CTerObs& set, std::ostream& izhod)
{
    if (!set.ImaVisine()) return;
    const std::string naslov = std::string("VISINE INSTRUMENTA IN TARCE, ") + set.Vrsta().opis + ":";
    izhod << "\n" << naslov << "\n" << std::string(naslov.size(), '-') << "\n\n";
    izhod << "        TC1   TC2          VI          VT\n";
    izhod << "                          [m]         [m]\n";
    izhod << std::string(41, '-') << "\n";
    for (long i = 0; i < static_cast<long>(set.NObs()); ++i) {
        izhod << std::right << std::setw(3) << i + 1 << "   ";
        TerObsTxt(izhod, set.PTS(i, 0), 6);
        TerObsTxt(izhod, set.PTS(i, 1), 6);
        TerObsNum(izhod, set.VisinaInstrumenta(i), 12, 4);
        TerObsNum(izhod, set.VisinaTarce(i), 12, 4);
        izhod << "\n";
    }
    izhod << std::string(41, '-') << "\n\n";
}
}  // namespace

void CGetObs::SetCTerObs(CProcSet& procset, CTerObsZbirka& TO)
{
    if (procset.GetContPrint() != 0) {
        std::cout << "C: CGetObs:" << "\n";
        std::cout << " F: SetCTerObs(... OBS CLASSES ...)" << "\n";
    }
    const unsigned short dim = procset.GetDim();
    const unsigned short xvel = procset.GetXVel();
    const std::string& unit = procset.GetAngUnit();

    if (dim == 1) {
        TO.TOHA.SetPar(procset.GetNHA(), xvel, procset.GetifVA());
    } else {
        TO.TOCrdA.SetPar(procset.GetNCrdA(), xvel, dim, procset.GetifVA());
        if (procset.GetNCrd() != 0) TO.TOCrd.SetPar(procset.GetNCrd(), xvel, dim);
        if (procset.GetNVec() != 0) TO.TOVec.SetPar(procset.GetNVec(), xvel, dim);
        if (procset.GetNDir() != 0) TO.TODir.SetPar(procset.GetNDir(), xvel, unit, "DIR");
        if (procset.GetNZen() != 0) TO.TOZen.SetPar(procset.GetNZen(), xvel, unit, "ZEN");
        if (procset.GetNAzi() != 0) TO.TOAzi.SetPar(procset.GetNAzi(), xvel, unit, "AZI");
        if (procset.GetNPara() != 0) TO.TOPara.SetPar(procset.GetNPara(), xvel, unit);
        if (procset.GetNDist2() != 0) TO.TODist2.SetPar(procset.GetNDist2(), xvel, 2);
        if (procset.GetNDist3() != 0) TO.TODist3.SetPar(procset.GetNDist3(), xvel, 3);
    }
    if (procset.GetNH() != 0) TO.TOH.SetPar(procset.GetNH(), xvel);
    if (procset.GetNHdif() != 0) TO.TOHdif.SetPar(procset.GetNHdif(), xvel);
}

void CGetObs::ReadCTerObs(CProcSet& procset, CTerObsZbirka& TO, const std::string& dataFile)
{
    if (procset.GetContPrint() != 0)
        std::cout << " F: ReadCTerObs(... OBS CLASSES ..., " << dataFile << ")" << "\n";
    const unsigned short dim = procset.GetDim();
    std::istringstream in;
    if (!BeriPodatke(dataFile, in))
        NivexError(" **** Datoteke s podatki ni mogoce odpreti za branje opazovanj!!     *** ");
    // Positions of the line ends, so that each record knows its line.
    std::vector<std::size_t> konci;
    {
        const std::string& t = in.str();
        for (std::size_t k = t.find('\n'); k != std::string::npos; k = t.find('\n', k + 1)) konci.push_back(k);
    }

    // Records read into each set; a kind the dimension does not take has no
    // room, so that its records are refused by name instead of being read
    // into nothing.
    std::array<unsigned long, kTOSetov> prebranih{};
    std::string beseda;
    Stojisce stojisce;
    // Line of the word just read.
    const auto vrsticaBesede = [&]() {
        const std::streamoff za = in.tellg();   // -1 after the last word of the file
        const std::size_t poz = (za < 0 ? in.str().size() : static_cast<std::size_t>(za)) - beseda.size();
        return VrsticaNa(konci, poz);
    };
    while (BeriBesedo(in, beseda)) {
        if (beseda == "*K") break;
        if (beseda == "*IH" || beseda == "*TH") {
            const long vrstica = vrsticaBesede();
            std::string vrsta;
            std::getline(in, vrsta);
            stojisce.Beri(beseda, vrsta, vrstica, dim);
            continue;
        }
        if (const TerObsVrsta* v = TerObsVrstaZapisa(beseda[0], dim)) {
            const TerObsSet s = static_cast<TerObsSet>(TerObsIndeks(*v));
            CTerObs& set = TO.Set(s);
            const unsigned long i = prebranih[s]++;
            const unsigned long prostor = TerObsSprejme(*v, dim) ? set.NObs() : 0;
            const long vrstica = vrsticaBesede();
            const std::string zapis = std::string(" **** Zapis ") + v->opis + " st. " + std::to_string(i + 1) +
                                      " (vrstica " + std::to_string(vrstica) + ")";
            if (prostor == 0)
                NivexError(zapis + ": zapisov te vrste " + std::to_string(dim) + "-razsezna mreza ne sprejme (*DIM " +
                           std::to_string(dim) + ")!!     *** ");
            if (i >= prostor)
                NivexError(zapis + ": zapisov te vrste je vec, kot jih je prestel pregled datoteke (" +
                           std::to_string(prostor) + ")!!     *** ");
            set.SetVrstica(static_cast<long>(i), vrstica);
            set.ReadObs(in, static_cast<long>(i));
            stojisce.Zapis(set, static_cast<long>(i), zapis);
        }
        PreskociVrstico(in);
    }

    // Records the counting pass found but this pass did not would stay empty
    // names and zero values in the model.
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const TerObsVrsta& v = kTerObsVrste[s];
        const unsigned long n = TO.Set(static_cast<TerObsSet>(s)).NObs();
        if (v.beri && TerObsSprejme(v, dim) && prebranih[s] < n)
            NivexError(std::string(" **** Zapisov ") + v.opis + " je prebranih " + std::to_string(prebranih[s]) +
                       ", pregled datoteke pa jih je prestel " + std::to_string(n) + "!!     *** ");
    }

    TO.Tocke(dim).SetUniquePTS();
    PreveriImenaTock(TO, dim);
    for (const auto& [ime, v] : stojisce.imena)
        if (TO.Tocke(dim).FindPoint(ime) < 0)
            NivexError(" **** Vrstica " + std::to_string(v) + ": TOCKA " + ime +
                       " NE OBSTAJA V SEZNAMU TOCK!!!! (zapisi X)      *** ");
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
    TabelaVisin(TO.TOZen, izhod);
    TabelaVisin(TO.TODist3, izhod);
}
