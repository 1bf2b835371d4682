// CTerObsVec: coordinate-difference vectors between two points (V records),
// e.g. satellite baselines; Dim components with Dim standard deviations.
//
// Components in metres; deviations are given in millimetres and held in
// metres.  Reading, the zero-deviation check ("VEKTOR", 1e-5 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSVEC_H
#define NIVEX_SRC_CTEROBSVEC_H

#include "src/CTerObs.h"

class CTerObsVec : public CTerObsDim {
public:
    CTerObsVec() : CTerObsDim(kTOVec) {}

protected:
    std::string Naslov() const override;
    Glava GlavaTabele() const override;
};

#endif
