// Datum definition: the four kinds with their lists and report section, and
// the lines that do not belong to the chosen kind (the refusals stand in the
// table of refused data files).
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "TestUtil.h"
#include "src/CGDatum.h"

namespace {

struct Branje {
    CGDatum d;
    std::string pot, izpis, konzola;   // data file, report section, console output
};

// Reads the datum of the text in this process and prints its report section.
Branje Preberi(const std::string& text)
{
    Branje b;
    b.pot = Datoteka(text);
    std::ostringstream report, izpis;
    b.konzola = Tiho([&] { b.d.ReadGDatum(b.pot, report, 0); b.d.PrintGDatum(izpis, 0); });
    b.izpis = izpis.str();
    return b;
}

}  // namespace

TEST(CGDatum, KindsListsAndReport)
{
    const std::string V = "Geodetski datum zagotovljen kot: VKLOP NA DANE TO\xC8KE\n";
    const std::string H = "Geodetski datum zagotovljen kot: PROSTA MREZA [H]\n";
    const std::string D = "Geodetski datum zagotovljen kot: MINIMALNO \x8ATEVILO VEZI [D]\nDane koli\xE8ine:\n";
    const std::string x(200000, '#');
    const struct {
        std::string vhod;
        char vrsta;
        std::string izpis, konzola;
    } primeri[] = {
        // Comments, remarks and lines after *K do not count; a name wider than
        // its column keeps a blank before it.
        {"*DIM 2\n*D V\nX T1 1 2\n**V T1\n# **V T8\n**V GT12 remark\n**V GT12345678\n*K\n**V T3\n", 'V',
         V + "  1       T1\n  2     GT12\n  3 GT12345678\n\n\n", ""},
        // A later *D overrides an earlier one.
        {"*D V\n*D    H\n**H K1\n**H K2\n", 'H', H + "To\xE8ke izvzete iz matrike H:\n  1       K1\n  2       K2\n\n\n", ""},
        // All ten lists, read in file order, printed in the fixed list order.
        {ReadFile(std::string(NIVEX_TEST_DATA) + "/datum/minimalne_vezi.dat"), 'D',
         D + "KOORDINATA X:      A\n                   B\nKOORDINATA Y:      A\nKOORDINATA Z:      C\n"
             "VEKTOR PO X :      A     B\nVEKTOR PO Y :      A     C\nVEKTOR PO Z :      B     C\n"
             "DOLZINA     :      A     B\n                   C     D\nSMER        :      A LONGNAME\n"
             "ZEN.RAZDALJA:      A     C\nVISINA      :      D\n\n# vseh datumskih parametrov:    12\n\n", ""},
        // Lines of another kind are passed over with a warning, never stored.
        {"*D H\n**H K1\n**V K2\n**DX K3 remark\n**H K4\n", 'H',
         H + "To\xE8ke izvzete iz matrike H:\n  1       K1\n  2       K4\n\n\n",
         "\n\n #### Datumska vrstica **V K2 (vrstica 3) ne sodi k datumu vrste H - prezrta      #### \n\n"
         "\n\n #### Datumska vrstica **DX K3 remark (vrstica 4) ne sodi k datumu vrste H - prezrta      #### \n\n"},
        // Lines far longer than any buffer are passed over whole.
        {"# " + x + "\nX T1 1 2 " + x + "\n*D V " + x + "\n**V T1 " + x + "\n**V T2\n", 'V',
         V + "  1       T1\n  2       T2\n\n\n", ""},
    };
    int i = 0;
    for (const auto& p : primeri) {
        const Branje b = Preberi(p.vhod);
        const CGDatum& d = b.d;
        EXPECT_EQ(d.GetGDatum(), p.vrsta) << "case " << i;
        EXPECT_EQ(b.izpis, p.izpis) << "case " << i;
        EXPECT_EQ(b.konzola, p.konzola) << "case " << i;
        // The model reads every count as the rows of its list; only the chosen
        // kind has any, and nD is the sum of the ten minimal-constraint counts.
        const std::tuple<char, unsigned short, const matrika<std::string>*> seznami[] = {
            {'V', d.nV, &d.PTDV},       {'H', d.nH, &d.PTDH},     {'D', d.nDX, &d.PTX},     {'D', d.nDY, &d.PTY},
            {'D', d.nDZ, &d.PTZ},       {'D', d.nDDir, &d.PTDir}, {'D', d.nDDist, &d.PTDist}, {'D', d.nDZen, &d.PTZen},
            {'D', d.nDdX, &d.PTdX},     {'D', d.nDdY, &d.PTdY},   {'D', d.nDdZ, &d.PTdZ},   {'D', d.nDH, &d.PTH}};
        for (const auto& [vrsta, n, m] : seznami) {
            EXPECT_EQ(n, m->nrow()) << "case " << i;
            EXPECT_TRUE(vrsta == p.vrsta || n == 0) << "case " << i << ": a list of another kind has " << n;
        }
        EXPECT_EQ(d.nD, d.nDX + d.nDY + d.nDZ + d.nDDir + d.nDDist + d.nDZen + d.nDdX + d.nDdY + d.nDdZ + d.nDH);
        ++i;
    }
}
