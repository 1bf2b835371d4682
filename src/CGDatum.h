// CGDatum: the geodetic datum of the network as the data file defines it.
//
// A "*D" line chooses the kind: 'V' fixed given points ("**V" lines), 'P'
// pseudo-observations (no lists), 'D' minimal constraints (the ten lists
// "**DX" ... "**DH"), 'H' inner constraints of a free network ("**H" lines:
// points left out of the matrix H).  The last "*D" line before "*K" counts.
// Facts a caller must know:
// - The counts and lists are read directly by the model.  Only the lists of
//   the chosen kind are filled, and every other count is 0, so a count always
//   equals the rows of its list.
// - A double-star line that does not belong to the chosen kind (e.g. "**V"
//   with "*D H") is ignored with a warning on the console naming the line; it
//   is never stored.
// - The point names of a datum line stand on that line; a line with fewer
//   names than its kind needs is refused (with its line number), words after
//   the names are a remark.
// - Names are not compared with the point list here; the model does that.
// - A kind other than D, V, P, H (also a file without "*D") ends the run.
#ifndef NIVEX_SRC_CGDATUM_H
#define NIVEX_SRC_CGDATUM_H

#include <ostream>
#include <string>
#include <vector>

#include "matrika/matrika.h"

class CGDatum {
public:
    CGDatum() = default;

    // ReadGDatumScan, SetGData and ReadGDatumRead in this order; ContPrint
    // switches the trace on the console.
    void ReadGDatum(const std::string& dataFile, std::ostream& izhod, unsigned short ContPrint);
    // Counting pass and validation of the kind.
    void ReadGDatumScan(const std::string& dataFile, std::ostream& izhod);
    // Sizes the lists of the chosen kind (and clears the counts of the others).
    void SetGData();
    // Reading pass: the names into the lists of the chosen kind.
    void ReadGDatumRead(const std::string& dataFile, std::ostream& izhod);
    // Datum section of the report.
    void PrintGDatum(std::ostream& izhod, unsigned short ContPrint);

    char GetGDatum() const { return Datum; }
    // The double-star datum words ("**V", "**DX", ...) the reader knows.
    static std::vector<std::string> DatumskeBesede();

    char Datum = 0;
    unsigned short nV = 0, nH = 0, nD = 0, nDX = 0, nDY = 0, nDZ = 0, nDDir = 0, nDDist = 0, nDZen = 0, nDdX = 0,
                   nDdY = 0, nDdZ = 0, nDH = 0;
    matrika<std::string> PTDV, PTDH, PTX, PTY, PTZ, PTDir, PTDist, PTZen, PTdX, PTdY, PTdZ, PTH;
    // Kind V in a spatial network: points held in their plane coordinates
    // only ("**VXY") or in their height only ("**VZ"); their other
    // coordinates stay unknowns.
    unsigned short nVXY = 0, nVZ = 0;
    matrika<std::string> PTVXY, PTVZ;

    // Every point name the lists of the chosen kind hold, with its datum
    // word and its line, in file order (for messages about the name).
    struct ImeVVrstici {
        std::string beseda, ime;
        long vrstica = 0;
    };
    std::vector<ImeVVrstici> imenaVrstic;

private:
    // The last "*D" line: its first word after "*D" and its line (0: none).
    std::string vrednostD;
    long vrsticaD = 0;
};

#endif
