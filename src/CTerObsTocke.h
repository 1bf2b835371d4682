// CTerObsTocke: what the two point lists share, the approximate heights of a
// levelling network (CTerObsHA) and the approximate coordinates of a plane
// or spatial network (CTerObsCrdA), and the one lookup of a point by name.
//
// A point's position in the list (from 0, file order) is its number in the
// whole model.  A record holds the name, `Dim` approximate values, with
// a-priori velocities (*XV0, only together with *XVT) `Dim` velocity
// components, and with velocity estimation (*XVT) a velocity flag.  The
// solution (CGMMSol::SetResults) overwrites OBS (and VELA) with the
// adjusted values in every iteration; the names never change after reading.
//
// Every lookup of a point, by the equations, the datum and the prints, goes
// through FindPoint or PointIndex: the first occurrence of a name counts, and
// a name that is not in the list ends the run with the missing-point message
// (PointIndex).
#ifndef NIVEX_SRC_CTEROBSTOCKE_H
#define NIVEX_SRC_CTEROBSTOCKE_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "src/CTerObs.h"

// The missing-point message (framed, to the console and the report), with
// where the name stands (`kje`) on a line of its own when given, and the end
// of the run.
[[noreturn]] void TerObsPointError(const std::string& name, const std::string& kje = "");

class CTerObsTocke : public CTerObs {
public:
    using CTerObs::CTerObs;

    // Sizes the list for n points of dim values; *XV0 without *XVT is refused.
    void SetTocke(unsigned long n, unsigned short xvel, unsigned short dim, unsigned short ifva);

    void ReadObsLine_OBS(std::istream& in, long i) override;
    void PrintObsLine_OBS(std::ostream& out, long i) override;

    // Position of `name` in the list (its first occurrence), -1 when absent.
    long FindPoint(const std::string& name) const;
    // Position of `name`; a name that is not in the list ends the run.
    long PointIndex(const std::string& name) const;
    // Warns once for every name that stands more than once in the list and
    // keeps only its first record: the later ones get no unknowns and are
    // not counted as points.
    void SetUniquePTS();

    unsigned short GetIfVel(long i) const { return ifVel(i); }
    real GetVELA(long i, long j) const { return VELA(i, j); }
    unsigned short GetIfVA() const { return ifVA; }
    unsigned short GetDim() const { return Dim; }

    matrika<std::uint16_t> ifVel;
    // Points declared by the name alone (an X record without values): their
    // approximate values are computed from the observations (FPriblizne).
    std::vector<char> racunana;
    matrika<real> VELA;
    std::uint16_t Dim = 1;
    std::uint16_t ifVA = 0;

protected:
    // Columns of a velocity and of the flag in the report.
    int sirinaHitrosti = 0, sirinaZastavice = 0;

private:
    // Name -> first position; built at the first lookup after sizing.
    mutable std::unordered_map<std::string, long> indeks;
    mutable bool indeksSestavljen = false;
};

#endif
