// CTerObsHA: the point list of a levelling (one-dimensional) network, the
// approximate heights of the X records.
//
// Everything a point list holds and how it is read and looked up is in
// CTerObsTocke (one value per point); this set adds its sizing and its table
// in the input report.
#ifndef NIVEX_SRC_CTEROBSHA_H
#define NIVEX_SRC_CTEROBSHA_H

#include "src/CTerObsTocke.h"

class CTerObsHA : public CTerObsTocke {
public:
    CTerObsHA();

    using CTerObs::SetPar;
    // Sizes the list for n points; *XV0 without *XVT is refused.
    void SetPar(unsigned long n, unsigned short xvel, unsigned short ifva) { SetTocke(n, xvel, 1, ifva); }

protected:
    Glava GlavaTabele() const override;
};

#endif
