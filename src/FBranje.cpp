#include "src/FBranje.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
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

namespace {
// Unicode of the bytes 0x80 to 0xFF of Windows-1250 (U+FFFD where the code
// page has no character).
constexpr std::array<char16_t, 128> kCp1250 = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};
}  // namespace

std::string NVX2Utf8(const std::string& besedilo, Kodiranje kodiranje)
{
    std::string s;
    s.reserve(besedilo.size());
    for (std::size_t i = 0; i < besedilo.size(); ++i) {
        if (const std::size_t n = kodiranje == Kodiranje::Utf8 ? DolzinaUtf8(besedilo, i) : 0; n > 1) {
            s.append(besedilo, i, n);
            i += n - 1;
            continue;
        }
        const unsigned char b = static_cast<unsigned char>(besedilo[i]);
        const unsigned u = b < 0x80 ? b : kCp1250[b - 0x80];
        if (u < 0x80) {
            s += static_cast<char>(u);
        } else if (u < 0x800) {
            s += static_cast<char>(0xC0 | (u >> 6));
            s += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            s += static_cast<char>(0xE0 | (u >> 12));
            s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return s;
}

bool XSamoIme(std::istream& in)
{
    const std::streampos zacetek = in.tellg();
    if (zacetek < 0) return in.eof();   // the name was the file's last word
    std::string vrsta, beseda;
    std::getline(in, vrsta);
    std::istringstream s(vrsta);
    bool samo = !(s >> beseda) || beseda[0] == '#';
    if (samo && BeriBesedo(in, beseda)) {
        real x = 0.0L;
        samo = !BesedaVStevilo(beseda, x);
    }
    in.clear();
    in.seekg(zacetek);
    return samo;
}
