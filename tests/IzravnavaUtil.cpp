#include "IzravnavaUtil.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "TestUtil.h"
#include "src/CResitevGosta.h"

namespace {
std::string PrvaBeseda(const std::string& line)
{
    std::string w;
    std::istringstream(line) >> w;
    return w;
}
}  // namespace

Izravnava Izravnaj(const std::string& data, bool gosto)
{
    Izravnava iz;
    const std::string dat = Datoteka(data), nvx = dat.substr(0, dat.size() - 3) + "NVX";
    iz.run = std::make_unique<CNivex>();
    iz.run->GMMS.gosto = gosto;
    {
        std::ofstream report(nvx);
        Tiho([&] { iz.run->Izracun(dat, report); });
    }
    iz.report = ReadFile(nvx);
    const CNivex& n = *iz.run;
    const int dim = n.procset.GetDim();
    const CTerObs& lista = dim == 1 ? static_cast<const CTerObs&>(n.TO.TOHA) : n.TO.TOCrdA;
    for (unsigned long i = 0; i < lista.NObs(); ++i)
        for (int k = 0; k < dim; ++k) iz.tocke[lista.GetPTS(i, 0)].push_back(lista.GetOBS(i, k));
    return iz;
}

long double NajvecjaRazlika(const Izravnava& a, const Izravnava& b)
{
    long double m = 0.0L;
    for (const auto& [ime, xyz] : a.tocke)
        for (std::size_t k = 0; k < xyz.size(); ++k) m = std::max(m, std::fabs(xyz[k] - b.tocke.at(ime)[k]));
    return m;
}

Izravnava IzravnajZ(const std::string& data, const std::string& metoda, bool gosto)
{
    Izravnava iz = Izravnaj(ZNastavitvijo(data, "*NUMSOLV", metoda), gosto);
    // The dense reference ran exactly where it was asked for (and always for the SVD).
    EXPECT_EQ(dynamic_cast<const CResitevGosta*>(iz.run->GMMS.Resitev()) != nullptr, gosto || metoda == "SVD")
        << metoda;
    return iz;
}

std::string ZNastavitvijo(const std::string& data, const std::string& keyword, const std::string& value)
{
    std::string out = keyword + " " + value + "\n";
    for (const std::string& l : Lines(data))
        if (PrvaBeseda(l) != keyword) out += l + "\n";
    return out;
}

std::string Iteriraj(const std::string& data, const char* thres, const char* max)
{
    return ZNastavitvijo(ZNastavitvijo(ZNastavitvijo(data, "*ITER", "1"), "*ITERMAX", max), "*ITERTHRES", thres);
}

std::string ZDatumom(const std::string& data, const std::string& datumLines)
{
    std::string out = datumLines;
    if (!out.empty() && out.back() != '\n') out += "\n";
    for (const std::string& l : Lines(data)) {
        const std::string w = PrvaBeseda(l);
        if (w == "*D" || w.rfind("**", 0) == 0) continue;
        out += l + "\n";
    }
    return out;
}

std::string Primer(const std::string& name) { return ReadFile(std::string(NIVEX_SOURCE_DIR) + "/examples/" + name); }
