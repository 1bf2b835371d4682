#include "src/FECEF.h"

#include <cmath>
#include <vector>

#include "src/CTerObsZbirka.h"

ZasukECEF ECEFZasuk(real b, real l)
{
    const real pi = 3.14159265358979323846264338327950288L;
    const real sb = std::sin(b * pi / 180.0L), cb = std::cos(b * pi / 180.0L);
    const real sl = std::sin(l * pi / 180.0L), cl = std::cos(l * pi / 180.0L);
    return {{{-sl, cl, 0.0L}, {-sb * cl, -sb * sl, cb}, {cb * cl, cb * sl, sb}}};
}

namespace {

// Q = T Q T' with T block diagonal: R on the three rows of each vector of
// the block, 1 elsewhere.
void ZasukajBlok(KovBlokZapisov& blok, const ZasukECEF& R)
{
    const long n = static_cast<long>(blok.Q.nrow());
    matrika<real> T(blok.Q.nrow(), blok.Q.nrow(), 0.0L);
    for (long i = 0; i < n; ++i) T(i, i) = 1.0L;
    for (std::size_t k = 0; k < blok.zapisi.size(); ++k) {
        if (blok.zapisi[k].first != kTOVec) continue;
        const long o = static_cast<long>(blok.odmik[k]);
        for (long i = 0; i < 3; ++i)
            for (long j = 0; j < 3; ++j) T(o + i, o + j) = R[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    }
    matrika<real> TQ(blok.Q.nrow(), blok.Q.nrow(), 0.0L);
    for (long i = 0; i < n; ++i)
        for (long j = 0; j < n; ++j) {
            real s = 0.0L;
            for (long k = 0; k < n; ++k) s += T(i, k) * blok.Q(k, j);
            TQ(i, j) = s;
        }
    for (long i = 0; i < n; ++i)
        for (long j = 0; j < n; ++j) {
            real s = 0.0L;
            for (long k = 0; k < n; ++k) s += TQ(i, k) * T(j, k);
            blok.Q(i, j) = s;
        }
}

}  // namespace

void ECEFVLokalni(CTerObsZbirka& TO, real b, real l)
{
    const ZasukECEF R = ECEFZasuk(b, l);
    CTerObsVec& V = TO.TOVec;
    std::vector<char> vBloku(V.NObs(), 0);
    for (KovBlokZapisov& blok : TO.kovBloki) {
        bool vektor = false;
        for (const auto& [set, i] : blok.zapisi)
            if (set == kTOVec) {
                vBloku[static_cast<std::size_t>(i)] = 1;
                vektor = true;
            }
        if (vektor) ZasukajBlok(blok, R);
    }
    for (long i = 0; i < static_cast<long>(V.NObs()); ++i) {
        // A vector without a block gets its own, from its deviations.
        if (!vBloku[static_cast<std::size_t>(i)]) {
            KovBlokZapisov blok;
            blok.vrstica = V.Vrstica(i);
            blok.imena.push_back({'V', {V.PTS(i, 0), V.PTS(i, 1)}});
            blok.zapisi.emplace_back(kTOVec, i);
            blok.odmik.push_back(0);
            blok.Q.resize(3, 3, 0.0L);
            for (long c = 0; c < 3; ++c) blok.Q(c, c) = V.SIG(i, c) * V.SIG(i, c);
            ZasukajBlok(blok, R);
            TO.kovBloki.push_back(std::move(blok));
        }
        real d[3];
        for (long c = 0; c < 3; ++c) d[c] = V.OBS(i, c);
        for (std::size_t r = 0; r < 3; ++r)
            V.OBS(i, static_cast<long>(r)) = R[r][0] * d[0] + R[r][1] * d[1] + R[r][2] * d[2];
    }
    // The deviations of the vectors: the roots of the rotated diagonal.
    for (const KovBlokZapisov& blok : TO.kovBloki)
        for (std::size_t k = 0; k < blok.zapisi.size(); ++k)
            if (blok.zapisi[k].first == kTOVec)
                for (long c = 0; c < 3; ++c) {
                    const long r = static_cast<long>(blok.odmik[k]) + c;
                    V.SIG(blok.zapisi[k].second, c) = std::sqrt(blok.Q(r, r));
                }
    TO.CalcRefStDApr();
}
