// The whole inverse of a factored sparse matrix and columns of it, for a
// print of every cofactor pair (the correlation table of the unknowns).
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <type_traits>

#include "matrika/matrikaAux.h"
#include "matrika/redkirazcep.h"
#include "matrika/skalarna.h"
#include "matrika/vzporedno.h"

namespace {
const char* const F = "matrika/redkicelotniinverz";

// From this many columns of a supernode on, the sums run on pairs of
// doubles (skalarna.h).
constexpr long kPari = 16;
// Rows of Z formed as one block (its rows of Z stay in the cache).
constexpr long kVrstic = 64;

// Two rows of Z(i, B) for the sums below: rows y0 and y1 of a copy, or
// gathered from Z held as pairs at zi[odmik[b]] and the next row (the pairs
// load as fast there as from a copy).  Each gives the products of one or
// two columns of L with one row or both.
template <typename E>
struct Vrsti {
    const E* y0;
    const E* y1;
    void Dva(const E* l0, const E* l1, long m, real& s00, real& s01, real& s10, real& s11) const
    {
        skalarna::Skalarna22(l0, l1, y0, y1, m, s00, s01, s10, s11);
    }
    void Stolpec(const E* l0, long m, real& s0, real& s1) const { skalarna::Skalarna2(l0, y0, y1, m, s0, s1); }
    void Vrstica(const E* l0, const E* l1, long m, real& s0, real& s1) const { skalarna::Skalarna2(y0, l0, l1, m, s0, s1); }
    real Ena(const E* l0, long m) const { return skalarna::Skalarna(l0, y0, m); }
};
struct Zbrane {
    const dvojna* zi;
    const std::size_t* odmik;
    void Dva(const dvojna* l0, const dvojna* l1, long m, real& s00, real& s01, real& s10, real& s11) const
    {
        skalarna::Skalarna22Z(l0, l1, zi, odmik, m, s00, s01, s10, s11);
    }
    void Stolpec(const dvojna* l0, long m, real& s0, real& s1) const { skalarna::Skalarna2Z(l0, zi, odmik, m, s0, s1); }
    void Vrstica(const dvojna* l0, const dvojna* l1, long m, real& s0, real& s1) const
    {
        real a = 0, b = 0;
        for (long k = 0; k < m; ++k) {
            const real y = vrednost(zi[odmik[k]]);
            a += y * vrednost(l0[k]);
            b += y * vrednost(l1[k]);
        }
        s0 = a, s1 = b;
    }
    real Ena(const dvojna* l0, long m) const
    {
        real a = 0;
        for (long k = 0; k < m; ++k) a += vrednost(l0[k]) * vrednost(zi[odmik[k]]);
        return a;
    }
};

// The sums of a supernode's columns over the rows below it for one row of
// Z or two (v = 2), from two rows y of Z(i, B) and the columns of L below
// the supernode (column c at Lb + c ld):
//   w(t, c) = -sum_b L(nc + b, c) Z(i + t, k_b),
// two rows and two columns at a time.  Each sum is formed as +sum and
// negated, the same value as the difference from 0 the recurrence asks
// for; an exact 0 is +0 there, and so here.
template <typename E, typename Y>
void Vsote(const Y& y, long v, const E* Lb, long ld, long m, long nc, real* w)
{
    auto minus = [](real x) { return x == 0 ? 0.0L : -x; };
    long c = 0;
    for (; c + 1 < nc; c += 2) {
        const E* l0 = Lb + c * ld;
        const E* l1 = l0 + ld;
        if (v == 2) {
            real s00, s01, s10, s11;
            y.Dva(l0, l1, m, s00, s01, s10, s11);
            w[c] = minus(s00), w[nc + c] = minus(s01), w[c + 1] = minus(s10), w[nc + c + 1] = minus(s11);
        } else {
            real s0, s1;
            y.Vrstica(l0, l1, m, s0, s1);
            w[c] = minus(s0), w[c + 1] = minus(s1);
        }
    }
    if (c < nc) {
        const E* l0 = Lb + c * ld;
        if (v == 2) {
            real s0, s1;
            y.Stolpec(l0, m, s0, s1);
            w[c] = minus(s0), w[nc + c] = minus(s1);
        } else {
            w[c] = minus(y.Ena(l0, m));
        }
    }
}

// The same sums straight from Z for a supernode of few columns, where a
// copy of the rows would cost as much as the sums: rows i and i + 1 of
// Z(:, B) at zi[odmik[b]] and zi[odmik[b] + 1] (column k_b of Z by columns).
// Each sum is the difference from 0, term by term.
void VsoteNaravnost(const real* zi, const std::size_t* odmik, long v, const real* Lb, long ld, long m, long nc, real* w)
{
    long c = 0;
    for (; c + 1 < nc; c += 2) {
        const real* l0 = Lb + c * ld;
        const real* l1 = l0 + ld;
        if (v == 2) {
            real s00 = 0, s01 = 0, s10 = 0, s11 = 0;
            for (long b = 0; b < m; ++b) {
                const real* zb = zi + odmik[b];
                const real a0 = l0[b], a1 = l1[b], y0 = zb[0], y1 = zb[1];
                s00 -= a0 * y0;
                s01 -= a0 * y1;
                s10 -= a1 * y0;
                s11 -= a1 * y1;
            }
            w[c] = s00, w[nc + c] = s01, w[c + 1] = s10, w[nc + c + 1] = s11;
        } else {
            real s0 = 0, s1 = 0;
            for (long b = 0; b < m; ++b) {
                const real y0 = zi[odmik[b]];
                s0 -= l0[b] * y0;
                s1 -= l1[b] * y0;
            }
            w[c] = s0, w[c + 1] = s1;
        }
    }
    if (c < nc) {
        const real* l0 = Lb + c * ld;
        if (v == 2) {
            real s0 = 0, s1 = 0;
            for (long b = 0; b < m; ++b) {
                const real* zb = zi + odmik[b];
                const real a = l0[b];
                s0 -= a * zb[0];
                s1 -= a * zb[1];
            }
            w[c] = s0, w[nc + c] = s1;
        } else {
            real s = 0;
            for (long b = 0; b < m; ++b) s -= l0[b] * zi[odmik[b]];
            w[c] = s;
        }
    }
}
// An entry of Z written: as it is, or as its pair where the pair gives it
// again (false where it does not).
inline bool Shrani(real x, real& z)
{
    z = x;
    return true;
}
inline bool Shrani(real x, dvojna& z) { return hrani(x, z); }
}  // namespace

// The whole inverse for celotniInverzV, phase by phase: L as pairs, then the
// blocks of rows of Z shared among the threads, each through the supernodes
// from the last that reaches its rows.
template <typename E>
struct redkiRazcep::CelotniInverz {
    static constexpr bool pari = std::is_same_v<E, dvojna>;

    CelotniInverz(const redkiRazcep& r, E* z)
        : r(r), z(z), n(r.n_), ns(static_cast<long>(r.Sf_.size()) - 1), nn(static_cast<std::size_t>(n)),
          blokov((n + kVrstic - 1) / kVrstic), napredek(static_cast<std::size_t>(blokov))
    {
    }
    bool paroviL();
    void bloki();
    // A value of Z without its pair ends every block.
    std::atomic<bool> brezPara{false};

private:
    // A thread's working rows: the sums of two rows (w, and as pairs wd),
    // their rows of Z(i, B) copied as pairs (Yd) or the places of the
    // columns k_b of Z (odmik).
    struct Vrstice {
        std::vector<real> w;
        std::vector<dvojna> Yd, wd;
        std::vector<std::size_t> odmik;
    };
    E& el(long i, long j) const { return z[static_cast<std::size_t>(j) * nn + static_cast<std::size_t>(i)]; }
    void blok(long q);
    void cakaj(long q, long s) const;
    bool zberiVrstice(long s, long od, long vrstic, Vrstice& d) const;
    void podSupervozliscem(long s, long od, long i1, Vrstice& d, bool& tocno) const;
    void vsoteJPari(long s, long i, long v, Vrstice& d, bool& tocno) const;
    void vsoteJ(long s, long i, long v, Vrstice& d) const;
    void vSupervozliscu(long s, long i0, long i1, bool& tocno) const;

    const redkiRazcep& r;
    E* const z;
    const long n, ns;
    const std::size_t nn;
    // L's values as pairs (paroviL), by supernodes whether those below the
    // supernode (pariB) and within it (pariJ) all have their pairs.
    std::vector<dvojna> Ld;
    std::vector<unsigned char> pariB, pariJ;
    double delo = 0;   // multiplications of the whole inverse
    const long blokov;
    // The supernodes each block is done with: ns before it starts, s once
    // it is done with s, -1 at its end (or when it failed, so that no
    // thread waits for it; the failure is passed on).
    std::vector<std::atomic<long>> napredek;
};

// L's values as pairs of doubles for the supernodes of kPari columns and
// more (every one where Z is held as pairs), below the supernode and within
// it, where every value has its pair.  False where Z is held as pairs and
// some value of L has none.
template <typename E>
bool redkiRazcep::CelotniInverz<E>::paroviL()
{
    Ld.resize(r.Lx_.size());
    pariB.resize(static_cast<std::size_t>(ns));
    pariJ.resize(static_cast<std::size_t>(ns));
    for (long s = 0; s < ns; ++s) {
        const long f = r.Sf_[s], nc = r.Sf_[s + 1] - f, ld = r.Rp_[s + 1] - r.Rp_[s], m = ld - nc;
        delo += static_cast<double>(n - f - nc) * static_cast<double>(nc * m);
        if (nc < kPari && !pari) continue;
        const real* X = r.Lx_.data() + r.Xp_[s];
        dvojna* Xd = Ld.data() + r.Xp_[s];
        bool b = m > 0, j = true;
        for (long c = 0; c < nc; ++c) {
            for (long e = c + 1; e < nc; ++e) j = razcepi(X[c * ld + e], Xd[c * ld + e]) && j;
            for (long k = nc; k < ld; ++k) b = razcepi(X[c * ld + k], Xd[c * ld + k]) && b;
        }
        pariB[static_cast<std::size_t>(s)] = b;
        pariJ[static_cast<std::size_t>(s)] = j;
        if (pari && !((b || m == 0) && j)) return false;
    }
    return true;
}

// The blocks from the last, shared among the threads.
template <typename E>
void redkiRazcep::CelotniInverz<E>::bloki()
{
    for (auto& a : napredek) a.store(ns, std::memory_order_relaxed);
    vzporedno::Vzporedno(blokov, delo, r.niti(), [this](long k) { blok(blokov - 1 - k); });
}

// Block q of kVrstic rows through the supernodes from the last one that
// reaches its rows back to the first.
template <typename E>
void redkiRazcep::CelotniInverz<E>::blok(long q)
{
    struct Konec {
        std::atomic<long>& a;
        ~Konec() { a.store(-1, std::memory_order_release); }
    } konec{napredek[static_cast<std::size_t>(q)]};
    const long i0 = q * kVrstic, i1 = std::min(n, i0 + kVrstic);
    thread_local Vrstice d;
    const long prvi = r.Sup_[static_cast<std::size_t>(i0)];
    bool tocno = true;
    for (long s = r.Sup_[static_cast<std::size_t>(i1 - 1)]; s >= 0; --s) {
        if (pari && !tocno) brezPara.store(true, std::memory_order_relaxed);
        if (pari && brezPara.load(std::memory_order_relaxed)) return;
        // Every later block done with s; from the supernode of the
        // block's first column on nothing more is needed of them.
        if (s >= prvi) cakaj(q, s);
        const long f = r.Sf_[s], nc = r.Sf_[s + 1] - f;
        const long od = std::max(f + nc, i0);
        if (od < i1) podSupervozliscem(s, od, i1, d, tocno);
        if (f + nc > i0) vSupervozliscu(s, i0, i1, tocno);
        napredek[static_cast<std::size_t>(q)].store(s, std::memory_order_release);
    }
    if (pari && !tocno) brezPara.store(true, std::memory_order_relaxed);
}

// Every later block than q done with s: its progress at s or below, -1 at
// its end.
template <typename E>
void redkiRazcep::CelotniInverz<E>::cakaj(long q, long s) const
{
    for (long p = q + 1; p < blokov; ++p) {
        const std::atomic<long>& a = napredek[static_cast<std::size_t>(p)];
        vzporedno::CakajDo([&] { return a.load(std::memory_order_acquire) <= s; });
    }
}

// Rows od .. od + vrstic of Z(:, B) for the sums below supernode s: copied
// as pairs into d.Yd (true) where the supernode's L(B, J) has its pairs, Z
// is held in long doubles and every value has its pair; otherwise the
// places of the columns k_b of Z in d.odmik.
template <typename E>
bool redkiRazcep::CelotniInverz<E>::zberiVrstice(long s, long od, long vrstic, Vrstice& d) const
{
    const long nc = r.Sf_[s + 1] - r.Sf_[s], m = r.Rp_[s + 1] - r.Rp_[s] - nc;
    const long* R = r.Rs_.data() + r.Rp_[s];
    bool par = pariB[static_cast<std::size_t>(s)] != 0 && !pari;
    if (par) {
        d.Yd.resize(static_cast<std::size_t>(vrstic * m));
        for (long b = 0; b < m; ++b) {
            const E* zk = &el(od, R[nc + b]);
            for (long t = 0; t < vrstic; ++t) par = razcepi(vrednost(zk[t]), d.Yd[static_cast<std::size_t>(t * m + b)]) && par;
        }
    }
    if (!par) {
        d.odmik.resize(static_cast<std::size_t>(m));
        for (long b = 0; b < m; ++b) d.odmik[static_cast<std::size_t>(b)] = static_cast<std::size_t>(R[nc + b]) * nn;
    }
    return par;
}

// The block's rows od .. i1 below supernode s, two at a time: the sums over
// B from Z(i, B) (gathered as pairs where they pay), then the sums within J
// against L(J, J).
template <typename E>
void redkiRazcep::CelotniInverz<E>::podSupervozliscem(long s, long od, long i1, Vrstice& d, bool& tocno) const
{
    const long nc = r.Sf_[s + 1] - r.Sf_[s], ld = r.Rp_[s + 1] - r.Rp_[s], m = ld - nc;
    const real* X = r.Lx_.data() + r.Xp_[s];
    const dvojna* Xd = Ld.data() + r.Xp_[s];
    const long vrstic = i1 - od;
    d.wd.resize(static_cast<std::size_t>(2 * nc));
    d.w.resize(static_cast<std::size_t>(2 * nc));
    const bool par = zberiVrstice(s, od, vrstic, d);
    for (long t = 0; t < vrstic; t += 2) {
        const long i = od + t, v = std::min(2L, vrstic - t);
        if constexpr (pari)
            Vsote(Zbrane{z + i, d.odmik.data()}, v, Xd + nc, ld, m, nc, d.w.data());
        else if (par)
            Vsote(Vrsti<dvojna>{d.Yd.data() + t * m, d.Yd.data() + (t + 1) * m}, v, Xd + nc, ld, m, nc, d.w.data());
        else
            VsoteNaravnost(z + i, d.odmik.data(), v, X + nc, ld, m, nc, d.w.data());
        if constexpr (pari)
            vsoteJPari(s, i, v, d, tocno);
        else
            vsoteJ(s, i, v, d);
    }
}

// Rows i and i + 1 (v of them) of Z(:, J) held as pairs, from their sums
// over B in d.w: the sums within J from the last column of J back.  The pair
// of each value is the entry of Z and the operand of the sums within J at
// once.
template <typename E>
void redkiRazcep::CelotniInverz<E>::vsoteJPari(long s, long i, long v, Vrstice& d, bool& tocno) const
{
    const long f = r.Sf_[s], nc = r.Sf_[s + 1] - f, ld = r.Rp_[s + 1] - r.Rp_[s];
    const dvojna* Xd = Ld.data() + r.Xp_[s];
    real* w0 = d.w.data();
    real* w1 = d.w.data() + nc;
    dvojna* p0 = d.wd.data();
    dvojna* p1 = d.wd.data() + nc;
    for (long c = nc - 1; c >= 0; --c) {
        real v0 = w0[c], v1 = w1[c];
        skalarna::Odstej(v0, v1, p0, p1, Xd + c * ld, c + 1, nc, v == 2);
        tocno = hrani(v0, p0[c]) && tocno;
        el(i, f + c) = el(f + c, i) = p0[c];
        if (v == 2) {
            tocno = hrani(v1, p1[c]) && tocno;
            el(i + 1, f + c) = el(f + c, i + 1) = p1[c];
        }
    }
}

// The same in long doubles: the sums within J on pairs (d.wd against L(J, J)
// as pairs) while every value has its pair.
template <typename E>
void redkiRazcep::CelotniInverz<E>::vsoteJ(long s, long i, long v, Vrstice& d) const
{
    const long f = r.Sf_[s], nc = r.Sf_[s + 1] - f, ld = r.Rp_[s + 1] - r.Rp_[s];
    const real* X = r.Lx_.data() + r.Xp_[s];
    const dvojna* Xd = Ld.data() + r.Xp_[s];
    real* w0 = d.w.data();
    real* w1 = d.w.data() + nc;
    bool parJ = pariJ[static_cast<std::size_t>(s)] != 0;
    auto stolpec = [&](long c, const auto* x0, const auto* x1, const auto* lc) {
        real v0 = w0[c], v1 = w1[c];
        skalarna::Odstej(v0, v1, x0, x1, lc, c + 1, nc, v == 2);
        w0[c] = v0;
        w1[c] = v1;
    };
    for (long c = nc - 1; c >= 0; --c) {
        if (parJ)
            stolpec(c, d.wd.data(), d.wd.data() + nc, Xd + c * ld);
        else
            stolpec(c, w0, w1, X + c * ld);
        for (long t = 0; t < v; ++t) el(i + t, f + c) = el(f + c, i + t) = d.w[static_cast<std::size_t>(t * nc + c)];
        if (parJ) parJ = razcepi(w0[c], d.wd[static_cast<std::size_t>(c)]) && (v < 2 || razcepi(w1[c], d.wd[static_cast<std::size_t>(nc + c)]));
    }
}

// The block's rows i0 .. i1 within supernode s, and their diagonal: only
// the block's own (a supernode may reach past the block, and the diagonal
// of a later block's row, written here again, would race with that block's
// reads of it).
template <typename E>
void redkiRazcep::CelotniInverz<E>::vSupervozliscu(long s, long i0, long i1, bool& tocno) const
{
    const long f = r.Sf_[s], nc = r.Sf_[s + 1] - f, ld = r.Rp_[s + 1] - r.Rp_[s];
    const real* X = r.Lx_.data() + r.Xp_[s];
    const long* R = r.Rs_.data() + r.Rp_[s];
    for (long c = nc - 1; c >= 0; --c) {
        const real* lc = X + c * ld;
        for (long i = std::max(f + c + 1, i0); i < std::min(f + nc, i1); ++i) {
            real val = 0;
            for (long k = c + 1; k < ld; ++k) val -= lc[k] * vrednost(el(R[k], i));
            tocno = Shrani(val, el(i, f + c)) && tocno;
            el(f + c, i) = el(i, f + c);
        }
        if (f + c >= i0 && f + c < i1) {
            real val = 1.0L / r.D_[static_cast<std::size_t>(f + c)];
            for (long k = c + 1; k < ld; ++k) val -= lc[k] * vrednost(el(R[k], f + c));
            tocno = Shrani(val, el(f + c, f + c)) && tocno;
        }
    }
}

void redkiRazcep::celotniInverz(real* z) const { celotniInverzV(z); }

bool redkiRazcep::celotniInverz(dvojna* z) const { return celotniInverzV(z); }

template <typename E>
bool redkiRazcep::celotniInverzV(E* z) const
{
    if (!razcepljena_)
        matrikaError(NapakaFunkcije("redkiRazcep::celotniInverz", Besedilo::MatNiRazcepljena), F, __LINE__);
    // Z = D^-1 L^-1 + (I - L') Z: for a column c with the rows S below it
    // in L,
    //   Z(i, c) = -sum_{k in S} L(k, c) Z(i, k)   for every row i > c,
    //   Z(c, c) = 1 / D(c) - sum_{k in S} L(k, c) Z(k, c),
    // which needs only the later columns.  The columns J of one supernode
    // share S = J's later columns and the rows B below J: for a row i below
    // the supernode the sums over B are formed for all of J from one pass
    // over Z(i, B), then the sums within J from the last column of J back.
    // The operations number sum_c |S(c)| (n - c), a fraction of n
    // solutions (n nnz(L) each), since the long columns of L come last.
    // Every entry is written to both triangles when it is formed, so that
    // Z(i, k) is read along memory for consecutive rows i.  Each sum runs
    // from 0 down, so that an entry that is exactly 0 stays +0, as a
    // solution from the factor leaves it.
    //
    // The lower triangle is formed by blocks of kVrstic rows from the last:
    // a block runs through the supernodes from the last one that reaches
    // its rows back to the first, so that its rows of Z (a few MB) stay in
    // the cache from one supernode to the next instead of being read from
    // memory once per supernode.  Row i of the block needs, besides its own
    // row, the rows of Z below the block in the block's columns: at a
    // supernode s that holds some of those columns the entries formed
    // there, and from the supernode of the block's first column back
    // nothing more.  A block waits at each such s for every later block to
    // be done with s.  The blocks are shared among threads in that order,
    // and every sum keeps its order, so the threads change no digit.
    //
    // Z held as pairs of doubles (skalarna.h) loads as fast as a double
    // from anywhere in it: every supernode then gathers its rows of Z
    // straight from Z, against L as pairs.  Where some value of L or Z has
    // no pair (beyond the range of double), false, and Z is to be formed
    // in long doubles.
    if (n_ == 0) return true;
    CelotniInverz<E> inverz(*this, z);
    if (!inverz.paroviL()) return false;
    inverz.bloki();
    return !inverz.brezPara.load();
}

void redkiRazcep::stolpciInverza(const long* j, long k, std::vector<real>& W) const
{
    if (!razcepljena_)
        matrikaError(NapakaFunkcije("redkiRazcep::stolpciInverza", Besedilo::MatNiRazcepljena), F, __LINE__);
    const long n = n_, ns = static_cast<long>(Sf_.size()) - 1;
    W.assign(static_cast<std::size_t>(n * k), 0.0L);
    real* y = W.data();
    for (long t = 0; t < k; ++t) y[Pinv_[static_cast<std::size_t>(j[t])] * k + t] = 1.0L;
    // L y = P e_j: a column of the identity stays zero below most of the
    // tree, and a panel whose values are all zero passes nothing on.
    for (long s = 0; s < ns; ++s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        bool nic = true;
        for (long q = f * k; q < (f + nc) * k && nic; ++q) nic = y[q] == 0.0L;
        if (nic) continue;
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = 0; c < nc; ++c) {
            const real* yc = y + (f + c) * k;
            for (long r = c + 1; r < ld; ++r) {
                const real x = X[c * ld + r];
                real* yr = y + R[r] * k;
                for (long t = 0; t < k; ++t) yr[t] -= x * yc[t];
            }
        }
    }
    for (long i = 0; i < n; ++i)
        for (long t = 0; t < k; ++t) y[i * k + t] /= D_[static_cast<std::size_t>(i)];
    // L' x = y from the last row, four columns in registers at a time.
    for (long s = ns - 1; s >= 0; --s) {
        const long f = Sf_[s], nc = Sf_[s + 1] - f, ld = Rp_[s + 1] - Rp_[s];
        const real* X = Lx_.data() + Xp_[s];
        const long* R = Rs_.data() + Rp_[s];
        for (long c = nc - 1; c >= 0; --c) {
            const real* lc = X + c * ld;
            real* yc = y + (f + c) * k;
            long t = 0;
            for (; t + 4 <= k; t += 4) {
                real v0 = yc[t], v1 = yc[t + 1], v2 = yc[t + 2], v3 = yc[t + 3];
                for (long r = c + 1; r < ld; ++r) {
                    const real x = lc[r];
                    const real* yr = y + R[r] * k + t;
                    v0 -= x * yr[0];
                    v1 -= x * yr[1];
                    v2 -= x * yr[2];
                    v3 -= x * yr[3];
                }
                yc[t] = v0, yc[t + 1] = v1, yc[t + 2] = v2, yc[t + 3] = v3;
            }
            for (; t < k; ++t) {
                real v = yc[t];
                for (long r = c + 1; r < ld; ++r) v -= lc[r] * y[R[r] * k + t];
                yc[t] = v;
            }
        }
    }
}
