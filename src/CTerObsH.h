// CTerObsH: observed heights of points (H records).
//
// Heights in metres; deviations are given in millimetres and held in metres.
// Reading, the zero-deviation check ("MERJEN H", 1e-6 mm) and the record
// print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSH_H
#define NIVEX_SRC_CTEROBSH_H

#include "src/CTerObs.h"

class CTerObsH : public CTerObs {
public:
    CTerObsH() : CTerObs(kTOH) {}

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel) { Velikost(n, xvel, 1, true); }

protected:
    Glava GlavaTabele() const override;
};

#endif
