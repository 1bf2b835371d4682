#include "src/CTerObsH.h"

CTerObsH::CTerObsH() { Vrsta = TerObsOpis('H', 1); }

void CTerObsH::SetPar(unsigned long n, unsigned short xvel)
{
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    So = 0.0L;
    if (n == 0) return;
    PTS.resize(n, 1);
    OBS.resize(n, 1);
    SIG.resize(n, 1);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsH::ReadObsLine_PT(std::istream& in, long i) { PTS(i, 0) = ReadPT(in, i); }

void CTerObsH::ReadObsLine_OBS(std::istream& in, long i)
{
    OBS(i, 0) = ReadNum(in, i);
    SIG(i, 0) = ReadNum(in, i);
    TestStDev(static_cast<std::int32_t>(i), "MERJEN H", SIG(i, 0), 1e-6);
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
    SIG(i, 0) /= 1000.0L;
}

void CTerObsH::PrintObsLine_PT(std::ostream& out, long i) { TerObsTxt(out, PTS(i, 0), 6); }

void CTerObsH::PrintObsLine_OBS(std::ostream& out, long i)
{
    TerObsNum(out, OBS(i, 0), 14, 5);
    TerObsNum(out, SIG(i, 0) * 1000.0L, 8, 2);
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

std::string CTerObsH::Crta() const
{
    return XVel != 0 ? "---------------------------------------------" : "------------------------------------";
}

void CTerObsH::PrintAllHead(std::ostream& out)
{
    out << "VISINE TOCK:" << "\n" << "------------" << "\n\n";
    out << "        TC          H         sH";
    if (XVel != 0) out << "        T";
    out << "\n";
    out << "                   [m]       [mm]";
    out << "\n" << Crta() << "\n";
}

void CTerObsH::PrintAllEnd(std::ostream& out) { out << Crta(); }
