// FPribliznaMreza: the observations of the data file as the computation of
// approximate coordinates (FPriblizne) reads them, by point.
//
// Points are the positions of the point list.  Directions are grouped into
// the sets of one station setup (consecutive S records of one station, as
// the composed angles group them); a zenith distance with a slope or a
// horizontal distance of the same two points gives a height difference
// (instrument and target heights included) and, with a slope distance, a
// horizontal one; a slope distance without a zenith distance is reduced by
// the heights once both are known.  Every item keeps the lines of the
// records it comes from.
#ifndef NIVEX_SRC_FPRIBLIZNAMREZA_H
#define NIVEX_SRC_FPRIBLIZNAMREZA_H

#include <array>
#include <vector>

#include "funkcije/numerika.h"

class CTerObsZbirka;

struct PrSmer {
    long cilj;
    real r;          // the direction [rad]
    long vrstica;
};
struct PrNiz {
    long stojisce;
    std::vector<PrSmer> smeri;
};
struct PrRazdalja {
    long a, b;
    real d;                 // horizontal, or slope where posevna
    bool posevna = false;
    real dh = 0.0L;         // slope: the rise of the line (instrument and target heights) from a to b
    std::vector<long> vrstice;
};
struct PrAzimut {           // a bearing from a to b
    long a, b;
    real t;
    long vrstica;
};
struct PrKot {              // bearing(p2 -> p3) - bearing(p0 -> p1)
    std::array<long, 4> p;
    real kot;
    long vrstica;
};
struct PrVisina {           // H(b) - H(a)
    long a, b;
    real dh;
    bool zenitna;
    std::vector<long> vrstice;
};
struct PrVektor {           // to - from
    long a, b;
    std::array<real, 3> d;
    long vrstica;
};
struct PrOpazovana {        // observed coordinates (C) or height (H: koord[2] only)
    long p;
    std::array<real, 3> x;
    bool samoVisina;
    long vrstica;
};

struct PribliznaMreza {
    unsigned short dim = 2;
    long n = 0;
    std::vector<PrNiz> nizi;
    std::vector<PrRazdalja> razdalje;
    std::vector<PrAzimut> azimuti;
    std::vector<PrKot> koti;
    std::vector<PrVisina> visine;
    std::vector<PrVektor> vektorji;
    std::vector<PrOpazovana> opazovane;
    // By point: the sets it stands in as a target (set, position) and as
    // the station; the items of each kind that name it.
    std::vector<std::vector<std::array<long, 2>>> cilji;
    std::vector<std::vector<long>> stojisca, razdaljeTocke, azimutiTocke, kotiTocke, visineTocke, vektorjiTocke,
        opazovaneTocke;
};

// The observations of the run's sets, by the positions of the point list.
PribliznaMreza PribliznaMrezaIz(const CTerObsZbirka& TO, unsigned short dim);

// The points an item of point p ties it to (the frontier of the
// computation): the other points of its records and of the direction sets
// it stands in.
void PribliznaSosescina(const PribliznaMreza& m, long p, std::vector<long>& sosedi);

#endif
