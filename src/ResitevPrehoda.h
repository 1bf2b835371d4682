// ResitevPrehoda: what one solution of the Gauss-Markov model hands to the
// results of its pass - the corrections, the stochastic model's figures and
// the cofactors of the unknowns - as data, so that the results never call
// back into the solution.
//
// Facts a caller must know:
// - KofaktorjiNeznank owns the solution whose cofactors it reads (a shared
//   hold of the factor or of the dense cofactor matrix): it stays valid when
//   the solution object that made it is gone.  The solution solves again in
//   place at its next pass, so a hold taken in one pass reads the cofactors
//   of the latest pass; the results of a pass are set anew after it.
// - A held coordinate (CGMM::Drzana) has no cofactors: its entries are 0.
// - Indices are the unknowns of the model, counted from 0.
#ifndef NIVEX_SRC_RESITEVPREHODA_H
#define NIVEX_SRC_RESITEVPREHODA_H

#include <memory>
#include <vector>

#include "matrika/matrika.h"
#include "src/CResitev.h"

class KofaktorjiNeznank {
public:
    KofaktorjiNeznank() = default;
    // drzane[k] != 0: the unknown k is held (no cofactors).
    KofaktorjiNeznank(std::shared_ptr<const CResitev> resitev, std::vector<char> drzane)
        : resitev_(std::move(resitev)), drzane_(std::move(drzane))
    {
    }

    // No solution behind it (before the first pass).
    bool Prazni() const { return !resitev_; }
    // Cofactor of the unknowns i and j, datum applied.
    real operator()(long i, long j) const { return Drzana(i) || Drzana(j) ? 0.0L : resitev_->Q(i, j); }
    // Column j, q[i] for every unknown i (q sized by the caller).
    void Stolpec(long j, std::vector<real>& q) const
    {
        resitev_->StolpecQ(j, q);
        Pocisti(j, q);
    }
    // The same rounded to double where the solution holds it so; false
    // where it does not.
    bool StolpecDvojno(long j, std::vector<double>& q) const
    {
        if (!resitev_ || !resitev_->StolpecQDvojno(j, q)) return false;
        Pocisti(j, q);
        return true;
    }
    // After one Stolpec: columns may be asked for by several threads.
    bool StolpciHkrati() const { return resitev_ && resitev_->StolpciHkrati(); }

private:
    bool Drzana(long k) const
    {
        return k >= 0 && static_cast<std::size_t>(k) < drzane_.size() && drzane_[static_cast<std::size_t>(k)] != 0;
    }
    template <typename T>
    void Pocisti(long j, std::vector<T>& q) const
    {
        if (drzane_.empty()) return;
        for (std::size_t i = 0; i < q.size(); ++i)
            if (Drzana(static_cast<long>(i)) || Drzana(j)) q[i] = T(0);
    }

    std::shared_ptr<const CResitev> resitev_;
    std::vector<char> drzane_;   // empty: none held
};

// The values of one pass of the solution, read by CRezultati::SetPrehod.
struct ResitevPrehoda {
    matrika<real> xunk;           // corrections of the unknowns
    KofaktorjiNeznank kofaktorji;  // cofactors of the unknowns
    real SoI = 0.0L, SoIIzracun = 0.0L;
    real gtest = 0.0L, gtestA = 0.0L, gtestB = 0.0L;
    long prostostne = 0;
    real rsum = 0.0L, rpovp = 0.0L;
    int nIter = 0;
    std::vector<real> robustneUtezi;
};

#endif
