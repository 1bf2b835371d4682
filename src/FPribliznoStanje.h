// FPribliznoStanje: the state of the computation of approximate coordinates
// (FPriblizne) and the determinations of one point from it.
//
// The computation runs over one state for the network's own frame and over
// states of local frames (a free network, a part joined by a similarity
// transformation).  A point is known in plan (its first two coordinates) and
// in height (the third; the height of a levelling network) separately.
#ifndef NIVEX_SRC_FPRIBLIZNOSTANJE_H
#define NIVEX_SRC_FPRIBLIZNOSTANJE_H

#include <array>
#include <vector>

#include "src/FPribliznaGeometrija.h"
#include "src/FPribliznaMreza.h"
#include "src/FPriblizne.h"

struct PrStanje {
    std::vector<std::array<real, 3>> x;
    std::vector<char> znanXY, znanZ;
    // Each point computed: how (PribliznaTocka, its point and coordinates
    // filled when it is taken over).
    std::vector<PribliznaTocka> izracun;
    std::vector<long> izracunana;   // position in izracun, -1: given or not computed
    // The orientation of every direction set, kept with the count of its
    // known targets it was formed from (-1: none yet); a fixed one (the first
    // set of a local frame) is never formed again.
    std::vector<real> orientacija;
    std::vector<long> orientiranZ, znanihCiljev;
    std::vector<std::vector<long>> vrsticeOrientacije;
    std::vector<char> fiksna;
    bool proizvolna = false;   // a local frame oriented by its first set

    PrStanje(const PribliznaMreza& m);
    Tocka2 XY(long p) const { return {x[static_cast<std::size_t>(p)][0], x[static_cast<std::size_t>(p)][1]}; }
    bool Znana(const PribliznaMreza& m, long p) const
    {
        const auto u = static_cast<std::size_t>(p);
        return m.dim == 1 ? znanZ[u] != 0 : m.dim == 2 ? znanXY[u] != 0 : znanXY[u] != 0 && znanZ[u] != 0;
    }
};

// One determination of a point's plan (x, y) or height (x[0]).
struct PrDolocitev {
    Tocka2 x;
    unsigned nacin;
    std::vector<long> vrstice;
};

// Determinations of point q from the known points of the state.
std::vector<PrDolocitev> PribliznoRavnina(const PribliznaMreza& m, PrStanje& st, long q);
std::vector<PrDolocitev> PribliznoVisina(const PribliznaMreza& m, const PrStanje& st, long q);

// The numbers of a point that cannot be computed, for its message: rays
// from known stations, distances from known points, known targets of its
// own direction sets (the largest), determinations of its plan.
struct PrManjka {
    unsigned long smeri = 0, dolzine = 0, nazaj = 0, vektorji = 0;
};
PrManjka PribliznoManjka(const PribliznaMreza& m, PrStanje& st, long q);

#endif
