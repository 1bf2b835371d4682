#include "matrika/bdmatrika.h"

#include "funkcije/funkcijeAux.h"
#include "matrika/matrikaAux.h"
#include "matrika/chr.h"
#include "matrika/invtrid.h"

#include <cmath>

real bdmatrika::operator()(long i, long j) const
{
    const long n = static_cast<long>(nrow());
    if (i < 0 || i >= n) matrikaError(NapakaOperatorja("()", Besedilo::MatIndeksVrstice), "matrika/bdmatrika", __LINE__, i, n - 1);
    if (j < 0 || j >= n) matrikaError(NapakaOperatorja("()", Besedilo::MatIndeksStolpca), "matrika/bdmatrika", __LINE__, j, n - 1);
    const unsigned long b = vrsticaBlok[i];
    if (b == kBrez || vrsticaBlok[j] != b) return 0.0L;
    if (trak(b)) {
        std::vector<real> y(velikost(b), 0.0L);
        y[polozaji[j]] = 1.0L;
        resiTrak(b, y);
        return y[polozaji[i]];
    }
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
        matrikaError(NapakaFunkcije("bdmatrika::dodaj", Besedilo::MatBlokKvadraten), "matrika/bdmatrika", __LINE__);
    vpisi(B, vrstice, false);
}

void bdmatrika::dodajTrak(const matrika<real>& Q, unsigned long zacetek)
{
    if (Q.ncol() != 3 || Q.nrow() == 0)
        matrikaError(NapakaFunkcije("bdmatrika::dodajTrak", Besedilo::MatTrakTriStolpci), "matrika/bdmatrika", __LINE__);
    std::vector<unsigned long> v(Q.nrow());
    for (unsigned long k = 0; k < v.size(); ++k) v[k] = zacetek + k;
    vpisi(Q, v, true);
    razprseni.back() = 0;
}

void bdmatrika::vpisi(const matrika<real>& B, const std::vector<unsigned long>& vrstice, bool trak)
{
    for (unsigned long k = 0; k < vrstice.size(); ++k) {
        const unsigned long i = vrstice[k];
        if ((k > 0 && i <= vrstice[k - 1]) || (i < vrsticaBlok.size() && vrsticaBlok[i] != kBrez))
            matrikaError(NapakaFunkcije("bdmatrika::dodaj", Besedilo::MatVrsticaVDrugemBloku), "matrika/bdmatrika", __LINE__,
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
    traki.push_back(trak ? 1 : 0);
    bloki.push_back(B);
}

bool bdmatrika::imaTrakove() const
{
    for (char t : traki)
        if (t) return true;
    return false;
}

void bdmatrika::resiTrak(unsigned long b, std::vector<real>& y) const
{
    // Q = L D L' down the band, then forward and back.
    const matrika<real>& Q = bloki[b];
    const unsigned long m = Q.nrow();
    std::vector<real> d(m), l(m, 0.0L);
    d[0] = Q(0, 1);
    for (unsigned long i = 1; i < m; ++i) {
        l[i] = Q(static_cast<long>(i - 1), 2) / d[i - 1];
        d[i] = Q(static_cast<long>(i), 1) - l[i] * Q(static_cast<long>(i - 1), 2);
    }
    for (unsigned long i = 1; i < m; ++i) y[i] -= l[i] * y[i - 1];
    y[m - 1] /= d[m - 1];
    for (unsigned long i = m - 1; i-- > 0;) y[i] = y[i] / d[i] - l[i + 1] * y[i + 1];
}

bdmatrika bdmatrika::gosta() const
{
    bdmatrika P;
    for (unsigned long b = 0; b < nblok(); ++b) {
        if (trak(b)) P.dodaj(invtridV(bloki[b], static_cast<long>(zacetek(b))), vrsticeBlokov[b]);
        else P.dodaj(bloki[b], vrsticeBlokov[b]);
        P.razprseni.back() = razprseni[b];
    }
    return P;
}

void bdmatrika::izprazni()
{
    vrsticeBlokov.clear();
    vrsticaBlok.clear();
    polozaji.clear();
    razprseni.clear();
    traki.clear();
    bloki.clear();
}

bdmatrika invtridB(const matrika<real>& T, bool trakovi)
{
    if (T.ncol() != 3)
        matrikaError(NapakaFunkcije("invtridV() - Gauss-Jordan", Besedilo::MatTriStolpci), "matrika/bdmatrika", __LINE__);
    if (T.nrow() == 0)
        matrikaError(NapakaFunkcije("invtridV() - Gauss-Jordan", Besedilo::MatNiDefinirana), "matrika/bdmatrika",
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
        if (trakovi && i - z > bdmatrika::kDolgaVeriga) {
            const matrika<real> Q = T(z, i - 1, 0, 2);
            // Cofactors that are not positive: refused as the inverse refuses them.
            for (unsigned long k = 0; k < Q.nrow(); ++k)
                if (!(Q(static_cast<long>(k), 1) > 0.0L))
                    matrikaError(NapakaFunkcije("invtridV() - Gauss-Jordan", Besedilo::MatSingularna),
                                 "matrika/invtrid", __LINE__, Q(static_cast<long>(k), 1), static_cast<long>(z + k));
            P.dodajTrak(Q, z);
        } else {
            P.dodaj(invtridV(T(z, i - 1, 0, 2), static_cast<long>(z)));
        }
        z = i;
    }
    return P;
}

bdmatrika chrB(const bdmatrika& P)
{
    bdmatrika L;
    for (unsigned long b = 0; b < P.nblok(); ++b) {
        if (P.trak(b)) {
            // Q = U U', U upper bidiagonal, from the last row upwards.
            const matrika<real>& Q = P.blok(b);
            const unsigned long m = Q.nrow();
            matrika<real> U(m, 3, 0.0L);
            for (unsigned long i = m; i-- > 0;) {
                const long ii = static_cast<long>(i);
                const real desno = i + 1 < m ? Q(ii, 2) / U(ii + 1, 1) : 0.0L;
                U(ii, 2) = desno;
                U(ii, 1) = std::sqrt(Q(ii, 1) - desno * desno);
            }
            L.dodajTrak(U, P.zacetek(b));
            continue;
        }
        chr<real> ch;
        ch.razcep(P.blok(b), 0);
        std::vector<unsigned long> v(P.velikost(b));
        for (unsigned long k = 0; k < v.size(); ++k) v[k] = P.vrstica(b, k);
        L.dodaj(ch.L, v);
    }
    return L;
}

void resiBidiagonalno(const matrika<real>& U, std::vector<real>& y)
{
    const unsigned long m = U.nrow();
    for (unsigned long i = m; i-- > 0;) {
        const long ii = static_cast<long>(i);
        const real desno = i + 1 < m ? U(ii, 2) * y[i + 1] : 0.0L;
        y[i] = (y[i] - desno) / U(ii, 1);
    }
}
