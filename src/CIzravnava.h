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

#include <map>
#include <memory>
#include <ostream>
#include <utility>
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
#include "src/FTestiZapisov.h"

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
    IzidIzravnave IzlociZapis(TerObsSet set, long zapis) override;
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

    // The records set aside by low-rank steps since the last whole
    // adjustment (IzlociZapis): the alternatives of every record of its
    // model, their t and M brought up to date by each step, and each step's
    // G = Qvv P C (as it stood at the step) with M^-1, so that the next step
    // is again one solve per column and one pass over the rows.
    struct NizkiRang {
        bool zgrajen = false;
        std::vector<AlternativaZapisa> zapisi;
        std::map<std::pair<unsigned, long>, std::size_t> indeks;
        std::vector<char> izlocen;
        struct Korak {
            std::vector<std::vector<real>> G;
            real Minv[3][3] = {};
        };
        std::vector<Korak> koraki;
        real vPv = 0;   // v'P v of the observation rows
        long f = 0;     // degrees of freedom
        // sigma0 of the model the steps start from: t, M and v'P v stay in
        // its weights; the model's sigma0 follows the records that remain
        // (the mean of their deviations), which scales t, M, v'P v by
        // (So'/So)^2 and leaves w, the estimated errors and the global test.
        real So = 0;
    };
    // Built from the last whole adjustment on first use.
    const NizkiRang& Nizki() const;
    mutable NizkiRang nizki;
    IzidIzravnave IzlociNizkiRang(std::size_t k);
    // Column j of G = Qvv P C of a record at the current step, over the
    // first n model rows.
    std::vector<real> StolpecG(const AlternativaZapisa& a, std::size_t j, long n) const;
    // The record's set and the composed angles, without touching the steps.
    void Aktiven(TerObsSet set, long zapis, bool aktiven);
};

#endif
