// CTerObsAngl: horizontal angles composed from neighbouring directions of one
// station; the model adjusts these angles, never the directions themselves.
//
// A station with n consecutive directions gives n - 1 angles, each from one
// direction to the next (later minus earlier, not reduced to a range).
// SIG column 0 is the angle's deviation, column 1 the deviation of the
// direction it shares with the next angle of the station (0 when none, or
// when correlations are switched off); neighbouring angles are negatively
// correlated through it.  IndAng(j) is the angle that ends with direction j,
// -1 for the first direction of a station.  Built by SetPar after the
// directions are read, and again when directions are set aside
// (CTerObs::SetAktiven): the angles then join the directions of a station
// that take part, so a direction set aside leaves the station as if its
// line were not in the file.
#ifndef NIVEX_SRC_CTEROBSANGL_H
#define NIVEX_SRC_CTEROBSANGL_H

#include <array>
#include <vector>
#include <cstdint>

#include "src/CTerObsDir.h"

class CTerObsAngl : public CTerObs {
public:
    explicit CTerObsAngl(CTerObsDir& smer);
    ~CTerObsAngl() override = default;

    using CTerObs::SetPar;
    // Builds the angles from the directions; corr: form the correlations.
    void SetPar(unsigned short corr);
    // Number of directions whose station equals that of the direction before.
    static unsigned long CountAngle(const CTerObsDir& smer);
    // The direction before direction j of the same station among those that
    // take part; -1 when there is none or j itself is set aside.
    static long PrejsnjaSmer(const CTerObsDir& smer, long j);
    void CalcAngle(const CTerObsDir& smer);
    // "ANG" or "ALL" (both print the table of composed angles); others are fatal.
    void SetPrintAngQuant(const std::string& what);

    void PrintObsLine_OBS(std::ostream& out, long i) override;

    long GetIndAng(long j) const { return IndAng(j); }
    // The two directions (their records) that angle `kot` is composed of,
    // the earlier first; {-1, -1} for no such angle.
    std::array<long, 2> Smeri(long kot) const;
    unsigned long GetNumCorr() const { return NumCorr; }
    unsigned short GetCorrAng() const { return CorrAng; }
    const std::string& GetAngUnit() const { return AngUnit; }

    std::string PrintAngQuant = "ANG";
    std::uint16_t CorrAng = 1;
    std::uint32_t NumCorr = 0;
    CTerObsDir& SMER;
    matrika<std::int32_t> IndAng;
    // The two directions of every angle, by angle (CalcAngle).
    std::vector<std::array<long, 2>> smeriKotov;

protected:
    Glava GlavaTabele() const override;
};

#endif
