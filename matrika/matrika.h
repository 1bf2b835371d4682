// matrika<T>: the program's one container of vectors, matrices, name lists and
// index tables.
//
// Dense, row-major, zero-based: element (i, j) is storage position col_*i + j.
// A vector is an n x 1 matrix.  Every access is bounds-checked; a bad index or
// an unfitting operand ends the run through matrikaError with the framed
// "NAPAKA:" block (never an exception, never memory outside the storage).
// New storage is zero-filled (empty texts for the text type).  Arithmetic is
// offered for floating element types only.
#ifndef NIVEX_MATRIKA_MATRIKA_H
#define NIVEX_MATRIKA_MATRIKA_H

#include <concepts>
#include <cstddef>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "funkcije/numerika.h"
#include "matrika/matrikaAux.h"

namespace matrika_detail {
// Out of line so that the checked accessors stay small enough to inline.
[[noreturn]] void IndexError(Besedilo message, long line, long index, long limit);
// Storage for rows x cols elements of `bytes` each could not be had.
[[noreturn]] void MemoryError(unsigned long rows, unsigned long cols, std::size_t bytes);
}

template <typename T>
class matrika {
public:
    matrika() = default;
    explicit matrika(unsigned long n) { resize(n); }
    matrika(unsigned long r, unsigned long c) { resize(r, c); }
    matrika(unsigned long r, unsigned long c, const T& value) { resize(r, c, value); }
    matrika(const matrika& o) : row_(o.row_), col_(o.col_), vektor(Kopija(o)) {}
    matrika(matrika&& o) noexcept : row_(o.row_), col_(o.col_), vektor(std::move(o.vektor)) { o.row_ = o.col_ = 0; }
    matrika& operator=(const matrika& o)
    {
        if (this != &o) { vektor = Kopija(o); row_ = o.row_; col_ = o.col_; }
        return *this;
    }
    matrika& operator=(matrika&& o) noexcept
    {
        if (this != &o) {
            row_ = o.row_; col_ = o.col_; vektor = std::move(o.vektor);
            o.row_ = o.col_ = 0; o.vektor.clear();
        }
        return *this;
    }
    ~matrika() { row_ = col_ = 0; }

    void resize(unsigned long n) { resize(n, 1); }
    void resize(unsigned long r, unsigned long c) { resize(r, c, T{}); }
    void resize(unsigned long r, unsigned long c, const T& value)
    {
        row_ = r; col_ = c;
        // A network too large for the machine ends with the size that did
        // not fit, not with an uncaught exception.
        try {
            vektor.assign(static_cast<std::size_t>(r) * c, value);
        } catch (const std::exception&) {
            vektor.clear();
            vektor.shrink_to_fit();
            matrika_detail::MemoryError(r, c, sizeof(T));
        }
    }

    unsigned long nrow() const { return row_; }
    unsigned long ncol() const { return col_; }
    // Number of elements.
    unsigned long size() const { return static_cast<unsigned long>(vektor.size()); }
    bool empty() const { return row_ == 0 && col_ == 0; }

    // Element k of the storage (for a vector: its position).
    T& operator()(long k) { check(k); return vektor[static_cast<std::size_t>(k)]; }
    const T& operator()(long k) const { check(k); return vektor[static_cast<std::size_t>(k)]; }
    // Element (i, j); the row is checked before the column.
    T& operator()(long i, long j) { return vektor[pos(i, j)]; }
    const T& operator()(long i, long j) const { return vektor[pos(i, j)]; }

    // Put: copies all of B so that B(0,0) lands on (i, j); returns *this.
    matrika& operator()(const matrika& B, long i, long j);
    // Get: rows r1..r2 and columns c1..c2 (both ends included) as a new matrix.
    matrika operator()(long r1, long r2, long c1, long c2) const;

    matrika& operator+=(const matrika& B) requires std::floating_point<T>;
    matrika& operator-=(const matrika& B) requires std::floating_point<T>;
    matrika& operator*=(const matrika& B) requires std::floating_point<T>;
    matrika& operator*=(const T& s) requires std::floating_point<T>;

    // Unchecked contiguous storage, for kernels that have checked their bounds.
    T* data() { return vektor.data(); }
    const T* data() const { return vektor.data(); }

private:
    void check(long k) const
    {
        if (k < 0 || static_cast<unsigned long>(k) >= vektor.size()) [[unlikely]]
            matrika_detail::IndexError(Besedilo::MatIndeksMatrike, __LINE__, k,
                                       static_cast<long>(vektor.size()) - 1);
    }
    std::size_t pos(long i, long j) const
    {
        if (i < 0 || static_cast<unsigned long>(i) >= row_) [[unlikely]]
            matrika_detail::IndexError(Besedilo::MatIndeksVrstice, __LINE__, i,
                                       static_cast<long>(row_) - 1);
        if (j < 0 || static_cast<unsigned long>(j) >= col_) [[unlikely]]
            matrika_detail::IndexError(Besedilo::MatIndeksStolpca, __LINE__, j,
                                       static_cast<long>(col_) - 1);
        return static_cast<std::size_t>(i) * col_ + static_cast<std::size_t>(j);
    }

    static std::vector<T> Kopija(const matrika& o)
    {
        try {
            return o.vektor;
        } catch (const std::exception&) {
            matrika_detail::MemoryError(o.row_, o.col_, sizeof(T));
        }
    }

    unsigned long row_ = 0;
    unsigned long col_ = 0;
    std::vector<T> vektor;
};

// A - B and A * B: new matrices; an operand with a zero count is refused.
matrika<real> operator-(const matrika<real>& A, const matrika<real>& B);
matrika<real> operator*(const matrika<real>& A, const matrika<real>& B);

// n x n with value on the diagonal.
matrika<real> I(unsigned long n, real value);

// ---------------------------------------------------------------------------
// Member templates.

template <typename T>
matrika<T>& matrika<T>::operator()(const matrika& B, long i, long j)
{
    const char* f = "matrika/matrika";
    if (i < 0 || static_cast<unsigned long>(i) >= row_)
        matrikaError(NapakaFunkcije("()", Besedilo::MatVpisVrstice, Besedilo::OkvirPodmatrika), f, __LINE__);
    if (j < 0 || static_cast<unsigned long>(j) >= col_)
        matrikaError(NapakaFunkcije("()", Besedilo::MatVpisIndeksi, Besedilo::OkvirPodmatrika), f, __LINE__);
    if (static_cast<unsigned long>(i) + B.row_ > row_)
        matrikaError(NapakaFunkcije("()", Besedilo::MatVpisZgornjiVrstice, Besedilo::OkvirPodmatrika), f, __LINE__);
    if (static_cast<unsigned long>(j) + B.col_ > col_)
        matrikaError(NapakaFunkcije("()", Besedilo::MatVpisZgornjiStolpci, Besedilo::OkvirPodmatrika), f, __LINE__);
    for (unsigned long r = 0; r < B.row_; ++r)
        for (unsigned long c = 0; c < B.col_; ++c)
            vektor[(i + r) * col_ + j + c] = B.vektor[r * B.col_ + c];
    return *this;
}

template <typename T>
matrika<T> matrika<T>::operator()(long r1, long r2, long c1, long c2) const
{
    const auto m = [] { return NapakaFunkcije("()", Besedilo::MatIzpisIndeksi, Besedilo::OkvirPodmatrika); };
    if (r1 > r2 || c1 > c2) matrikaError(m(), "matrika/matrika", __LINE__);
    if (r1 < 0 || static_cast<unsigned long>(r2) >= row_) matrikaError(m(), "matrika/matrika", __LINE__);
    if (c1 < 0 || static_cast<unsigned long>(c2) >= col_) matrikaError(m(), "matrika/matrika", __LINE__);
    matrika<T> out(r2 - r1 + 1, c2 - c1 + 1);
    for (long r = r1; r <= r2; ++r)
        for (long c = c1; c <= c2; ++c)
            out.vektor[(r - r1) * out.col_ + (c - c1)] = vektor[r * col_ + c];
    return out;
}

template <typename T>
matrika<T>& matrika<T>::operator+=(const matrika& B) requires std::floating_point<T>
{
    if (row_ != B.row_ || col_ != B.col_)
        matrikaError(NapakaOperatorja("+=", Besedilo::MatDimenzijiNapacni), "matrika/matrika", __LINE__,
                     (long)row_, (long)col_, (long)B.row_, (long)B.col_);
    for (std::size_t k = 0; k < vektor.size(); ++k) vektor[k] += B.vektor[k];
    return *this;
}

template <typename T>
matrika<T>& matrika<T>::operator-=(const matrika& B) requires std::floating_point<T>
{
    if (row_ != B.row_ || col_ != B.col_)
        matrikaError(NapakaOperatorja("-=", Besedilo::MatDimenzijiNapacni), "matrika/matrika", __LINE__,
                     (long)row_, (long)col_, (long)B.row_, (long)B.col_);
    for (std::size_t k = 0; k < vektor.size(); ++k) vektor[k] -= B.vektor[k];
    return *this;
}

template <typename T>
matrika<T>& matrika<T>::operator*=(const matrika& B) requires std::floating_point<T>
{
    if (col_ != B.row_)
        matrikaError(NapakaOperatorja("*=", Besedilo::MatDimenzijiNapacni), "matrika/matrika", __LINE__,
                     (long)row_, (long)col_, (long)B.row_, (long)B.col_);
    *this = *this * B;
    return *this;
}

template <typename T>
matrika<T>& matrika<T>::operator*=(const T& s) requires std::floating_point<T>
{
    for (auto& e : vektor) e *= s;
    return *this;
}

#endif
