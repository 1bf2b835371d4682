// CTerObsVec: coordinate-difference vectors between two points (V records),
// e.g. satellite baselines; Dim components with Dim standard deviations.
//
// Components in metres; deviations are given in millimetres and held in
// metres.  Reading, the zero-deviation check ("VEKTOR", 1e-5 mm) and the
// record print follow the table of record kinds (CTerObs).
#ifndef NIVEX_SRC_CTEROBSVEC_H
#define NIVEX_SRC_CTEROBSVEC_H

#include <cstdint>

#include "src/CTerObs.h"

class CTerObsVec : public CTerObs {
public:
    CTerObsVec() : CTerObs(kTOVec) {}

    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
    {
        Dim = dim;
        Velikost(n, xvel, dim, true);
    }

    unsigned short GetDim() const { return Dim; }

    std::uint16_t Dim = 2;

protected:
    std::string Naslov() const override;
    Glava GlavaTabele() const override;
};

#endif
