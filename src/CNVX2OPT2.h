// CNVX2OPT2: the data file for a later second-order design (optimisation of
// the observation weights): the coefficient matrix of the observation
// equations of the last pass, one line per observation row.
//
// Datum rows that the model keeps below the observation rows are not
// written.  A file that cannot be written is skipped with a warning
// (NVX2OdpriDatoteko).
#ifndef NIVEX_SRC_CNVX2OPT2_H
#define NIVEX_SRC_CNVX2OPT2_H

#include <ostream>
#include <string>

class CGMM;

class CNVX2OPT2 {
public:
    CNVX2OPT2() = default;
    CNVX2OPT2(const CNVX2OPT2&) = delete;
    CNVX2OPT2& operator=(const CNVX2OPT2&) = delete;

    void SetContPrint(int flag);
    void SetOPT2File(const std::string& base, const std::string& suffix);
    void PrintOptim2(const CGMM& GMM, std::ostream& report);

    std::string opt2file;
    unsigned short contprint = 0;
};

#endif
