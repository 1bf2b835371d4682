#include "src/FGMMSolMat.h"

#include <cmath>
#include <vector>

#include "matrika/matrikaAux.h"

namespace {
const char* const kModul = "src/FGMMSolMat";

[[noreturn]] void Neskladni(const char* funkcija, long line, const matrika<long double>& A,
                            const matrika<long double>& B)
{
    matrikaError(std::string("Funkcija:   ") + funkcija + "\nDimenziji matrik napacni: ", kModul, line,
                 static_cast<long>(A.nrow()), static_cast<long>(A.ncol()), static_cast<long>(B.nrow()),
                 static_cast<long>(B.ncol()));
}

// Sizes an output that has no rows; refuses one of another size.  The result
// starts from zeros, so every product element is a sum from 0.
void PripraviIzhod(const char* funkcija, long line, matrika<long double>& Y, unsigned long r, unsigned long c)
{
    if (Y.nrow() == 0) {
        Y.resize(r, c, 0.0L);
        return;
    }
    if (Y.nrow() != r || Y.ncol() != c) {
        matrikaError(std::string("Funkcija:   ") + funkcija + "\nDimenzija izhodne matrike napacna: ", kModul, line,
                     static_cast<long>(Y.nrow()), static_cast<long>(Y.ncol()), static_cast<long>(r),
                     static_cast<long>(c));
    }
    long double* y = Y.data();
    for (unsigned long k = 0; k < Y.size(); ++k) y[k] = 0.0L;
}

void NiDefinirana(const char* funkcija, long line, const matrika<long double>& A)
{
    if (A.nrow() == 0 || A.ncol() == 0)
        matrikaError(std::string("Funkcija:   ") + funkcija + "\nDimenzija matrike ni definirana: ", kModul, line);
}

// Column indices of the non-zero elements of every row of B (compressed rows):
// the observation rows touch only the unknowns of two or three points.
struct VrsticeB {
    std::vector<unsigned long> zacetek;  // rows + 1 offsets into stolpec
    std::vector<unsigned long> stolpec;
};

VrsticeB NenicelniStolpci(const matrika<long double>& B)
{
    VrsticeB s;
    const unsigned long n = B.nrow(), u = B.ncol();
    const long double* b = B.data();
    s.zacetek.reserve(n + 1);
    s.zacetek.push_back(0);
    for (unsigned long i = 0; i < n; ++i) {
        for (unsigned long j = 0; j < u; ++j)
            if (b[i * u + j] != 0.0L) s.stolpec.push_back(j);
        s.zacetek.push_back(s.stolpec.size());
    }
    return s;
}

void PreveriQvv(const char* funkcija, long line, const matrika<long double>& Qll, const matrika<long double>& B,
                const matrika<long double>& Qxx)
{
    NiDefinirana(funkcija, line, B);
    if (Qll.ncol() != 3 || Qll.nrow() != B.nrow()) Neskladni(funkcija, line, Qll, B);
    if (Qxx.nrow() != B.ncol() || Qxx.ncol() != B.ncol()) Neskladni(funkcija, line, B, Qxx);
}
}  // namespace

void VvecCalc(matrika<long double>& v, const matrika<long double>& B, const matrika<long double>& x)
{
    NiDefinirana("VvecCalc", __LINE__, B);
    if (v.nrow() != B.nrow() || v.ncol() != 1) Neskladni("VvecCalc", __LINE__, v, B);
    if (x.nrow() != B.ncol() || x.ncol() != 1) Neskladni("VvecCalc", __LINE__, B, x);
    const unsigned long n = B.nrow(), u = B.ncol();
    const long double* b = B.data();
    const long double* xx = x.data();
    long double* vv = v.data();
    for (unsigned long i = 0; i < n; ++i) {
        long double s = 0.0L;
        for (unsigned long j = 0; j < u; ++j) s += b[i * u + j] * xx[j];
        vv[i] -= s;
    }
}

void VvecCalc(matrika<long double>& v, const redkaMatrika& B, const matrika<long double>& x)
{
    if (v.nrow() != B.nrow() || v.ncol() != 1 || x.nrow() != B.ncol() || x.ncol() != 1)
        matrikaError("Funkcija:   VvecCalc\nDimenziji matrik napacni: ", kModul, __LINE__, static_cast<long>(B.nrow()),
                     static_cast<long>(B.ncol()), static_cast<long>(x.nrow()), static_cast<long>(x.ncol()));
    for (unsigned long i = 0; i < B.nrow(); ++i) {
        long double s = 0.0L;
        for (const auto& e : B.vrstica(i)) s += e.vrednost * x(static_cast<long>(e.stolpec));
        v(static_cast<long>(i)) -= s;
    }
}

long double vTPv(const matrika<long double>& v, const matrika<long double>& P, bool diag)
{
    NiDefinirana("vTPv", __LINE__, v);
    const unsigned long n = v.nrow();
    const long double* vv = v.data();
    const long double* p = P.data();
    long double vpv = 0.0L;
    if (diag) {
        if (P.nrow() != n || P.ncol() != 1) Neskladni("vTPv", __LINE__, v, P);
        for (unsigned long i = 0; i < n; ++i) vpv += vv[i] * p[i] * vv[i];
    } else {
        if (P.nrow() != n || P.ncol() != n) Neskladni("vTPv", __LINE__, v, P);
        for (unsigned long i = 0; i < n; ++i) {
            long double s = 0.0L;
            for (unsigned long j = 0; j < n; ++j) s += p[j * n + i] * vv[j];
            vpv += vv[i] * s;
        }
    }
    return std::sqrt(vpv);
}

void VtBprod(const matrika<long double>& V, const matrika<long double>& B, matrika<long double>& Y, bool diag)
{
    NiDefinirana("VtBprod", __LINE__, V);
    NiDefinirana("VtBprod", __LINE__, B);
    const unsigned long n = B.nrow(), c = B.ncol();
    const long double* v = V.data();
    const long double* b = B.data();
    if (diag) {
        if (V.nrow() != n || V.ncol() != 1) Neskladni("VtBprod", __LINE__, V, B);
        PripraviIzhod("VtBprod", __LINE__, Y, n, c);
        long double* y = Y.data();
        for (unsigned long i = 0; i < n; ++i)
            for (unsigned long j = 0; j < c; ++j) y[i * c + j] = v[i] * b[i * c + j];
        return;
    }
    if (V.nrow() != n || V.ncol() > n) Neskladni("VtBprod", __LINE__, V, B);
    PripraviIzhod("VtBprod", __LINE__, Y, n, c);
    const unsigned long m = V.ncol();
    long double* y = Y.data();
    // Row k of B feeds rows 0..k of Y; k ascending keeps every sum in order.
    for (unsigned long k = 0; k < n; ++k) {
        const long double* bk = b + k * c;
        const unsigned long iMax = k < m ? k + 1 : m;
        for (unsigned long i = 0; i < iMax; ++i) {
            const long double vki = v[k * m + i];
            if (vki == 0.0L) continue;
            long double* yi = y + i * c;
            for (unsigned long j = 0; j < c; ++j) yi[j] += vki * bk[j];
        }
    }
}

void AtBprod(const matrika<long double>& A, const matrika<long double>& B, matrika<long double>& Y)
{
    NiDefinirana("AtBprod", __LINE__, A);
    NiDefinirana("AtBprod", __LINE__, B);
    if (A.nrow() != B.nrow()) Neskladni("AtBprod", __LINE__, A, B);
    const unsigned long n = A.nrow(), ca = A.ncol(), cb = B.ncol();
    PripraviIzhod("AtBprod", __LINE__, Y, ca, cb);
    const bool simetricna = (&A == &B);
    const long double* a = A.data();
    const long double* b = B.data();
    long double* y = Y.data();
    for (unsigned long k = 0; k < n; ++k) {
        const long double* ak = a + k * ca;
        const long double* bk = b + k * cb;
        for (unsigned long i = 0; i < ca; ++i) {
            const long double aki = ak[i];
            if (aki == 0.0L) continue;
            long double* yi = y + i * cb;
            for (unsigned long j = simetricna ? i : 0; j < cb; ++j) yi[j] += aki * bk[j];
        }
    }
    if (simetricna)
        for (unsigned long i = 0; i < ca; ++i)
            for (unsigned long j = i + 1; j < ca; ++j) y[j * ca + i] = y[i * ca + j];
}

void ABtprod(const matrika<long double>& A, const matrika<long double>& B, matrika<long double>& Y)
{
    NiDefinirana("ABtprod", __LINE__, A);
    NiDefinirana("ABtprod", __LINE__, B);
    if (A.ncol() != B.ncol()) Neskladni("ABtprod", __LINE__, A, B);
    const unsigned long ra = A.nrow(), rb = B.nrow(), c = A.ncol();
    PripraviIzhod("ABtprod", __LINE__, Y, ra, rb);
    const long double* a = A.data();
    const long double* b = B.data();
    long double* y = Y.data();
    for (unsigned long i = 0; i < ra; ++i)
        for (unsigned long j = 0; j < rb; ++j) {
            long double s = 0.0L;
            for (unsigned long k = 0; k < c; ++k) s += a[i * c + k] * b[j * c + k];
            y[i * rb + j] = s;
        }
}

void QvvDiag(const matrika<long double>& Qll, const matrika<long double>& B, const matrika<long double>& Qxx,
             matrika<long double>& out)
{
    PreveriQvv("QvvDiag", __LINE__, Qll, B, Qxx);
    const unsigned long n = B.nrow(), u = B.ncol();
    const VrsticeB nz = NenicelniStolpci(B);
    const long double* b = B.data();
    const long double* q = Qxx.data();
    out.resize(Qll.nrow(), 1, 0.0L);
    std::vector<long double> t(u, 0.0L);
    for (unsigned long i = 0; i < n; ++i) {
        const unsigned long z0 = nz.zacetek[i], z1 = nz.zacetek[i + 1];
        const long double* bi = b + i * u;
        // t = b_i * Qxx, needed only where b_i is not zero.
        for (unsigned long jj = z0; jj < z1; ++jj) {
            const unsigned long j = nz.stolpec[jj];
            long double s = 0.0L;
            for (unsigned long kk = z0; kk < z1; ++kk) {
                const unsigned long k = nz.stolpec[kk];
                s += bi[k] * q[k * u + j];
            }
            t[j] = s;
        }
        long double s = 0.0L;
        for (unsigned long jj = z0; jj < z1; ++jj) {
            const unsigned long j = nz.stolpec[jj];
            s += t[j] * bi[j];
        }
        out(static_cast<long>(i)) = -s + Qll(static_cast<long>(i), 1);
    }
}

void QvvPDiag(const matrika<long double>& Qll, const matrika<long double>& B, const matrika<long double>& Qxx,
              const bdmatrika& P, matrika<long double>& out)
{
    PreveriQvv("QvvPDiag", __LINE__, Qll, B, Qxx);
    const unsigned long n = B.nrow(), u = B.ncol();
    if (P.nrow() != n)
        matrikaError("Funkcija:   QvvPDiag\nDimenziji matrik napacni: ", kModul, __LINE__, static_cast<long>(n),
                     static_cast<long>(u), static_cast<long>(P.nrow()), static_cast<long>(P.nrow()));
    const VrsticeB nz = NenicelniStolpci(B);
    const long double* b = B.data();
    const long double* q = Qxx.data();
    const long double* band = Qll.data();
    out.resize(n, 1, 0.0L);
    std::vector<long double> t(u);
    for (unsigned long i = 0; i < n; ++i) {
        const long double* bi = b + i * u;
        // t = b_i * Qxx over all columns: row i of B*Qxx.
        for (unsigned long j = 0; j < u; ++j) t[j] = 0.0L;
        for (unsigned long kk = nz.zacetek[i]; kk < nz.zacetek[i + 1]; ++kk) {
            const unsigned long k = nz.stolpec[kk];
            const long double bik = bi[k];
            const long double* qk = q + k * u;
            for (unsigned long j = 0; j < u; ++j) t[j] += bik * qk[j];
        }
        // Only the rows k of i's block have P(k, i) != 0; the other terms of
        // the sum over all k are zero and are left out.
        const unsigned long blk = P.blokVrstice(i);
        const unsigned long z = P.zacetek(blk), m = P.velikost(blk);
        const matrika<long double>& Pb = P.blok(blk);
        long double r = 0.0L;
        for (unsigned long k = z; k < z + m; ++k) {
            long double s = 0.0L;
            const long double* bk = b + k * u;
            for (unsigned long jj = nz.zacetek[k]; jj < nz.zacetek[k + 1]; ++jj) {
                const unsigned long j = nz.stolpec[jj];
                s += t[j] * bk[j];
            }
            long double qvv = -s;
            if (k == i) qvv += band[i * 3 + 1];
            else if (k + 1 == i) qvv += band[i * 3 + 0];
            else if (k == i + 1) qvv += band[i * 3 + 2];
            r += qvv * Pb(k - z, i - z);
        }
        out(static_cast<long>(i)) = r;
    }
}

long double vTPv(const matrika<long double>& v, const bdmatrika& P)
{
    NiDefinirana("vTPv", __LINE__, v);
    const unsigned long n = v.nrow();
    if (P.nrow() != n || v.ncol() != 1)
        matrikaError("Funkcija:   vTPv\nDimenziji matrik napacni: ", kModul, __LINE__, static_cast<long>(n),
                     static_cast<long>(v.ncol()), static_cast<long>(P.nrow()), static_cast<long>(P.nrow()));
    const long double* vv = v.data();
    long double vpv = 0.0L;
    for (unsigned long i = 0; i < n; ++i) {
        const unsigned long blk = P.blokVrstice(i);
        const unsigned long z = P.zacetek(blk), m = P.velikost(blk);
        const matrika<long double>& Pb = P.blok(blk);
        long double s = 0.0L;
        for (unsigned long j = z; j < z + m; ++j) s += Pb(j - z, i - z) * vv[j];
        vpv += vv[i] * s;
    }
    return std::sqrt(vpv);
}

void VtBprod(const bdmatrika& L, const matrika<long double>& B, matrika<long double>& Y)
{
    NiDefinirana("VtBprod", __LINE__, B);
    const unsigned long n = B.nrow(), c = B.ncol();
    if (L.nrow() != n)
        matrikaError("Funkcija:   VtBprod\nDimenziji matrik napacni: ", kModul, __LINE__, static_cast<long>(L.nrow()),
                     static_cast<long>(L.nrow()), static_cast<long>(n), static_cast<long>(c));
    PripraviIzhod("VtBprod", __LINE__, Y, n, c);
    const long double* b = B.data();
    long double* y = Y.data();
    // Within each block as in the full product: row k of B feeds rows z..k of Y.
    for (unsigned long blk = 0; blk < L.nblok(); ++blk) {
        const unsigned long z = L.zacetek(blk), m = L.velikost(blk);
        const matrika<long double>& Lb = L.blok(blk);
        for (unsigned long k = z; k < z + m; ++k) {
            const long double* bk = b + k * c;
            for (unsigned long i = z; i <= k; ++i) {
                const long double vki = Lb(k - z, i - z);
                if (vki == 0.0L) continue;
                long double* yi = y + i * c;
                for (unsigned long j = 0; j < c; ++j) yi[j] += vki * bk[j];
            }
        }
    }
}
