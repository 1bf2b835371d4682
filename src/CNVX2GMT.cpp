#include "src/CNVX2GMT.h"

#include <iomanip>
#include <iostream>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "funkcije/Besedila.h"
#include "src/CTerObs.h"
#include "src/CTerObsZbirka.h"
#include "src/CTerObsCrdA.h"
#include "src/NivexAux.h"

bool NVX2OdpriDatoteko(std::ofstream& f, const std::string& name, std::ostream& report)
{
    std::string napaka;
    if (name.size() > NVX2MaxIme) {
        // A shortened name would write some other file than the one asked for.
        napaka = BesediloF(Besedilo::OpozoriloImeDatotekePredolgo, NVX2MaxIme, name.c_str());
    } else {
        f.open(name, std::ios::out | std::ios::trunc);
        if (f.is_open()) return true;
        napaka = BesediloF(Besedilo::OpozoriloDatotekeNiMogoceOdpreti, name.c_str());
    }
    // The report is what the user keeps: it must not claim a file that is not there.
    NivexWarning(napaka);
    report << "\n" << napaka << "\n";
    return false;
}

void NVX2Stevec(unsigned long n) { std::cout << std::setw(7) << n << "\b\b\b\b\b\b\b" << std::flush; }

std::vector<std::array<unsigned, 2>> NVX2Zarki(unsigned imen)
{
    if (imen == 2) return {{0, 1}};
    if (imen == 3) return {{0, 1}, {0, 2}};
    if (imen == 4) return {{0, 1}, {2, 3}};
    return {};
}

long NVX2VrsticaZarka(const CTerObsZbirka& TO, TerObsSet set, long zapis, std::size_t zarek)
{
    if (set == kTOAngl) {
        const std::array<long, 2> d = TO.TOAngl.Smeri(zapis);
        if (zarek < d.size() && d[zarek] >= 0) return TO.TODir.Vrstica(d[zarek]);
    }
    return TO.Set(set).Vrstica(zapis);
}

namespace {
void Stevilo(std::ostream& f, real v, int width, int decimals)
{
    f << std::fixed << std::setprecision(decimals) << std::setw(width) << v;
}
}  // namespace

void CNVX2GMT::Sled(const char* text) const
{
    if (contprint != 0) std::cout << text << std::flush;
}

void CNVX2GMT::SetContPrint(int flag)
{
    if (flag != 0) std::cout << "\n" << "C: CNVX2GMT:" << "\n" << " F: SetContPrint(int " << flag << ")" << "\n";
    contprint = static_cast<unsigned short>(flag != 0);
}

void CNVX2GMT::SetDim(int d)
{
    if (contprint != 0) std::cout << " F: SetDim(int " << d << ")" << "\n";
    dim = static_cast<unsigned short>(d);
}

void CNVX2GMT::SetGMTFile(const std::string& base, const std::string& suffix)
{
    if (contprint != 0) std::cout << " F: SetGMTFile(char* " << base << ", char* " << suffix << ")" << "\n";
    gmtfile = base + suffix;
}

std::string CNVX2GMT::Ime(const std::string& ime) const { return NVX2Utf8(ime, kodiranje); }

bool CNVX2GMT::Odpri(std::ofstream& f, std::ostream& report, const char* label, unsigned long count, const char* word)
{
    if (!NVX2OdpriDatoteko(f, gmtfile, report)) {
        Sled("\n");
        return false;
    }
    report << "\n" << label << std::setw(10) << count << std::setw(10) << word << gmtfile << "]" << "\n";
    return true;
}

void CNVX2GMT::Koordinati(std::ostream& f, const CTerObsCrdA& TOCrdA, long i) const
{
    Stevilo(f, TOCrdA.OBS(i, 0), 14, ndec);
    Stevilo(f, TOCrdA.OBS(i, 1), 14, ndec);
}

void CNVX2GMT::PoTockah(std::ostream& f, const CTerObsCrdA& TOCrdA, const CRezultati& rez, bool hitrosti,
                        bool prazneVrstice, const std::function<void(long, const RezBlok&)>& ostanek) const
{
    unsigned long st = 0;
    for (long i = 0; i < static_cast<long>(TOCrdA.PTS.nrow()) && i < static_cast<long>(rez.tocke.size()); ++i) {
        const RezTocka& t = rez.tocke[static_cast<std::size_t>(i)];
        const RezBlok& b = hitrosti ? t.hitrosti : t.koordinate;
        if (b.neznanka < 0) {
            if (prazneVrstice) f << "\n";
            continue;
        }
        if (contprint != 0) NVX2Stevec(++st);
        Koordinati(f, TOCrdA, i);
        ostanek(i, b);
    }
    Sled("\n");
}

void CNVX2GMT::PrintPTName(const CTerObsCrdA& TOCrdA, std::ostream& report)
{
    Sled(" F: PrintPTName(CTerObsCrdA&) -> PT#:");
    std::ofstream f;
    const unsigned long n = TOCrdA.PTS.nrow();
    if (!Odpri(f, report, B(Besedilo::IzpisGMTTocke), n, B(Besedilo::IzpisEnotaTock))) return;
    for (unsigned long i = 0; i < n; ++i) {
        const long p = static_cast<long>(i);
        if (contprint != 0) NVX2Stevec(i + 1);
        Koordinati(f, TOCrdA, p);
        f << "  8 0 25 ML " << Ime(TOCrdA.PTS(p, 0)) << "\n";
    }
    Sled("\n");
}

void CNVX2GMT::PrintOBS(const CTerObsCrdA& TOCrdA, const CTerObs& TO, std::ostream& report)
{
    if (contprint != 0)
        std::cout << " F: PrintOBS(CTerObsCrdA&, OBSCLASS&) -> " << gmtfile << "\n" << "    OBS#:" << std::flush;
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTOpazovanja), TO.nobs, B(Besedilo::IzpisEnotaOpazovanj))) return;
    // The first point of a name in list order, as every lookup of the program.
    std::unordered_map<std::string, long> tocka;
    for (long i = 0; i < static_cast<long>(TOCrdA.PTS.nrow()); ++i) tocka.emplace(TOCrdA.PTS(i, 0), i);
    const bool dvoTockovno = TO.PTS.ncol() >= 2;
    for (long r = 0; r < static_cast<long>(TO.nobs); ++r) {
        if (contprint != 0) NVX2Stevec(static_cast<unsigned long>(r) + 1);
        const auto t1 = tocka.find(TO.PTS(r, 0));
        // The reader refuses records of points not in the list; nothing to draw otherwise.
        if (t1 == tocka.end()) continue;
        if (dvoTockovno) {
            const auto t2 = tocka.find(TO.PTS(r, 1));
            if (t2 == tocka.end()) continue;
            f << ">" << "\n";
            Koordinati(f, TOCrdA, t1->second);
            f << "\n";
            Koordinati(f, TOCrdA, t2->second);
            f << "\n";
        } else {
            Koordinati(f, TOCrdA, t1->second);
            f << "\n";
        }
    }
    if (dvoTockovno) f << ">" << "\n";
    Sled("\n");
}

void CNVX2GMT::PrintCRDCorr(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report)
{
    Sled(" F: PrintCRDCorr(CTerObsCrdA&, CGMM&, CGMMSol&) -> CrdCorr#:");
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTPopravki), TOCrdA.PTS.nrow(), B(Besedilo::IzpisEnotaPopravkov))) return;
    // A point without unknowns keeps its place as an empty line.
    // The total correction, from the data file's approximate coordinates to
    // the adjusted ones (in one pass the correction of that pass).
    PoTockah(f, TOCrdA, rez, false, true, [&](long i, const RezBlok& b) {
        const std::size_t t = static_cast<std::size_t>(i);
        const bool z = t < rez.zacetne.size();
        Stevilo(f, (z ? b.izr[0] - rez.zacetne[t][0] : b.pop[0]) * 100.0L, 9, 2);
        Stevilo(f, (z ? b.izr[1] - rez.zacetne[t][1] : b.pop[1]) * 100.0L, 9, 2);
        f << "  0.0 0.0 0.0   " << Ime(TOCrdA.PTS(i, 0)) << "\n";
    });
}

void CNVX2GMT::PrintAbsEll(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report)
{
    Sled(" F: PrintAbsEll(CTerObsCrdA&, CGMM&, CGMMSol&) -> AbsEll#:");
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTAbsolutneElipse), TOCrdA.PTS.nrow(),
               B(Besedilo::IzpisEnotaAbsolutnihElips))) return;
    PoTockah(f, TOCrdA, rez, false, false, [&](long i, const RezBlok& b) {
        f << "  0.0 0.0   ";
        Stevilo(f, b.a * 100.0L, 10, ndec);
        Stevilo(f, b.b * 100.0L, 10, ndec);
        Stevilo(f, b.theta, 7, 1);
        f << "  " << Ime(TOCrdA.PTS(i, 0)) << "\n";
    });
}

void CNVX2GMT::PrintRelEll(const CRezultati& rez, std::ostream& report)
{
    Sled(" F: PrintRelEll(CRelEll&) -> RelEll#:");
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTRelativneElipse), rez.relativne.size(),
               B(Besedilo::IzpisEnotaRelativnihElips))) return;
    for (std::size_t i = 0; i < rez.relativne.size(); ++i) {
        const RezRelElipsa& e = rez.relativne[i];
        if (contprint != 0) NVX2Stevec(i + 1);
        Stevilo(f, e.sredina[0], 14, ndec);
        Stevilo(f, e.sredina[1], 14, ndec);
        f << " 0.0 0.0 ";
        Stevilo(f, e.a * 100.0L, 10, ndec);
        Stevilo(f, e.b * 100.0L, 10, ndec);
        Stevilo(f, e.theta, 7, 1);
        f << "  " << Ime(e.od) << "-" << Ime(e.doTocke) << "\n";
    }
    Sled("\n");
}

void CNVX2GMT::PrintXVel(const CTerObsCrdA& TOCrdA, const CRezultati& rez, std::ostream& report)
{
    Sled(" F: PrintXVel(CTerObsCrdA&, CGMM&, CGMMSol&) -> XVel#:");
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTHitrosti), TOCrdA.PTS.nrow(), B(Besedilo::IzpisEnotaHitrosti))) return;
    PoTockah(f, TOCrdA, rez, true, false, [&](long i, const RezBlok& b) {
        Stevilo(f, TOCrdA.VELA(i, 0) * 100.0L, 9, 2);
        Stevilo(f, TOCrdA.VELA(i, 1) * 100.0L, 9, 2);
        Stevilo(f, b.a * 100.0L, 10, 2);
        Stevilo(f, b.b * 100.0L, 10, 2);
        Stevilo(f, b.theta, 7, 1);
        f << "  " << Ime(TOCrdA.PTS(i, 0)) << "\n";
    });
}

void CNVX2GMT::PrintGrobe(const CTerObsCrdA& TOCrdA, const CTerObsZbirka& TO, const CRezultati& rez,
                          std::ostream& report)
{
    Sled(" F: PrintGrobe(CTerObsCrdA&, CRezultati&) -> GROBE#:");
    // The records once each: flagged rows of one record (the coordinates of
    // a vector) give one line, and the removed records follow.
    struct Crta {
        TerObsSet set;
        long zapis;
        char vrsta;
        real w;
        const char* kaj;
        // The flagged record's w of the table, the removed one's record
        // statistic of the snooping (t_stud or w_apr).
        Besedilo oblika;
    };
    std::vector<Crta> crte;
    std::set<std::pair<unsigned, long>> videni;
    for (const RezOpazovanje& o : rez.opazovanja)
        if (o.napaka && videni.insert({o.set, o.zapis}).second)
            crte.push_back({o.set, o.zapis, o.vrsta, o.w, B(Besedilo::GMTOznaceno), Besedilo::GMTOdsekGrobe});
    for (const RezIzlocen& z : rez.iskanje.izloceni)
        crte.push_back({z.set, z.zapis, z.vrsta, z.w, B(Besedilo::GMTIzloceno),
                        z.studentiziran ? Besedilo::GMTOdsekIzlocenStud : Besedilo::GMTOdsekIzloceni});
    std::ofstream f;
    if (!Odpri(f, report, B(Besedilo::IzpisGMTGrobe), crte.size(), B(Besedilo::IzpisEnotaOpazovanj))) return;
    std::unordered_map<std::string, long> tocka;
    for (long i = 0; i < static_cast<long>(TOCrdA.PTS.nrow()); ++i) tocka.emplace(TOCrdA.PTS(i, 0), i);
    for (const Crta& c : crte) {
        const CTerObs& set = TO.Set(c.set);
        const std::vector<std::array<unsigned, 2>> zarki = NVX2Zarki(kTerObsVrste[c.set].imen);
        for (std::size_t z = 0; z < zarki.size(); ++z) {
            const auto [a, b] = zarki[z];
            const auto t1 = tocka.find(set.GetPTS(c.zapis, a)), t2 = tocka.find(set.GetPTS(c.zapis, b));
            if (t1 == tocka.end() || t2 == tocka.end()) continue;
            f << "> "
              << BesediloF(c.oblika, c.vrsta, Ime(set.GetPTS(c.zapis, a)).c_str(),
                           Ime(set.GetPTS(c.zapis, b)).c_str(), NVX2VrsticaZarka(TO, c.set, c.zapis, z), c.w, c.kaj)
              << "\n";
            Koordinati(f, TOCrdA, t1->second);
            f << "\n";
            Koordinati(f, TOCrdA, t2->second);
            f << "\n";
        }
    }
    Sled("\n");
}
