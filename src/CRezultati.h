// CRezultati: the results of an adjustment as data, apart from every print.
//
// The solution fills it (points, refraction coefficients, global test) in
// every pass, the quality analyses after the last one (adjusted observations
// with their reliability, relative ellipses); the results report, the GMT
// files and any other writer only read it.  A print switch changes what is
// printed, never what is computed here.
//
// Facts a reader must know:
// - Lengths in metres, angles of observations in radians, ellipse
//   orientations in degrees (0 <= theta < 180, from the first coordinate axis
//   towards the second).  Standard deviations and semi-axes are scaled by the
//   reference variance the run uses (SoIIzracun).
// - A point without unknowns (a fixed point) has zero corrections and
//   deviations and keeps its approximate values.
// - The absolute ellipse of a plane point is that of its covariances; in a
//   spatial network it is the horizontal ellipse of the cofactors times
//   sigma0, beside the ellipsoid (semi-axes S, angles A of the axes in
//   degrees), as the report has always printed them.  The ellipses at the
//   confidence level of *PHIPEL are extra values, not printed in the report.
// - Correlations of the unknowns are not stored (a national network has
//   billions of pairs): Korelacija reads them through the cofactors that the
//   results hold (Kofaktorji), which keep the solution's factor alive as
//   long as the results are.
#ifndef NIVEX_SRC_CREZULTATI_H
#define NIVEX_SRC_CREZULTATI_H

#include <array>
#include <string>
#include <vector>

#include "funkcije/numerika.h"
#include "src/FZanke.h"
#include "src/FPriblizne.h"
#include "src/ResitevPrehoda.h"
#include "src/TerObsVrste.h"

class CProcSet;
class CGMM;
class CTerObsTocke;

// One point's values of one kind (coordinates, heights or velocities).
struct RezBlok {
    int dim = 0;                        // 1, 2 or 3
    long neznanka = -1;                 // first unknown, -1 without unknowns
    real apr[3] = {0, 0, 0};     // a-priori values
    real pop[3] = {0, 0, 0};     // corrections of this pass
    real izr[3] = {0, 0, 0};     // adjusted values
    real sig[3] = {0, 0, 0};     // standard deviations
    real Q[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};   // cofactors
    real a = 0, b = 0, theta = 0;                        // absolute (horizontal) ellipse
    real S[3] = {0, 0, 0}, A[3] = {0, 0, 0};             // ellipsoid (3D)
    real aZaup = 0, bZaup = 0;                           // ellipse at the confidence level
    real SZaup[3] = {0, 0, 0};                           // ellipsoid at the confidence level
};

struct RezTocka {
    std::string ime;
    bool dana = false;                  // no coordinate unknowns
    RezBlok koordinate;
    RezBlok hitrosti;                   // only with velocity estimation
};

struct RezRefrakcija {
    std::string postaja;                // empty for the one coefficient of the network
    real k = 0.0L, sig = 0.0L;
};

struct RezGlobalniTest {
    real SoApriori = 0, SoAposteriori = 0;
    real verjetnost = 0;         // *PGLTST
    real statistika = 0, spodnja = 0, zgornja = 0;
    long prostostne = 0;                // degrees of freedom
    bool sprejet = false;               // statistic within [spodnja, zgornja]
    real rsum = 0, rpovp = 0;    // sum and mean of the redundancy numbers
    int iteracijRobustne = 0;           // re-weightings of the last solution
    bool apriori = false;               // accuracy measures from the a-priori variance
};

// One row of the reliability tables: an observation, or one component of a
// coordinate or a vector record.
struct RezOpazovanje {
    char vrsta = 0;                     // kind letter
    TerObsSet set = kTOSetov;           // its record set
    long zapis = -1;                    // record in the set (a composed angle: its directions by CTerObsAngl::Smeri)
    int komponenta = 0;
    long vrstica = -1;                  // model row
    real opazovano = 0, v = 0, sv = 0, izravnano = 0, sig = 0;
    real r = 0, w = 0, nab = 0, lam = 0;
    bool napaka = false;                // |w| > N
    bool ocena = false;                 // flagged with r > 0: gross error estimated
    real groba = 0;              // -v / r
};

struct RezRelElipsa {
    std::string od, doTocke;
    real sredina[3] = {0, 0, 0};
    real a = 0, b = 0, theta = 0;   // horizontal relative ellipse (m, m, degrees)
};

// One record of the data snooping (*SNOOP): removed, or left in because its
// removal would leave the network undetermined.  Values in metres or
// radians; for a vector or an observed point the gross error and the
// misclosure are the lengths of their vectors.
struct RezIzlocen {
    char vrsta = 0;                     // kind letter
    TerObsSet set = kTOSetov;
    long zapis = -1;                    // record in its set
    std::string tocke;                  // its point names, blank-separated
    long vrstica = 0;                   // line in the data file
    real w = 0, groba = 0;       // record test and estimated gross error when removed
    // The snooping's test when removed: w holds its statistic (studentised
    // t, or w with the a-priori variance; a record of several rows the value
    // of the one-row statistic with the same p), p its probability of being
    // exceeded, kriticna the critical value of the largest of the step.
    real p = 0, kriticna = 0;
    bool studentiziran = false;
    real SoPo = 0, statistika = 0;   // a-posteriori sigma0 and global test after the removal
    real odstopanje = 0;         // observed minus computed from the final adjustment
};

struct RezIskanje {
    bool vklopljeno = false;
    std::vector<RezIzlocen> izloceni;      // in the order of removal
    std::vector<RezIzlocen> neprevereni;   // not removed: the network would be undetermined
    std::string konec;                     // why the search stopped, as the report says it
    std::string razlog;                    // the same as a fixed word (JSON "stop")
    // The last test of the search (the one that stopped it): the records
    // tested, the error probability of the largest (1 - *PGTEST) and the
    // critical value of the one-row statistic, studentised (t with
    // prostostne degrees of freedom) or with the a-priori variance (normal).
    long testov = 0, prostostne = 0;
    real alfa = 0, kriticna = 0;
    bool studentiziran = false;
};

class CRezultati {
public:
    // The settings that shaped the run.
    int dim = 0;
    std::string kotnaEnota, metoda, izvedenaResitev, robustna;
    char datum = 0;
    int prehodov = 0;
    bool skonvergirala = false;
    real normaPopravkov = 0;     // norm of the corrections of the last pass
    real SoIIzracun = 0;
    real zaupanjeElips = 0;      // *PHIPEL

    std::vector<RezTocka> tocke;
    std::vector<RezRefrakcija> refrakcija;
    RezGlobalniTest globalniTest;
    real kriticnaN = 0;          // critical value of the screening
    real del0 = 0;               // bound of the non-centrality
    std::vector<RezOpazovanje> opazovanja;
    std::vector<RezRelElipsa> relativne;
    // Robust weight factor of every observation row of the last solution
    // (0: rejected); empty for least squares.
    std::vector<real> robustneUtezi;
    RezIskanje iskanje;                 // data snooping (*SNOOP)
    RezZanke zanke;                     // loop misclosures before the adjustment
    // The approximate values of the point list as the data file gives them
    // (the passes move them to the adjusted ones): the total correction of a
    // point is its adjusted value minus these.
    std::vector<std::array<real, 3>> zacetne;
    // The points whose approximate values were computed (FPriblizne).
    std::vector<PribliznaTocka> priblizne;
    // A design: the direction records nothing checks (FNacrt).
    std::vector<long> nepreverjeneSmeri;

    // Points, refraction coefficients and global test of the current pass,
    // from the solution's values of the pass (taken before it moves the
    // approximate values).
    void SetPrehod(const CProcSet& procset, const CGMM& GMM, const ResitevPrehoda& resitev);
    // The global test of a solution alone (a part of SetPrehod).
    void SetGlobalniTest(const CProcSet& procset, const CGMM& GMM, const ResitevPrehoda& resitev);
    // The approximate values of the point list as read (zacetne).
    void SetZacetne(const CTerObsTocke& tocke);

    // Cofactors of the unknowns of the pass, datum applied (empty before
    // the first pass).
    const KofaktorjiNeznank& Kofaktorji() const { return kofaktorji; }
    // Correlation of the unknowns i and j (0 where a variance is of
    // round-off size; 1 on the diagonal of a determined unknown).
    real Korelacija(long i, long j) const;
    // Korelacija(i, j) for every unknown j, into r (a row of the table).
    void KorelacijeVrstice(long i, std::vector<real>& r) const;
    // The same in double, each value within 1e-15 of its own relative to
    // it (the cofactor rounded to double, times the reciprocal roots of the
    // variances in double): for a print to a few decimals whose value is
    // not within that of a tie.  False where the solution does not hold
    // the cofactors so, or a variance's root is beyond 1e+/-150.
    bool KorelacijeVrsticeDvojno(long i, std::vector<double>& r) const;

private:
    // The correlation from the cofactor Qij and the roots of the variances.
    real Korelacija(long i, long j, real Qij) const;

    KofaktorjiNeznank kofaktorji;
    std::vector<real> diagQ, korenQ;
    std::vector<double> obratniKoren;   // 1 / korenQ in double, empty if one is out of range
    std::vector<char> nicelna;   // a variance of round-off size
};

#endif
