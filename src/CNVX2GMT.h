// CNVX2GMT: plain text files that the Generic Mapping Tools draw directly
// after the adjustment of a plane or spatial network: point labels,
// observation lines, corrections of the coordinate unknowns, absolute and
// relative error ellipses and point velocities.
//
// Facts a caller must know:
// - SetGMTFile names the file that the next print operation writes (base
//   name + suffix); every print opens, writes and closes it and leaves a
//   one-line notice in the report.
// - A file that cannot be written (a name longer than NVX2MaxIme, a folder
//   that refuses it) is skipped with a warning naming it, on the console and
//   in the report in place of the notice; the run goes on.
// - Coordinates are the first two columns of the point list, which by then
//   holds the adjusted values; ellipse, correction and velocity lengths are
//   in centimetres (metres x 100), as the plotting script expects.
// - Point names are written in UTF-8, decoded by the data file's encoding
//   (kodiranje), as in the JSON and CSV files.
// - Every file is written line by line; nothing larger than the run's own
//   matrices is formed.
#ifndef NIVEX_SRC_CNVX2GMT_H
#define NIVEX_SRC_CNVX2GMT_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"
#include "src/FBranje.h"
#include "src/CRezultati.h"

class CTerObs;
class CTerObsCrdA;
class CTerObsZbirka;

// Longest export file name written (the same limit as the data-file name).
inline constexpr std::size_t NVX2MaxIme = 255;

// Opens `name` for writing (replacing it).  False, with the warning on the
// console and in the report, when the name is too long or the file cannot be
// opened.
bool NVX2OdpriDatoteko(std::ofstream& f, const std::string& name, std::ostream& report);

// The self-overwriting record counter of the console trace.
void NVX2Stevec(unsigned long n);

// The lines of sight of a record of `imen` point names, as pairs of its
// names (from, to): station to target; a composed angle from its station to
// both targets (the earlier direction first); an angle between directions
// along both directions.  None for a record of one point.
std::vector<std::array<unsigned, 2>> NVX2Zarki(unsigned imen);

// The data-file line of ray `zarek` of NVX2Zarki for a record: a composed
// angle's ray is its own direction's line, any other ray the record's line.
long NVX2VrsticaZarka(const CTerObsZbirka& TO, TerObsSet set, long zapis, std::size_t zarek);

class CNVX2GMT {
public:
    CNVX2GMT() = default;
    CNVX2GMT(const CNVX2GMT&) = delete;
    CNVX2GMT& operator=(const CNVX2GMT&) = delete;

    void SetContPrint(int flag);
    void SetDim(int d);
    void SetGMTFile(const std::string& base, const std::string& suffix);

    // Coordinates and name of every point, as text labels.
    void PrintPTName(const CTerObsCrdA& TOCrdA, std::ostream& report);
    // One point per record (one-point sets) or one segment ">" from, to
    // (two-point sets, closed by a last ">").
    void PrintOBS(const CTerObsCrdA& TOCrdA, const CTerObs& TO, std::ostream& report);
    // Total corrections of the coordinates as vectors, from the data file's
    // approximate values (CRezultati::zacetne) to the adjusted ones; an
    // empty line for a point without unknowns.
    void PrintCRDCorr(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report);
    // Lines of the observations flagged by the screening (|w| > N) and of
    // the records removed by the data snooping, one segment per line of
    // sight (NVX2Zarki), its header naming the kind, the points and the
    // data-file line of that line of sight, w and
    // "oznaceno" (flagged) or "izloceno" (removed).  Records of one point
    // (observed coordinates and heights) have no line.
    void PrintGrobe(const CTerObsCrdA& TOCrdA, const CTerObsZbirka& TO, const CRezultati& rez, std::ostream& report);
    // Absolute error ellipses of the points with unknowns.
    void PrintAbsEll(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report);
    // Horizontal relative ellipses at the midpoints of the pairs.
    void PrintRelEll(const CRezultati& rez, std::ostream& report);
    // Velocities with their error ellipses, points with velocity unknowns only.
    void PrintXVel(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report);

    std::string gmtfile;
    unsigned short ndec = 4;
    unsigned short dim = 0;
    unsigned short contprint = 0;
    Kodiranje kodiranje = Kodiranje::Windows1250;   // of the names (CTerObsZbirka::kodiranje)

private:
    // A point name as written into the files.
    std::string Ime(const std::string& ime) const;
    // Opens gmtfile and writes the notice "label count word[file]".
    bool Odpri(std::ofstream& f, std::ostream& report, const char* label, unsigned long count, const char* word);
    void Koordinati(std::ostream& f, const CTerObsCrdA& TOCrdA, long i) const;
    // One line per point with unknowns (first unknown iDelta(i) >= 0): the
    // counter, the coordinates, then what `ostanek(i, k)` writes; a point
    // without unknowns gives an empty line when prazneVrstice is set.
    // The points of the list with unknowns (of the velocities when
    // `hitrosti`), each with its coordinates and then `ostanek` of its block
    // of the results; a point without them is an empty line when
    // prazneVrstice, else skipped.
    void PoTockah(std::ostream& f, const CTerObsCrdA& TOCrdA, const CRezultati& rez, bool hitrosti,
                  bool prazneVrstice, const std::function<void(long, const RezBlok&)>& ostanek) const;
    void Sled(const char* text) const;
};

#endif
