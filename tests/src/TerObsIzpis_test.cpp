// Tables of the input report, line by line against the program's texts: one
// set per layout (optional velocity, epoch and third-coordinate columns,
// angle units), and the blank line that groups observations by station.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TerObsTestUtil.h"

namespace {
using V = std::vector<std::string>;

// The table of `s` after reading `zapisi` into it.
template <class S>
V Tabela(S& s, const std::string& zapisi = "")
{
    Beri(s, zapisi);
    std::ostringstream out;
    s.SetPrintQuant("ALL");
    s.PrintObs(out, 0);
    EXPECT_EQ(s.PrintQuant, "LINE");   // later prints of the set print one line
    return Lines(out.str());
}

// A whole table: empty line, title, its underline, empty line, column names,
// units, rule, the record lines, rule, empty line.
struct Tab {
    V izpis;
    std::string naslov, stolpci, enote;
    std::size_t crta;
    V vrstice;
};

void Preveri(const Tab& p)
{
    V t{"", p.naslov, std::string(p.naslov.size(), '-'), "", p.stolpci, p.enote, std::string(p.crta, '-')};
    t.insert(t.end(), p.vrstice.begin(), p.vrstice.end());
    t.insert(t.end(), {std::string(p.crta, '-'), ""});
    EXPECT_EQ(p.izpis, t);
}
}  // namespace

TEST(TerObsPrint, EveryLayout)
{
    const Tab tabele[] = {
        {Tabela(*Nov<CTerObsCrdA>(2, 0, 2, 0), "X A 1000 2000\nX Bx 1100.12346 -5.5\n"), "A-PRIORI KOORDINATE TOCK:",
         "        TC          X           Y",
         "                   [m]         [m]", 36,
         {"  1        A   1000.0000   2000.0000", "  2       Bx   1100.1235     -5.5000"}},
        {Tabela(*Nov<CTerObsCrdA>(1, 1, 3, 1), "X A 1 2 3 0.001 -0.002 0 1\n"), "A-PRIORI KOORDINATE TOCK:",
         "        TC          X           Y           Z      VX      VY      VZ      VEL",
         "                   [m]         [m]         [m]     [m]     [m]     [m]", 78,
         {"  1        A      1.0000      2.0000      3.0000  0.0010 -0.0020  0.0000    1"}},
        {Tabela(*Nov<CTerObsHA>(1, 1, 1), "X R1 312.12345 0.0005 1\n"), "A-PRIORI VISINE TOCK:",
         "        TC          H         VH      VEL",
         "                   [m]        [m]", 41,
         {"  1       R1     312.12345   0.00050   1"}},
        {Tabela(*Nov<CTerObsCrd>(1, 1, 2), "C A 10 20 2 3.456 2014.5\n"), "KOORDINATE TOCK:",
         "        TC          X           Y        sX      sY       T",
         "                   [m]         [m]      [mm]    [mm]", 61,
         {"  1        A     10.0000     20.0000    2.00    3.46  2014.50"}},
        {Tabela(*Nov<CTerObsH>(1, 0), "H A 312.5 2\n"), "VISINE TOCK:",
         "        TC          H         sH",
         "                   [m]       [mm]", 36,
         {"  1        A     312.50000    2.00"}},
        {Tabela(*Nov<CTerObsDist>(3, 0, 3), "L A B 125.4321 2.5\nL A C 10 1\nL B C 7.5 0.25\n"),
         "OPAZOVANE PROSTORSKE DOLZINE:",
         "        TC1   TC2        DIST       sDIST",
         "                          [m]        [mm]", 41,
         {"  1        A     B       125.4321    2.50", "  2        A     C        10.0000    1.00", "",
          "  3        B     C         7.5000    0.25"}},
        {Tabela(*Nov<CTerObsDist>(1, 1, 2), "D A B 1 1 2001\n"), "OPAZOVANE HORIZONTALNE DOLZINE:",
         "        TC1   TC2        DIST       sDIST     T  ",
         "                          [m]        [mm]", 50,
         {"  1        A     B         1.0000    1.00  2001.00"}},
        {Tabela(*Nov<CTerObsHdif>(2, 0), "h A B -1.2345 0.5\nh B C 2 1\n"), "OPAZOVANE VISINSKE RAZLIKE:",
         "        TC1   TC2         DH         sDH ",
         "                          [m]        [mm]", 41,
         {"  1        A     B        -1.2345    0.50", "", "  2        B     C         2.0000    1.00"}},
        {Tabela(*Nov<CTerObsVec>(1, 1, 3), "V A B 1.5 -2.5 3.5 1 2 3 2020\n"), "OPAZOVANI PROSTORSKI VEKTORJI:",
         "        TC1   TC2        DX          DY          DZ       sDX     sDY     sDZ       T",
         "                         [m]         [m]         [m]      [mm]    [mm]    [mm]", 87,
         {"  1        A     B      1.5000     -2.5000      3.5000    1.00    2.00    3.00  2020.00"}},
        {Tabela(*Nov<CTerObsVec>(1, 0, 2), "V A B 1 2 1 2\n"), "OPAZOVANI HORIZONTALNI VEKTORJI:",
         "        TC1   TC2        DX          DY       sDX     sDY",
         "                         [m]         [m]      [mm]    [mm]", 58,
         {"  1        A     B      1.0000      2.0000    1.00    2.00"}},
        {Tabela(*Nov<CTerObsDir>(1, 1, "DMS", "ZEN"), "Z A B 10 20 30.5 1 2014.5\n"), "OPAZOVANE ZENITNE RAZDALJE:",
         "        TC1   TC2       ZEN         sZEN     T  ",
         "                       [dms]        ['']        ", 49,
         {"  1        A     B    10 20 30.50   1.00  2014.50"}},
        {Tabela(*Nov<CTerObsDir>(1, 0, "GON", "AZI"), "A A B 123.456789 0.5\n"), "OPAZOVANI AZIMUTI/SMERNI KOTI:",
         "        TC1   TC2       AZI         sAZI",
         "                       [gon]        [mg]", 40,
         {"  1        A     B     123.456789   0.50"}},
        {Tabela(*Nov<CTerObsPara>(1, 0, "DEG"), "P A B C D 45.5 2\n"), "OPAZOVANI KOTI MED SMERMI:",
         "        TC1   TC2      TC3   TC4       KOT         sKOT",
         "                                      [deg]        ['']", 57,
         {"  1        A     B        C     D      45.500000   2.00"}},
    };
    for (const Tab& t : tabele) {
        SCOPED_TRACE(t.naslov);
        Preveri(t);
    }
    // A negative angle under one degree keeps its sign.
    EXPECT_EQ(Tabela(*Nov<CTerObsDir>(1, 0, "DMS", "DIR"), "S A B 0 -30 0 1\n")[7], "  1        A     B    -0 30  0.00   1.00");
}

TEST(TerObsPrint, ComposedAnglesWithAndWithoutSharedDirection)
{
    const auto d = Nov<CTerObsDir>(5, 0, "DEG", "DIR");
    Beri(*d, "S A B 0 1\nS A C 30 2\nS A D 100 3\nS E F 350 1\nS E G 10 1\n");
    CTerObsAngl a(*d);
    a.SetPar(1);
    Preveri({Tabela(a), "SESTAVLJENI KOTI:",
             "        TCZ   TS1   TS2        ANG        sANG  sroANG",
             "                              [deg]        ['']  ['']", 55,
             {"  1        A     B     C      30.000000   2.24   2.00 ", "  2        A     C     D      70.000000   3.61        ",
              "", "  3        E     F     G    -340.000000   1.41        "}});

    // "ALL": the directions' table first, then the angles.
    a.SetPrintAngQuant("ALL");
    const V t = Tabela(a);
    EXPECT_EQ(t.at(1), "OPAZOVANE SMERI:");
    EXPECT_EQ(t.at(16), "SESTAVLJENI KOTI:");
}
