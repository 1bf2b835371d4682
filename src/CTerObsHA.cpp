#include "src/CTerObsHA.h"

#include "src/NivexAux.h"

CTerObsHA::CTerObsHA() { Vrsta = TerObsOpis('X', 1); }

void CTerObsHA::SetPar(unsigned long n, unsigned short xvel, unsigned short ifva)
{
    if (ifva != 0 && xvel == 0)
        NivexError(" **** A-priori hitrosti tock (*XV0) so mozne le ob oceni hitrosti (*XVT)!!     *** ");
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    ifVA = ifva;
    if (n == 0) return;
    PTS.resize(n, 1);
    OBS.resize(n, 1);
    if (XVel != 0) {
        ifVel.resize(n, 1);
        VELA.resize(n, 1, 0.0L);
    }
}

void CTerObsHA::ReadObsLine_PT(std::istream& in, long i) { PTS(i, 0) = ReadPT(in, i); }

void CTerObsHA::ReadObsLine_OBS(std::istream& in, long i)
{
    OBS(i, 0) = ReadNum(in, i);
    if (ifVA != 0) VELA(i, 0) = ReadNum(in, i);
    if (XVel != 0) ifVel(i) = static_cast<std::uint16_t>(ReadInt(in, i, 0, 65535));
}

void CTerObsHA::PrintObsLine_PT(std::ostream& out, long i) { TerObsTxt(out, PTS(i, 0), 6); }

void CTerObsHA::PrintObsLine_OBS(std::ostream& out, long i)
{
    TerObsNum(out, OBS(i, 0), 14, 5);
    if (ifVA != 0) TerObsNum(out, VELA(i, 0), 10, 5);
    if (XVel != 0) TerObsTxt(out, std::to_string(ifVel(i)), 4);
}

std::string CTerObsHA::Crta() const
{
    std::string s = "--------------------------";
    if (ifVA != 0) s += "----------";
    if (XVel != 0) s += "-----";
    return s;
}

void CTerObsHA::PrintAllHead(std::ostream& out)
{
    out << "A-PRIORI VISINE TOCK:" << "\n" << "---------------------" << "\n\n";
    out << "        TC          H     ";
    if (ifVA != 0) out << "    VH    ";
    if (XVel != 0) out << "  VEL";
    out << "\n";
    out << "                   [m]";
    if (ifVA != 0) out << "        [m]";
    out << "\n" << Crta() << "\n";
}

void CTerObsHA::PrintAllEnd(std::ostream& out) { out << Crta(); }
