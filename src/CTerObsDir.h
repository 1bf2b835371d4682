// CTerObsDir: observations that are one angle between two points; three
// instances hold horizontal directions (S records, kind "DIR"), zenith
// distances (Z, "ZEN") and azimuths or grid bearings (A, "AZI").
//
// Angles and deviations are held in radians; the file gives them in the
// angle unit of the settings ("DMS", "GON", "DEG"), deviations in arc
// seconds or milligon.  A deviation of 1e-4 or less ends the run, labelled
// by the kind ("HZ SMER", "ZENITNA RAZDALJA", "AZIMUT").  Directions enter
// the model only through the composed angles (CTerObsAngl).
#ifndef NIVEX_SRC_CTEROBSDIR_H
#define NIVEX_SRC_CTEROBSDIR_H

#include "src/CTerObs.h"

class CTerObsDir : public CTerObs {
public:
    // s: kTODir, kTOZen or kTOAzi.
    explicit CTerObsDir(TerObsSet s = kTODir)
        : CTerObs(s), AngTyp(s == kTOZen ? "ZEN" : s == kTOAzi ? "AZI" : "DIR")
    {
    }

    using CTerObs::SetPar;
    // unit "DMS", "GON" or "DEG"; kind "DIR", "ZEN" or "AZI"; others are fatal.
    void SetPar(unsigned long n, unsigned short xvel, const std::string& unit, const std::string& kind);

    const std::string& GetAngTyp() const { return AngTyp; }
    const std::string& GetAngUnit() const { return AngUnit; }

    std::string AngTyp;

protected:
    Glava GlavaTabele() const override;
};

#endif
