#include "src/TerObsVrste.h"

#include <algorithm>
#include <cstring>

#include "src/TerObsGradniki.h"


namespace {
constexpr unsigned D1 = 1u << 1, D23 = (1u << 2) | (1u << 3), D123 = D1 | D23;
using V = TerObsVrednosti;
constexpr unsigned kVrtenja = kDefWx | kDefWy | kDefWz, kMerila = kDefM2 | kDefM3;

}  // namespace

constexpr TerObsZanesljivost kBrezZanesljivosti = {Besedilo::VrstaBrez, Besedilo::VrstaBrez, Besedilo::VrstaBrez};

// One row per record set, every column named.  The point lists and the
// directions leave the columns of the model empty.
const TerObsVrsta kTerObsVrste[kTOSetov] = {
    {.crka = 'X', .opis = Besedilo::VrstaOpisPriblizneVisine, .naslov = Besedilo::VrstaNaslovPriblizneVisine, .dimenzije = D1,
     .imen = 1, .vrednosti = V::Tocka, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaBrez, .sdMeja = 0,
     .sirina = 14, .decimalke = 5,
     .gradnik = nullptr, .povzetek = Besedilo::VrstaBrez, .vStetju = false, .zanesljivost = kBrezZanesljivosti, .ime = Besedilo::VrstaBrez,
     .povezuje = false, .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostHA},
    {.crka = 'X', .opis = Besedilo::VrstaOpisPriblizneKoordinate, .naslov = Besedilo::VrstaNaslovPriblizneKoordinate, .dimenzije = D23,
     .imen = 1, .vrednosti = V::Tocka, .poDim = true, .beri = true, .sdOznaka = Besedilo::VrstaBrez, .sdMeja = 0,
     .sirina = 12, .decimalke = 4,
     .gradnik = nullptr, .povzetek = Besedilo::VrstaBrez, .vStetju = false, .zanesljivost = kBrezZanesljivosti, .ime = Besedilo::VrstaBrez,
     .povezuje = false, .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostCrdA},
    {.crka = 'C', .opis = Besedilo::VrstaOpisKoordinate, .naslov = Besedilo::VrstaNaslovKoordinate, .dimenzije = D23,
     .imen = 1, .vrednosti = V::Dolzinska, .poDim = true, .beri = true, .sdOznaka = Besedilo::VrstaOdklonKoordinate, .sdMeja = 1e-4,
     .sirina = 12, .decimalke = 4,
     .gradnik = GradiCrd, .povzetek = Besedilo::VrstaPovzetekKoordinate, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovKoordinate, Besedilo::ZanesljivostGlavaKoordinate,
                      Besedilo::ZanesljivostOznakaKoordinate},
     .ime = Besedilo::StranVrstaKoordinate, .povezuje = false,
     .vezi = {{1, kDefTx | kDefTy | kDefTz}, {2, kVrtenja | kMerila}},
     .stojisce = false, .visini = false,
     .velikost = VelikostCrd},
    {.crka = 'V', .opis = Besedilo::VrstaOpisVektorji, .naslov = Besedilo::VrstaBrez, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = true, .beri = true, .sdOznaka = Besedilo::VrstaOdklonVektorji, .sdMeja = 1e-5,
     .sirina = 12, .decimalke = 4,
     .gradnik = GradiVec, .povzetek = Besedilo::VrstaPovzetekVektorji, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovVektorji, Besedilo::ZanesljivostGlavaVektorji,
                      Besedilo::ZanesljivostOznakaVektorji},
     .ime = Besedilo::StranVrstaVektorji, .povezuje = true,
     .vezi = {{1, kVrtenja | kMerila}},
     .stojisce = false, .visini = false,
     .velikost = VelikostVec},
    {.crka = 'S', .opis = Besedilo::VrstaOpisSmeri, .naslov = Besedilo::VrstaNaslovSmeri, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonSmeri, .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = nullptr, .povzetek = Besedilo::VrstaBrez, .vStetju = false, .zanesljivost = kBrezZanesljivosti, .ime = Besedilo::VrstaBrez,
     .povezuje = true, .vezi = {},
     .stojisce = true, .visini = false,
     .velikost = VelikostDir},
    {.crka = 'S', .opis = Besedilo::VrstaOpisKoti, .naslov = Besedilo::VrstaNaslovKoti, .dimenzije = D23,
     .imen = 3, .vrednosti = V::Kotna, .poDim = false, .beri = false, .sdOznaka = Besedilo::VrstaBrez, .sdMeja = 0,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiAngl, .povzetek = Besedilo::VrstaPovzetekKoti, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovKoti, Besedilo::ZanesljivostGlavaKoti,
                      Besedilo::ZanesljivostOznakaKoti},
     .ime = Besedilo::StranVrstaKotiIzSmeri, .povezuje = false,
     .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = nullptr},
    {.crka = 'Z', .opis = Besedilo::VrstaOpisZenitne, .naslov = Besedilo::VrstaNaslovZenitne, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonZenitne, .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiZen, .povzetek = Besedilo::VrstaPovzetekZenitne, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovZenitne, Besedilo::ZanesljivostGlavaZenitne,
                      Besedilo::ZanesljivostOznakaZenitne},
     .ime = Besedilo::StranVrstaZenitne, .povezuje = true,
     .vezi = {{2, kDefWx | kDefWy}},
     .stojisce = true, .visini = true,
     .velikost = VelikostZen},
    {.crka = 'A', .opis = Besedilo::VrstaOpisAzimuti, .naslov = Besedilo::VrstaNaslovAzimuti, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonAzimuti, .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiAzi, .povzetek = Besedilo::VrstaPovzetekAzimuti, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovAzimuti, Besedilo::ZanesljivostGlavaAzimuti,
                      Besedilo::ZanesljivostOznakaAzimuti},
     .ime = Besedilo::StranVrstaAzimuti, .povezuje = true,
     .vezi = {{1, kDefWz}},
     .stojisce = false, .visini = false,
     .velikost = VelikostAzi},
    {.crka = 'P', .opis = Besedilo::VrstaOpisKotiMedSmermi, .naslov = Besedilo::VrstaNaslovKotiMedSmermi, .dimenzije = D23,
     .imen = 4, .vrednosti = V::Kotna, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonKotiMedSmermi, .sdMeja = 1e-4,
     .sirina = 0, .decimalke = 0,
     .gradnik = GradiPara, .povzetek = Besedilo::VrstaPovzetekKotiMedSmermi, .vStetju = false,
     .zanesljivost = {Besedilo::ZanesljivostNaslovKotiMedSmermi, Besedilo::ZanesljivostGlavaKotiMedSmermi,
                      Besedilo::ZanesljivostOznakaKotiMedSmermi},
     .ime = Besedilo::StranVrstaKotiMedSmermi, .povezuje = false,
     .vezi = {},
     .stojisce = false, .visini = false,
     .velikost = VelikostPara},
    {.crka = 'D', .opis = Besedilo::VrstaOpisDolzine2R, .naslov = Besedilo::VrstaNaslovDolzine2R, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonDolzine2R, .sdMeja = 1e-5,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiDist2, .povzetek = Besedilo::VrstaPovzetekDolzine2R, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovDolzine2R, Besedilo::ZanesljivostGlavaDolzine2R,
                      Besedilo::ZanesljivostOznakaDolzine2R},
     .ime = Besedilo::StranVrstaHorizontalne, .povezuje = true,
     .vezi = {{1, kMerila}},
     .stojisce = true, .visini = false,
     .velikost = VelikostDist2},
    {.crka = 'L', .opis = Besedilo::VrstaOpisDolzine3R, .naslov = Besedilo::VrstaNaslovDolzine3R, .dimenzije = D23,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonDolzine3R, .sdMeja = 1e-5,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiDist3, .povzetek = Besedilo::VrstaPovzetekDolzine3R, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovDolzine3R, Besedilo::ZanesljivostGlavaDolzine3R,
                      Besedilo::ZanesljivostOznakaDolzine3R},
     .ime = Besedilo::StranVrstaProstorske, .povezuje = true,
     .vezi = {{1, kMerila}},
     .stojisce = true, .visini = true,
     .velikost = VelikostDist3},
    {.crka = 'H', .opis = Besedilo::VrstaOpisVisine, .naslov = Besedilo::VrstaNaslovVisine, .dimenzije = D123,
     .imen = 1, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonVisine, .sdMeja = 1e-6,
     .sirina = 14, .decimalke = 5,
     .gradnik = GradiH, .povzetek = Besedilo::VrstaPovzetekVisine, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovVisine, Besedilo::ZanesljivostGlavaVisine,
                      Besedilo::ZanesljivostOznakaVisine},
     .ime = Besedilo::StranVrstaVisine, .povezuje = false,
     .vezi = {{1, kDefTz}, {2, kDefM3}, {3, kDefWx | kDefWy}},
     .stojisce = false, .visini = false,
     .velikost = VelikostH},
    {.crka = 'h', .opis = Besedilo::VrstaOpisVisinskeRazlike, .naslov = Besedilo::VrstaNaslovVisinskeRazlike, .dimenzije = D123,
     .imen = 2, .vrednosti = V::Dolzinska, .poDim = false, .beri = true, .sdOznaka = Besedilo::VrstaOdklonVisinskeRazlike, .sdMeja = 1e-6,
     .sirina = 15, .decimalke = 4,
     .gradnik = GradiHdif, .povzetek = Besedilo::VrstaPovzetekVisinskeRazlike, .vStetju = true,
     .zanesljivost = {Besedilo::ZanesljivostNaslovVisinskeRazlike, Besedilo::ZanesljivostGlavaVisinskeRazlike,
                      Besedilo::ZanesljivostOznakaVisinskeRazlike},
     .ime = Besedilo::StranVrstaVisinskeRazlike, .povezuje = true,
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
