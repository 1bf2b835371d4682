#include "matrika/bdmatrika.h"

#include "funkcije/funkcijeAux.h"
#include "matrika/matrikaAux.h"
#include "matrika/chr.h"
#include "matrika/invtrid.h"

real bdmatrika::operator()(long i, long j) const
{
    const long n = static_cast<long>(nrow());
    if (i < 0 || i >= n) matrikaError("Operator:   ()\nNepravilen indeks vrstice: ", "matrika/bdmatrika", __LINE__, i, n - 1);
    if (j < 0 || j >= n) matrikaError("Operator:   ()\nNepravilen indeks stolpca: ", "matrika/bdmatrika", __LINE__, j, n - 1);
    const unsigned long b = vrsticaBlok[i];
    if (b == kBrez || vrsticaBlok[j] != b) return 0.0L;
    return bloki[b](static_cast<long>(polozaji[i]), static_cast<long>(polozaji[j]));
}

void bdmatrika::dodaj(const matrika<real>& B)
{
    std::vector<unsigned long> v(B.nrow());
    for (unsigned long i = 0; i < B.nrow(); ++i) v[i] = nrow() + i;
    dodaj(B, v);
    razprseni.back() = 0;
}

void bdmatrika::dodaj(const matrika<real>& B, const std::vector<unsigned long>& vrstice)
{
    if (B.nrow() != B.ncol() || B.nrow() == 0 || vrstice.size() != B.nrow())
        matrikaError("Funkcija:   bdmatrika::dodaj\nBlok mora biti kvadratna matrika: ", "matrika/bdmatrika", __LINE__);
    for (unsigned long k = 0; k < vrstice.size(); ++k) {
        const unsigned long i = vrstice[k];
        if ((k > 0 && i <= vrstice[k - 1]) || (i < vrsticaBlok.size() && vrsticaBlok[i] != kBrez))
            matrikaError("Funkcija:   bdmatrika::dodaj\nVrstica je ze v drugem bloku: ", "matrika/bdmatrika", __LINE__,
                         static_cast<long>(i), static_cast<long>(vrsticaBlok.size()));
        if (i >= vrsticaBlok.size()) {
            vrsticaBlok.resize(i + 1, kBrez);
            polozaji.resize(i + 1, 0);
        }
        vrsticaBlok[i] = bloki.size();
        polozaji[i] = k;
    }
    vrsticeBlokov.push_back(vrstice);
    razprseni.push_back(1);
    bloki.push_back(B);
}

void bdmatrika::clear()
{
    vrsticeBlokov.clear();
    vrsticaBlok.clear();
    polozaji.clear();
    razprseni.clear();
    bloki.clear();
}

bdmatrika invtridB(const matrika<real>& T)
{
    if (T.ncol() != 3)
        matrikaError("Funkcija:   invtridV() - Gauss-Jordan\nMatrika mora imeti 3 stolpce: ", "matrika/bdmatrika", __LINE__);
    if (T.nrow() == 0)
        matrikaError("Funkcija:   invtridV() - Gauss-Jordan\nDimenzija matrike ni definirana: ", "matrika/bdmatrika",
                     __LINE__);
    const unsigned long n = T.nrow();
    bdmatrika P;
    unsigned long z = 0;
    for (unsigned long i = 1; i <= n; ++i) {
        // Rows i-1 and i are eliminated against each other when they are
        // coupled at all; otherwise a chain ends.  Cofactors are small
        // numbers when one deviation is far larger than the others, so no
        // absolute size can tell a coupling from none.
        const bool vezana = i < n && (T(i, 0) != 0 || T(i - 1, 2) != 0);
        if (vezana) continue;
        P.dodaj(invtridV(T(z, i - 1, 0, 2), static_cast<long>(z)));
        z = i;
    }
    return P;
}

bdmatrika chrB(const bdmatrika& P)
{
    bdmatrika L;
    for (unsigned long b = 0; b < P.nblok(); ++b) {
        chr<real> ch;
        ch.razcep(P.blok(b), 0);
        std::vector<unsigned long> v(P.velikost(b));
        for (unsigned long k = 0; k < v.size(); ++k) v[k] = P.vrstica(b, k);
        L.dodaj(ch.L, v);
    }
    return L;
}
