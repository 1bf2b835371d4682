// CProcSet: every processing setting of one run and the number of records of
// each kind in the data file.
//
// ReadProcSet fills the object from the data file before anything else is
// read; afterwards the object is only read (through the getters, or the
// public fields that have no getter).  Facts a caller must know:
// - Settings may stand anywhere before "*K"; a later keyword overrides an
//   earlier one.  A keyword's value stands on the keyword's own line; a value
//   that is missing or cannot be read as a number of the keyword's type ends
//   the run with a message naming the keyword, the word and the line.
// - Records are counted one by one, field by field, with the final settings
//   (dimension, angle unit, velocity options), exactly as the reading pass
//   will take them: a record may continue onto following lines, and what
//   follows its last field on that line is a remark.  A record that ends
//   before all its fields (a numeric field that is not a number; "*K", "*D",
//   a settings keyword or a datum word where a field should stand; the end
//   of the file) is refused with its line number.
// - A levelling network (*DIM 1) takes X, H and h records only; any other
//   record is refused with its line number.
// - "X" records are filed under the dimension known at the moment they are
//   read ("*DIM" must stand before the first "X" record).  When that filing
//   disagrees with the final dimension (an "X" record before a "*DIM 1", or
//   one written under another "*DIM" than the last) the run ends with a
//   message naming the record's line.
// - Besides the checks of the settings, "*XV0" without "*XVT" and a
//   probability outside (0, 1) are refused.
// - A line whose first word is no record letter, settings keyword, datum
//   word or comment is refused with its line number.  An unknown word that
//   begins with "*" (a mistyped keyword) is a warning with its line number,
//   on the console, in the report and in the closing lines of the run.
// - Text settings (AngUnit, NumSolve, RobSolve, kRefType) are std::string; a
//   word of any length is held, and a word that is not one of the accepted
//   values is refused by the checks after the scan.
// - The refraction estimate (IfEstkRef) follows from "*KTYP" in ReadProcSet,
//   whatever the print switches say; PrintProcSet only reports it.
#ifndef NIVEX_SRC_CPROCSET_H
#define NIVEX_SRC_CPROCSET_H

#include <array>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "funkcije/Besedila.h"
#include "src/MetodaResitve.h"
#include "src/TerObsVrste.h"

class CProcSet {
public:
    CProcSet();

    // Reads the settings and counts the records of the data file, checks them
    // and resolves the option conflicts (warnings on the console).  Fatal
    // errors go to the console and to the report.
    void ReadProcSet(const std::string& dataFile, std::ostream& izhod);
    // True for the words of the settings keywords ("*DIM", "*AU", ...).
    static bool JeKljucnaBeseda(const std::string& w);
    // The language "*LANG" of the data file sets (SL, the default, when the
    // file sets none, sets a word that is no language or cannot be read).
    // Looked at by the driver before the first text of the run.
    static Jezik JezikPodatkov(const std::string& dataFile);
    // Every settings keyword the program knows, in the order of its table
    // (the data-file guide is checked against it).
    static std::vector<std::string> KljucneBesede();
    // Settings section of the report; nothing when izpisSet is 0.  Leaves the
    // report stream in fixed notation.
    void PrintProcSet(std::ostream& izhod);

    unsigned short GetDim() const { return Dim; }
    unsigned short GetIfVarApriori() const { return IfVarApriori; }
    unsigned short GetXVel() const { return XVel; }
    double GetT0() const { return T0; }
    unsigned short GetifVA() const { return ifVA; }
    real Getgtestp() const { return gtestp; }
    real Getdatasp() const { return datasp; }
    real Getizaupp() const { return izaupp; }
    real Gethipelp() const { return hipelp; }
    real Getskladp() const { return skladp; }
    unsigned short GetifIter() const { return ifIter; }
    unsigned short GetNIter() const { return NIter; }
    real GetIterThres() const { return IterThres; }
    unsigned short GetizrisGMT() const { return izrisGMT; }
    unsigned short GetizrisSTR() const { return izrisSTR; }
    unsigned short GetizrisOPT2() const { return izrisOPT2; }
    unsigned short GetizpisSet() const { return izpisSet; }
    unsigned short GetizpisPod() const { return izpisPod; }
    unsigned short GetizpisEnPop() const { return izpisEnPop; }
    unsigned short GetizpisRez() const { return izpisRez; }
    unsigned short GetizpisCorrUnk() const { return izpisCorrUnk; }
    unsigned short GetizpisLMer() const { return izpisLMer; }
    unsigned short GetCorAng() const { return CorAng; }
    unsigned short GetContPrint() const { return ContPrint; }
    unsigned short GetMatFull() const { return MatFull; }
    // "*SNOOP [limit]": iterative data snooping after the adjustment, with
    // the largest number of records to remove (0: no limit).
    bool GetSnoop() const { return snoop != 0; }
    unsigned short GetSnoopMax() const { return snoopMax; }
    // "*NACRT [semi-axis] [r]": a design of the network before it is
    // measured (FNacrt): every value computed from the coordinates, one pass
    // with the a-priori variance.  The targets are the largest semi-axis
    // allowed (m) and the smallest redundancy number allowed, each < 0 when
    // not given.  The counting pass also counts the values of the records
    // and those written "?" (allowed in a design only).
    bool Nacrt() const { return nacrt != 0; }
    real NacrtPolos() const { return nacrtPolos; }
    real NacrtRedundanca() const { return nacrtR; }
    unsigned long NacrtVrednosti() const { return nVrednosti; }
    unsigned long NacrtVprasajev() const { return nVprasajev; }

    // Record counts of the counting pass, of any set and of each by name.
    unsigned long GetNZapisov(TerObsSet s) const { return nZapisov[s]; }
    unsigned long GetNDir() const { return nZapisov[kTODir]; }
    unsigned long GetNZen() const { return nZapisov[kTOZen]; }
    unsigned long GetNDist2() const { return nZapisov[kTODist2]; }
    unsigned long GetNDist3() const { return nZapisov[kTODist3]; }
    unsigned long GetNHdif() const { return nZapisov[kTOHdif]; }
    unsigned long GetNCrd() const { return nZapisov[kTOCrd]; }
    unsigned long GetNVec() const { return nZapisov[kTOVec]; }
    unsigned long GetNH() const { return nZapisov[kTOH]; }
    unsigned long GetNCrdA() const { return nZapisov[kTOCrdA]; }
    unsigned long GetNHA() const { return nZapisov[kTOHA]; }
    unsigned long GetNAzi() const { return nZapisov[kTOAzi]; }
    unsigned long GetNPara() const { return nZapisov[kTOPara]; }

    // Whether this run writes the GMT plot files (a levelling network has
    // none) and the S-transformation file (datum kinds D and H only; with
    // another kind the run warns); the settings report claims what these say.
    bool IzdelaGMT() const { return izrisGMT != 0 && Dim != 1; }
    // The results files for other programs (*JSON, *GEOJSON: plane and
    // spatial networks only, *CSV) and the EPSG code of the coordinates
    // (*EPSG, 0: none).
    bool IzdelaJSON() const { return izpisJSON != 0; }
    bool IzdelaGeoJSON() const { return izpisGeoJSON != 0 && Dim != 1; }
    bool IzdelaCSV() const { return izpisCSV != 0; }
    // The results page BASE.html (*HTML).
    bool IzdelaHTML() const { return izpisHTML != 0; }
    long GetEPSG() const { return static_cast<long>(epsg); }
    // "*ECEF lat lon": the vectors (V) and their covariance blocks are
    // geocentric; lat, lon of the network's centre on GRS80 in decimal
    // degrees, whatever the angle unit.
    bool GetECEF() const { return ecef; }
    real GetECEFSirina() const { return ecefB; }
    real GetECEFDolzina() const { return ecefL; }
    bool IzdelaSTR() const { return izrisSTR != 0 && (datumVrsta == 'D' || datumVrsta == 'H'); }

    // Unknown settings words of the file and their lines, in file order.
    struct NeznanaBesedaVrstica {
        std::string beseda;
        long vrstica;
    };
    const std::vector<NeznanaBesedaVrstica>& NeznaneBesede() const { return neznane; }

    // Angle unit ("DMS", "GON" or "DEG") and solution method.
    const std::string& GetAngUnit() const { return AngUnit; }
    const std::string& GetNumSolve() const { return NumSolve; }
    // The method of NumSolve in the one method table (nullptr for a word that
    // names none, which the settings check refuses), and whether it is the
    // pseudo-inverse of the SVD, which needs no inner-constraint rows.
    const MetodaResitve* Metoda() const { return NajdiMetodo(NumSolve); }
    bool Psevdoinverz() const { return Metoda() != nullptr && Metoda()->psevdoinverz; }

    // Read directly by the modules that use them.
    std::string RobSolve;      // "*ROBSOLV": "MNK" or a robust estimator
    real lpnorm;        // exponent p of the Lp-norm estimator (LPN)
    real SVDthres;      // singularity threshold of the SVD solution
    bool IfUkrZ;               // zenith distances corrected for earth curvature
    bool IfkRef;               // refraction taken into account ("*KTYP")
    bool IfEstkRef;            // a correction of the refraction coefficient is estimated
    real R_Z;           // earth radius [m] of the curvature correction
    real kRef;          // approximate refraction coefficient
    std::string kRefType;      // "SINGLE", "STAT" or "NONE"
    bool ifObsResiduals;       // influence of observation errors on the unknowns

private:
    char datumVrsta = '\0';   // kind of the last "*D" line of the file
    // Record counts of the counting pass, by record set.
    std::array<unsigned long, kTOSetov> nZapisov;

    unsigned short Dim;
    std::string NumSolve;
    unsigned short IfVarApriori;
    unsigned short XVel;
    double T0;
    unsigned short ifVA;
    real gtestp, datasp, izaupp, hipelp, skladp;
    unsigned short izrisGMT, izrisSTR, izrisOPT2;
    unsigned short izpisJSON = 0, izpisGeoJSON = 0, izpisCSV = 0;
    unsigned short izpisHTML = 0;
    real epsg = 0.0L;
    bool ecef = false;
    real ecefB = 0.0L, ecefL = 0.0L;   // degrees
    unsigned short izpisSet, izpisPod, izpisEnPop, izpisRez, izpisCorrUnk, izpisLMer;
    std::string AngUnit;
    std::string jezik = "SL";   // "*LANG": "SL" or "EN"
    unsigned short CorAng;
    unsigned short ContPrint;
    unsigned short ifIter;
    unsigned short snoop = 0, snoopMax = 0;
    unsigned short nacrt = 0;
    real nacrtPolos = -1.0L, nacrtR = -1.0L;
    unsigned long nVrednosti = 0, nVprasajev = 0;
    unsigned short NIter;
    unsigned short MatFull;
    real IterThres;

    // Line of the first record of each set (0: none); an X record is filed
    // under the dimension known where it stands.
    std::array<long, kTOSetov> prvaVrstica;

    // One settings keyword: how its value is read and the field it sets
    // (Vklop sets a switch to 1; Posebej keywords are read by PosebenKljuc).
    struct Kljuc {
        enum class Vrsta { Celo, Vklop, Stevilo, Beseda, Posebej };
        const char* beseda;
        Vrsta vrsta;
        unsigned short CProcSet::*celo = nullptr;
        real CProcSet::*stevilo = nullptr;
        std::string CProcSet::*niz = nullptr;
    };
    static const Kljuc kKljuci[];
    class VrednostiKljuca;
    static const Kljuc* NajdiKljuc(const std::string& w);
    void PosebenKljuc(const std::string& w, const VrednostiKljuca& v, long vrstica, std::ostream& izhod);

    // The five probabilities: keyword, label in the settings report, field.
    struct Verjetnost {
        const char* kljuc;
        Besedilo oznaka;
        real CProcSet::*p;
    };
    static const Verjetnost kVerjetnosti[5];

    void ReadSettings(std::istream& in, std::ostream& izhod);
    void CountRecords(std::istream& in, std::ostream& izhod);
    void CheckSettings(std::ostream& izhod);
    void CheckCounts(std::ostream& izhod);
    void ResolveConflicts();
    void ResolveNacrt();
    // The parts of PrintProcSet: the solution, the model, the other outputs.
    void PrintResitev(std::ostream& izhod) const;
    void PrintModel(std::ostream& izhod) const;
    void PrintIzhodi(std::ostream& izhod) const;
    void NeznanaBeseda(const std::string& w, long vrstica, std::ostream& izhod);
    std::vector<NeznanaBesedaVrstica> neznane;

    // The last line of each setting with a fixed set of values, under its
    // first keyword ("*AU", "*NUMSOLV", "*ROBSOLV", "*DIM", "*KTYP", "*LANG"): the
    // keyword as written, its value and its line, for the refusal.
    struct KljucVVrstici {
        std::string kljuc, vrednost;
        long vrstica = 0;
    };
    std::map<std::string, KljucVVrstici> vrsticeKljucev;
    // The refusal `napaka` of a setting, followed by its line, the value
    // given and the values it takes.
    [[noreturn]] void NepravaVrednost(std::ostream& izhod, Besedilo napaka, const std::string& skupina,
                                      const char* dovoljene) const;
};

#endif
