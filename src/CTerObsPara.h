// CTerObsPara: angles between two directions given by four points (P
// records): the first direction from point 1 to point 2, the second from
// point 3 to point 4.
//
// Angles and deviations are held in radians; the file gives them in the
// angle unit of the settings.  A zero deviation is accepted here.
#ifndef NIVEX_SRC_CTEROBSPARA_H
#define NIVEX_SRC_CTEROBSPARA_H

#include "src/CTerObs.h"

class CTerObsPara : public CTerObs {
public:
    CTerObsPara() : CTerObs(kTOPara) {}

    using CTerObs::SetPar;
    // unit "DMS", "GON" or "DEG"; others are fatal.
    void SetPar(unsigned long n, unsigned short xvel, const std::string& unit)
    {
        SetAngUnit(unit);
        Velikost(n, xvel, 1, true);
    }

    // The third name stands in 9 columns, the others in 6.
    void PrintObsLine_PT(std::ostream& out, long i) override;

    const std::string& GetAngUnit() const { return AngUnit; }

protected:
    Glava GlavaTabele() const override;
};

#endif
