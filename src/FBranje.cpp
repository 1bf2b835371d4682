#include "src/FBranje.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>

#include "matrika/numerika.h"

bool BeriPodatke(const std::string& dataFile, std::istringstream& in)
{
    std::ifstream f(dataFile, std::ios::binary);
    if (!f.is_open()) return false;
    const std::string surovo{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    const std::size_t zacetek = surovo.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    std::string t;
    t.reserve(surovo.size() - zacetek);
    for (std::size_t k = zacetek; k < surovo.size(); ++k) {
        if (surovo[k] != '\r') {
            t += surovo[k];
        } else if (k + 1 == surovo.size() || surovo[k + 1] != '\n') {
            t += '\n';
        }
    }
    in.str(std::move(t));
    in.clear();
    return true;
}

bool BeriBesedo(std::istream& in, std::string& word)
{
    word.clear();
    return static_cast<bool>(in >> word);
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
