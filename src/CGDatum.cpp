#include "src/CGDatum.h"

#include <climits>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

#include "src/FBranje.h"
#include "src/NivexAux.h"

namespace {

// One double-star keyword: its word, the kind it belongs to, the number of
// point names it carries, and where its count and list live.
struct DatumskaVrsta {
    const char* beseda;
    char vrsta;
    unsigned imen;
    unsigned short CGDatum::*stevec;
    matrika<std::string> CGDatum::*seznam;
};

const DatumskaVrsta kVrste[] = {
    {"**DX", 'D', 1, &CGDatum::nDX, &CGDatum::PTX},       {"**DY", 'D', 1, &CGDatum::nDY, &CGDatum::PTY},
    {"**DZ", 'D', 1, &CGDatum::nDZ, &CGDatum::PTZ},       {"**DS", 'D', 2, &CGDatum::nDDir, &CGDatum::PTDir},
    {"**DD", 'D', 2, &CGDatum::nDDist, &CGDatum::PTDist}, {"**DZen", 'D', 2, &CGDatum::nDZen, &CGDatum::PTZen},
    {"**DdX", 'D', 2, &CGDatum::nDdX, &CGDatum::PTdX},    {"**DdY", 'D', 2, &CGDatum::nDdY, &CGDatum::PTdY},
    {"**DdZ", 'D', 2, &CGDatum::nDdZ, &CGDatum::PTdZ},    {"**DH", 'D', 1, &CGDatum::nDH, &CGDatum::PTH},
    {"**V", 'V', 1, &CGDatum::nV, &CGDatum::PTDV},        {"**H", 'H', 1, &CGDatum::nH, &CGDatum::PTDH},
    {"**VXY", 'V', 1, &CGDatum::nVXY, &CGDatum::PTVXY},   {"**VZ", 'V', 1, &CGDatum::nVZ, &CGDatum::PTVZ},
};

const DatumskaVrsta* NajdiVrsto(const std::string& w)
{
    for (const DatumskaVrsta& v : kVrste)
        if (w == v.beseda) return &v;
    return nullptr;
}

std::string Okvir(const std::string& text) { return " **** " + text + "      *** "; }

}  // namespace

std::vector<std::string> CGDatum::DatumskeBesede()
{
    std::vector<std::string> besede;
    for (const DatumskaVrsta& v : kVrste) besede.emplace_back(v.beseda);
    return besede;
}

namespace {

// Line-wise reading of the data file: the first word of a line, then either
// the words of the rest of that line or a skip of it (any length).
struct Vrstice {
    std::istringstream in;
    long vrstica = 0;

    Vrstice(const std::string& dataFile, std::ostream& izhod)
    {
        if (!BeriPodatke(dataFile, in)) NivexError(izhod, Okvir("Datoteke s podatki ni mogoce odpreti:    " + dataFile));
    }
    // First word of the next line that holds one.
    bool Prva(std::string& w)
    {
        for (;;) {
            std::string vrsta;
            if (!std::getline(in, vrsta)) return false;
            ++vrstica;
            std::istringstream s(vrsta);
            if (BeriBesedo(s, w)) {
                ostanek.clear();
                std::getline(s, ostanek);
                return true;
            }
        }
    }
    std::vector<std::string> Besede() const
    {
        std::istringstream s(ostanek);
        std::vector<std::string> b;
        std::string w;
        while (BeriBesedo(s, w)) b.push_back(w);
        return b;
    }
    std::string ostanek;   // the line after its first word
};

// A name right-aligned in its columns; a name that fills them gets one blank
// before it, so that it never runs into the number or name on its left.
void Ime(std::ostream& izhod, const std::string& ime, int sirina)
{
    if (ime.size() >= static_cast<std::size_t>(sirina)) izhod << ' ' << ime;
    else izhod << std::setw(sirina) << ime;
}

const char* Oznaka(char d)
{
    switch (d) {
    case 'D': return "MINIMALNO \x8ATEVILO VEZI [D]";
    case 'V': return "VKLOP NA DANE TO\xC8KE";
    case 'H': return "PROSTA MREZA [H]";
    case 'P': return "PSEVDOOPAZOVANJA [Pxx]";
    default: return "";
    }
}

}  // namespace

void CGDatum::ReadGDatum(const std::string& dataFile, std::ostream& izhod, unsigned short ContPrint)
{
    const auto sled = [&](const std::string& korak) {
        if (ContPrint != 0)
            std::cout << " F: ReadGDatum(" << dataFile << ", ofstream & izhod" << ContPrint << ") -> " << korak << "\n";
    };
    if (ContPrint != 0) std::cout << "C: CGDatum:" << "\n";
    sled("ReadGDatumScan(" + dataFile + ",ofstream & izhod)");
    ReadGDatumScan(dataFile, izhod);
    sled("SetGData()");
    SetGData();
    sled("ReadGDatumRead(" + dataFile + ",ofstream & izhod)");
    ReadGDatumRead(dataFile, izhod);
}

void CGDatum::ReadGDatumScan(const std::string& dataFile, std::ostream& izhod)
{
    Vrstice f(dataFile, izhod);
    std::string w;
    while (f.Prva(w)) {
        if (w == "*K") break;
        if (w == "*D") {
            // The kind is the first non-blank character after "*D"; nothing
            // there leaves no valid kind.
            const std::size_t k = f.ostanek.find_first_not_of(" \t\r\v\f");
            Datum = k == std::string::npos ? '\0' : f.ostanek[k];
            continue;
        }
        if (const DatumskaVrsta* v = NajdiVrsto(w)) {
            unsigned short& n = this->*(v->stevec);
            if (n == USHRT_MAX)
                NivexError(izhod, Okvir(std::string("Prevec datumskih vrstic ") + v->beseda + " (najvec 65535)"));
            ++n;
        }
    }
    if (Datum != 'D' && Datum != 'V' && Datum != 'P' && Datum != 'H')
        NivexError(izhod, " **** Ni pravi podatek:    Geodetski datum (*D)       *** ");
}

void CGDatum::SetGData()
{
    // Only the chosen kind keeps its counts: the model reads a count as the
    // number of rows of its list.
    for (const DatumskaVrsta& v : kVrste) {
        unsigned short& n = this->*(v.stevec);
        matrika<std::string>& seznam = this->*(v.seznam);
        if (v.vrsta != Datum) n = 0;
        if (n != 0) seznam.resize(n, v.imen);
        else seznam = matrika<std::string>();
    }
    nD = 0;
    if (Datum == 'D') {
        const unsigned long vsota = static_cast<unsigned long>(nDX) + nDY + nDZ + nDDir + nDDist + nDZen + nDdX +
                                    nDdY + nDdZ + nDH;
        if (vsota > USHRT_MAX) NivexError(Okvir("Prevec datumskih parametrov (najvec 65535)"));
        nD = static_cast<unsigned short>(vsota);
    }
}

void CGDatum::ReadGDatumRead(const std::string& dataFile, std::ostream& izhod)
{
    Vrstice f(dataFile, izhod);
    std::string w;
    unsigned short indeks[std::size(kVrste)] = {};
    while (f.Prva(w)) {
        if (w == "*K") break;
        const DatumskaVrsta* v = NajdiVrsto(w);
        if (v == nullptr) continue;
        if (v->vrsta != Datum) {
            NivexWarning(" #### Datumska vrstica " + w + f.ostanek.substr(0, f.ostanek.find_last_not_of(" \t\r") + 1) +
                         " (vrstica " + std::to_string(f.vrstica) + ") ne sodi k datumu vrste " +
                         std::string(1, Datum) + " - prezrta      #### ");
            continue;
        }
        const std::vector<std::string> imena = f.Besede();
        if (imena.size() < v->imen)
            NivexError(izhod, Okvir(std::string("Datumska vrstica ") + v->beseda + " (vrstica " +
                                    std::to_string(f.vrstica) + ") mora imeti " + std::to_string(v->imen) +
                                    (v->imen == 1 ? " ime tocke" : " imeni tock")));
        matrika<std::string>& seznam = this->*(v->seznam);
        unsigned short& i = indeks[static_cast<std::size_t>(v - kVrste)];
        // The scan counted the same lines; a file changed in between must
        // not write past the list.
        if (i >= seznam.nrow())
            NivexError(izhod, Okvir("Datoteka s podatki se je med branjem datuma spremenila"));
        for (unsigned j = 0; j < v->imen; ++j) seznam(i, j) = imena[j];
        ++i;
    }
}

void CGDatum::PrintGDatum(std::ostream& izhod, unsigned short ContPrint)
{
    if (ContPrint != 0) std::cout << " F: PrintGDatum(ofstream & izhod" << ContPrint << ")" << "\n";

    izhod << "Geodetski datum zagotovljen kot: " << Oznaka(Datum) << "\n";

    const auto tocke = [&izhod](const matrika<std::string>& seznam) {
        for (unsigned long i = 0; i < seznam.nrow(); ++i) {
            izhod << std::setw(3) << i + 1;
            Ime(izhod, seznam(i, 0), 9);
            izhod << "\n";
        }
    };

    if (Datum == 'D') {
        izhod << "Dane koli\xE8ine:" << "\n";
        const struct {
            const char* oznaka;
            const matrika<std::string>* seznam;
        } seznami[] = {{"KOORDINATA X: ", &PTX},  {"KOORDINATA Y: ", &PTY}, {"KOORDINATA Z: ", &PTZ},
                       {"VEKTOR PO X : ", &PTdX}, {"VEKTOR PO Y : ", &PTdY}, {"VEKTOR PO Z : ", &PTdZ},
                       {"DOLZINA     : ", &PTDist}, {"SMER        : ", &PTDir}, {"ZEN.RAZDALJA: ", &PTZen},
                       {"VISINA      : ", &PTH}};
        for (const auto& s : seznami) {
            const matrika<std::string>& m = *s.seznam;
            for (unsigned long i = 0; i < m.nrow(); ++i) {
                if (i == 0) izhod << s.oznaka << std::setw(6) << m(i, 0);
                else izhod << std::setw(20) << m(i, 0);
                if (m.ncol() > 1) Ime(izhod, m(i, 1), 6);
                izhod << "\n";
            }
        }
        izhod << "\n" << "# vseh datumskih parametrov: " << std::setw(5) << nD;
    } else if (Datum == 'V') {
        tocke(PTDV);
        if (nVXY != 0) {
            izhod << "Tocke, drzane samo v ravninskih koordinatah (**VXY):" << "\n";
            tocke(PTVXY);
        }
        if (nVZ != 0) {
            izhod << "Tocke, drzane samo po visini (**VZ):" << "\n";
            tocke(PTVZ);
        }
    } else if (Datum == 'H' && nH != 0) {
        izhod << "To\xE8ke izvzete iz matrike H:" << "\n";
        tocke(PTDH);
    }
    izhod << "\n\n";
}
