#include "src/FGMMSolMat.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "matrika/matrikaAux.h"
#include "src/CGMM.h"
#include "src/FKovBloki.h"

namespace {
const char* const kModul = "src/FGMMSolMat";

[[noreturn]] void Neskladni(const char* funkcija, long line, const matrika<real>& A,
                            const matrika<real>& B)
{
    matrikaError(NapakaFunkcije(funkcija, Besedilo::MatDimenzijiNapacni), kModul, line,
                 static_cast<long>(A.nrow()), static_cast<long>(A.ncol()), static_cast<long>(B.nrow()),
                 static_cast<long>(B.ncol()));
}

// Sizes an output that has no rows; refuses one of another size.  The result
// starts from zeros, so every product element is a sum from 0.
void PripraviIzhod(const char* funkcija, long line, matrika<real>& Y, unsigned long r, unsigned long c)
{
    if (Y.nrow() == 0) {
        Y.resize(r, c, 0.0L);
        return;
    }
    if (Y.nrow() != r || Y.ncol() != c) {
        matrikaError(NapakaFunkcije(funkcija, Besedilo::MatIzhodnaNapacna), kModul, line,
                     static_cast<long>(Y.nrow()), static_cast<long>(Y.ncol()), static_cast<long>(r),
                     static_cast<long>(c));
    }
    real* y = Y.data();
    for (unsigned long k = 0; k < Y.size(); ++k) y[k] = 0.0L;
}

void NiDefinirana(const char* funkcija, long line, const matrika<real>& A)
{
    if (A.nrow() == 0 || A.ncol() == 0)
        matrikaError(NapakaFunkcije(funkcija, Besedilo::MatNiDefinirana), kModul, line);
}

// Column indices of the non-zero elements of every row of B (compressed rows):
// the observation rows touch only the unknowns of two or three points.
struct VrsticeB {
    std::vector<unsigned long> zacetek;  // rows + 1 offsets into stolpec
    std::vector<unsigned long> stolpec;
};

VrsticeB NenicelniStolpci(const matrika<real>& B)
{
    VrsticeB s;
    const unsigned long n = B.nrow(), u = B.ncol();
    const real* b = B.data();
    s.zacetek.reserve(n + 1);
    s.zacetek.push_back(0);
    for (unsigned long i = 0; i < n; ++i) {
        for (unsigned long j = 0; j < u; ++j)
            if (b[i * u + j] != 0.0L) s.stolpec.push_back(j);
        s.zacetek.push_back(s.stolpec.size());
    }
    return s;
}

void PreveriQvv(const char* funkcija, long line, const matrika<real>& Qll, const matrika<real>& B,
                const matrika<real>& Qxx)
{
    NiDefinirana(funkcija, line, B);
    if (Qll.ncol() != 3 || Qll.nrow() != B.nrow()) Neskladni(funkcija, line, Qll, B);
    if (Qxx.nrow() != B.ncol() || Qxx.ncol() != B.ncol()) Neskladni(funkcija, line, B, Qxx);
}
}  // namespace

void VvecCalc(matrika<real>& v, const matrika<real>& B, const matrika<real>& x)
{
    NiDefinirana("VvecCalc", __LINE__, B);
    if (v.nrow() != B.nrow() || v.ncol() != 1) Neskladni("VvecCalc", __LINE__, v, B);
    if (x.nrow() != B.ncol() || x.ncol() != 1) Neskladni("VvecCalc", __LINE__, B, x);
    const unsigned long n = B.nrow(), u = B.ncol();
    const real* b = B.data();
    const real* xx = x.data();
    real* vv = v.data();
    for (unsigned long i = 0; i < n; ++i) {
        real s = 0.0L;
        for (unsigned long j = 0; j < u; ++j) s += b[i * u + j] * xx[j];
        vv[i] -= s;
    }
}

void VvecCalc(matrika<real>& v, const redkaMatrika& B, const matrika<real>& x)
{
    if (v.nrow() != B.nrow() || v.ncol() != 1 || x.nrow() != B.ncol() || x.ncol() != 1)
        matrikaError(NapakaFunkcije("VvecCalc", Besedilo::MatDimenzijiNapacni), kModul, __LINE__, static_cast<long>(B.nrow()),
                     static_cast<long>(B.ncol()), static_cast<long>(x.nrow()), static_cast<long>(x.ncol()));
    for (unsigned long i = 0; i < B.nrow(); ++i) {
        real s = 0.0L;
        for (const auto& e : B.vrstica(i)) s += e.vrednost * x(static_cast<long>(e.stolpec));
        v(static_cast<long>(i)) -= s;
    }
}

real vTPv(const matrika<real>& v, const matrika<real>& P, bool diag)
{
    NiDefinirana("vTPv", __LINE__, v);
    const unsigned long n = v.nrow();
    const real* vv = v.data();
    const real* p = P.data();
    real vpv = 0.0L;
    if (diag) {
        if (P.nrow() != n || P.ncol() != 1) Neskladni("vTPv", __LINE__, v, P);
        for (unsigned long i = 0; i < n; ++i) vpv += vv[i] * p[i] * vv[i];
    } else {
        if (P.nrow() != n || P.ncol() != n) Neskladni("vTPv", __LINE__, v, P);
        for (unsigned long i = 0; i < n; ++i) {
            real s = 0.0L;
            for (unsigned long j = 0; j < n; ++j) s += p[j * n + i] * vv[j];
            vpv += vv[i] * s;
        }
    }
    return std::sqrt(vpv);
}

void VtBprod(const matrika<real>& V, const matrika<real>& B, matrika<real>& Y, bool diag)
{
    NiDefinirana("VtBprod", __LINE__, V);
    NiDefinirana("VtBprod", __LINE__, B);
    const unsigned long n = B.nrow(), c = B.ncol();
    const real* v = V.data();
    const real* b = B.data();
    if (diag) {
        if (V.nrow() != n || V.ncol() != 1) Neskladni("VtBprod", __LINE__, V, B);
        PripraviIzhod("VtBprod", __LINE__, Y, n, c);
        real* y = Y.data();
        for (unsigned long i = 0; i < n; ++i)
            for (unsigned long j = 0; j < c; ++j) y[i * c + j] = v[i] * b[i * c + j];
        return;
    }
    if (V.nrow() != n || V.ncol() > n) Neskladni("VtBprod", __LINE__, V, B);
    PripraviIzhod("VtBprod", __LINE__, Y, n, c);
    const unsigned long m = V.ncol();
    real* y = Y.data();
    // Row k of B feeds rows 0..k of Y; k ascending keeps every sum in order.
    for (unsigned long k = 0; k < n; ++k) {
        const real* bk = b + k * c;
        const unsigned long iMax = k < m ? k + 1 : m;
        for (unsigned long i = 0; i < iMax; ++i) {
            const real vki = v[k * m + i];
            if (vki == 0.0L) continue;
            real* yi = y + i * c;
            for (unsigned long j = 0; j < c; ++j) yi[j] += vki * bk[j];
        }
    }
}

void AtBprod(const matrika<real>& A, const matrika<real>& B, matrika<real>& Y)
{
    NiDefinirana("AtBprod", __LINE__, A);
    NiDefinirana("AtBprod", __LINE__, B);
    if (A.nrow() != B.nrow()) Neskladni("AtBprod", __LINE__, A, B);
    const unsigned long n = A.nrow(), ca = A.ncol(), cb = B.ncol();
    PripraviIzhod("AtBprod", __LINE__, Y, ca, cb);
    const bool simetricna = (&A == &B);
    const real* a = A.data();
    const real* b = B.data();
    real* y = Y.data();
    for (unsigned long k = 0; k < n; ++k) {
        const real* ak = a + k * ca;
        const real* bk = b + k * cb;
        for (unsigned long i = 0; i < ca; ++i) {
            const real aki = ak[i];
            if (aki == 0.0L) continue;
            real* yi = y + i * cb;
            for (unsigned long j = simetricna ? i : 0; j < cb; ++j) yi[j] += aki * bk[j];
        }
    }
    if (simetricna)
        for (unsigned long i = 0; i < ca; ++i)
            for (unsigned long j = i + 1; j < ca; ++j) y[j * ca + i] = y[i * ca + j];
}

void ABtprod(const matrika<real>& A, const matrika<real>& B, matrika<real>& Y)
{
    NiDefinirana("ABtprod", __LINE__, A);
    NiDefinirana("ABtprod", __LINE__, B);
    if (A.ncol() != B.ncol()) Neskladni("ABtprod", __LINE__, A, B);
    const unsigned long ra = A.nrow(), rb = B.nrow(), c = A.ncol();
    PripraviIzhod("ABtprod", __LINE__, Y, ra, rb);
    const real* a = A.data();
    const real* b = B.data();
    real* y = Y.data();
    for (unsigned long i = 0; i < ra; ++i)
        for (unsigned long j = 0; j < rb; ++j) {
            real s = 0.0L;
            for (unsigned long k = 0; k < c; ++k) s += a[i * c + k] * b[j * c + k];
            y[i * rb + j] = s;
        }
}

void QvvDiag(const matrika<real>& Qll, const matrika<real>& B, const matrika<real>& Qxx,
             matrika<real>& out)
{
    PreveriQvv("QvvDiag", __LINE__, Qll, B, Qxx);
    const unsigned long n = B.nrow(), u = B.ncol();
    const VrsticeB nz = NenicelniStolpci(B);
    const real* b = B.data();
    const real* q = Qxx.data();
    out.resize(Qll.nrow(), 1, 0.0L);
    std::vector<real> t(u, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        const unsigned long z0 = nz.zacetek[i], z1 = nz.zacetek[i + 1];
        const real* bi = b + i * u;
        // t = b_i * Qxx, needed only where b_i is not zero.
        for (unsigned long jj = z0; jj < z1; ++jj) {
            const unsigned long j = nz.stolpec[jj];
            real s = 0.0L;
            for (unsigned long kk = z0; kk < z1; ++kk) {
                const unsigned long k = nz.stolpec[kk];
                s += bi[k] * q[k * u + j];
            }
            t[j] = s;
        }
        real s = 0.0L;
        for (unsigned long jj = z0; jj < z1; ++jj) {
            const unsigned long j = nz.stolpec[jj];
            s += t[j] * bi[j];
        }
        out(static_cast<long>(i)) = -s + Qll(static_cast<long>(i), 1);
    }
}

void QvvPDiag(const matrika<real>& Qll, const matrika<real>& B, const matrika<real>& Qxx,
              const bdmatrika& P, matrika<real>& out,
              const std::function<real(unsigned long, unsigned long)>& kofaktor)
{
    PreveriQvv("QvvPDiag", __LINE__, Qll, B, Qxx);
    const unsigned long n = B.nrow(), u = B.ncol();
    if (P.nrow() != n)
        matrikaError(NapakaFunkcije("QvvPDiag", Besedilo::MatDimenzijiNapacni), kModul, __LINE__, static_cast<long>(n),
                     static_cast<long>(u), static_cast<long>(P.nrow()), static_cast<long>(P.nrow()));
    const VrsticeB nz = NenicelniStolpci(B);
    const real* b = B.data();
    const real* q = Qxx.data();
    const real* band = Qll.data();
    out.resize(n, 1, 0.0L);
    std::vector<real> t(u);
    for (unsigned long i = 0; i < n; ++i) {
        const real* bi = b + i * u;
        // t = b_i * Qxx over all columns: row i of B*Qxx.
        for (unsigned long j = 0; j < u; ++j) t[j] = 0.0L;
        for (unsigned long kk = nz.zacetek[i]; kk < nz.zacetek[i + 1]; ++kk) {
            const unsigned long k = nz.stolpec[kk];
            const real bik = bi[k];
            const real* qk = q + k * u;
            for (unsigned long j = 0; j < u; ++j) t[j] += bik * qk[j];
        }
        // Only the rows k of i's block have P(k, i) != 0; the other terms of
        // the sum over all k are zero and are left out.
        const unsigned long blk = P.blokVrstice(i);
        const unsigned long m = P.velikost(blk), pi = P.polozaj(i);
        const matrika<real>& Pb = P.blok(blk);
        real r = 0.0L;
        for (unsigned long kk = 0; kk < m; ++kk) {
            const unsigned long k = P.vrstica(blk, kk);
            real s = 0.0L;
            const real* bk = b + k * u;
            for (unsigned long jj = nz.zacetek[k]; jj < nz.zacetek[k + 1]; ++jj) {
                const unsigned long j = nz.stolpec[jj];
                s += t[j] * bk[j];
            }
            real qvv = -s;
            if (kofaktor) qvv += kofaktor(i, k);
            else if (k == i) qvv += band[i * 3 + 1];
            else if (k + 1 == i) qvv += band[i * 3 + 0];
            else if (k == i + 1) qvv += band[i * 3 + 2];
            r += qvv * Pb(static_cast<long>(kk), static_cast<long>(pi));
        }
        out(static_cast<long>(i)) = r;
    }
}

real vTPv(const matrika<real>& v, const bdmatrika& P)
{
    NiDefinirana("vTPv", __LINE__, v);
    const unsigned long n = v.nrow();
    if (P.nrow() != n || v.ncol() != 1)
        matrikaError(NapakaFunkcije("vTPv", Besedilo::MatDimenzijiNapacni), kModul, __LINE__, static_cast<long>(n),
                     static_cast<long>(v.ncol()), static_cast<long>(P.nrow()), static_cast<long>(P.nrow()));
    const real* vv = v.data();
    real vpv = 0.0L;
    for (unsigned long i = 0; i < n; ++i) {
        const unsigned long blk = P.blokVrstice(i);
        const unsigned long m = P.velikost(blk), pi = P.polozaj(i);
        if (P.trak(blk)) {
            // A long chain whole at its first row: v' Q^-1 v by its band.
            if (pi != 0) continue;
            std::vector<real> y(m);
            for (unsigned long jj = 0; jj < m; ++jj) y[jj] = vv[P.vrstica(blk, jj)];
            P.resiTrak(blk, y);
            for (unsigned long jj = 0; jj < m; ++jj) vpv += vv[P.vrstica(blk, jj)] * y[jj];
            continue;
        }
        const matrika<real>& Pb = P.blok(blk);
        real s = 0.0L;
        for (unsigned long jj = 0; jj < m; ++jj)
            s += Pb(static_cast<long>(jj), static_cast<long>(pi)) * vv[P.vrstica(blk, jj)];
        vpv += vv[i] * s;
    }
    return std::sqrt(vpv);
}

void VtBprod(const bdmatrika& L, const matrika<real>& B, matrika<real>& Y)
{
    NiDefinirana("VtBprod", __LINE__, B);
    const unsigned long n = B.nrow(), c = B.ncol();
    if (L.nrow() != n)
        matrikaError(NapakaFunkcije("VtBprod", Besedilo::MatDimenzijiNapacni), kModul, __LINE__, static_cast<long>(L.nrow()),
                     static_cast<long>(L.nrow()), static_cast<long>(n), static_cast<long>(c));
    PripraviIzhod("VtBprod", __LINE__, Y, n, c);
    const real* b = B.data();
    real* y = Y.data();
    // Within each block as in the full product: row k of B feeds the rows of
    // Y up to k's place in the block.
    for (unsigned long blk = 0; blk < L.nblok(); ++blk) {
        const unsigned long m = L.velikost(blk);
        const matrika<real>& Lb = L.blok(blk);
        for (unsigned long kk = 0; kk < m; ++kk) {
            const real* bk = b + L.vrstica(blk, kk) * c;
            for (unsigned long ii = 0; ii <= kk; ++ii) {
                const real vki = Lb(static_cast<long>(kk), static_cast<long>(ii));
                if (vki == 0.0L) continue;
                real* yi = y + L.vrstica(blk, ii) * c;
                for (unsigned long j = 0; j < c; ++j) yi[j] += vki * bk[j];
            }
        }
    }
}

void BeliKovBloke(const CGMM& GMM, const matrika<real>* W, redkaMatrika& Bp, matrika<real>& fp)
{
    // Covariance blocks: row a of the block becomes sum_c Wb(a, c) B_c.
    const redkaMatrika& B = GMM.Bmat;
    std::vector<real> akum(B.ncol(), 0.0L);
    std::vector<char> zaseden(B.ncol(), 0);
    std::vector<unsigned long> stolpci;
    std::vector<redkaMatrika::Element> vrstica;
    for (const KovBlokModela& b : GMM.kovBloki) {
        const unsigned long m = b.vrstice.size();
        std::vector<real> f(m, 1.0L);
        if (W != nullptr)
            for (unsigned long a = 0; a < m; ++a) f[a] = (*W)(static_cast<long>(b.vrstice[a]), 0);
        const matrika<real> Wb = KovBeljenje(b, f);
        for (unsigned long a = 0; a < m; ++a) {
            stolpci.clear();
            real fa = 0.0L;
            for (unsigned long c = a; c < m; ++c) {
                const real w = Wb(static_cast<long>(a), static_cast<long>(c));
                if (w == 0.0L) continue;
                fa += w * GMM.fvec(static_cast<long>(b.vrstice[c]));
                for (const auto& e : B.vrstica(b.vrstice[c])) {
                    if (!zaseden[e.stolpec]) zaseden[e.stolpec] = 1, stolpci.push_back(e.stolpec);
                    akum[e.stolpec] += w * e.vrednost;
                }
            }
            // The pattern of the row stays that of the unweighted rows, so
            // that a rejected row keeps its place in the analysis.
            for (unsigned long c = a; c < m; ++c)
                for (const auto& e : B.vrstica(b.vrstice[c]))
                    if (!zaseden[e.stolpec]) zaseden[e.stolpec] = 1, stolpci.push_back(e.stolpec);
            std::sort(stolpci.begin(), stolpci.end());
            vrstica.clear();
            for (unsigned long c : stolpci) {
                vrstica.push_back({c, akum[c]});
                akum[c] = 0.0L;
                zaseden[c] = 0;
            }
            Bp.zamenjajVrstico(b.vrstice[a], vrstica);
            fp(static_cast<long>(b.vrstice[a])) = fa;
        }
    }
}
