// Izvozi: the export files of a run, one row a writer: the settings keyword
// that switches it on, the file it writes (by the base name) and the
// function that writes it.
//
// Every writer reads the results of the finished adjustment and what was
// read from the data file; none computes or changes anything of the
// adjustment.  The rows run in the order of the table, each adding its
// notice to the report.
#ifndef NIVEX_SRC_IZVOZI_H
#define NIVEX_SRC_IZVOZI_H

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

class CGDatum;
class CGMM;
class CProcSet;
class CRezultati;
class CTerObsZbirka;

// What the writers read.
struct IzvozVhod {
    const CProcSet& procset;
    const CGDatum& gdatum;
    const CTerObsZbirka& TO;
    const CRezultati& rez;
    // The S-transformation and the optimisation files take the numbering of
    // the unknowns and the equations of the last pass from the model.
    const CGMM& GMM;
    std::string baseName, dataFile;
    std::string datum;                      // the date and time of the run (the page)
    // One results document for the JSON file and the page, formed when the
    // first of them asks for it.
    const nlohmann::ordered_json& Dokument() const;
    mutable std::shared_ptr<nlohmann::ordered_json> dokument_{};
};

struct Izvoz {
    const char* kljuc;                                   // settings keyword
    const char* datoteka;                                // after the base name; nullptr: several files
    bool (*vklopljen)(const CProcSet& procset);
    void (*pisi)(const IzvozVhod& vhod, std::ostream& report);
    // Reads the model (equations and numbering) of the last pass; these rows
    // come first in the table.
    bool model = false;
};

// The writers in the order they run.
const std::vector<Izvoz>& Izvozi();

// Every writer the settings switch on; poModelu (when given) runs once
// after the writers that read the model and before the rest: what it adds
// to the results (the snooping's misclosures, which set up the model's
// equations anew) reaches the results documents.
void IzvoziPisi(const IzvozVhod& vhod, std::ostream& report, const std::function<void()>& poModelu = {});

#endif
