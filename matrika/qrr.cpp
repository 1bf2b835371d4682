#include "matrika/qrr.h"

#include <algorithm>
#include <vector>

#include "matrika/trikotni.h"

namespace {
const char* const F = "matrika/qrr";
std::string Qr(Besedilo postopek) { return BesediloF(postopek, "qrr::qr"); }
}

template <typename T>
matrika<T> qrr<T>::razcep(const matrika<T>& A, const matrika<T>& f, const std::string& method)
{
    prijavi_ = false;
    this->pivot_ = -1;
    if (method == "QRMGS") return qrmgs(A, f);
    if (method == "QRGIV") return qrgiv(A, f);
    if (method == "QRHOUS" || method == "QR") return qrhous(A, f);
    return matrika<T>();
}

template <typename T>
matrika<T> qrr<T>::qrhous(const matrika<T>& A, const matrika<T>& f)
{
    if (A.empty())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekHouseholder), Besedilo::MatNiDefinirana), F,
                     __LINE__);
    if (A.nrow() < A.ncol())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekHouseholder), Besedilo::MatDolocenSistem,
                                    Besedilo::OkvirFunkcijaKratko), F, __LINE__);
    if (f.nrow() != A.nrow())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekHouseholder), Besedilo::MatEnakoVrstic),
                     F, __LINE__);
    const unsigned long m = A.nrow(), n = A.ncol(), nb = f.ncol();
    Q = matrika<T>();
    b = f;
    // The columns of R are kept as rows of Rt while the reflections run, so
    // that each column's product with v is a sum in a register over
    // contiguous storage.
    std::vector<T> Rt(n * m);
    const T* a = A.data();
    for (unsigned long i = 0; i < m; ++i)
        for (unsigned long c = 0; c < n; ++c) Rt[c * m + i] = a[i * n + c];
    T* bb = b.data();
    std::vector<T> v(m);
    for (unsigned long k = 0; k < n; ++k) {
        const T* Rk = Rt.data() + k * m;
        T s = 0;
        for (unsigned long i = k; i < m; ++i) s += Rk[i] * Rk[i];
        const T alfa = dsqrt(s);
        const T rkk = Rk[k];
        const T u = rkk > 0 ? rkk + alfa : rkk - alfa;
        // A column that is zero from row k down needs no reflection (and has
        // none: v would be 0/0).
        if (u == 0) continue;
        const unsigned long mk = m - k;
        v[0] = 1;
        for (unsigned long j = 1; j < mk; ++j) v[j] = Rk[k + j] / u;
        T vv = 0;
        for (unsigned long j = 0; j < mk; ++j) vv += v[j] * v[j];
        const T tau = T(-2) / vv;
        // H x = x + tau v (v'x) for every column x of the block of R and of b.
        for (unsigned long c = k; c < n; ++c) {
            T* x = Rt.data() + c * m + k;
            T w = 0;
            for (unsigned long i = 0; i < mk; ++i) w += v[i] * x[i];
            for (unsigned long i = 0; i < mk; ++i) x[i] += tau * v[i] * w;
        }
        for (unsigned long c = 0; c < nb; ++c) {
            T* x = bb + k * nb + c;
            T w = 0;
            for (unsigned long i = 0; i < mk; ++i) w += v[i] * x[i * nb];
            for (unsigned long i = 0; i < mk; ++i) x[i * nb] += tau * v[i] * w;
        }
    }
    R.resize(m, n);
    T* r = R.data();
    for (unsigned long i = 0; i < m; ++i)
        for (unsigned long c = 0; c < n; ++c) r[i * n + c] = Rt[c * m + i];
    return NazajR();
}

template <typename T>
matrika<T> qrr<T>::qrmgs(const matrika<T>& A, const matrika<T>& f)
{
    if (A.empty())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGramSchmidt), Besedilo::MatNiDefinirana), F,
                     __LINE__);
    if (A.nrow() <= A.ncol())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGramSchmidt), Besedilo::MatPredolocenSistem,
                                    Besedilo::OkvirFunkcijaKratko), F, __LINE__);
    if (f.nrow() != A.nrow())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGramSchmidt), Besedilo::MatEnakoVrstic),
                     F, __LINE__);
    const unsigned long m = A.nrow(), n = A.ncol(), nb = f.ncol();
    // The columns of Q are kept as rows of Qt, so that every dot product and
    // update runs over contiguous storage.
    std::vector<T> Qt(n * m);
    R.resize(n, n, T(0));
    const T* a = A.data();
    for (unsigned long k = 0; k < n; ++k) {
        T* qk = Qt.data() + k * m;
        for (unsigned long i = 0; i < m; ++i) qk[i] = a[i * n + k];
        for (unsigned long j = 0; j < k; ++j) {
            const T* qj = Qt.data() + j * m;
            T s = 0;
            for (unsigned long i = 0; i < m; ++i) s += qj[i] * qk[i];
            R(j, k) = s;
            for (unsigned long i = 0; i < m; ++i) qk[i] -= s * qj[i];
        }
        T s = 0;
        for (unsigned long i = 0; i < m; ++i) s += qk[i] * qk[i];
        const T rkk = dsqrt(s);
        R(k, k) = rkk;
        // A column dependent on the ones before it stays zero (R(k, k) = 0).
        if (rkk != 0)
            for (unsigned long i = 0; i < m; ++i) qk[i] /= rkk;
    }
    b.resize(n, nb);
    std::vector<T> rr(m);
    for (unsigned long c = 0; c < nb; ++c) {
        for (unsigned long i = 0; i < m; ++i) rr[i] = f(i, c);
        for (unsigned long j = 0; j < n; ++j) {
            const T* qj = Qt.data() + j * m;
            T s = 0;
            for (unsigned long i = 0; i < m; ++i) s += qj[i] * rr[i];
            b(j, c) = s;
            for (unsigned long i = 0; i < m; ++i) rr[i] -= s * qj[i];
        }
    }
    Q.resize(m, n);
    T* q = Q.data();
    for (unsigned long k = 0; k < n; ++k)
        for (unsigned long i = 0; i < m; ++i) q[i * n + k] = Qt[k * m + i];
    return NazajR();
}

template <typename T>
matrika<T> qrr<T>::qrgiv(const matrika<T>& A, const matrika<T>& f)
{
    if (A.empty())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGivens), Besedilo::MatNiDefinirana), F, __LINE__);
    if (A.nrow() < A.ncol())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGivens), Besedilo::MatDolocenSistem),
                     F, __LINE__);
    if (f.nrow() != A.nrow())
        matrikaError(NapakaFunkcije(Qr(Besedilo::PostopekGivens), Besedilo::MatEnakoVrstic),
                     F, __LINE__);
    const unsigned long m = A.nrow(), n = A.ncol(), nb = f.ncol();
    Q = matrika<T>();
    R = A;
    b = f;
    T* r = R.data();
    T* bb = b.data();
    // konec[i]: one past the last column of row i that may be non-zero.  The
    // rows of a design matrix touch the unknowns of two to four points, and a
    // rotation can only spread a row over the other row's columns, so each
    // rotation runs over the union of the two rows' ranges; beyond it both
    // rows hold zeros, which a rotation would leave zero.
    std::vector<unsigned long> konec(m, 0);
    for (unsigned long i = 0; i < m; ++i)
        for (unsigned long j = n; j-- > 0;)
            if (r[i * n + j] != T(0)) {
                konec[i] = j + 1;
                break;
            }
    // naslednji[k]: the rows whose element in column k may be non-zero.  A
    // row enters the list of its first non-zero column and moves on one
    // column each time it is looked at; every other row holds an exact zero
    // in column k and would be passed over, so visiting only these rows, in
    // ascending order, does exactly what a scan of all rows does.
    std::vector<std::vector<unsigned long>> naslednji(n);
    for (unsigned long i = 0; i < m; ++i)
        for (unsigned long j = 0; j < konec[i]; ++j)
            if (r[i * n + j] != T(0)) {
                naslednji[j].push_back(i);
                break;
            }
    for (unsigned long k = 0; k < n; ++k) {
        T* Rk = r + k * n;
        std::vector<unsigned long>& vrste = naslednji[k];
        std::sort(vrste.begin(), vrste.end());
        for (const unsigned long i : vrste) {
            if (i <= k) continue;
            T* Ri = r + i * n;
            if (!(dabs(Ri[k]) > numerika::kSingularniPivot)) {
                if (k + 1 < konec[i]) naslednji[k + 1].push_back(i);
                continue;
            }
            T c, s;
            if (std::fabs(Ri[k]) > std::fabs(Rk[k])) {
                const T t = -Rk[k] / Ri[k];
                s = T(1) / dsqrt(T(1) + t * t);
                c = s * t;
            } else {
                const T t = -Ri[k] / Rk[k];
                c = T(1) / dsqrt(T(1) + t * t);
                s = c * t;
            }
            // Columns left of k hold only what earlier rotations left below the
            // diagonal; no later step reads them, so the rotation starts at k.
            const unsigned long jk = std::max(konec[k], konec[i]);
            konec[k] = konec[i] = jk;
            for (unsigned long j = k; j < jk; ++j) {
                const T rk = Rk[j], ri = Ri[j];
                Rk[j] = c * rk - s * ri;
                Ri[j] = s * rk + c * ri;
            }
            for (unsigned long j = 0; j < nb; ++j) {
                const T bk = bb[k * nb + j], bi = bb[i * nb + j];
                bb[k * nb + j] = c * bk - s * bi;
                bb[i * nb + j] = s * bk + c * bi;
            }
            if (k + 1 < konec[i]) naslednji[k + 1].push_back(i);
        }
        std::vector<unsigned long>().swap(vrste);
    }
    return NazajR();
}

template <typename T>
matrika<T> qrr<T>::NazajR() const
{
    const unsigned long n = R.ncol(), nb = b.ncol();
    matrika<T> x(n, nb);
    for (unsigned long c = 0; c < nb; ++c)
        for (unsigned long j = n; j-- > 0;) {
            T s = b(j, c);
            for (unsigned long k = j + 1; k < n; ++k) s -= R(j, k) * x(k, c);
            x(j, c) = s / R(j, j);
        }
    return x;
}

template <typename T>
matrika<T> qrr<T>::resivi(const matrika<T>& e) const
{
    if (R.empty())
        matrikaError(NapakaFunkcije("qrr::resivi", Besedilo::MatNiDefiniranaRazcep), F, __LINE__);
    const unsigned long n = R.ncol();
    if (e.nrow() != n || e.ncol() != 1)
        matrikaError(NapakaFunkcije("qrr::resivi", Besedilo::MatVrsticeE), F, __LINE__,
                     (long)R.nrow(), (long)R.ncol(), (long)e.nrow(), (long)e.ncol());
    matrika<T> x(e);
    for (unsigned long j = 0; j < n; ++j) {
        T s = x(j);
        for (unsigned long k = 0; k < j; ++k) s -= R(k, j) * x(k);
        x(j) = s / R(j, j);
    }
    for (unsigned long j = n; j-- > 0;) {
        T s = x(j);
        for (unsigned long k = j + 1; k < n; ++k) s -= R(j, k) * x(k);
        x(j) = s / R(j, j);
    }
    return x;
}

template <typename T>
void qrr<T>::razcep(const matrika<T>& M, const matrika<T>& f)
{
    x_ = razcep(M, f, metoda_);
    prijavi_ = true;
    this->pivot_ = -1;
    for (unsigned long j = 0; j < R.ncol() && j < R.nrow(); ++j)
        if (!(dabs(R(j, j)) >= numerika::kSingularniPivot)) {
            this->pivot_ = static_cast<long>(j);
            return;
        }
}

template <typename T>
matrika<T> qrr<T>::inv()
{
    if (R.empty())
        matrikaError(NapakaFunkcije("qrr::inv", Besedilo::MatNiDefiniranaRazcep), F, __LINE__);
    if (prijavi_ && this->pivot_ >= 0) return matrika<T>();
    const unsigned long n = R.ncol();
    // A zero diagonal element (a column dependent on the others) would give
    // infinite or undefined cofactors silently.
    for (unsigned long i = 0; i < n; ++i)
        if (dabs(R(i, i)) < numerika::kSingularniPivot)
            matrikaError(NapakaFunkcije("qrr::inv", Besedilo::MatSingularna), F, __LINE__, R(i, i) / T(numerika::kSingularniPivot), (long)i);
    if (n == 1) return matrika<T>(1, 1, T(1) / (R(0) * R(0)));
    // (R'R)^-1 = (L L')^-1 with L = R' (the first n rows of R).
    std::vector<T> L(n * n);
    const T* r = R.data();
    for (unsigned long i = 0; i < n; ++i)
        for (unsigned long j = 0; j < n; ++j) L[j * n + i] = r[i * n + j];
    matrika<T> X(n, n);
    trikotni::invLLt(L.data(), n, X.data());
    return X;
}

template class qrr<real>;
