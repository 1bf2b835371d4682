// CTerObsCrdA: the point list of a two- or three-dimensional network, the
// approximate (a-priori) coordinates of the X records.
//
// Everything a point list holds and how it is read and looked up is in
// CTerObsTocke; this set adds its sizing and its table in the input report.
#ifndef NIVEX_SRC_CTEROBSCRDA_H
#define NIVEX_SRC_CTEROBSCRDA_H

#include "src/CTerObsTocke.h"

class CTerObsCrdA : public CTerObsTocke {
public:
    CTerObsCrdA();

    using CTerObs::SetPar;
    // Sizes the list for n points of dim (2 or 3) coordinates; *XV0 without *XVT is refused.
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim, unsigned short ifva)
    {
        SetTocke(n, xvel, dim, ifva);
    }

protected:
    Glava GlavaTabele() const override;
};

#endif
