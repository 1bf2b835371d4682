#include "src/CTerObs.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/funkcijeAux.h"
#include "funkcije/Besedila.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

void TerObsNum(std::ostream& out, real v, int width, int decimals)
{
    std::ostringstream s;
    s << std::fixed << std::setprecision(decimals) << v;
    TerObsTxt(out, s.str(), width);
}

void TerObsTxt(std::ostream& out, const std::string& s, int width)
{
    // A value that fills its column would run into the one before it.
    if (width > 0 && s.size() >= static_cast<std::size_t>(width)) out << ' ';
    out << std::right << std::setw(width) << s;
}

bool TerObsAngUnitOK(const std::string& unit) { return unit == "DMS" || unit == "GON" || unit == "DEG"; }

void CTerObs::SetAngUnit(const std::string& unit)
{
    if (!TerObsAngUnitOK(unit))
        NivexError(B(Besedilo::NapakaNastavitevEnote));
    AngUnit = unit;
}

std::string CTerObs::EnotaKota() const
{
    return B(AngUnit == "DMS"   ? Besedilo::EnotaKotaDMS
             : AngUnit == "GON" ? Besedilo::EnotaKotaGON
                                : Besedilo::EnotaKotaDEG);
}

std::string CTerObs::EnotaOdklona() const
{
    return B(AngUnit == "GON" ? Besedilo::EnotaOdklonaGON : Besedilo::EnotaOdklonaSekunde);
}

void TerObsAngle(std::ostream& out, const std::string& unit, real rad)
{
    if (unit == "DMS")
        TerObsTxt(out, dms2dms(rad2dms(rad)), 15);
    else
        TerObsNum(out, unit == "GON" ? rad2gon(rad) : rad2deg(rad), 15, 6);
}

void CTerObs::PrintKot(std::ostream& out, real rad) const { TerObsAngle(out, AngUnit, rad); }

void CTerObs::PrintMaliKot(std::ostream& out, real rad) const
{
    TerObsNum(out, AngUnit == "GON" ? rad2gon(rad) * 1000.0L : rad2deg(rad) * 3600.0L, 7, 2);
}

void CTerObs::Velikost(unsigned long n, unsigned short xvel, unsigned long vrednosti, bool opazovanja)
{
    nobs = static_cast<std::uint32_t>(n);
    aktiven.assign(n, 1);
    XVel = xvel;
    So = 0.0L;
    vrstice.assign(n, 0);
    visinaI.clear();
    visinaT.clear();
    if (n == 0) return;
    PTS.resize(n, vrsta->imen);
    OBS.resize(n, vrednosti);
    if (!opazovanja) return;
    SIG.resize(n, vrednosti);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObs::ReadObsLine_PT(std::istream& in, long i)
{
    for (long c = 0; c < static_cast<long>(PTS.ncol()); ++c) PTS(i, c) = ReadPT(in, i);
}

void CTerObs::ReadObsLine_OBS(std::istream& in, long i)
{
    if (vrsta->vrednosti == TerObsVrednosti::Kotna)
        ReadAngleRecord(in, i);
    else
        ReadLinearRecord(in, i);
}

void CTerObs::ReadLinearRecord(std::istream& in, long i)
{
    // The deviations are checked as written (mm), then held in metres.
    for (long k = 0; k < static_cast<long>(OBS.ncol()); ++k) {
        const std::string w = PoljeZapisa(in, i);
        OBS(i, k) = w == "?" ? 0.0L : BesedaVNum(w, i);
    }
    for (long k = 0; k < static_cast<long>(SIG.ncol()); ++k) {
        SIG(i, k) = ReadNum(in, i);
        TestStDev(static_cast<std::int32_t>(i), B(vrsta->sdOznaka), SIG(i, k), vrsta->sdMeja);
        SIG(i, k) /= 1000.0L;
    }
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
}

void CTerObs::ReadAngleRecord(std::istream& in, long i)
{
    real kot = 0.0L, sd = 0.0L;
    // A value "?" (a design computes it) stands for the whole angle.
    const std::string w = PoljeZapisa(in, i);
    if (w == "?") {
        sd = ReadNum(in, i);
    } else if (AngUnit == "DMS") {
        // The sign of the degrees is not carried to minutes and seconds.
        const real st = static_cast<real>(BesedaVInt(w, i, -32768, 32767));
        const real mi = static_cast<real>(ReadInt(in, i, -32768, 32767));
        const real se = ReadNum(in, i);
        sd = ReadNum(in, i);
        kot = deg2rad(se / 3600.0L + mi / 60.0L + st);
    } else {
        const real a = BesedaVNum(w, i);
        sd = ReadNum(in, i);
        kot = AngUnit == "GON" ? gon2rad(a) : deg2rad(a);
    }
    // The deviation is checked in the file's unit (arc seconds or milligon).
    if (vrsta->sdOznaka != Besedilo::VrstaBrez) TestStDev(static_cast<std::int32_t>(i), B(vrsta->sdOznaka), sd, vrsta->sdMeja);
    OBS(i, 0) = kot;
    SIG(i, 0) = AngUnit == "GON" ? gon2rad(sd / 1000.0L) : deg2rad(sd / 3600.0L);
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
}

void CTerObs::PrintObsLine_PT(std::ostream& out, long i)
{
    for (long c = 0; c < static_cast<long>(PTS.ncol()); ++c) TerObsTxt(out, PTS(i, c), 6);
}

void CTerObs::PrintObsLine_OBS(std::ostream& out, long i)
{
    if (vrsta->vrednosti == TerObsVrednosti::Kotna) {
        PrintKot(out, OBS(i, 0));
        PrintMaliKot(out, SIG(i, 0));
    } else {
        for (long k = 0; k < static_cast<long>(OBS.ncol()); ++k)
            TerObsNum(out, OBS(i, k), vrsta->sirina, vrsta->decimalke);
        for (long k = 0; k < static_cast<long>(SIG.ncol()); ++k) TerObsNum(out, SIG(i, k) * 1000.0L, 8, 2);
    }
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

void CTerObs::PrintAllHead(std::ostream& out)
{
    const std::string naslov = Naslov();
    const Glava g = GlavaTabele();
    out << naslov << "\n" << std::string(naslov.size(), '-') << "\n\n";
    out << g.stolpci << "\n" << g.enote << "\n" << std::string(g.crta, '-') << "\n";
}

void CTerObs::PrintAllEnd(std::ostream& out) { out << std::string(GlavaTabele().crta, '-'); }

void CTerObs::SetPrintQuant(const std::string& what)
{
    if (what != "LINE" && what != "ALL")
        NivexError(B(Besedilo::NapakaNastavitevKolicine));
    PrintQuant = what;
}

void CTerObs::SetPrintWhat(const std::string& what)
{
    if (what != "OBS" && what != "PT" && what != "ALL")
        NivexError(B(Besedilo::NapakaNastavitevDela));
    PrintWhat = what;
}

void CTerObs::CalcRefStDApr()
{
    So = 0.0L;
    if (nobs == 0 || SIG.nrow() == 0) return;
    const real* s = SIG.data();
    const unsigned long m = SIG.ncol();
    unsigned long n = 0;
    for (unsigned long i = 0; i < SIG.nrow(); ++i) {
        if (!Aktiven(static_cast<long>(i))) continue;
        for (unsigned long k = 0; k < m; ++k) So += dabs(s[i * m + k]);
        n += m;
    }
    if (n > 0) So /= static_cast<real>(n);
}

void CTerObs::ReadObs(std::istream& in, long i)
{
    ReadObsLine_PT(in, i);
    ReadObsLine_OBS(in, i);
}

void CTerObs::PrintObs(std::ostream& out, long i)
{
    if (PrintQuant == "ALL")
        PrintObsAll(out);
    else
        PrintObsLine(out, i);
}

void CTerObs::PrintObsLine(std::ostream& out, long i)
{
    if (PrintWhat == "PT" || PrintWhat == "ALL") PrintObsLine_PT(out, i);
    if (PrintWhat == "OBS" || PrintWhat == "ALL") PrintObsLine_OBS(out, i);
}

void CTerObs::PrintObsAll(std::ostream& out)
{
    SetPrintQuant("LINE");
    out << "\n";
    PrintAllHead(out);
    const long n = static_cast<long>(nobs);
    for (long i = 0; i < n; ++i) {
        SetPrintWhat("ALL");
        out << std::setw(3) << i + 1 << "   ";
        PrintObsLine(out, i);
        out << "\n";
        // Observations are grouped by station: a new first point opens a block.
        if (PTS.ncol() > 1 && i + 1 < n && PTS(i + 1, 0) != PTS(i, 0)) out << "\n";
    }
    PrintAllEnd(out);
    out << "\n\n";
}

void CTerObs::TestStDev(std::int32_t i, const char* label, real sd, real eps) const
{
    if (static_cast<real>(dabs(sd)) > eps) {
        // A deviation below zero (beyond round-off, which is zero) is a slip
        // of the sign, not a weight.
        if (sd >= 0.0L) return;
        std::ostringstream v;
        v << static_cast<double>(sd);
        NivexError(BesediloF(Besedilo::NapakaOdklonNegativen, Zapis(i).c_str(), v.str().c_str()));
    }
    std::ostringstream s;
    s << "\n\n";
    s << B(Besedilo::NapakaGlava) << std::string(74, ' ') << "*****" << "\n";
    s << "\n";
    s << B(Besedilo::OznakaNapakaOpazovanje) << std::setw(5) << i + 1 << ".  " << std::setw(15) << label << ":"
      << B(Besedilo::NapakaOdklonNic);
    if (Vrstica(i) > 0)
        s << "\n" << BesediloF(Besedilo::NapakaOdklonNicZapis, B(vrsta->opis), OznakaZapisa(i).c_str());
    s << "\n\n";
    KoncnaNapaka(s.str());
}

namespace {
// A word quoted in a message is cut short so that a runaway word cannot
// flood the console.
std::string Citat(const std::string& w)
{
    constexpr std::size_t maks = 60;
    return "\"" + (w.size() > maks ? w.substr(0, maks) + "..." : w) + "\"";
}

}  // namespace

std::string CTerObs::OznakaZapisa(long i) const
{
    const long v = Vrstica(i);
    return v > 0 ? BesediloF(Besedilo::OznakaZapisaStVrstica, i + 1, v) : BesediloF(Besedilo::OznakaZapisaSt, i + 1);
}

std::string CTerObs::Zapis(long i) const
{
    return BesediloF(Besedilo::ZacetekZapisa, B(vrsta->opis), OznakaZapisa(i).c_str());
}

std::string CTerObs::PoljeZapisa(std::istream& in, long i) const
{
    // The end of the file or "*K" cut the record short.
    std::string w;
    if (!BeriBesedo(in, w) || w == "*K")
        NivexError(BesediloF(Besedilo::NapakaZapisNepopoln, Zapis(i).c_str()));
    return w;
}

std::string CTerObs::ReadPT(std::istream& in, long i) const { return PoljeZapisa(in, i); }

real CTerObs::ReadNum(std::istream& in, long i) const { return BesedaVNum(PoljeZapisa(in, i), i); }

long CTerObs::ReadInt(std::istream& in, long i, long lo, long hi) const { return BesedaVInt(PoljeZapisa(in, i), i, lo, hi); }

real CTerObs::BesedaVNum(const std::string& w, long i) const
{
    real x = 0.0L;
    if (!BesedaVStevilo(w, x))
        NivexError(BesediloF(Besedilo::NapakaBesedaNiStevilo, Zapis(i).c_str(), Citat(w).c_str()));
    return x;
}

long CTerObs::BesedaVInt(const std::string& w, long i, long lo, long hi) const
{
    long x = 0;
    if (!BesedaVCelo(w, x, lo, hi))
        NivexError(BesediloF(Besedilo::NapakaBesedaNiCelo, Zapis(i).c_str(), Citat(w).c_str(), lo, hi));
    return x;
}
