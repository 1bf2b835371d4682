#include "src/CTerObsDist.h"

CTerObsDist::CTerObsDist() { Vrsta = TerObsOpis('D', 2); }

void CTerObsDist::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    Dim = dim;
    So = 0.0L;
    Vrsta = TerObsOpis(dim == 3 ? 'L' : 'D', dim);
    if (n == 0) return;
    PTS.resize(n, 2);
    OBS.resize(n, 1);
    SIG.resize(n, 1);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsDist::ReadObsLine_PT(std::istream& in, long i)
{
    PTS(i, 0) = ReadPT(in, i);
    PTS(i, 1) = ReadPT(in, i);
}

void CTerObsDist::ReadObsLine_OBS(std::istream& in, long i)
{
    OBS(i, 0) = ReadNum(in, i);
    SIG(i, 0) = ReadNum(in, i);
    TestStDev(static_cast<std::int32_t>(i), "DOLZINA", SIG(i, 0), 1e-5);
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
    SIG(i, 0) /= 1000.0L;
}

void CTerObsDist::PrintObsLine_PT(std::ostream& out, long i)
{
    TerObsTxt(out, PTS(i, 0), 6);
    TerObsTxt(out, PTS(i, 1), 6);
}

void CTerObsDist::PrintObsLine_OBS(std::ostream& out, long i)
{
    TerObsNum(out, OBS(i, 0), 15, 4);
    TerObsNum(out, SIG(i, 0) * 1000.0L, 8, 2);
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

std::string CTerObsDist::Crta() const
{
    std::string s = "-----------------------------------------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsDist::PrintAllHead(std::ostream& out)
{
    const bool d2 = Dim == 2;
    out << "OPAZOVANE " << (d2 ? "HORIZONTALNE " : "PROSTORSKE ") << "DOLZINE:" << "\n";
    out << "----------" << (d2 ? "-------------" : "-----------") << "--------" << "\n\n";
    out << "        TC1   TC2        DIST       sDIST";
    if (XVel != 0) out << "     T  ";
    out << "\n";
    out << "                          [m]        [mm]";
    out << "\n" << Crta() << "\n";
}

void CTerObsDist::PrintAllEnd(std::ostream& out) { out << Crta(); }
