// redkaMatrika: a matrix kept by rows of (column, value) pairs, for the design
// matrix of the adjustment, whose rows touch two to six unknowns of thousands.
//
// It reads like a dense matrix: (i, j) of an element that is not stored is 0.
// Writing (i, j) stores the element (columns of a row stay ascending), so the
// equation builders fill it exactly as they would fill a dense matrix; an
// element once stored stays stored, even when 0 is written to it later, so the
// pattern of the rows is the same in every iteration.  Indices are checked
// like those of matrika; a bad one ends the run through matrikaError.
#ifndef NIVEX_MATRIKA_REDKAMATRIKA_H
#define NIVEX_MATRIKA_REDKAMATRIKA_H

#include <span>
#include <vector>

#include "matrika/matrika.h"

class redkaMatrika {
public:
    struct Element {
        unsigned long stolpec;
        real vrednost;
    };

    redkaMatrika() = default;
    // The non-zero elements of a dense matrix.
    explicit redkaMatrika(const matrika<real>& A) { *this = A; }
    redkaMatrika& operator=(const matrika<real>& A);

    // r x c, no element stored.
    void resize(unsigned long r, unsigned long c);
    unsigned long nrow() const { return static_cast<unsigned long>(vrstice.size()); }
    unsigned long ncol() const { return col_; }
    // Number of stored elements.
    unsigned long nnz() const;

    real operator()(long i, long j) const;
    real& operator()(long i, long j);
    // Put: the elements of B so that B(0,0) lands on (i, j); zeros of B clear
    // stored elements and store nothing new.
    redkaMatrika& operator()(const matrika<real>& B, long i, long j);

    std::span<const Element> vrstica(unsigned long i) const { return vrstice[i]; }
    std::span<Element> vrstica(unsigned long i) { return vrstice[i]; }
    // Row i becomes v (columns ascending, within the matrix); v gets the old row.
    void zamenjajVrstico(unsigned long i, std::vector<Element>& v);
    // The dense r x c copy.
    matrika<real> gosta() const;

private:
    void preveri(long i, long j, long line) const;
    unsigned long col_ = 0;
    std::vector<std::vector<Element>> vrstice;
};

#endif
