// CIzravnava: the adjustment stage of a run: the model, its equation and
// datum builders, the solution, the relative ellipses, the reliability and
// the results, over the settings, datum and record sets that the reading
// stage filled.
//
// It is the adjustment that the tests of the model ask for (CIzravnalnik):
// it owns every value a pass moves, so an adjustment that fails leaves the
// values it started from and one asked to start from the data file starts
// from the values read (ZapomniZacetne, after reading), whatever ran before.
#ifndef NIVEX_SRC_CIZRAVNAVA_H
#define NIVEX_SRC_CIZRAVNAVA_H

#include <memory>
#include <ostream>
#include <vector>

#include "src/CGMM.h"
#include "src/CGMMEq.h"
#include "src/CGMMSol.h"
#include "src/CGMMdD.h"
#include "src/CGMMdH.h"
#include "src/CIzravnalnik.h"
#include "src/CRelEll.h"
#include "src/CRezultati.h"
#include "src/CTerObsEst.h"

class CGDatum;
class CProcSet;
class CTerObsZbirka;

class CIzravnava : public CIzravnalnik {
public:
    CIzravnava(CProcSet& procset, CGDatum& gdatum, CTerObsZbirka& TO);
    CIzravnava(const CIzravnava&) = delete;
    CIzravnava& operator=(const CIzravnava&) = delete;

    // The approximate values and velocities as read: where an adjustment
    // asked to start from the data file starts.
    void ZapomniZacetne() { zacetno = Shrani(); }

    // Numbers the unknowns of the records that take part and runs the
    // linearisation loop from the current approximate values, printing each
    // pass, and fills `rez`; it ends nothing: it returns the outcome.
    IzidIzravnave Izravnaj(std::ostream& report) { return Izravnaj(report, tiho, Zacetek::Trenutni); }
    // The observation equations of one pass: every kind's rows from the first
    // row on, in the order of the model rows, each printed into the report.
    void SetGMMEq(std::ostream& report);
    // The stop test after pass k: one pass without iteration, else the
    // iteration limit (with a warning when the corrections were still above
    // the threshold) or corrections below the threshold (IterPrag).
    bool KonecIteracij(int k, std::ostream& report) const;
    // The iteration threshold, raised to what the arithmetic resolves at the
    // size of the coordinates.
    real IterPrag() const;
    // Adjusted observations and their reliability, after the last pass:
    // computed into `rez` always, printed when the settings ask for it.
    void SetReliab(std::ostream& report);

    // The adjustment as the tests of the model ask for it.
    IzidIzravnave Izravnaj(std::ostream& report, bool tihoIzravnava, Zacetek od) override;
    void SetAktiven(TerObsSet set, long zapis, bool aktiven) override;
    const CRezultati& Rezultati() const override { return rez; }
    std::vector<TestZapisa> TestiZapisov() const override;
    RezIzlocen Zapis(TerObsSet set, long zapis) const override;
    void Odstopanja(std::vector<RezIzlocen>& zapisi) override;

private:
    CProcSet& procset;
    CGDatum& gdatum;
    CTerObsZbirka& TO;

public:
    CGMM GMM;
    CGMMSol GMMS;
    // The equation builders of the kinds that enter the model, built from
    // the table of record kinds in the order of the model rows.
    std::vector<std::unique_ptr<CGMMEq>> GMMEq;
    CGMMdH GMMdH;
    CGMMdD GMMdD;
    CRelEll RelEll;
    CTerObsEst TOEst;
    // The results of the last adjustment, for every writer.
    CRezultati rez;

    // Passes of the iteration loop of the last adjustment.
    int nPasses = 0;
    // Izravnaj(report) writes nothing to the console.
    bool tiho = false;

private:
    // The values a pass moves: approximate coordinates (heights) and
    // velocities of the point list.  Refraction coefficients and weights
    // start afresh in every adjustment.
    struct Stanje {
        matrika<real> obs, vel;
    };
    Stanje Shrani() const;
    void Obnovi(const Stanje& s);
    // One adjustment from the values in the point list.
    IzidIzravnave IzravnajOdTrenutnih(std::ostream& report, bool tihoIzravnava);
    // As read from the data file.
    Stanje zacetno;
};

#endif
