#include "src/CTerObsDir.h"

#include "src/NivexAux.h"

CTerObsDir::CTerObsDir() { Vrsta = TerObsOpis('S', 2); }

void CTerObsDir::SetPar(unsigned long n, unsigned short xvel, const std::string& unit, const std::string& kind)
{
    if (!TerObsAngUnitOK(unit))
        NivexError(" **** Nastavitev enote opazovanj NAPACNO [DMS, GON, DEG]!!     *** ");
    if (kind != "DIR" && kind != "ZEN" && kind != "AZI")
        NivexError(" **** Nastavitev vrste opazovanj NAPACNO [DIR, ZEN, AZI]!!     *** ");
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    AngUnit = unit;
    AngTyp = kind;
    So = 0.0L;
    Vrsta = TerObsOpis(kind == "DIR" ? 'S' : kind == "ZEN" ? 'Z' : 'A', 2);
    if (n == 0) return;
    PTS.resize(n, 2);
    OBS.resize(n, 1);
    SIG.resize(n, 1);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsDir::ReadObsLine_PT(std::istream& in, long i)
{
    PTS(i, 0) = ReadPT(in, i);
    PTS(i, 1) = ReadPT(in, i);
}

void CTerObsDir::ReadObsLine_OBS(std::istream& in, long i)
{
    ReadAngleRecord(in, i, AngUnit, "HZ SMER", 1e-4);
}

void CTerObsDir::PrintObsLine_PT(std::ostream& out, long i)
{
    TerObsTxt(out, PTS(i, 0), 6);
    TerObsTxt(out, PTS(i, 1), 6);
}

void CTerObsDir::PrintObsLine_OBS(std::ostream& out, long i)
{
    PrintAngleRecord(out, i, AngUnit);
}

std::string CTerObsDir::Crta() const
{
    std::string s = "----------------------------------------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsDir::PrintAllHead(std::ostream& out)
{
    if (AngTyp == "DIR")
        out << "OPAZOVANE SMERI:" << "\n" << "----------------" << "\n\n";
    else if (AngTyp == "ZEN")
        out << "OPAZOVANE ZENITNE RAZDALJE:" << "\n" << "---------------------------" << "\n\n";
    else
        out << "OPAZOVANI AZIMUTI/SMERNI KOTI:" << "\n" << "------------------------------" << "\n\n";
    out << "        TC1   TC2       " << AngTyp << "         s" << AngTyp;
    if (XVel != 0) out << "     T  ";
    out << "\n";
    if (AngUnit == "DMS")
        out << "                       [dms]        ['']";
    else if (AngUnit == "GON")
        out << "                       [gon]        [mg]";
    else
        out << "                       [deg]        ['']";
    if (XVel != 0) out << "        ";
    out << "\n" << Crta() << "\n";
}

void CTerObsDir::PrintAllEnd(std::ostream& out) { out << Crta(); }
