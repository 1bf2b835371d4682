#include "src/CStojisce.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "src/CTerObs.h"
#include "src/CTerObsTocke.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

void CStojisce::Beri(const std::string& kljuc, const std::string& vrsta, long v, unsigned short dim)
{
    const std::string kje = " **** Vrstica " + std::to_string(v) + " (" + kljuc + "): ";
    if (dim != 3) NivexError(kje + "visine instrumenta in tarce so mogoce samo v prostorski mrezi (*DIM 3)      *** ");
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
        ++stevilka;
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

void CStojisce::Zapis(CTerObs& set, long i, const std::string& zapis) const
{
    const TerObsVrsta& v = set.Vrsta();
    if (tocka.empty() || !v.stojisce) return;
    if (set.PTS(i, 0) != tocka)
        NivexError(zapis + ": stojisce " + set.PTS(i, 0) + " ni stojisce " + tocka + " vrstice *IH (vrstica " +
                   std::to_string(vrstica) + ") - drugo stojisce zahteva svojo vrstico *IH      *** ");
    set.SetPostavitev(i, stevilka);
    if (!v.visini) return;
    const auto t = tarce.find(set.PTS(i, 1));
    set.SetVisini(i, instrument, t != tarce.end() ? t->second : vsem);
}

void CStojisce::PreveriImena(const CTerObsTocke& tocke) const
{
    for (const auto& [ime, v] : imena)
        if (tocke.FindPoint(ime) < 0)
            NivexError(" **** Vrstica " + std::to_string(v) + ": TOCKA " + ime +
                       " NE OBSTAJA V SEZNAMU TOCK!!!! (zapisi X)      *** ");
}

void CStojisce::PrintVisine(const CTerObsZbirka& TO, std::ostream& izhod)
{
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const CTerObs* set = &TO.Set(static_cast<TerObsSet>(s));
        if (!set->Vrsta().visini || !set->ImaVisine()) continue;
        const std::string naslov = std::string("VISINE INSTRUMENTA IN TARCE, ") + set->Vrsta().opis + ":";
        izhod << "\n" << naslov << "\n" << std::string(naslov.size(), '-') << "\n\n";
        izhod << "        TC1   TC2          VI          VT\n";
        izhod << "                          [m]         [m]\n";
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
