// Model frame: numbering of the unknowns, datum defects, sizes, the data
// summary, the reference deviations, the memory report, the weights and the
// refusals of bad input.
#include <gtest/gtest.h>

#include <fstream>

#include "GMMEqTestMreza.h"
#include "src/FGMM.h"

namespace {

constexpr long double kTol = 1e-12L;

std::vector<int> Stolpec(const matrika<std::int32_t>& a)
{
    std::vector<int> v;
    for (unsigned long k = 0; k < a.size(); ++k) v.push_back(a(static_cast<long>(k)));
    return v;
}

// A square of four plane points with directions at A and one distance.
const std::string kRavnina =
    "*DIM 2\n*D H\n"
    "X A 0 0\nX B 100 0\nX C 100 100\nX D 0 100\n"
    "S A B 0 0 0 1\nS A C 45 0 0 1\nS A D 90 0 0 1\n"
    "D A B 100.0 1\n";

// Levelling network: A fixed, B and C new.
const std::string kNivelman =
    "*DIM 1\n*D V\n**V A\n"
    "X A 100.000\nX B 101.000\nX C 102.500\n"
    "H C 102.4950 4.0\nH A 100.0020 3.0\n"
    "h A B 1.0100 2.0\nh B C 1.4900 1.0\n";

struct Otrok {
    Izid izid;
    std::string report;
};

// DataSum and DataSet of a network in a child process, the report to a file.
Otrok ModelVOtroku(const std::string& besedilo)
{
    const std::string rep = TempDir("gmm_otrok") + "/mreza.NVX";
    Izid r = RunChild([&] {
        GMMEqTestMreza m(besedilo);
        std::ofstream report(rep);
        m.GMM.DataSum(report);
        m.GMM.DataSet();
        m.Enacbe();
    });
    return {r, ReadFile(rep)};
}

// Unit cofactors of the datum rows, as the datum builders set them.
void KofaktorjiDatuma(CGMM& GMM)
{
    for (long r = GMM.nobs; r < static_cast<long>(GMM.Qll.nrow()); ++r) GMM.Qll(r, 1) = 1.0L;
}

std::string TockaNapaka(const std::string& ime)
{
    std::string s = "  *****  TOCKA:" + std::string(10 - ime.size(), ' ') + ime + "  NE OBSTAJA V SEZNAMU TOCK!!!! *****";
    return "\n\n  *****  NAPAKA" + std::string(42, ' ') + "*****\n" + s + "\n\n";
}

}  // namespace

TEST(CGMM, DatumDefectsOfTheListedNetworks)
{
    {   // Plane, free network, directions and a distance: translations and rotation remain.
        GMMEqTestMreza m(kRavnina);
        m.Model();
        EXPECT_EQ(m.GMM.nHdat, 3);
        EXPECT_EQ(m.GMM.tx + m.GMM.ty + m.GMM.wz, 3);
        EXPECT_EQ(m.GMM.m2, 0);
        EXPECT_EQ(m.GMM.nobs, 3);   // two composed angles and a distance
        EXPECT_EQ(m.GMM.nunk, 8);
        EXPECT_EQ(m.GMM.Hdat.nrow(), 3u);
        EXPECT_EQ(m.GMM.Hred.nrow(), 3u);
        EXPECT_EQ(m.GMM.Hred.ncol(), 8u);
        EXPECT_EQ(m.GMM.Bmat.nrow(), 6u);   // observations, then the rows of H(red)
        EXPECT_EQ(m.GMM.Bmat.ncol(), 8u);
        EXPECT_EQ(m.GMM.fvec.nrow(), 6u);
        EXPECT_EQ(m.GMM.Qll.nrow(), 6u);
        EXPECT_EQ(m.GMM.Qll.ncol(), 3u);
    }
    {   // One azimuth fixes the rotation.
        GMMEqTestMreza m(kRavnina + "A A B 90 0 0 3\n");
        m.Model();
        EXPECT_EQ(m.GMM.nHdat, 2);
        EXPECT_EQ(m.GMM.wz, 0);
    }
    {   // The SVD solution takes no constraint rows.
        GMMEqTestMreza m("*NUMSOLV SVD\n" + kRavnina);
        m.Model();
        EXPECT_EQ(m.GMM.nHdat, 3);
        EXPECT_EQ(m.GMM.Hdat.nrow(), 0u);
        EXPECT_EQ(m.GMM.Bmat.nrow(), 3u);
    }
    {   // Spatial: one observed height and distances leave tx, ty, wx, wy, wz.
        GMMEqTestMreza m("*DIM 3\n*D H\nX A 0 0 100\nX B 100 0 110\nX C 0 100 120\n"
                         "H A 100.001 1\nL A B 100.5 1\nL B C 141.7 1\n");
        m.Model();
        EXPECT_EQ(m.GMM.nHdat, 5);
        EXPECT_EQ(m.GMM.tz + m.GMM.m2 + m.GMM.m3, 0);
        EXPECT_EQ(m.GMM.tx + m.GMM.ty + m.GMM.wx + m.GMM.wy + m.GMM.wz, 5);
    }
    {   // Levelling: one defect, whatever is observed.
        GMMEqTestMreza m("*DIM 1\n*D H\nX A 100\nX B 101\nh A B 1.0 1\nH A 100.0 1\nH B 101.0 1\n");
        m.Model();
        EXPECT_EQ(m.GMM.nHdat, 1);
        EXPECT_EQ(m.GMM.Bmat.nrow(), 4u);
    }
    {   // Minimal constraints: the D rows follow the observations; H is sized too.
        GMMEqTestMreza m("*DIM 2\n*D D\n**DX A\n**DY A\n**DS A B\n" + kRavnina.substr(kRavnina.find("X A")));
        m.Model();
        EXPECT_EQ(m.gdatum.nD, 3);
        EXPECT_EQ(m.GMM.Ddat.nrow(), 3u);
        EXPECT_EQ(m.GMM.Ddat.ncol(), 8u);
        EXPECT_EQ(m.GMM.Hdat.nrow(), 3u);
        EXPECT_EQ(m.GMM.Bmat.nrow(), 6u);
    }
}

TEST(CGMM, NumberingWithFixedPointsVelocitiesAndRefraction)
{
    {   // Two fixed points out of five: the others in list order, Dim apart.
        GMMEqTestMreza m("*DIM 2\n*D V\n**V P2\n**V P4\n"
                         "X P1 0 0\nX P2 100 0\nX P3 100 100\nX P4 0 100\nX P5 50 50\n"
                         "D P1 P2 100 1\nD P3 P4 100 1\nD P5 P1 70.7 1\n");
        m.Model();
        EXPECT_EQ(Stolpec(m.GMM.iDeltaB), (std::vector<int>{0, -1, 2, -1, 4}));
        EXPECT_EQ(m.GMM.nunkcrd, 6);
        EXPECT_EQ(m.GMM.nptsunk, 3);
        EXPECT_EQ(m.GMM.nunk, 6);
        EXPECT_EQ(m.GMM.nredund, 3 - 6);
        EXPECT_EQ(m.GMM.iDeltaBV.size(), 0u);
        EXPECT_TRUE(m.GMM.Qlldiag);
    }
    {   // Velocities of points 2 and 4 follow the eight coordinate unknowns.
        GMMEqTestMreza m("*DIM 2\n*D H\n*XVT 2000.0\n"
                         "X A 0 0 0\nX B 100 0 1\nX C 100 100 0\nX D 0 100 1\n"
                         "D A B 100 1 2001\nD B C 100 1 2001\nD C D 100 1 2002\n");
        m.Model();
        EXPECT_EQ(Stolpec(m.GMM.iDeltaB), (std::vector<int>{0, 2, 4, 6}));
        EXPECT_EQ(Stolpec(m.GMM.iDeltaBV), (std::vector<int>{-1, 8, -1, 10}));
        EXPECT_EQ(m.GMM.nunkvel, 4);
        EXPECT_EQ(m.GMM.nunk, 12);
        EXPECT_EQ(m.GMM.Bmat.ncol(), 12u);
    }
    {   // Levelling: one velocity per point; a fixed point may carry one.
        GMMEqTestMreza m("*DIM 1\n*D V\n**V A\n*XVT 2000.0\nX A 100 1\nX B 101 0\nX C 102 1\n"
                         "h A B 1.0 1 2001\nh B C 1.0 1 2001\n");
        m.Model();
        EXPECT_EQ(Stolpec(m.GMM.iDeltaB), (std::vector<int>{-1, 0, 1}));
        EXPECT_EQ(Stolpec(m.GMM.iDeltaBV), (std::vector<int>{2, -1, 3}));
        EXPECT_EQ(m.GMM.nunkvel, 2);
        EXPECT_EQ(m.GMM.nunk, 4);
    }
    const std::string kZenit = "*DIM 3\n*D H\nX A 0 0 100\nX B 100 0 110\nX C 0 100 120\n"
                               "Z A B 84 0 0 3\nZ A C 78 0 0 3\nZ B C 90 0 0 3\nL A B 100.5 1\n";
    {   // One refraction coefficient per station of the zenith distances.
        GMMEqTestMreza m("*KTYP STAT\n*K_REF 0.14\n" + kZenit);
        m.Model();
        ASSERT_EQ(m.GMM.nunkkref, 2);
        EXPECT_EQ(m.GMM.PTSk(0), "A");
        EXPECT_EQ(m.GMM.PTSk(1), "B");
        EXPECT_EQ(Stolpec(m.GMM.iDeltaBk), (std::vector<int>{9, 10}));
        EXPECT_EQ(m.GMM.kRefEst(0), m.procset.kRef);
        EXPECT_EQ(m.GMM.kRefEst(1), m.procset.kRef);
        EXPECT_NEAR(static_cast<double>(m.procset.kRef), 0.14, 1e-15);
        EXPECT_EQ(m.GMM.nunk, 11);
    }
    {   // One for the whole network.
        GMMEqTestMreza m("*KTYP SINGLE\n" + kZenit);
        m.Model();
        ASSERT_EQ(m.GMM.nunkkref, 1);
        EXPECT_EQ(Stolpec(m.GMM.iDeltaBk), (std::vector<int>{9}));
        EXPECT_EQ(m.GMM.kRefEst(0), m.procset.kRef);
    }
    {   // Correlated composed angles make the band non-diagonal.
        GMMEqTestMreza m("*CORKOT 1\n" + kRavnina);
        m.Model();
        EXPECT_EQ(m.TOAngl.NumCorr, 1u);
        EXPECT_FALSE(m.GMM.Qlldiag);
        GMMEqTestMreza n("*CORKOT 0\n" + kRavnina);
        n.Model();
        EXPECT_TRUE(n.GMM.Qlldiag);
    }
}

TEST(CGMM, DataSummaryAndReferenceDeviations)
{
    GMMEqTestMreza m(kNivelman);
    m.Model();
    // sigma0 = (3.5 mm * 2 + 1.5 mm * 2) / 4
    EXPECT_NEAR(static_cast<double>(m.GMM.So), 0.0025, 1e-15);
    EXPECT_EQ(m.GMM.mmFact, 1000.0L);
    const std::string pricakovano =
        "STEVILO NEZNANK IN OPAZOVANJ:\n"
        "-----------------------------\n"
        "Stevilo tock v mrezi               :         3\n"
        "      # danih tock                 :         1\n"
        "      # novih tock                 :         2\n"
        "\n"
        "Stevilo vseh neznank v mrezi       :         2\n"
        "      # koordinatnih neznank       :         2\n"
        "      # neznank hitrosti           :         0\n"
        "      # koeficientov refrakcije    :         0\n"
        "\n"
        "Stevilo vseh opazovanj v mrezi     :         4\n"
        "      # opazovanih koordinat       :         0\n"
        "      # opazovanih visin           :         2\n"
        "      # opazovanih komp. vektorjev :         0\n"
        "      # opazovanih 2R dolzin       :         0\n"
        "      # opazovanih 3R dolzin       :         0\n"
        "      # sestavljenih kotov         :         0\n"
        "      # azimutov / smernih kotov   :         0\n"
        "      # zenitnih razdalj           :         0\n"
        "      # opazovanih visinskih razlik:         2\n"
        "\n"
        "Stevilo nadstevilnih opazovanj     :         2\n"
        "\n"
        "REFERENCNI STANDARDNI ODKLONI:\n"
        "------------------------------\n"
        "      # opazovanih koordinat       :         -.- mm\n"
        "      # opazovanih visin           :         3.5 mm\n"
        "      # opazovanih komp. vektorjev :         -.- mm\n"
        "      # opazovanih 2R dolzin       :         -.- mm\n"
        "      # opazovanih 3R dolzin       :         -.- mm\n"
        "      # sestavljenih kotov         :         -.- ''\n"
        "      # azimutov / smernih kotov   :         -.- ''\n"
        "      # kotov med smermi           :         -.- ''\n"
        "      # zenitnih razdalj           :         -.- ''\n"
        "      # opazovanih visinskih razlik:         1.5 mm\n"
        "\n"
        "Referencni standardni odklon apriori:        2.5\n\n\n";
    EXPECT_EQ(m.povzetek.str(), pricakovano);
    EXPECT_NEAR(static_cast<double>(m.GMM.roSec), 206264.80624709636, 1e-9);

    // Angular sets in milligon: one angle of sigma sqrt(3^2 + 4^2) = 5 mgon;
    // its set's mean runs over both deviation columns (the second is 0 here).
    GMMEqTestMreza g("*DIM 2\n*AU GON\n*D H\nX A 0 0\nX B 100 0\nX C 100 100\n"
                     "S A B 0.0 3.0\nS A C 50.0 4.0\nA A B 100.0 2.0\nD A B 100.0 1.5\nD A C 141.4 2.5\n");
    g.Model();
    EXPECT_NEAR(static_cast<double>(g.GMM.roSec), 63661.97723675814, 1e-9);
    const std::string s = g.povzetek.str();
    EXPECT_NE(s.find("      # sestavljenih kotov         :         2.5 mg\n"), std::string::npos) << s;
    EXPECT_NE(s.find("      # azimutov / smernih kotov   :         2.0 mg\n"), std::string::npos) << s;
    EXPECT_NE(s.find("      # kotov med smermi           :         -.- mg\n"), std::string::npos) << s;
    EXPECT_NE(s.find("      # opazovanih 2R dolzin       :         2.0 mm\n"), std::string::npos) << s;
    EXPECT_NE(s.find("      # zenitnih razdalj           :         -.- mg\n"), std::string::npos) << s;

    // With the settings print off, nothing is written but sigma0 is set.
    GMMEqTestMreza t("*IZPSET 0\n" + kNivelman);
    t.Model();
    EXPECT_EQ(t.povzetek.str(), "");
    EXPECT_NEAR(static_cast<double>(t.GMM.So), 0.0025, 1e-15);
}

TEST(CGMM, MemoryReportNonZeroPercentagesAndWeights)
{
    GMMEqTestMreza m(kNivelman);
    m.Model();
    m.Enacbe();
    std::ostringstream s;
    m.GMM.GMMEqPrint(s);
    // B 4 x 2 with 4 non-zeros; f all non-zero; Qll 4 of 12.
    EXPECT_EQ(s.str(),
              "OBREMENITEV POMNILNIKA:\n"
              "-----------------------\n"
              "Matrika koeficientov enacb popravkov B:             104 b\n"
              "Vektor odstopanj enacb popravkov f    :              56 b\n"
              "Kovariancna matrika opazovanj Sll     :             152 b\n"
              "\n\n"
              "ODSTOTEK NENICELNIH ELEMENTOV:\n"
              "------------------------------\n"
              "Matrika koeficientov enacb popravkov B:           50.00 %\n"
              "Vektor odstopanj enacb popravkov f    :          100.00 %\n"
              "Kovariancna matrika opazovanj Sll     :           33.33 %\n"
              "\n\n");
    // Diagonal cofactors give a column of weights.
    ASSERT_EQ(m.GMM.Pll.nrow(), 4u);
    ASSERT_EQ(m.GMM.Pll.ncol(), 1u);
    for (long r = 0; r < 4; ++r) EXPECT_NEAR(m.GMM.Pll(r) * m.GMM.Qll(r, 1), 1.0L, kTol);

    // Free levelling network: H and H(red) lines; minimal constraints: D and H.
    GMMEqTestMreza h("*DIM 1\n*D H\nX A 100\nX B 101\nX C 102\nh A B 1.0 1\nh B C 1.0 1\n");
    h.Model();
    h.Enacbe();
    KofaktorjiDatuma(h.GMM);
    std::ostringstream sh;
    h.GMM.GMMEqPrint(sh);
    EXPECT_NE(sh.str().find("Datumska matrika notranjih vezi H     :              44 b\n"
                            "Datumska matrika notranjih vezi H(red):              44 b\n"),
              std::string::npos)
        << sh.str();
    EXPECT_NE(sh.str().find("Datumska matrika notranjih vezi H(red):            0.00 %\n"), std::string::npos);

    GMMEqTestMreza d("*DIM 1\n*D D\n**DH A\nX A 100\nX B 101\nh A B 1.0 1\n");
    d.Model();
    d.Enacbe();
    KofaktorjiDatuma(d.GMM);
    std::ostringstream sd;
    d.GMM.GMMEqPrint(sd);
    EXPECT_NE(sd.str().find("Datumska matrika min. stevila vezi D  :              32 b\n"
                            "Datumska matrika notranjih vezi H     :              32 b\n"),
              std::string::npos)
        << sd.str();
    EXPECT_EQ(sd.str().find("H(red)"), std::string::npos);

    EXPECT_EQ(m.GMM.GetMatrixFullProc(matrika<long double>()), 0.0);
    matrika<long double> a(2, 2);
    a(0, 0) = 2e-12L;
    a(1, 1) = 1e-12L;   // not above the threshold
    EXPECT_EQ(m.GMM.GetMatrixFullProc(a), 25.0);
}

TEST(CGMM, CorrelatedAnglesGiveTheFullInverseOfTheBand)
{
    GMMEqTestMreza m("*CORKOT 1\n*NUMSOLV SVD\n" + kRavnina);
    m.Model();
    // Rows of the band as the angle builder would write them.
    m.GMM.Qll(0, 1) = 2.0L;
    m.GMM.Qll(0, 2) = -1.0L;
    m.GMM.Qll(1, 0) = -1.0L;
    m.GMM.Qll(1, 1) = 2.0L;
    m.GMM.Qll(2, 1) = 4.0L;
    std::ostringstream s;
    m.GMM.GMMEqPrint(s);
    // Held by its blocks: the correlated pair and the single row.
    EXPECT_EQ(m.GMM.Pll.nrow(), 0u);
    ASSERT_EQ(m.GMM.PllB.nrow(), 3u);
    ASSERT_EQ(m.GMM.PllB.nblok(), 2u);
    EXPECT_EQ(m.GMM.PllB.velikost(0), 2u);
    // inverse of [[2,-1],[-1,2]] is [[2,1],[1,2]]/3
    EXPECT_NEAR(m.GMM.PllB(0, 0), 2.0L / 3.0L, kTol);
    EXPECT_NEAR(m.GMM.PllB(0, 1), 1.0L / 3.0L, kTol);
    EXPECT_NEAR(m.GMM.PllB(1, 1), 2.0L / 3.0L, kTol);
    EXPECT_NEAR(m.GMM.PllB(2, 2), 0.25L, kTol);
    EXPECT_NEAR(m.GMM.PllB(0, 2), 0.0L, kTol);
}

TEST(CGMM, TraceOfDataSumAndDataSet)
{
    GMMEqTestMreza m("*CONTPRINT 1\n" + kRavnina);
    const std::string k = GMMEqTestMreza::Konzola([&] { m.Model(); });
    const std::string pricakovano =
        "C: CGMM:\n"
        " F: DataSum(ofstream & izhod) -> SetRoSec()\n"
        " F: DataSum(ofstream & izhod) -> SetMmFact()\n"
        " F: DataSum(ofstream & izhod) -> GetDataSum()\n"
        " F: DataSum(ofstream & izhod) -> PrintDataSumSum(ofstream & izhod)\n"
        " F: DataSum(ofstream & izhod) -> PrintDataSumRefSD(ofstream & izhod)\n"
        " F: DataSet() -> SetiDeltaB()\n"
        " F: DataSet() -> SetHDatSize() [H]\n"
        " F: DataSet() -> SetHDatSize() [!=SVD]\n"
        " F: DataSet() -> SetGMMSize()\n"
        " F: DataSet() -> Qll diagonal: 0\n\n";
    EXPECT_EQ(k, pricakovano);
}

TEST(CGMM, RefusesBadNetworksWithAFramedMessage)
{
    {   // A fixed point that is not in the point list.
        const Otrok o = ModelVOtroku("*DIM 1\n*D V\n**V Q9\nX A 100\nX B 101\nh A B 1.0 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(TockaNapaka("Q9")), std::string::npos) << o.izid.out;
        EXPECT_EQ(o.report.find("STEVILO NEZNANK"), std::string::npos);
    }
    {   // A point excluded from H that is not in the point list.
        const Otrok o = ModelVOtroku("*DIM 1\n*D H\n**H B\n**H XX\nX A 100\nX B 101\nh A B 1.0 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(TockaNapaka("XX")), std::string::npos) << o.izid.out;
    }
    {   // A minimal-constraint pair naming an unknown point.
        const Otrok o = ModelVOtroku("*DIM 2\n*D D\n**DX A\n**DY A\n**DS A Q\nX A 0 0\nX B 100 0\nD A B 100 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(TockaNapaka("Q")), std::string::npos) << o.izid.out;
    }
    {   // An observation to a point that is not in the point list.
        const Otrok o = ModelVOtroku("*DIM 1\n*D V\n**V A\nX A 100\nX B 101\nh A B 1.0 1\nh B Z7 1.0 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(TockaNapaka("Z7")), std::string::npos) << o.izid.out;
    }
    {   // No observations: sigma0 is undefined.
        const std::string msg = " **** V podatkih ni nobenega opazovanja - referencni standardni odklon apriori ni "
                                "dolocen      *** ";
        const Otrok o = ModelVOtroku("*DIM 1\n*D V\n**V A\nX A 100\nX B 101\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find("\n\n" + msg + "\n\n\tKoncujem program ... "), std::string::npos) << o.izid.out;
        EXPECT_NE(o.report.find(msg), std::string::npos);
        EXPECT_NE(o.report.find("Stevilo vseh opazovanj v mrezi     :         0\n"), std::string::npos);
    }
    {   // Heights in a plane network.
        const Otrok o = ModelVOtroku("*DIM 2\n*D H\nX A 0 0\nX B 100 0\nD A B 100 1\nH A 100 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(" **** Visine (H) in visinske razlike (h) v ravninski mrezi (*DIM 2) niso "
                                  "mogoce      *** "),
                  std::string::npos)
            << o.izid.out;
    }
    {   // Every point fixed: nothing to adjust.
        const Otrok o = ModelVOtroku("*DIM 1\n*D V\n**V A\n**V B\nX A 100\nX B 101\nh A B 1.0 1\n");
        EXPECT_EQ(o.izid.status, 1);
        EXPECT_NE(o.izid.out.find(" **** V mrezi ni nobene neznanke - vse tocke so dane (**V)      *** "),
                  std::string::npos)
            << o.izid.out;
    }
}
