// The report section of the approximate coordinates (declared in
// FPriblizne.h) and the fixed words of the methods.
#include <iomanip>

#include "funkcije/Besedila.h"
#include "src/FPriblizne.h"
#include "src/NivexAux.h"

namespace {
struct Nacin {
    PribliznaNacin bit;
    Besedilo opis;
    const char* beseda;   // JSON
};
const Nacin kNacini[kPrNacinov] = {
    {kPrNivelman, Besedilo::PribliznoNacinNivelman, "levelling"},
    {kPrZenitna, Besedilo::PribliznoNacinZenitna, "zenith"},
    {kPrPolarno, Besedilo::PribliznoNacinPolarno, "polar"},
    {kPrPresek, Besedilo::PribliznoNacinPresek, "intersection"},
    {kPrNazaj, Besedilo::PribliznoNacinNazaj, "resection"},
    {kPrLok, Besedilo::PribliznoNacinLok, "arc"},
    {kPrVektor, Besedilo::PribliznoNacinVektor, "vector"},
    {kPrOpazovane, Besedilo::PribliznoNacinOpazovane, "observed"},
    {kPrPodobnost, Besedilo::PribliznoNacinPodobnost, "similarity"},
    {kPrLokalni, Besedilo::PribliznoNacinLokalni, "local_frame"},
};
}  // namespace

std::vector<std::string> PribliznaNacinBesede(unsigned nacini)
{
    std::vector<std::string> b;
    for (const Nacin& n : kNacini)
        if (nacini & n.bit) b.emplace_back(n.beseda);
    return b;
}

void PribliznePorocilo(const std::vector<PribliznaTocka>& tocke, unsigned short dim, std::ostream& report)
{
    if (tocke.empty()) return;
    Naslov(report, B(Besedilo::NaslovPriblizne), 1);
    report << BesediloF(Besedilo::PribliznoUvod, static_cast<double>(kPribliznaToleranca)) << "\n\n";
    report << B(Besedilo::PribliznoGlavaTocka);
    const char* oznake[] = {"X", "Y", "Z"};
    for (unsigned k = 0; k < dim; ++k) report << std::setw(14) << (dim == 1 ? "H" : oznake[k]);
    report << B(Besedilo::PribliznoGlava) << "\n";
    for (const PribliznaTocka& t : tocke) {
        report << "   " << std::left << std::setw(8) << t.ime << std::right << std::fixed << std::setprecision(4);
        for (unsigned k = 0; k < dim; ++k) report << " " << std::setw(13) << t.x[k];
        report << std::setprecision(3) << std::setw(11) << t.razpon << std::setw(6) << t.dolocitev << "  ";
        const char* loc = "";
        for (const Nacin& n : kNacini)
            if (t.nacini & n.bit) report << loc << B(n.opis), loc = ", ";
        if (!t.vrstice.empty()) report << "; " << B(Besedilo::PribliznoVrstice);
        loc = " ";
        for (long v : t.vrstice) report << loc << v, loc = ", ";
        report << "\n";
    }
    report << "\n";
}
