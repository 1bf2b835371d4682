// CTerObs: the common base of every record set (a point list or the
// observations of one kind) read from the data file.
//
// A set holds `nobs` records: point names `PTS`, values `OBS` (metres,
// radians), a-priori standard deviations `SIG` (metres, radians), epochs `T`
// (only with velocity estimation) and the set's mean standard deviation `So`.
// Record indices count from 0 inside the program; every message shown to the
// user counts records from 1 within their set.
//
// Reading is strict: a field that is not a number, a record cut short by the
// end of the file or by "*K", and a standard deviation that is numerically
// zero all end the run with a framed message and exit status 1.  The data
// members are public because the model reads them and the solution
// writes the adjusted values back into the point lists.
#ifndef NIVEX_SRC_CTEROBS_H
#define NIVEX_SRC_CTEROBS_H

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "matrika/matrika.h"

// Description of a record kind by its leading letter, for messages, e.g.
// "S (horizontalna smer)"; `dim` tells apart an X record of a levelling
// network (a height) from one of a 2D/3D network (coordinates).
std::string TerObsOpis(char letter, unsigned short dim);

// Report fields: a number in fixed notation, right-aligned in `width`
// columns with `decimals` decimals; a text right-aligned in `width` columns.
void TerObsNum(std::ostream& out, long double v, int width, int decimals);
void TerObsTxt(std::ostream& out, const std::string& s, int width);

// Angles in the report, by angle unit ("DMS", "GON", "DEG"): an angle in 15
// columns (DMS as degrees, minutes and seconds; GON and DEG with 6 decimals)
// and a small angle (a standard deviation) 7/2 in arc seconds or milligon.
void TerObsAngle(std::ostream& out, const std::string& unit, long double rad);
void TerObsSmallAngle(std::ostream& out, const std::string& unit, long double rad);
// True for the three accepted angle units.
bool TerObsAngUnitOK(const std::string& unit);

class CTerObs {
public:
    CTerObs() = default;
    virtual ~CTerObs() = default;

    // Read slots: the point names, then the values of record i.
    virtual void ReadObsLine_PT(std::istream& in, long i);
    virtual void ReadObsLine_OBS(std::istream& in, long i);
    // Print slots: the name columns and the value columns of record i.
    virtual void PrintObsLine_PT(std::ostream& out, long i) = 0;
    virtual void PrintObsLine_OBS(std::ostream& out, long i) = 0;
    // Heading (title, column names, units, rule) and closing rule of the table.
    virtual void PrintAllHead(std::ostream& out) = 0;
    virtual void PrintAllEnd(std::ostream& out) = 0;
    // Every derived set sizes itself through its own SetPar with parameters.
    virtual void SetPar() {}

    // "LINE" (one record) or "ALL" (the whole table); anything else is fatal.
    void SetPrintQuant(const std::string& what);
    // "PT", "OBS" or "ALL": which half of a record a line print shows.
    void SetPrintWhat(const std::string& what);
    // So = mean of |SIG| over all its elements (absolute values in double).
    void CalcRefStDApr();
    // Reads record i (names, then values) from the current position of `in`.
    void ReadObs(std::istream& in, long i);
    // "LINE": record i; "ALL": the whole table (i plays no part).
    void PrintObs(std::ostream& out, long i);

    // Warns once for every name that stands more than once in PTS column 0;
    // lookups keep finding the first occurrence.
    void TestRepeatedPTS() const;

    unsigned long NObs() const { return nobs; }
    long double GetSo() const { return So; }
    long double GetRefStDApr() const { return So; }
    unsigned short GetXVel() const { return XVel; }
    const std::string& GetPTS(long i, long j) const { return PTS(i, j); }
    long double GetOBS(long i, long j) const { return OBS(i, j); }
    long double GetSIG(long i, long j) const { return SIG(i, j); }
    long double GetT(long i, long j) const { return T(i, j); }
    // Kind of record for messages, e.g. "D (horizontalna dolzina)".
    const std::string& GetVrsta() const { return Vrsta; }

    std::uint32_t nobs = 0;
    matrika<std::string> PTS;
    matrika<long double> OBS;
    matrika<long double> SIG;
    long double So = 0.0L;
    matrika<long double> T;
    std::uint16_t XVel = 0;
    std::string PrintQuant = "LINE";
    std::string PrintWhat = "ALL";

protected:
    void PrintObsLine(std::ostream& out, long i);
    void PrintObsAll(std::ostream& out);
    // Zero-deviation check on the value as written in the file: |sd| (in
    // double) not above eps ends the run.  `i` is the 0-based record index.
    void TestStDev(std::int32_t i, const char* label, long double sd, long double eps) const;

    // Field readers for record i: a refused field ends the run with a message
    // naming the record kind, its number within the set and the word.
    std::string ReadPT(std::istream& in, long i) const;
    long double ReadNum(std::istream& in, long i) const;
    long ReadInt(std::istream& in, long i, long lo, long hi) const;
    // Angle field and its standard deviation in the file's unit (DMS: three
    // words, whole degrees and minutes as 16-bit integers).  `rad` gets the
    // angle in radians, `sd` the deviation as written (arc seconds or
    // milligon), so that it can be checked before it is converted.
    void ReadAngle(std::istream& in, long i, const std::string& unit, long double& rad, long double& sd) const;
    // A deviation in arc seconds (DMS, DEG) or milligon (GON) in radians.
    static long double AngleSigRad(const std::string& unit, long double sd);
    // The values of an angle record i (angle, deviation, [epoch]) into OBS,
    // SIG and T; with a label the deviation is checked against eps first.
    void ReadAngleRecord(std::istream& in, long i, const std::string& unit, const char* label, long double eps);
    // Angle, deviation and [epoch] columns of angle record i.
    void PrintAngleRecord(std::ostream& out, long i, const std::string& unit) const;

    std::string Vrsta;
};

#endif
