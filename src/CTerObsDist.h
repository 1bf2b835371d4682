// CTerObsDist: measured distances between two points, horizontal (D
// records, Dim 2) or spatial (L records, Dim 3); one class, two instances.
//
// Distances in metres; deviations are given in millimetres and held in
// metres.  Reading, the zero-deviation check ("DOLZINA", 1e-5 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSDIST_H
#define NIVEX_SRC_CTEROBSDIST_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsDist : public CTerObs {
public:
    // s: kTODist2 or kTODist3.
    explicit CTerObsDist(TerObsSet s = kTODist2) : CTerObs(s), Dim(s == kTODist3 ? 3 : 2) {}

    using CTerObs::SetPar;
    // dim 2: horizontal distances, 3: spatial distances.
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim);

    unsigned short GetDim() const { return Dim; }

    std::uint16_t Dim;

protected:
    Glava GlavaTabele() const override;
};

#endif
