// CTerObs: the common base of every record set (a point list or the
// observations of one kind) read from the data file.
//
// A set holds `nobs` records: point names `PTS`, values `OBS` (metres,
// radians), a-priori standard deviations `SIG` (metres, radians), epochs `T`
// (only with velocity estimation) and the set's mean standard deviation `So`.
// Record indices count from 0 inside the program; every message shown to the
// user counts records from 1 within their set.
//
// Each set belongs to one row of the table of record kinds (TerObsVrste),
// and the base reads and prints a record by that row: the point names, then
// the values (lengths with their deviations in mm, or an angle in the angle
// unit with its deviation), then the epoch.  A derived set adds its sizing,
// the heading of its table and whatever its records carry beyond that.
//
// Reading is strict: a field that is not a number, a record cut short by the
// end of the file or by "*K", and a standard deviation that is numerically
// zero all end the run with a framed message and exit status 1 that names
// the record's line in the data file (`vrstice`, set by the reader).  The data
// members are public because the model reads them and the solution
// writes the adjusted values back into the point lists.
#ifndef NIVEX_SRC_CTEROBS_H
#define NIVEX_SRC_CTEROBS_H

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"
#include "src/TerObsVrste.h"

// Report fields: a number in fixed notation, right-aligned in `width`
// columns with `decimals` decimals; a text right-aligned in `width` columns.
// Either keeps one blank before it when it fills its columns.
void TerObsNum(std::ostream& out, real v, int width, int decimals);
void TerObsTxt(std::ostream& out, const std::string& s, int width);
// True for the three accepted angle units.
bool TerObsAngUnitOK(const std::string& unit);
// An angle in 15 columns by angle unit: DMS as degrees, minutes and
// seconds; GON and DEG with 6 decimals.
void TerObsAngle(std::ostream& out, const std::string& unit, real rad);

class CTerObs {
public:
    explicit CTerObs(TerObsSet vrsta) : vrsta(&kTerObsVrste[vrsta]) {}
    virtual ~CTerObs() = default;

    // Read slots: the point names (every column of PTS), then the values of
    // record i as its kind writes them.
    virtual void ReadObsLine_PT(std::istream& in, long i);
    virtual void ReadObsLine_OBS(std::istream& in, long i);
    // Print slots: the names (6 columns each) and the values of record i.
    virtual void PrintObsLine_PT(std::ostream& out, long i);
    virtual void PrintObsLine_OBS(std::ostream& out, long i);
    // Heading of the table (title, underline, column names, units, rule)
    // and its closing rule.
    virtual void PrintAllHead(std::ostream& out);
    virtual void PrintAllEnd(std::ostream& out);
    // Every derived set sizes itself through its own SetPar with parameters.
    virtual void SetPar() {}

    // "LINE" (one record) or "ALL" (the whole table); anything else is fatal.
    void SetPrintQuant(const std::string& what);
    // "PT", "OBS" or "ALL": which half of a record a line print shows.
    void SetPrintWhat(const std::string& what);
    // So = mean of |SIG| over all elements of the records that take part
    // (absolute values in double); 0 without any.
    void CalcRefStDApr();
    // Reads record i (names, then values) from the current position of `in`.
    void ReadObs(std::istream& in, long i);
    // "LINE": record i; "ALL": the whole table (i plays no part).
    void PrintObs(std::ostream& out, long i);

    unsigned long NObs() const { return nobs; }
    // Whether record i takes part in the adjustment: every record does,
    // until one is set aside (a rejected observation, say).  The row loops
    // of the equation builders and every count of model rows follow it.
    bool Aktiven(long i) const
    {
        return i < 0 || static_cast<std::size_t>(i) >= aktiven.size() || aktiven[static_cast<std::size_t>(i)] != 0;
    }
    void SetAktiven(long i, bool a) { aktiven.at(static_cast<std::size_t>(i)) = a ? 1 : 0; }
    unsigned long NAktivnih() const
    {
        unsigned long n = nobs;
        for (char a : aktiven) n -= a == 0;
        return n;
    }
    // The set's row of the table of record kinds.
    TerObsSet Set() const { return static_cast<TerObsSet>(vrsta - kTerObsVrste); }
    real GetSo() const { return So; }
    real GetRefStDApr() const { return So; }
    unsigned short GetXVel() const { return XVel; }
    const std::string& GetPTS(long i, long j) const { return PTS(i, j); }
    real GetOBS(long i, long j) const { return OBS(i, j); }
    real GetSIG(long i, long j) const { return SIG(i, j); }
    real GetT(long i, long j) const { return T(i, j); }
    // Line of record i in the data file (0 when not read from a file).
    long Vrstica(long i) const
    {
        return i >= 0 && static_cast<std::size_t>(i) < vrstice.size() ? vrstice[static_cast<std::size_t>(i)] : 0;
    }
    void SetVrstica(long i, long vrstica)
    {
        if (i >= 0 && static_cast<std::size_t>(i) < vrstice.size()) vrstice[static_cast<std::size_t>(i)] = vrstica;
    }
    // " st. 3 (vrstica 12)": record i within its set and its line, for messages.
    std::string OznakaZapisa(long i) const;
    // " **** Zapis D (horizontalna dolzina) st. 3 (vrstica 12)".
    std::string Zapis(long i) const;
    // The row of the record kind, and its description for messages, e.g.
    // "D (horizontalna dolzina)".
    const TerObsVrsta& Vrsta() const { return *vrsta; }
    std::string GetVrsta() const { return B(vrsta->opis); }

    std::uint32_t nobs = 0;
    std::vector<char> aktiven;   // per record: 1 takes part, 0 set aside
    matrika<std::string> PTS;
    matrika<real> OBS;
    matrika<real> SIG;
    real So = 0.0L;
    matrika<real> T;
    std::uint16_t XVel = 0;
    std::string PrintQuant = "LINE";
    std::string PrintWhat = "ALL";
    // Angle unit of the file ("DMS", "GON", "DEG"), for the angular sets.
    std::string AngUnit = "DMS";
    // Line in the data file of each record (the line of its leading word).
    std::vector<long> vrstice;

    // Instrument and target heights of record i in metres, along the vertical
    // (the third coordinate): the observation runs from the instrument, its
    // height above the station's mark, to the target, its height above the
    // target's mark.  Both are 0 unless the data file sets them ("*IH",
    // "*TH"); the lists stay empty until a record gets a height.
    real VisinaInstrumenta(long i) const { return Visina(visinaI, i); }
    real VisinaTarce(long i) const { return Visina(visinaT, i); }
    bool ImaVisine() const { return !visinaI.empty(); }
    // The station setup of record i: the number of "*IH" lines before it (0
    // in a file without them).  Records i and j were taken at one setup of
    // one station: a set of directions does not run on into the next setup.
    long Postavitev(long i) const
    {
        return i >= 0 && static_cast<std::size_t>(i) < postavitve.size() ? postavitve[static_cast<std::size_t>(i)] : 0;
    }
    void SetPostavitev(long i, long n)
    {
        if (n == 0 && postavitve.empty()) return;
        postavitve.resize(nobs, 0);
        postavitve.at(static_cast<std::size_t>(i)) = n;
    }
    bool IstaPostavitev(long i, long j) const { return PTS(i, 0) == PTS(j, 0) && Postavitev(i) == Postavitev(j); }
    void SetVisini(long i, real instrument, real tarca)
    {
        if (instrument == 0.0L && tarca == 0.0L && visinaI.empty()) return;
        visinaI.resize(nobs, 0.0L);
        visinaT.resize(nobs, 0.0L);
        visinaI.at(static_cast<std::size_t>(i)) = instrument;
        visinaT.at(static_cast<std::size_t>(i)) = tarca;
    }

protected:
    // The parts of the table heading: column names, units and the length of
    // the rule (which also closes the table).
    struct Glava {
        std::string stolpci, enote;
        std::size_t crta;
    };
    virtual Glava GlavaTabele() const = 0;
    virtual std::string Naslov() const { return B(vrsta->naslov); }

    // Sets the record count, XVel and So = 0 and, for n > 0, sizes PTS by
    // the kind's names and OBS by `vrednosti` columns; observations also get
    // SIG like OBS and, with XVel, one epoch per record.
    void Velikost(unsigned long n, unsigned short xvel, unsigned long vrednosti, bool opazovanja);
    void PrintObsLine(std::ostream& out, long i);
    void PrintObsAll(std::ostream& out);
    // Zero-deviation check on the value as written in the file: |sd| (in
    // double) not above eps ends the run.  `i` is the 0-based record index;
    // the message numbers records from 1 and names the record's line.
    void TestStDev(std::int32_t i, const char* label, real sd, real eps) const;

    // Field readers for record i: a refused field ends the run with a message
    // naming the record kind, its number within the set and the word.
    std::string ReadPT(std::istream& in, long i) const;
    std::string PoljeZapisa(std::istream& in, long i) const;
    real ReadNum(std::istream& in, long i) const;
    long ReadInt(std::istream& in, long i, long lo, long hi) const;
    // The same for a word already read.
    real BesedaVNum(const std::string& w, long i) const;
    long BesedaVInt(const std::string& w, long i, long lo, long hi) const;

    // Stores an accepted angle unit; any other is fatal.
    void SetAngUnit(const std::string& unit);
    // Units of an angle and of a small angle in table headings: "[dms]",
    // "[gon]", "[deg]"; "['']" or "[mg]".
    std::string EnotaKota() const;
    std::string EnotaOdklona() const;
    // An angle in 15 columns (DMS as degrees, minutes and seconds; GON and
    // DEG with 6 decimals) and a small angle 7/2 in arc seconds or milligon.
    void PrintKot(std::ostream& out, real rad) const;
    void PrintMaliKot(std::ostream& out, real rad) const;

    const TerObsVrsta* vrsta;

private:
    static real Visina(const std::vector<real>& v, long i)
    {
        return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : 0.0L;
    }
    std::vector<real> visinaI, visinaT;
    std::vector<long> postavitve;

    void ReadAngleRecord(std::istream& in, long i);
    void ReadLinearRecord(std::istream& in, long i);
};

// A set of records with Dim values and Dim deviations each (observed
// coordinates, vectors).
class CTerObsDim : public CTerObs {
public:
    using CTerObs::CTerObs;
    using CTerObs::SetPar;
    void SetPar(unsigned long n, unsigned short xvel, unsigned short dim)
    {
        Dim = dim;
        Velikost(n, xvel, dim, true);
    }
    unsigned short GetDim() const { return Dim; }

    std::uint16_t Dim = 2;
};

#endif
