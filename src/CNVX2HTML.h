// CNVX2HTML: BASE.html, the results as one page to look at in a browser.
//
// The page holds the JSON document of the run (CNVX2JSON::Dokument, the same
// document as BASE.json, written without indentation) in two blocks: its
// small members near the top (the warnings and the data snooping among
// them), its points, observations and relative ellipses at the end.  Between
// them stand a small object of the run itself (its date) and the head script, which
// draws the facts of the run while the browser still reads the large block;
// the main script after it joins the two blocks into the document and draws
// the rest.  Style and scripts are src/html/nivex.css, glava.js and nivex.js,
// built into the program.  The page needs no network: no fonts, libraries or
// map tiles are fetched.
//
// Facts a caller must know:
// - Nothing from the data file is written as HTML: the data go into the page
//   only inside the three JSON blocks, with '<', '>' and '&' written as \u
//   escapes so that no text can close the block; the script places every
//   text into the page as text, never as markup.
// - A file that cannot be written is skipped with a warning (NVX2OdpriDatoteko).
#ifndef NIVEX_SRC_CNVX2HTML_H
#define NIVEX_SRC_CNVX2HTML_H

#include <nlohmann/json_fwd.hpp>
#include <ostream>
#include <string>

class CRezultati;

// JSON text made safe inside a <script> block of a page.
std::string NVX2VarenJSON(const std::string& json);

void NVX2PrintHTML(const std::string& file, const nlohmann::ordered_json& dokument, const CRezultati& rez,
                   const std::string& datum, std::ostream& report);

#endif
