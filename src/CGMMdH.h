// CGMMdH: the datum of a free network by inner constraints (datum kind H).
//
// In every iteration SetGMMdH rebuilds, at the current approximate values,
// the inner-constraint matrix `Hdat` over all points and its reduced form
// `Hred` over the datum points (all points except those named on "**H"
// lines), and appends `Hred` below the `nobs` observation rows of `Bmat` as
// pseudo-observations Hred * delta = 0 of unit weight.  It does nothing
// unless the datum kind is H, and nothing with the "SVD" solution method
// (that method copes with the defect itself).
//
// Facts a caller must know:
// - The model (CGMM::DataSet) has already sized `Hdat`, `Hred`, `Bmat`,
//   `fvec`, `Qll` and set the defect flags; the rows of H follow the flags:
//   translations tx, ty[, tz] (entries 1/sqrt(m) for m taking points), then
//   rotations wx, wy, wz, then one scale row (m2 and/or m3), the rotation and
//   scale rows about the centroid of the taking points and each scaled to
//   unit length.  A levelling network has one row, 1/sqrt(m) per height.
// - Refused with a framed message and exit status 1: a datum list name that
//   is not in the point list, no datum point left, and datum points that
//   cannot define a rotation or scale row (all at one place, or on one line
//   along the axis of the rotation).
#ifndef NIVEX_SRC_CGMMDH_H
#define NIVEX_SRC_CGMMDH_H

#include <string>
#include <vector>

#include "matrika/matrika.h"

class CProcSet;
class CGDatum;
class CTerObsTocke;
class CTerObsZbirka;
class CGMM;

class CGMMdH {
public:
    CGMMdH(CProcSet& procset, CGDatum& gdatum, CTerObsZbirka& TO, CGMM& GMM);
    ~CGMMdH() = default;
    CGMMdH(const CGMMdH&) = delete;
    CGMMdH& operator=(const CGMMdH&) = delete;

    // Builds Hdat and Hred and appends Hred to the model (datum kind H, not "SVD").
    void SetGMMdH();

    // Hdat over all points of the levelling, plane or spatial point list.
    void SetHdat1();
    void SetHdat2();
    void SetHdat3();
    // Hred over the points not named on "**H" lines; a copy of Hdat when there are none.
    void SetHred1();
    void SetHred2();
    void SetHred3();

private:
    void SetHred(unsigned short Dim);

    CProcSet& procset;
    CGDatum& gdatum;
    CTerObsZbirka& TO;
    CGMM& GMM;
};

// ---------------------------------------------------------------------------
// Shared by CGMMdH and CGMMdD.

// Inner-constraint rows into H (its size is kept, its elements rewritten)
// over the points p with datumska[p] true, for a network of dimension Dim
// with approximate values X (one row per point, Dim columns; heights for
// Dim 1).  Rows follow the defect flags of GMM; `ime` names the matrix in
// messages ("H", "H(red)").
void GMMdHSetH(matrika<real>& H, const CGMM& GMM, unsigned short Dim, const matrika<real>& X,
               const std::vector<bool>& datumska, const std::string& ime);

// Hdat over every point of the point list, for a network of dimension Dim.
void GMMdSetHdat(CGMM& GMM, const CTerObsTocke& tocke, unsigned short Dim);

// Writes the constraint rows C into Bmat from row nobs on, each a
// pseudo-observation with misclosure 0 and cofactor 1 (no correlation).
// `trace` is the console line before the row counter ("" for no trace).
void GMMdAppendRows(CGMM& GMM, const matrika<real>& C, const std::string& trace);

#endif
