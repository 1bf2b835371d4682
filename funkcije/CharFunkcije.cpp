#include "funkcije/CharFunkcije.h"

#include <cstring>

#include "funkcije/funkcijeAux.h"

namespace {
void PreveriPos(const char* s, int pos)
{
    if (pos > static_cast<long>(std::strlen(s)))
        funkcijeError(" **** Parameter pos je prevelik (>dolzina niza)!!     *** ", "funkcije/CharFunkcije", __LINE__);
    if (pos < 0)
        funkcijeError(" **** Parameter pos mora biti nenegativen!!     *** ", "funkcije/CharFunkcije", __LINE__);
}
}  // namespace

void substr(const char* s, int pos, int len, char* out)
{
    PreveriPos(s, pos);
    if (len < 0)
        funkcijeError(" **** Parameter dol mora  biti nenegativen!!     *** ", "funkcije/CharFunkcije", __LINE__);
    int k = 0;
    for (; k < len && s[pos + k] != '\0'; ++k) out[k] = s[pos + k];
    out[k] = '\0';
}

void substr(const char* s, int pos, char* out)
{
    PreveriPos(s, pos);
    std::memmove(out, s + pos, std::strlen(s + pos) + 1);
}

int strfind(const char* s, const char* t) { return std::strstr(s, t) != nullptr ? 1 : 0; }

int index(const char* s, char c)
{
    for (int k = 0; s[k] != '\0'; ++k)
        if (s[k] == c) return k;
    return -1;
}

int indexLast(const char* s, char c)
{
    int last = -1;
    for (int k = 0; s[k] != '\0'; ++k)
        if (s[k] == c) last = k;
    return last;
}

int index(const char* s, const char* t)
{
    const char* p = std::strstr(s, t);
    return p == nullptr ? -1 : static_cast<int>(p - s);
}

void strcpy(char* out, char c, int n)
{
    int k = 0;
    for (; k < n; ++k) out[k] = c;
    out[k] = '\0';
}

void strng(char* out, char c, long n)
{
    long k = 0;
    for (; k < n; ++k) out[k] = c;
    out[k] = '\0';
}

void trimr(char* s)
{
    std::size_t n = std::strlen(s);
    while (n > 0 && s[n - 1] == ' ') --n;
    s[n] = '\0';
}

void triml(char* s)
{
    std::size_t k = 0;
    while (s[k] == ' ') ++k;
    if (k > 0) std::memmove(s, s + k, std::strlen(s + k) + 1);
}

void trim(char* s)
{
    trimr(s);
    triml(s);
}
