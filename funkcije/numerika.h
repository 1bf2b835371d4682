// numerika: the number type of the adjustment and the tolerances of its
// numerical kernels, each named once with the reason for its value.
//
// All adjustment arithmetic is in real (x87 extended precision: a 64-bit
// mantissa, round-off about 1e-19).  Magnitudes are compared against a
// tolerance after rounding to double (dabs), so the tolerances are double
// constants; a message that prints "value * 10^-15" divides by the same
// constant.  The values are part of the program's results: changing one can
// change which pivot counts as zero, and so a report.
#ifndef NIVEX_FUNKCIJE_NUMERIKA_H
#define NIVEX_FUNKCIJE_NUMERIKA_H

using real = long double;

namespace numerika {

// A pivot of the dense decompositions (chr, lur, qrr) and of the Gauss-Jordan
// inverse below which the matrix is singular, and the size below which inv
// and the Givens rotations leave an element as it is.  Absolute: the
// decompositions work on the whitened system (cofactors relative to sigma0),
// whose elements are of order 1; 1e-15 is some five units of double round-off
// there.
constexpr double kSingularniPivot = 1e-15;

// The SVD's own tolerance: a super-diagonal element below this share of the
// matrix norm is negligible (some five units of double round-off), and before
// the first solve the threshold of its singular values.
constexpr double kEpsSVD = 1e-15;

// Default of the SVD's singularity threshold (*SVDTHRES): a singular value at
// or below it is left out of the solution.  The SVD works on the whitened
// design matrix, whose singular values are the square roots of the normal
// matrix's eigenvalues; the threshold lies between the round-off that a datum
// defect leaves there (about 1e-16 of the largest value) and the values of a
// determined network.
constexpr double kPragSVD = 1e-12;

// A quantity of order one (metres, cofactors in m^2, redundancy numbers,
// coordinate differences) below 1e-14 in magnitude is taken as 0: that is
// some forty-five units of double round-off of it, so an exact zero computed in
// another order still counts as zero.  Used by the error ellipses and
// ellipsoids (a vanishing variance), the grid bearing (a vanishing
// coordinate difference), the equations of distances and angles (coinciding
// points), the datum constraint rows (a row of no length) and the
// reliability (a redundancy number of no size).
constexpr double kNicla = 1e-14;

// A pivot of a tridiagonal matrix in compact form (the cofactor band of the
// composed angles) below this share of its row's diagonal element is
// singular (relative, so cofactors of a kilometre and of a tenth of a
// millimetre stay invertible alike).
constexpr double kTridiagPivot = 1e-14;

// A pivot at or below this share of its own scale (its diagonal before
// elimination, the largest element of the matrix, or 1 for a normal matrix
// scaled to a unit diagonal) is zero.  Relative, so it serves unknowns of any
// unit: it leaves some ninety thousand units of real round-off for the
// cancellation of forming and eliminating a normal matrix.  Used by the
// sparse L D L', the small inverses of its datum terms (invRelativna) and the
// search for the unknowns that no observation fixes.  A real, unlike the
// others, because it multiplies real values.
constexpr real kRelativniPivot = 1e-14L;

// The same for the rank of the rows that a robust estimator keeps, whose
// normal matrix is not scaled: a pivot at or below this share of its largest
// diagonal element is zero.  Its value, ten times kRelativniPivot, is the one
// the robust runs have always used: a change can move the line between a run
// that ends as undetermined and one that goes on.
constexpr real kRelativniRang = 1e-13L;

// What the report treats as no value at all: a matrix element below this
// does not count among the non-zero elements of the memory report, and a
// variance of the unknowns below it has no correlation (0, and 0 on the
// diagonal).  The report's own threshold, far above round-off: it has
// always been 1e-12, and a change moves printed percentages and zeros.
constexpr double kIzpisNic = 1e-12;

}  // namespace numerika

#endif
