#include "src/TerObsVrste.h"

#include <algorithm>
#include <cstring>

#include "src/TerObsGradniki.h"


namespace {
constexpr unsigned D1 = 1u << 1, D23 = (1u << 2) | (1u << 3), D123 = D1 | D23;
using V = TerObsVrednosti;
constexpr unsigned kVrtenja = kDefWx | kDefWy | kDefWz, kMerila = kDefM2 | kDefM3;

}  // namespace

// One row per record set, every column named.  The point lists and the
// directions leave the columns of the model empty.
const TerObsVrsta kTerObsVrste[kTOSetov] = {
    {.crka = 'X', .opis = "X (priblizna visina tocke)", .naslov = "A-PRIORI VISINE TOCK:", .dimenzije = D1,
     .imen = 1, .vrednosti = V::Tocka, .poDim = false, .beri = true, .sdOznaka = nullptr, .sdMeja = 0,
     .sirina = 14, .decimalke = 5,
     .gradnik = nullptr, .povzetek = nullptr, .vStetju = false, .zanesljivost = {}, .ime = nullptr,
     .povezuje = false, .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostHA},
    {.crka = 'X', .opis = "X (priblizne koordinate tocke)", .naslov = "A-PRIORI KOORDINATE TOCK:", .dimenzije = D23,
     .imen = 1, .vrednosti = V::Tocka, .poDim = true, .beri = true, .sdOznaka = nullptr, .sdMeja = 0,
     .sirina = 12, .decimalke = 4,
     .gradnik = nullptr, .povzetek = nullptr, .vStetju = false, .zanesljivost = {}, .ime = nullptr,
     .povezuje = false, .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostCrdA},
    {.crka = 'C', .opis = "C (merjene koordinate)", .naslov = "KOORDINATE TOCK:", .dimenzije = D23,
     .imen = 1, .vrednosti = V::Dolzinska, .poDim = true, .beri = true, .sdOznaka = "KOORDINATE", .sdMeja = 1e-4,
     .sirina = 12, .decimalke = 4,
     .gradnik = GradiCrd, .povzetek = "opazovanih koordinat", .vStetju = true,
     .zanesljivost = {"IZRAVNANE KOORDINATE TOCK:",
                      "      TC           CRD0       VCRD   SVCRD       CRD        SCRD   Rii      W     NAB     LAM  ",
                      "CRD"},
     .ime = "koordinate", .povezuje = false,
     .vezi = {{1, kDefTx | kDefTy | kDefTz}, {2, kVrtenja | kMerila}},
     .stojisce = false, .visini = false,
     .velikost = VelikostCrd},
    {.crka = 'V', .opis = "V (vektor)", .naslov = nullptr, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = true, .beri = true, .sdOznaka = "VEKTOR", .sdMeja = 1e-5,
     .sirina = 12, .decimalke = 4,
     .gradnik = GradiVec, .povzetek = "opazovanih komp. vektorjev", .vStetju = true,
     .zanesljivost = {"IZRAVNANI VEKTORJI:",
                      "       S     Z           VEC0      VVEC    SVVEC       VEC        SVEC   Rii      W     NAB     LAM  ",
                      "VEC"},
     .ime = "vektorji", .povezuje = true,
     .vezi = {{1, kVrtenja | kMerila}},
     .stojisce = false, .visini = false,
     .velikost = VelikostVec},
    {.crka = 'S', .opis = "S (horizontalna smer)", .naslov = "OPAZOVANE SMERI:", .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = "HZ SMER", .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = nullptr, .povzetek = nullptr, .vStetju = false, .zanesljivost = {}, .ime = nullptr,
     .povezuje = true, .vezi = {},
     .stojisce = true, .visini = false,
     .velikost = VelikostDir},
    {.crka = 'S', .opis = "S (sestavljeni kot)", .naslov = "SESTAVLJENI KOTI:", .dimenzije = D23,
     .imen = 3, .vrednosti = V::Kotna, .poDim = false, .beri = false, .sdOznaka = nullptr, .sdMeja = 0,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiAngl, .povzetek = "sestavljenih kotov", .vStetju = true,
     .zanesljivost = {"IZRAVNANI KOTI:",
                      "       S    Z1    Z2         K0          VK      SVK        K           SK    Rii      W     NAB     LAM  ",
                      "KOT"},
     .ime = "koti iz smeri", .povezuje = false,
     .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = nullptr},
    {.crka = 'Z', .opis = "Z (zenitna razdalja)", .naslov = "OPAZOVANE ZENITNE RAZDALJE:", .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = "ZENITNA RAZDALJA", .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiZen, .povzetek = "zenitnih razdalj", .vStetju = true,
     .zanesljivost = {"IZRAVNANE ZENITNE RAZDALJE:",
                      "       S     Z         Z0          VZ      SVZ        Z           SZ    Rii      W     NAB     LAM  ",
                      "ZEN"},
     .ime = "zenitne razdalje", .povezuje = true,
     .vezi = {{2, kDefWx | kDefWy}},
     .stojisce = true, .visini = true,
     .velikost = VelikostZen},
    {.crka = 'A', .opis = "A (azimut/smerni kot)", .naslov = "OPAZOVANI AZIMUTI/SMERNI KOTI:", .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = "AZIMUT", .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiAzi, .povzetek = "azimutov / smernih kotov", .vStetju = true,
     .zanesljivost = {"IZRAVNANI AZIMUTI:",
                      "       S     Z         A0          VA      SVA        A           SA    Rii      W     NAB     LAM  ",
                      "AZIM"},
     .ime = "azimuti", .povezuje = true,
     .vezi = {{1, kDefWz}},
     .stojisce = false, .visini = false,
     .velikost = VelikostAzi},
    {.crka = 'P', .opis = "P (kot med smermi)", .naslov = "OPAZOVANI KOTI MED SMERMI:", .dimenzije = D23,
     .imen = 4, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = "KOT MED SMERMI", .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiPara, .povzetek = "kotov med smermi", .vStetju = false,
     .zanesljivost = {"IZRAVNANI KOTI MED SMERMI:",
                      "       S1    Z1    S2     Z2       P0          VP      SVP        P           SP    Rii      W     NAB     LAM  ",
                      "PARA"},
     .ime = "koti med smermi", .povezuje = false,
     .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostPara},
    {.crka = 'D', .opis = "D (horizontalna dolzina)", .naslov = "OPAZOVANE HORIZONTALNE DOLZINE:", .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = "DOLZINA", .sdMeja = 1e-5,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiDist2, .povzetek = "opazovanih 2R dolzin", .vStetju = true,
     .zanesljivost = {"IZRAVNANE HZ DOLZINE:",
                      "       S     Z        D0          VD      SVD        D          SD    Rii      W     NAB     LAM  ",
                      "DOL2"},
     .ime = "horizontalne dolzine", .povezuje = true,
     .vezi = {{1, kMerila}},
     .stojisce = true, .visini = false,
     .velikost = VelikostDist2},
    {.crka = 'L', .opis = "L (prostorska dolzina)", .naslov = "OPAZOVANE PROSTORSKE DOLZINE:", .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = "DOLZINA", .sdMeja = 1e-5,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiDist3, .povzetek = "opazovanih 3R dolzin", .vStetju = true,
     .zanesljivost = {"IZRAVNANE PROSTORSKE DOLZINE:",
                      "       S     Z        L0          VL      SVL        L          SL    Rii      W     NAB     LAM  ",
                      "DOL3"},
     .ime = "prostorske dolzine", .povezuje = true,
     .vezi = {{1, kMerila}},
     .stojisce = true, .visini = true,
     .velikost = VelikostDist3},
    {.crka = 'H', .opis = "H (merjena visina)", .naslov = "VISINE TOCK:", .dimenzije = D123,
     .imen = 1, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = "MERJEN H", .sdMeja = 1e-6,
     .sirina = 14, .decimalke = 5,
     .gradnik = GradiH, .povzetek = "opazovanih visin", .vStetju = true,
     .zanesljivost = {"IZRAVNANE VISINE TOCK:",
                      "      TC       H0           VH     SVH       H            SH    Rii      W     NAB     LAM  ",
                      "H"},
     .ime = "visine", .povezuje = false,
     .vezi = {{1, kDefTz}, {2, kDefM3}, {3, kDefWx | kDefWy}},
     .stojisce = false, .visini = false,
     .velikost = VelikostH},
    {.crka = 'h', .opis = "h (visinska razlika)", .naslov = "OPAZOVANE VISINSKE RAZLIKE:", .dimenzije = D123,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = "DELTA H", .sdMeja = 1e-6,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiHdif, .povzetek = "opazovanih visinskih razlik", .vStetju = true,
     .zanesljivost = {"IZRAVNANE VISINSKE RAZLIKE:",
                      "       S     Z       DH0         VDH     SVDH       DH         SDH    Rii      W     NAB     LAM  ",
                      "dh"},
     .ime = "visinske razlike", .povezuje = true,
     .vezi = {{1, kDefM3}, {2, kDefWx | kDefWy}},
     .stojisce = false, .visini = false,
     .velikost = VelikostHdif},
};

const TerObsVrsta* TerObsVrstaModela(char crka)
{
    for (const TerObsVrsta& v : kTerObsVrste)
        if (v.gradnik != nullptr && v.crka == crka) return &v;
    return nullptr;
}

std::vector<TerObsSet> TerObsSetiModela()
{
    std::vector<TerObsSet> seti;
    for (const char* c = kVrstniRedVrstic; *c != '\0'; ++c)
        if (const TerObsVrsta* v = TerObsVrstaModela(*c)) seti.push_back(static_cast<TerObsSet>(TerObsIndeks(*v)));
    return seti;
}

bool TerObsKotna(char crka)
{
    const TerObsVrsta* v = TerObsVrstaModela(crka);
    return v != nullptr && TerObsKotna(*v);
}

bool TerObsKomponente(char crka)
{
    const TerObsVrsta* v = TerObsVrstaModela(crka);
    return v != nullptr && v->poDim;
}

unsigned TerObsDatumskiDefekti(unsigned defekti, const unsigned long (&zapisov)[kTOSetov])
{
    for (unsigned s = 0; s < kTOSetov; ++s)
        for (const DatumskaVez& vez : kTerObsVrste[s].vezi)
            if (vez.najmanj != 0 && zapisov[s] >= vez.najmanj) defekti &= ~vez.odstrani;
    return defekti;
}

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
