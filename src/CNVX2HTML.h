// CNVX2HTML: BASE.html, the results as one page to look at in a browser.
//
// The page holds the JSON document of the run (CNVX2JSON::Dokument, the same
// document as BASE.json, written without indentation), a small object of the run itself (date, warnings, the
// records set aside by data snooping), and the page's own style and script
// (src/html/nivex.css and nivex.js, built into the program).  It needs no
// network: no fonts, libraries or map tiles are fetched.
//
// Facts a caller must know:
// - Nothing from the data file is written as HTML: the data go into the page
//   only inside the two JSON blocks, with '<', '>' and '&' written as \u
//   escapes so that no text can close the block; the script places every
//   text into the page as text, never as markup.
// - A file that cannot be written is skipped with a warning (NVX2OdpriDatoteko).
#ifndef NIVEX_SRC_CNVX2HTML_H
#define NIVEX_SRC_CNVX2HTML_H

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>
#include <vector>

class CRezultati;

// JSON text made safe inside a <script> block of a page.
std::string NVX2VarenJSON(const std::string& json);

void NVX2PrintHTML(const std::string& file, const nlohmann::ordered_json& dokument, const CRezultati& rez,
                   const std::string& datum, const std::vector<std::string>& opozorila, std::ostream& report);

#endif
