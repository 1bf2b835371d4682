// The design of a network (*NACRT): values computed from the coordinates,
// its precision and reliability against an adjustment of error-free
// observations with the a-priori variance, the unchecked observations and
// the targets, and the refusal of "?" outside a design.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "funkcije/KotnePretvorbe.h"
#include "src/FECEF.h"
#include "src/FIskanje.h"
#include "src/FNacrt.h"
#include "src/FTestiZapisov.h"

namespace fs = std::filesystem;

namespace {
std::vector<std::string> Besede(const std::string& l)
{
    std::istringstream s(l);
    std::vector<std::string> w;
    for (std::string x; s >> x;) w.push_back(x);
    return w;
}

std::string Oblika(const char* f, long double x)
{
    char b[64];
    std::snprintf(b, sizeof b, f, static_cast<double>(x));
    return b;
}

// An angle as the data file writes it in the unit, to well below a
// micro-arc-second.
std::vector<std::string> Kot(long double rad, const std::string& enota)
{
    if (enota == "GON") return {Oblika("%.13f", rad * 200.0L / kotne::PI)};
    const long double st = rad * 180.0L / kotne::PI;
    if (enota == "DEG") return {Oblika("%.13f", st)};
    const long double s = std::round(st * 3600.0L * 1e8L) / 1e8L;
    const long d = static_cast<long>(s / 3600.0L), m = static_cast<long>((s - d * 3600.0L) / 60.0L);
    return {std::to_string(d), std::to_string(m), Oblika("%.8f", s - d * 3600.0L - m * 60.0L)};
}

// The data text with the value words of every record replaced by the values
// the run holds (a design: the computed ones).
std::string ZVrednostmi(const std::string& data, const CNivex& n)
{
    std::vector<std::string> vrstice = Lines(data);
    const std::string& enota = n.procset.GetAngUnit();
    for (unsigned s = 0; s < kTOSetov; ++s) {
        const TerObsVrsta& v = kTerObsVrste[s];
        if (!v.beri || v.vrednosti == TerObsVrednosti::Tocka || !TerObsSprejme(v, n.procset.GetDim())) continue;
        const CTerObs& set = n.TO.Set(static_cast<TerObsSet>(s));
        for (long i = 0; i < static_cast<long>(set.NObs()); ++i) {
            std::vector<std::string> w = Besede(vrstice.at(static_cast<std::size_t>(set.Vrstica(i) - 1)));
            std::size_t p = 1 + v.imen;
            std::vector<std::string> nove;
            if (TerObsKotna(v)) nove = Kot(set.GetOBS(i, 0), enota);
            else if (v.crka == 'V' && n.procset.GetECEF()) {
                // Geocentric baselines: the local values rotated back, d = R'v.
                const ZasukECEF R = ECEFZasuk(n.procset.GetECEFSirina(), n.procset.GetECEFDolzina());
                for (int k = 0; k < 3; ++k) {
                    long double d = 0.0L;
                    for (int j = 0; j < 3; ++j) d += R[j][k] * set.GetOBS(i, j);
                    nove.push_back(Oblika("%.9f", d));
                }
            } else
                for (long k = 0; k < static_cast<long>(set.OBS.ncol()); ++k) nove.push_back(Oblika("%.9f", set.GetOBS(i, k)));
            const std::size_t stare = w.at(p) == "?" ? 1 : TerObsKotna(v) && enota == "DMS" ? 3 : nove.size();
            w.erase(w.begin() + static_cast<long>(p), w.begin() + static_cast<long>(p + stare));
            w.insert(w.begin() + static_cast<long>(p), nove.begin(), nove.end());
            std::string l;
            for (const std::string& x : w) l += x + " ";
            vrstice[static_cast<std::size_t>(set.Vrstica(i) - 1)] = l;
        }
    }
    std::string out;
    for (const std::string& l : vrstice) out += l + "\n";
    return out;
}

// Every precision and reliability number of the results, one decimal
// beyond the report's print.
std::vector<std::string> Stevila(const CRezultati& rez)
{
    std::vector<std::string> s;
    for (const RezTocka& t : rez.tocke) {
        const RezBlok& b = t.koordinate;
        for (int k = 0; k < b.dim; ++k) s.push_back(t.ime + " sig " + Oblika("%.5f", b.sig[k]));
        if (b.dim > 1) s.push_back(t.ime + " ab " + Oblika("%.5f", b.a) + " " + Oblika("%.5f", b.b));
        if (b.dim > 1 && b.a - b.b > 1e-5L) s.push_back(t.ime + " th " + Oblika("%.3f", b.theta));
        if (b.dim == 3)
            for (int k = 0; k < 3; ++k) s.push_back(t.ime + " S " + Oblika("%.5f", b.S[k]));
    }
    for (const RezRelElipsa& e : rez.relativne)
        s.push_back(e.od + "-" + e.doTocke + " " + Oblika("%.5f", e.a) + " " + Oblika("%.5f", e.b));
    for (const RezOpazovanje& o : rez.opazovanja) {
        const auto mala = [&](long double x) { return Oblika("%.3f", IskanjeMala(o.vrsta, rez.kotnaEnota, x)); };
        s.push_back(std::string(1, o.vrsta) + std::to_string(o.zapis) + " " + mala(o.sig) + " " + Oblika("%.4f", o.r) +
                    " " + mala(o.nab) + " " + Oblika("%.4f", o.lam) + " " + mala(o.sv));
    }
    return s;
}

std::string Ime(const NacrtOpazovanje& o) { return std::string(1, o.vrsta) + "  " + o.tocke; }

std::string BrezVrstic(const std::string& data, const std::string& kljuc)
{
    std::string out;
    for (const std::string& l : Lines(data))
        if (Besede(l).empty() || Besede(l)[0] != kljuc) out += l + "\n";
    return out;
}

// The networks the design is checked on: the shipped examples and the
// feature examples that adjust.
std::vector<fs::path> Mreze()
{
    std::vector<fs::path> m;
    for (const auto& d : {std::string(NIVEX_SOURCE_DIR) + "/examples", std::string(NIVEX_TEST_DATA) + "/golden"})
        for (const auto& e : fs::directory_iterator(d)) {
            fs::path p = e.path(), st = p;
            if (p.extension() != ".dat") continue;
            st.replace_extension(".status");
            if (fs::exists(st) && ReadFile(st.string()).rfind("0", 0) != 0) continue;
            // A design needs every point's coordinates: not one declared by its name alone.
            bool samoIme = false;
            for (const std::string& l : Lines(ReadFile(p.string()))) {
                const std::vector<std::string> w = Besede(l.substr(0, l.find('#')));
                samoIme = samoIme || (w.size() == 2 && w[0] == "X");
            }
            if (samoIme) continue;
            m.push_back(p);
        }
    return m;
}
}  // namespace

// The design's precision and reliability are those of the same network
// adjusted with *S02 APRIORI from the design's computed values written back
// as the observations (least squares, no snooping, full matrices).
TEST(Nacrt, EqualsAprioriAdjustmentOfErrorFreeObservations)
{
    for (const fs::path& p : Mreze()) {
        SCOPED_TRACE(p.filename().string());
        const std::string data = ReadFile(p.string());
        const std::string nacrtData = ZNastavitvijo(data, "*NACRT", "");
        const Izravnava nacrt = Izravnaj(nacrtData);
        ASSERT_TRUE(nacrt.run->procset.Nacrt());
        std::string brez = BrezVrstic(BrezVrstic(ZVrednostmi(nacrtData, *nacrt.run), "*SNOOP"), "*NACRT");
        brez = ZNastavitvijo(ZNastavitvijo(ZNastavitvijo(brez, "*S02", "APRIORI"), "*ROBSOLV", "MNK"), "*MATFULL", "1");
        const Izravnava izr = Izravnaj(brez);
        EXPECT_LT(NajvecjaRazlika(nacrt, izr), 1e-7L);
        EXPECT_EQ(Stevila(nacrt.run->rez), Stevila(izr.run->rez));
        EXPECT_FALSE(nacrt.run->rez.opazovanja.empty());
        EXPECT_TRUE(nacrt.run->rez.zanke.Prazno());   // its values close every loop
    }
}

// "?" values of every kind against closed forms from the coordinates, with
// instrument and target heights: directions from 0 at the first of the
// setup, horizontal and slope distances, zenith distances, azimuths, height
// differences, vectors and observed coordinates.
TEST(Nacrt, QuestionMarkValuesAreComputedFromTheCoordinates)
{
    const Izravnava iz = Izravnaj(R"(*DIM 3
*AU GON
*NACRT
*D V
**V A
**V B
**V C
X A 1000 1000 100
X B 1800 1100 120
X C 1300 1900 90
X P 1400 1400 150
A B P ? 1.0
h B P ? 1.0
V C P ? ? ? 2 2 2
C P ? ? ? 10 10 10
*IH A 1.5
*TH 1.6
*TH P 1.2
S A B ? 0.3
S A C ? 0.3
S A P ? 0.3
D A P ? 2
L A P 642.0 2
Z A P ? 0.5
*IH B 1.3
S B A ? 0.3
S B P ? 0.3
L B P ? 2
Z B P ? 0.5
)");
    const CTerObsZbirka& TO = iz.run->TO;
    const std::map<std::string, std::array<long double, 3>> X = {
        {"A", {1000, 1000, 100}}, {"B", {1800, 1100, 120}}, {"C", {1300, 1900, 90}}, {"P", {1400, 1400, 150}}};
    const auto d = [&](const char* a, const char* b, int k) { return X.at(b)[k] - X.at(a)[k]; };
    const auto smer = [&](const char* a, const char* b) { return std::atan2(d(a, b, 0), d(a, b, 1)); };
    const auto krog = [](long double x) { return x < 0 ? x + 2 * static_cast<long double>(kotne::PI) : x; };
    const auto s = [&](const char* a, const char* b) { return std::hypot(d(a, b, 0), d(a, b, 1)); };
    EXPECT_NEAR(TO.TOAzi.GetOBS(0, 0), krog(smer("B", "P")), 1e-15);
    EXPECT_NEAR(TO.TOHdif.GetOBS(0, 0), 30.0L, 1e-12);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(TO.TOVec.GetOBS(0, k), d("C", "P", k), 1e-12);
        EXPECT_NEAR(TO.TOCrd.GetOBS(0, k), X.at("P")[k], 1e-12);
    }
    EXPECT_EQ(TO.TODir.GetOBS(0, 0), 0.0L);
    EXPECT_NEAR(TO.TODir.GetOBS(1, 0), krog(smer("A", "C") - smer("A", "B")), 1e-15);
    EXPECT_NEAR(TO.TODir.GetOBS(2, 0), krog(smer("A", "P") - smer("A", "B")), 1e-15);
    EXPECT_EQ(TO.TODir.GetOBS(3, 0), 0.0L);
    EXPECT_NEAR(TO.TODir.GetOBS(4, 0), krog(smer("B", "P") - smer("B", "A")), 1e-15);
    EXPECT_NEAR(TO.TODist2.GetOBS(0, 0), s("A", "P"), 1e-12);
    // Slope and zenith from the instrument 1.5 (1.3) m above its mark to
    // the target 1.2 m above P's mark (at B, a new setup, on the mark); the
    // given 642.0 is ignored.
    const long double hA = d("A", "P", 2) + 1.2L - 1.5L, hB = d("B", "P", 2) - 1.3L;
    EXPECT_NEAR(TO.TODist3.GetOBS(0, 0), std::hypot(s("A", "P"), hA), 1e-12);
    EXPECT_NEAR(TO.TODist3.GetOBS(1, 0), std::hypot(s("B", "P"), hB), 1e-12);
    EXPECT_NEAR(TO.TOZen.GetOBS(0, 0), std::atan2(s("A", "P"), hA), 1e-15);
    EXPECT_NEAR(TO.TOZen.GetOBS(1, 0), std::atan2(s("B", "P"), hB), 1e-15);
    // Zero misclosures: the one pass leaves the coordinates where they are.
    EXPECT_NEAR(iz.tocke.at("P")[2], 150.0L, 1e-9);
    EXPECT_NE(iz.report.find(BesediloF(Besedilo::OpozoriloNacrtPrezrte, 1UL)), std::string::npos);
}

// A point fixed by one direction and one distance: the design names both as
// unchecked; the targets get their verdicts and the run ends with status 0.
// A "?" outside a design is refused with its line.
TEST(Nacrt, UncheckedObservationsTargetsAndRefusal)
{
    const std::string data = ReadFile(std::string(NIVEX_TEST_DATA) + "/golden/nacrt_ravninska.dat");
    const Izravnava iz = Izravnaj(data);
    const NacrtOcena n = NacrtOceni(iz.run->rez, iz.run->procset, iz.run->TO);
    ASSERT_EQ(n.nepreverjena.size(), 2u);
    EXPECT_EQ(Ime(n.nepreverjena[0]), "D  T1 201");
    EXPECT_EQ(n.nepreverjena[0].vrstice, "31");
    EXPECT_EQ(Ime(n.nepreverjena[1]), "S  T1 T2 201");
    EXPECT_EQ(n.nepreverjena[1].vrstice, "20, 21");
    EXPECT_TRUE(n.polosDosezena);
    EXPECT_EQ(n.polosTocka, "201");
    EXPECT_FALSE(n.rDosezen);
    EXPECT_EQ(n.sibka.size(), 2u);
    EXPECT_LT(n.najmanjsiR.vrednost, 1e-9L);
    // The direction to 201 in the middle of its set: both its angles keep a
    // redundancy from the other directions, yet nothing checks it.
    std::vector<std::string> v = Lines(data);
    std::swap(v.at(18), v.at(20));
    std::string sredina;
    for (const std::string& l : v) sredina += l + "\n";
    const Izravnava s = Izravnaj(sredina);
    const NacrtOcena ns = NacrtOceni(s.run->rez, s.run->procset, s.run->TO);
    ASSERT_EQ(ns.nepreverjena.size(), 2u);
    EXPECT_EQ(Ime(ns.nepreverjena[1]), "S  T1 T3 201");
    EXPECT_EQ(ns.nepreverjena[1].vrstice, "18, 19");
    // The directions judged from the station's block of residual cofactors
    // are those the record tests (one alternative per direction) leave
    // unchecked.
    std::vector<long> testi;
    for (const TestZapisa& t : TestiZapisov(s.run->TO, s.run->GMM, s.run->GMMS, kTODir))
        if (!t.preverjen || t.r < kNacrtNepreverjeno) testi.push_back(t.zapis);
    EXPECT_EQ(s.run->rez.nepreverjeneSmeri, testi);
    EXPECT_EQ(testi.size(), 1u);
    // In degrees, minutes and seconds a "?" stands for all three words.
    const Izravnava dms = Izravnaj(ZNastavitvijo(data, "*AU", "DMS"));
    ASSERT_EQ(dms.run->TO.TODir.NObs(), iz.run->TO.TODir.NObs());
    for (long i = 0; i < static_cast<long>(dms.run->TO.TODir.NObs()); ++i)
        EXPECT_NEAR(dms.run->TO.TODir.GetOBS(i, 0), iz.run->TO.TODir.GetOBS(i, 0), 1e-15);
    // Compact matrices would leave every redundancy number 0: a design keeps them full.
    const Izravnava kompaktne = Izravnaj(ZNastavitvijo(data, "*MATFULL", "0"));
    EXPECT_EQ(NacrtOceni(kompaktne.run->rez, kompaktne.run->procset, kompaktne.run->TO).nepreverjena.size(), 2u);

    const std::string dir = TempDir("nacrt");
    WriteFile(dir + "/m.dat", ZNastavitvijo(data, "*NACRT", "0.001 0.01"));
    Izid r = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(r.status, 0);
    const std::string nvx = ReadFile(dir + "/m.NVX");
    EXPECT_NE(nvx.find(BesediloF(Besedilo::NacrtCiljPolosOcena, 0.001, B(Besedilo::NacrtNiDosezen), 0.0073)),
              std::string::npos);
    EXPECT_NE(nvx.find(BesediloF(Besedilo::NacrtNepreverjeno, "D  T1 201", "31")), std::string::npos);

    WriteFile(dir + "/m.dat", BrezVrstic(data, "*NACRT"));
    r = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(BesediloF(Besedilo::NapakaVprasajBrezNacrta,
                                   BesediloF(Besedilo::OznakaZapisaVrstica, B(Besedilo::VrstaOpisSmeri), 17L).c_str(),
                                   1u, 17L)),
              std::string::npos)
        << r.out;
    // Nor is a point without coordinates: a design computes from them.
    const std::size_t x = data.find("\nX  201 ") + 1;
    WriteFile(dir + "/m.dat", data.substr(0, x) + "X  201" + data.substr(data.find('\n', x)));
    r = RunNivex({"m.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(BesediloF(Besedilo::NapakaNacrtBrezKoordinat, "201")), std::string::npos) << r.out;
}
