// TerObsVrste: the record kinds of the data file and the record sets that
// hold them, in one table.
//
// A row says everything the program knows about one kind: its leading letter,
// its description in messages, the network dimensions that take it, how many
// point names a record carries and how its values are written (a point's
// approximate values; lengths with deviations in mm; an angle in the angle
// unit with its deviation in arc seconds or milligon), the zero-deviation
// check and how a value is printed.  The settings pass counts records by it,
// the reader files and reads them by it, and every message names a kind by
// its description.  The rows are indexed by the record sets they fill (the
// members of CTerObsZbirka); the composed angles are built from the
// directions and never read.
#ifndef NIVEX_SRC_TEROBSVRSTE_H
#define NIVEX_SRC_TEROBSVRSTE_H

#include <string>
#include <vector>

// The record sets, in the order of the table; the observations stand in the
// order of the input report.
enum TerObsSet : unsigned {
    kTOHA,      // X records of a levelling network: approximate heights
    kTOCrdA,    // X records of a plane or spatial network: approximate coordinates
    kTOCrd,     // C: observed coordinates
    kTOVec,     // V: coordinate-difference vectors
    kTODir,     // S: horizontal directions
    kTOAngl,    // composed angles (from the directions)
    kTOZen,     // Z: zenith distances
    kTOAzi,     // A: azimuths or grid bearings
    kTOPara,    // P: angles between two directions
    kTODist2,   // D: horizontal distances
    kTODist3,   // L: spatial distances
    kTOH,       // H: observed heights
    kTOHdif,    // h: height differences
    kTOSetov
};

// How the values after the point names are written.
enum class TerObsVrednosti : unsigned char {
    Tocka,      // Dim approximate values, [Dim a-priori velocities (*XV0)], [velocity flag (*XVT)]
    Dolzinska,  // the value(s) in m, then the deviation(s) in mm, [epoch (*XVT)]
    Kotna,      // an angle in the angle unit, its deviation, [epoch (*XVT)]
};

struct TerObsVrsta {
    char crka;                   // leading letter in the data file
    const char* opis;            // the kind in messages, e.g. "D (horizontalna dolzina)"
    const char* naslov;          // title of its table in the input report (nullptr: by dimension)
    unsigned dimenzije;          // bit d set: a network of dimension d takes the kind
    unsigned imen;               // point names per record
    TerObsVrednosti vrednosti;
    bool poDim;                  // Dim values and Dim deviations per record (C, V), else one
    bool beri;                   // read from the data file
    const char* sdOznaka;        // label of the zero-deviation message (nullptr: not checked)
    double sdMeja;               // its threshold, in the file's unit of the deviation
    int sirina, decimalke;       // report column of a length, height or coordinate
};

extern const TerObsVrsta kTerObsVrste[kTOSetov];

// The kinds in the order of their rows in the model (heights, height
// differences, coordinates, vectors, horizontal and spatial distances,
// composed angles, azimuths, angles between directions, zenith distances):
// the equations are built and the reliability is printed in this order.
inline constexpr char kVrstniRedVrstic[] = "HhCVDLSAPZ";

// The row of a record that a network of dimension `dim` files under its
// leading letter (X by the dimension); nullptr for any other letter.
const TerObsVrsta* TerObsVrstaZapisa(char crka, unsigned short dim);

// True when a network of dimension `dim` takes records of the kind.
bool TerObsSprejme(const TerObsVrsta& v, unsigned short dim);

// Index of a row in the table.
inline unsigned TerObsIndeks(const TerObsVrsta& v) { return static_cast<unsigned>(&v - kTerObsVrste); }

// The fields of one record after its leading word, in file order: point
// names, numbers, whole degrees and minutes of a DMS angle (16-bit), and the
// velocity flag of a point (0 to 65535).
enum class TerObsPolje : unsigned char { Ime, Stevilo, CeloKot, Zastavica };
std::vector<TerObsPolje> TerObsPolja(const TerObsVrsta& v, unsigned short dim, const std::string& angUnit,
                                     bool xvel, bool ifva);

#endif
