#include "src/CProcSet.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

#include "funkcije/Besedila.h"
#include "src/FBranje.h"
#include "src/FKovBloki.h"
#include "src/MetodaResitve.h"
#include "src/NivexAux.h"

namespace {

// Line-aware word reading: every message about the data file names the line,
// so the passes count the line ends they step over.
struct Citalec {
    std::istream& in;
    long vrstica = 1;

    // Next word (any length); false at the end of the input.
    bool Beseda(std::string& w)
    {
        for (;;) {
            const int c = in.peek();
            if (c == std::char_traits<char>::eof()) break;
            if (!std::isspace(static_cast<unsigned char>(c))) break;
            if (c == '\n') ++vrstica;
            in.get();
        }
        return BeriBesedo(in, w);
    }
    // Rest of the current line (any length) is passed over.
    void Preskoci()
    {
        if (!in.good()) return;
        PreskociVrstico(in);
        ++vrstica;
    }
    // Words of the rest of the current line; the line is consumed.
    std::vector<std::string> Ostanek()
    {
        std::string vrsta;
        std::getline(in, vrsta);
        ++vrstica;
        std::istringstream s(vrsta);
        std::vector<std::string> besede;
        std::string w;
        while (BeriBesedo(s, w)) besede.push_back(w);
        return besede;
    }
};

bool JeEnaOd(const std::string& w, std::initializer_list<const char*> mozne)
{
    for (const char* m : mozne)
        if (w == m) return true;
    return false;
}

[[noreturn]] void NepravaDimenzija(std::ostream& izhod, long vrstica)
{
    NivexError(izhod, BesediloF(Besedilo::NapakaZapisXPredDim, vrstica));
}

void OdpriDatoteko(std::istringstream& in, const std::string& dataFile, std::ostream& izhod)
{
    if (!BeriPodatke(dataFile, in))
        NivexError(izhod, BesediloF(Besedilo::NapakaOdpiranjePodatkov, dataFile.c_str()));
}

// A word a setting accepts and its line in the settings report.
struct BesedaInOpis {
    const char* kljuc;
    Besedilo opis;
};

// Estimation of the refraction coefficient: the word of "*KTYP" and its line.
const BesedaInOpis kRefrakcija[] = {
    {"SINGLE", Besedilo::OpisRefrakcijeEna},
    {"STAT", Besedilo::OpisRefrakcijeStojisca},
    {"NONE", Besedilo::OpisRefrakcijeBrez},
};

template <class T>
const char* Opis(const T& tabela, const std::string& kljuc)
{
    for (const auto& v : tabela)
        if (kljuc == v.kljuc) return B(v.opis);
    return nullptr;
}

// The fields of one record, checked as the reading pass will take them;
// `zapis` names the record in the messages.
// The hint after a refused angle record: how the unit of *AU writes an angle.
std::string NamigEnote(const std::string& enota)
{
    const Besedilo kot = enota == "DMS"   ? Besedilo::NamigKotDMS
                         : enota == "GON" ? Besedilo::NamigKotGON
                                          : Besedilo::NamigKotDEG;
    return BesediloF(Besedilo::NamigEnoteKotov, enota.c_str(), B(kot));
}

// The values of a record may be written "?" (one word, also for an angle
// in degrees, minutes and seconds) in a design only; `nacrt` counts the
// values and the "?" among them.
struct StetjeVrednosti {
    bool nacrt = false;
    unsigned long vrednosti = 0, vprasajev = 0;
};

void PreveriZapis(Citalec& in, const std::string& zapis, const std::vector<TerObsPolje>& polja, std::ostream& izhod,
                  const std::string& namig, unsigned vrednosti, StetjeVrednosti& stetje, bool jeTocka)
{
    unsigned j = 0;   // 1-based position among the numbers
    std::string polje;
    for (std::size_t f = 0; f < polja.size(); ++f) {
        const TerObsPolje p = polja[f];
        // A point declared by its name alone (its coordinates are computed).
        if (jeTocka && j == 0 && p != TerObsPolje::Ime && XSamoIme(in.in)) return;
        if (!in.Beseda(polje))
            NivexError(izhod, BesediloF(Besedilo::NapakaZapisKonecDatoteke, zapis.c_str()));
        if (polje == "*K" || polje == "*D" || polje.compare(0, 2, "**") == 0 || CProcSet::JeKljucnaBeseda(polje))
            NivexError(izhod, BesediloF(Besedilo::NapakaZapisNamestoPolja, zapis.c_str(), polje.c_str(), in.vrstica));
        if (p == TerObsPolje::Ime) continue;
        ++j;
        if (j <= vrednosti) ++stetje.vrednosti;
        if (j <= vrednosti && polje == "?") {
            if (!stetje.nacrt)
                NivexError(izhod, BesediloF(Besedilo::NapakaVprasajBrezNacrta, zapis.c_str(), j, in.vrstica));
            ++stetje.vprasajev;
            // "?" stands for the whole angle: its minutes and seconds too.
            if (p == TerObsPolje::CeloKot) f += 2, j += 2;
            continue;
        }
        long celo = 0;
        real x = 0.0L;
        const bool dobro = p == TerObsPolje::CeloKot     ? BesedaVCelo(polje, celo, SHRT_MIN, SHRT_MAX)
                           : p == TerObsPolje::Zastavica ? BesedaVCelo(polje, celo, 0, USHRT_MAX)
                                                         : BesedaVStevilo(polje, x);
        if (!dobro)
            NivexError(izhod, BesediloF(Besedilo::NapakaPoljeNiStevilo, zapis.c_str(), j, polje.c_str(), in.vrstica,
                                        namig.c_str()));
        if (std::fabs(x) > kNajvecjeStevilo)
            NivexError(izhod, BesediloF(Besedilo::NapakaPoljePreveliko, zapis.c_str(), j, polje.c_str(), in.vrstica));
    }
}

}  // namespace

// Value words of one keyword line, with the messages that name the keyword.
class CProcSet::VrednostiKljuca {
public:
    VrednostiKljuca(const std::string& kljuc, std::vector<std::string> besede, long vrstica, std::ostream& izhod)
        : kljuc_(kljuc), besede_(std::move(besede)), vrstica_(vrstica), izhod_(izhod)
    {
    }

    bool Ima(std::size_t k) const { return k < besede_.size(); }
    const std::string& Beseda(std::size_t k, const std::string& opis) const
    {
        if (!Ima(k))
            NivexError(izhod_, BesediloF(Besedilo::NapakaManjkaVrednost, opis.c_str(), vrstica_));
        return besede_[k];
    }
    const std::string& Beseda(std::size_t k) const { return Beseda(k, kljuc_); }

    unsigned short Celo(std::size_t k = 0) const
    {
        const std::string& w = Beseda(k);
        long x = 0;
        if (!BesedaVCelo(w, x, 0, USHRT_MAX))
            NivexError(izhod_, BesediloF(Besedilo::NapakaVrednostNiCelo, kljuc_.c_str(), w.c_str(), vrstica_));
        return static_cast<unsigned short>(x);
    }

    real Stevilo(std::size_t k = 0, const std::string& opis = "") const
    {
        const std::string ime = opis.empty() ? kljuc_ : opis;
        const std::string& w = Beseda(k, ime);
        real x = 0.0L;
        if (!BesedaVStevilo(w, x))
            NivexError(izhod_, BesediloF(Besedilo::NapakaVrednostNiStevilo, ime.c_str(), w.c_str(), vrstica_));
        return x;
    }

private:
    std::string kljuc_;
    std::vector<std::string> besede_;
    long vrstica_;
    std::ostream& izhod_;
};

CProcSet::CProcSet()
    : RobSolve("MNK"), lpnorm(1.0), SVDthres(numerika::kPragSVD), IfUkrZ(false), IfkRef(false), IfEstkRef(false),
      R_Z(6371000.0), kRef(0.13), kRefType("NONE"), ifObsResiduals(false),
      nZapisov{}, Dim(0), NumSolve("QRGIV"), IfVarApriori(0), XVel(0), T0(0.0), ifVA(0), gtestp(0.95),
      datasp(0.99), izaupp(0.95), hipelp(0.95), skladp(0.95), izrisGMT(0), izrisSTR(0), izrisOPT2(0),
      izpisSet(1), izpisPod(1), izpisEnPop(1), izpisRez(1), izpisCorrUnk(1), izpisLMer(1), AngUnit("DMS"),
      CorAng(1), ContPrint(0), ifIter(0), NIter(25), MatFull(1), IterThres(1e-5), prvaVrstica{}
{
}

void CProcSet::ReadProcSet(const std::string& dataFile, std::ostream& izhod)
{
    {
        std::istringstream in;
        OdpriDatoteko(in, dataFile, izhod);
        ReadSettings(in, izhod);
    }
    CheckSettings(izhod);
    {
        // The records are counted with the final settings, which may stand
        // anywhere before "*K": hence a second pass over the file.
        std::istringstream in;
        OdpriDatoteko(in, dataFile, izhod);
        CountRecords(in, izhod);
    }
    CheckCounts(izhod);
    ResolveConflicts();
}

const CProcSet::Kljuc CProcSet::kKljuci[] = {
    {"*AU", Kljuc::Vrsta::Beseda, nullptr, nullptr, &CProcSet::AngUnit},
    {"*EK", Kljuc::Vrsta::Beseda, nullptr, nullptr, &CProcSet::AngUnit},
    {"*LANG", Kljuc::Vrsta::Beseda, nullptr, nullptr, &CProcSet::jezik},
    {"*RESSIS", Kljuc::Vrsta::Beseda, nullptr, nullptr, &CProcSet::NumSolve},
    {"*NUMSOLV", Kljuc::Vrsta::Beseda, nullptr, nullptr, &CProcSet::NumSolve},
    {"*CORKOT", Kljuc::Vrsta::Celo, &CProcSet::CorAng},
    {"*CONTPRINT", Kljuc::Vrsta::Celo, &CProcSet::ContPrint},
    {"*DIM", Kljuc::Vrsta::Celo, &CProcSet::Dim},
    {"*ITER", Kljuc::Vrsta::Celo, &CProcSet::ifIter},
    {"*ITERMAX", Kljuc::Vrsta::Celo, &CProcSet::NIter},
    {"*MATFULL", Kljuc::Vrsta::Celo, &CProcSet::MatFull},
    {"*IZPSET", Kljuc::Vrsta::Celo, &CProcSet::izpisSet},
    {"*IZPPOD", Kljuc::Vrsta::Celo, &CProcSet::izpisPod},
    {"*IZPENP", Kljuc::Vrsta::Celo, &CProcSet::izpisEnPop},
    {"*IZPREZ", Kljuc::Vrsta::Celo, &CProcSet::izpisRez},
    {"*ICORRUNK", Kljuc::Vrsta::Celo, &CProcSet::izpisCorrUnk},
    {"*IZPLMR", Kljuc::Vrsta::Celo, &CProcSet::izpisLMer},
    {"*GMT", Kljuc::Vrsta::Vklop, &CProcSet::izrisGMT},
    {"*STR", Kljuc::Vrsta::Vklop, &CProcSet::izrisSTR},
    {"*OPT2", Kljuc::Vrsta::Vklop, &CProcSet::izrisOPT2},
    {"*JSON", Kljuc::Vrsta::Vklop, &CProcSet::izpisJSON},
    {"*GEOJSON", Kljuc::Vrsta::Vklop, &CProcSet::izpisGeoJSON},
    {"*CSV", Kljuc::Vrsta::Vklop, &CProcSet::izpisCSV},
    {"*HTML", Kljuc::Vrsta::Vklop, &CProcSet::izpisHTML},
    {"*EPSG", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::epsg},
    {"*XV0", Kljuc::Vrsta::Vklop, &CProcSet::ifVA},
    {"*SVDTHRES", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::SVDthres},
    {"*ITERTHRES", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::IterThres},
    {"*PGTEST", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::gtestp},
    {"*PDATAS", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::datasp},
    {"*PIZAUP", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::izaupp},
    {"*PHIPEL", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::hipelp},
    {"*PSKLAD", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::skladp},
    {"*R_UKRZ", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::R_Z},
    {"*K_REF", Kljuc::Vrsta::Stevilo, nullptr, &CProcSet::kRef},
    {"*UKRZ", Kljuc::Vrsta::Posebej},
    {"*OBSRES", Kljuc::Vrsta::Posebej},
    {"*ROBSOLV", Kljuc::Vrsta::Posebej},
    {"*XVT", Kljuc::Vrsta::Posebej},
    {"*S02", Kljuc::Vrsta::Posebej},
    {"*KTYP", Kljuc::Vrsta::Posebej},
    {"*SNOOP", Kljuc::Vrsta::Posebej},
    {"*ECEF", Kljuc::Vrsta::Posebej},
    {"*NACRT", Kljuc::Vrsta::Posebej},
    // Instrument and target heights hold for the records that follow them:
    // the reading pass takes them in file order, the settings pass passes
    // over them.
    {"*IH", Kljuc::Vrsta::Posebej},
    {"*TH", Kljuc::Vrsta::Posebej},
};

const CProcSet::Kljuc* CProcSet::NajdiKljuc(const std::string& w)
{
    // Every keyword starts with '*'; the words of the records mostly do not.
    if (w.empty() || w[0] != '*') return nullptr;
    for (const Kljuc& k : kKljuci)
        if (w == k.beseda) return &k;
    return nullptr;
}

bool CProcSet::JeKljucnaBeseda(const std::string& w) { return NajdiKljuc(w) != nullptr; }

Jezik CProcSet::JezikPodatkov(const std::string& dataFile)
{
    // The lines of the settings pass, taken as it takes them: its last
    // "*LANG" before "*K" holds; a file that cannot be read or a value that
    // is no language leaves the default, and the settings pass refuses them.
    std::istringstream vhod;
    if (!BeriPodatke(dataFile, vhod)) return Jezik::SL;
    Citalec in{vhod};
    std::string w, jezik = "SL";
    while (in.Beseda(w) && w != "*K") {
        if (w != "*D" && NajdiKljuc(w) == nullptr) {
            in.Preskoci();
            continue;
        }
        const std::vector<std::string> besede = in.Ostanek();
        if (w == "*LANG") jezik = besede.empty() ? std::string() : besede[0];
    }
    return jezik == "EN" ? Jezik::EN : Jezik::SL;
}

std::vector<std::string> CProcSet::KljucneBesede()
{
    std::vector<std::string> besede;
    for (const Kljuc& k : kKljuci) besede.emplace_back(k.beseda);
    return besede;
}

void CProcSet::ReadSettings(std::istream& vhod, std::ostream& izhod)
{
    Citalec in{vhod};
    std::string w;
    while (in.Beseda(w)) {
        if (w == "*K") break;
        if (w == "*D") {
            // Only to tell in the settings section whether the S-transformation
            // file will be written; the datum reader reads the kind itself.
            const std::vector<std::string> r = in.Ostanek();
            datumVrsta = r.empty() ? '\0' : r[0][0];
            continue;
        }
        const Kljuc* k = NajdiKljuc(w);
        if (k == nullptr) {
            in.Preskoci();
            continue;
        }
        const long vrstica = in.vrstica;
        // A value stands on its keyword's line: the reading pass passes over
        // keyword lines whole, so a value on the next line would disagree.
        std::vector<std::string> besede = in.Ostanek();
        const std::string skupina = w == "*EK" ? "*AU" : w == "*RESSIS" ? "*NUMSOLV" : w;
        if (JeEnaOd(skupina, {"*AU", "*NUMSOLV", "*ROBSOLV", "*DIM", "*KTYP", "*LANG"}))
            vrsticeKljucev[skupina] = {w, besede.empty() ? std::string() : besede[0], vrstica};
        const VrednostiKljuca v(w, std::move(besede), vrstica, izhod);
        switch (k->vrsta) {
        case Kljuc::Vrsta::Celo: this->*k->celo = v.Celo(); break;
        case Kljuc::Vrsta::Vklop: this->*k->celo = 1; break;
        case Kljuc::Vrsta::Stevilo: this->*k->stevilo = v.Stevilo(); break;
        case Kljuc::Vrsta::Beseda: this->*k->niz = v.Beseda(0); break;
        case Kljuc::Vrsta::Posebej: PosebenKljuc(w, v, vrstica, izhod); break;
        }
    }
}

void CProcSet::PosebenKljuc(const std::string& w, const VrednostiKljuca& v, long vrstica, std::ostream& izhod)
{
    if (w == "*UKRZ") {
        IfUkrZ = true;
    } else if (w == "*OBSRES") {
        ifObsResiduals = true;
    } else if (w == "*ROBSOLV") {
        RobSolve = v.Beseda(0);
        if (RobSolve == "LPN") lpnorm = v.Stevilo(1, "*ROBSOLV LPN");
    } else if (w == "*XVT") {
        const real t = v.Stevilo();
        if (std::fabs(t) > DBL_MAX)
            NivexError(izhod, BesediloF(Besedilo::NapakaVrednostNiStevilo, "*XVT", v.Beseda(0).c_str(), vrstica));
        XVel = 1;
        T0 = static_cast<double>(t);
    } else if (w == "*S02") {
        const std::string s = v.Ima(0) ? v.Beseda(0) : std::string();
        if (s != "APRIORI" && s != "APOSTERIORI") {
            vrsticeKljucev[w] = {w, s, vrstica};
            NepravaVrednost(izhod, Besedilo::NapakaReferencnaVarianca, w, "APRIORI, APOSTERIORI");
        }
        IfVarApriori = s == "APRIORI" ? 1 : 0;
    } else if (w == "*SNOOP") {
        // Optionally followed by the largest number of records to remove.
        snoop = 1;
        snoopMax = v.Ima(0) ? v.Celo(0) : 0;
    } else if (w == "*KTYP") {
        kRefType = v.Beseda(0);
        IfkRef = true;
    } else if (w == "*ECEF") {
        ecef = true;
        ecefB = v.Stevilo(0, "*ECEF");
        ecefL = v.Stevilo(1, "*ECEF");
        if (!(std::fabs(ecefB) <= 90.0L) || !(std::fabs(ecefL) <= 360.0L))
            NivexError(izhod, BesediloF(Besedilo::NapakaECEFKoti, static_cast<double>(ecefB),
                                        static_cast<double>(ecefL), vrstica));
    } else if (w == "*NACRT") {
        // A design, optionally with its targets: the largest semi-axis
        // allowed (m) and the smallest redundancy number allowed.
        nacrt = 1;
        nacrtPolos = v.Ima(0) ? v.Stevilo(0) : -1.0L;
        nacrtR = v.Ima(1) ? v.Stevilo(1) : -1.0L;
        if ((v.Ima(0) && !(nacrtPolos > 0.0L)) || (v.Ima(1) && !(nacrtR >= 0.0L && nacrtR <= 1.0L)))
            NivexError(izhod, BesediloF(Besedilo::NapakaNacrtCilji, vrstica));
    }
}

void CProcSet::NepravaVrednost(std::ostream& izhod, Besedilo napaka, const std::string& skupina,
                               const char* dovoljene) const
{
    // The setting's message as it stands, then where and what.
    const auto k = vrsticeKljucev.find(skupina);
    const std::string kje =
        k == vrsticeKljucev.end()
            ? BesediloF(Besedilo::NapakaKljucManjka, skupina.c_str(), dovoljene)
            : BesediloF(Besedilo::NapakaVrednostKljuca, k->second.kljuc.c_str(),
                        k->second.vrednost.empty() ? B(Besedilo::VrednostBrez) : k->second.vrednost.c_str(),
                        k->second.vrstica, dovoljene);
    NivexError(izhod, std::string(B(napaka)) + "\n" + kje);
}

void CProcSet::CheckSettings(std::ostream& izhod)
{
    if (!JeEnaOd(AngUnit, {"DMS", "GON", "DEG"}))
        NepravaVrednost(izhod, Besedilo::NapakaEnoteKotov, "*AU", "DMS, GON, DEG");
    if (NajdiMetodo(NumSolve) == nullptr)
        NepravaVrednost(izhod, Besedilo::NapakaResitevSistema, "*NUMSOLV", "NS, LU, CH, QR, QRHOUS, QRMGS, QRGIV, SVD");
    if (!JeEnaOd(RobSolve,
                 {"MNK", "L1N", "LPN", "HUB", "MHUB", "HAMP", "BIWEIG", "FAIR", "LOGIST", "TALW", "WELS", "DAN"}))
        NepravaVrednost(izhod, Besedilo::NapakaRobustnaOcena, "*ROBSOLV",
                        "MNK, L1N, LPN, HUB, MHUB, HAMP, BIWEIG, FAIR, LOGIST, TALW, WELS, DAN");
    if (Dim == 0 || Dim > 3)
        NepravaVrednost(izhod, Besedilo::NapakaDimenzija, "*DIM", "1, 2, 3");
    if (ecef && Dim != 3) NivexError(izhod, BesediloF(Besedilo::NapakaECEFDimenzija, static_cast<int>(Dim)));
    if (!JeEnaOd(jezik, {"SL", "EN"})) NepravaVrednost(izhod, Besedilo::NapakaJezik, "*LANG", "SL, EN");
    // An EPSG code is a whole number (0: none).
    if (!(epsg >= 0.0L && epsg <= 999999.0L && epsg == std::floor(epsg)))
        NivexError(izhod, B(Besedilo::NapakaKodaEPSG));
    // A-priori velocities are read and used only with the velocity estimate.
    if (ifVA != 0 && XVel == 0)
        NivexError(izhod, B(Besedilo::NapakaHitrostiBrezOcene));
    // The quantiles of the tests are defined for probabilities inside (0, 1)
    // only; a percentage (95 for 0.95) is the usual slip.
    for (const Verjetnost& v : kVerjetnosti)
        if (!(this->*v.p > 0.0L && this->*v.p < 1.0L))
            NivexError(izhod, BesediloF(Besedilo::NapakaVerjetnost, v.kljuc));
}

void CProcSet::CountRecords(std::istream& vhod, std::ostream& izhod)
{
    Citalec in{vhod};
    std::string w;
    unsigned short dimSedaj = 0;   // dimension known at this point of the file
    bool datumPrej = false;        // the line before is a datum line
    // Fields of a record of each kind, with the final settings.
    std::array<std::vector<TerObsPolje>, kTOSetov> polja;
    for (unsigned s = 0; s < kTOSetov; ++s) polja[s] = TerObsPolja(kTerObsVrste[s], Dim, AngUnit, XVel != 0, ifVA != 0);
    StetjeVrednosti stetje{nacrt != 0};
    while (in.Beseda(w)) {
        if (w == "*K") break;
        const long vrstica = in.vrstica;
        if (w == "*DIM") {
            const std::vector<std::string> v = in.Ostanek();
            long x = 0;
            if (!v.empty() && BesedaVCelo(v[0], x, 0, USHRT_MAX)) dimSedaj = static_cast<unsigned short>(x);
            continue;
        }
        if (JeKovBlok(w)) {
            // A covariance block: read here for its syntax and its extent
            // over lines; the reading pass files it.
            const KovBlokZapisov b = BeriKovBlok(
                [&](std::string& x, long& kje) {
                    if (!in.Beseda(x) || x == "*K") return false;
                    kje = in.vrstica;
                    return true;
                },
                vrstica, Dim);
            std::string ostanek;
            for (const std::string& x : in.Ostanek()) ostanek += x + " ";
            PreveriOstanekKovBloka(ostanek, b);
            datumPrej = false;
            continue;
        }
        const bool preskoci = w[0] == '#' || w.compare(0, 2, "**") == 0 || w == "*D" || CProcSet::JeKljucnaBeseda(w);
        const TerObsVrsta* v = preskoci ? nullptr : TerObsVrstaZapisa(w[0], dimSedaj);
        if (v == nullptr && !preskoci && w[0] != '*')
            NivexError(izhod, BesediloF(Besedilo::NapakaPrvaBeseda, vrstica, w.c_str(),
                                        datumPrej ? B(Besedilo::NamigDatumskaVrstica) : ""));
        datumPrej = w.compare(0, 2, "**") == 0;
        // Holding a point in some of its coordinates needs a height besides
        // the plane coordinates.
        if ((w == "**VXY" || w == "**VZ") && Dim != 3)
            NivexError(izhod, BesediloF(Besedilo::NapakaDatumskaVrsticaDim, vrstica, w.c_str()));
        if (v == nullptr) {
            if (!preskoci) NeznanaBeseda(w, vrstica, izhod);
            in.Preskoci();
            continue;
        }
        // An X record written under another dimension than the final one:
        // its fields and its list would both disagree with the reading pass.
        if (v->crka == 'X' && dimSedaj != 0 && dimSedaj != Dim) NepravaDimenzija(izhod, vrstica);
        const unsigned s = TerObsIndeks(*v);
        const std::string zapis = BesediloF(Besedilo::OznakaZapisaVrstica, B(v->opis), vrstica);
        // An angle written for another unit than *AU gives a record with
        // too few numbers (refused field by field) or too many: the one
        // after the deviation may not be taken as a remark.
        const std::string enota = v->vrednosti == TerObsVrednosti::Kotna ? NamigEnote(AngUnit) : std::string();
        const unsigned vrednosti = v->vrednosti == TerObsVrednosti::Tocka ? 0u : v->poDim ? Dim : 1u;
        PreveriZapis(in, zapis, polja[s], izhod, enota, vrednosti, stetje, v->crka == 'X');
        nVrednosti = stetje.vrednosti;
        nVprasajev = stetje.vprasajev;
        ++nZapisov[s];
        if (prvaVrstica[s] == 0) prvaVrstica[s] = vrstica;
        // Any other record skips a number after its last field (a ppm term,
        // a length in km) as a remark, but not silently; words stay remarks.
        const long vrsticaKonca = in.vrstica;
        const std::vector<std::string> ostanek = in.Ostanek();
        real x = 0.0L;
        if (ostanek.empty() || !BesedaVStevilo(ostanek[0], x)) continue;
        if (!enota.empty())
            NivexError(izhod, BesediloF(Besedilo::NapakaSteviloZaPoljem, zapis.c_str(), ostanek[0].c_str(),
                                        enota.c_str()));
        const std::string t = BesediloF(Besedilo::OpozoriloSteviloZaPoljem, zapis.c_str(), ostanek[0].c_str());
        NivexWarning(t, vrsticaKonca);
        izhod << "\n" << t << "\n\n";
    }
}

void CProcSet::NeznanaBeseda(const std::string& w, long vrstica, std::ostream& izhod)
{
    // Not fatal, but a setting mistyped is a setting not applied: the notice
    // stands in the report and in the closing lines, not on the console only.
    const std::string t = BesediloF(Besedilo::OpozoriloNeznanParameter, w.c_str(), vrstica);
    neznane.push_back({w, vrstica});
    NivexWarning(t);
    izhod << "\n" << t << "\n\n";
    NivexOpomba(t);
}

void CProcSet::CheckCounts(std::ostream& izhod)
{
    const TerObsSet tocke = Dim == 1 ? kTOHA : kTOCrdA, druge = Dim == 1 ? kTOCrdA : kTOHA;
    if (nZapisov[tocke] == 0)
        NivexError(izhod, B(Besedilo::NapakaBrezPribliznih));
    // X records are filed under the dimension known where they stand; the
    // reading pass files them under the final one.
    if (nZapisov[druge] != 0) NepravaDimenzija(izhod, prvaVrstica[druge]);
    // Only a levelling network leaves kinds out (X, H and h are all it takes).
    for (unsigned s = 0; s < kTOSetov; ++s)
        if (prvaVrstica[s] != 0 && !TerObsSprejme(kTerObsVrste[s], Dim))
            NivexError(izhod, BesediloF(Besedilo::NapakaZapisVisinskaMreza, B(kTerObsVrste[s].opis), prvaVrstica[s]));
    if (GetNZen() > 0 && Opis(kRefrakcija, kRefType) == nullptr)
        NepravaVrednost(izhod, Besedilo::NapakaNacinRefrakcije, "*KTYP", "SINGLE, STAT, NONE");
}

void CProcSet::ResolveConflicts()
{
    if (XVel == 1 && IfkRef) {
        IfkRef = false;
        NivexWarning(B(Besedilo::OpozoriloRefrakcijaHitrosti));
    }
    if (ifObsResiduals && ifIter != 0) {
        ifIter = 0;
        NivexWarning(B(Besedilo::OpozoriloIteracijaIzkljucena));
    }
    if (XVel == 1 && izrisSTR != 0) {
        izrisSTR = 0;
        NivexWarning(B(Besedilo::OpozoriloSTRHitrosti));
    }
    if (XVel == 1 && izrisOPT2 != 0) {
        izrisOPT2 = 0;
        NivexWarning(B(Besedilo::OpozoriloOPT2Hitrosti));
    }
    // The estimate of the refraction correction is part of the model, not of
    // the print: it follows from *KTYP whatever the print switches say.
    IfEstkRef = IfkRef && (kRefType == "SINGLE" || kRefType == "STAT");
    if (nacrt != 0) ResolveNacrt();
}

void CProcSet::ResolveNacrt()
{
    // A design has no measurements: one pass with the a-priori variance, and
    // nothing that tests or re-weights residuals.
    IfVarApriori = 1;
    ifIter = 0;
    const auto opomba = [](const std::string& t) {
        NivexWarning(t);
        NivexOpomba(t);
    };
    if (snoop != 0) opomba(B(Besedilo::OpozoriloNacrtSnoop));
    if (RobSolve != "MNK") opomba(BesediloF(Besedilo::OpozoriloNacrtRobustna, RobSolve.c_str()));
    // The redundancy numbers are the point of a design: they need the full
    // matrices.
    if (MatFull == 0) opomba(B(Besedilo::OpozoriloNacrtMatFull));
    snoop = 0;
    RobSolve = "MNK";
    MatFull = 1;
}

const CProcSet::Verjetnost CProcSet::kVerjetnosti[5] = {
    {"*PGTEST", Besedilo::OznakaVerjetnostGTest, &CProcSet::gtestp},
    {"*PDATAS", Besedilo::OznakaVerjetnostDataS, &CProcSet::datasp},
    {"*PSKLAD", Besedilo::OznakaVerjetnostSklad, &CProcSet::skladp},
    {"*PIZAUP", Besedilo::OznakaVerjetnostIzaup, &CProcSet::izaupp},
    {"*PHIPEL", Besedilo::OznakaVerjetnostHipel, &CProcSet::hipelp},
};

void CProcSet::PrintProcSet(std::ostream& izhod)
{
    if (izpisSet == 0) return;
    PrintResitev(izhod);
    PrintModel(izhod);
    PrintIzhodi(izhod);
}

// The dimension, the solution of the system, the estimator and the probabilities.
void CProcSet::PrintResitev(std::ostream& izhod) const
{
    const Besedilo vrste[] = {Besedilo::MrezaVisinska, Besedilo::MrezaRavninska, Besedilo::MrezaProstorska};

    PodNaslov(izhod, B(Besedilo::PodnaslovDimenzija), 1);
    izhod << BesediloF(Besedilo::MrezaRazsezna, static_cast<unsigned>(Dim), Dim >= 1 && Dim <= 3 ? B(vrste[Dim - 1]) : "")
          << "\n\n";

    PodNaslov(izhod, B(Besedilo::PodnaslovNumericnaResitev), 1);
    // The method asked for, then the solution that runs it.
    const MetodaResitve* metoda = NajdiMetodo(NumSolve);
    izhod << B(Besedilo::OznakaResitevSistema) << "\n\n" << "  " << (metoda ? B(metoda->opis) : "");
    if (metoda && metoda->psevdoinverz)
        izhod << "\n" << std::defaultfloat << B(Besedilo::OznakaPragSingularnosti) << SVDthres;
    if (metoda) izhod << "\n" << B(Besedilo::OznakaIzvedenaResitev) << IzvedenaResitev(*metoda);
    izhod << "\n\n";
    izhod << B(MatFull != 0 ? Besedilo::MatrikeCele : Besedilo::MatrikeOptimalne) << "\n\n\n";

    PodNaslov(izhod, B(Besedilo::PodnaslovOcenaNeznank), 1);
    izhod << B(Besedilo::OznakaNacinOcene) << "\n\n" << "  ";
    if (RobSolve == "MNK") izhod << B(Besedilo::OcenaMNK);
    else izhod << BesediloF(Besedilo::OcenaRobustna, RobSolve.c_str());
    izhod << "\n\n\n";

    PodNaslov(izhod, B(Besedilo::PodnaslovVerjetnosti), 1);
    IzpisNastavitve(izhod, 3);
    for (const Verjetnost& v : kVerjetnosti) izhod << B(v.oznaka) << std::setw(9) << this->*v.p << "\n";
    izhod << "\n\n";
}

// The parts of the model the settings switch on: velocities, refraction,
// earth curvature, angles and the influence of the observation errors.
void CProcSet::PrintModel(std::ostream& izhod) const
{
    if (XVel != 0) {
        PodNaslov(izhod, B(Besedilo::PodnaslovHitrosti), 1);
        izhod << B(ifVA != 0 ? Besedilo::HitrostiApriori : Besedilo::HitrostiBrezApriori) << "\n";
        IzpisNastavitve(izhod, 2);
        izhod << B(Besedilo::OznakaReferencnaEpoha) << std::setw(9) << T0 << "\n\n\n";
    }
    if (IfkRef) {
        PodNaslov(izhod, B(Besedilo::PodnaslovRefrakcija), 1);
        izhod << B(Besedilo::RefrakcijaDa) << "\n";
        IzpisNastavitve(izhod, 3);
        izhod << B(Besedilo::OznakaPribliznaRefrakcija) << std::setw(8) << kRef << "\n";
        const char* nacin = Opis(kRefrakcija, kRefType);
        izhod << B(Besedilo::OznakaOcenaRefrakcije) << kRefType << "\n" << (nacin ? nacin : "") << "\n\n\n";
    }
    if (ecef) {
        PodNaslov(izhod, B(Besedilo::PodnaslovECEF), 1);
        izhod << BesediloF(Besedilo::ECEFOpis, static_cast<double>(ecefB), static_cast<double>(ecefL)) << "\n\n\n";
    }
    if (IfUkrZ) {
        PodNaslov(izhod, B(Besedilo::PodnaslovUkrivljenost), 1);
        IzpisNastavitve(izhod, 3);
        izhod << B(Besedilo::OznakaUkrivljenost) << std::setw(15) << R_Z << "\n\n\n";
    }
    if (GetNDir() != 0 || GetNZen() != 0) {
        PodNaslov(izhod, B(Besedilo::PodnaslovKotna), 1);
        izhod << B(Besedilo::OznakaEnoteKotov) << AngUnit << "\n\n\n";
    }
    if (GetNDir() != 0) izhod << B(CorAng == 0 ? Besedilo::KorelacijeKotovNe : Besedilo::KorelacijeKotov) << "\n\n\n";
    if (ifObsResiduals) {
        PodNaslov(izhod, B(Besedilo::PodnaslovVplivPogreskov), 1);
        izhod << B(Besedilo::SamoPogreski) << "\n\n\n";
    }
}

// The language (when the file sets it or the run is not in the default one),
// snooping and the files the run writes besides the report.
void CProcSet::PrintIzhodi(std::ostream& izhod) const
{
    if (vrsticeKljucev.contains("*LANG") || BesedilaJezik() != Jezik::SL) {
        PodNaslov(izhod, B(Besedilo::PodnaslovJezik), 1);
        izhod << B(Besedilo::OznakaJezik) << (BesedilaJezik() == Jezik::EN ? "EN" : "SL") << "\n\n\n";
    }
    if (snoop != 0) {
        PodNaslov(izhod, B(Besedilo::PodnaslovIzlocanje), 1);
        izhod << B(Besedilo::IzlocanjeDa);
        if (snoopMax != 0) izhod << BesediloF(Besedilo::IzlocanjeNajvec, static_cast<unsigned>(snoopMax));
        izhod << "\n\n\n";
    }
    if (nacrt != 0) {
        PodNaslov(izhod, B(Besedilo::PodnaslovNacrt), 1);
        izhod << B(Besedilo::NacrtDa) << "\n";
        if (nacrtPolos >= 0.0L) izhod << BesediloF(Besedilo::NacrtCiljPolos, static_cast<double>(nacrtPolos)) << "\n";
        if (nacrtR >= 0.0L) izhod << BesediloF(Besedilo::NacrtCiljR, static_cast<double>(nacrtR)) << "\n";
        izhod << "\n\n";
    }
    PodNaslov(izhod, B(Besedilo::PodnaslovIzpisSTR), 1);
    izhod << B(IzdelaSTR() ? Besedilo::STRIzdelana : Besedilo::STRNiIzdelana) << "\n\n\n";
    PodNaslov(izhod, B(Besedilo::PodnaslovIzris), 1);
    izhod << B(IzdelaGMT() ? Besedilo::GMTIzdelane : Besedilo::GMTNiIzdelane) << "\n\n\n";
    if (izpisJSON != 0 || izpisGeoJSON != 0 || izpisCSV != 0 || izpisHTML != 0) {
        PodNaslov(izhod, B(Besedilo::PodnaslovIzvoz), 1);
        // The format's name in a column of its own, so that the words after it align.
        const auto datoteka = [&izhod](const char* ime, bool da) {
            izhod << B(Besedilo::OznakaDatotekaRezultatov) << std::left << std::setw(8) << ime << std::right
                  << B(da ? Besedilo::IzvozIzdelan : Besedilo::IzvozNiIzdelan) << "\n";
        };
        datoteka("JSON", IzdelaJSON());
        datoteka("GeoJSON", IzdelaGeoJSON());
        datoteka("CSV", IzdelaCSV());
        if (IzdelaHTML()) datoteka("HTML", true);
        if (epsg != 0.0L) izhod << B(Besedilo::OznakaKoordinatniSistem) << GetEPSG() << "\n";
        izhod << "\n\n";
    }
}
