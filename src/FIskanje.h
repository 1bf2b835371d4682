// FIskanje: iterative data snooping (*SNOOP), the search for gross errors
// that sets aside one record of the data file at a time.
//
// The search is a stage of its own: it asks the adjustment (CIzravnalnik)
// to adjust the records that take part and reads the outcome and the
// results it gets back; it ends nothing, a failure is returned to the driver.
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
// The record test is that of FTestiZapisov.
#ifndef NIVEX_SRC_FISKANJE_H
#define NIVEX_SRC_FISKANJE_H

#include <ostream>
#include <string>
#include <vector>

#include "src/CIzravnalnik.h"
#include "src/CRezultati.h"

class CProcSet;

// What the search came to: the records removed and left unchecked and why it
// stopped, and the message of an adjustment that could not be completed
// (empty when the final adjustment stands).
struct IzidIskanja {
    RezIskanje iskanje;
    std::string sporocilo;
    explicit operator bool() const { return sporocilo.empty(); }
};

// The first adjustment and the search; the final adjustment, printed into
// the report, is that of the data file without the removed records (a run
// without removals prints exactly what it would without *SNOOP).
IzidIskanja IskanjeGrobih(CIzravnalnik& izravnava, const CProcSet& procset, std::ostream& report);

// After the reliability of the final adjustment: the misclosures of the
// removed records against it.
void IskanjeOdstopanja(CIzravnalnik& izravnava, RezIskanje& iskanje);

// The section of the report, from the results alone.
void IskanjePorocilo(const RezIskanje& iskanje, real kriticnaN, const std::string& kotnaEnota, std::ostream& report);

// A residual-sized value of a kind in its printed unit (mm, '' or mg).
real IskanjeMala(char vrsta, const std::string& kotnaEnota, real x);

#endif
