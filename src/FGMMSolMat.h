// FGMMSolMat: the matrix products of the solution of the Gauss-Markov model
// (whitening, normal matrix, residuals, residual cofactors, v'Pv).
//
// Facts a caller must know:
// - All arguments are matrika<long double>, indices from 0.  An output that
//   has no rows is sized by the function; an output of the wrong size, or
//   operands that do not fit, end the run through matrikaError (module
//   src/FGMMSolMat).
// - Every element of a product is summed over its inner index in ascending
//   order starting from 0, so a product is the same to the last bit whether
//   it is formed here or by the container's general product; zero factors
//   (the sparse rows of the design matrix) are skipped, which changes no sum.
// - The normal matrix A'A (same object passed twice to AtBprod) is formed
//   as its upper triangle and mirrored: its two halves are equal anyway.
#ifndef NIVEX_SRC_FGMMSOLMAT_H
#define NIVEX_SRC_FGMMSOLMAT_H

#include <functional>

#include "matrika/bdmatrika.h"
#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"

class CGMM;

// Residuals: v(i) -= sum_j B(i,j) * x(j) for every row i of B; v holds f on entry.
void VvecCalc(matrika<real>& v, const matrika<real>& B, const matrika<real>& x);
// The same for the design matrix kept by rows (the stored elements in column order).
void VvecCalc(matrika<real>& v, const redkaMatrika& B, const matrika<real>& x);

// Square root of v'Pv.  diag: P holds one weight per row, sum v(i)*P(i)*v(i);
// otherwise P is full and the sum is sum_i v(i) * sum_j P(j,i)*v(j).
real vTPv(const matrika<real>& v, const matrika<real>& P, bool diag);

// Y = V'B for a lower-triangular V (the Cholesky factor of the weights):
// Y(i,j) = sum_{k=i..n-1} V(k,i)*B(k,j) for i < columns of V.  diag: V is a
// column of row factors and Y(i,j) = V(i)*B(i,j) (a row scaling).
void VtBprod(const matrika<real>& V, const matrika<real>& B, matrika<real>& Y, bool diag);

// Y = A'B; (columns of A) x (columns of B).
void AtBprod(const matrika<real>& A, const matrika<real>& B, matrika<real>& Y);

// Y = AB'; (rows of A) x (rows of B).
void ABtprod(const matrika<real>& A, const matrika<real>& B, matrika<real>& Y);

// Diagonal of the residual cofactors: out(i) = q_ii - b_i * Qxx * b_i', with
// q_ii the middle column of the band Qll and b_i row i of B.  out is sized
// (rows of Qll) x 1.
void QvvDiag(const matrika<real>& Qll, const matrika<real>& B, const matrika<real>& Qxx,
             matrika<real>& out);

// Diagonal of Qvv * P for the block-diagonal weights of correlated angles,
// with Qvv = Qll - B*Qxx*B' (Qll the three-column band): out(i) = sum_k
// Qvv(i,k) * P(k,i) over the rows k of i's block, where P(k,i) can be non-zero;
// the rows x rows matrix Qvv is never held.  `kofaktor(i, k)`, when given,
// is the cofactor of two rows of one block in place of the band (covariance
// blocks over rows that are not neighbours).
void QvvPDiag(const matrika<real>& Qll, const matrika<real>& B, const matrika<real>& Qxx,
              const bdmatrika& P, matrika<real>& out,
              const std::function<real(unsigned long, unsigned long)>& kofaktor = {});

// Square root of v'Pv for block-diagonal weights: sum_i v(i) * sum_j P(j,i)*v(j)
// over the rows j of i's block.
real vTPv(const matrika<real>& v, const bdmatrika& P);

// Y = L'B for the block-diagonal Cholesky factor L of the weights.
void VtBprod(const bdmatrika& L, const matrika<real>& B, matrika<real>& Y);

// The whitened rows of the covariance blocks of the model (CGMM::kovBloki)
// from its unweighted rows, with the row factors W(., 0) of a robust
// re-weighting (nullptr: all 1): row a of a block becomes sum_c Wb(a, c) B_c,
// Wb the whitening of the block's covariance scaled by the factors, so that
// a rejected row leaves the block.  A row keeps the pattern of the
// unweighted rows.
void BeliKovBloke(const CGMM& GMM, const matrika<real>* W, redkaMatrika& Bp, matrika<real>& fp);

#endif
