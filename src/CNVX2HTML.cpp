#include "src/CNVX2HTML.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <iomanip>
#include <nlohmann/json.hpp>

#include "NivexStran.h"
#include "funkcije/Besedila.h"
#include "src/CNVX2GMT.h"
#include "src/CNVX2JSON.h"
#include "src/CRezultati.h"

using json = nlohmann::ordered_json;

namespace {
// The members of the document that grow with the network; the page's data
// block at its end holds them, the head block before it the rest.
constexpr const char* kVelikiKljuci[] = {"points", "observations", "relative_ellipses"};
}  // namespace

std::string NVX2VarenJSON(const std::string& besedilo)
{
    std::string s;
    s.reserve(besedilo.size());
    for (const char c : besedilo) {
        if (c == '<') s += "\\u003c";
        else if (c == '>') s += "\\u003e";
        else if (c == '&') s += "\\u0026";
        else s += c;
    }
    return s;
}

void NVX2PrintHTML(const std::string& file, const json& dokument, const CRezultati& rez, const std::string& datum,
                   std::ostream& report)
{
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, file, report)) return;
    // The run's warnings and its data snooping are members of the document.
    const json tek = {{"date", datum}};
    // The head of the page is drawn from the small members of the document
    // before the parser reaches the large ones, so that it shows at once.
    json glava = json::object(), podatki = json::object();
    for (const auto& [kljuc, vrednost] : dokument.items()) {
        const bool velik = std::find(std::begin(kVelikiKljuci), std::end(kVelikiKljuci), kljuc) != std::end(kVelikiKljuci);
        (velik ? podatki : glava)[kljuc] = vrednost;
    }
    const auto blok = [&f](const char* id, const json& j) {
        f << "<script type=\"application/json\" id=\"" << id << "\">"
          << NVX2VarenJSON(j.dump(-1, ' ', false, json::error_handler_t::replace)) << "</script>\n";
    };
    // The page speaks the language of the run (its script writes its own
    // texts in it): Slovenian unless the document says English.
    const auto jezik = dokument.find("language");
    const bool en = jezik != dokument.end() && jezik->is_string() && *jezik == "en";
    f << "<!DOCTYPE html>\n<html lang=\"" << (en ? "en" : "sl") << "\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      << "<title>Nivex</title>\n<style>\n" << kNivexStranCSS << "</style>\n</head>\n<body>\n"
      << "<noscript>" << B(Besedilo::StranPotrebujeJavaScript) << "</noscript>\n";
    blok("nivex-head", glava);
    blok("nivex-run", tek);
    f << "<script>\n" << kNivexStranGlava << "</script>\n";
    blok("nivex-data", podatki);
    f << "<script>\n" << kNivexStranJS << "</script>\n</body>\n</html>\n";
    report << "\n" << B(Besedilo::IzpisHTML) << std::setw(10) << rez.tocke.size() << std::setw(10)
           << B(Besedilo::IzpisEnotaTock) << file << "]" << "\n";
}
