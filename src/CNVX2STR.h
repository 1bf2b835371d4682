// CNVX2STR: the data file for a later S-transformation of a free network or
// of one fixed by minimal constraints: dimension, points, approximate
// coordinates (or heights) with their corrections, the reference variance
// and the cofactor block of the coordinate unknowns.
//
// Facts a caller must know:
// - Only a datum without fixed points (kinds D and H) gives every point its
//   unknowns; the caller refuses the others before anything is written here.
// - The approximate values are those the last pass linearised at: the
//   point list (already adjusted) minus the corrections of that pass.
// - The cofactor block is written row by row from the solution; it has
//   points x dimension rows and columns even when the model has further
//   unknowns (refraction coefficients).
// - A file that cannot be written is skipped with a warning (NVX2OdpriDatoteko).
#ifndef NIVEX_SRC_CNVX2STR_H
#define NIVEX_SRC_CNVX2STR_H

#include <ostream>
#include <string>

class CTerObs;
class CTerObsHA;
class CTerObsCrdA;
class CGMM;
class CRezultati;

class CNVX2STR {
public:
    CNVX2STR() = default;
    CNVX2STR(const CNVX2STR&) = delete;
    CNVX2STR& operator=(const CNVX2STR&) = delete;

    void SetContPrint(int flag);
    void SetSTRFile(const std::string& base, const std::string& suffix);
    void SetDimensions(unsigned short dim);

    void PrintSTrans_1D(const CTerObsHA& TOHA, const CGMM& GMM, const CRezultati& rez, std::ostream& report);
    void PrintSTrans_2D(const CTerObsCrdA& TOCrdA, const CGMM& GMM, const CRezultati& rez, std::ostream& report);
    void PrintSTrans_3D(const CTerObsCrdA& TOCrdA, const CGMM& GMM, const CRezultati& rez, std::ostream& report);

    std::string strfile;
    unsigned short contprint = 0;
    unsigned short Dim = 0;

private:
    void Print(const CTerObs& tocke, const CGMM& GMM, const CRezultati& rez, std::ostream& report);
};

#endif
