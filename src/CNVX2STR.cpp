#include "src/CNVX2STR.h"

#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>

#include "funkcije/Besedila.h"
#include "src/CGMM.h"
#include "src/CRezultati.h"
#include "src/CNVX2GMT.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsHA.h"

namespace {
// A heading of the file: a comment line and its underline of the same length.
void Glava(std::ostream& f, Besedilo naslov)
{
    const std::string t = B(naslov);
    f << "#" << t << "\n" << "#" << std::string(t.size(), '-') << "\n";
}
}  // namespace

void CNVX2STR::SetContPrint(int flag)
{
    if (flag != 0) std::cout << "\n" << "C: CNVX2STR:" << "\n" << " F: SetContPrint(int " << flag << ")" << "\n";
    contprint = static_cast<unsigned short>(flag != 0);
}

void CNVX2STR::SetSTRFile(const std::string& base, const std::string& suffix)
{
    if (contprint != 0) std::cout << " F: SetSTRFile(char* " << base << ", char* " << suffix << ")" << "\n";
    strfile = base + suffix;
}

void CNVX2STR::SetDimensions(unsigned short dim)
{
    if (contprint != 0) std::cout << " F: SetDimensions(unsigned short int* " << dim << ")" << "\n";
    Dim = dim;
}

void CNVX2STR::PrintSTrans_1D(const CTerObsHA& TOHA, const CGMM& GMM, const CRezultati& rez, std::ostream& report)
{
    if (contprint != 0) std::cout << " F: PrintSTrans-1D(CTerObsCrdA&) -> " << std::flush;
    Print(TOHA, GMM, rez, report);
}

void CNVX2STR::PrintSTrans_2D(const CTerObsCrdA& TOCrdA, const CGMM& GMM, const CRezultati& rez, std::ostream& report)
{
    if (contprint != 0) std::cout << " F: PrintSTrans_2D(CTerObsCrdA&) -> " << std::flush;
    Print(TOCrdA, GMM, rez, report);
}

void CNVX2STR::PrintSTrans_3D(const CTerObsCrdA& TOCrdA, const CGMM& GMM, const CRezultati& rez, std::ostream& report)
{
    if (contprint != 0) std::cout << " F: PrintSTrans_3D(CTerObsCrdA&) -> " << std::flush;
    Print(TOCrdA, GMM, rez, report);
}

void CNVX2STR::Print(const CTerObs& tocke, const CGMM& GMM, const CRezultati& rez, std::ostream& report)
{
    const long n = static_cast<long>(tocke.PTS.nrow()), d = Dim;
    std::ofstream f;
    if (!NVX2OdpriDatoteko(f, strfile, report)) {
        if (contprint != 0) std::cout << "\n";
        return;
    }
    report << "\n" << B(Besedilo::IzpisSTR) << std::setw(10) << n << std::setw(10) << B(Besedilo::IzpisEnotaTock)
           << strfile << "]" << "\n";
    f << std::fixed;
    Glava(f, Besedilo::STRRazseznost);
    f << "D " << d << "\n\n";
    Glava(f, Besedilo::STRSteviloTock);
    f << "N " << n << "\n\n";
    Glava(f, Besedilo::STRKoordinate);
    for (long i = 0; i < n; ++i) {
        if (contprint != 0) NVX2Stevec(static_cast<unsigned long>(i) + 1);
        // Under a datum without fixed points every point has its unknowns;
        // a point without them would keep its value with no correction.
        const long k = GMM.iDeltaB(i);
        const RezBlok& b = rez.tocke[static_cast<std::size_t>(i)].koordinate;
        auto popravek = [&](long c) { return k < 0 ? 0.0L : b.pop[c]; };
        if (d == 1) {
            f << "X " << std::setw(8) << tocke.PTS(i, 0) << std::setprecision(8) << std::setw(16)
              << tocke.OBS(i, 0) - popravek(0) << std::setprecision(10) << std::setw(16) << popravek(0) << "\n";
            continue;
        }
        f << "X " << tocke.PTS(i, 0) << std::setprecision(6);
        for (long c = 0; c < d; ++c) f << std::setw(16) << tocke.OBS(i, c) - popravek(c);
        for (long c = 0; c < d; ++c) f << std::setw(12) << popravek(c);
        f << "\n";
    }
    f << "\n";
    Glava(f, Besedilo::STRVarianca);
    f << "V " << std::setprecision(15) << rez.SoIIzracun << "\n\n";
    Glava(f, Besedilo::STRKofaktorji);
    const long m = n * d;
    const KofaktorjiNeznank& Q = rez.Kofaktorji();
    for (long r = 0; r < m; ++r) {
        f << "K ";
        for (long s = 0; s < m; ++s) f << std::setw(22) << Q(s, r);
        f << "\n";
    }
    f << "\n\n";
    if (contprint != 0) std::cout << " OK" << "\n";
}
