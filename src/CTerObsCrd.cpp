#include "src/CTerObsCrd.h"

CTerObsCrd::CTerObsCrd() { Vrsta = TerObsOpis('C', 2); }

void CTerObsCrd::SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
{
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    Dim = dim;
    So = 0.0L;
    if (n == 0) return;
    PTS.resize(n, 1);
    OBS.resize(n, dim);
    SIG.resize(n, dim);
    if (XVel != 0) T.resize(n, 1);
}

void CTerObsCrd::ReadObsLine_PT(std::istream& in, long i) { PTS(i, 0) = ReadPT(in, i); }

void CTerObsCrd::ReadObsLine_OBS(std::istream& in, long i)
{
    for (long k = 0; k < Dim; ++k) OBS(i, k) = ReadNum(in, i);
    for (long k = 0; k < Dim; ++k) {
        SIG(i, k) = ReadNum(in, i);
        TestStDev(static_cast<std::int32_t>(i), "KOORDINATE", SIG(i, k), 1e-4);
        SIG(i, k) /= 1000.0L;
    }
    if (XVel != 0) T(i, 0) = ReadNum(in, i);
}

void CTerObsCrd::PrintObsLine_PT(std::ostream& out, long i) { TerObsTxt(out, PTS(i, 0), 6); }

void CTerObsCrd::PrintObsLine_OBS(std::ostream& out, long i)
{
    for (long k = 0; k < Dim; ++k) TerObsNum(out, OBS(i, k), 12, 4);
    for (long k = 0; k < Dim; ++k) TerObsNum(out, SIG(i, k) * 1000.0L, 8, 2);
    if (XVel != 0) TerObsNum(out, T(i, 0), 9, 2);
}

std::string CTerObsCrd::Crta() const
{
    std::string s = "------------------------------------";
    if (Dim == 3) s += "------------";
    s += "----------------";
    if (Dim == 3) s += "--------";
    if (XVel != 0) s += "---------";
    return s;
}

void CTerObsCrd::PrintAllHead(std::ostream& out)
{
    out << "KOORDINATE TOCK:" << "\n" << "----------------" << "\n\n";
    out << "        TC          X           Y";
    if (Dim == 3) out << "           Z";
    out << "        sX      sY";
    if (Dim == 3) out << "      sZ";
    if (XVel != 0) out << "       T";
    out << "\n";
    out << "                   [m]         [m]";
    if (Dim == 3) out << "         [m]";
    out << "      [mm]    [mm]";
    if (Dim == 3) out << "    [mm]";
    out << "\n" << Crta() << "\n";
}

void CTerObsCrd::PrintAllEnd(std::ostream& out) { out << Crta(); }
