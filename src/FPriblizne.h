// FPriblizne: approximate coordinates of the points the data file declares
// without them (an X record with the name alone), computed from the
// observations before the first pass of the adjustment.
//
// The computation runs in rounds, each from the points known before it:
// levelled heights along height differences; in plan the orientation of each
// direction set (the median over its known targets), polar points, forward
// intersections, resections, arc intersections, and bearings from azimuths
// and angles; heights from zenith distances with distances (instrument and
// target heights); GNSS vectors; observed coordinates and heights.  Where
// the rounds stop with points left, a local frame is built from the first
// station among them (where a point has arc intersections, by them alone,
// so that the frame does not drift with its arbitrary orientation) and
// brought onto the known points by a similarity transformation (a free
// network keeps its local frame).  Within a round the points with three or
// more determinations go first; the others wait for their neighbours.
//
// Several determinations of a point: the median of those within the
// tolerance (kPribliznaToleranca, plan and height) of the median of all;
// determinations beyond it are named in a warning with the spread.  A point
// that cannot be computed is named with what it lacks, and the run ends.
#ifndef NIVEX_SRC_FPRIBLIZNE_H
#define NIVEX_SRC_FPRIBLIZNE_H

#include <array>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "funkcije/numerika.h"

class CGDatum;
class CTerObsZbirka;

// Determinations of one point agree within this distance [m].
inline constexpr real kPribliznaToleranca = 0.10L;

// How a point was computed: a set of bits.
enum PribliznaNacin : unsigned {
    kPrNivelman = 1u << 0,     // height differences
    kPrZenitna = 1u << 1,      // zenith distances with distances
    kPrPolarno = 1u << 2,      // direction (or bearing) and distance
    kPrPresek = 1u << 3,       // forward intersection
    kPrNazaj = 1u << 4,        // resection
    kPrLok = 1u << 5,          // arc intersection
    kPrVektor = 1u << 6,       // GNSS vectors
    kPrOpazovane = 1u << 7,    // observed coordinates or heights
    kPrPodobnost = 1u << 8,    // local frame and similarity transformation
    kPrLokalni = 1u << 9,      // local frame of a free network
    kPrNacinov = 10
};

struct PribliznaTocka {
    long tocka = -1;                 // position in the point list
    std::string ime;
    std::array<real, 3> x{};        // as the point list holds them (a height in x[0] for Dim 1)
    unsigned nacini = 0;
    std::vector<long> vrstice;       // lines of the records used, ascending
    real razpon = 0.0L;              // largest distance of a determination from the point [m]
    unsigned dolocitev = 0;          // determinations
    bool groba = false;              // a determination beyond the tolerance
};

// Computes the approximate coordinates of the points marked in the point
// list (CTerObsTocke::racunana) and writes them into it; refuses a point a
// datum line holds, and ends the run naming each point that cannot be
// computed.  Returns the points computed, in list order.
std::vector<PribliznaTocka> IzracunajPriblizne(CTerObsZbirka& TO, const CGDatum& datum, unsigned short dim);

// The report section (nothing when no point was computed).
void PribliznePorocilo(const std::vector<PribliznaTocka>& tocke, unsigned short dim, std::ostream& report);
// The methods of a point as fixed words (for the JSON document).
std::vector<std::string> PribliznaNacinBesede(unsigned nacini);

#endif
