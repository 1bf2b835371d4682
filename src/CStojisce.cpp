#include "src/CStojisce.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "funkcije/Besedila.h"
#include "src/CTerObs.h"
#include "src/CTerObsTocke.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

void CStojisce::Beri(const std::string& kljuc, const std::string& vrsta, long v, unsigned short dim)
{
    const char* k = kljuc.c_str();
    if (dim != 3) NivexError(BesediloF(Besedilo::NapakaVisineStojiscaDim, v, k));
    std::istringstream s(vrsta);
    std::vector<std::string> b;
    for (std::string w; BeriBesedo(s, w) && w[0] != '#';) b.push_back(w);
    const bool ih = kljuc == "*IH";
    if (ih ? b.size() != 2 : (b.empty() || b.size() > 2))
        NivexError(BesediloF(ih ? Besedilo::NapakaIHZahteva : Besedilo::NapakaITZahteva, v, k));
    real h = 0.0L;
    if (!BesedaVStevilo(b.back(), h) || std::fabs(h) > kNajvecjeStevilo)
        NivexError(BesediloF(Besedilo::NapakaVisinaStojisca, v, k, b.back().c_str()));
    if (b.size() == 2) imena.emplace_back(b[0], v);
    if (ih) {
        ++stevilka;
        tocka = b[0];
        vrstica = v;
        instrument = h;
        vsem = 0.0L;
        tarce.clear();
    } else if (tocka.empty()) {
        NivexError(BesediloF(Besedilo::NapakaTarcaZunajStojisca, v, k));
    } else if (b.size() == 1) {
        vsem = h;
        tarce.clear();
    } else {
        tarce[b[0]] = h;
    }
}

void CStojisce::Zapis(CTerObs& set, long i, const std::string& zapis) const
{
    const TerObsVrsta& v = set.Vrsta();
    if (tocka.empty() || !v.stojisce) return;
    if (set.PTS(i, 0) != tocka)
        NivexError(BesediloF(Besedilo::NapakaDrugoStojisce, zapis.c_str(), set.PTS(i, 0).c_str(), tocka.c_str(),
                             vrstica));
    set.SetPostavitev(i, stevilka);
    if (!v.visini) return;
    const auto t = tarce.find(set.PTS(i, 1));
    set.SetVisini(i, instrument, t != tarce.end() ? t->second : vsem);
}

void CStojisce::PreveriImena(const CTerObsTocke& tocke) const
{
    for (const auto& [ime, v] : imena)
        if (tocke.FindPoint(ime) < 0)
            NivexError(BesediloF(Besedilo::NapakaStojisceNiVSeznamu, v, ime.c_str()));
}

void CStojisce::PrintVisine(const CTerObsZbirka& TO, std::ostream& izhod)
{
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const CTerObs* set = &TO.Set(static_cast<TerObsSet>(s));
        if (!set->Vrsta().visini || !set->ImaVisine()) continue;
        const std::string naslov = BesediloF(Besedilo::NaslovVisineStojisc, B(set->Vrsta().opis));
        izhod << "\n" << naslov << "\n" << std::string(naslov.size(), '-') << "\n\n";
        izhod << B(Besedilo::VisineStojiscGlava) << "\n";
        izhod << B(Besedilo::VisineStojiscEnote) << "\n";
        izhod << std::string(41, '-') << "\n";
        for (long i = 0; i < static_cast<long>(set->NObs()); ++i) {
            izhod << std::right << std::setw(3) << i + 1 << "   ";
            TerObsTxt(izhod, set->PTS(i, 0), 6);
            TerObsTxt(izhod, set->PTS(i, 1), 6);
            TerObsNum(izhod, set->VisinaInstrumenta(i), 12, 4);
            TerObsNum(izhod, set->VisinaTarce(i), 12, 4);
            izhod << "\n";
        }
        izhod << std::string(41, '-') << "\n\n";
    }
}
