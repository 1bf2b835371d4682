// The sparse solution against dense references of the same whitened rows: a
// free plane network under inner constraints (low-rank term, the anchors that
// hold its defect) and under minimal constraints, whole columns of the
// cofactors as a table of them takes them, networks it cannot solve
// with the unknowns it names, and a nearly singular system.
#include <algorithm>
#include <cmath>
#include <vector>

#include "matrika/inv.h"
#include "matrika/razcepPomoc.h"
#include "matrika/svdr.h"
#include "src/CGMMSolRedka.h"

using namespace razceptest;
using Stanje = CGMMSolRedka::Izid;

namespace {
// Solves the rows B (the first nA sparse, the rest low-rank) with the
// misclosures f; Q is the cofactor matrix it gives out entry by entry, Qc
// and Qp the same by whole columns (from the whole inverse and from panels).
struct Resitev {
    CGMMSolRedka s;
    Stanje izid;
    M x, Q, Qc, Qp;
    Resitev(const M& B, const M& f, unsigned long nA, const M& C, const M& Hdat)
    {
        s.Bp = redkaMatrika(B);
        s.fp = f;
        izid = s.Resi(nA, C, Hdat, x);
        if (izid != Stanje::resena) return;
        const long u = static_cast<long>(B.ncol());
        Q.resize(u, u);
        for (long i = 0; i < u; ++i)
            for (long j = 0; j < u; ++j) Q(i, j) = s.Q(i, j);
        for (M* S : {&Qp, &Qc}) {
            s.najvecCelotni = S == &Qp ? 0 : std::size_t{1} << 20;
            s.Resi(nA, C, Hdat, x);
            S->resize(u, u);
            std::vector<long double> q(static_cast<std::size_t>(u));
            for (long j = u - 1; j >= 0; --j) {
                s.StolpecQ(j, q);
                for (long i = 0; i < u; ++i) (*S)(i, j) = q[static_cast<std::size_t>(i)];
            }
        }
    }
};

// Seven points stretched along b, P0 and P1 on one line across it, all 21
// distances between them (rows of unit direction cosines), misclosures of a
// few mm.  Defect: two translations and the rotation, the rows of H (unit
// length, the rotation about the centroid) over all points, of Hr over P0 to
// P5.  The first three columns (a0, b0, a1) cannot hold it: a rotation moves
// P1 along b only.
const long double kA[] = {0, 100, 30, 120, 10, 90, 50}, kB[] = {0, 0, 400, 420, 800, 820, 1200};
constexpr long kT = 7, kU = 2 * kT;

M Hmatrika(long m)
{
    long double ac = 0, bc = 0, rr = 0;
    for (long p = 0; p < m; ++p) ac += kA[p] / m, bc += kB[p] / m;
    for (long p = 0; p < m; ++p) rr += (kA[p] - ac) * (kA[p] - ac) + (kB[p] - bc) * (kB[p] - bc);
    M H(3, kU, 0.0L);
    for (long p = 0; p < m; ++p) {
        H(0, 2 * p) = H(1, 2 * p + 1) = 1.0L / std::sqrt(static_cast<long double>(m));
        H(2, 2 * p) = -(kB[p] - bc) / std::sqrt(rr), H(2, 2 * p + 1) = (kA[p] - ac) / std::sqrt(rr);
    }
    return H;
}

void Trilateracija(M& B, M& f)
{
    B.resize(kT * (kT - 1) / 2, kU, 0.0L);
    f.resize(B.nrow(), 1, 0.0L);
    long r = 0;
    for (long p = 0; p < kT; ++p)
        for (long q = p + 1; q < kT; ++q, ++r) {
            const long double da = kA[q] - kA[p], db = kB[q] - kB[p], s = std::hypot(da, db);
            B(r, 2 * p) = da / s, B(r, 2 * p + 1) = db / s, B(r, 2 * q) = -da / s, B(r, 2 * q + 1) = -db / s;
            f(r) = 0.003L * std::sin(1.7L * r + 0.2L);
        }
}

M Vrstice(const M& A, const M& B)   // A over B
{
    M C(A.nrow() + B.nrow(), A.ncol(), 0.0L);
    C(A, 0, 0);
    if (B.nrow() > 0) C(B, static_cast<long>(A.nrow()), 0);
    return C;
}
}  // namespace

// Inner constraints: the rows C below the distances enter as the low-rank
// term over anchors chosen from H.  With C = H the minimum-norm solution and
// the cofactors of the free network are the SVD's: x = B+ f, Q = (B'B)+; with
// C = Hr they are those of N = B'B + C'C by Gauss-Jordan: x = N^-1 B'f, Q =
// N^-1 - H' (H C'C H')^-1 H.  So are b_r Q b_s' for every pair of rows, the
// constraint rows included, and the variance inflation N_kk (N^-1)_kk of
// every unknown.  Minimal constraints (a0, b0, b1 held by sparse rows D) give
// the network with those three unknowns fixed: Q and x of the reduced normal
// equations, zero on the held ones.
TEST(CGMMSolRedka, FreeNetworkAgainstTheDenseReference)
{
    M B, f;
    Trilateracija(B, f);
    const M H = Hmatrika(kT), Hr = Hmatrika(kT - 1);
    svdr<long double> svd;
    svd.razcep(B);
    for (const M* C : {&H, &Hr}) {
        SCOPED_TRACE(C == &H ? "H" : "Hr");
        const M Bh = Vrstice(B, *C), N = transpon(Bh) * Bh, Ni = inv(N);
        const M Qh = C == &H ? svd.pinvAtA(1e-9L) : Ni - transpon(H) * inv(H * transpon(*C) * *C * transpon(H)) * H;
        const M xh = C == &H ? svd.resi(f, 1e-9L) : Ni * (transpon(B) * f), BQB = Bh * Qh * transpon(Bh);
        Resitev h(Bh, Vrstice(f, M(3, 1, 0.0L)), B.nrow(), *C, H);
        ASSERT_EQ(h.izid, Stanje::resena);
        EXPECT_LT(Razlika(h.x, xh), 1e-15L);
        EXPECT_LT(Razlika(h.Q, Qh), 1e-13L * Razlika(Qh));
        EXPECT_LT(Razlika(h.Qc, Qh), 1e-13L * Razlika(Qh));
        EXPECT_LT(Razlika(h.Qp, Qh), 1e-13L * Razlika(Qh));
        long double d = 0.0L;
        for (unsigned long r = 0; r < Bh.nrow(); ++r)
            for (unsigned long s = 0; s < Bh.nrow(); ++s) d = std::fmax(d, std::fabs(h.s.Par(h.s.Bp, r, s) - BQB(r, s)));
        EXPECT_LT(d, 1e-13L);
        for (long k = 0; k < kU; ++k) {
            const long double vif = N(k, k) * Ni(k, k);
            const auto ima = [&](long double meja) {
                const std::vector<long> v = h.s.Napihnjene(meja);
                return std::find(v.begin(), v.end(), k) != v.end();
            };
            EXPECT_TRUE(ima(vif * (1 - 1e-9L)) && !ima(vif * (1 + 1e-9L))) << k;
        }
    }

    const long prosta[] = {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    M D(3, kU, 0.0L), Br(B.nrow(), kU - 3, 0.0L), Qd(kU, kU, 0.0L), xd(kU, 1, 0.0L);
    D(0, 0) = D(1, 1) = D(2, 3) = 1.0L;
    for (unsigned long r = 0; r < B.nrow(); ++r)
        for (std::size_t c = 0; c < 11; ++c) Br(r, c) = B(r, prosta[c]);
    const M Qr = inv(transpon(Br) * Br), xr = Qr * (transpon(Br) * f);
    for (std::size_t a = 0; a < 11; ++a) {
        xd(prosta[a]) = xr(a);
        for (std::size_t c = 0; c < 11; ++c) Qd(prosta[a], prosta[c]) = Qr(a, c);
    }
    const M Bd = Vrstice(B, D);
    Resitev m(Bd, Vrstice(f, M(3, 1, 0.0L)), Bd.nrow(), D, H);
    ASSERT_EQ(m.izid, Stanje::resena);
    EXPECT_LT(Razlika(m.x, xd), 1e-15L);
    EXPECT_LT(Razlika(m.Q, Qd), 1e-13L * Razlika(Qd));
    EXPECT_LT(Razlika(m.Qc, Qd), 1e-13L * Razlika(Qd));
    EXPECT_LT(Razlika(m.Qp, Qd), 1e-13L * Razlika(Qd));
    // Rows 2^-560 of these: cofactors 2^1120 of them, beyond the range of
    // double, where the whole inverse is held in long doubles.
    M Bs = Bd;
    for (unsigned long r = 0; r < B.nrow(); ++r)
        for (unsigned long c = 0; c < Bs.ncol(); ++c) Bs(r, c) = std::ldexp(Bs(r, c), -560);
    Resitev ms(Bs, Vrstice(f, M(3, 1, 0.0L)), Bs.nrow(), D, H);
    ASSERT_EQ(ms.izid, Stanje::resena);
    const long double vel = Razlika(ms.Q);
    EXPECT_GT(vel, 0x1p1100L);
    EXPECT_LT(Razlika(ms.Qc, ms.Q), 1e-13L * vel);
}

// Levelling of five heights in two groups that no observation joins, 0-1 and
// 2-3-4.  With height 0 held by a pseudo-observation, the level of 2-3-4 is
// free.  Under inner constraints over all five (anchor 0) the groups may
// still move against each other; with the common motion taken out of it, 0
// and 1 move by 3/5 and 2, 3, 4 by 2/5: the smaller group is named.  A
// low-rank row that only ties 0 to 1 fixes no level of the loop 0-1-2.
TEST(CGMMSolRedka, UndeterminedUnknownsAndASingularDatum)
{
    const M B = Iz({{1, -1, 0, 0, 0}, {1, -1, 0, 0, 0}, {0, 0, 1, -1, 0}, {0, 0, 0, 1, -1}, {0, 0, 1, 0, -1}});
    const M f = Iz({{0.002}, {-0.001}, {0.004}, {0.003}, {0.001}}), H(1, 5, 1.0L / std::sqrt(5.0L));
    Resitev v(Vrstice(B, Iz({{1, 0, 0, 0, 0}})), Vrstice(f, M(1, 1, 0.0L)), 6, M(), M());
    EXPECT_EQ(v.izid, Stanje::nedolocena);
    EXPECT_EQ(v.s.nedolocene, (std::vector<long>{2, 3, 4}));
    Resitev p(Vrstice(B, H), Vrstice(f, M(1, 1, 0.0L)), 5, H, H);
    EXPECT_EQ(p.izid, Stanje::nedolocena);
    EXPECT_EQ(p.s.nedolocene, (std::vector<long>{0, 1}));

    const M B3 = Iz({{1, -1, 0}, {0, 1, -1}, {1, 0, -1}}), C = Iz({{1, -1, 0}}), H3(1, 3, 1.0L / std::sqrt(3.0L));
    Resitev s(Vrstice(B3, C), M(4, 1, 0.0L), 3, C, H3);
    EXPECT_EQ(s.izid, Stanje::datumSingularna);
}

// Two unknowns whose columns differ by e, a third apart, B x = f for x = (1,
// 2, 3): N = [[3, 3], [3, 3 + 2e^2]] and 5, so (N^-1)_00 = (3 + 2e^2) / 6e^2,
// (N^-1)_01 = -1 / 2e^2, and the variance inflation N_00 (N^-1)_00 of 0 and 1
// is 1.5 / e^2 + 1.  With e = 1e-6 (condition 1e12) the solution holds to
// 1e-6 and the inflation is found between 1.4e12 and 1.6e12; with e = 5e-8
// (pivot 2e^2 of 3, below 1e-14 of it) the system is refused, naming 0 and 1.
TEST(CGMMSolRedka, NearlySingularSystem)
{
    for (const long double e : {1e-6L, 5e-8L}) {
        SCOPED_TRACE(static_cast<double>(e));
        const M B = Iz({{1, 1 + e, 0}, {1, 1 - e, 0}, {1, 1, 0}, {0, 0, 1}, {0, 0, 2}});
        Resitev r(B, B * Iz({{1}, {2}, {3}}), 5, M(), M());
        if (e < 1e-7L) {
            EXPECT_EQ(r.izid, Stanje::nedolocena);
            EXPECT_EQ(r.s.nedolocene, (std::vector<long>{0, 1}));
            continue;
        }
        ASSERT_EQ(r.izid, Stanje::resena);
        const long double q00 = (3 + 2 * e * e) / (6 * e * e), q01 = -1 / (2 * e * e);
        EXPECT_NEAR(r.Q(0, 0), q00, 1e-6L * q00);
        EXPECT_NEAR(r.Q(0, 1), q01, 1e-6L * q00);
        EXPECT_NEAR(r.Q(2, 2), 0.2L, 1e-18L);
        EXPECT_LT(Razlika(r.x, Iz({{1}, {2}, {3}})), 1e-6L);
        EXPECT_TRUE(r.s.Napihnjene(1.6e12L).empty());
        EXPECT_EQ(r.s.Napihnjene(1.4e12L), (std::vector<long>{0, 1}));
    }
}
