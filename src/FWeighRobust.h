// FWeighRobust: the weight functions of robust estimation.  Between two
// solutions of the inner loop every observation gets a row factor s (the
// square root of its robust weight) from its residual, and its whitened row
// of Bp and fp is rescaled in place, so that the next solution weighs
// observation i with p_i * s_i^2.
//
// Facts a caller must know:
// - WeighRobust touches as many rows as vvec has: a caller that hands it the
//   residuals of the observations only keeps every row below them (the
//   datum constraint rows) at factor 1.
// - W (rows x 2, filled with 1 before the first call) remembers the current
//   factor in column 0 and the previous one in column 1.  A row is normally
//   multiplied by the ratio new / previous, so the factors telescope; a row
//   whose previous factor is 0 (a rejected observation coming back) is
//   rebuilt from the unweighted rows Bp0, fp0.  After every call each row i
//   holds W(i,0) times its unweighted row.
// - FAIR, LOGIST, TALW, WELS, L1N and LPN read the raw residual in metres
//   (radians for angles); HUB, MHUB, HAMP, BIWEIG and DAN read it divided by
//   the reference standard deviation So.
// - L1N and LPN (p != 2) weigh every residual below a thousandth of the
//   largest one as that floor: an exactly fitting row is never rejected
//   (p > 2) nor weighted without bound (p < 2).  RobustFaktor, on one
//   residual, knows no floor but the fixed one of L1N.
// - An unknown name changes nothing ("MNK" among them).
#ifndef NIVEX_SRC_FWEIGHROBUST_H
#define NIVEX_SRC_FWEIGHROBUST_H

#include <cstdint>
#include <optional>
#include <string>

#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"

// Row factor of one residual v by the weight function RobSolve; p is the
// exponent of "LPN", nIter the count of re-weightings (1 for the first), read
// by "DAN".  No value for a name that is not a weight function.
std::optional<real> RobustFaktor(const std::string& RobSolve, real v, real So, real p,
                                        std::uint16_t nIter);

// Re-weights the rows 0 .. rows(vvec)-1 of Bp and fp (see above).
void WeighRobust(matrika<real>& Bp, matrika<real>& fp, const matrika<real>& vvec,
                 matrika<real>& W, real So, const std::string& RobSolve, real p,
                 std::uint16_t nIter, const matrika<real>& Bp0, const matrika<real>& fp0);
// The same for the whitened rows of the sparse solution (same products).
void WeighRobust(redkaMatrika& Bp, matrika<real>& fp, const matrika<real>& vvec,
                 matrika<real>& W, real So, const std::string& RobSolve, real p,
                 std::uint16_t nIter, const redkaMatrika& Bp0, const matrika<real>& fp0);

// Row i of Bp and element i of fp times factor.
void MultBwii(matrika<real>& Bp, matrika<real>& fp, const real* factor, const unsigned long* i);

#endif
