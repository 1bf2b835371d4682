#include "src/CTerObsCrdA.h"

#include "src/NivexAux.h"

CTerObsCrdA::CTerObsCrdA() { Vrsta = TerObsOpis('X', 2); }

void CTerObsCrdA::SetPar(unsigned long n, unsigned short xvel, unsigned short dim, unsigned short ifva)
{
    // Without velocity estimation there is nowhere to put a-priori velocities,
    // and the X records would be misread field by field.
    if (ifva != 0 && xvel == 0)
        NivexError(" **** A-priori hitrosti tock (*XV0) so mozne le ob oceni hitrosti (*XVT)!!     *** ");
    nobs = static_cast<std::uint32_t>(n);
    XVel = xvel;
    Dim = dim;
    ifVA = ifva;
    Vrsta = TerObsOpis('X', dim);
    if (n == 0) return;
    PTS.resize(n, 1);
    OBS.resize(n, dim);
    if (XVel != 0) {
        ifVel.resize(n, 1);
        VELA.resize(n, dim, 0.0L);
    }
}

void CTerObsCrdA::ReadObsLine_PT(std::istream& in, long i) { PTS(i, 0) = ReadPT(in, i); }

void CTerObsCrdA::ReadObsLine_OBS(std::istream& in, long i)
{
    for (long k = 0; k < Dim; ++k) OBS(i, k) = ReadNum(in, i);
    if (ifVA != 0)
        for (long k = 0; k < Dim; ++k) VELA(i, k) = ReadNum(in, i);
    if (XVel != 0) ifVel(i) = static_cast<std::uint16_t>(ReadInt(in, i, 0, 65535));
}

void CTerObsCrdA::PrintObsLine_PT(std::ostream& out, long i) { TerObsTxt(out, PTS(i, 0), 6); }

void CTerObsCrdA::PrintObsLine_OBS(std::ostream& out, long i)
{
    for (long k = 0; k < Dim; ++k) TerObsNum(out, OBS(i, k), 12, 4);
    if (ifVA != 0)
        for (long k = 0; k < Dim; ++k) TerObsNum(out, VELA(i, k), 8, 4);
    if (XVel != 0) TerObsTxt(out, std::to_string(ifVel(i)), 5);
}

std::string CTerObsCrdA::Crta() const
{
    std::string s = "------------------------------------";
    if (Dim == 3) s += "------------";
    if (ifVA != 0) s += Dim == 3 ? "------------------------" : "----------------";
    if (XVel != 0) s += "------";
    return s;
}

void CTerObsCrdA::PrintAllHead(std::ostream& out)
{
    out << "A-PRIORI KOORDINATE TOCK:" << "\n" << "-------------------------" << "\n\n";
    out << "        TC          X           Y";
    if (Dim == 3) out << "           Z";
    if (ifVA != 0) out << "      VX      VY" << (Dim == 3 ? "      VZ" : "");
    if (XVel != 0) out << "      VEL";
    out << "\n";
    out << "                   [m]         [m]";
    if (Dim == 3) out << "         [m]";
    if (ifVA != 0) out << "     [m]     [m]" << (Dim == 3 ? "     [m]" : "");
    out << "\n" << Crta() << "\n";
}

void CTerObsCrdA::PrintAllEnd(std::ostream& out) { out << Crta(); }
