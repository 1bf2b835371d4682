// CGetObs: the reader that sizes the record sets from the counts of the
// settings pass, fills them in one pass over the data file and prints them
// into the input report.
//
// The data file is read as whitespace-separated words; a line is known by
// its first word alone, and only its first character chooses the record set
// by the table of record kinds (X, H, C, S, Z, A, P, V, D, L, h).  Comments
// (#), settings (*...) and datum lines (**...) are passed over, "*K" ends the
// data.  A record may continue onto following lines; what follows its last
// field on that line is skipped, however long the line.  Reading takes time
// linear in the file size.
//
// Each record keeps the line of its leading word, and every message about a
// record names it.  Refused, each with a framed message and exit status 1: a
// field that is not a number or a record cut short (from the record sets), a
// record for which its set has no room (a kind the network's dimension does
// not take, or more records than counted), fewer records than counted, an
// observation naming a point that is not in the point list, and a data file
// that cannot be opened.  A point name repeated in the point list draws a
// warning; lookups find its first occurrence.
#ifndef NIVEX_SRC_CGETOBS_H
#define NIVEX_SRC_CGETOBS_H

#include <ostream>
#include <string>

class CProcSet;
class CTerObsZbirka;

class CGetObs {
public:
    // Sizes the sets: the point list of the dimension, then every kind with
    // records that the dimension takes.
    void SetCTerObs(CProcSet& procset, CTerObsZbirka& TO);
    // The reading pass (it also keeps the file's encoding in TO.kodiranje);
    // then the composed angles and the sets' So.
    void ReadCTerObs(CProcSet& procset, CTerObsZbirka& TO, const std::string& dataFile);
    // The input report: the point list always, the observations with izpisPod.
    void PrintCTerObs(CProcSet& procset, CTerObsZbirka& TO, std::ostream& izhod);
};

#endif
