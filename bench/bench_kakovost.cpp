// Cost of the quality analyses against a whole run: the run of a data file
// is timed once (processor time), then the relative ellipses and the
// adjusted observations with their reliability are repeated on its final
// state, so their share is measured apart from the noise of the run.
//
//   nivex_bench_kakovost mreza.dat [repetitions]
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>

#include "src/Nivex.h"

namespace {
double Sekunde(std::clock_t od) { return static_cast<double>(std::clock() - od) / CLOCKS_PER_SEC; }
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "nivex_bench_kakovost mreza.dat [ponovitev]\n";
        return 1;
    }
    const int n = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    CNivex run;
    std::ofstream nic("/dev/null");
    std::ostringstream konzola;
    std::streambuf* cout = std::cout.rdbuf(konzola.rdbuf());

    std::clock_t t = std::clock();
    run.Izracun(argv[1], nic);
    const double celota = Sekunde(t);

    t = std::clock();
    for (int k = 0; k < n; ++k) {
        run.RelEll.SetRelEll();
        run.RelEll.PrintRelEll(nic);
    }
    const double elipse = Sekunde(t) / n;

    t = std::clock();
    for (int k = 0; k < n; ++k) {
        run.TOEst.SetDimensions();
        for (const char tip : {'H', 'h', 'C', 'V', 'D', 'L', 'S', 'A', 'P', 'Z'}) {
            run.TOEst.SetPar(tip);
            run.TOEst.SetReliab();
            run.TOEst.PrintReliab(nic);
        }
    }
    const double zanesljivost = Sekunde(t) / n;
    std::cout.rdbuf(cout);

    const double dodano = run.nPasses * elipse + zanesljivost;
    std::cout << "observation rows " << run.GMM.nobs << ", unknowns " << run.GMM.nunk << ", pairs "
              << run.RelEll.nobs << ", passes " << run.nPasses << "\n"
              << "whole run (processor time)      " << celota << " s\n"
              << "relative ellipses, one pass     " << elipse << " s\n"
              << "adjusted observations, once     " << zanesljivost << " s\n"
              << "added to the run                " << dodano << " s (" << 100.0 * dodano / celota << " %)\n";
    return 0;
}
