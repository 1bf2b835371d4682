// Networks adjusted end to end, from the data text to the adjusted values:
// levelling in closed form, the shipped examples against an independent
// adjustment, and the invariants of least squares (solution method, datum,
// iteration).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "matrika/najdim.h"

// A levelling line between two benchmarks, three legs of 1 mm each:
// misclosure 9.997 - 10.000 = -3 mm, so each leg gets +1 mm.
static const std::string kVlak = "*DIM 1\n*D V\n**V A\n**V B\nX A 100.000\nX B 110.000\nX P1 103.0\nX P2 107.0\n"
                                 "h A P1 3.002 1.0\nh P1 P2 4.001 1.0\nh P2 B 2.994 1.0\n*K\n";

TEST(Izravnava, LevellingInClosedForm)
{
    const Izravnava vlak = Izravnaj(kVlak);
    EXPECT_NEAR(vlak.tocke.at("P1")[0], 103.003L, 1e-9L);
    EXPECT_NEAR(vlak.tocke.at("P2")[0], 107.005L, 1e-9L);
    EXPECT_EQ(vlak.tocke.at("A")[0], 100.0L);
    const CGMMSol& s = vlak.run->GMMS;
    // Residuals of 1 mm on one degree of freedom: v'Pv = 3 (mm / sigma)^2,
    // against the two-sided 95 % interval of chi-square with f = 1.
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(std::fabs(s.vvec(i)), 1e-3L, 1e-9L) << i;
    EXPECT_NEAR(s.SoI, std::sqrt(3.0L) * 1e-3L, 1e-9L);
    EXPECT_NEAR(s.gtest, 3.0L, 1e-6L);
    EXPECT_NEAR(s.gtestA, 0.000982069L, 1e-8L);
    EXPECT_NEAR(s.gtestB, 5.023886L, 1e-5L);

    // A loop with one benchmark, legs of 1, 2 and 1 mm: the misclosure
    // 1.000 + 2.004 - 3.000 = +4 mm goes by the variances 1 : 4 : 1, i.e.
    // -2/3, -8/3, +2/3 mm (the last leg is observed backwards).
    const Izravnava zanka = Izravnaj("*DIM 1\n*D V\n**V A\nX A 200.000\nX B 201.0\nX C 203.0\n"
                                     "h A B 1.000 1.0\nh B C 2.004 2.0\nh A C 3.000 1.0\n*K\n");
    EXPECT_NEAR(zanka.tocke.at("B")[0], 201.000L - 0.0006666667L, 1e-9L);
    EXPECT_NEAR(zanka.tocke.at("C")[0], 203.000L + 0.0006666667L, 1e-9L);
    const CGMMSol& z = zanka.run->GMMS;
    // Weights So^2 / sigma^2 with So = 4/3 mm, the mean sigma:
    // v'Pv = So^2 ((2/3)^2 + (8/3)^2 / 4 + (2/3)^2) = So^2 8/3 on f = 1.
    const long double So = 4.0L / 3.0L * 1e-3L;
    EXPECT_NEAR(zanka.run->GMM.So, So, 1e-15L);
    EXPECT_NEAR(z.SoI * z.SoI, So * So * 8.0L / 3.0L, 1e-15L);
    EXPECT_NEAR(z.gtest, 8.0L / 3.0L, 1e-9L);
    // The redundancy numbers of one loop: r_i = sigma_i^2 / sum sigma^2.
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(z.R(i), (i == 1 ? 4.0L : 1.0L) / 6.0L, 1e-12L) << i;
}

// The shipped examples, iterated to convergence, against the independent
// adjustment of the example generator (tests/data/examples_gen/*_adjusted.txt:
// s0, the redundancy, and per point the adjusted values and their a-priori
// standard deviations in mm): coordinates, sigma0 a-posteriori, standard
// deviations, and the redundancy numbers, each in [0, 1], summing to the
// degrees of freedom.  The sparse normal equations are checked so, and every
// dense decomposition (each method on full matrices) gives their adjustment.
TEST(Izravnava, ShippedExamplesAndEveryMethod)
{
    // Levelling, GNSS vectors, plane networks with correlated composed angles,
    // a free one (datum H), also in UTM-size coordinates, and mixed
    // observations, spatial.
    const std::pair<std::string, int> primeri[] = {{"nivelman", 1},      {"vektorji", 3},      {"ravninska_dms", 2},
                                                   {"ravninska_gon", 2}, {"ravninska_utm", 2}, {"mesana", 2},
                                                   {"prostorska", 3}};
    for (const auto& [primer, dim] : primeri) {
        double s0 = 0.0, f = 0.0;
        std::map<std::string, std::vector<double>> ref;  // coordinates, then their sigmas
        for (const std::string& l : Lines(ReadFile(std::string(NIVEX_TEST_DATA) + "/examples_gen/" + primer + "_adjusted.txt"))) {
            if (l.rfind("# s0 ", 0) == 0) s0 = std::stod(l.substr(5));
            if (l.find(" redundancy ") != std::string::npos) f = std::stod(l.substr(l.find(" redundancy ") + 12));
            if (l.empty() || l[0] == '#') continue;
            std::istringstream w(l);
            std::string tocka;
            w >> tocka;
            for (double& e : ref[tocka] = std::vector<double>(2 * dim)) w >> e;
        }
        ASSERT_GT(s0 * f, 0.0) << primer;
        const std::string data = Iteriraj(Primer(primer + ".dat"));
        const Izravnava ns = IzravnajZ(data, "NS", false);
        const CNivex& n = *ns.run;
        SCOPED_TRACE(primer);
        EXPECT_NEAR(n.GMMS.SoI / n.GMM.So, s0, 1e-6);
        ASSERT_EQ(ns.tocke.size(), ref.size());
        for (const auto& [tocka, x] : ns.tocke) {
            const long i = najdiA(dim == 1 ? n.TO.TOHA.PTS : n.TO.TOCrdA.PTS, tocka);
            for (int d = 0; d < dim; ++d) {
                // The reference gives 0.01 mm and 0.001 mm, and s0 to six decimals.
                EXPECT_NEAR(x[d], ref.at(tocka)[d], 1e-5) << tocka << " " << d;
                const long k = n.GMM.iDeltaB(i) + d;
                const double s = n.GMM.iDeltaB(i) < 0 ? 0.0 : 1000.0 * std::sqrt(n.GMMS.SoIIzracun * n.GMMS.Qxx(k, k));
                EXPECT_NEAR(s, s0 * ref.at(tocka)[dim + d], 6e-4 + 1e-6 * ref.at(tocka)[dim + d]) << tocka << " " << d;
            }
        }
        EXPECT_NEAR(n.GMMS.rsum, f, 1e-9);
        for (long i = 0; i < n.GMM.nobs; ++i) EXPECT_TRUE(n.GMMS.R(i) > -1e-12L && n.GMMS.R(i) < 1 + 1e-12L) << i;

        for (const char* m : kVseMetode) {
            SCOPED_TRACE(m);
            const Izravnava iz = IzravnajZ(data, m, true);
            for (const auto& [ime, x] : ns.tocke)
                for (int k = 0; k < dim; ++k) EXPECT_NEAR(iz.tocke.at(ime)[k], x[k], 1e-9L) << ime;
            EXPECT_NEAR(iz.run->GMMS.SoI, n.GMMS.SoI, 1e-12L);
            for (long i = 0; i < n.GMM.nunk; ++i)
                EXPECT_NEAR(iz.run->GMMS.Qxx(i, i), n.GMMS.Qxx(i, i), 1e-9L * std::fabs(n.GMMS.Qxx(i, i))) << i;
        }
    }
}

// Any datum that only removes the datum defect gives the same residuals:
// levelling fixed at one benchmark, free, or held by one minimal constraint;
// a plane network free or held by minimal constraints; its directions alone
// (defect: translation, rotation and scale) free or fitted on two points.
TEST(Izravnava, DatumThatOnlyRemovesTheDefectLeavesObservationsAlone)
{
    std::string smeri;
    for (const std::string& l : Lines(Iteriraj(Primer("ravninska_dms.dat"))))
        if (l.empty() || l[0] != 'D') smeri += l + "\n";
    const struct {
        std::string data, ref;
        std::vector<std::string> drugi;
        int nHdat;  // of the free network
    } primeri[] = {
        {ZNastavitvijo(Primer("nivelman.dat"), "*ITER", "0"), "*D H\n", {"*D V\n**V R12\n", "*D D\n**DH N4\n"}, 1},
        {Iteriraj(Primer("ravninska_dms.dat")), "*D H\n", {"*D D\n**DX GT12\n**DY GT12\n**DS GT12 101\n"}, 3},
        {smeri, "*D H\n", {"*D V\n**V GT12\n**V GT21\n"}, 4},
    };
    for (const auto& p : primeri) {
        const Izravnava ref = Izravnaj(ZDatumom(p.data, p.ref));
        EXPECT_EQ(ref.run->GMM.nHdat, p.nHdat);
        for (const std::string& datum : p.drugi) {
            SCOPED_TRACE(datum);
            const Izravnava iz = Izravnaj(ZDatumom(p.data, datum));
            ASSERT_EQ(iz.run->GMM.nobs, ref.run->GMM.nobs);
            for (long i = 0; i < ref.run->GMM.nobs; ++i)
                EXPECT_NEAR(iz.run->GMMS.vvec(i), ref.run->GMMS.vvec(i), 1e-8L) << i;
            EXPECT_NEAR(iz.run->GMMS.SoI, ref.run->GMMS.SoI, 1e-12L);
        }
    }
}

// The limit ends a run whose corrections are still above the threshold, with
// a warning.  A non-linear network stops once its corrections fall to the
// rounding level of its coordinates, even with threshold 0, where they wobble
// and must not be taken for growth.  With a point three kilometres off its
// corrections grow and the run is refused as diverging, whatever the datum.
TEST(Izravnava, IterationStopsAtTheThresholdOrTheLimitOrDiverges)
{
    const Izravnava lin = Izravnaj(Iteriraj(Primer("nivelman.dat"), "0", "0"));
    EXPECT_EQ(lin.run->nPasses, 1);
    EXPECT_NE(lin.report.find(" #### Iteracija ni skonvergirala v 1 korakih"), std::string::npos);
    const Izravnava nelin = Izravnaj(Iteriraj(Primer("prostorska.dat"), "0", "10"));
    EXPECT_TRUE(nelin.run->nPasses >= 3 && nelin.run->nPasses <= 5) << nelin.run->nPasses;
    EXPECT_LT(nelin.run->GMMS.GetNormX(), 1e-6L);

    const std::string dir = TempDir("razhaja"), staro = "X  101      519960.5120   122310.7920";
    std::string data = Primer("ravninska_dms.dat");
    ASSERT_NE(data.find(staro), std::string::npos);
    data.replace(data.find(staro), staro.size(), "X  101      522960.5120   122310.7920");
    for (const char* datum : {"*D V\n**V GT12\n**V GT21\n", "*D H\n", "*D D\n**DX GT12\n**DY GT12\n**DS GT12 GT21\n"}) {
        WriteFile(dir + "/a.dat", ZDatumom(data, datum));
        const Izid r = RunNivex({"a.dat"}, dir);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find("popravki neznank rastejo"), std::string::npos) << r.out;
        // The usual causes follow on a line of their own.
        EXPECT_NE(r.out.find("priblizne koordinate in opazovanja      *** \n **** Obicajni vzroki: enota kotov (*AU) ni enota "
                             "podatkov; koordinate niso v vrstnem redu (vzhod, sever); priblizne koordinate so dalec od pravih"),
                  std::string::npos);
    }
}

// The seam data snooping needs: the spoiled distance of the example, set
// aside and the network adjusted again from the coordinates of the first
// adjustment, gives the adjustment of a data file without that line; the
// results hold no row of it, and their redundancy numbers still sum to the
// degrees of freedom.
TEST(Izravnava, RecordSetAsideAdjustsAsIfItWereNotThere)
{
    const std::string data = Iteriraj(Primer("ravninska_groba.dat"));
    Izravnava iz = Izravnaj(data);
    CNivex& n = *iz.run;
    const RezOpazovanje* najvecji = nullptr;
    for (const RezOpazovanje& o : n.rez.opazovanja)
        if (najvecji == nullptr || std::fabs(o.w) > std::fabs(najvecji->w)) najvecji = &o;
    ASSERT_TRUE(najvecji != nullptr);
    ASSERT_EQ(najvecji->set, kTODist2);
    ASSERT_TRUE(najvecji->napaka);
    const long zapis = najvecji->zapis;
    const long vrstic = n.GMM.nobs;

    n.TO.TODist2.SetAktiven(zapis, false);
    std::ostringstream nic;
    IzidIzravnave izid;
    Tiho([&] {
        izid = n.Izravnaj(nic);
        n.SetReliab(nic);
    });
    ASSERT_TRUE(izid) << izid.sporocilo;
    EXPECT_TRUE(izid.skonvergirala);
    EXPECT_EQ(n.GMM.nobs, vrstic - 1);
    long double rsum = 0.0L;
    for (const RezOpazovanje& o : n.rez.opazovanja) {
        EXPECT_FALSE(o.set == kTODist2 && o.zapis == zapis);
        rsum += o.r;
    }
    EXPECT_NEAR(rsum, n.rez.globalniTest.prostostne, 1e-9L);

    // The same file without the line of that record.
    std::istringstream in(data);
    std::string brez, vrstica;
    for (long d = 0; std::getline(in, vrstica);)
        if (vrstica.rfind("D ", 0) != 0 || d++ != zapis) brez += vrstica + "\n";
    const Izravnava ref = Izravnaj(brez);
    EXPECT_NEAR(n.GMMS.SoI, ref.run->GMMS.SoI, 1e-9L);
    for (const RezTocka& t : n.rez.tocke)
        for (int d = 0; d < 2; ++d) EXPECT_NEAR(t.koordinate.izr[d], ref.tocke.at(t.ime)[d], 1e-8L) << t.ime;
}

// An adjustment that records set aside leave undetermined is not ended: the
// outcome says why, and the records can come back.
TEST(Izravnava, SettingAsideWhatDeterminesAPointIsAnOutcome)
{
    Izravnava iz = Izravnaj(kVlak);
    CNivex& n = *iz.run;
    std::ostringstream nic;
    n.TO.TOHdif.SetAktiven(0, false);
    n.TO.TOHdif.SetAktiven(1, false);
    IzidIzravnave izid;
    Tiho([&] { izid = n.Izravnaj(nic); });
    EXPECT_FALSE(izid);
    EXPECT_EQ(izid.sporocilo, " **** Tocke brez opazovanj (niso dolocene): P1      *** ");
    n.TO.TOHdif.SetAktiven(0, true);
    Tiho([&] { izid = n.Izravnaj(nic); });
    ASSERT_TRUE(izid) << izid.sporocilo;
    // Two legs from the benchmarks, no redundancy: P1 and P2 take them as observed.
    EXPECT_NEAR(n.rez.tocke[2].koordinate.izr[0], 103.002L, 1e-9L);
    EXPECT_NEAR(n.rez.tocke[3].koordinate.izr[0], 110.000L - 2.994L, 1e-9L);
    EXPECT_EQ(n.rez.globalniTest.prostostne, 0);
}

// The correlation table of a network of more rows than the program forms
// at once (a levelling grid of 9 x 9 points, one held: 80 rows): every row
// is the column of its own unknown (the table is symmetric, its diagonal
// 1.00), and the sparse solution prints the table the full matrices print.
TEST(Izravnava, CorrelationTableOfManyRows)
{
    std::ostringstream d;
    d << "*DIM 1\n*D V\n**V P0\n";
    for (int p = 0; p < 81; ++p) d << "X P" << p << " " << 100 + p % 9 + 0.1 * (p / 9) << "\n";
    for (int p = 0; p < 81; ++p) {
        if (p % 9 < 8) d << "h P" << p << " P" << p + 1 << " " << 1.0 + 0.001 * (p % 5) << " " << 1.0 + 0.1 * (p % 3) << "\n";
        if (p < 72) d << "h P" << p << " P" << p + 9 << " " << 0.1 - 0.002 * (p % 7) << " 1.5\n";
    }
    d << "*K\n";
    auto tabela = [](const std::string& report) {
        std::vector<std::vector<std::string>> t;
        std::istringstream in(report.substr(report.find("KORELACIJE MED NEZNANKAMI")));
        std::string vrstica;
        int crte = 0;
        // The title's underline, the line below the heads, the rows, the
        // closing line.
        while (std::getline(in, vrstica) && crte < 3) {
            if (!vrstica.empty() && vrstica[0] == '-') {
                ++crte;
                continue;
            }
            if (crte != 2 || vrstica.empty()) continue;
            std::istringstream v(vrstica);
            std::vector<std::string> besede;
            for (std::string w; v >> w;) besede.push_back(w);
            t.emplace_back(besede.end() - 80, besede.end());
        }
        return t;
    };
    const auto redka = tabela(Izravnaj(d.str()).report);
    ASSERT_EQ(redka.size(), 80U);
    for (std::size_t i = 0; i < 80; ++i)
        for (std::size_t j = 0; j < 80; ++j) ASSERT_EQ(redka[i][j], i == j ? "1.00" : redka[j][i]) << i << " " << j;
    EXPECT_EQ(tabela(IzravnajZ(d.str(), "CH", true).report), redka);
}
