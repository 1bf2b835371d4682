// FIskanje: iterative data snooping (*SNOOP), the search for gross errors
// that sets aside one record of the data file at a time.
//
// The search is a stage of its own: it asks the adjustment (CIzravnalnik)
// to adjust the records that take part and reads the outcome and the
// results it gets back; it ends nothing, a failure is returned to the driver.
//
// After the adjustment has converged, while the largest record statistic
// exceeds the critical value of the largest of n tests, the record with that
// statistic is set aside by a low-rank step of the converged adjustment
// (CIzravnalnik::IzlociZapis: no new factorisation; a whole quiet
// adjustment where the step cannot apply).  The statistic follows *S02: the
// studentised residual, with the variance estimated without the record
// (Student's t with f - 1 degrees of freedom; F for a record of several
// rows), or, with the a-priori variance, Baarda's w (normal; chi-square).
// Records are compared through their p; the critical value is that of the
// largest of the n records tested at the level of the global test (Sidak).
// The search stops when no statistic exceeds it, while the global test is
// rejected below its lower bound (the a-priori deviations are too large),
// at the limit of *SNOOP, or when the removal would leave no redundancy; it
// does not start without convergence or with a robust estimator.  An
// accepted global test does not stop it.  A record whose removal leaves a
// point undetermined stays in and is named as unchecked.  The final
// adjustment, the one the report prints, starts again from the data file's
// approximate values, so it is the adjustment of the file without the
// removed lines.  The data file is never changed.
//
// The record test (w, T) is that of FTestiZapisov.
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
void IskanjePorocilo(const RezIskanje& iskanje, const std::string& kotnaEnota, std::ostream& report);

// The snooping's statistic of one record, from its test and the network's
// v'Pv (omega, unit a-priori variance) and degrees of freedom f.
struct StatistikaZapisa {
    bool testiran = false;   // f - q >= 1 (studentised) and something checks it
    real p = 1;              // probability of a value beyond it
    real kljuc = 0;          // T/q (a priori) or F: orders records of equal p
    // The one-row statistic (signed): t or w; a record of several rows the
    // value of the same p (only when asked for: a quantile).
    real vrednost = 0;
};
StatistikaZapisa IskanjeStatistika(const TestZapisa& t, real omega, long f, bool apriori, bool vrednost);
// Sidak's error probability of each of n tests for the largest at alfa.
real IskanjeSidak(real alfa, long n);
// The critical value of the one-row statistic at the two-sided error
// probability alfaN: normal (a priori) or t with f - 1 degrees of freedom.
real IskanjeKriticna(real alfaN, long f, bool apriori);

// A residual-sized value of a kind in its printed unit (mm, '' or mg).
real IskanjeMala(char vrsta, const std::string& kotnaEnota, real x);

#endif
