#include "src/FBranje.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

#include "funkcije/numerika.h"

std::size_t DolzinaUtf8(std::string_view s, std::size_t i)
{
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) return 1;
    // The second byte's range follows from the first (no overlong forms,
    // no surrogates, nothing past U+10FFFF); the others are 80..BF.
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else return 0;
    if (i + n > s.size() || b(i + 1) < lo || b(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) return 0;
    return n;
}

Kodiranje KodiranjeBesedila(std::string_view t)
{
    if (t.starts_with("\xEF\xBB\xBF")) return Kodiranje::Utf8;
    bool siroki = false;
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t n = DolzinaUtf8(t, i);
        if (n == 0) return Kodiranje::Windows1250;
        siroki = siroki || n > 1;
        i += n;
    }
    return siroki ? Kodiranje::Utf8 : Kodiranje::Windows1250;
}

namespace {
bool Beri(const std::string& dataFile, std::istringstream& in, Kodiranje* kodiranje)
{
    std::ifstream f(dataFile, std::ios::binary);
    if (!f.is_open()) return false;
    // The whole file at once, then its line ends made "\n" where it has
    // any "\r" at all.
    std::string t;
    std::vector<char> blok(std::size_t{1} << 16);
    while (f.read(blok.data(), static_cast<std::streamsize>(blok.size())) || f.gcount() > 0)
        t.append(blok.data(), static_cast<std::size_t>(f.gcount()));
    if (kodiranje != nullptr) *kodiranje = KodiranjeBesedila(t);
    if (t.starts_with("\xEF\xBB\xBF")) t.erase(0, 3);
    if (t.find('\r') != std::string::npos) {
        std::size_t z = 0;
        for (std::size_t k = 0; k < t.size(); ++k) {
            if (t[k] != '\r') t[z++] = t[k];
            else if (k + 1 == t.size() || t[k + 1] != '\n') t[z++] = '\n';
        }
        t.resize(z);
    }
    in.str(std::move(t));
    in.clear();
    return true;
}
}  // namespace

bool BeriPodatke(const std::string& dataFile, std::istringstream& in) { return Beri(dataFile, in, nullptr); }

bool BeriPodatke(const std::string& dataFile, std::istringstream& in, Kodiranje& kodiranje)
{
    return Beri(dataFile, in, &kodiranje);
}

bool BeriBesedo(std::istream& in, std::string& word)
{
    // As in >> word in the C locale (the blanks of isspace end a word, and
    // the stream's state is the same), from the stream's buffer directly:
    // the stream's own extraction costs a locale lookup per word.
    word.clear();
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    std::streambuf* b = in.rdbuf();
    constexpr int kKonec = std::char_traits<char>::eof();
    int c = b->sgetc();
    while (c != kKonec && std::isspace(c)) c = b->snextc();
    if (c == kKonec) {
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    do {
        word += static_cast<char>(c);
        c = b->snextc();
    } while (c != kKonec && !std::isspace(c));
    if (c == kKonec) in.setstate(std::ios::eofbit);
    return true;
}

void PreskociVrstico(std::istream& in)
{
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
}

bool BesedaVStevilo(const std::string& word, real& x)
{
    if (word.empty()) return false;
    // Only the characters of decimal notation: strtold alone would also take
    // hexadecimal numbers, "inf" and "nan".
    for (const char c : word)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
    const char* s = word.c_str();
    char* konec = nullptr;
    errno = 0;
    const real v = std::strtold(s, &konec);
    if (konec == s || *konec != '\0' || !std::isfinite(v)) return false;
    if (errno == ERANGE && std::fabs(v) > 1.0L) return false;
    x = v;
    return true;
}

bool BesedaVCelo(const std::string& word, long& x, long lo, long hi)
{
    std::size_t k = 0;
    if (k < word.size() && (word[k] == '+' || word[k] == '-')) ++k;
    if (k == word.size()) return false;
    for (std::size_t j = k; j < word.size(); ++j)
        if (word[j] < '0' || word[j] > '9') return false;
    errno = 0;
    char* konec = nullptr;
    const long v = std::strtol(word.c_str(), &konec, 10);
    if (errno == ERANGE || v < lo || v > hi) return false;
    x = v;
    return true;
}
