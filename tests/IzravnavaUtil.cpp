#include "IzravnavaUtil.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "TestUtil.h"

namespace {
std::string PrvaBeseda(const std::string& line)
{
    std::istringstream s(line);
    std::string w;
    s >> w;
    return w;
}
}  // namespace

Izravnava Izravnaj(const std::string& data)
{
    Izravnava iz;
    const std::string dir = TempDir("izr");
    const std::string dat = dir + "/mreza.dat", nvx = dir + "/mreza.NVX";
    WriteFile(dat, data);
    iz.run = std::make_unique<CNivex>();
    {
        std::ofstream report(nvx);
        std::ostringstream tiho;
        std::streambuf* stari = std::cout.rdbuf(tiho.rdbuf());
        iz.run->Izracun(dat, report);
        std::cout.rdbuf(stari);
    }
    iz.report = ReadFile(nvx);
    CNivex& n = *iz.run;
    const int dim = n.procset.GetDim();
    if (dim == 1) {
        for (unsigned long i = 0; i < n.TO.TOHA.NObs(); ++i) iz.tocke[n.TO.TOHA.GetPTS(i, 0)] = {n.TO.TOHA.GetOBS(i, 0)};
    } else {
        for (unsigned long i = 0; i < n.TO.TOCrdA.NObs(); ++i) {
            std::vector<long double> x;
            for (int k = 0; k < dim; ++k) x.push_back(n.TO.TOCrdA.GetOBS(i, k));
            iz.tocke[n.TO.TOCrdA.GetPTS(i, 0)] = x;
        }
    }
    return iz;
}

std::string ZNastavitvijo(const std::string& data, const std::string& keyword, const std::string& value)
{
    std::string out = keyword + " " + value + "\n";
    for (const std::string& l : Lines(data))
        if (PrvaBeseda(l) != keyword) out += l + "\n";
    return out;
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

std::map<std::string, std::vector<long double>> NeodvisnaIzravnava(const std::string& name, int dim)
{
    std::map<std::string, std::vector<long double>> m;
    std::istringstream s(ReadFile(std::string(NIVEX_TEST_DATA) + "/examples_gen/" + name + "_adjusted.txt"));
    std::string line;
    while (std::getline(s, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream l(line);
        std::string ime;
        l >> ime;
        std::vector<long double> x(dim);
        for (int k = 0; k < dim; ++k) l >> x[k];
        m[ime] = x;
    }
    return m;
}
