#include "matrika/bdmatrika.h"

#include "funkcije/funkcijeAux.h"
#include "matrika/chr.h"
#include "matrika/invtrid.h"

real bdmatrika::operator()(long i, long j) const
{
    const long n = static_cast<long>(nrow());
    if (i < 0 || i >= n) matrikaError("Operator:   ()\nNepravilen indeks vrstice: ", "matrika/bdmatrika", __LINE__, i, n - 1);
    if (j < 0 || j >= n) matrikaError("Operator:   ()\nNepravilen indeks stolpca: ", "matrika/bdmatrika", __LINE__, j, n - 1);
    const unsigned long b = vrsticaBlok[i];
    if (vrsticaBlok[j] != b) return 0.0L;
    const long z = static_cast<long>(zacetki[b]);
    return bloki[b](i - z, j - z);
}

void bdmatrika::dodaj(const matrika<real>& B)
{
    if (B.nrow() != B.ncol() || B.nrow() == 0)
        matrikaError("Funkcija:   bdmatrika::dodaj\nBlok mora biti kvadratna matrika: ", "matrika/bdmatrika", __LINE__);
    const unsigned long z = nrow();
    zacetki.push_back(z);
    for (unsigned long i = 0; i < B.nrow(); ++i) vrsticaBlok.push_back(bloki.size());
    bloki.push_back(B);
}

void bdmatrika::clear()
{
    zacetki.clear();
    vrsticaBlok.clear();
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
        L.dodaj(ch.L);
    }
    return L;
}
