// CPrimerjava: the comparison of two epochs of one network on their common
// points by the coordinate method: the congruence test and the search for
// the points that moved.
//
// Both epochs are brought to one datum by an S-transformation: inner
// constraints over the points taken as stable, with the datum parameters
// that the epochs' observations leave free (a height shift in levelling;
// translations, rotations and, where the epochs' networks leave it free,
// the scale in the plane and in space).  With the coordinate differences
// d = S (x2 - x1) and their cofactors Q_d = S (Q1 + Q2) S', the global test
// is T = d' Q_d^+ d / (h s0^2), h = rank Q_d, against the F quantile
// (h, f) at the confidence level.  While the test rejects, the stable point
// whose removal lowers T the most is taken out, and the test is repeated
// over the stable points that remain (after Pelzer 1971, Niemeier 1985,
// Caspary 2000).
//
// Facts a caller must know:
// - Coordinates in metres; the cofactors are covariances divided by the
//   reference variance s0^2, i.e. the epochs' a-priori covariances (sigma0
//   a-priori squared times the adjustment's cofactors), so that s0^2 is a
//   variance factor near 1.
// - f <= 0 stands for infinitely many degrees of freedom (the a-priori
//   variance taken as known): the quantiles are chi-square over h.
// - Nothing here prints or ends the run; the caller checks the input.
#ifndef NIVEX_SRC_CPRIMERJAVA_H
#define NIVEX_SRC_CPRIMERJAVA_H

#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "matrika/matrika.h"

// What the comparison reads: the common points in one order, both epochs'
// coordinates (dim values a point) and a-priori covariances.
struct VhodPrimerjave {
    int dim = 1;
    unsigned defekti = 0;              // datum parameters (DatumskaNedolocenost bits)
    std::vector<std::string> tocke;
    matrika<real> x1, x2;              // m x 1, m = points x dim
    matrika<real> C1, C2;              // m x m
    real s02 = 1;                      // reference variance (variance factor)
    real f = 0;                        // its degrees of freedom (<= 0: infinite)
    real P = 0.95L;                    // confidence level (*PSKLAD)
    long najvecPremaknjenih = -1;      // limit of the search (-1: none)
};

// One global test: over the stable points after the point `izlocena` was
// taken out (empty for the first test, over every common point).
struct TestSkladnosti {
    std::string izlocena;
    real T = 0, kvantil = 0, omega = 0;
    long h = 0;
    bool sprejet = false;
};

// One common point in the datum of the stable points at the end.
struct PremikTocke {
    std::string ime;
    real d[3] = {0, 0, 0};     // displacement, epoch 2 minus epoch 1 (m)
    real dolzina = 0;          // its length (m; in space the spatial length)
    real smer = 0;             // its direction in degrees, 0..360, from the first axis towards the second
    // Confidence region at P: semi-axes (m; one for an interval, two for an
    // ellipse with theta in degrees from the first axis towards the second,
    // three for an ellipsoid, largest first).
    real os[3] = {0, 0, 0};
    real theta = 0;
    real T = 0, kvantil = 0;   // the point's own test: d' Q_dd^+ d / (r s0^2) against F(r, f)
    long r = 0;                // rank of its block; 0: no test
    bool premaknjena = false;
};

enum class KonecIskanja {
    Skladna,     // the stable points are congruent
    PremaloTock, // no removal leaves enough points for the datum and a test
    Omejitev,    // the user's limit of moved points
};

struct RezPrimerjave {
    int parametrov = 0;                    // datum parameters of the transformation
    std::vector<TestSkladnosti> testi;     // before and after each removal
    std::vector<std::string> premaknjene;  // in the order found
    std::vector<PremikTocke> tocke;        // in the order of the input
    KonecIskanja konec = KonecIskanja::Skladna;
};

// Points a datum of the dimension needs at least (1, 2, 3).
int PrimerjavaNajmanjTock(int dim);
// The datum parameters of the dimension from the defect bits (dim 1: one).
int PrimerjavaParametrov(int dim, unsigned defekti);
// Upper quantile of F(h, f) at the level P (f <= 0: chi-square(h) / h).
real PrimerjavaKvantil(long h, real f, real P);

// The comparison: global test, localisation, displacements.
RezPrimerjave Primerjaj(const VhodPrimerjave& vhod);

// Eigenvalues (descending) and eigenvectors (columns) of a symmetric matrix
// by cyclic Jacobi rotations.
void PrimerjavaLastne(const matrika<real>& A, std::vector<real>& lam, matrika<real>& V);

#endif
