// Data snooping (*SNOOP): planted gross errors are removed, and nothing else;
// the final adjustment is that of the file without their lines; each
// stopping rule; the results document (BASE.json) says what the search did.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "IzravnavaUtil.h"
#include "funkcije/StudentPor.h"
#include "TestUtil.h"

namespace {
struct Pokvarjena {
    const char* primer;
    // Planted errors: the whole record line as shipped -> as spoiled.
    std::vector<std::pair<std::string, std::string>> napake;
};

// 1 to 3 errors of 7 to 20 standard deviations in distances, directions,
// height differences and vectors.
const Pokvarjena kPokvarjene[] = {
    {"ravninska_groba.dat", {{"D  101    103       1473.2845", "D  101    103       1473.2845"}}},
    {"ravninska_groba.dat",
     {{"D  101    103       1473.2845", "D  101    103       1473.2845"},
      {"S  101    102    165 37 05.15", "S  101    102    165 37 20.15"},
      {"D  102    105       1421.4314", "D  102    105       1421.4714"}}},
    {"ravninska_dms.dat", {{"S  106    102    312 23 42.14", "S  106    102    312 23 30.14"}}},
    {"nivelman.dat",
     {{"h  N2     N3        11.66659", "h  N2     N3        11.67459"},
      {"h  N5     N8        -7.51682", "h  N5     N8        -7.52682"}}},
    {"vektorji.dat", {{"V  G3     G4       8094.3651", "V  G3     G4       8094.3851"}}},
};

// Line numbers (from 1) of the lines that begin with one of the texts.
std::set<long> Vrstice(const std::string& data, const std::vector<std::string>& zacetki)
{
    std::set<long> v;
    long i = 0;
    for (const std::string& l : Lines(data)) {
        ++i;
        for (const std::string& z : zacetki)
            if (l.rfind(z, 0) == 0) v.insert(i);
    }
    return v;
}

std::string BrezVrstic(const std::string& data, const std::set<long>& vrstice)
{
    std::string out;
    long i = 0;
    for (const std::string& l : Lines(data))
        if (vrstice.count(++i) == 0) out += l + "\n";
    return out;
}
}  // namespace

// With either reference variance (*S02): the studentised statistic of a
// one-row record is its a-priori w over the root of the global test of the
// network without it, t = w / s(i) (the next step's statistic), and every
// removal exceeds the critical value of its step.  The levelling network
// with two errors has 7 degrees of freedom: the studentised test (t with 6)
// cannot single them out, only the a-priori one, which the summary's hint
// names.
TEST(Iskanje, RemovesThePlantedErrorsAndEqualsTheFileWithoutThem)
{
    for (const Pokvarjena& p : kPokvarjene)
        for (const char* s02 : {"APRIORI", "APOSTERIORI"}) {
            const bool apriori = s02[2] == 'R';
            const bool zakriti = !apriori && p.napake.size() == 2 && std::string(p.primer) == "nivelman.dat";
            std::string data = ZNastavitvijo(ZNastavitvijo(Primer(p.primer), "*SNOOP", ""), "*S02", s02);
            std::vector<std::string> pokvarjene;
            for (const auto& [prej, potem] : p.napake) {
                const std::size_t k = data.find(prej);
                ASSERT_NE(k, std::string::npos) << p.primer << ": " << prej;
                data.replace(k, prej.size(), potem);
                pokvarjene.push_back(potem);
            }
            const Izravnava iz = Izravnaj(data);
            const RezIskanje& isk = iz.run->rez.iskanje;
            if (zakriti) {
                // Nothing removed, and the summary says why it may be so.
                EXPECT_TRUE(isk.izloceni.empty());
                EXPECT_NE(iz.report.find("\nNAMIG: vec grobih pogreskov se lahko studentiziranemu testu med seboj "
                                         "zakriva (f = 7); ce so a-priori odkloni zanesljivi, poskusite *S02 APRIORI\n"),
                          std::string::npos);
                continue;
            }
            std::set<long> izlocene;
            for (const RezIzlocen& z : isk.izloceni) izlocene.insert(z.vrstica);
            const std::set<long> planted = Vrstice(data, pokvarjene);
            EXPECT_EQ(izlocene, planted) << p.primer << " " << s02;
            EXPECT_EQ(isk.izloceni.size(), planted.size()) << p.primer;
            EXPECT_EQ(isk.razlog, "none_above_critical_value") << p.primer;
            EXPECT_TRUE(iz.run->rez.globalniTest.sprejet) << p.primer;
            for (const RezIzlocen& z : isk.izloceni) {
                EXPECT_GT(std::fabs(z.w), z.kriticna) << p.primer;
                EXPECT_EQ(z.studentiziran, !apriori);
            }
            if (!apriori) {
                const Izravnava a = Izravnaj(ZNastavitvijo(data, "*S02", "APRIORI"));
                ASSERT_EQ(a.run->rez.iskanje.izloceni.size(), isk.izloceni.size()) << p.primer;
                for (std::size_t i = 0; i < isk.izloceni.size(); ++i) {
                    // The next step's global test is that of a quick
                    // adjustment from the current coordinates: to its
                    // linearisation.
                    const real w = a.run->rez.iskanje.izloceni[i].w;
                    if (isk.izloceni[i].vrsta == 'V') continue;
                    EXPECT_NEAR(isk.izloceni[i].w, w / std::sqrt(isk.izloceni[i].statistika), 1e-6 * std::fabs(w))
                        << p.primer << " " << i;
                }
            }
            // The same file without those lines: nothing more to remove, and
            // the same adjustment.
            const Izravnava brez = Izravnaj(BrezVrstic(data, planted));
            EXPECT_TRUE(brez.run->rez.iskanje.izloceni.empty()) << p.primer;
            EXPECT_EQ(brez.run->rez.globalniTest.prostostne, iz.run->rez.globalniTest.prostostne) << p.primer;
            EXPECT_NEAR(brez.run->rez.globalniTest.statistika, iz.run->rez.globalniTest.statistika, 1e-9) << p.primer;
            for (const auto& [ime, x] : iz.tocke)
                for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(x[k], brez.tocke.at(ime)[k], 1e-8) << ime;
            EXPECT_NE(iz.report.find("\nISKANJE GROBIH POGRESKOV:\n"), std::string::npos);
            EXPECT_NE(iz.report.find(apriori ? "\nStatistika zapisa W_apr: " : "\nStatistika zapisa T_stud: "),
                      std::string::npos);
        }
}

TEST(Iskanje, NetworkWithoutErrorsLosesNothingAndPrintsTheSameAdjustment)
{
    // Nothing goes, and the report is that of the run without *SNOOP up to
    // the search section.  The last network has a distance 4 sigma off:
    // |w| = 3.01 > N while the global test accepts.
    const auto doNaslova = [](const std::string& r, const char* naslov) {
        const std::size_t k = r.find(naslov);
        const std::size_t e = k == std::string::npos ? r.size() : r.rfind("\n=", k - 2);
        return r.find_last_not_of('\n', e) + 1;
    };
    std::string nakljucna = ZNastavitvijo(Primer("ravninska_groba.dat"), "*S02", "APRIORI");
    nakljucna.replace(nakljucna.find("103       1473.2845"), 19, "103       1473.2680");
    for (const std::string& data : {Primer("nivelman.dat"), Primer("prostorska.dat"), nakljucna}) {
        const Izravnava z = Izravnaj(ZNastavitvijo(data, "*SNOOP", "")), brez = Izravnaj("#\n" + data);
        EXPECT_TRUE(z.run->rez.iskanje.izloceni.empty());
        const std::size_t a = z.report.find("POVZETEK PODATKOV"), b = brez.report.find("POVZETEK PODATKOV");
        const std::size_t ka = doNaslova(z.report, "ISKANJE GROBIH POGRESKOV:\n"),
                          kb = doNaslova(brez.report, "POVZETEK IZRAVNAVE:\n");
        EXPECT_TRUE(z.report.substr(a, ka - a) == brez.report.substr(b, kb - b));
    }
    EXPECT_NE(Izravnaj(nakljucna).report.find("  ***    14.16"), std::string::npos);
}

TEST(Iskanje, StoppingRules)
{
    std::string data = ZNastavitvijo(Primer("ravninska_groba.dat"), "*SNOOP", "1");
    data.replace(data.find("165 37 05.15"), 12, "165 37 20.15");
    // The limit: one of the two errors.
    Izravnava iz = Izravnaj(data);
    EXPECT_EQ(iz.run->rez.iskanje.izloceni.size(), 1u);
    EXPECT_NE(iz.run->rez.iskanje.konec.find("*SNOOP 1"), std::string::npos);
    // A point fixed by one distance and one direction alone: unchecked,
    // never removed, although it is spoiled.
    data = ZNastavitvijo(Primer("ravninska_groba.dat"), "*SNOOP", "");
    data.replace(data.find("X  106"), 0, "X  107      518667.5500   122445.6600\n");
    data.replace(data.find("S  101    106"), 0, "S  101    107    340 00 00.00   1.0\n");
    data.replace(data.find("D  GT12   101"), 0, "D  101    107       1300.0000   3.00\n");
    iz = Izravnaj(data);
    const RezIskanje& isk = iz.run->rez.iskanje;
    ASSERT_EQ(isk.izloceni.size(), 1u);
    EXPECT_EQ(isk.izloceni[0].tocke, "101 103");
    std::set<std::string> neprevereni;
    for (const RezIzlocen& z : isk.neprevereni) neprevereni.insert(std::string(1, z.vrsta) + z.tocke);
    EXPECT_EQ(neprevereni, (std::set<std::string>{"D101 107", "S101 107"}));
    // No redundancy left: three height differences of two points, two of
    // them spoiled; the second removal would leave none.
    iz = Izravnaj("*DIM 1\n*SNOOP\n*S02 APRIORI\n*D V\n**V A\nX A 100.0\nX B 101.0\nh A B 1.00000 1.0\n"
                  "h A B 1.02000 1.0\nh A B 0.99000 1.0\n*K\n");
    EXPECT_EQ(iz.run->rez.iskanje.izloceni.size(), 1u);
    EXPECT_NE(iz.run->rez.iskanje.konec.find("brez nadstevilnih"), std::string::npos) << iz.run->rez.iskanje.konec;
}

TEST(Povzetek, HintsPointAtMistakesInTheWholeFile)
{
    const char* kEnota = "NAMIG: globalni test je vec kot 100-krat nad zgornjo mejo";
    const char* kIter = "so preveliki za linearizacijo - vklopi iteracijo z *ITER 1";
    // GON observations read as DEG.
    Izravnava iz = Izravnaj(ZNastavitvijo(Primer("ravninska_gon.dat"), "*AU", "DEG"));
    EXPECT_NE(iz.report.find(kEnota), std::string::npos);
    EXPECT_EQ(iz.report.find(kIter), std::string::npos);
    // One pass from coordinates 100 m off.
    std::string data = ZNastavitvijo(Primer("ravninska_dms.dat"), "*ITER", "0");
    data.replace(data.find("520102.9610"), 11, "520202.9610");
    iz = Izravnaj(data);
    EXPECT_NE(iz.report.find(kIter), std::string::npos);
    // The good file: the summary closes the report, without hints, with
    // the unknown keyword among the warnings.
    iz = Izravnaj("*FOO 1\n" + Primer("ravninska_dms.dat"));
    EXPECT_EQ(iz.report.find("NAMIG"), std::string::npos);
    const std::size_t k = iz.report.find("\nPOVZETEK IZRAVNAVE:\n");
    ASSERT_NE(k, std::string::npos);
    EXPECT_NE(iz.report.find("Globalni test modela je SPREJET (stopnja zaupanja 0.950): ", k), std::string::npos);
    EXPECT_NE(iz.report.find("Opozorila:       1\n   NEPOZNAN PARAMETER OBDELAVE -> *FOO (vrstica 1) - prezrt\n", k),
              std::string::npos);
}

// Every value a pass moves starts again from the data file in the final
// adjustment: with velocities estimated in one pass, the network without
// the spoiled distance's line gives the same coordinates, velocities and
// a-posteriori sigma0 as the snooping run that removed it.
TEST(Iskanje, FinalAdjustmentStartsFromTheFilesVelocitiesToo)
{
    std::string data = ZNastavitvijo(ReadFile(std::string(NIVEX_TEST_DATA) + "/golden/hitrosti_ravninska.dat"),
                                     "*ITER", "0");
    const std::string dobra = "D A C 670.8184 2.0 2015.0";
    const std::size_t k = data.find(dobra);
    ASSERT_NE(k, std::string::npos);
    std::string brez = data;
    brez.erase(k, dobra.size() + 1);
    data.replace(k, dobra.size(), "D A C 670.8584 2.0 2015.0");
    const Izravnava isk = Izravnaj(ZNastavitvijo(data, "*SNOOP", "")), ref = Izravnaj(brez);
    ASSERT_EQ(isk.run->rez.iskanje.izloceni.size(), 1u);
    EXPECT_EQ(isk.run->rez.iskanje.izloceni[0].tocke, "A C");
    EXPECT_NEAR(isk.run->rez.globalniTest.SoAposteriori, ref.run->rez.globalniTest.SoAposteriori, 1e-12L);
    ASSERT_EQ(isk.run->rez.tocke.size(), ref.run->rez.tocke.size());
    for (std::size_t i = 0; i < ref.run->rez.tocke.size(); ++i) {
        const RezTocka &a = isk.run->rez.tocke[i], &b = ref.run->rez.tocke[i];
        for (int d = 0; d < 2; ++d) {
            EXPECT_NEAR(a.koordinate.izr[d], b.koordinate.izr[d], 1e-9L) << a.ime;
            EXPECT_NEAR(a.hitrosti.izr[d], b.hitrosti.izr[d], 1e-9L) << a.ime;
            EXPECT_NEAR(a.hitrosti.pop[d], b.hitrosti.pop[d], 1e-9L) << a.ime;
        }
    }
}

namespace {
// The report of the adjustment: from the data summary up to the snooping
// section (or the closing summary), the records' numbers in the tables left
// out (they name the record of the file, which the deleted line shifts).
std::string DelIzravnave(const std::string& r, const char* konec)
{
    std::string out;
    for (const std::string& l : Lines(r.substr(r.find("POVZETEK PODATKOV"), r.find(konec) - r.find("POVZETEK PODATKOV")))) {
        const std::size_t a = l.find_first_not_of(' '), b = l.find(' ', a);
        const bool stevilka = a != std::string::npos && b != std::string::npos &&
                              l.find_first_not_of("0123456789", a) == b;
        out += (stevilka ? l.substr(b) : l) + "\n";
    }
    return out;
}
}  // namespace

// The final adjustment of the snooping is that of the file without the
// removed line, line for line: refraction estimated per station in several
// passes, one coefficient in a single pass with a direction removed, and
// velocities in several passes (the layout of the equations, the pairs of
// the relative ellipses, the coefficients, weights and values alike).  The
// misclosure of a removed zenith distance is computed with the estimated
// coefficient of its station: it is the residual the line gets in the
// adjustment that keeps it with a negligible weight.
TEST(Iskanje, FinalReportEqualsTheFileWithoutTheLineInEveryState)
{
    const struct { const char* primer; const char* iter; std::string dobra, slaba; } primeri[] = {
        {"refrakcija_stat", "1", "Z  K3     S5      92 12 52.62   2.0", "Z  K3     S5      92 13 22.62   2.0"},
        {"refrakcija_single", "0", "S  S3     S5     100 38 09.60", "S  S3     S5     100 38 29.60"},
        {"hitrosti_ravninska", "1", "D A C 670.8184 2.0 2015.0", "D A C 670.8584 2.0 2015.0"}};
    for (const auto& p : primeri) {
        std::string data =
            ZNastavitvijo(ReadFile(std::string(NIVEX_TEST_DATA) + "/golden/" + p.primer + ".dat"), "*ITER", p.iter);
        const std::size_t k = data.find(p.dobra);
        ASSERT_NE(k, std::string::npos) << p.primer;
        std::string brez = data;
        brez.erase(k, data.find('\n', k) + 1 - k);
        data.replace(k, p.dobra.size(), p.slaba);
        const Izravnava isk = Izravnaj(ZNastavitvijo(data, "*SNOOP", "")), ref = Izravnaj(brez);
        ASSERT_EQ(isk.run->rez.iskanje.izloceni.size(), 1u) << p.primer;
        const std::string a = DelIzravnave(isk.report, "\nISKANJE GROBIH POGRESKOV:"),
                          b = DelIzravnave(ref.report, "\nPOVZETEK IZRAVNAVE:");
        const std::size_t d = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
        EXPECT_TRUE(a == b) << p.primer << ", from: " << a.substr(a.rfind('\n', d) + 1, 300);
        if (p.slaba[0] != 'Z') continue;
        std::string tezka = data;
        tezka.replace(tezka.find(p.slaba), p.slaba.size(), p.slaba.substr(0, p.slaba.size() - 3) + "20000.0");
        const Izravnava t = Izravnaj(tezka);
        const RezIzlocen& z = isk.run->rez.iskanje.izloceni[0];
        int najdenih = 0;
        for (const RezOpazovanje& o : t.run->rez.opazovanja)
            if (o.set == z.set && o.zapis == z.zapis) {
                EXPECT_NEAR(z.odstopanje, -o.v, 2e-8L) << p.primer;
                ++najdenih;
            }
        EXPECT_EQ(najdenih, 1) << p.primer;
    }
}

TEST(Iskanje, ResultsDocumentSaysWhatTheSnoopingRemovedAndTheWarnings)
{
    // The three planted errors of the golden example, as its report prints
    // them (the studentised statistic t_stud = w / s(i) with the a-priori w
    // -12.314, -6.739, -5.642 of the steps, its p against the critical value
    // of the largest of n tests, gross error, sigma0 and global test after
    // the removal, misclosure against the final adjustment); two lines put
    // before the file move every record two lines down, the first of them an
    // unknown keyword, warned with its line.
    const std::string dir = TempDir("iskanje_json");
    WriteFile(dir + "/m.dat", "*NEZNANA\n*JSON\n" + ReadFile(std::string(NIVEX_TEST_DATA) + "/golden/iskanje_ravninska.dat"));
    ASSERT_EQ(RunNivex({"m.dat"}, dir).status, 0);
    const nlohmann::json d = nlohmann::json::parse(ReadFile(dir + "/m.json"));
    const nlohmann::json& s = d.at("snooping");
    EXPECT_TRUE(s.at("enabled"));
    EXPECT_EQ(s.at("removed"), 3);
    EXPECT_EQ(s.at("stop_reason"), "nobena statistika zapisa ne presega kriticne vrednosti");
    EXPECT_EQ(s.at("stop"), "none_above_critical_value");
    EXPECT_EQ(s.at("statistic_kind"), "studentized");
    EXPECT_TRUE(s.at("not_tested").empty());
    EXPECT_TRUE(d.at("global_test").at("accepted"));
    const real sek = 180.0L / 3.14159265358979323846L * 3600.0L;
    struct Korak {
        const char* vrsta;
        std::vector<std::string> tocke;
        long vrstica;
        real w, groba, So, test, odstopanje, enota;
    };
    const Korak koraki[] = {{"S", {"101", "102"}, 48, -12.314L, 15.36L, 2.573L, 4.2337L, 17.11L, sek},
                            {"D", {"101", "103"}, 76, -6.739L, 32.59L, 1.867L, 2.4433L, 32.36L, 1000.0L},
                            {"D", {"102", "105"}, 80, -5.642L, 34.65L, 1.198L, 1.1075L, 34.65L, 1000.0L}};
    ASSERT_EQ(s.at("steps").size(), 3u);
    const long f = d.at("global_test").at("dof").get<long>();
    for (std::size_t i = 0; i < 3; ++i) {
        const nlohmann::json& z = s.at("steps")[i];
        const Korak& k = koraki[i];
        EXPECT_EQ(z.at("kind"), k.vrsta);
        EXPECT_EQ(z.at("points").get<std::vector<std::string>>(), k.tocke);
        EXPECT_EQ(z.at("line"), k.vrstica);
        EXPECT_EQ(z.at("statistic_kind"), "studentized");
        const real t = k.w / std::sqrt(k.test);
        EXPECT_NEAR(z.at("statistic").get<double>(), t, 2e-3);
        // t with f - 1 degrees of freedom of the network before the removal
        // (3 - i records more than the final one).
        const long fi = f + static_cast<long>(3 - i);
        EXPECT_NEAR(z.at("p_value").get<double>() / StudentPorFC2(t, fi - 1), 1, 2e-3);
        EXPECT_LT(z.at("p_value").get<double>(), 1 - std::pow(0.95, 1.0 / 40));
        EXPECT_NEAR(z.at("gross_error").get<double>() * k.enota, k.groba, 5e-3);
        EXPECT_NEAR(z.at("sigma0_aposteriori").get<double>() * 1000.0, k.So, 5e-4);
        EXPECT_NEAR(z.at("global_test_statistic").get<double>(), k.test, 5e-5);
        EXPECT_NEAR(z.at("misclosure").get<double>() * k.enota, k.odstopanje, 5e-3);
    }
    // The last test: n records of the final network, Sidak's critical value
    // of t with f - 1 degrees of freedom.
    const long n = s.at("tests").get<long>();
    EXPECT_GT(n, 30);
    EXPECT_NEAR(s.at("level").get<double>(), 0.95, 1e-12);
    EXPECT_NEAR(StudentPorFC2(s.at("critical_value").get<double>(), f - 1), 1 - std::pow(0.95L, 1.0L / n), 1e-9);
    ASSERT_EQ(d.at("warnings").size(), 1u);
    EXPECT_EQ(d.at("warnings")[0].at("text"), "NEPOZNAN PARAMETER OBDELAVE -> *NEZNANA (vrstica 1) - prezrt");
    EXPECT_EQ(d.at("warnings")[0].at("line"), 1);
}

namespace {
// The record tests, the residuals of every row of a kind other than the
// composed angles (formed anew round a removed direction) and the global
// test of an adjustment, each by record set, line and component.
struct Stanje {
    std::map<std::tuple<int, long, int>, long double> t;
    RezGlobalniTest g;
};
Stanje StanjeIzravnave(CNivex& n)
{
    Stanje s;
    for (const TestZapisa& t : n.TestiZapisov()) {
        const long v = n.Zapis(t.set, t.zapis).vrstica;
        s.t[{t.set, v, 0}] = t.w;
        s.t[{t.set, v, 1}] = t.groba;
        s.t[{t.set, v, 2}] = t.T;
    }
    for (std::size_t r = 0; r < n.GMM.vrstice.size(); ++r) {
        const VrsticaModela& m = n.GMM.vrstice[r];
        if (m.set != kTOSetov && m.set != kTOAngl && n.TO.Set(m.set).Aktiven(m.zapis))
            s.t[{100 + m.set, n.Zapis(m.set, m.zapis).vrstica, m.komponenta}] = n.GMMS.vvec(static_cast<long>(r));
    }
    s.g = n.rez.globalniTest;
    return s;
}
}  // namespace

TEST(Iskanje, LowRankStepEqualsTheAdjustmentWithoutTheRecord)
{
    // Every record kind, one or two removals: the low-rank step of the
    // converged adjustment against the adjustment of the file with the
    // lines commented out (the line numbers stay).
    const std::string ravninska = Iteriraj(Primer("ravninska_groba.dat"), "1e-12");
    const std::string kov = ReadFile(std::string(NIVEX_SOURCE_DIR) + "/tests/data/golden/kovariance_iskanje.dat");
    const std::string blok = "Q 2 V A B V A C  7.01e-06 1.96e-06 -2.97e-06 2e-6 1e-6 0  5.3e-06 2.35e-06 1e-6 "
                             "1.5e-6 0.5e-6\n  1.09e-05 0 1e-6 2e-6 ";
    const std::vector<std::pair<std::string, std::vector<std::string>>> primeri = {
        {Primer("nivelman.dat"), {"h  N5     N8"}},
        {Primer("vektorji.dat"), {"V  G3     G4"}},
        {Primer("vektorji.dat"), {"C  REF1", "V  G2     G5"}},
        // A vector of a covariance block of two: the other keeps its part.
        {kov, {"V A B "}},
        {ravninska, {"D  102    105"}},
        {ravninska, {"S  101    103", "D  101    103", "S  103    102"}},
    };
    for (const auto& [data, zapisi] : primeri) {
        std::string brez = "\n" + data;
        for (std::size_t k; (k = brez.find("\n*SNOOP")) != std::string::npos;) brez[k + 1] = '#';
        Izravnava iz = Izravnaj(brez);
        for (const std::string& z : zapisi) {
            const std::size_t k = brez.find("\n" + z);
            ASSERT_NE(k, std::string::npos) << z;
            brez = brez.substr(0, k + 1) + "#" + brez.substr(k + 1);
            if (const std::size_t b = brez.find(blok); z == "V A B " && b != std::string::npos)
                brez.replace(b, blok.size(), "Q 1 V A C\n ");
            long vrstica = 1 + static_cast<long>(std::count(brez.begin(), brez.begin() + static_cast<long>(k) + 1, '\n'));
            bool izlocen = false;
            for (const TestZapisa& t : iz.run->TestiZapisov())
                if (iz.run->Zapis(t.set, t.zapis).vrstica == vrstica) {
                    izlocen = static_cast<bool>(iz.run->IzlociZapis(t.set, t.zapis));
                    break;
                }
            ASSERT_TRUE(izlocen) << z;
            // A plane network: the step is exact for the model linearised
            // at the adjustment, so the reference is one pass from there.
            std::string od = brez;
            if (data == ravninska) {
                od.clear();
                for (const std::string& l : Lines(brez)) {
                    std::istringstream in(l);
                    std::string x, ime;
                    in >> x >> ime;
                    const auto t = iz.tocke.find(ime);
                    if (x != "X" || t == iz.tocke.end()) {
                        od += l + "\n";
                        continue;
                    }
                    std::ostringstream v;
                    v << std::fixed << std::setprecision(9) << "X " << ime << " " << t->second[0] << " " << t->second[1];
                    od += v.str() + "\n";
                }
                od = ZNastavitvijo(od, "*ITER", "0");
            }
            const Izravnava ref = Izravnaj(od);
            const Stanje a = StanjeIzravnave(*iz.run), b = StanjeIzravnave(*ref.run);
            ASSERT_EQ(a.t.size(), b.t.size()) << z;
            for (const auto& [kljuc, x] : a.t)
                EXPECT_NEAR(x, b.t.at(kljuc), 1e-8 * std::max(1.0L, std::fabs(x)))
                    << z << ": set " << std::get<0>(kljuc) << " line " << std::get<1>(kljuc) << " #" << std::get<2>(kljuc);
            EXPECT_EQ(a.g.prostostne, b.g.prostostne) << z;
            EXPECT_NEAR(a.g.SoAposteriori, b.g.SoAposteriori, 1e-8 * b.g.SoAposteriori) << z;
            EXPECT_NEAR(a.g.zgornja, b.g.zgornja, 1e-12) << z;
            EXPECT_EQ(a.g.sprejet, b.g.sprejet) << z;
        }
    }
}

namespace {
// A seeded levelling grid of m x m points 10 m apart in height steps,
// height differences between neighbours with sigma 1 mm (times s) and
// normal noise of 1 mm, the first point fixed; errors (mm) planted on the
// height differences of the given numbers.
std::string Mreza(unsigned seed, int m, real s = 1, const std::map<int, real>& napake = {})
{
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const auto sum = [&] { return std::sqrt(-2 * std::log(1 - u(g))) * std::cos(6.283185307179586 * u(g)); };
    std::ostringstream d;
    d << std::fixed << std::setprecision(5) << "*DIM 1\n*SNOOP\n*D V\n**V T0\n";
    const auto H = [m](int i) { return 100.0L + 0.37L * (i % m) + 0.21L * (i / m); };
    for (int i = 0; i < m * m; ++i) d << "X T" << i << " " << H(i) << "\n";
    int k = 0;
    for (int i = 0; i < m * m; ++i)
        for (const int j : {i + 1, i + m}) {
            if (j >= m * m || (j == i + 1 && j % m == 0)) continue;
            const auto f = napake.find(k++);
            const real e = sum() + (f == napake.end() ? 0.0L : f->second);
            d << "h T" << i << " T" << j << " " << H(j) - H(i) + e / 1000 << " " << static_cast<double>(s) << "\n";
        }
    d << "*K\n";
    return d.str();
}
}  // namespace

// Clean networks lose a record in about the level's share of them (the
// largest of n tests at *PGTEST 0.95), with either reference variance; a
// large network keeps no blunder because its global test accepts.
TEST(Iskanje, CleanNetworksRateAndBlundersUnderAnAcceptedGlobalTest)
{
    for (const char* s02 : {"APOSTERIORI", "APRIORI"}) {
        int zizlocitvijo = 0;
        for (unsigned seed = 1; seed <= 100; ++seed)
            if (!Izravnaj(ZNastavitvijo(Mreza(seed, 5), "*S02", s02)).run->rez.iskanje.izloceni.empty()) ++zizlocitvijo;
        EXPECT_LE(zizlocitvijo, 10) << s02;
    }
    const std::map<int, real> napake = {{920, 9.0L}, {1300, -9.0L}};
    const std::string data = Mreza(9, 30, 1, napake);
    std::string bs = data;
    bs.replace(bs.find("*SNOOP\n"), 7, "#\n");
    const Izravnava brez = Izravnaj(bs), z = Izravnaj(data);
    EXPECT_TRUE(brez.run->rez.globalniTest.sprejet) << brez.run->rez.globalniTest.statistika;
    std::set<long> izlocene;
    for (const RezIzlocen& r : z.run->rez.iskanje.izloceni) izlocene.insert(r.vrstica);
    const long prva = 4 + 900 + 1;  // the line of height difference 0
    EXPECT_EQ(izlocene, (std::set<long>{prva + 920, prva + 1300}));
    // n: every height difference, each checked by others.
    EXPECT_NE(z.report.find("Kriticna vrednost najvecjega od n = 1738 testov"), std::string::npos);
}

// A global test below its lower bound removes nothing: deviations four times
// too large without errors lose nothing, and the planted errors of a network
// with deviations twice too large go, and nothing after them; both get the
// hint that the a-priori deviations look too large.  A global test above
// with nothing beyond the critical value gets the other hint.
TEST(Iskanje, GlobalTestBelowItsLowerBoundRemovesNothing)
{
    const char* kSpodnja = "NAMIG: globalni test je pod spodnjo mejo - a-priori standardni odkloni so videti preveliki";
    const char* kZgornja = "NAMIG: globalni test je nad zgornjo mejo, a noben zapis ne presega kriticne vrednosti";
    for (const unsigned seed : {3u, 4u}) {
        const Izravnava cista = Izravnaj(Mreza(seed, 5, 4));
        EXPECT_TRUE(cista.run->rez.iskanje.izloceni.empty());
        EXPECT_EQ(cista.run->rez.iskanje.razlog, "global_test_below_lower_bound");
        EXPECT_NE(cista.report.find(kSpodnja), std::string::npos);
        const Izravnava z = Izravnaj(Mreza(seed, 5, 2, {{7, 30.0L}, {21, -25.0L}}));
        std::set<long> izlocene;
        for (const RezIzlocen& r : z.run->rez.iskanje.izloceni) izlocene.insert(r.vrstica);
        EXPECT_EQ(izlocene, (std::set<long>{4 + 25 + 1 + 7, 4 + 25 + 1 + 21})) << seed;
        EXPECT_EQ(z.run->rez.iskanje.razlog, "global_test_below_lower_bound") << seed;
        EXPECT_LT(z.run->rez.globalniTest.statistika, z.run->rez.globalniTest.spodnja);
        EXPECT_NE(z.report.find(kSpodnja), std::string::npos);
        EXPECT_EQ(z.report.find(kZgornja), std::string::npos);
    }
    // Deviations half as large as the noise: nothing stands out.
    const Izravnava z = Izravnaj(Mreza(3, 5, 0.5L));
    EXPECT_TRUE(z.run->rez.iskanje.izloceni.empty());
    EXPECT_GT(z.run->rez.globalniTest.statistika, z.run->rez.globalniTest.zgornja);
    EXPECT_NE(z.report.find(kZgornja), std::string::npos);
}
