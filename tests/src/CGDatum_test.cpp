// Datum definition: the four kinds with their lists, the report section, the
// refused kinds and the lines that do not belong to the chosen kind.
#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "TestUtil.h"
#include "src/CGDatum.h"

namespace {

std::string Datoteka(const std::string& tag, const std::string& text)
{
    const std::string pot = TempDir("datum_" + tag) + "/mreza.dat";
    WriteFile(pot, text);
    return pot;
}

CGDatum Preberi(const std::string& pot)
{
    CGDatum d;
    std::ostringstream report;
    d.ReadGDatum(pot, report, 0);
    return d;
}

std::string Izpis(CGDatum& d)
{
    std::ostringstream s;
    d.PrintGDatum(s, 0);
    return s.str();
}

// A fatal end in a child: status 1, the message on the console and in the report.
void PricakujNapako(const std::string& tag, const std::string& text, const std::string& message)
{
    const std::string pot = Datoteka(tag, text);
    const std::string rep = pot + ".NVX";
    const Izid r = RunChild([&] {
        std::ofstream report(rep);
        CGDatum d;
        d.ReadGDatum(pot, report, 0);
    });
    EXPECT_EQ(r.status, 1) << tag << "\n" << r.out;
    EXPECT_NE(r.out.find("\n\n" + message + "\n\n\tKoncujem program ... "), std::string::npos) << tag << "\n"
                                                                                             << r.out;
    EXPECT_NE(ReadFile(rep).find(message), std::string::npos) << tag;
}

}  // namespace

TEST(CGDatum, FixedGivenPointsV)
{
    CGDatum d = Preberi(Datoteka("v", "*DIM 2\n*D V\nX T1 1 2\n**V T1\n# **V T8\n**V GT12 remark\n**V GT12345678\n*K\n**V T3\n"));
    EXPECT_EQ(d.GetGDatum(), 'V');
    EXPECT_EQ(d.nV, 3);
    ASSERT_EQ(d.PTDV.nrow(), 3u);
    ASSERT_EQ(d.PTDV.ncol(), 1u);
    EXPECT_EQ(d.PTDV(0, 0), "T1");
    EXPECT_EQ(d.PTDV(1, 0), "GT12");
    EXPECT_EQ(Lines(Izpis(d)), (std::vector<std::string>{"Geodetski datum zagotovljen kot: VKLOP NA DANE TO\xC8KE",
                                                          "  1       T1", "  2     GT12",
                                                          "  3 GT12345678", "", ""}));

    // Without **V lines nothing is fixed.
    CGDatum e = Preberi(Datoteka("v_prazen", "*D V\n"));
    EXPECT_EQ(e.nV, 0);
    EXPECT_EQ(e.PTDV.nrow(), 0u);
    EXPECT_EQ(Izpis(e), "Geodetski datum zagotovljen kot: VKLOP NA DANE TO\xC8KE\n\n\n");
}

TEST(CGDatum, FreeNetworkHAndPseudoObservationsP)
{
    // A later *D overrides an earlier one.
    CGDatum h = Preberi(Datoteka("h", "*D V\n*D    H\n**H K1\n**H K2\n"));
    EXPECT_EQ(h.GetGDatum(), 'H');
    EXPECT_EQ(h.nH, 2);
    EXPECT_EQ(h.PTDH(1, 0), "K2");
    EXPECT_EQ(Lines(Izpis(h)),
              (std::vector<std::string>{"Geodetski datum zagotovljen kot: PROSTA MREZA [H]",
                                        "To\xE8ke izvzete iz matrike H:", "  1       K1", "  2       K2", "", ""}));
    CGDatum h0 = Preberi(Datoteka("h0", "*D H\n"));
    EXPECT_EQ(Izpis(h0), "Geodetski datum zagotovljen kot: PROSTA MREZA [H]\n\n\n");

    CGDatum p = Preberi(Datoteka("p", "*D P\n"));
    EXPECT_EQ(p.GetGDatum(), 'P');
    EXPECT_EQ(Izpis(p), "Geodetski datum zagotovljen kot: PSEVDOOPAZOVANJA [Pxx]\n\n\n");
}

TEST(CGDatum, MinimalConstraintsD)
{
    CGDatum d = Preberi(Datoteka("d3", "*D D\n**DX T1\n**DY T1\n**DS T1 T2\n"));
    EXPECT_EQ(d.nD, 3);
    EXPECT_EQ(Lines(Izpis(d)), (std::vector<std::string>{"Geodetski datum zagotovljen kot: MINIMALNO \x8ATEVILO VEZI [D]",
                                                          "Dane koli\xE8ine:", "KOORDINATA X:     T1",
                                                          "KOORDINATA Y:     T1", "SMER        :     T1    T2", "",
                                                          "# vseh datumskih parametrov:     3", ""}));

    // All ten lists, in file order, printed in the fixed list order.
    CGDatum v = Preberi(std::string(NIVEX_TEST_DATA) + "/datum/minimalne_vezi.dat");
    EXPECT_EQ(v.nDX, 2);
    EXPECT_EQ(v.nDY, 1);
    EXPECT_EQ(v.nDZ, 1);
    EXPECT_EQ(v.nDDir, 1);
    EXPECT_EQ(v.nDDist, 2);
    EXPECT_EQ(v.nDZen, 1);
    EXPECT_EQ(v.nDdX, 1);
    EXPECT_EQ(v.nDdY, 1);
    EXPECT_EQ(v.nDdZ, 1);
    EXPECT_EQ(v.nDH, 1);
    EXPECT_EQ(v.nD, 12);
    EXPECT_EQ(v.PTX(1, 0), "B");
    EXPECT_EQ(v.PTDist(1, 1), "D");
    EXPECT_EQ(v.PTZen(0, 0), "A");
    const std::vector<std::string> izpis = {
        "Geodetski datum zagotovljen kot: MINIMALNO \x8ATEVILO VEZI [D]",
        "Dane koli\xE8ine:",
        "KOORDINATA X:      A",
        "                   B",
        "KOORDINATA Y:      A",
        "KOORDINATA Z:      C",
        "VEKTOR PO X :      A     B",
        "VEKTOR PO Y :      A     C",
        "VEKTOR PO Z :      B     C",
        "DOLZINA     :      A     B",
        "                   C     D",
        "SMER        :      A LONGNAME",
        "ZEN.RAZDALJA:      A     C",
        "VISINA      :      D",
        "",
        "# vseh datumskih parametrov:    12",
        ""};
    EXPECT_EQ(Lines(Izpis(v)), izpis);
}

TEST(CGDatum, RefusedKindsAndDatumLines)
{
    const std::string datum = " **** Ni pravi podatek:    Geodetski datum (*D)       *** ";
    PricakujNapako("x", "*D X\n**V T1\n", datum);
    PricakujNapako("brez", "*DIM 2\n**V T1\n", datum);
    PricakujNapako("prazen", "*D\nV\n", datum);
    PricakujNapako("za_k", "*K\n*D V\n", datum);
    PricakujNapako("ime", "*D D\n**DS T1\n T2\n",
                   " **** Datumska vrstica **DS (vrstica 2) mora imeti 2 imeni tock      *** ");
    PricakujNapako("ime1", "*D V\n**V\n", " **** Datumska vrstica **V (vrstica 2) mora imeti 1 ime tocke      *** ");
    const Izid r = RunChild([] {
        CGDatum d;
        std::ostringstream report;
        d.ReadGDatum("/nonexistent/mreza.dat", report, 0);
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" **** Datoteke s podatki ni mogoce odpreti:    /nonexistent/mreza.dat      *** "),
              std::string::npos);
}

TEST(CGDatum, LinesOfAnotherKindAreIgnoredWithAWarning)
{
    const std::string pot = Datoteka("tuje", "*D H\n**H K1\n**V K2\n**DX K3 remark\n**H K4\n");
    const Izid r = RunChild([&] {
        CGDatum d;
        std::ostringstream report;
        d.ReadGDatum(pot, report, 0);
        std::cout << "STANJE " << d.nH << " " << d.nV << " " << d.nDX << " " << d.nD << " " << d.PTDV.nrow() << " "
                  << d.PTX.nrow() << " " << d.PTDH(0, 0) << " " << d.PTDH(1, 0) << "\n";
    });
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\n\n #### Datumska vrstica **V K2 (vrstica 3) ne sodi k datumu vrste H - prezrta      #### \n\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(" #### Datumska vrstica **DX K3 remark (vrstica 4) ne sodi k datumu vrste H - prezrta      #### "),
              std::string::npos);
    // Counts of foreign lists are cleared, so every count equals its list.
    EXPECT_NE(r.out.find("STANJE 2 0 0 0 0 0 K1 K4\n"), std::string::npos) << r.out;
}

TEST(CGDatum, LongLinesAndTrace)
{
    const std::string dolgo(200000, '#');
    const std::string pot = Datoteka("dolge", "# " + dolgo + "\nX T1 1 2 " + dolgo + "\n*D V " + dolgo + "\n**V T1 " +
                                                  dolgo + "\n**V T2\n");
    const Izid r = RunChild([&] {
        CGDatum d;
        std::ostringstream report;
        d.ReadGDatum(pot, report, 1);
        d.PrintGDatum(report, 1);
        std::cout << "STANJE " << d.GetGDatum() << d.nV << d.PTDV(1, 0) << "\n";
    });
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("STANJE V2T2\n"), std::string::npos);
    const std::string f = " F: ReadGDatum(" + pot + ", ofstream & izhod1) -> ";
    EXPECT_NE(r.out.find("C: CGDatum:\n" + f + "ReadGDatumScan(" + pot + ",ofstream & izhod)\n" + f + "SetGData()\n" +
                         f + "ReadGDatumRead(" + pot + ",ofstream & izhod)\n F: PrintGDatum(ofstream & izhod1)\n"),
              std::string::npos)
        << r.out;
}
