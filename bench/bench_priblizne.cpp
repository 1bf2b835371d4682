// Time of the approximate coordinates of the points a data file declares by
// the name alone (FPriblizne), apart from reading the file; with the same
// network written with its coordinates (a second file), the largest
// distance of a computed point from them.
//
//   nivex_bench_priblizne brez.dat [z_koordinatami.dat]
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "src/FPriblizne.h"
#include "src/Nivex.h"

namespace {
void Beri(CNivex& run, const std::string& dat, std::ostream& nic)
{
    run.procset.ReadProcSet(dat, nic);
    run.gdatum.ReadGDatum(dat, nic, 0);
    run.getobs.SetCTerObs(run.procset, run.TO);
    run.getobs.ReadCTerObs(run.procset, run.TO, dat);
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "nivex_bench_priblizne brez.dat [z_koordinatami.dat]\n";
        return 1;
    }
    std::ofstream nic("/dev/null");
    std::ostringstream konzola;
    std::streambuf* cout = std::cout.rdbuf(konzola.rdbuf());
    CNivex run;
    const CNamesceniKontekst k(run.kontekst);
    Beri(run, argv[1], nic);
    const unsigned short dim = run.procset.GetDim();
    const auto t0 = std::chrono::steady_clock::now();
    const std::vector<PribliznaTocka> tocke = IzracunajPriblizne(run.TO, run.gdatum, dim);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::cout.rdbuf(cout);
    std::cout << "points " << run.TO.Tocke(dim).NObs() << ", computed " << tocke.size() << ", time " << s << " s\n";
    if (argc < 3) return 0;
    CNivex ref;
    std::cout.rdbuf(konzola.rdbuf());
    Beri(ref, argv[2], nic);
    std::cout.rdbuf(cout);
    real najvec = 0.0L;
    std::string ime;
    for (const PribliznaTocka& t : tocke) {
        const long p = ref.TO.Tocke(dim).FindPoint(t.ime);
        real d2 = 0.0L;
        for (long c = 0; c < dim; ++c) d2 += std::pow(t.x[static_cast<std::size_t>(c)] - ref.TO.Tocke(dim).OBS(p, c), 2);
        if (std::sqrt(d2) > najvec) najvec = std::sqrt(d2), ime = t.ime;
        if (std::getenv("NIVEX_PRIBLIZNE_VSE"))
            std::cerr << t.ime << " " << static_cast<double>(std::sqrt(d2)) << " " << static_cast<double>(t.x[0]) << " " << static_cast<double>(t.x[1]) << " " << t.nacini << " " << t.dolocitev << " "
                      << static_cast<double>(t.razpon) << "\n";
    }
    std::cout << "largest distance from the given coordinates " << static_cast<double>(najvec) << " m (" << ime << ")\n";
    return 0;
}
