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

json Num(real x)
{
    const double d = static_cast<double>(x);
    return std::isfinite(d) ? json(d) : json(nullptr);
}

// The records set aside by the data snooping, with their point names split.
json Izloceni(const std::vector<RezIzlocen>& zapisi, Kodiranje kodiranje)
{
    json a = json::array();
    for (const RezIzlocen& z : zapisi) {
        json imena = json::array();
        std::size_t i = 0;
        while ((i = z.tocke.find_first_not_of(' ', i)) != std::string::npos) {
            const std::size_t k = z.tocke.find(' ', i);
            imena.push_back(NVX2Utf8(z.tocke.substr(i, k == std::string::npos ? std::string::npos : k - i), kodiranje));
            i = k;
        }
        a.push_back({{"kind", std::string(1, z.vrsta)}, {"points", std::move(imena)}, {"line", z.vrstica},
                     {"w", Num(z.w)}, {"gross_error", Num(z.groba)}, {"misclosure", Num(z.odstopanje)}});
    }
    return a;
}
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

void NVX2PrintHTML(const std::string& file, const json& dokument, const CRezultati& rez,
                   const std::string& datum, const std::vector<NivexOpozorilo>& opozorila, Kodiranje kodiranje,
                   std::ostream& report)
{
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, file, report)) return;
    json opoz = json::array();
    for (const NivexOpozorilo& t : opozorila) opoz.push_back(NVX2Utf8(t.besedilo, kodiranje));
    const json tek = {{"date", datum},
                      {"warnings", std::move(opoz)},
                      {"snooping", rez.iskanje.vklopljeno},
                      {"removed", Izloceni(rez.iskanje.izloceni, kodiranje)},
                      {"not_tested", Izloceni(rez.iskanje.neprevereni, kodiranje)}};
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
    f << "<!DOCTYPE html>\n<html lang=\"sl\">\n<head>\n<meta charset=\"utf-8\">\n"
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
