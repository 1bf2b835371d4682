// CNVX2JSON: the results for other programs: BASE.json (the whole result,
// described by docs/results.schema.json), BASE.geojson (points and
// observation lines for GIS) and BASE.csv (one line per point).
//
// Facts a caller must know:
// - Only the results (CRezultati), the record sets (point names, lines of
//   the data file), the settings, the datum and the run's warnings so far
//   are read; nothing is changed.  The document carries the data snooping
//   (its record statistic with its kind and p, apart from the tables' w) and the
//   warnings; the page reads them from it.
// - Units are SI: metres, radians for angles and ellipse orientations.  The
//   results hold orientations in degrees; they are converted here.
// - Numbers are written with the shortest text that reads back to the same
//   double; a value that is not finite is written as null (CSV: empty).
// - Point names are the data file's bytes; JSON, GeoJSON and CSV get them
//   in UTF-8, decoded by the file's encoding (CTerObsZbirka::kodiranje).
// - GeoJSON is written in plane and spatial networks only; a position is
//   (first, second[, third]) coordinate of the data file, which the guide
//   asks to give as easting, northing[, height].
// - A file that cannot be written is skipped with a warning (NVX2OdpriDatoteko).
#ifndef NIVEX_SRC_CNVX2JSON_H
#define NIVEX_SRC_CNVX2JSON_H

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>

#include "src/FBranje.h"

class CRezultati;
class CTerObsZbirka;
class CProcSet;
class CGDatum;

// The version of the JSON file's layout: raised when a key changes its
// meaning or disappears, not when one is added.
inline constexpr int kNVX2JSONVerzija = 1;

class CNVX2JSON {
public:
    CNVX2JSON(const CRezultati& rez, const CTerObsZbirka& TO, const CProcSet& procset, const CGDatum& gdatum)
        : rez(rez), TO(TO), procset(procset), gdatum(gdatum)
    {
    }

    // The JSON document of the run, built once: BASE.json and the page
    // BASE.html (CNVX2HTML) both carry it.
    nlohmann::ordered_json Dokument(const std::string& dataFile) const;
    // Each writes its file and leaves a notice line in the report.
    void PrintJSON(const std::string& file, const nlohmann::ordered_json& dokument, std::ostream& report) const;
    void PrintGeoJSON(const std::string& file, std::ostream& report) const;
    void PrintCSV(const std::string& file, std::ostream& report) const;

private:
    const CRezultati& rez;
    const CTerObsZbirka& TO;
    const CProcSet& procset;
    const CGDatum& gdatum;
};

#endif
