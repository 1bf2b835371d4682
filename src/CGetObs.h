// CGetObs: the reader that sizes the record sets from the counts of the
// settings pass, fills them in one pass over the data file and prints them
// into the input report.
//
// The data file is read as whitespace-separated words; a line is known by
// its first word alone, and only its first character chooses the record set
// (X, H, C, S, Z, A, P, V, D, L, h).  Comments (#), settings (*...) and datum
// lines (**...) are passed over, "*K" ends the data.  A record may continue
// onto following lines; what follows its last field on that line is skipped,
// however long the line.  Reading takes time linear in the file size.
//
// Refused, each with a framed message and exit status 1: a field that is
// not a number or a record cut short (from the record sets), a record for
// which its set has no room (a kind the network's dimension does not take,
// or more records than counted), fewer records than counted, and a data file
// that cannot be opened.  A point name repeated in the point list draws a
// warning; lookups find its first occurrence.
#ifndef NIVEX_SRC_CGETOBS_H
#define NIVEX_SRC_CGETOBS_H

#include <ostream>
#include <string>

class CProcSet;
class CTerObsAngl;
class CTerObsCrd;
class CTerObsCrdA;
class CTerObsDir;
class CTerObsDist;
class CTerObsH;
class CTerObsHA;
class CTerObsHdif;
class CTerObsPara;
class CTerObsVec;

class CGetObs {
public:
    // Sizes the sets: the point list of the dimension, then every kind with
    // records that the dimension takes.
    void SetCTerObs(CProcSet& procset, CTerObsDir& TODir, CTerObsDir& TOZen, CTerObsCrd& TOCrd,
                    CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3, CTerObsH& TOH,
                    CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec, CTerObsDir& TOAzi,
                    CTerObsPara& TOPara);
    // The reading pass; then the composed angles and the sets' So.
    void ReadCTerObs(CProcSet& procset, CTerObsDir& TODir, CTerObsAngl& TOAngl, CTerObsDir& TOZen,
                     CTerObsCrd& TOCrd, CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3,
                     CTerObsH& TOH, CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec,
                     CTerObsDir& TOAzi, CTerObsPara& TOPara, const std::string& dataFile);
    // The input report: the point list always, the observations with izpisPod.
    void PrintCTerObs(CProcSet& procset, CTerObsAngl& TOAngl, CTerObsDir& TOZen, CTerObsCrd& TOCrd,
                      CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3, CTerObsH& TOH,
                      CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec, CTerObsDir& TOAzi,
                      CTerObsPara& TOPara, std::ostream& izhod);
};

#endif
