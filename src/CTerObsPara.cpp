#include "src/CTerObsPara.h"

void CTerObsPara::PrintObsLine_PT(std::ostream& out, long i)
{
    for (long c = 0; c < 4; ++c) TerObsTxt(out, PTS(i, c), c == 2 ? 9 : 6);
}

std::string CTerObsPara::Stolpci() const
{
    return std::string("        TC1   TC2      TC3   TC4       KOT         sKOT") + (XVel != 0 ? "     T  " : "");
}

std::string CTerObsPara::Enote() const
{
    return std::string(38, ' ') + EnotaKota() + "        " + EnotaOdklona() + (XVel != 0 ? "        " : "");
}

std::string CTerObsPara::Crta() const { return std::string(XVel != 0 ? 66 : 57, '-'); }
