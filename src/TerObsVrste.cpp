#include "src/TerObsVrste.h"

namespace {
constexpr unsigned D1 = 1u << 1, D23 = (1u << 2) | (1u << 3), D123 = D1 | D23;
using V = TerObsVrednosti;
}  // namespace

// Letter, description, title of its table, dimensions that take the kind,
// names per record, values, Dim values, read from the file; on the second
// line the zero-deviation label and threshold and the column of a value.
const TerObsVrsta kTerObsVrste[kTOSetov] = {
    {'X', "X (priblizna visina tocke)",     "A-PRIORI VISINE TOCK:",           D1, 1, V::Tocka, false, true,
     nullptr, 0, 14, 5},
    {'X', "X (priblizne koordinate tocke)", "A-PRIORI KOORDINATE TOCK:",       D23, 1, V::Tocka, true, true,
     nullptr, 0, 12, 4},
    {'C', "C (merjene koordinate)",         "KOORDINATE TOCK:",                D23, 1, V::Dolzinska, true, true,
     "KOORDINATE", 1e-4, 12, 4},
    {'V', "V (vektor)",                     nullptr,                           D23, 2, V::Dolzinska, true, true,
     "VEKTOR", 1e-5, 12, 4},
    {'S', "S (horizontalna smer)",          "OPAZOVANE SMERI:",                D23, 2, V::Kotna, false, true,
     "HZ SMER", 1e-4, 0, 0},
    {'S', "S (sestavljeni kot)",            "SESTAVLJENI KOTI:",               D23, 3, V::Kotna, false, false,
     nullptr, 0, 0, 0},
    {'Z', "Z (zenitna razdalja)",           "OPAZOVANE ZENITNE RAZDALJE:",     D23, 2, V::Kotna, false, true,
     "ZENITNA RAZDALJA", 1e-4, 0, 0},
    {'A', "A (azimut/smerni kot)",          "OPAZOVANI AZIMUTI/SMERNI KOTI:",  D23, 2, V::Kotna, false, true,
     "AZIMUT", 1e-4, 0, 0},
    {'P', "P (kot med smermi)",             "OPAZOVANI KOTI MED SMERMI:",      D23, 4, V::Kotna, false, true,
     "KOT MED SMERMI", 1e-4, 0, 0},
    {'D', "D (horizontalna dolzina)",       "OPAZOVANE HORIZONTALNE DOLZINE:", D23, 2, V::Dolzinska, false, true,
     "DOLZINA", 1e-5, 15, 4},
    {'L', "L (prostorska dolzina)",         "OPAZOVANE PROSTORSKE DOLZINE:",   D23, 2, V::Dolzinska, false, true,
     "DOLZINA", 1e-5, 15, 4},
    {'H', "H (merjena visina)",             "VISINE TOCK:",                    D123, 1, V::Dolzinska, false, true,
     "MERJEN H", 1e-6, 14, 5},
    {'h', "h (visinska razlika)",           "OPAZOVANE VISINSKE RAZLIKE:",     D123, 2, V::Dolzinska, false, true,
     "DELTA H", 1e-6, 15, 4},
};

bool TerObsSprejme(const TerObsVrsta& v, unsigned short dim) { return dim < 32 && (v.dimenzije >> dim & 1u) != 0; }

const TerObsVrsta* TerObsVrstaZapisa(char crka, unsigned short dim)
{
    if (crka == 'X') return &kTerObsVrste[dim == 1 ? kTOHA : kTOCrdA];
    for (const TerObsVrsta& v : kTerObsVrste)
        if (v.beri && v.crka == crka) return &v;
    return nullptr;
}

std::vector<TerObsPolje> TerObsPolja(const TerObsVrsta& v, unsigned short dim, const std::string& angUnit,
                                     bool xvel, bool ifva)
{
    using P = TerObsPolje;
    std::vector<P> polja(v.imen, P::Ime);
    const unsigned n = v.poDim ? dim : 1u;
    switch (v.vrednosti) {
    case V::Tocka:
        polja.insert(polja.end(), ifva ? 2u * n : n, P::Stevilo);
        if (xvel) polja.push_back(P::Zastavica);
        return polja;
    case V::Dolzinska:
        polja.insert(polja.end(), 2u * n, P::Stevilo);
        break;
    case V::Kotna:
        if (angUnit == "DMS") polja.insert(polja.end(), 2, P::CeloKot);
        polja.insert(polja.end(), 2, P::Stevilo);
        break;
    }
    if (xvel) polja.push_back(P::Stevilo);
    return polja;
}
