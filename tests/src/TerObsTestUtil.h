// Helpers of the record-set and reader tests: a set sized in one call,
// records fed to it as the reading pass feeds them, and the closing text of
// a fatal message.
#ifndef NIVEX_TESTS_TEROBSTESTUTIL_H
#define NIVEX_TESTS_TEROBSTESTUTIL_H

#include <memory>
#include <sstream>
#include <string>

#include "TestUtil.h"
#include "src/CTerObsZbirka.h"
#include "src/FBranje.h"

// Arc seconds per radian (180 * 3600 / pi) and pi, as tabulated.
constexpr long double RO = 206264.80624709636L;
constexpr long double PI = 3.14159265358979323846L;

template <class S, class... P>
std::shared_ptr<S> Nov(unsigned long n, P... p)
{
    auto s = std::make_shared<S>();
    s->SetPar(n, p...);
    return s;
}

// Feeds the records of `text` to `s`: the leading word, the record's fields,
// then the rest of the line is skipped.
inline void Beri(CTerObs& s, const std::string& text)
{
    std::istringstream in(text);
    std::string w;
    for (long i = 0; i < static_cast<long>(s.NObs()) && BeriBesedo(in, w); ++i) {
        s.ReadObs(in, i);
        PreskociVrstico(in);
    }
}

// Everything a fatal refusal prints, from its framed message on.
inline std::string Konec(const std::string& sporocilo)
{
    return "\n\n **** " + sporocilo + "!!     *** \n\n\tKoncujem program ... Pritisni ENTER ... ";
}

#endif
