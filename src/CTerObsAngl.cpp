#include "src/CTerObsAngl.h"

#include <array>

#include "funkcije/funkcijeAux.h"
#include "funkcije/Besedila.h"
#include "src/NivexAux.h"

CTerObsAngl::CTerObsAngl(CTerObsDir& smer) : CTerObs(kTOAngl), SMER(smer) {}

long CTerObsAngl::PrejsnjaSmer(const CTerObsDir& smer, long j)
{
    if (!smer.Aktiven(j)) return -1;
    long i = j - 1;
    while (i >= 0 && !smer.Aktiven(i) && smer.IstaPostavitev(i, j)) --i;
    return i >= 0 && smer.Aktiven(i) && smer.IstaPostavitev(i, j) ? i : -1;
}

unsigned long CTerObsAngl::CountAngle(const CTerObsDir& smer)
{
    unsigned long n = 0;
    for (long j = 1; j < static_cast<long>(smer.nobs); ++j)
        if (PrejsnjaSmer(smer, j) >= 0) ++n;
    return n;
}

void CTerObsAngl::SetPar(unsigned short corr)
{
    nobs = static_cast<std::uint32_t>(CountAngle(SMER));
    aktiven.assign(nobs, 1);
    XVel = SMER.XVel;
    AngUnit = SMER.AngUnit;
    So = 0.0L;
    CorrAng = corr;
    NumCorr = 0;
    // Every direction has its entry, also when no angle could be formed.
    if (SMER.nobs != 0) IndAng.resize(SMER.nobs, 1, -1);
    vrstice.assign(nobs, 0);
    if (nobs == 0) return;
    PTS.resize(nobs, 3);
    OBS.resize(nobs, 1, 0.0L);
    SIG.resize(nobs, 2, 0.0L);
    if (XVel != 0) T.resize(nobs, 2);
    CalcAngle(SMER);
}

void CTerObsAngl::CalcAngle(const CTerObsDir& smer)
{
    const long nsmer = static_cast<long>(smer.nobs);
    if (nsmer == 0) return;
    IndAng(0) = -1;
    smeriKotov.clear();
    long k = 0;
    for (long j = 1; j < nsmer; ++j) {
        // A direction set aside (CTerObs::SetAktiven) is skipped: the angle
        // goes from the previous direction of the station that takes part.
        const long i = PrejsnjaSmer(smer, j);
        if (i < 0) {
            IndAng(j) = -1;
            continue;
        }
        OBS(k, 0) = smer.OBS(j, 0) - smer.OBS(i, 0);
        // Messages about the angle name the line of its first direction.
        SetVrstica(k, smer.Vrstica(i));
        PTS(k, 0) = smer.PTS(j, 0);
        PTS(k, 1) = smer.PTS(i, 1);
        PTS(k, 2) = smer.PTS(j, 1);
        const real s1 = smer.SIG(i, 0), s2 = smer.SIG(j, 0);
        SIG(k, 0) = dsqrt(s1 * s1 + s2 * s2);
        if (XVel != 0) {
            T(k, 0) = smer.T(i, 0);
            T(k, 1) = smer.T(j, 0);
        }
        // Angles k-1 and k are correlated only when they really share
        // direction i (angle k-1 ends with it), not merely when their
        // stations have the same name: a station may reappear later in the
        // file with directions of its own.
        if (k > 0 && IndAng(i) == k - 1) {
            if (CorrAng != 0) {
                SIG(k - 1, 1) = s1;
                ++NumCorr;
            }
        } else {
            SIG(k, 1) = 0.0L;
        }
        IndAng(j) = static_cast<std::int32_t>(k);
        smeriKotov.push_back({i, j});
        ++k;
    }
}

void CTerObsAngl::SetPrintAngQuant(const std::string& what)
{
    if (what != "ANG" && what != "ALL")
        NivexError(B(Besedilo::NapakaNastavitevKotov));
    PrintAngQuant = what;
}

void CTerObsAngl::PrintObsLine_OBS(std::ostream& out, long i)
{
    PrintKot(out, OBS(i, 0));
    PrintMaliKot(out, SIG(i, 0));
    if (dabs(SIG(i, 1)) > 1e-10) {
        PrintMaliKot(out, SIG(i, 1));
        out << " ";
    } else {
        out << "        ";
    }
    if (XVel != 0) {
        TerObsNum(out, T(i, 0), 9, 2);
        TerObsNum(out, T(i, 1), 9, 2);
    }
}

CTerObs::Glava CTerObsAngl::GlavaTabele() const
{
    const std::string t = XVel != 0 ? B(Besedilo::GlavaEpohiKota) : "";
    return {B(Besedilo::GlavaKoti) + t,
            std::string(30, ' ') + EnotaKota() + "        " + EnotaOdklona() + "  " + EnotaOdklona(),
            XVel != 0 ? 73u : 55u};
}

std::array<long, 2> CTerObsAngl::Smeri(long kot) const
{
    if (kot < 0 || static_cast<std::size_t>(kot) >= smeriKotov.size()) return {-1, -1};
    return smeriKotov[static_cast<std::size_t>(kot)];
}
