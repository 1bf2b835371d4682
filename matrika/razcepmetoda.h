// razcepMetoda: the one contract of the four decompositions that solve the
// least-squares system (chr, lur, qrr, svdr), so that the solution code picks
// a method from a table instead of repeating each algorithm.
//
//   razcep (M, f)  decomposes M and keeps what solving needs of f;
//   resi ()        the solution x of the decomposed system;
//   inv ()         the cofactor matrix of x.
//
// What M and f are depends on the method, told by normalna():
//   true  (chr "CH", lur "LU"): M is the normal matrix N = A'PA and f the
//         vector n = A'Pf; inv() is N^-1.
//   false (qrr "QR", "QRHOUS", "QRMGS", "QRGIV"; svdr "SVD"): M is the
//         whitened design matrix A and f the whitened observations; inv() is
//         (A'A)^-1, for the SVD the pseudo-inverse of A'A over the singular
//         values above the threshold.
// Each class also keeps its own operations (chr::resi (F), svdr::resi (f,
// threshold), qrr::razcep (A, f, method), ...), which these calls are built on.
#ifndef NIVEX_MATRIKA_RAZCEPMETODA_H
#define NIVEX_MATRIKA_RAZCEPMETODA_H

#include <memory>
#include <string>

#include "matrika/matrika.h"

template <typename T>
class razcepMetoda {
public:
    virtual ~razcepMetoda() = default;
    virtual bool normalna() const = 0;
    virtual void razcep(const matrika<T>& M, const matrika<T>& f) = 0;
    virtual matrika<T> resi() = 0;
    virtual matrika<T> inv() = 0;

    // Through this contract a vanishing pivot does not end the run: the
    // decomposition notes the first one, the column of an unknown that the
    // system leaves undetermined, resi() and inv() give empty matrices, and
    // the caller says what is not determined.  -1 while every pivot stands.
    long nicelniPivot() const { return pivot_; }
    // Rank of M where the method reveals it (the SVD, over its threshold), else -1.
    virtual long rang() const { return -1; }
    // Per unknown, its share in the null space of M (the diagonal of the
    // projector onto it, n x 1); empty where the method does not reveal it.
    virtual matrika<T> nicelniDelez() const { return matrika<T>(); }

protected:
    long pivot_ = -1;
};

// The decomposition for a solution-method name of the settings: "CH", "LU",
// "QR", "QRHOUS", "QRMGS", "QRGIV" or "SVD" (SVD with the singularity
// threshold SVDthres).  Any other name ("NS", the Gauss-Jordan inverse of the
// normal matrix, is no decomposition) gives nullptr.
std::unique_ptr<razcepMetoda<real>> razcepZaMetodo(const std::string& NumSolve,
                                                          real SVDthres = numerika::kPragSVD);

#endif
