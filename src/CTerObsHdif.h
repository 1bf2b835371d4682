// CTerObsHdif: measured height differences between two points (h records).
//
// Height differences in metres; deviations are given in millimetres and held
// in metres.  Reading, the zero-deviation check ("DELTA H", 1e-6 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSHDIF_H
#define NIVEX_SRC_CTEROBSHDIF_H

#include "src/CTerObs.h"

class CTerObsHdif : public CTerObs {
public:
    CTerObsHdif() : CTerObs(kTOHdif) {}

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel) { Velikost(n, xvel, 1, true); }

protected:
    Glava GlavaTabele() const override;
};

#endif
