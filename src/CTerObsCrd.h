// CTerObsCrd: observed coordinates of points (C records), Dim values per
// point with their standard deviations.
//
// Coordinates in metres; deviations are given in millimetres and held in
// metres.  Reading, the zero-deviation check ("KOORDINATE", 1e-4 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSCRD_H
#define NIVEX_SRC_CTEROBSCRD_H

#include "src/CTerObs.h"

class CTerObsCrd : public CTerObsDim {
public:
    CTerObsCrd() : CTerObsDim(kTOCrd) {}

protected:
    Glava GlavaTabele() const override;
};

#endif
