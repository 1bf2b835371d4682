#include "src/CTerObsHdif.h"

CTerObsHdif::CTerObsHdif() { Vrsta = TerObsOpis('h', 1); }

void CTerObsHdif::SetPar(unsigned long n, unsigned short xvel)
{
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    So = 0.0L;
    if (n == 0) return;
    PTS.resize(n, 2);
    OBS.resize(n, 1);
    SIG.resize(n, 1);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsHdif::ReadObsLine_PT(std::istream& in, long i)
{
    PTS(i, 0) = ReadPT(in, i);
    PTS(i, 1) = ReadPT(in, i);
}

void CTerObsHdif::ReadObsLine_OBS(std::istream& in, long i)
{
    OBS(i, 0) = ReadNum(in, i);
    SIG(i, 0) = ReadNum(in, i);
    TestStDev(static_cast<std::int32_t>(i), "DELTA H", SIG(i, 0), 1e-6);
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
    SIG(i, 0) /= 1000.0L;
}

void CTerObsHdif::PrintObsLine_PT(std::ostream& out, long i)
{
    TerObsTxt(out, PTS(i, 0), 6);
    TerObsTxt(out, PTS(i, 1), 6);
}

void CTerObsHdif::PrintObsLine_OBS(std::ostream& out, long i)
{
    TerObsNum(out, OBS(i, 0), 15, 4);
    TerObsNum(out, SIG(i, 0) * 1000.0L, 8, 2);
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

std::string CTerObsHdif::Crta() const
{
    std::string s = "-----------------------------------------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsHdif::PrintAllHead(std::ostream& out)
{
    out << "OPAZOVANE VISINSKE RAZLIKE:" << "\n" << "---------------------------" << "\n\n";
    out << "        TC1   TC2         DH         sDH ";
    if (XVel != 0) out << "     T  ";
    out << "\n";
    out << "                          [m]        [mm]";
    out << "\n" << Crta() << "\n";
}

void CTerObsHdif::PrintAllEnd(std::ostream& out) { out << Crta(); }
