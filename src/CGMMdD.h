// CGMMdD: the datum of a network by minimal constraints (datum kind D).
//
// In every iteration SetGMMdD rebuilds, at the current approximate values,
// the inner-constraint matrix `Hdat` over all points (as CGMMdH does; the
// solution uses it for the datum correction of the cofactors) and the
// minimal-constraint matrix `Ddat`, one row per given quantity of the datum
// lists, and appends `Ddat` below the `nobs` observation rows of `Bmat` as
// pseudo-observations Ddat * delta = 0 of unit weight, for every solution
// method.  It does nothing unless the datum kind is D.
//
// Rows of Ddat, numbered from 0 in this order: "**DH" (levelling network
// only), "**DX", "**DY", "**DZ", "**DdX", "**DdY", "**DdZ", "**DS", "**DD",
// "**DZen".  Given coordinates carry 1.0 in their column.  Pair rows carry
// the derivatives of the quantity (coordinate difference, grid bearing,
// distance, zenith distance) by the coordinates of both points; a coordinate
// listed as given ("**DX", "**DY", "**DZ") gets 0, and the row is scaled to
// unit length (left zero when its length is 1e-14 or less).
//
// Refused with a framed message and exit status 1: a datum name that is not
// in the point list, a quantity that does not exist in the network's
// dimension (e.g. "**DZ" in a plane network, "**DH" outside a levelling
// network), a pair that names one point twice, and a pair whose points
// coincide where the quantity needs a length (bearing, distance, zenith
// distance).
#ifndef NIVEX_SRC_CGMMDD_H
#define NIVEX_SRC_CGMMDD_H

#include <string>

#include "matrika/matrika.h"

class CProcSet;
class CGDatum;
class CTerObsTocke;
class CTerObsZbirka;
class CGMM;

class CGMMdD {
public:
    CGMMdD(CProcSet& procset, CGDatum& gdatum, CTerObsZbirka& TO, CGMM& GMM);
    ~CGMMdD() = default;
    CGMMdD(const CGMMdD&) = delete;
    CGMMdD& operator=(const CGMMdD&) = delete;

    // Builds Hdat and Ddat and appends Ddat to the model (datum kind D).
    void SetGMMdD();

    // Hdat over all points, the same construction as CGMMdH.
    void SetHdat1();
    void SetHdat2();
    void SetHdat3();
    // Ddat of a levelling, plane or spatial network.
    void SetDdat1();
    void SetDdat2();
    void SetDdat3();

private:
    void SetDdat(unsigned short Dim);

    CProcSet& procset;
    CGDatum& gdatum;
    CTerObsZbirka& TO;
    CGMM& GMM;
};

#endif
