#include "src/CTerObs.h"

#include <iomanip>
#include <iostream>
#include <sstream>
#include <unordered_set>

#include "funkcije/KotnePretvorbe.h"
#include "funkcije/funkcijeAux.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

std::string TerObsOpis(char letter, unsigned short dim)
{
    switch (letter) {
    case 'X': return dim == 1 ? "X (priblizna visina tocke)" : "X (priblizne koordinate tocke)";
    case 'H': return "H (merjena visina)";
    case 'C': return "C (merjene koordinate)";
    case 'S': return "S (horizontalna smer)";
    case 'Z': return "Z (zenitna razdalja)";
    case 'A': return "A (azimut/smerni kot)";
    case 'P': return "P (kot med smermi)";
    case 'V': return "V (vektor)";
    case 'D': return "D (horizontalna dolzina)";
    case 'L': return "L (prostorska dolzina)";
    case 'h': return "h (visinska razlika)";
    default: return std::string(1, letter);
    }
}

void TerObsNum(std::ostream& out, long double v, int width, int decimals)
{
    out << std::right << std::fixed << std::setprecision(decimals) << std::setw(width) << v;
}

void TerObsTxt(std::ostream& out, const std::string& s, int width) { out << std::right << std::setw(width) << s; }

bool TerObsAngUnitOK(const std::string& unit) { return unit == "DMS" || unit == "GON" || unit == "DEG"; }

void TerObsAngle(std::ostream& out, const std::string& unit, long double rad)
{
    if (unit == "DMS")
        TerObsTxt(out, dms2dms(rad2dms(rad)), 15);
    else if (unit == "GON")
        TerObsNum(out, rad2gon(rad), 15, 6);
    else
        TerObsNum(out, rad2deg(rad), 15, 6);
}

void TerObsSmallAngle(std::ostream& out, const std::string& unit, long double rad)
{
    if (unit == "GON")
        TerObsNum(out, rad2gon(rad) * 1000.0L, 7, 2);
    else
        TerObsNum(out, rad2deg(rad) * 3600.0L, 7, 2);
}

void CTerObs::ReadObsLine_PT(std::istream&, long) {}
void CTerObs::ReadObsLine_OBS(std::istream&, long) {}

void CTerObs::SetPrintQuant(const std::string& what)
{
    if (what != "LINE" && what != "ALL")
        NivexError(" **** Nastavitev za izpis kolicine opazovanj NAPACNO [ALL, LINE]!!     *** ");
    PrintQuant = what;
}

void CTerObs::SetPrintWhat(const std::string& what)
{
    if (what != "OBS" && what != "PT" && what != "ALL")
        NivexError(" **** Nastavitev za izpis dela opazovanj NAPACNO [OBS, PT, ALL]!!     *** ");
    PrintWhat = what;
}

void CTerObs::CalcRefStDApr()
{
    if (nobs == 0 || SIG.nrow() == 0) return;
    const long double* s = SIG.data();
    for (unsigned long k = 0; k < SIG.size(); ++k) So += dabs(s[k]);
    So /= static_cast<long double>(SIG.nrow() * SIG.ncol());
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

void CTerObs::TestStDev(std::int32_t i, const char* label, long double sd, long double eps) const
{
    if (static_cast<long double>(dabs(sd)) > eps) return;
    std::ostringstream s;
    s << "\n\n";
    s << "  *****  NAPAKA" << std::string(74, ' ') << "*****" << "\n";
    s << "\n";
    s << "  *****  OPAZOVANJE: " << std::setw(5) << i << ".  " << std::setw(15) << label << ":"
      << "  PODAN STANDARDNI ODKLON NUMERICNO NIC!!!! *****";
    s << "\n\n";
    KoncnaNapaka(s.str());
}

void CTerObs::TestRepeatedPTS() const
{
    if (PTS.ncol() == 0) return;
    std::unordered_set<std::string> videne, javljene;
    videne.reserve(PTS.nrow());
    for (unsigned long i = 0; i < PTS.nrow(); ++i) {
        const std::string& ime = PTS(static_cast<long>(i), 0);
        if (!videne.insert(ime).second && javljene.insert(ime).second)
            NivexWarning(" #### Tocka " + ime +
                         " je v seznamu tock navedena veckrat - upostevana je prva navedba      #### ");
    }
}

namespace {
// A word quoted in a message is cut short so that a runaway word cannot
// flood the console.
std::string Citat(const std::string& w)
{
    constexpr std::size_t maks = 60;
    return "\"" + (w.size() > maks ? w.substr(0, maks) + "..." : w) + "\"";
}

[[noreturn]] void NepopolnZapis(const std::string& vrsta, long i)
{
    NivexError(" **** Zapis " + vrsta + " st. " + std::to_string(i + 1) +
               " je nepopoln (konec datoteke ali *K pred zadnjim podatkom)!!     *** ");
}

// Next field of record i; the end of the file or "*K" cut the record short.
std::string PoljeZapisa(std::istream& in, const std::string& vrsta, long i)
{
    std::string w;
    if (!BeriBesedo(in, w) || w == "*K") NepopolnZapis(vrsta, i);
    return w;
}
}  // namespace

std::string CTerObs::ReadPT(std::istream& in, long i) const { return PoljeZapisa(in, Vrsta, i); }

long double CTerObs::ReadNum(std::istream& in, long i) const
{
    const std::string w = PoljeZapisa(in, Vrsta, i);
    long double x = 0.0L;
    if (!BesedaVStevilo(w, x))
        NivexError(" **** Zapis " + Vrsta + " st. " + std::to_string(i + 1) + ": beseda " + Citat(w) +
                   " ni stevilo!!     *** ");
    return x;
}

long CTerObs::ReadInt(std::istream& in, long i, long lo, long hi) const
{
    const std::string w = PoljeZapisa(in, Vrsta, i);
    long x = 0;
    if (!BesedaVCelo(w, x, lo, hi))
        NivexError(" **** Zapis " + Vrsta + " st. " + std::to_string(i + 1) + ": beseda " + Citat(w) +
                   " ni celo stevilo [" + std::to_string(lo) + ", " + std::to_string(hi) + "]!!     *** ");
    return x;
}

void CTerObs::ReadAngle(std::istream& in, long i, const std::string& unit, long double& rad, long double& sd) const
{
    if (unit == "DMS") {
        // The sign of the degrees is not carried to minutes and seconds.
        const long double st = static_cast<long double>(ReadInt(in, i, -32768, 32767));
        const long double mi = static_cast<long double>(ReadInt(in, i, -32768, 32767));
        const long double se = ReadNum(in, i);
        sd = ReadNum(in, i);
        rad = deg2rad(se / 3600.0L + mi / 60.0L + st);
    } else if (unit == "GON") {
        const long double a = ReadNum(in, i);
        sd = ReadNum(in, i);
        rad = gon2rad(a);
    } else {
        const long double a = ReadNum(in, i);
        sd = ReadNum(in, i);
        rad = deg2rad(a);
    }
}

long double CTerObs::AngleSigRad(const std::string& unit, long double sd)
{
    return unit == "GON" ? gon2rad(sd / 1000.0L) : deg2rad(sd / 3600.0L);
}

void CTerObs::ReadAngleRecord(std::istream& in, long i, const std::string& unit, const char* label, long double eps)
{
    long double kot = 0.0L, sd = 0.0L;
    ReadAngle(in, i, unit, kot, sd);
    if (label != nullptr) TestStDev(static_cast<std::int32_t>(i), label, sd, eps);
    OBS(i, 0) = kot;
    SIG(i, 0) = AngleSigRad(unit, sd);
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
}

void CTerObs::PrintAngleRecord(std::ostream& out, long i, const std::string& unit) const
{
    TerObsAngle(out, unit, OBS(i, 0));
    TerObsSmallAngle(out, unit, SIG(i, 0));
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}
