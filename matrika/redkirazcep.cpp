#include "matrika/redkirazcep.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <string>


#if __has_include(<suitesparse/amd.h>)
#include <suitesparse/amd.h>
#else
#include <amd.h>
#endif

#include <metis.h>

#include "matrika/matrikaAux.h"
#include "matrika/skalarna.h"
#include "matrika/vzporedno.h"

namespace {
using vzporedno::Vzporedno;

const char* const F = "matrika/redkirazcep";

// A pivot at or below this share of its diagonal is taken as zero.
constexpr real TOL_PIVOT = numerika::kRelativniPivot;

[[noreturn]] void Napaka(const std::string& funkcija, Besedilo sporocilo, long line)
{
    matrikaError(NapakaFunkcije("redkiRazcep::" + funkcija, sporocilo), F, line);
}

using skalarna::Skalarna;
using skalarna::Skalarna2;
using skalarna::Skalarna22;

// Rows of Z(B,J) formed together by one task of the inverse on the pattern.
constexpr long kVrsticProdukta = 16;

// Panels and products from this many columns (or rows) on are also held as
// pairs of doubles (skalarna.h): below it the copies cost more than the
// faster loads save.
constexpr long kPari = 8;

// A working buffer of at least k values.  It only grows: a vector resized
// down and up again clears what it takes back, a supernode's panel of
// memory each time.
template <typename V>
void Vsaj(V& v, long k)
{
    if (v.size() < static_cast<std::size_t>(k)) v.resize(static_cast<std::size_t>(k));
}

}  // namespace

int redkiRazcep::niti() const { return niti_ > 0 ? niti_ : vzporedno::Jedra(); }

void redkiRazcep::analiza(const redkaSimetricna& A)
{
    preveriStolpce(A);
    n_ = A.n;
    Ap_ = A.Ap;
    Ai_ = A.Ai;
    razcepljena_ = inverz_ = false;
    zadnjiStolpec_ = -1;
    nicelni_.clear();
    uredi(A);
    permutiraj(A);
    supervozlisca();
    panelnaStruktura();
    mestaVPanelih();
    nitiDelitve_ = 0;
    const long ns = static_cast<long>(Sf_.size()) - 1;
    Lx_.assign(Xp_[ns], 0.0L);
    LxPrazen_ = true;
    D_.assign(n_, 0.0L);
    Zx_.clear();
    Zd_.clear();
}

void redkiRazcep::preveriStolpce(const redkaSimetricna& A) const
{
    const long n = A.n;
    if (n < 0 || static_cast<long>(A.Ap.size()) != n + 1 || A.Ap[0] != 0 ||
        A.Ap[n] != static_cast<long>(A.Ai.size()))
        Napaka("analiza", Besedilo::MatStolpciNeZapisani, __LINE__);
    for (long j = 0; j < n; ++j) {
        if (A.Ap[j] > A.Ap[j + 1]) Napaka("analiza", Besedilo::MatStolpciNeZapisani, __LINE__);
        for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p)
            if (A.Ai[p] < 0 || A.Ai[p] > j || (p > A.Ap[j] && A.Ai[p] <= A.Ai[p - 1]))
                Napaka("analiza", Besedilo::MatVrsticeNeNarascajo, __LINE__);
    }
}

namespace {
// Multiplications of the factorisation in the order P (P[k] = original index
// of pivot k), from the full adjacency (xadj, adj) of the unknowns: the sum of
// the squared column counts of L.  Row k of L is the union of the paths up
// the elimination tree from the earlier neighbours of pivot k.
double Cena(long n, const std::vector<idx_t>& xadj, const std::vector<idx_t>& adj, const std::vector<long>& P)
{
    std::vector<long> Pinv(n), stars(n, -1), oznaka(n), st(n, 0);
    for (long k = 0; k < n; ++k) Pinv[P[k]] = k;
    for (long k = 0; k < n; ++k) {
        oznaka[k] = k;
        const long j = P[k];
        for (idx_t p = xadj[j]; p < xadj[j + 1]; ++p) {
            const long a = Pinv[adj[p]];
            if (a > k) continue;
            for (long i = a; oznaka[i] != k; i = stars[i]) {
                if (stars[i] == -1) stars[i] = k;
                ++st[i];
                oznaka[i] = k;
            }
        }
    }
    double c = 0;
    for (long k = 0; k < n; ++k) c += static_cast<double>(st[k] + 1) * static_cast<double>(st[k] + 1);
    return c;
}

// Below this many multiplications the factor costs milliseconds in any
// order, and minimum degree is kept without trying nested dissection.
constexpr double kCenaZaMetis = 1e7;
// From this many unknowns on, minimum degree and nested dissection are
// both tried at once on two threads (each takes a second or more).
constexpr long kUrejanjiHkrati = 20000;
}  // namespace

void redkiRazcep::uredi(const redkaSimetricna& A)
{
    const long n = A.n;
    P_.assign(n, 0);
    std::vector<long> Pamd(n);
    auto amd = [&] {
        if (urejanje_ == Urejanje::metis || n == 0) return;
        // AMD refuses a null array, which an empty vector may give.
        const std::vector<SuiteSparse_long> ap(A.Ap.begin(), A.Ap.end());
        std::vector<SuiteSparse_long> ai(A.Ai.begin(), A.Ai.end());
        ai.push_back(0);
        std::vector<SuiteSparse_long> p(n);
        const auto izid = amd_l_order(n, ap.data(), ai.data(), p.data(), nullptr, nullptr);
        if (izid != AMD_OK && izid != AMD_OK_BUT_JUMBLED)
            Napaka("analiza", Besedilo::MatUrejanjeNeuspesno, __LINE__);
        std::copy(p.begin(), p.end(), Pamd.begin());
    };
    // The whole graph of the unknowns (both triangles, no diagonal) for METIS.
    std::vector<idx_t> xadj, adj;
    const bool metisMogoc = urejanje_ != Urejanje::amd && n > 1 && A.Ap[n] < std::numeric_limits<idx_t>::max() / 2 &&
                            n < std::numeric_limits<idx_t>::max();
    if (metisMogoc) {
        xadj.assign(static_cast<std::size_t>(n) + 1, 0);
        for (long j = 0; j < n; ++j)
            for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p)
                if (A.Ai[p] != j) ++xadj[A.Ai[p] + 1], ++xadj[j + 1];
        for (long j = 0; j < n; ++j) xadj[j + 1] += xadj[j];
        adj.resize(static_cast<std::size_t>(xadj[n]));
        std::vector<idx_t> nasl(xadj.begin(), xadj.end() - 1);
        for (long j = 0; j < n; ++j)
            for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p)
                if (A.Ai[p] != j) {
                    adj[nasl[A.Ai[p]]++] = static_cast<idx_t>(j);
                    adj[nasl[j]++] = static_cast<idx_t>(A.Ai[p]);
                }
    }
    const bool samodejno = urejanje_ == Urejanje::samodejno && metisMogoc;
    std::vector<long> Pm;
    double cenaAmd = 0, cenaMetis = 0;
    auto metis = [&] {
        idx_t nv = static_cast<idx_t>(n);
        std::vector<idx_t> perm(n), iperm(n);
        idx_t opcije[METIS_NOPTIONS];
        METIS_SetDefaultOptions(opcije);
        if (METIS_NodeND(&nv, xadj.data(), adj.data(), nullptr, opcije, perm.data(), iperm.data()) != METIS_OK) return;
        Pm.assign(perm.begin(), perm.end());
        if (samodejno) cenaMetis = Cena(n, xadj, adj, Pm);
    };
    if (samodejno && !adj.empty() && n >= kUrejanjiHkrati) {
        // Both orderings at once, each on a thread, and the same choice.
        vzporedno::Vzporedno(2, 1e12, niti(), [&](long k) {
            if (k == 1) return metis();
            amd();
            cenaAmd = Cena(n, xadj, adj, Pamd);
        });
    } else {
        amd();
        cenaAmd = samodejno ? Cena(n, xadj, adj, Pamd) : 0.0;
        if (metisMogoc && !adj.empty() && (urejanje_ == Urejanje::metis || cenaAmd > kCenaZaMetis)) metis();
    }
    P_ = Pamd;
    izbrano_ = Urejanje::amd;
    if (!Pm.empty() && (urejanje_ == Urejanje::metis || (cenaAmd > kCenaZaMetis && cenaMetis < cenaAmd))) {
        P_ = Pm;
        izbrano_ = Urejanje::metis;
    }
    if (urejanje_ == Urejanje::metis && izbrano_ != Urejanje::metis && n > 0) {
        // Nothing for METIS to order (no edges, or it failed): minimum degree.
        urejanje_ = Urejanje::amd;
        uredi(A);
        urejanje_ = Urejanje::metis;
        return;
    }
    Pinv_.assign(n, 0);
    for (long k = 0; k < n; ++k) Pinv_[P_[k]] = k;
}

void redkiRazcep::permutiraj(const redkaSimetricna& A)
{
    const long n = A.n;
    // Upper triangle of P A P' by columns; the order within a column does not
    // matter to the factorisation, so one counting pass places it.
    const long nz = A.Ap[n];
    Cp_.assign(n + 1, 0);
    Ci_.assign(nz, 0);
    Cm_.assign(nz, 0);
    for (long j = 0; j < n; ++j)
        for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p) ++Cp_[std::max(Pinv_[A.Ai[p]], Pinv_[j]) + 1];
    for (long k = 0; k < n; ++k) Cp_[k + 1] += Cp_[k];
    {
        std::vector<long> nasl(Cp_.begin(), Cp_.end() - 1);
        for (long j = 0; j < n; ++j)
            for (long p = A.Ap[j]; p < A.Ap[j + 1]; ++p) {
                const long a = Pinv_[A.Ai[p]], b = Pinv_[j], q = nasl[std::max(a, b)]++;
                Ci_[q] = std::min(a, b);
                Cm_[q] = p;
            }
    }

}

void redkiRazcep::supervozlisca()
{
    const long n = n_;
    // Elimination tree and the count of every column of L below the
    // diagonal: row k of L is the subtree reached from the entries of column
    // k of C.
    std::vector<long> stars(n, -1), oznaka(n), st(n, 0);
    for (long k = 0; k < n; ++k) {
        oznaka[k] = k;
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
            for (long i = Ci_[q]; oznaka[i] != k; i = stars[i]) {
                if (stars[i] == -1) stars[i] = k;
                ++st[i];
                oznaka[i] = k;
            }
    }
    // Column k joins the supernode of k-1 when k-1's structure is k and
    // k's structure.
    Sf_.clear();
    Sup_.assign(n, 0);
    for (long k = 0; k < n; ++k) {
        if (k == 0 || stars[k - 1] != k || st[k - 1] != st[k] + 1) Sf_.push_back(k);
        Sup_[k] = static_cast<long>(Sf_.size()) - 1;
    }
    Sf_.push_back(n);

}

void redkiRazcep::panelnaStruktura()
{
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    // C's strict upper triangle by rows is the strict lower triangle of the
    // permuted matrix by columns.
    std::vector<long> Tp(n + 1, 0), Ti;
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
            if (Ci_[q] < k) ++Tp[Ci_[q] + 1];
    for (long k = 0; k < n; ++k) Tp[k + 1] += Tp[k];
    Ti.assign(Tp[n], 0);
    {
        std::vector<long> nasl(Tp.begin(), Tp.end() - 1);
        for (long k = 0; k < n; ++k)
            for (long q = Cp_[k]; q < Cp_[k + 1]; ++q)
                if (Ci_[q] < k) Ti[nasl[Ci_[q]]++] = k;
    }
    // The rows of a supernode below its columns are those of its own columns
    // in the matrix and those of its children below it.
    Rp_.assign(ns + 1, 0);
    Xp_.assign(ns + 1, 0);
    Rs_.clear();
    std::vector<long> prviOtrok(ns, -1), brat(ns, -1), oznakaS(n, -1), vrste;
    nnzL_ = 0;
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], l = Sf_[s + 1], nc = l - f;
        vrste.clear();
        for (long k = f; k < l; ++k) {
            vrste.push_back(k);
            oznakaS[k] = s;
        }
        auto dodaj = [&](long r) {
            if (oznakaS[r] != s) {
                oznakaS[r] = s;
                vrste.push_back(r);
            }
        };
        for (long k = f; k < l; ++k)
            for (long p = Tp[k]; p < Tp[k + 1]; ++p) dodaj(Ti[p]);
        for (long c = prviOtrok[s]; c != -1; c = brat[c])
            for (long p = Rp_[c] + Sf_[c + 1] - Sf_[c]; p < Rp_[c + 1]; ++p) dodaj(Rs_[p]);
        std::sort(vrste.begin() + nc, vrste.end());
        const long ld = static_cast<long>(vrste.size());
        Rs_.insert(Rs_.end(), vrste.begin(), vrste.end());
        Rp_[s + 1] = Rp_[s] + ld;
        Xp_[s + 1] = Xp_[s] + ld * nc;
        nnzL_ += nc * ld - nc * (nc + 1) / 2;
        if (ld > nc) {
            const long oce = Sup_[vrste[nc]];
            brat[s] = prviOtrok[oce];
            prviOtrok[oce] = s;
        }
    }
    // The root of every supernode's tree; a parent comes after its children.
    Koren_.resize(static_cast<std::size_t>(ns));
    for (long s = ns - 1; s >= 0; --s) {
        const long ld = Rp_[s + 1] - Rp_[s], nc = Sf_[s + 1] - Sf_[s];
        Koren_[s] = ld > nc ? Koren_[Sup_[Rs_[Rp_[s] + nc]]] : s;
    }
}

namespace {
// The largest panel (rows^2 x columns) a thread takes on its own in a
// subtree: a few milliseconds of arithmetic, its panel well within the cache.
constexpr double kVelikPanel = 9.6e6;
// Below this much work in all (a fraction of a millisecond) the tree is not
// split among threads.
constexpr double kMaloDela = 3e5;
// Below this many multiplications (a millisecond or two) a panel's columns
// are factored, or its block of the inverse formed, on one thread: the
// threads meet once per column, and a narrow panel's columns are too short
// for that.
constexpr double kDeloPanela = 2e6;
}  // namespace

// The supernodal elimination tree weighted by the work of every supernode,
// and its split into the supernodes above the subtrees and the subtrees'
// roots (poddrevesa).
struct redkiRazcep::DrevoDela {
    // The tree's links and the work of every supernode and of its subtree.
    explicit DrevoDela(const redkiRazcep& r);
    // The heaviest subtree split (its root goes above) until none holds more
    // than meja; returns the roots of the rest.
    std::priority_queue<std::pair<double, long>> razdeli(double meja);
    // The roots with a large panel taken above too; returns the subtrees'
    // roots with their work.
    std::vector<std::pair<double, long>> koreni(std::priority_queue<std::pair<double, long>>& kup);

    std::vector<double> W, lastno;        // work of each subtree, and of its root alone
    std::vector<long> oce, prvi, brat;    // parent (-1: a root), first child, next sibling
    std::vector<char> zgoraj;             // supernodes above the subtrees
    double vse = 0;                       // the work of the whole tree
};

redkiRazcep::DrevoDela::DrevoDela(const redkiRazcep& r)
{
    const long ns = static_cast<long>(r.Sf_.size()) - 1;
    W.assign(static_cast<std::size_t>(ns), 0.0);
    lastno.assign(static_cast<std::size_t>(ns), 0.0);
    oce.assign(static_cast<std::size_t>(ns), -1);
    prvi.assign(static_cast<std::size_t>(ns), -1);
    brat.assign(static_cast<std::size_t>(ns), -1);
    for (long s = 0; s < ns; ++s) {
        const long nc = r.Sf_[s + 1] - r.Sf_[s], ld = r.Rp_[s + 1] - r.Rp_[s];
        lastno[s] = static_cast<double>(ld) * static_cast<double>(ld) * static_cast<double>(nc);
        W[s] += lastno[s];
        if (ld > nc) {
            const long p = r.Sup_[r.Rs_[r.Rp_[s] + nc]];
            oce[s] = p;
            W[p] += W[s];
            brat[s] = prvi[p];
            prvi[p] = s;
        } else {
            vse += W[s];
        }
    }
}

std::priority_queue<std::pair<double, long>> redkiRazcep::DrevoDela::razdeli(double meja)
{
    const long ns = static_cast<long>(W.size());
    std::priority_queue<std::pair<double, long>> kup;
    for (long s = 0; s < ns; ++s)
        if (oce[s] < 0) kup.push({W[s], s});
    zgoraj.assign(static_cast<std::size_t>(ns), 0);
    while (!kup.empty() && kup.top().first > meja) {
        const long h = kup.top().second;
        kup.pop();
        zgoraj[h] = 1;
        for (long c = prvi[h]; c != -1; c = brat[c]) kup.push({W[c], c});
    }
    return kup;
}

// A supernode with a large panel stays above the subtrees too: there both
// threads share its panel, which a thread of its own would read beside
// another large panel, the two crowding each other out of the cache.
std::vector<std::pair<double, long>> redkiRazcep::DrevoDela::koreni(std::priority_queue<std::pair<double, long>>& kup)
{
    std::vector<std::pair<double, long>> k;
    std::vector<long> sklad;
    for (; !kup.empty(); kup.pop()) sklad.push_back(kup.top().second);
    while (!sklad.empty()) {
        const long h = sklad.back();
        sklad.pop_back();
        if (lastno[h] <= kVelikPanel) {
            k.push_back({W[h], h});
            continue;
        }
        zgoraj[h] = 1;
        for (long c = prvi[h]; c != -1; c = brat[c]) sklad.push_back(c);
    }
    return k;
}

void redkiRazcep::poddrevesa(int nt)
{
    // The heaviest subtree is split (its root goes above, to the shared
    // panels) until none holds more than a sixteenth of the work for two
    // threads: the threads then take the subtrees heaviest first, one at a
    // time, and finish at about the same time.  The work of a supernode is
    // about that of its factorisation and of its inverse.
    const long ns = static_cast<long>(Sf_.size()) - 1;
    nitiDelitve_ = nt;
    Grupa_.assign(static_cast<std::size_t>(ns), -1);
    PodP_.assign(1, 0);
    PodS_.clear();
    PodKonec_.clear();
    PodDelo_ = 0;
    if (nt < 2 || ns < 2) return;
    DrevoDela drevo(*this);
    if (drevo.vse < kMaloDela) return;
    std::priority_queue<std::pair<double, long>> kup = drevo.razdeli(drevo.vse / (8.0 * nt));
    std::vector<std::pair<double, long>> koreni = drevo.koreni(kup);
    // Subtrees heaviest first.
    std::sort(koreni.begin(), koreni.end(), std::greater<>());
    if (koreni.size() < 2) return;
    stevilciPoddrevesa(drevo, koreni);
}

// Every subtree numbered (heaviest first) with its supernodes, which inherit
// its number from their parent (parents come after their children).
void redkiRazcep::stevilciPoddrevesa(const DrevoDela& drevo, const std::vector<std::pair<double, long>>& koreni)
{
    const long ns = static_cast<long>(Sf_.size()) - 1;
    for (std::size_t g = 0; g < koreni.size(); ++g) {
        Grupa_[koreni[g].second] = static_cast<long>(g);
        PodKonec_.push_back(Sf_[koreni[g].second + 1]);
        PodDelo_ += koreni[g].first;
    }
    for (long s = ns - 1; s >= 0; --s)
        if (!drevo.zgoraj[s] && Grupa_[s] < 0 && drevo.oce[s] >= 0) Grupa_[s] = Grupa_[drevo.oce[s]];
    const long ng = static_cast<long>(koreni.size());
    PodP_.assign(static_cast<std::size_t>(ng) + 1, 0);
    for (long s = 0; s < ns; ++s)
        if (Grupa_[s] >= 0) ++PodP_[Grupa_[s] + 1];
    for (long g = 0; g < ng; ++g) PodP_[g + 1] += PodP_[g];
    PodS_.assign(static_cast<std::size_t>(PodP_[ng]), 0);
    std::vector<long> nasl(PodP_.begin(), PodP_.end() - 1);
    for (long s = 0; s < ns; ++s)
        if (Grupa_[s] >= 0) PodS_[nasl[Grupa_[s]]++] = s;
}

void redkiRazcep::mestaVPanelih()
{
    const long n = n_;
    // Place of every entry of C in the panels, for the numeric assembly.
    Cx_.assign(Ci_.size(), 0);
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            const long i = Ci_[q], s = Sup_[i], f = Sf_[s], ld = Rp_[s + 1] - Rp_[s];
            long r = k - f;
            if (k >= Sf_[s + 1])
                r = std::lower_bound(Rs_.begin() + Rp_[s] + Sf_[s + 1] - f, Rs_.begin() + Rp_[s + 1], k) -
                    (Rs_.begin() + Rp_[s]);
            Cx_[q] = Xp_[s] + (i - f) * ld + r;
        }
}

void redkiRazcep::relativni(long t, const long* R, long m, std::vector<long>& rel) const
{
    const long f = Sf_[t], l = Sf_[t + 1];
    const long* T = Rs_.data() + Rp_[t];
    const long* konec = Rs_.data() + Rp_[t + 1];
    const long* od = T + (l - f);
    rel.resize(static_cast<std::size_t>(m));
    for (long a = 0; a < m; ++a) {
        if (R[a] < l) {
            rel[a] = R[a] - f;
            continue;
        }
        od = std::lower_bound(od, konec, R[a]);
        if (od == konec || *od != R[a]) Napaka("razcep", Besedilo::MatFaktorNiZaprt, __LINE__);
        rel[a] = od - T;
    }
}

struct redkiRazcep::Delovni {
    std::vector<real> Lv, w;
    // Lv and w as pairs of doubles, where pari says that Lvd holds Lv.
    std::vector<dvojna> Lvd, wd;
    bool pari = false;
    // The runs of a panel's rows below its columns that fall in one later
    // supernode, with the positions of the rows from the run on in it.
    struct Tek {
        long b, b1, t, rel;
    };
    std::vector<Tek> teki;
    std::vector<long> rel, relVse;
    std::vector<long> naloge;  // first row of every pair of target columns
    std::vector<std::size_t> tekNaloge;
};

void redkiRazcep::preveriVzorec(const redkaSimetricna& A) const
{
    if (A.n != n_ || A.Ap != Ap_ || A.Ai != Ai_ || A.Ax.size() != A.Ai.size())
        Napaka("razcep", Besedilo::MatVzorecNiAnaliziran, __LINE__);
}

long redkiRazcep::razcep(const redkaSimetricna& A)
{
    preveriVzorec(A);
    const long ns = static_cast<long>(Sf_.size()) - 1;
    nicelni_.clear();
    inverz_ = false;
    zadnjiStolpec_ = -1;
    const std::vector<real> akk = sestavi(A);
    const int nt = niti();
    if (nitiDelitve_ != nt) poddrevesa(nt);
    std::vector<long> nic;  // places of the zero pivots
    Delovni d;
    if (PodKonec_.empty()) {
        // Right-looking by supernodes: when supernode s comes, every update
        // from the supernodes before it is in its panel.
        for (long s = 0; s < ns; ++s) {
            razcepiPanel(s, akk, nt, d, nic);
            posodobi(s, Sf_[s + 1] - Sf_[s], nt, d);
        }
    } else {
        razcepPoPoddrevesih(akk, nt, d, nic);
    }
    for (long k : nic) nicelni_.push_back(P_[k]);
    razcepljena_ = true;
    return static_cast<long>(nicelni_.size());
}

// The panels cleared and A's entries added into them; returns A's diagonal
// by pivots.
std::vector<real> redkiRazcep::sestavi(const redkaSimetricna& A)
{
    const long n = n_;
    if (!LxPrazen_) {
        // Cleared by blocks on the threads (a factor of gigabytes).
        constexpr long kKos = long{1} << 20;
        const long vseh = static_cast<long>(Lx_.size());
        Vzporedno((vseh + kKos - 1) / kKos, static_cast<double>(vseh), niti(), [&](long b) {
            std::fill(Lx_.begin() + b * kKos, Lx_.begin() + std::min(vseh, (b + 1) * kKos), 0.0L);
        });
    }
    LxPrazen_ = false;
    std::vector<real> akk(n, 0.0L);
    for (long k = 0; k < n; ++k)
        for (long q = Cp_[k]; q < Cp_[k + 1]; ++q) {
            Lx_[Cx_[q]] += A.Ax[Cm_[q]];
            if (Ci_[q] == k) akk[k] += A.Ax[Cm_[q]];
        }
    return akk;
}

// The subtrees first, each by one thread: every supernode of a subtree
// factored and its updates made within the subtree.  Then, in the order of
// the supernodes, the updates of the subtrees to the supernodes above them,
// and those supernodes themselves.  Every entry gets its updates in the same
// order as on one thread, so the digits are the same.
void redkiRazcep::razcepPoPoddrevesih(const std::vector<real>& akk, int nt, Delovni& d, std::vector<long>& nic)
{
    const long ns = static_cast<long>(Sf_.size()) - 1;
    const long ng = static_cast<long>(PodKonec_.size());
    std::vector<std::vector<long>> nicG(static_cast<std::size_t>(ng));
    std::vector<long> meja(static_cast<std::size_t>(ns), 0);
    Vzporedno(ng, PodDelo_, nt, [&](long g) {
        Delovni dg;
        for (long p = PodP_[g]; p < PodP_[g + 1]; ++p) {
            const long s = PodS_[p], nc = Sf_[s + 1] - Sf_[s], ld = Rp_[s + 1] - Rp_[s];
            const long* R = Rs_.data() + Rp_[s];
            const long m = std::lower_bound(R + nc, R + ld, PodKonec_[g]) - R;
            meja[s] = m;
            razcepiPanel(s, akk, 1, dg, nicG[g]);
            posodobi(s, nc, 1, dg, m);
        }
    });
    for (const auto& v : nicG) nic.insert(nic.end(), v.begin(), v.end());
    for (long s = 0; s < ns; ++s) {
        const long nc = Sf_[s + 1] - Sf_[s], ld = Rp_[s + 1] - Rp_[s];
        if (Grupa_[s] < 0) {
            razcepiPanel(s, akk, nt, d, nic);
            posodobi(s, nc, nt, d);
            continue;
        }
        if (meja[s] == ld) continue;
        vrsticeNadPoddrevesom(s, meja[s], d);
        posodobi(s, meja[s], nt, d);
    }
    std::sort(nic.begin(), nic.end());
}

// The rows od.. of a factored supernode s of a subtree, which lie above the
// subtree, into d.Lv (and their pairs) for its updates there.
void redkiRazcep::vrsticeNadPoddrevesom(long s, long od, Delovni& d) const
{
    const long nc = Sf_[s + 1] - Sf_[s], ld = Rp_[s + 1] - Rp_[s];
    const real* X = Lx_.data() + Xp_[s];
    Vsaj(d.Lv, ld * nc);
    for (long c = 0; c < nc; ++c)
        for (long r = od; r < ld; ++r) d.Lv[r * nc + c] = X[c * ld + r];
    d.pari = nc >= kPari;
    if (d.pari) {
        Vsaj(d.Lvd, ld * nc);
        for (long q = od * nc; q < ld * nc; ++q) d.pari = razcepi(d.Lv[q], d.Lvd[q]) && d.pari;
    }
}

// L D L' of a supernode's panel column by column, each column first updated
// by the columns before it (two rows at a time).  Step c of the threads (see
// Zaporedno) divides the rows below c by the pivot of column c - 1 and
// updates column c in them; closing it takes column c's pivot and divides
// row c + 1, whose row of L then scales the next update.  Step nc only
// divides.  Every value gets the operations of a column at a time in the
// same order.  The panel is also kept by rows (d.Lv), so that every sum runs
// along contiguous memory into one accumulator.
struct redkiRazcep::RazcepPanela {
    RazcepPanela(redkiRazcep& r, long s, const std::vector<real>& akk, Delovni& d, std::vector<long>& nic);
    // The steps, on nt threads where the panel has the work for them; then
    // d.pari says whether d.Lvd holds the panel's rows.
    void koraki(int nt);

private:
    // Row t's entry of column k - 1 divided, as a pair too; false where the
    // pair does not give it.
    bool vrstica(long k, long t, real piv);
    // Task i of step k: its rows divided, and column k updated in them.
    void korak(long k, long i);
    // The close of step c: column c's pivot, and row c + 1 of L divided and
    // scaled for the update of column c + 1.
    void zapri(long c);

    std::vector<real>& D;
    const std::vector<real>& akk;
    Delovni& d;
    std::vector<long>& nic;
    const long f, nc, ld;
    real* const X;
    bool pari;                      // d.Lv and d.w also as pairs of doubles
    std::atomic<bool> brezParov;    // some value without its pair
    // Tasks of every step, and rows of a task of every step.
    std::vector<long> koliko, vrstic;
};

redkiRazcep::RazcepPanela::RazcepPanela(redkiRazcep& r, long s, const std::vector<real>& akk, Delovni& d,
                                        std::vector<long>& nic)
    : D(r.D_), akk(akk), d(d), nic(nic), f(r.Sf_[s]), nc(r.Sf_[s + 1] - f), ld(r.Rp_[s + 1] - r.Rp_[s]),
      X(r.Lx_.data() + r.Xp_[s]), pari(nc >= kPari), brezParov(!pari)
{
    Vsaj(d.Lv, ld * nc);
    Vsaj(d.w, nc);
    // d.Lv and d.w also as pairs of doubles while every value has its pair.
    if (pari) {
        Vsaj(d.Lvd, ld * nc);
        Vsaj(d.wd, nc);
    }
}

void redkiRazcep::RazcepPanela::koraki(int nt)
{
    // A task of a step takes rows for some kZrno multiplications (an even
    // number of them), and a panel of little work stays on one thread.
    constexpr long kZrno = 8192;
    koliko.resize(static_cast<std::size_t>(nc) + 1);
    vrstic.resize(static_cast<std::size_t>(nc) + 1);
    for (long k = 0; k <= nc; ++k) {
        const long v = 2 * std::max(1L, kZrno / (2 * std::max(k, 1L)));
        vrstic[static_cast<std::size_t>(k)] = v;
        koliko[static_cast<std::size_t>(k)] = k == 0 ? 0 : (ld - k + v - 1) / v;
    }
    const double delo = static_cast<double>(ld) * static_cast<double>(nc) * static_cast<double>(nc) / 2;
    vzporedno::Zaporedno(
        koliko, delo, delo >= kDeloPanela ? nt : 1, [this](long k, long i) { korak(k, i); },
        [this](long c) { zapri(c); });
    pari = pari && !brezParov.load();
    d.pari = pari;
}

bool redkiRazcep::RazcepPanela::vrstica(long k, long t, real piv)
{
    if (k == 0 || t <= k) return true;
    const long q = t * nc + k - 1;
    d.Lv[q] = X[(k - 1) * ld + t] /= piv;
    return !pari || razcepi(d.Lv[q], d.Lvd[q]);
}

void redkiRazcep::RazcepPanela::korak(long k, long i)
{
    const long r0 = k + i * vrstic[static_cast<std::size_t>(k)];
    const long r1 = std::min(ld, r0 + vrstic[static_cast<std::size_t>(k)]);
    const real piv = D[f + k - 1];
    bool par = true;
    for (long t = r0; t < r1; ++t) par = vrstica(k, t, piv) && par;
    if (!par) brezParov.store(true, std::memory_order_relaxed);
    if (k == nc) return;
    par = par && !brezParov.load(std::memory_order_relaxed);
    real* kol = X + k * ld;
    auto vsote = [&](const auto* W, const auto* Y) {
        long r = r0;
        for (; r + 1 < r1; r += 2) {
            real v0, v1;
            Skalarna2(W, Y + r * nc, Y + (r + 1) * nc, k, v0, v1);
            kol[r] -= v0;
            kol[r + 1] -= v1;
        }
        if (r < r1) kol[r] -= Skalarna(W, Y + r * nc, k);
    };
    if (par)
        vsote(d.wd.data(), d.Lvd.data());
    else
        vsote(d.w.data(), d.Lv.data());
}

void redkiRazcep::RazcepPanela::zapri(long c)
{
    if (c == nc) return;
    real* kol = X + c * ld;
    real piv = kol[c];
    const real a = akk[f + c];
    if (!std::isfinite(piv) || a <= 0 || piv <= TOL_PIVOT * a) {
        nic.push_back(f + c);
        piv = a > 1 ? a : 1.0L;  // also when a is not a number
    }
    D[f + c] = piv;
    if (c + 1 >= ld) return;
    std::vector<real>& Lv = d.Lv;
    std::vector<real>& w = d.w;
    const long q = (c + 1) * nc + c;
    Lv[q] = kol[c + 1] /= piv;
    bool par = !pari || razcepi(Lv[q], d.Lvd[q]);
    if (c + 1 < nc) {
        for (long j = 0; j <= c; ++j) w[j] = Lv[(c + 1) * nc + j] * D[f + j];
        if (pari)
            for (long j = 0; j <= c; ++j) par = razcepi(w[j], d.wd[j]) && par;
    }
    if (!par) brezParov.store(true, std::memory_order_relaxed);
}

void redkiRazcep::razcepiPanel(long s, const std::vector<real>& akk, int nt, Delovni& d, std::vector<long>& nic)
{
    RazcepPanela p(*this, s, akk, d, nic);
    p.koraki(nt);
}

namespace {
// The target of a task of the update: the column tc of the panel's row bb
// and, where dva, the column tc1 of row bb + 1; the rows of the panel from
// row b (the first of the run) on are at rl[r - b] in both.
struct CiljPosodobitve {
    real* tc;
    real* tc1;
    const long* rl;
    long b, bb;
    bool dva;
};

// The sums over the rows Y of a panel of nc columns and ld rows (d.Lv or its
// pairs) with the scaled rows W of the target columns, taken from them.
template <typename T>
inline void OdstejVsote(const T* W, const T* Y, long nc, long ld, const CiljPosodobitve& c)
{
    real* const tc = c.tc;
    real* const tc1 = c.tc1;
    const long* const rl = c.rl;
    const long b = c.b, bb = c.bb;
    if (!c.dva) {
        long r = bb;
        for (; r + 1 < ld; r += 2) {
            real v0, v1;
            Skalarna2(W, Y + r * nc, Y + (r + 1) * nc, nc, v0, v1);
            tc[rl[r - b]] -= v0;
            tc[rl[r + 1 - b]] -= v1;
        }
        if (r < ld) tc[rl[r - b]] -= Skalarna(W, Y + r * nc, nc);
        return;
    }
    const T* w0 = W;
    const T* w1 = W + nc;
    tc[rl[0 + bb - b]] -= Skalarna(w0, Y + bb * nc, nc);
    long r = bb + 1;
    for (; r + 1 < ld; r += 2) {
        real v00, v01, v10, v11;
        Skalarna22(w0, w1, Y + r * nc, Y + (r + 1) * nc, nc, v00, v01, v10, v11);
        tc[rl[r - b]] -= v00;
        tc[rl[r + 1 - b]] -= v01;
        tc1[rl[r - b]] -= v10;
        tc1[rl[r + 1 - b]] -= v11;
    }
    if (r < ld) {
        real v0, v1;
        Skalarna2(Y + r * nc, w0, w1, nc, v0, v1);
        tc[rl[r - b]] -= v0;
        tc1[rl[r - b]] -= v1;
    }
}
}  // namespace

void redkiRazcep::posodobi(long s, long od, int nt, Delovni& d, long doo)
{
    const long nc = Sf_[s + 1] - Sf_[s], ld = Rp_[s + 1] - Rp_[s];
    if (doo < 0) doo = ld;
    if (od >= doo) return;
    // Update of the later columns in the panel's rows, one run of them
    // (the columns of one supernode t) at a time, two target columns at a
    // time: every pair writes its own two columns.
    tekiPosodobitve(s, od, doo, d);
    const double delo = static_cast<double>(ld - od) * static_cast<double>(ld - od) * nc / 2;
    const bool pari = d.pari && nc >= kPari;
    Vzporedno(static_cast<long>(d.naloge.size()), delo, nt, [&](long i) { posodobiStolpca(s, i, pari, d); });
}

// The runs of s's rows od..doo in the later supernodes, and a task for every
// pair of target columns in them.
void redkiRazcep::tekiPosodobitve(long s, long od, long doo, Delovni& d) const
{
    const long ld = Rp_[s + 1] - Rp_[s];
    const long* R = Rs_.data() + Rp_[s];
    auto& teki = d.teki;
    auto& rel = d.rel;
    auto& relVse = d.relVse;
    auto& naloge = d.naloge;
    auto& tekNaloge = d.tekNaloge;
    teki.clear();
    relVse.clear();
    naloge.clear();
    tekNaloge.clear();
    for (long b = od; b < doo;) {
        const long t = Sup_[R[b]];
        long b1 = b;
        while (b1 < ld && R[b1] < Sf_[t + 1]) ++b1;
        relativni(t, R + b, ld - b, rel);
        teki.push_back({b, b1, t, static_cast<long>(relVse.size())});
        relVse.insert(relVse.end(), rel.begin(), rel.end());
        for (long bb = b; bb < b1; bb += 2) {
            naloge.push_back(bb);
            tekNaloge.push_back(teki.size() - 1);
        }
        b = b1;
    }
}

// Task i of s's update: its one or two target columns, with pairs of
// doubles where pari and every scaled value has its pair.
void redkiRazcep::posodobiStolpca(long s, long i, bool pari, const Delovni& d)
{
    const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
    const long* R = Rs_.data() + Rp_[s];
    const std::vector<real>& Lv = d.Lv;
    thread_local std::vector<real> wt;
    thread_local std::vector<dvojna> wtd;
    wt.resize(static_cast<std::size_t>(2 * nc));
    const Delovni::Tek& tek = d.teki[d.tekNaloge[static_cast<std::size_t>(i)]];
    const long bb = d.naloge[static_cast<std::size_t>(i)], b = tek.b, t = tek.t;
    const long ldt = Rp_[t + 1] - Rp_[t];
    const long* rl = d.relVse.data() + tek.rel;
    const bool dva = bb + 1 < tek.b1;
    for (long j = 0; j < nc; ++j) wt[j] = Lv[bb * nc + j] * D_[f + j];
    if (dva)
        for (long j = 0; j < nc; ++j) wt[nc + j] = Lv[(bb + 1) * nc + j] * D_[f + j];
    real* tc = Lx_.data() + Xp_[t] + (R[bb] - Sf_[t]) * ldt;
    real* tc1 = dva ? Lx_.data() + Xp_[t] + (R[bb + 1] - Sf_[t]) * ldt : nullptr;
    const CiljPosodobitve cilj{tc, tc1, rl, b, bb, dva};
    bool par = pari;
    if (par) {
        wtd.resize(static_cast<std::size_t>(2 * nc));
        for (long j = 0; j < (dva ? 2 * nc : nc); ++j) par = razcepi(wt[j], wtd[j]) && par;
    }
    if (par)
        OdstejVsote(wtd.data(), d.Lvd.data(), nc, ld, cilj);
    else
        OdstejVsote(wt.data(), Lv.data(), nc, ld, cilj);
}

void redkiRazcep::resi(std::vector<real>& b) const
{
    if (!razcepljena_) Napaka("resi", Besedilo::MatNiRazcepljena, __LINE__);
    if (static_cast<long>(b.size()) != n_) Napaka("resi", Besedilo::MatVektorNElementov, __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    std::vector<real> y(n);
    for (long k = 0; k < n; ++k) y[k] = b[P_[k]];
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = 0; c < nc; ++c) {
            const real yc = y[f + c];
            for (long r = c + 1; r < ld; ++r) y[R[r]] -= X[c * ld + r] * yc;
        }
    }
    for (long k = 0; k < n; ++k) y[k] /= D_[k];
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            real v = y[f + c];
            for (long r = c + 1; r < ld; ++r) v -= X[c * ld + r] * y[R[r]];
            y[f + c] = v;
        }
    }
    for (long k = 0; k < n; ++k) b[P_[k]] = y[k];
}

void redkiRazcep::naprejRedko(const std::vector<std::pair<unsigned long, real>>& b, RedekStolpec& y) const
{
    if (!razcepljena_) Napaka("naprejRedko", Besedilo::MatNiRazcepljena, __LINE__);
    const long ns = static_cast<long>(Sf_.size()) - 1;
    y.x.resize(static_cast<std::size_t>(n_), 0.0L);
    y.oznaka.resize(static_cast<std::size_t>(ns), 0);
    for (long k : y.mesta) y.x[static_cast<std::size_t>(k)] = 0.0L;
    y.mesta.clear();
    y.vozlisca.clear();
    for (const auto& [i, v] : b) {
        preveriIndeks(static_cast<long>(i), "naprejRedko");
        const long k = Pinv_[i];
        y.x[static_cast<std::size_t>(k)] += v;
        // Up the tree of supernodes: the parent holds the first row below
        // the supernode's own columns.
        for (long s = Sup_[static_cast<std::size_t>(k)]; s >= 0 && !y.oznaka[static_cast<std::size_t>(s)];) {
            y.oznaka[static_cast<std::size_t>(s)] = 1;
            y.vozlisca.push_back(s);
            const long nc = Sf_[s + 1] - Sf_[s], ld = Rp_[s + 1] - Rp_[s];
            s = ld > nc ? Sup_[static_cast<std::size_t>(Rs_[Rp_[s] + nc])] : -1;
        }
    }
    std::sort(y.vozlisca.begin(), y.vozlisca.end());
    for (long s : y.vozlisca) {
        y.oznaka[static_cast<std::size_t>(s)] = 0;
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = 0; c < nc; ++c) {
            y.mesta.push_back(f + c);
            const real yc = y.x[static_cast<std::size_t>(f + c)];
            if (yc == 0.0L) continue;
            for (long r = c + 1; r < ld; ++r) y.x[static_cast<std::size_t>(R[r])] -= X[c * ld + r] * yc;
        }
    }
}

void redkiRazcep::resi(std::vector<real>& B, long k) const
{
    if (!razcepljena_) Napaka("resi", Besedilo::MatNiRazcepljena, __LINE__);
    if (k < 1 || static_cast<long>(B.size()) != n_ * k) Napaka("resi", Besedilo::MatNVrstic, __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    std::vector<real> Y(B.size());
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) Y[i * k + t] = B[P_[i] * k + t];
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        // Right-hand sides that are columns of the identity stay zero below
        // most of the tree: a panel whose values are all zero passes nothing on.
        bool nic = true;
        for (long q = f * k; q < (f + nc) * k && nic; ++q) nic = Y[static_cast<std::size_t>(q)] == 0.0L;
        if (nic) continue;
        for (long c = 0; c < nc; ++c) {
            const real* yc = Y.data() + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                real* yr = Y.data() + R[r] * k;
                for (long t = 0; t < k; ++t) yr[t] -= x * yc[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) Y[i * k + t] /= D_[i];
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            real* yc = Y.data() + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                const real* yr = Y.data() + R[r] * k;
                for (long t = 0; t < k; ++t) yc[t] -= x * yr[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) B[P_[i] * k + t] = Y[i * k + t];
}

void redkiRazcep::izbraniInverz()
{
    if (!razcepljena_) Napaka("izbraniInverz", Besedilo::MatNiRazcepljena, __LINE__);
    const long ns = static_cast<long>(Sf_.size()) - 1;
    Zx_.resize(Lx_.size());  // every place on the pattern is written
    Zd_.assign(n_, 0.0L);
    const int nt = niti();
    if (nitiDelitve_ != nt) poddrevesa(nt);
    // A supernode needs only the inverse in the supernodes above it: the
    // supernodes above the subtrees first, with their large panels shared
    // among the threads, then the subtrees, each by one thread.
    std::vector<long> rel;
    std::vector<real> G;
    const long ng = static_cast<long>(PodKonec_.size());
    for (long s = ns - 1; s >= 0; --s)
        if (ng == 0 || Grupa_[s] < 0) inverzPanela(s, nt, G, rel);
    Vzporedno(ng, PodDelo_, nt, [&](long g) {
        std::vector<long> relg;
        std::vector<real> Gg;
        for (long p = PodP_[g + 1] - 1; p >= PodP_[g]; --p) inverzPanela(PodS_[p], 1, Gg, relg);
    });
    inverz_ = true;
}

// The inverse on the pattern in the panel of one supernode, phase by phase.
// Z = D^-1 L^-1 + (I - L') Z by supernodes from the last: with J the columns
// of s and B the rows below them, Z(B,J) = -Z(B,B) L(B,J) L(J,J)^-1, and then
// Z(J,J) column by column.  B is a clique of the factor's graph, so Z(B,B) is
// already in the panels of the later supernodes.
struct redkiRazcep::InverzPanela {
    // A run of the rows B that lies in the structure of one later supernode
    // t: the positions of its rows from its first (row b of the panel) on in
    // t are at relVse[rel].
    struct Tek {
        long b, t, rel;
    };

    InverzPanela(redkiRazcep& r, long s, int nt)
        : r(r), f(r.Sf_[s]), nc(r.Sf_[s + 1] - f), ld(r.Rp_[s + 1] - r.Rp_[s]), m(ld - nc), nt(nt),
          X(r.Lx_.data() + r.Xp_[s]), Z(r.Zx_.data() + r.Xp_[s]), R(r.Rs_.data() + r.Rp_[s])
    {
    }
    void tekiVrstic(std::vector<long>& rel);
    void paroviL();
    void inverzBJ(std::vector<real>& G);
    void inverzJJ();

private:
    template <typename T>
    bool zberi(T* g0) const;
    template <typename T, typename U>
    void produkt(const T* Gp, const U* Lb) const;
    void vrsticiBJ(long a, long vrst, real* W) const;

    redkiRazcep& r;
    const long f, nc, ld, m;
    const int nt;
    const real* const X;   // the panel of L
    real* const Z;         // the panel of Z
    const long* const R;   // the panel's rows
    // The runs of B (tekiVrstic): the run of each row of B at tekP[b - nc].
    const Tek* tekiP = nullptr;
    const long* relP = nullptr;
    const long* tekP = nullptr;
    // L below its diagonal as pairs of doubles at Ldp (paroviL), where every
    // value has its pair and that pays.
    bool parL = false;
    const dvojna* Ldp = nullptr;
};

void redkiRazcep::inverzPanela(long s, int nt, std::vector<real>& G, std::vector<long>& rel)
{
    InverzPanela p(*this, s, nt);
    p.tekiVrstic(rel);
    p.paroviL();
    p.inverzBJ(G);
    p.inverzJJ();
}

// The rows B fall in runs, each in the structure of one later supernode t.
void redkiRazcep::InverzPanela::tekiVrstic(std::vector<long>& rel)
{
    thread_local std::vector<Tek> teki;
    thread_local std::vector<long> relVse, tekStolpca;
    teki.clear();
    relVse.clear();
    tekStolpca.resize(static_cast<std::size_t>(m));
    for (long b = nc; b < ld;) {
        const long t = r.Sup_[R[b]];
        long b1 = b;
        while (b1 < ld && R[b1] < r.Sf_[t + 1]) ++b1;
        r.relativni(t, R + b, ld - b, rel);
        for (long bb = b; bb < b1; ++bb) tekStolpca[static_cast<std::size_t>(bb - nc)] = static_cast<long>(teki.size());
        teki.push_back({b, t, static_cast<long>(relVse.size())});
        relVse.insert(relVse.end(), rel.begin(), rel.end());
        b = b1;
    }
    tekiP = teki.data();
    relP = relVse.data();
    tekP = tekStolpca.data();
}

// Z(B,B) gathered into g0 (m x m) from the panels of the later supernodes:
// column by column (each its own task), then the upper triangle from the
// lower, by tiles that stay in the cache.  False where some value has no
// pair (g0 held as pairs of doubles).
template <typename T>
bool redkiRazcep::InverzPanela::zberi(T* g0) const
{
    std::atomic<bool> tocno{true};
    const double delo = 3.0 * static_cast<double>(m) * static_cast<double>(m) / 2;
    Vzporedno(m, delo, nt, [&](long q) {
        const Tek& tek = tekiP[tekP[q]];
        const long bb = nc + q, t = tek.t, ldt = r.Rp_[t + 1] - r.Rp_[t];
        const real* zc = r.Zx_.data() + r.Xp_[t] + (R[bb] - r.Sf_[t]) * ldt;
        const long* rl = relP + tek.rel - tek.b;
        auto* g = g0 + q * m - nc;
        bool ok = true;
        for (long i = bb; i < ld; ++i) ok = razcepi(zc[rl[i]], g[i]) && ok;
        if (!ok) tocno.store(false, std::memory_order_relaxed);
    });
    constexpr long kPloscica = 32;
    Vzporedno((m + kPloscica - 1) / kPloscica, delo, nt, [&](long p) {
        const long j0 = p * kPloscica, j1 = std::min(j0 + kPloscica, m);
        for (long i0 = j0; i0 < m; i0 += kPloscica) {
            const long i1 = std::min(i0 + kPloscica, m);
            for (long i = i0; i < i1; ++i)
                for (long j = j0; j < std::min(j1, i); ++j) g0[j + i * m] = g0[i + j * m];
        }
    });
    return tocno.load();
}

// The panel of L below its diagonal as pairs (Ld), where that pays.
void redkiRazcep::InverzPanela::paroviL()
{
    thread_local std::vector<dvojna> Ld;
    parL = m >= kPari || nc >= kPari;
    if (parL) {
        Vsaj(Ld, nc * ld);
        dvojna* const Lp = Ld.data();
        std::atomic<bool> tocno{true};
        Vzporedno(nc, 3.0 * static_cast<double>(nc) * static_cast<double>(ld), nt, [&](long c) {
            bool ok = true;
            for (long i = c + 1; i < ld; ++i) ok = razcepi(X[c * ld + i], Lp[c * ld + i]) && ok;
            if (!ok) tocno.store(false, std::memory_order_relaxed);
        });
        parL = tocno.load();
    }
    Ldp = Ld.data();
}

// Z(B,J) = -Z(B,B) L(B,J) L(J,J)^-1, from Z(B,B) gathered into G, or into
// pairs of doubles where that pays and every value has its pair.
void redkiRazcep::InverzPanela::inverzBJ(std::vector<real>& G)
{
    thread_local std::vector<dvojna> Gd;
    bool pari = parL && m >= kPari;
    if (pari) {
        Vsaj(Gd, m * m);
        pari = zberi(Gd.data());
    }
    if (!pari) {
        Vsaj(G, m * m);
        zberi(G.data());
    }
    if (pari)
        produkt(Gd.data(), Ldp + nc);
    else
        produkt(G.data(), X + nc);
}

// Rows a and a + 1 (vrst of them) of Z(B,J) = -Y L(J,J)^-1 from their rows
// of Y = Z(B,B) L(B,J) in W (row a + 1 at W + nc); every pair of rows writes
// its own rows.  Both rows go against each column of L(J,J)', on pairs (Wd,
// Ldp) while every value has its pair.
void redkiRazcep::InverzPanela::vrsticiBJ(long a, long vrst, real* W) const
{
    thread_local std::vector<dvojna> Wd;
    Wd.resize(static_cast<std::size_t>(2 * nc));
    real* w0 = W;
    real* w1 = W + nc;
    bool par = parL && nc >= kPari;
    auto stolpec = [&](long c, const auto* x0, const auto* x1, const auto* lc) {
        real v0 = -w0[c], v1 = vrst == 2 ? -w1[c] : 0.0L;
        skalarna::Odstej(v0, v1, x0, x1, lc, c + 1, nc, vrst == 2);
        w0[c] = v0;
        if (vrst == 2) w1[c] = v1;
    };
    for (long c = nc - 1; c >= 0; --c) {
        if (par)
            stolpec(c, Wd.data(), Wd.data() + nc, Ldp + c * ld);
        else
            stolpec(c, w0, w1, X + c * ld);
        for (long e = 0; e < vrst; ++e) Z[c * ld + nc + a + e] = W[e * nc + c];
        if (par) par = razcepi(w0[c], Wd[c]) && (vrst < 2 || razcepi(w1[c], Wd[nc + c]));
    }
}

// The rows of Y = Z(B,B) L(B,J) (Z(B,B) at Gp, m x m, the columns of L(B,J)
// at Lb + c ld), each pair of them passed on to vrsticiBJ.  A task takes
// kVrsticProdukta rows, so that each pass over the columns of L(B,J) serves
// all of them from the cache.
template <typename T, typename U>
void redkiRazcep::InverzPanela::produkt(const T* Gp, const U* Lb) const
{
    const double delo = static_cast<double>(m) * static_cast<double>(m) * nc;
    const long blokov = (m + kVrsticProdukta - 1) / kVrsticProdukta;
    Vzporedno(blokov, delo, nt, [&](long q) {
        thread_local std::vector<real> Wb;
        const long a0 = q * kVrsticProdukta, a1 = std::min(m, a0 + kVrsticProdukta);
        Wb.resize(static_cast<std::size_t>((a1 - a0) * nc));
        long c = 0;
        for (; c + 1 < nc; c += 2) {
            const U* l0 = Lb + c * ld;
            const U* l1 = l0 + ld;
            for (long a = a0; a < a1; a += 2) {
                real* wa = Wb.data() + (a - a0) * nc;
                const T* g0 = Gp + a * m;
                if (a + 1 < a1)
                    Skalarna22(g0, g0 + m, l0, l1, m, wa[c], wa[c + 1], wa[nc + c], wa[nc + c + 1]);
                else
                    Skalarna2(g0, l0, l1, m, wa[c], wa[c + 1]);
            }
        }
        if (c < nc)
            for (long a = a0; a < a1; a += 2) {
                real* wa = Wb.data() + (a - a0) * nc;
                const T* g0 = Gp + a * m;
                if (a + 1 < a1)
                    Skalarna2(Lb + c * ld, g0, g0 + m, m, wa[c], wa[nc + c]);
                else
                    wa[c] = Skalarna(g0, Lb + c * ld, m);
            }
        for (long a = a0; a < a1; a += 2) vrsticiBJ(a, std::min(2L, a1 - a), Wb.data() + (a - a0) * nc);
    });
}

// Z(J,J) from its later columns and from Z(B,J).  The entries of a column of
// Z(J,J) are mirrored above the diagonal of the column of their row, in the
// panel's unused part, so that column i of Z holds Z(i, k) for every later k
// along contiguous memory.  The sums run on pairs of doubles (Ldp, Zp) while
// every value has its pair: column i of Zp is split once it is done, with the
// mirrored entries of the step that wrote them.
void redkiRazcep::InverzPanela::inverzJJ()
{
    thread_local std::vector<dvojna> Zp;
    bool parJ = parL && nc >= kPari;
    if (parJ) {
        Vsaj(Zp, nc * ld);
        for (long c = 0; c < nc && parJ; ++c)
            for (long i = nc; i < ld; ++i) parJ = razcepi(Z[c * ld + i], Zp[c * ld + i]) && parJ;
    }
    // Step k of the threads (Zaporedno) forms column c = nc - 1 - k below
    // its diagonal, a task some kZrno multiplications of it (pairs of
    // rows); closing the step forms the diagonal.
    constexpr long kZrno = 8192;
    std::vector<long> koliko(static_cast<std::size_t>(nc)), parov(static_cast<std::size_t>(nc));
    for (long k = 0; k < nc; ++k) {
        const long c = nc - 1 - k, p = std::max(1L, kZrno / (2 * (ld - c)));
        parov[static_cast<std::size_t>(k)] = p;
        koliko[static_cast<std::size_t>(k)] = ((nc - c) / 2 + p - 1) / p;
    }
    const double delo = static_cast<double>(nc) * static_cast<double>(nc) * static_cast<double>(ld) / 2;
    dvojna* const Zpp = Zp.data();   // the caller's (Zp is the thread's own)
    vzporedno::Zaporedno(
        koliko, delo, delo >= kDeloPanela ? nt : 1,
        [&](long k, long t) {
            const long c = nc - 1 - k, dolz = ld - c - 1, p0 = t * parov[static_cast<std::size_t>(k)];
            const long p1 = std::min((nc - c) / 2, p0 + parov[static_cast<std::size_t>(k)]);
            auto vsote = [&](const auto* Lc, const auto* Zs) {
                for (long p = p0; p < p1; ++p) {
                    const long i = c + 1 + 2 * p;
                    if (i + 1 < nc) {
                        real v0, v1;
                        Skalarna2(Lc + c + 1, Zs + i * ld + c + 1, Zs + (i + 1) * ld + c + 1, dolz, v0, v1);
                        Z[c * ld + i] = Z[i * ld + c] = -v0;
                        Z[c * ld + i + 1] = Z[(i + 1) * ld + c] = -v1;
                    } else {
                        const real v = Skalarna(Lc + c + 1, Zs + i * ld + c + 1, dolz);
                        Z[c * ld + i] = Z[i * ld + c] = -v;
                    }
                }
            };
            if (parJ)
                vsote(Ldp + c * ld, Zpp);
            else
                vsote(X + c * ld, Z);
        },
        [&](long k) {
            const long c = nc - 1 - k;
            const real* lc = X + c * ld;
            real v = 1.0L / r.D_[f + c];
            for (long i = c + 1; i < ld; ++i) v -= lc[i] * Z[c * ld + i];
            Z[c * ld + c] = v;
            r.Zd_[f + c] = v;
            if (parJ)
                for (long i = c; i < nc; ++i)
                    parJ = razcepi(Z[c * ld + i], Zpp[c * ld + i]) && razcepi(Z[i * ld + c], Zpp[i * ld + c]) && parJ;
        });
}

void redkiRazcep::preveriIndeks(long i, const char* kje) const
{
    if (!razcepljena_) Napaka(std::string(kje), Besedilo::MatNiRazcepljena, __LINE__);
    if (i < 0 || i >= n_) matrikaError(NapakaFunkcije("redkiRazcep::" + std::string(kje), Besedilo::MatIndeksIzven),
                                       F, __LINE__, i, n_ - 1);
}

real redkiRazcep::inverz(long i, long j) const
{
    preveriIndeks(i, "inverz");
    preveriIndeks(j, "inverz");
    if (inverz_) {
        const long a = Pinv_[i], b = Pinv_[j];
        if (a == b) return Zd_[a];
        const long lo = std::min(a, b), hi = std::max(a, b), s = Sup_[lo], f = Sf_[s];
        const long ld = Rp_[s + 1] - Rp_[s], stolpec = Xp_[s] + (lo - f) * ld;
        if (hi < Sf_[s + 1]) return Zx_[stolpec + hi - f];
        const auto z = Rs_.begin() + Rp_[s], e = Rs_.begin() + Rp_[s + 1];
        const auto it = std::lower_bound(z + (Sf_[s + 1] - f), e, hi);
        if (it != e && *it == hi) return Zx_[stolpec + (it - z)];
    }
    // Unknowns in two trees of the elimination forest are in two unjoined
    // parts of the system (the X, Y and Z of uncorrelated baselines): their
    // cofactor is exactly 0, and a solve would only find that out slowly.
    if (razcepljena_ && Koren_[Sup_[Pinv_[i]]] != Koren_[Sup_[Pinv_[j]]]) return 0.0L;
    const std::lock_guard<std::mutex> zaklep(zaklep_.m);
    if (zadnjiStolpec_ < 0 || j < zadnjiStolpec_ || j >= zadnjiStolpec_ + kBlok) {
        zadnjiStolpec_ = std::min(j, std::max(n_ - kBlok, 0L));
        const long k = std::min(kBlok, n_);
        stolpec_.assign(static_cast<std::size_t>(n_ * k), 0.0L);
        for (long t = 0; t < k; ++t) stolpec_[static_cast<std::size_t>((zadnjiStolpec_ + t) * k + t)] = 1.0L;
        resi(stolpec_, k);
    }
    return stolpec_[static_cast<std::size_t>(i * std::min(kBlok, n_) + (j - zadnjiStolpec_))];
}
