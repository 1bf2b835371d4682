// CNVX2Primerjava: the writers of the comparison of two epochs: the report
// section "ANALIZA PREMIKOV:" and the "deformation" member of the results
// document (JSON and page).
//
// Facts a caller must know:
// - Only the comparison's results (RezPrimerjave) and its input are read.
// - The report gives displacements and semi-axes in millimetres, directions
//   and ellipse orientations in degrees from the first coordinate axis
//   towards the second; the JSON metres and radians.
// - Point names are the data file's bytes; the JSON gets them in UTF-8 by
//   the file's encoding.
#ifndef NIVEX_SRC_CNVX2PRIMERJAVA_H
#define NIVEX_SRC_CNVX2PRIMERJAVA_H

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>

#include "src/CPrimerjava.h"
#include "src/FBranje.h"

// What the writers read beside the results: the two data files.
struct OpisPrimerjave {
    std::string epoha1, epoha2;
    const VhodPrimerjave& vhod;
    const RezPrimerjave& rez;
};

// The report section.
void PrimerjavaPorocilo(const OpisPrimerjave& p, std::ostream& out);
// The "deformation" member of the document.
nlohmann::ordered_json PrimerjavaJSON(const OpisPrimerjave& p, Kodiranje kodiranje);

#endif
