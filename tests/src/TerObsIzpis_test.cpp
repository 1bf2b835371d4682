// Tables of the input report, line by line against the program's texts:
// titles, column names, units, rules, field widths and decimals, angles per
// unit, the optional velocity and epoch columns, and the blank line that
// groups observations by station.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
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

namespace {
void Beri(CTerObs& s, const std::string& text)
{
    std::istringstream in(text);
    std::string w;
    for (long i = 0; i < static_cast<long>(s.NObs()); ++i) {
        BeriBesedo(in, w);
        s.ReadObs(in, i);
        PreskociVrstico(in);
    }
}

std::vector<std::string> Tabela(CTerObs& s)
{
    std::ostringstream out;
    s.SetPrintQuant("ALL");
    s.PrintObs(out, 0);
    EXPECT_EQ(s.PrintQuant, "LINE");   // the table print leaves line mode set
    return Lines(out.str());
}

std::vector<std::string> Tabela(CTerObsAngl& s)
{
    std::ostringstream out;
    s.SetPrintQuant("ALL");
    s.PrintObs(out, 0);
    return Lines(out.str());
}

using V = std::vector<std::string>;
}  // namespace

TEST(TerObsPrint, PointLists)
{
    CTerObsCrdA a;
    a.SetPar(2, 0, 2, 0);
    Beri(a, "X A 1000 2000\nX Bx 1100.12346 -5.5\n");
    EXPECT_EQ(Tabela(a), (V{"", "A-PRIORI KOORDINATE TOCK:", "-------------------------", "",
                           "        TC          X           Y",
                           "                   [m]         [m]",
                           "------------------------------------",
                           "  1        A   1000.0000   2000.0000",
                           "  2       Bx   1100.1235     -5.5000",
                           "------------------------------------", ""}));

    CTerObsCrdA a3;
    a3.SetPar(1, 1, 3, 1);
    Beri(a3, "X A 1 2 3 0.001 -0.002 0 1\n");
    EXPECT_EQ(Tabela(a3), (V{"", "A-PRIORI KOORDINATE TOCK:", "-------------------------", "",
                            "        TC          X           Y           Z      VX      VY      VZ      VEL",
                            "                   [m]         [m]         [m]     [m]     [m]     [m]",
                            std::string(78, '-'),
                            "  1        A      1.0000      2.0000      3.0000  0.0010 -0.0020  0.0000    1",
                            std::string(78, '-'), ""}));

    CTerObsHA h;
    h.SetPar(1, 1, 1);
    Beri(h, "X R1 312.12345 0.0005 1\n");
    EXPECT_EQ(Tabela(h), (V{"", "A-PRIORI VISINE TOCK:", "---------------------", "",
                           "        TC          H         VH      VEL",
                           "                   [m]        [m]",
                           std::string(41, '-'),
                           "  1       R1     312.12345   0.00050   1",
                           std::string(41, '-'), ""}));
}

TEST(TerObsPrint, PointObservations)
{
    CTerObsCrd c;
    c.SetPar(1, 1, 2);
    Beri(c, "C A 10 20 2 3.456 2014.5\n");
    EXPECT_EQ(Tabela(c), (V{"", "KOORDINATE TOCK:", "----------------", "",
                           "        TC          X           Y        sX      sY       T",
                           "                   [m]         [m]      [mm]    [mm]",
                           std::string(61, '-'),
                           "  1        A     10.0000     20.0000    2.00    3.46  2014.50",
                           std::string(61, '-'), ""}));

    CTerObsH h;
    h.SetPar(1, 0);
    Beri(h, "H A 312.5 2\n");
    EXPECT_EQ(Tabela(h), (V{"", "VISINE TOCK:", "------------", "",
                           "        TC          H         sH",
                           "                   [m]       [mm]",
                           std::string(36, '-'),
                           "  1        A     312.50000    2.00",
                           std::string(36, '-'), ""}));
}

TEST(TerObsPrint, DistancesGroupedByStation)
{
    CTerObsDist d;
    d.SetPar(3, 0, 3);
    Beri(d, "L A B 125.4321 2.5\nL A C 10 1\nL B C 7.5 0.25\n");
    EXPECT_EQ(Tabela(d), (V{"", "OPAZOVANE PROSTORSKE DOLZINE:", "-----------------------------", "",
                           "        TC1   TC2        DIST       sDIST",
                           "                          [m]        [mm]",
                           std::string(41, '-'),
                           "  1        A     B       125.4321    2.50",
                           "  2        A     C        10.0000    1.00",
                           "",
                           "  3        B     C         7.5000    0.25",
                           std::string(41, '-'), ""}));

    CTerObsDist d2;
    d2.SetPar(1, 1, 2);
    Beri(d2, "D A B 1 1 2001\n");
    const V t = Tabela(d2);
    ASSERT_EQ(t.size(), 10u);
    EXPECT_EQ(t[1], "OPAZOVANE HORIZONTALNE DOLZINE:");
    EXPECT_EQ(t[2], std::string(31, '-'));
    EXPECT_EQ(t[4], "        TC1   TC2        DIST       sDIST     T  ");
    EXPECT_EQ(t[6], std::string(50, '-'));
    EXPECT_EQ(t[7], "  1        A     B         1.0000    1.00  2001.00");
}

TEST(TerObsPrint, HeightDifferencesAndVectors)
{
    CTerObsHdif dh;
    dh.SetPar(2, 0);
    Beri(dh, "h A B -1.2345 0.5\nh B C 2 1\n");
    EXPECT_EQ(Tabela(dh), (V{"", "OPAZOVANE VISINSKE RAZLIKE:", "---------------------------", "",
                            "        TC1   TC2         DH         sDH ",
                            "                          [m]        [mm]",
                            std::string(41, '-'),
                            "  1        A     B        -1.2345    0.50",
                            "",
                            "  2        B     C         2.0000    1.00",
                            std::string(41, '-'), ""}));

    CTerObsVec v;
    v.SetPar(1, 1, 3);
    Beri(v, "V A B 1.5 -2.5 3.5 1 2 3 2020\n");
    EXPECT_EQ(Tabela(v), (V{"", "OPAZOVANI PROSTORSKI VEKTORJI:", "------------------------------", "",
                           "        TC1   TC2        DX          DY          DZ       sDX     sDY     sDZ       T",
                           "                         [m]         [m]         [m]      [mm]    [mm]    [mm]",
                           std::string(87, '-'),
                           "  1        A     B      1.5000     -2.5000      3.5000    1.00    2.00    3.00  2020.00",
                           std::string(87, '-'), ""}));

    CTerObsVec v2;
    v2.SetPar(1, 0, 2);
    Beri(v2, "V A B 1 2 1 2\n");
    const V t = Tabela(v2);
    EXPECT_EQ(t[1], "OPAZOVANI HORIZONTALNI VEKTORJI:");
    EXPECT_EQ(t[2], std::string(32, '-'));
    EXPECT_EQ(t[4], "        TC1   TC2        DX          DY       sDX     sDY");
    EXPECT_EQ(t[5], "                         [m]         [m]      [mm]    [mm]");
    EXPECT_EQ(t[6], std::string(58, '-'));
}

TEST(TerObsPrint, AnglesPerUnit)
{
    CTerObsDir z;
    z.SetPar(1, 1, "DMS", "ZEN");
    Beri(z, "Z A B 10 20 30.5 1 2014.5\n");
    EXPECT_EQ(Tabela(z), (V{"", "OPAZOVANE ZENITNE RAZDALJE:", "---------------------------", "",
                           "        TC1   TC2       ZEN         sZEN     T  ",
                           "                       [dms]        ['']        ",
                           std::string(49, '-'),
                           "  1        A     B    10 20 30.50   1.00  2014.50",
                           std::string(49, '-'), ""}));

    CTerObsDir az;
    az.SetPar(1, 0, "GON", "AZI");
    Beri(az, "A A B 123.456789 0.5\n");
    EXPECT_EQ(Tabela(az), (V{"", "OPAZOVANI AZIMUTI/SMERNI KOTI:", "------------------------------", "",
                            "        TC1   TC2       AZI         sAZI",
                            "                       [gon]        [mg]",
                            std::string(40, '-'),
                            "  1        A     B     123.456789   0.50",
                            std::string(40, '-'), ""}));

    CTerObsPara p;
    p.SetPar(1, 0, "DEG");
    Beri(p, "P A B C D 45.5 2\n");
    EXPECT_EQ(Tabela(p), (V{"", "OPAZOVANI KOTI MED SMERMI:", "--------------------------", "",
                           "        TC1   TC2      TC3   TC4       KOT         sKOT",
                           "                                      [deg]        ['']",
                           std::string(57, '-'),
                           "  1        A     B        C     D      45.500000   2.00",
                           std::string(57, '-'), ""}));

    // A negative angle under one degree keeps its sign.
    CTerObsDir s;
    s.SetPar(1, 0, "DMS", "DIR");
    Beri(s, "S A B 0 -30 0 1\n");
    EXPECT_EQ(Tabela(s)[7], "  1        A     B    -0 30  0.00   1.00");
}

TEST(TerObsPrint, ComposedAnglesWithAndWithoutSharedDirection)
{
    CTerObsDir d;
    d.SetPar(5, 0, "DEG", "DIR");
    Beri(d, "S A B 0 1\nS A C 30 2\nS A D 100 3\nS E F 350 1\nS E G 10 1\n");
    CTerObsAngl a(d);
    a.SetPar(1);
    EXPECT_EQ(Tabela(a), (V{"", "SESTAVLJENI KOTI:", "-----------------", "",
                           "        TCZ   TS1   TS2        ANG        sANG  sroANG",
                           "                              [deg]        ['']  ['']",
                           std::string(55, '-'),
                           "  1        A     B     C      30.000000   2.24   2.00 ",
                           "  2        A     C     D      70.000000   3.61        ",
                           "",
                           "  3        E     F     G    -340.000000   1.41        ",
                           std::string(55, '-'), ""}));

    // "ALL": the directions' table first, then the angles.
    a.SetPrintAngQuant("ALL");
    const V t = Tabela(a);
    ASSERT_GT(t.size(), 13u);
    EXPECT_EQ(t[1], "OPAZOVANE SMERI:");
    EXPECT_EQ(t[t.size() - 12], "SESTAVLJENI KOTI:");
}
