// CIzravnalnik: the adjustment of the records that take part, as a stage that
// the tests of the model (data snooping) ask for again and again.
//
// A run reads its data file once; after that the network may be adjusted
// with some records set aside.  Every state a pass moves (the approximate
// coordinates or heights, the velocities, the refraction coefficients, the
// weights) belongs to the adjustment: an adjustment that cannot be completed
// leaves the state it started from, and an adjustment asked to start from
// the data file starts from the values read, whatever ran before it.  No
// operation ends the run: each returns its outcome, and the driver decides.
#ifndef NIVEX_SRC_CIZRAVNALNIK_H
#define NIVEX_SRC_CIZRAVNALNIK_H

#include <ostream>
#include <string>
#include <vector>

#include "src/CRezultati.h"

// What an adjustment came to: the passes it ran and, when it could not be
// completed, why (the framed message) and the unknowns it left undetermined.
struct IzidIzravnave {
    int prehodov = 0;
    bool skonvergirala = false;
    std::vector<long> nedolocene;
    std::string sporocilo;   // empty when the adjustment is complete
    // IzlociZapis: the record could not be set aside and stays; the
    // adjustment is as it was before the call (false: nothing stands).
    bool zapisOstal = false;
    explicit operator bool() const { return sporocilo.empty(); }
};

// The test of one record of the model.
struct TestZapisa {
    TerObsSet set = kTOSetov;
    long zapis = -1;
    int komponent = 1;             // rows of the alternative (Dim for C and V)
    real w = 0;                    // 0 when nothing checks the record
    real T = 0;                    // t'M^-1 t with unit a-priori variance (w^2 for one row)
    real groba = 0;                // estimated gross error (m or rad; C, V: its length)
    bool preverjen = false;        // some other observation checks it
    // One column: M / c'P c, the share of the record's alternative that the
    // other observations check (an uncorrelated row's redundancy number).
    real r = 0;
};

class CIzravnalnik {
public:
    // Where the approximate values of an adjustment come from.
    enum class Zacetek {
        Trenutni,   // the adjusted values of the last complete adjustment (a quick trial)
        Datoteka,   // the values read from the data file
    };

    virtual ~CIzravnalnik() = default;

    // Adjusts the network with the records that take part, printing each
    // pass into `report` (and its summary on the console unless `tiho`), and
    // fills the results.  On failure the state is as before the call.
    virtual IzidIzravnave Izravnaj(std::ostream& report, bool tiho, Zacetek od) = 0;
    // Sets a record of a set aside (false) or takes it back (true).
    virtual void SetAktiven(TerObsSet set, long zapis, bool aktiven) = 0;
    // Sets a record aside after a complete adjustment (as SetAktiven) and
    // brings what the tests of the model read afterwards to the adjustment
    // without it: the global test of the results, TestiZapisov() of every
    // record that remains and the residuals of the solution.  Once the
    // least-squares adjustment has converged this is a low-rank step (the
    // record's columns as extra unknowns: one solve with the factor held per
    // column and one pass over the rows, no new factorisation), exact for
    // the model linearised at the last adjustment; otherwise (robust
    // weights, no convergence, a long chain of correlated angles, a
    // direction between two uncorrelated angles) a whole quiet adjustment
    // from the current values.  The adjusted coordinates stay those of the
    // last whole adjustment.  A record that no other observation checks
    // (M singular) cannot be set aside: the outcome fails with zapisOstal
    // and nothing has changed.
    virtual IzidIzravnave IzlociZapis(TerObsSet set, long zapis) = 0;
    // The results of the last complete adjustment.
    virtual const CRezultati& Rezultati() const = 0;
    // The test of every record that has rows in the model of the last pass.
    virtual std::vector<TestZapisa> TestiZapisov() const = 0;
    // The kind letter, the point names and the line of a record.
    virtual RezIzlocen Zapis(TerObsSet set, long zapis) const = 0;
    // Observed minus computed of each record at the adjusted values of the
    // last adjustment (the records may have been set aside for it); the
    // records stay as they were.
    virtual void Odstopanja(std::vector<RezIzlocen>& zapisi) = 0;
};

#endif
