#include "src/CTerObsVec.h"

CTerObsVec::CTerObsVec() { Vrsta = TerObsOpis('V', 2); }

void CTerObsVec::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    Dim = dim;
    So = 0.0L;
    if (n == 0) return;
    PTS.resize(n, 2);
    OBS.resize(n, dim);
    SIG.resize(n, dim);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsVec::ReadObsLine_PT(std::istream& in, long i)
{
    PTS(i, 0) = ReadPT(in, i);
    PTS(i, 1) = ReadPT(in, i);
}

void CTerObsVec::ReadObsLine_OBS(std::istream& in, long i)
{
    for (long k = 0; k < Dim; ++k) OBS(i, k) = ReadNum(in, i);
    for (long k = 0; k < Dim; ++k) {
        SIG(i, k) = ReadNum(in, i);
        TestStDev(static_cast<std::int32_t>(i), "VEKTOR", SIG(i, k), 1e-5);
        SIG(i, k) /= 1000.0L;
    }
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
}

void CTerObsVec::PrintObsLine_PT(std::ostream& out, long i)
{
    TerObsTxt(out, PTS(i, 0), 6);
    TerObsTxt(out, PTS(i, 1), 6);
}

void CTerObsVec::PrintObsLine_OBS(std::ostream& out, long i)
{
    for (long k = 0; k < Dim; ++k) TerObsNum(out, OBS(i, k), 12, 4);
    for (long k = 0; k < Dim; ++k) TerObsNum(out, SIG(i, k) * 1000.0L, 8, 2);
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

std::string CTerObsVec::Crta() const
{
    std::string s = "------------------------------------------";
    if (Dim == 3) s += "------------";
    s += "----------------";
    if (Dim == 3) s += "--------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsVec::PrintAllHead(std::ostream& out)
{
    const bool d3 = Dim == 3;
    out << "OPAZOVANI " << (d3 ? "PROSTORSKI " : "HORIZONTALNI ") << "VEKTORJI:" << "\n";
    out << "----------" << (d3 ? "-----------" : "-------------") << "---------" << "\n\n";
    out << "        TC1   TC2        DX          DY";
    if (d3) out << "          DZ";
    out << "       sDX     sDY";
    if (d3) out << "     sDZ";
    if (XVel != 0) out << "       T";
    out << "\n";
    out << "                         [m]         [m]";
    if (d3) out << "         [m]";
    out << "      [mm]    [mm]";
    if (d3) out << "    [mm]";
    out << "\n" << Crta() << "\n";
}

void CTerObsVec::PrintAllEnd(std::ostream& out) { out << Crta(); }
