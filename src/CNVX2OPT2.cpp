#include "src/CNVX2OPT2.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CNVX2GMT.h"

void CNVX2OPT2::SetContPrint(int flag)
{
    if (flag != 0) std::cout << "\n" << "C: CNVX2OPT2:" << "\n" << " F: SetContPrint(int " << flag << ")" << "\n";
    contprint = static_cast<unsigned short>(flag != 0);
}

void CNVX2OPT2::SetOPT2File(const std::string& base, const std::string& suffix)
{
    if (contprint != 0) std::cout << " F: SetOPT2File(char* " << base << ", char* " << suffix << ")" << "\n";
    opt2file = base + suffix;
}

void CNVX2OPT2::PrintOptim2(const CGMM& GMM, std::ostream& report)
{
    if (contprint != 0) std::cout << " F: PrintOptim2(CGMM&) -> " << std::flush;
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, opt2file, report)) {
        if (contprint != 0) std::cout << "\n";
        return;
    }
    report << "\n" << B(Besedilo::IzpisOPT2) << std::setw(10) << GMM.nobs << std::setw(10)
           << B(Besedilo::IzpisEnotaOPT2) << opt2file << "]" << "\n";
    f << std::fixed << std::setprecision(15);
    // The heading as a comment line, underlined to its length.
    const std::string naslov = B(Besedilo::OPT2Koeficienti);
    f << "#" << naslov << "\n" << "#" << std::string(naslov.size(), '-') << "\n";
    const long u = static_cast<long>(GMM.Bmat.ncol());
    for (long r = 0; r < GMM.nobs; ++r) {
        f << "B ";
        // Every column, the unstored ones as zeros, one row at a time.
        const auto vrstica = GMM.Bmat.vrstica(static_cast<unsigned long>(r));
        std::size_t e = 0;
        for (long s = 0; s < u; ++s) {
            const bool shranjen = e < vrstica.size() && vrstica[e].stolpec == static_cast<unsigned long>(s);
            f << std::setw(22) << (shranjen ? vrstica[e++].vrednost : 0.0L);
        }
        f << "\n";
    }
    f << "\n\n";
    if (contprint != 0) std::cout << " OK" << "\n";
}
