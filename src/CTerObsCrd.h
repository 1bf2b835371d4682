// CTerObsCrd: observed coordinates of points (C records), Dim values per
// point with their standard deviations.
//
// Coordinates in metres; deviations are given in millimetres and held in
// metres.  Reading, the zero-deviation check ("KOORDINATE", 1e-4 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSCRD_H
#define NIVEX_SRC_CTEROBSCRD_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsCrd : public CTerObs {
public:
    CTerObsCrd() : CTerObs(kTOCrd) {}

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
    {
        Dim = dim;
        Velikost(n, xvel, dim, true);
    }

    unsigned short GetDim() const { return Dim; }

    std::uint16_t Dim = 2;

protected:
    Glava GlavaTabele() const override;
};

#endif
