#include "src/IzpisStevil.h"

#include <cmath>
#include <cstdio>
#include <ios>
#include <limits>
#include <locale>

namespace {
constexpr int kNajvecDecimalk = 9;
constexpr real kPotence[kNajvecDecimalk + 1] = {1.0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
constexpr unsigned long long kCelePotence[kNajvecDecimalk + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The value scaled by 10^decimals is below this: its product is exact to
// 6e-8 (64-bit mantissa), far inside kDvom.
constexpr real kNajvecjiZmnozek = 1e12L;
// A scaled value this close to a tie goes to the C library, which rounds the
// exact binary value.
constexpr real kDvom = 1e-6L;
// With a mantissa of 64 bits (or more) a value added to half its unit in
// the last place's scale, 2^(digits-1), keeps no fraction; with fewer the
// product above is not exact enough, and every value goes to the library.
constexpr bool kHitro = std::numeric_limits<real>::digits >= 64;
const real kBrezUlomka = std::ldexp(1.0L, std::numeric_limits<real>::digits - 1);

// Most values are rounded in double precision (izpisstevil::kDvomDvojni):
// a scaled value that far from a tie rounds as the exact value, which is
// what the long double path or the library gives; any other goes there.
constexpr double kPotenceDvojne[kNajvecDecimalk + 1] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr double kNajvecjiDvojni = 1e6;
using izpisstevil::kDvomDvojni;

void PrekoKnjiznice(std::string& izhod, real v, int sirina, int decimalke)
{
    const int n = std::snprintf(nullptr, 0, "%*.*Lf", sirina, decimalke, v);
    if (n <= 0) return;
    const std::size_t zacetek = izhod.size();
    izhod.resize(zacetek + static_cast<std::size_t>(n) + 1);
    std::snprintf(izhod.data() + zacetek, static_cast<std::size_t>(n) + 1, "%*.*Lf", sirina, decimalke, v);
    izhod.resize(zacetek + static_cast<std::size_t>(n));
}
}  // namespace

namespace {
// The field of the rounded scaled value c (an integer), right-aligned in
// sirina characters.
void Polje(std::string& izhod, unsigned long long c, bool negativno, int sirina, int decimalke)
{
    if (sirina == 6 && decimalke == 2 && c < 1000) {
        char polje[6];
        izpisstevil::PoljeKorelacije(polje, static_cast<unsigned long>(c), negativno);
        izhod.append(polje, 6);
        return;
    }
    // The field is appended blank, then written from its last digit: the
    // decimals, the point, the integer part, the sign.
    const unsigned long long celi = c / kCelePotence[decimalke];
    int dolzina = (negativno ? 1 : 0) + (decimalke > 0 ? decimalke + 1 : 0) + 1;
    for (unsigned long long x = celi; x >= 10; x /= 10) ++dolzina;
    const std::size_t polje = static_cast<std::size_t>(sirina > dolzina ? sirina : dolzina);
    izhod.append(polje, ' ');
    char* z = izhod.data() + izhod.size();
    for (int d = 0; d < decimalke; ++d, c /= 10) *--z = static_cast<char>('0' + c % 10);
    if (decimalke > 0) *--z = '.';
    do {
        *--z = static_cast<char>('0' + c % 10);
        c /= 10;
    } while (c > 0);
    if (negativno) *--z = '-';
}
}  // namespace

void DodajFiksno(std::string& izhod, real v, int sirina, int decimalke)
{
    if (!kHitro || decimalke < 0 || decimalke > kNajvecDecimalk) return PrekoKnjiznice(izhod, v, sirina, decimalke);
    // The stream writes "-" before every negative value and before -0; a
    // value rounded to double keeps its sign, also when it underflows to 0.
    const double d = static_cast<double>(v);
    const double td = std::fabs(d) * kPotenceDvojne[decimalke];
    if (td < kNajvecjiDvojni) {
        const unsigned long long c = static_cast<unsigned long long>(td + 0.5);
        const double od = td - static_cast<double>(c);
        if (od < 0.5 - kDvomDvojni && od > kDvomDvojni - 0.5) return Polje(izhod, c, std::signbit(d), sirina, decimalke);
    }
    // The sign by comparison (the sign bit only for a zero).
    bool negativno;
    if (v < 0.0L) negativno = true;
    else if (v > 0.0L) negativno = false;
    else if (v == 0.0L) negativno = std::signbit(v);
    else return PrekoKnjiznice(izhod, v, sirina, decimalke);   // nan
    const real t = (negativno ? -v : v) * kPotence[decimalke];
    if (!(t < kNajvecjiZmnozek)) return PrekoKnjiznice(izhod, v, sirina, decimalke);
    // t rounded to the nearest integer (a tie to the even one): added to
    // kBrezUlomka it keeps no fraction.  The difference to t is exact.
    const real celo = (t + kBrezUlomka) - kBrezUlomka;
    const real ostanek = t - celo;
    if (ostanek > 0.5L - kDvom || ostanek < kDvom - 0.5L) return PrekoKnjiznice(izhod, v, sirina, decimalke);
    // An integer below 2^40: exact in double, whose conversion is cheap.
    Polje(izhod, static_cast<unsigned long long>(static_cast<double>(celo)), negativno, sirina, decimalke);
}

namespace {
// num_put of the C locale with fixed-notation numbers through DodajFiksno.
class HitriZapis : public std::num_put<char> {
protected:
    iter_type do_put(iter_type s, std::ios_base& io, char_type fill, double v) const override
    {
        return Zapisi(s, io, fill, v, [&] { return std::num_put<char>::do_put(s, io, fill, v); });
    }
    iter_type do_put(iter_type s, std::ios_base& io, char_type fill, long double v) const override
    {
        return Zapisi(s, io, fill, v, [&] { return std::num_put<char>::do_put(s, io, fill, v); });
    }

private:
    template <typename Sicer>
    static iter_type Zapisi(iter_type s, std::ios_base& io, char_type fill, long double v, Sicer sicer)
    {
        const std::ios_base::fmtflags f = io.flags();
        const std::ios_base::fmtflags poravnava = f & std::ios_base::adjustfield;
        const std::streamsize dec = io.precision();
        if ((f & std::ios_base::floatfield) != std::ios_base::fixed ||
            (f & (std::ios_base::showpos | std::ios_base::showpoint | std::ios_base::uppercase)) ||
            poravnava == std::ios_base::internal || dec < 0 || dec > kNajvecDecimalk)
            return sicer();
        std::string t;
        DodajFiksno(t, v, 0, static_cast<int>(dec));
        const std::streamsize w = io.width();
        io.width(0);
        const std::size_t polnilo = w > static_cast<std::streamsize>(t.size()) ? static_cast<std::size_t>(w) - t.size() : 0;
        const bool levo = poravnava == std::ios_base::left;
        if (!levo)
            for (std::size_t k = 0; k < polnilo; ++k) *s++ = fill;
        for (const char c : t) *s++ = c;
        if (levo)
            for (std::size_t k = 0; k < polnilo; ++k) *s++ = fill;
        return s;
    }
};
}  // namespace

void HitriIzpis(std::ostream& out) { out.imbue(std::locale(std::locale::classic(), new HitriZapis)); }
