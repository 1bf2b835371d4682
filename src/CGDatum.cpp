#include "src/CGDatum.h"

#include <climits>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

#include "funkcije/Besedila.h"
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
        if (!BeriPodatke(dataFile, in))
            NivexError(izhod, BesediloF(Besedilo::NapakaOdpiranjePodatkov, dataFile.c_str()));
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
    case 'D': return B(Besedilo::DatumMinimalneVezi);
    case 'V': return B(Besedilo::DatumVklop);
    case 'H': return B(Besedilo::DatumProstaMreza);
    case 'P': return B(Besedilo::DatumPsevdoopazovanja);
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
            const std::vector<std::string> b = f.Besede();
            vrednostD = b.empty() ? std::string() : b[0];
            vrsticaD = f.vrstica;
            continue;
        }
        if (const DatumskaVrsta* v = NajdiVrsto(w)) {
            unsigned short& n = this->*(v->stevec);
            if (n == USHRT_MAX)
                NivexError(izhod, BesediloF(Besedilo::NapakaPrevecDatumskihVrstic, v->beseda));
            ++n;
        }
    }
    if (Datum != 'D' && Datum != 'V' && Datum != 'P' && Datum != 'H') {
        // The message as it stands, then the line, the value and the kinds.
        const char* const vrste = "V, P, D, H";
        const std::string kje =
            vrsticaD == 0 ? BesediloF(Besedilo::NapakaKljucManjka, "*D", vrste)
                          : BesediloF(Besedilo::NapakaVrednostKljuca, "*D",
                                      vrednostD.empty() ? B(Besedilo::VrednostBrez) : vrednostD.c_str(), vrsticaD, vrste);
        NivexError(izhod, std::string(B(Besedilo::NapakaGeodetskiDatum)) + "\n" + kje);
    }
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
        if (vsota > USHRT_MAX) NivexError(B(Besedilo::NapakaPrevecDatumskihParametrov));
        nD = static_cast<unsigned short>(vsota);
    }
}

void CGDatum::ReadGDatumRead(const std::string& dataFile, std::ostream& izhod)
{
    Vrstice f(dataFile, izhod);
    std::string w;
    unsigned short indeks[std::size(kVrste)] = {};
    imenaVrstic.clear();
    while (f.Prva(w)) {
        if (w == "*K") break;
        const DatumskaVrsta* v = NajdiVrsto(w);
        if (v == nullptr) continue;
        if (v->vrsta != Datum) {
            const std::string ostanek = f.ostanek.substr(0, f.ostanek.find_last_not_of(" \t\r") + 1);
            NivexWarning(BesediloF(Besedilo::OpozoriloDatumskaVrsticaPrezrta, w.c_str(), ostanek.c_str(), f.vrstica,
                                   Datum),
                         f.vrstica);
            continue;
        }
        const std::vector<std::string> imena = f.Besede();
        if (imena.size() < v->imen)
            NivexError(izhod, BesediloF(v->imen == 1 ? Besedilo::NapakaDatumskaVrsticaIme
                                                     : Besedilo::NapakaDatumskaVrsticaImeni,
                                        v->beseda, f.vrstica, v->imen));
        matrika<std::string>& seznam = this->*(v->seznam);
        unsigned short& i = indeks[static_cast<std::size_t>(v - kVrste)];
        // The scan counted the same lines; a file changed in between must
        // not write past the list.
        if (i >= seznam.nrow())
            NivexError(izhod, B(Besedilo::NapakaDatumSpremenjen));
        for (unsigned j = 0; j < v->imen; ++j) {
            seznam(i, j) = imena[j];
            imenaVrstic.push_back({v->beseda, imena[j], f.vrstica});
        }
        ++i;
    }
}

void CGDatum::PrintGDatum(std::ostream& izhod, unsigned short ContPrint)
{
    if (ContPrint != 0) std::cout << " F: PrintGDatum(ofstream & izhod" << ContPrint << ")" << "\n";

    izhod << B(Besedilo::OznakaDatum) << Oznaka(Datum) << "\n";

    const auto tocke = [&izhod](const matrika<std::string>& seznam) {
        for (unsigned long i = 0; i < seznam.nrow(); ++i) {
            izhod << std::setw(3) << i + 1;
            Ime(izhod, seznam(i, 0), 9);
            izhod << "\n";
        }
    };

    if (Datum == 'D') {
        izhod << B(Besedilo::DaneKolicine) << "\n";
        const struct {
            Besedilo oznaka;
            const matrika<std::string>* seznam;
        } seznami[] = {{Besedilo::OznakaDanaX, &PTX},          {Besedilo::OznakaDanaY, &PTY},
                       {Besedilo::OznakaDanaZ, &PTZ},          {Besedilo::OznakaDanVektorX, &PTdX},
                       {Besedilo::OznakaDanVektorY, &PTdY},    {Besedilo::OznakaDanVektorZ, &PTdZ},
                       {Besedilo::OznakaDanaDolzina, &PTDist}, {Besedilo::OznakaDanaSmer, &PTDir},
                       {Besedilo::OznakaDanaZenitna, &PTZen},  {Besedilo::OznakaDanaVisina, &PTH}};
        for (const auto& s : seznami) {
            const matrika<std::string>& m = *s.seznam;
            for (unsigned long i = 0; i < m.nrow(); ++i) {
                if (i == 0) izhod << B(s.oznaka) << std::setw(6) << m(i, 0);
                else izhod << std::setw(20) << m(i, 0);
                if (m.ncol() > 1) Ime(izhod, m(i, 1), 6);
                izhod << "\n";
            }
        }
        izhod << "\n" << B(Besedilo::OznakaVsehDatumskih) << std::setw(5) << nD;
    } else if (Datum == 'V') {
        tocke(PTDV);
        if (nVXY != 0) {
            izhod << B(Besedilo::TockeDrzaneRavninsko) << "\n";
            tocke(PTVXY);
        }
        if (nVZ != 0) {
            izhod << B(Besedilo::TockeDrzanePoVisini) << "\n";
            tocke(PTVZ);
        }
    } else if (Datum == 'H' && nH != 0) {
        izhod << B(Besedilo::TockeIzvzeteH) << "\n";
        tocke(PTDH);
    }
    izhod << "\n\n";
}
