#include "src/CTerObsTocke.h"

#include <iomanip>
#include <sstream>
#include <unordered_set>

#include "funkcije/Besedila.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

void CTerObsTocke::SetTocke(unsigned long n, unsigned short xvel, unsigned short dim, unsigned short ifva)
{
    // Without velocity estimation there is nowhere to put a-priori velocities,
    // and the X records would be misread field by field.
    if (ifva != 0 && xvel == 0)
        NivexError(B(Besedilo::NapakaHitrostiTock));
    Dim = dim;
    ifVA = ifva;
    indeks.clear();
    indeksSestavljen = false;
    Velikost(n, xvel, dim, false);
    racunana.assign(n, 0);
    if (n != 0 && XVel != 0) {
        ifVel.resize(n, 1);
        VELA.resize(n, dim, 0.0L);
    }
}

void CTerObsTocke::ReadObsLine_OBS(std::istream& in, long i)
{
    if (XSamoIme(in)) {
        racunana.at(static_cast<std::size_t>(i)) = 1;
        for (long k = 0; k < Dim; ++k) OBS(i, k) = 0.0L;
        return;
    }
    for (long k = 0; k < Dim; ++k) OBS(i, k) = ReadNum(in, i);
    if (ifVA != 0)
        for (long k = 0; k < Dim; ++k) VELA(i, k) = ReadNum(in, i);
    if (XVel != 0) ifVel(i) = static_cast<std::uint16_t>(ReadInt(in, i, 0, 65535));
}

void CTerObsTocke::PrintObsLine_OBS(std::ostream& out, long i)
{
    for (long k = 0; k < Dim; ++k) TerObsNum(out, OBS(i, k), vrsta->sirina, vrsta->decimalke);
    if (ifVA != 0)
        for (long k = 0; k < Dim; ++k) TerObsNum(out, VELA(i, k), sirinaHitrosti, vrsta->decimalke);
    if (XVel != 0) TerObsTxt(out, std::to_string(ifVel(i)), sirinaZastavice);
}

void TerObsPointError(const std::string& name, const std::string& kje)
{
    std::ostringstream s;
    s << "\n\n";
    s << B(Besedilo::NapakaGlava) << std::string(42, ' ') << "*****" << "\n";
    s << B(Besedilo::OznakaNapakaTocka) << std::right << std::setw(10) << name << B(Besedilo::NapakaTockaNeObstaja);
    if (!kje.empty()) s << "\n" << kje;
    s << "\n\n";
    KoncnaNapaka(s.str());
}

long CTerObsTocke::FindPoint(const std::string& name) const
{
    if (!indeksSestavljen) {
        indeks.reserve(nobs);
        for (long p = 0; p < static_cast<long>(nobs); ++p) indeks.emplace(PTS(p, 0), p);
        indeksSestavljen = true;
    }
    const auto it = indeks.find(name);
    return it == indeks.end() ? -1L : it->second;
}

long CTerObsTocke::PointIndex(const std::string& name) const
{
    const long p = FindPoint(name);
    if (p < 0) TerObsPointError(name);
    return p;
}

void CTerObsTocke::SetUniquePTS()
{
    // A later record of a name would get unknowns that no observation
    // reaches (every lookup finds the first): it is dropped from the list.
    std::unordered_set<std::string> javljene;
    unsigned long n = 0;
    for (long p = 0; p < static_cast<long>(nobs); ++p) {
        const std::string& ime = PTS(p, 0);
        if (FindPoint(ime) != p) {
            if (javljene.insert(ime).second)
                NivexWarning(BesediloF(Besedilo::OpozoriloTockaVeckrat, ime.c_str()));
            continue;
        }
        if (static_cast<long>(n) != p) {
            PTS(n, 0) = ime;
            SetVrstica(static_cast<long>(n), Vrstica(p));
            racunana[n] = racunana[static_cast<std::size_t>(p)];
            for (long k = 0; k < static_cast<long>(OBS.ncol()); ++k) OBS(n, k) = OBS(p, k);
            if (XVel != 0) {
                ifVel(n) = ifVel(p);
                for (long k = 0; k < static_cast<long>(VELA.ncol()); ++k) VELA(n, k) = VELA(p, k);
            }
        }
        ++n;
    }
    if (n == nobs) return;
    nobs = static_cast<std::uint32_t>(n);
    vrstice.resize(n);
    racunana.resize(n);
    PTS = PTS(0, n - 1, 0, 0);
    OBS = OBS(0, n - 1, 0, OBS.ncol() - 1);
    if (XVel != 0) {
        ifVel = ifVel(0, n - 1, 0, 0);
        VELA = VELA(0, n - 1, 0, VELA.ncol() - 1);
    }
    indeks.clear();
    indeksSestavljen = false;
}
