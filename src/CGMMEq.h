// CGMMEq: what the driver asks of the equation builder of every observation
// kind, so it builds them from the table of record kinds (TerObsVrste) and
// calls them in the order of the model rows without knowing their classes.
//
// SetGMMEq writes the kind's rows from GMM.iRowBin on and advances it;
// PrintGMMEq prints them from GMM.iRowBout on (with izpisEnPop) and advances
// it.  Point lookup, row writing, cofactors and the print are the shared
// mechanism of FGMM; a builder supplies its observation function.
#ifndef NIVEX_SRC_CGMMEQ_H
#define NIVEX_SRC_CGMMEQ_H

#include <ostream>

class CGMMEq {
public:
    CGMMEq() = default;
    CGMMEq(const CGMMEq&) = delete;
    CGMMEq& operator=(const CGMMEq&) = delete;
    virtual ~CGMMEq() = default;

    virtual void SetGMMEq() = 0;
    virtual void PrintGMMEq(std::ostream& izhod) = 0;
};

#endif
