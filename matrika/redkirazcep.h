// redkirazcep: factorisation A = P' L D L' P of a sparse symmetric matrix (the
// normal matrix of a network, where an equation touches a handful of unknowns),
// with its solver, the inverse on the pattern of the factor and single entries
// of the inverse.
//
// The ordering (minimum degree from libamd or nested dissection from METIS,
// whichever predicts the cheaper factor) and the symbolic analysis are made
// once per pattern; the numeric factorisation then only fills values, so that
// re-weighted passes of the adjustment reuse the analysis.  A pivot that is
// (numerically) zero does not stop the factorisation: the unknown is recorded
// and held as if its diagonal had been raised, so one pass reports every
// undetermined unknown.  All arithmetic is long double; indices are the
// caller's own numbering of the unknowns.  The large panels near the root of
// the elimination tree are shared among threads, and the independent
// subtrees below them are taken by one thread each; every sum keeps its
// order, so the results do not depend on the number of threads.
#ifndef NIVEX_MATRIKA_REDKIRAZCEP_H
#define NIVEX_MATRIKA_REDKIRAZCEP_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "funkcije/numerika.h"

struct dvojna;

// Upper triangle (diagonal included) of a symmetric n x n matrix, by columns:
// column j holds rows Ai[Ap[j]..Ap[j+1]) (ascending, each <= j), values Ax.
struct redkaSimetricna {
    long n = 0;
    std::vector<long> Ap, Ai;
    std::vector<real> Ax;
};

class redkiRazcep {
public:
    // samodejno: the ordering whose factor takes fewer multiplications
    // (nested dissection is tried only where minimum degree predicts a
    // costly factor); amd, metis: that one alone.
    enum class Urejanje { samodejno, amd, metis };
    void nastaviUrejanje(Urejanje u) { urejanje_ = u; }
    // The ordering the last analysis took (amd or metis).
    Urejanje urejanje() const { return izbrano_; }
    // Threads for the factorisation and the inverse; 0: one per core the
    // program may run on.
    void nastaviNiti(int niti) { niti_ = niti; }

    // Ordering and symbolic analysis of A's pattern (A's values are not read).
    void analiza(const redkaSimetricna& A);
    // Numeric L D L' of a matrix with the analysed pattern; returns the number
    // of zero pivots.
    long razcep(const redkaSimetricna& A);
    // Original indices of the zero pivots of the last factorisation, in the
    // order of elimination.
    const std::vector<long>& nicelniPivoti() const { return nicelni_; }
    // A x = b, x returned in b.
    void resi(std::vector<real>& b) const;
    // A X = B for k right-hand sides at once; B is n x k by rows (element
    // (i, t) at i * k + t), X returned in B.  Each entry of the factor is
    // read once for all k columns.
    void resi(std::vector<real>& B, long k) const;
    // Every entry of A^-1 on the pattern of L + L'.
    void izbraniInverz();
    // Entry (i, j) of A^-1: from the selected inverse where it holds it,
    // otherwise from column j of A^-1 (the last such column is kept).  Safe
    // from several threads at once.
    real inverz(long i, long j) const;
    // Every entry of A^-1 at once (a print of the whole inverse) into the
    // caller's n x n values Z, by columns in the order of the pivots: entry
    // (i, j) of A^-1 at Z[mesto(j) * n + mesto(i)].  Every value is written.
    void celotniInverz(real* Z) const;
    // The same, each value held as a pair of doubles (skalarna.h), which
    // the sums read faster; false where some value has no pair (beyond the
    // range of double), and then Z is not the inverse.
    bool celotniInverz(dvojna* Z) const;
    // Columns j[0..k) of A^-1, solved together from the factor: W is n x k by
    // rows in the order of the pivots, entry (i, j[t]) of A^-1 at
    // W[mesto(i) * k + t].  Each entry of the factor is read once per four
    // columns, and the sums run in registers.
    void stolpciInverza(const long* j, long k, std::vector<real>& W) const;
    long mesto(long i) const { return Pinv_[static_cast<std::size_t>(i)]; }

    // y = L^-1 P b for a sparse b (original indices): only the supernodes on
    // the paths from b's columns to their roots are visited.  x holds y by
    // the order of the pivots (n values, zero outside `mesta`); the next call
    // clears what the last one wrote.
    struct RedekStolpec {
        std::vector<real> x;
        std::vector<long> mesta;
        std::vector<long> vozlisca;
        std::vector<char> oznaka;
    };
    void naprejRedko(const std::vector<std::pair<unsigned long, real>>& b, RedekStolpec& y) const;
    // Pivot k of D (in the order of the pivots).
    real pivot(long k) const { return D_[static_cast<std::size_t>(k)]; }

    long n() const { return n_; }
    // Entries of the factor below the diagonal (with the zeros that merged
    // supernodes hold).
    long nnzL() const { return nnzL_; }

private:
    // The steps of analiza: the columns checked, the AMD ordering (P_,
    // Pinv_), the permuted upper triangle C by columns, the elimination tree
    // and its supernodes (runs of columns with one structure below them),
    // the rows of every supernode's panel, and the place of every entry of C
    // in the panels.
    void preveriStolpce(const redkaSimetricna& A) const;
    void uredi(const redkaSimetricna& A);
    int niti() const;
    void permutiraj(const redkaSimetricna& A);
    void supervozlisca();
    void panelnaStruktura();
    void mestaVPanelih();
    void preveriVzorec(const redkaSimetricna& A) const;
    void preveriIndeks(long i, const char* kje) const;
    // Positions in supernode t's rows of the ascending rows R[0..m), all of
    // which lie in t's structure.
    void relativni(long t, const long* R, long m, std::vector<long>& rel) const;
    // Independent subtrees of the supernodal elimination tree for the
    // threads: Grupa_[s] is the subtree of supernode s, or -1 for the
    // supernodes above them, which share their large panels instead.
    void poddrevesa(int nt);
    // Its phases: the tree weighted by work and split, and the subtrees
    // numbered from their roots.
    struct DrevoDela;
    void stevilciPoddrevesa(const DrevoDela& drevo, const std::vector<std::pair<double, long>>& koreni);
    // The working memory of one thread of the factorisation.
    struct Delovni;
    // The phases of razcep: A's values in the panels, and the factorisation
    // by subtrees on the threads with the rows of their supernodes above
    // them gathered for the updates there.
    std::vector<real> sestavi(const redkaSimetricna& A);
    void razcepPoPoddrevesih(const std::vector<real>& akk, int nt, Delovni& d, std::vector<long>& nic);
    void vrsticeNadPoddrevesom(long s, long od, Delovni& d) const;
    // The panel of supernode s factored (its updates already in it), with
    // its transpose in d.Lv and the places of its zero pivots in nic.
    void razcepiPanel(long s, const std::vector<real>& akk, int nt, Delovni& d, std::vector<long>& nic);
    // Its steps and their closes on the threads.
    struct RazcepPanela;
    // The updates of s to the later columns in its rows od..doo (od = the
    // number of s's columns, doo = -1: all of them); d.Lv holds s's rows
    // from od on.
    void posodobi(long s, long od, int nt, Delovni& d, long doo = -1);
    // Its phases: the runs of the rows with a task for every pair of target
    // columns, and one task.
    void tekiPosodobitve(long s, long od, long doo, Delovni& d) const;
    void posodobiStolpca(long s, long i, bool pari, const Delovni& d);
    // The inverse on the pattern in the panel of supernode s (every later
    // supernode in its rows done).
    void inverzPanela(long s, int nt, std::vector<real>& G, std::vector<long>& rel);
    // Its phases: the runs of the panel's rows in the later supernodes,
    // Z(B,B) gathered, Z(B,J) and Z(J,J).
    struct InverzPanela;
    // celotniInverz with Z's values as E (real or dvojna).
    template <typename E>
    bool celotniInverzV(E* Z) const;
    // Its phases (redkicelotniinverz.cpp).
    template <typename E>
    struct CelotniInverz;

    // The factor is held by supernodes: runs of consecutive columns whose
    // structures below the run are the same.  Supernode s has the columns
    // Sf_[s]..Sf_[s+1]), the rows Rs_[Rp_[s]..Rp_[s+1]) (its own columns
    // first, then the rows below, ascending) and a dense column-major panel
    // of those rows by its columns at Lx_[Xp_[s]]; the part above the
    // diagonal is unused.  The inverse on the pattern fills Zx_ alike.
    Urejanje urejanje_ = Urejanje::samodejno, izbrano_ = Urejanje::amd;
    int niti_ = 0;
    long n_ = 0, nnzL_ = 0;
    bool razcepljena_ = false, inverz_ = false;
    std::vector<long> Ap_, Ai_;       // the analysed pattern, to check razcep's A against
    std::vector<long> P_, Pinv_;      // P_[k] = original index of pivot k
    std::vector<long> Cp_, Ci_, Cm_;  // permuted upper triangle, Cm_[q] = its entry of A
    std::vector<long> Cx_;            // place of C's entry q in the panels
    std::vector<long> Sf_, Sup_, Rp_, Rs_, Xp_;
    std::vector<long> Koren_;          // root supernode of the tree of each supernode
    std::vector<long> Grupa_;          // subtree of each supernode for the threads, -1: above them
    std::vector<long> PodP_, PodS_;    // supernodes of subtree g: PodS_[PodP_[g]..PodP_[g+1]), ascending
    std::vector<long> PodKonec_;       // last column + 1 of each subtree's root
    int nitiDelitve_ = 0;              // the threads the subtrees were made for
    double PodDelo_ = 0;               // the work in the subtrees
    // The inverse on the pattern writes every value of Zx_ before any is
    // read: its vector leaves new values as they are (no clearing of
    // gigabytes that are written over at once).
    template <typename T>
    struct BrezNicel : std::allocator<T> {
        template <typename U>
        struct rebind {
            using other = BrezNicel<U>;
        };
        BrezNicel() = default;
        template <typename U>
        BrezNicel(const BrezNicel<U>&) noexcept
        {
        }
        template <typename U>
        void construct(U* p) noexcept
        {
            ::new (static_cast<void*>(p)) U;
        }
        template <typename U, typename... A>
        void construct(U* p, A&&... a)
        {
            ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
        }
    };
    std::vector<real> Lx_, D_, Zd_;
    std::vector<real, BrezNicel<real>> Zx_;
    bool LxPrazen_ = false;   // Lx_ all zeros (just analysed)
    std::vector<long> nicelni_;
    // Columns zadnjiStolpec_ .. + kBlok - 1 of A^-1 (n x kBlok by rows), solved
    // together for the entries off the pattern: a sweep along the columns
    // (a correlation table, the whole inverse) solves once per kBlok columns.
    // The threads that ask for entries off the pattern take turns.
    static constexpr long kBlok = 16;
    struct Zaklep {
        std::mutex m;
        Zaklep() = default;
        Zaklep(const Zaklep&) {}
        Zaklep& operator=(const Zaklep&) { return *this; }
    };
    mutable Zaklep zaklep_;
    mutable long zadnjiStolpec_ = -1;
    mutable std::vector<real> stolpec_;
};

#endif
