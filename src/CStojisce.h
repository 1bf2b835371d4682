// CStojisce: the station setups of the data file, which give the instrument
// and target heights of the zenith and slope distances.
//
// A "*IH station height" line opens a setup: the instrument stands `height`
// metres above the station's mark for the records that follow, up to the
// next "*IH".  "*TH height" sets the target height of every target for the
// observations that follow, "*TH target height" that of one target (which
// takes precedence); a new "*IH" sets them back to 0.  The reading pass
// hands it these lines and every record it reads, in file order.
//
// Facts a caller must know:
// - The directions, zenith distances and horizontal and slope distances in a
//   setup must be taken from its station; the zenith and slope distances get
//   its heights (CTerObs::SetVisini), the others are not changed by them.
//   Each record of a setup gets its number (CTerObs::SetPostavitev): the
//   directions of a new setup start a set of their own, also at the same
//   station.
// - Refused, with the line: the lines outside a spatial network, a "*TH"
//   before the first "*IH", a height that is no number, a record from
//   another station than the setup's, and (PreveriImena) a station or target
//   missing from the point list.  A word beginning with '#' starts a remark.
#ifndef NIVEX_SRC_CSTOJISCE_H
#define NIVEX_SRC_CSTOJISCE_H

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "funkcije/numerika.h"

class CTerObs;
class CTerObsTocke;
class CTerObsZbirka;

class CStojisce {
public:
    // True for the leading word of a height line.
    static bool JeVrsticaVisin(const std::string& beseda) { return beseda == "*IH" || beseda == "*TH"; }
    // The height line `kljuc` ("*IH" or "*TH") at line `v`, `vrsta` the rest of it.
    void Beri(const std::string& kljuc, const std::string& vrsta, long v, unsigned short dim);
    // Record i of `set`, just read; `zapis` names it in messages.
    void Zapis(CTerObs& set, long i, const std::string& zapis) const;
    // Every station and target the lines named stands in the point list.
    void PreveriImena(const CTerObsTocke& tocke) const;
    // The input report's tables of the heights of zenith and slope distances
    // (only of a set that has heights).
    static void PrintVisine(const CTerObsZbirka& TO, std::ostream& izhod);

private:
    std::string tocka;   // the station; empty while no setup is open
    long vrstica = 0;
    long stevilka = 0;   // setups opened so far
    real instrument = 0.0L, vsem = 0.0L;
    std::map<std::string, real> tarce;
    std::vector<std::pair<std::string, long>> imena;   // names on the lines, with the line
};

#endif
