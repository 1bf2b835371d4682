#include "src/CGetObs.h"

#include <array>
#include <fstream>
#include <iostream>

#include "src/CProcSet.h"
#include "src/CTerObsAngl.h"
#include "src/CTerObsCrd.h"
#include "src/CTerObsCrdA.h"
#include "src/CTerObsDir.h"
#include "src/CTerObsDist.h"
#include "src/CTerObsH.h"
#include "src/CTerObsHA.h"
#include "src/CTerObsHdif.h"
#include "src/CTerObsPara.h"
#include "src/CTerObsVec.h"
#include "src/FBranje.h"
#include "src/NivexAux.h"

void CGetObs::SetCTerObs(CProcSet& procset, CTerObsDir& TODir, CTerObsDir& TOZen, CTerObsCrd& TOCrd,
                         CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3, CTerObsH& TOH,
                         CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec, CTerObsDir& TOAzi,
                         CTerObsPara& TOPara)
{
    if (procset.GetContPrint() != 0) {
        std::cout << "C: CGetObs:" << "\n";
        std::cout << " F: SetCTerObs(... OBS CLASSES ...)" << "\n";
    }
    const unsigned short dim = procset.GetDim();
    const unsigned short xvel = procset.GetXVel();
    const unsigned short ifva = procset.GetifVA();
    const std::string unit = procset.GetAngUnit();

    if (dim == 1) {
        TOHA.SetPar(procset.GetNHA(), xvel, ifva);
    } else {
        TOCrdA.SetPar(procset.GetNCrdA(), xvel, dim, ifva);
        if (procset.GetNCrd() != 0) TOCrd.SetPar(procset.GetNCrd(), xvel, dim);
        if (procset.GetNVec() != 0) TOVec.SetPar(procset.GetNVec(), xvel, dim);
        if (procset.GetNDir() != 0) TODir.SetPar(procset.GetNDir(), xvel, unit, "DIR");
        if (procset.GetNZen() != 0) TOZen.SetPar(procset.GetNZen(), xvel, unit, "ZEN");
        if (procset.GetNAzi() != 0) TOAzi.SetPar(procset.GetNAzi(), xvel, unit, "AZI");
        if (procset.GetNPara() != 0) TOPara.SetPar(procset.GetNPara(), xvel, unit);
        if (procset.GetNDist2() != 0) TODist2.SetPar(procset.GetNDist2(), xvel, 2);
        if (procset.GetNDist3() != 0) TODist3.SetPar(procset.GetNDist3(), xvel, 3);
    }
    if (procset.GetNH() != 0) TOH.SetPar(procset.GetNH(), xvel);
    if (procset.GetNHdif() != 0) TOHdif.SetPar(procset.GetNHdif(), xvel);
}

namespace {
// One record set of the reading pass with its running record index.
struct Bralec {
    char crka;
    CTerObs* set;
    long index = 0;
};

// A record its set has no row for: the kind is not taken by this network's
// dimension, or the file holds more records than the counting pass found.
[[noreturn]] void ZapisBrezMesta(const Bralec& b, unsigned short dim)
{
    const std::string vrsta = TerObsOpis(b.crka, dim);
    const std::string st = std::to_string(b.index + 1);
    if (b.set == nullptr || b.set->NObs() == 0)
        NivexError(" **** Zapis " + vrsta + " st. " + st + ": zapisov te vrste " + std::to_string(dim) +
                   "-razsezna mreza ne sprejme (*DIM " + std::to_string(dim) + ")!!     *** ");
    NivexError(" **** Zapis " + vrsta + " st. " + st + ": zapisov te vrste je vec, kot jih je prestel " +
               "pregled datoteke (" + std::to_string(b.set->NObs()) + ")!!     *** ");
}
}  // namespace

void CGetObs::ReadCTerObs(CProcSet& procset, CTerObsDir& TODir, CTerObsAngl& TOAngl, CTerObsDir& TOZen,
                          CTerObsCrd& TOCrd, CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3,
                          CTerObsH& TOH, CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec,
                          CTerObsDir& TOAzi, CTerObsPara& TOPara, const std::string& dataFile)
{
    if (procset.GetContPrint() != 0)
        std::cout << " F: ReadCTerObs(... OBS CLASSES ..., " << dataFile << ")" << "\n";
    const unsigned short dim = procset.GetDim();
    const bool d1 = dim == 1;

    // Sets a levelling network does not take stay out of the table, so that
    // their records are refused by name instead of being read into nothing.
    std::array<Bralec, 11> bralci{{{'X', d1 ? static_cast<CTerObs*>(&TOHA) : &TOCrdA},
                                   {'H', &TOH},
                                   {'C', d1 ? nullptr : &TOCrd},
                                   {'S', d1 ? nullptr : &TODir},
                                   {'Z', d1 ? nullptr : &TOZen},
                                   {'A', d1 ? nullptr : &TOAzi},
                                   {'P', d1 ? nullptr : &TOPara},
                                   {'V', d1 ? nullptr : &TOVec},
                                   {'D', d1 ? nullptr : &TODist2},
                                   {'L', d1 ? nullptr : &TODist3},
                                   {'h', &TOHdif}}};
    std::array<Bralec*, 256> poCrki{};
    for (auto& b : bralci) poCrki[static_cast<unsigned char>(b.crka)] = &b;

    std::ifstream in(dataFile);
    if (!in.is_open())
        NivexError(" **** Datoteke s podatki ni mogoce odpreti za branje opazovanj!!     *** ");

    std::string beseda;
    while (BeriBesedo(in, beseda)) {
        if (beseda == "*K") break;
        Bralec* b = poCrki[static_cast<unsigned char>(beseda[0])];
        if (b != nullptr) {
            if (b->set == nullptr || static_cast<unsigned long>(b->index) >= b->set->NObs())
                ZapisBrezMesta(*b, dim);
            b->set->ReadObs(in, b->index);
            ++b->index;
        }
        PreskociVrstico(in);
    }

    // Records the counting pass found but this pass did not would stay empty
    // names and zero values in the model.
    for (const auto& b : bralci)
        if (b.set != nullptr && static_cast<unsigned long>(b.index) < b.set->NObs())
            NivexError(" **** Zapisov " + TerObsOpis(b.crka, dim) + " je prebranih " + std::to_string(b.index) +
                       ", pregled datoteke pa jih je prestel " + std::to_string(b.set->NObs()) +
                       "!!     *** ");

    if (d1)
        TOHA.TestRepeatedPTS();
    else
        TOCrdA.TestRepeatedPTS();

    TOAngl.SetPar(procset.GetCorAng());
    TOAngl.CalcRefStDApr();
    TOH.CalcRefStDApr();
    TOCrd.CalcRefStDApr();
    TOZen.CalcRefStDApr();
    TOAzi.CalcRefStDApr();
    TOPara.CalcRefStDApr();
    TOVec.CalcRefStDApr();
    TODist2.CalcRefStDApr();
    TODist3.CalcRefStDApr();
    TOHdif.CalcRefStDApr();
}

void CGetObs::PrintCTerObs(CProcSet& procset, CTerObsAngl& TOAngl, CTerObsDir& TOZen, CTerObsCrd& TOCrd,
                           CTerObsCrdA& TOCrdA, CTerObsDist& TODist2, CTerObsDist& TODist3, CTerObsH& TOH,
                           CTerObsHA& TOHA, CTerObsHdif& TOHdif, CTerObsVec& TOVec, CTerObsDir& TOAzi,
                           CTerObsPara& TOPara, std::ostream& izhod)
{
    if (procset.GetContPrint() != 0)
        std::cout << " F: PrintCTerObs(... OBS CLASSES ..., ofstream & izhod)" << "\n";

    CTerObs& tocke = procset.GetDim() != 1 ? static_cast<CTerObs&>(TOCrdA) : static_cast<CTerObs&>(TOHA);
    tocke.SetPrintQuant("ALL");
    tocke.PrintObs(izhod, 0);
    if (procset.GetizpisPod() == 0) return;

    auto tabela = [&izhod](CTerObs& s) {
        if (s.NObs() == 0) return;
        s.SetPrintQuant("ALL");
        s.PrintObs(izhod, 0);
    };
    tabela(TOCrd);
    tabela(TOVec);
    if (TOAngl.NObs() != 0) {
        TOAngl.SetPrintQuant("ALL");
        TOAngl.SetPrintAngQuant("ANG");
        TOAngl.PrintObs(izhod, 0);
    }
    tabela(TOZen);
    tabela(TOAzi);
    tabela(TOPara);
    tabela(TODist2);
    tabela(TODist3);
    tabela(TOH);
    tabela(TOHdif);
}
