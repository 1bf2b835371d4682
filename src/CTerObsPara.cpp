#include "src/CTerObsPara.h"

#include "funkcije/Besedila.h"

void CTerObsPara::PrintObsLine_PT(std::ostream& out, long i)
{
    for (long c = 0; c < 4; ++c) TerObsTxt(out, PTS(i, c), c == 2 ? 9 : 6);
}

CTerObs::Glava CTerObsPara::GlavaTabele() const
{
    const std::string t = XVel != 0 ? B(Besedilo::GlavaEpohaOpazovanja) : "";
    return {B(Besedilo::GlavaKotiMedSmermi) + t,
            std::string(38, ' ') + EnotaKota() + "        " + EnotaOdklona() + std::string(t.size(), ' '),
            XVel != 0 ? 66u : 57u};
}
