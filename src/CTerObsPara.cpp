#include "src/CTerObsPara.h"

#include "src/NivexAux.h"

CTerObsPara::CTerObsPara() { Vrsta = TerObsOpis('P', 2); }

void CTerObsPara::SetPar(unsigned long n, unsigned short xvel, const std::string& unit)
{
    if (!TerObsAngUnitOK(unit))
        NivexError(" **** Nastavitev enote opazovanj NAPACNO [DMS, GON, DEG]!!     *** ");
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    AngUnit = unit;
    So = 0.0L;
    if (n == 0) return;
    PTS.resize(n, 4);
    OBS.resize(n, 1);
    SIG.resize(n, 1);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsPara::ReadObsLine_PT(std::istream& in, long i)
{
    for (long c = 0; c < 4; ++c) PTS(i, c) = ReadPT(in, i);
}

void CTerObsPara::ReadObsLine_OBS(std::istream& in, long i)
{
    ReadAngleRecord(in, i, AngUnit, nullptr, 0.0L);
}

void CTerObsPara::PrintObsLine_PT(std::ostream& out, long i)
{
    TerObsTxt(out, PTS(i, 0), 6);
    TerObsTxt(out, PTS(i, 1), 6);
    TerObsTxt(out, PTS(i, 2), 9);
    TerObsTxt(out, PTS(i, 3), 6);
}

void CTerObsPara::PrintObsLine_OBS(std::ostream& out, long i)
{
    PrintAngleRecord(out, i, AngUnit);
}

std::string CTerObsPara::Crta() const
{
    std::string s = "---------------------------------------------------------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsPara::PrintAllHead(std::ostream& out)
{
    out << "OPAZOVANI KOTI MED SMERMI:" << "\n" << "--------------------------" << "\n\n";
    out << "        TC1   TC2      TC3   TC4       KOT         sKOT";
    if (XVel != 0) out << "     T  ";
    out << "\n";
    if (AngUnit == "DMS")
        out << "                                      [dms]        ['']";
    else if (AngUnit == "GON")
        out << "                                      [gon]        [mg]";
    else
        out << "                                      [deg]        ['']";
    if (XVel != 0) out << "        ";
    out << "\n" << Crta() << "\n";
}

void CTerObsPara::PrintAllEnd(std::ostream& out) { out << Crta(); }
