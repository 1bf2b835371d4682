// FIskanje: iterative data snooping (*SNOOP), the search for gross errors
// that sets aside one record of the data file at a time.
//
// After the adjustment has converged, while the global test rejects the
// model and the largest record test |w| exceeds the critical value N of the
// reliability analysis, the record with the largest |w| is set aside
// (CTerObs::SetAktiven) and the network adjusted again from the current
// coordinates.  The search stops when the global test accepts, when no |w|
// exceeds N, at the limit of *SNOOP, or when the removal would leave no
// redundancy; it does not start without convergence or with a robust
// estimator.  A record whose removal leaves a point undetermined stays in
// and is named as unchecked.  The final adjustment, the one the report
// prints, starts again from the data file's approximate values, so it is the
// adjustment of the file without the removed lines.  The data file is never
// changed.
//
// The record test (Baarda's w of the alternative that this one record
// carries an error, c its columns in the model rows):
//   w = c'P v / (sigma0 sqrt(c'P Qvv P c)),  Qvv = Qll - B Q B',
// with the a-priori sigma0; a one-row record: the w of its row; a direction: c has -1 in the angle it
// begins and +1 in the angle it ends; a vector or an observed point (Dim
// rows): T = t' M^-1 t / sigma0^2 with t = C'P v, M = C'P Qvv P C, which is
// chi-square with Dim degrees of freedom, given as the normal w of the same
// two-sided probability, so every kind is compared with the same N.
#ifndef NIVEX_SRC_FISKANJE_H
#define NIVEX_SRC_FISKANJE_H

#include <ostream>
#include <vector>

#include "src/CRezultati.h"

class CNivex;
class CGMM;
class CGMMSol;
class CTerObsZbirka;

// The test of one record of the model.
struct TestZapisa {
    TerObsSet set = kTOSetov;
    long zapis = -1;
    int komponent = 1;             // rows of the alternative (Dim for C and V)
    real w = 0;             // 0 when nothing checks the record
    real groba = 0;         // estimated gross error (m or rad; C, V: its length)
    bool preverjen = false;        // some other observation checks it
};

// The tests of every record that has rows in the model of the last pass.
std::vector<TestZapisa> IskanjeTestiZapisov(const CTerObsZbirka& TO, const CGMM& GMM, const CGMMSol& GMMS);

// The first adjustment and the search; ends with the final adjustment printed
// into the report (a run without removals prints exactly what it would
// without *SNOOP).  An adjustment that cannot be completed ends the run.
void IskanjeGrobih(CNivex& nx, std::ostream& report);

// After the reliability of the final adjustment: the misclosures of the
// removed records against it, and the section of the report.
void IskanjePorocilo(CNivex& nx, std::ostream& report);

// The kind letter, the point names and the line of a record.
RezIzlocen IskanjeZapis(const CTerObsZbirka& TO, TerObsSet set, long zapis);

// A residual-sized value of a kind in its printed unit (mm, '' or mg).
real IskanjeMala(char vrsta, const std::string& kotnaEnota, real x);

#endif
