// FDolgeVerige: a long chain of correlated composed angles (one station's set
// of hundreds or thousands of directions) read back as its directions.
//
// The angles of a set, a_i = d_(i+1) - d_i, have the tridiagonal cofactors
// T D T' (D the cofactors of the directions), whose inverse is dense.  Their
// normal equations are those of the directions with an orientation unknown
// of the set, the orientation eliminated:
//   B_a' (T D T')^-1 B_a = B_d' W B_d - g g' / c,
//   W = D^-1, g = B_d' W 1, c = 1' W 1,
// and the same holds for the right-hand side.  Both sides are unchanged when
// one row vector is added to every direction row, so a direction row is
// read off the angle rows: its target's columns from the angle that ends
// with it (the first direction's from the first angle, negated), its
// station's columns as the sum of the station's columns of the angles before
// it.  Its misclosure is the sum of the angles' misclosures before it.  Each
// row then touches only its station and its target.
#ifndef NIVEX_SRC_FDOLGEVERIGE_H
#define NIVEX_SRC_FDOLGEVERIGE_H

#include <vector>

#include "matrika/redkamatrika.h"

class CGMM;

struct SmeriVerige {
    unsigned long zacetek = 0;   // the first angle's model row
    unsigned long kotov = 0;     // angles; the directions are one more
    // Direction k: its row (model columns, ascending), misclosure and
    // weight (1 / its cofactor).
    std::vector<std::vector<redkaMatrika::Element>> vrstice;
    std::vector<real> f, w;
    real c = 0.0L;                     // sum of the weights
    std::vector<redkaMatrika::Element> g;   // sum of w_k * row k
};

// The directions of band block b of GMM.PllB (a long chain).
SmeriVerige SmeriDolgeVerige(const CGMM& GMM, unsigned long b);

#endif
