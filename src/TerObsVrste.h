// TerObsVrste: the record kinds of the data file and the record sets that
// hold them, in one table.
//
// A row says everything the program knows about one kind: its leading letter,
// its description in messages, the network dimensions that take it, how many
// point names a record carries and how its values are written (a point's
// approximate values; lengths with deviations in mm; an angle in the angle
// unit with its deviation in arc seconds or milligon), the zero-deviation
// check and how a value is printed; and for a kind that enters the model its
// equation builder, its labels in the data summary and in the reliability
// table, whether it joins two points, the datum defects it removes and its
// name on the results page.  The settings pass counts records by it, the
// reader files and reads them by it, the driver builds the equations by it,
// and every other list of kinds (the data summary, the reliability tables,
// the relative ellipses, the datum defects, the JSON document) is derived
// from it.  The rows are indexed by the record sets they fill (the members of
// CTerObsZbirka); the composed angles are built from the directions and
// never read, the directions themselves enter the model only through them.
#ifndef NIVEX_SRC_TEROBSVRSTE_H
#define NIVEX_SRC_TEROBSVRSTE_H

#include <memory>
#include <string>
#include <vector>

#include "funkcije/Besedila.h"

class CGMM;
class CGMMEq;
class CProcSet;
class CTerObs;
class CTerObsZbirka;

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

// The datum defects of a free network, one bit each: the three translations,
// the three rotations, the horizontal scale and the scale of the third
// coordinate.  The observations remove some; the inner constraints the rest.
enum DatumskaNedolocenost : unsigned {
    kDefTx = 1u << 0, kDefTy = 1u << 1, kDefTz = 1u << 2,
    kDefWx = 1u << 3, kDefWy = 1u << 4, kDefWz = 1u << 5,
    kDefM2 = 1u << 6, kDefM3 = 1u << 7,
    kDefVse = (1u << 8) - 1,
};
// At least `najmanj` records of the kind take the defects `odstrani` away
// (najmanj 0: an unused slot).
struct DatumskaVez {
    unsigned najmanj;
    unsigned odstrani;
};

// Builds the equation builder of a kind over the run's sets and model.
using GMMEqGradnik = std::unique_ptr<CGMMEq> (*)(CProcSet&, CTerObsZbirka&, CGMM&);

// The reliability table of a kind (CTerObsEst).
struct TerObsZanesljivost {
    Besedilo naslov;        // its subtitle, e.g. "IZRAVNANE HZ DOLZINE:"
    Besedilo glava;         // its column header
    Besedilo oznaka;        // the kind in the two average lines, e.g. "DOL2"
};

struct TerObsVrsta {
    char crka;                   // leading letter in the data file
    Besedilo opis;               // the kind in messages, e.g. "D (horizontalna dolzina)"
    Besedilo naslov;             // title of its table in the input report (VrstaBrez: by dimension)
    unsigned dimenzije;          // bit d set: a network of dimension d takes the kind
    unsigned imen;               // point names per record
    TerObsVrednosti vrednosti;   // Kotna: an angular kind, small values in arc seconds or milligon
    bool poDim;                  // Dim values and Dim deviations per record (C, V), else one
    bool beri;                   // read from the data file
    Besedilo sdOznaka;           // label of the zero-deviation message (VrstaBrez: not checked)
    double sdMeja;               // its threshold, in the file's unit of the deviation
    int sirina, decimalke;       // report column of a length, height or coordinate

    // The columns of a kind that enters the model (all empty for the point
    // lists and the directions).
    GMMEqGradnik gradnik;        // its equation builder
    Besedilo povzetek;           // the kind in the data summary, e.g. "opazovanih 2R dolzin"
    bool vStetju;                // with a line of its own in the count of observations
    TerObsZanesljivost zanesljivost;
    Besedilo ime;                // its name on the results page, e.g. "horizontalne dolzine"
    bool povezuje;               // joins two points: relative ellipses, lines of the maps
    DatumskaVez vezi[3];         // the datum defects its records remove

    // Observed at a station: the station setup of a *IH line numbers its
    // records, and with `visini` gives them instrument and target heights.
    bool stojisce;
    bool visini;

    // Sizes the kind's record set for n records by the settings (nullptr:
    // a set that is built, not read).
    void (*velikost)(CTerObsZbirka&, const CProcSet&, unsigned long n);
};
extern const TerObsVrsta kTerObsVrste[kTOSetov];

// The kinds in the order of their rows in the model (heights, height
// differences, coordinates, vectors, horizontal and spatial distances,
// composed angles, azimuths, angles between directions, zenith distances):
// the equations are built and the reliability is printed in this order.
inline constexpr char kVrstniRedVrstic[] = "HhCVDLSAPZ";
// The kinds in the order of the data summary and of its table of reference
// deviations.
inline constexpr char kVrstniRedPovzetka[] = "CHVDLSAPZh";

// The row of the kind that enters the model under its letter (the composed
// angles for S); nullptr for a letter without one.
const TerObsVrsta* TerObsVrstaModela(char crka);
// The rows that enter the model, in the order of kVrstniRedVrstic.
std::vector<TerObsSet> TerObsSetiModela();
// True for an angular kind (S, A, P, Z, and the directions).
inline bool TerObsKotna(const TerObsVrsta& v) { return v.vrednosti == TerObsVrednosti::Kotna; }
// True for an angular kind under the letter of the model.
bool TerObsKotna(char crka);
// True for a kind of the model whose records have Dim rows (C, V).
bool TerObsKomponente(char crka);
// The kinds whose records join two points, read from the file, in the order
// in which the relative ellipses list the pairs they join.
inline constexpr char kVrstniRedPovezav[] = "SADLhVZ";
// The datum defects that the given numbers of records (indexed by the rows
// of the table) leave of `defekti`.
unsigned TerObsDatumskiDefekti(unsigned defekti, const unsigned long (&zapisov)[kTOSetov]);

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
