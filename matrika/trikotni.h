// trikotni: triangular kernels shared by the Cholesky and QR inverses.
//
// Internal to the matrix library.  The loops work on raw row-major storage
// whose bounds the caller has checked, and keep, for every element, the
// operations and their order of the column-by-column substitutions of the
// solvers (forward: s = e(j), s -= L(j,k) y(k) for k ascending, y(j) =
// s / L(j,j); back: s = y(j), s -= L(k,j) x(k) for k ascending, x(j) = s /
// L(j,j)), so an inverse agrees bit for bit with solving the unit vectors one
// by one, in its lower triangle.
#ifndef NIVEX_MATRIKA_TRIKOTNI_H
#define NIVEX_MATRIKA_TRIKOTNI_H

#include <cstddef>

#include "funkcije/numerika.h"

namespace trikotni {

// X = (L L')^-1 for a lower-triangular n x n L with a non-zero diagonal.
// The lower triangle is computed (column c from row c on: the unit vector's
// leading zeros contribute exact zeros) and mirrored into the upper one, so X
// is exactly symmetric.  X has room for n * n elements and may not alias L.
void invLLt(const real* L, std::size_t n, real* X);

// Solves L L' x = f in place of f (f has n elements).
void resiLLt(const real* L, std::size_t n, real* f);

}  // namespace trikotni

#endif
