// CGMMSolRedka: the normal equations of the adjustment solved on their sparse
// pattern.  A row of the design matrix touches two to six unknowns, so the
// normal matrix of a network of thousands of points is almost empty; it is
// factored as L D L' after a fill-reducing ordering, and the cofactors of the
// unknowns are taken from the selected inverse on the factor's pattern, which
// holds every pair of unknowns that share an observation.
//
// Facts a caller must know:
// - The rows of the whitened system are split in two: the first nA rows form
//   the sparse normal matrix A; the rows after them (the inner constraints of
//   a free network, which touch every unknown) enter as a low-rank term.  A is
//   then singular by the datum defect: as many unknowns as Hdat has rows,
//   chosen so that they fix the defect best, are held by weights delta_k =
//   A_kk, i.e. A1 = A + sum delta_k e_k e_k', and the low-rank term U K U'
//   (U = [sqrt(delta) e_k ... | C'], K = diag(-1 ... | 1 ...)) turns A1 back
//   into N = A + C'C by the Sherman-Morrison-Woodbury identity:
//   N^-1 = A1^-1 - Z T Z',  Z = A1^-1 U,  T = (K + U'Z)^-1.
// - The datum correction Q = N^-1 - Hdat' M^-1 Hdat (M = Hdat C'C Hdat', C the
//   constraint rows Hred or Ddat) is applied entry by entry; Q(i, j) costs a
//   lookup in the selected inverse and two short sums, or one column solve
//   when (i, j) is not on the factor's pattern (the last column is kept).
// - Resi reports what it cannot solve instead of ending the run: the unknowns
//   whose pivots vanished beyond what the constraint rows cover, or a datum
//   matrix M (or small system K + U'Z) that is singular.  The caller words it.
// - A long chain of correlated angles (a band block of PllB) enters by its
//   directions with an orientation unknown of its own (FDolgeVerige): the
//   factor has one column more per chain after the model's unknowns, whose
//   inverse on the factor's pattern is that of the angles' normal matrix
//   for the model's unknowns (the orientation eliminated).  The chain's own
//   rows of Bp keep their pattern with zero values, so that the cofactors
//   of every angle's points stay on the pattern.
// - It keeps the contract of every solution (CResitev): the overrides split
//   the rows by the datum kind and take the undetermined unknowns by the one
//   rule of the contract.  Rejections of a robust re-weighting that take
//   away what determined the network show as vanished pivots of the next
//   factorisation.
#ifndef NIVEX_SRC_CGMMSOLREDKA_H
#define NIVEX_SRC_CGMMSOLREDKA_H

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "matrika/matrika.h"
#include "matrika/redkamatrika.h"
#include "matrika/redkirazcep.h"
#include "src/CResitev.h"

class CGMM;

class CGMMSolRedka final : public CResitev {
public:
    // Bp = L'Bmat and fp = L'fvec, Pll = L L' (a column of weights or the
    // blocks of correlated angles); the same sums as the dense product.
    void Beli(const CGMM& GMM) override;
    // The rows split by the datum kind: the inner constraints of a free
    // network stay out of the sparse matrix as a low-rank term; the minimal
    // constraints touch a few points and are rows like any other.
    Izid Resi(const DatumSistema& datum, matrika<real>& x) override;
    bool DolgeVerige() const override { return true; }
    void RDiagVeriga(const SmeriVerige& v, const redkaMatrika& B, matrika<real>& R) const override;
    // The long chains of correlated angles (band blocks of PllB) as their
    // directions in Bo.
    void BeliVerige(const CGMM& GMM);

    // Forms N from the current rows (nA sparse rows, the rest low-rank),
    // factors and solves N x = Bp'fp.  C and Hdat give the datum correction
    // (C empty: none).  On `nedolocena` the unknowns are in `nedolocene`.
    Izid Resi(unsigned long nA, const matrika<real>& C, const matrika<real>& Hdat,
              matrika<real>& x);

    // Unknowns k with N_kk = 0 or N_kk (N^-1)_kk above the bound: not
    // determined though no pivot vanished outright.
    std::vector<long> Napihnjene(real meja = kMejaVIF) const;

    // Cofactor of the unknowns i and j, datum applied.
    real Q(long i, long j) const override;
    // A whole column: from the whole inverse of the factor, formed at the
    // first request after a solution when its u^2 values take at most
    // najvecCelotni bytes, otherwise from panels of kPanel columns solved
    // together (the last panel is kept), so that a sweep along the columns
    // solves once per panel.
    void StolpecQ(long j, std::vector<real>& q) const override;
    // From the whole inverse held as pairs (each pair's double is its value
    // rounded), where no low-rank or datum term corrects it.
    bool StolpecQDvojno(long j, std::vector<double>& q) const override;
    // With the whole inverse held (not the panels of the last columns).
    bool StolpciHkrati() const override { return imaCelotni; }
    static constexpr long kPanel = 16;
    // One solution from the factor and the terms of Q.
    void QKrat(const std::vector<std::pair<unsigned long, real>>& s, std::vector<real>& q) const override;
    std::size_t najvecCelotni = std::size_t{1} << 30;
    // b_r Q b_s' for rows r and s of B (the unwhitened design matrix).
    real Par(const redkaMatrika& B, unsigned long r, unsigned long s) const override;
    // Elements of the factor (for the benchmarks).
    long nnzL() const { return razcep.nnzL(); }

    // Whitened direction rows of the long chains (u + one column per chain).
    redkaMatrika Bo;
    std::vector<real> fo;

private:
    // The steps of Resi: the pattern of the rows (analysed again only when
    // it changed), N summed on it, the unknowns held against the datum
    // defect, the low-rank term, the solution and the datum correction.
    void Vzorec(unsigned long nA);
    // Row r of the sparse rows: Bp's first nA, then the long chains' directions.
    std::span<const redkaMatrika::Element> VrsticaVzorca(unsigned long nA, unsigned long r) const;
    // Whether the rows' pattern is the one analysed last.
    bool VzorecEnak(unsigned long nA) const;
    // Every pair of a row placed by columns of A (zacetek: each column's first place), unsorted.
    std::vector<long> PariPoStolpcih(unsigned long nA, std::vector<long>& zacetek) const;
    // The columns of A: each column's pairs sorted and made unique.
    void StolpciA(const std::vector<long>& zacetek, std::vector<long>& vsi, double delo, int niti);
    // The place in A.Ax of every product of the rows (mesta).
    void MestaProduktov(unsigned long nA, double delo, int niti);
    void Normalna(unsigned long nA);
    void DrziSidra(const matrika<real>& Hdat, bool prosta);
    bool NizkiRang();
    void ResitevX(matrika<real>& x) const;
    bool DatumskaKorekcija(const matrika<real>& C, const matrika<real>& Hdat);
    real Ninv(long i, long j) const;
    // The unknowns left free when pivots vanished (prosta: a free network
    // whose datum motions Hdat are not to be named).
    void IzberiNedolocene(const matrika<real>& Hdat, bool prosta);
    // b Q b' of a low-rank row a (closed form from the small matrices).
    real FormaNizkegaRanga(unsigned long a) const;
    // Unknowns of the model (the factor has the chains' orientations after them).
    unsigned long nNeznank() const { return Bp.ncol(); }
    // Columns of the factor: the unknowns and the chains' orientations.
    unsigned long nFaktor() const { return Bo.nrow() > 0 ? Bo.ncol() : Bp.ncol(); }

    unsigned long nA_ = 0;
    redkaSimetricna A;
    std::vector<unsigned long> vzorecVrstic;   // columns of the sparse rows, to see a change of pattern
    std::vector<long> mesta;                   // position in A.Ax of every product of the rows
    bool analizirana = false;
    redkiRazcep razcep;
    std::vector<real> diagN;

    // Low-rank term: the held unknowns and the constraint rows.
    std::vector<long> sidra;
    std::vector<real> delta;
    matrika<real> Cn;     // the low-rank rows (dense)
    matrika<real> Z;      // u x m, A1^-1 U
    matrika<real> ZT;     // u x m, Z T
    matrika<real> UZ;     // m x m, U'Z
    matrika<real> T;      // m x m, (K + U'Z)^-1
    // Datum correction: Hd (d x u) and G = M^-1 Hd.
    matrika<real> Hd, G;
    // Columns of N^-1 for StolpecQ: the whole inverse (its values as pairs
    // of doubles, or in long doubles where some value has no pair), or the
    // last panel.
    struct Sprosti {
        void operator()(void* p) const;
    };
    mutable std::unique_ptr<void, Sprosti> celotni;
    mutable std::size_t celotniVelikost = 0;
    mutable bool imaCelotni = false, poskusCelotni = false, celotniPari = false;
    mutable std::vector<real> panel;
    mutable long panelZacetek = -1;
};

#endif
