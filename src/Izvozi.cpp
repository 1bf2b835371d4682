#include "src/Izvozi.h"

#include <iostream>
#include <iterator>
#include <utility>

#include "funkcije/Besedila.h"
#include "src/CGDatum.h"
#include "src/CGMM.h"
#include "src/CNVX2GMT.h"
#include "src/CNVX2HTML.h"
#include "src/CNVX2JSON.h"
#include "src/CNVX2OPT2.h"
#include "src/CNVX2STR.h"
#include "src/CProcSet.h"
#include "src/CRezultati.h"
#include "src/CTerObsZbirka.h"
#include "src/NivexAux.h"

const nlohmann::ordered_json& IzvozVhod::Dokument() const
{
    if (!dokument_)
        dokument_ = std::make_shared<nlohmann::ordered_json>(CNVX2JSON(rez, TO, procset, gdatum).Dokument(dataFile));
    return *dokument_;
}

namespace {
void PisiGMT(const IzvozVhod& v, std::ostream& report)
{
    const CProcSet& procset = v.procset;
    const CTerObsZbirka& TO = v.TO;
    const unsigned short cont = procset.GetContPrint();
    const unsigned short Dim = procset.GetDim();
    Naslov(report, B(Besedilo::NaslovGMT), procset.GetizpisRez());
    CNVX2GMT NVX2GMT;
    NVX2GMT.SetContPrint(cont);
    NVX2GMT.SetDim(Dim);
    NVX2GMT.kodiranje = TO.kodiranje;
    // A levelling network has no plane coordinates to draw.
    if (Dim <= 1) return;
    const std::pair<const char*, const CTerObs*> opazovanja[] = {
        {"_CRD.TXT", &TO.TOCrd},  {"_DIR.TXT", &TO.TODir}, {"_AZI.TXT", &TO.TOAzi}, {"_D2.TXT", &TO.TODist2},
        {"_D3.TXT", &TO.TODist3}, {"_ZEN.TXT", &TO.TOZen}, {"_VEC.TXT", &TO.TOVec}, {"_H.TXT", &TO.TOH},
        {"_DH.TXT", &TO.TOHdif}};
    NVX2GMT.SetGMTFile(v.baseName, "_PTN.TXT");
    NVX2GMT.PrintPTName(TO.TOCrdA, report);
    for (std::size_t j = 0; j < std::size(opazovanja); ++j) {
        if (opazovanja[j].second->NObs() == 0) continue;
        NVX2GMT.SetGMTFile(v.baseName, opazovanja[j].first);
        NVX2GMT.PrintOBS(TO.TOCrdA, *opazovanja[j].second, report);
    }
    NVX2GMT.SetGMTFile(v.baseName, "_GROBE.TXT");
    NVX2GMT.PrintGrobe(TO.TOCrdA, TO, v.rez, report);
    NVX2GMT.SetGMTFile(v.baseName, "_CCORR.TXT");
    NVX2GMT.PrintCRDCorr(TO.TOCrdA, v.rez, report);
    NVX2GMT.SetGMTFile(v.baseName, "_ABSE.TXT");
    NVX2GMT.PrintAbsEll(TO.TOCrdA, v.rez, report);
    NVX2GMT.SetGMTFile(v.baseName, "_RELE.TXT");
    NVX2GMT.PrintRelEll(v.rez, report);
    if (procset.GetXVel() != 0) {
        NVX2GMT.SetGMTFile(v.baseName, "_XVEL.TXT");
        NVX2GMT.PrintXVel(TO.TOCrdA, v.rez, report);
    }
    if (cont != 0) std::cout << "\n";
}

void PisiSTR(const IzvozVhod& v, std::ostream& report)
{
    const CProcSet& procset = v.procset;
    const char datum = v.gdatum.GetGDatum();
    if (datum != 'D' && datum != 'H') {
        // The settings section announced the file: the report says why it
        // is missing.
        const char* opozorilo = B(Besedilo::OpozoriloBrezSTR);
        NivexWarning(opozorilo);
        report << "\n" << opozorilo << "\n\n";
        return;
    }
    const unsigned short Dim = procset.GetDim();
    Naslov(report, B(Besedilo::NaslovSTR), procset.GetizpisRez());
    CNVX2STR NVX2STR;
    NVX2STR.SetContPrint(procset.GetContPrint());
    NVX2STR.SetDimensions(Dim);
    NVX2STR.SetSTRFile(v.baseName, "_STR.TXT");
    if (Dim == 1) NVX2STR.PrintSTrans_1D(v.TO.TOHA, v.GMM, v.rez, report);
    else if (Dim == 2) NVX2STR.PrintSTrans_2D(v.TO.TOCrdA, v.GMM, v.rez, report);
    else if (Dim == 3) NVX2STR.PrintSTrans_3D(v.TO.TOCrdA, v.GMM, v.rez, report);
}

void PisiOPT2(const IzvozVhod& v, std::ostream& report)
{
    Naslov(report, B(Besedilo::NaslovSTR), v.procset.GetizpisRez());
    CNVX2OPT2 NVX2OPT2;
    NVX2OPT2.SetContPrint(v.procset.GetContPrint());
    NVX2OPT2.SetOPT2File(v.baseName, "_OPT2.TXT");
    NVX2OPT2.PrintOptim2(v.GMM, report);
}

void PisiJSON(const IzvozVhod& v, std::ostream& report)
{
    CNVX2JSON(v.rez, v.TO, v.procset, v.gdatum).PrintJSON(v.baseName + ".json", v.Dokument(), report);
}

void PisiGeoJSON(const IzvozVhod& v, std::ostream& report)
{
    CNVX2JSON(v.rez, v.TO, v.procset, v.gdatum).PrintGeoJSON(v.baseName + ".geojson", report);
}

void PisiCSV(const IzvozVhod& v, std::ostream& report)
{
    CNVX2JSON(v.rez, v.TO, v.procset, v.gdatum).PrintCSV(v.baseName + ".csv", report);
}

void PisiHTML(const IzvozVhod& v, std::ostream& report)
{
    NVX2PrintHTML(v.baseName + ".html", v.Dokument(), v.rez, v.datum, report);
}
}  // namespace

const std::vector<Izvoz>& Izvozi()
{
    static const std::vector<Izvoz> izvozi = {
        {"*GMT", nullptr, [](const CProcSet& p) { return p.GetizrisGMT() != 0; }, PisiGMT},
        {"*STR", "_STR.TXT", [](const CProcSet& p) { return p.GetizrisSTR() != 0; }, PisiSTR, true},
        {"*OPT2", "_OPT2.TXT", [](const CProcSet& p) { return p.GetizrisOPT2() != 0; }, PisiOPT2, true},
        {"*JSON", ".json", [](const CProcSet& p) { return p.IzdelaJSON(); }, PisiJSON},
        {"*GEOJSON", ".geojson", [](const CProcSet& p) { return p.IzdelaGeoJSON(); }, PisiGeoJSON},
        {"*CSV", ".csv", [](const CProcSet& p) { return p.IzdelaCSV(); }, PisiCSV},
        {"*HTML", ".html", [](const CProcSet& p) { return p.IzdelaHTML(); }, PisiHTML},
    };
    return izvozi;
}

void IzvoziPisi(const IzvozVhod& vhod, std::ostream& report, const std::function<void()>& poModelu)
{
    const std::vector<Izvoz>& izvozi = Izvozi();
    std::size_t modelni = 0;
    for (std::size_t k = 0; k < izvozi.size(); ++k)
        if (izvozi[k].model) modelni = k + 1;
    for (std::size_t k = 0; k < izvozi.size(); ++k) {
        if (k == modelni && poModelu) poModelu();
        if (izvozi[k].vklopljen(vhod.procset)) izvozi[k].pisi(vhod, report);
    }
    if (modelni == izvozi.size() && poModelu) poModelu();
}
