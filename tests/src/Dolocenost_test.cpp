// Networks that the observations and the datum do not determine, run through
// the built program with every solution method: each is refused with exit
// status 1 and a message naming exactly the points (and coordinates) that
// are free, before anything is printed as adjusted; the SVD never bridges
// them.  The free points and directions are worked out by hand from the
// geometry of each file.
#include <gtest/gtest.h>

#include "TestUtil.h"

TEST(Dolocenost, UndeterminedNetworksNameTheirPointsWithEveryMethod)
{
    const std::string konec = "      *** ";
    const std::string mreza = " **** Mreza ni dolocena - opazovanja in datum ne dolocajo: ";
    const std::string skupine = " **** Visinske razlike ne povezujejo tock z datumom mreze - nedolocene skupine tock: ";
    // Levelling: A fixed (when V), A-B joined, C-D-E a closed loop of its own.
    const std::string nivelman = "*DIM 1\nX A 100\nX B 101\nX C 102\nX D 103\nX E 104\n"
                                 "h A B 1 1\nh A B 1 1\nh C D 1 1\nh D E 1 1\nh C E 2 1\n";
    // Plane: A (0 0), B (100 0) and C (50 50) well tied; P (0 100) only by a
    // distance from A, along Y, so its X is free.
    const std::string ravnina = "*DIM 2\nX A 0 0\nX B 100 0\nX C 50 50\nX E 50 -50\nX P 0 100\n"
                                "D A C 70.71 1\nD B C 70.71 1\nD A E 70.71 1\nD B E 70.71 1\nD A B 100 1\n"
                                "D C E 100 1\nS A B 0 0 0 1\nS A C 45 0 0 1\nD A P 100 1\nD A P 100 1\n";
    std::string brez;   // 23 points that no observation touches
    for (int k = 1; k <= 23; ++k) brez += "X T" + std::to_string(k) + " 100\n";

    const std::pair<std::string, std::string> primeri[] = {
        // Datum kinds without their points or records.
        {"*D V\n" + nivelman,
         " **** Datum V (vklop na dane tocke) brez danih tock (**V) in brez opazovanih visin (H) - mreza nima datuma" +
             konec},
        {"*D P\n" + nivelman, " **** Datum P (psevdoopazovanja) brez opazovanih visin (H) - mreza nima datuma" + konec},
        {"*D D\n" + ravnina,
         " **** Datum D (minimalno stevilo vezi) brez datumskih kolicin (**DX, **DY, ...) - mreza nima datuma" + konec},
        // Levelling groups: the loop C-D-E is free of the fixed point, of the
        // given height and of the observed height; with inner constraints
        // the loop (three datum points) is held and A-B is the free group.
        {"*D V\n**V A\n" + nivelman, skupine + "(C, D, E)" + konec},
        {"*D D\n**DH B\n" + nivelman, skupine + "(C, D, E)" + konec},
        {"*D P\n" + nivelman + "H B 101 1\n", skupine + "(C, D, E)" + konec},
        {"*D H\n" + nivelman, skupine + "(A, B)" + konec},
        // Points without observations, at most twenty named.
        {"*DIM 1\n*D V\n**V A\nX A 100\nX B 101\n" + brez + "h A B 1 1\nh A B 1 1\n",
         " **** Tocke brez opazovanj (niso dolocene): T1, T2, T3, T4, T5, T6, T7, T8, T9, T10, T11, T12, T13, T14, "
         "T15, T16, T17, T18, T19, T20 ... in se 3 tock" + konec},
        {"*DIM 2\n*D V\n**V A\nX A 0 0\nX B 100 0\nX C 50 80\nD A B 100 1\nD B C 94.34 1\nD A C 94.34 1\n",
         " **** Premalo opazovanj za dolocitev mreze - opazovanj: 3, parametrov: 4, datumskih pogojev: 0" + konec},
        // What only the solution sees: a rotation about the one fixed point
        // moves B along Y and C in both; P's X under every datum kind.
        {"*DIM 2\n*AU DEG\n*D V\n**V A\nX A 0 0\nX B 100 0\nX C 50 80\nD A B 100 1\nD B C 94.34 1\n"
         "D A C 94.34 1\nD A B 100 1\nD B C 94.34 1\n",
         mreza + "B (Y), C (X, Y)" + konec},
        {"*D V\n**V A\n**V B\n" + ravnina, mreza + "P (X)" + konec},
        {"*D P\n" + ravnina + "C A 0 0 1 1\nC B 100 0 1 1\n", mreza + "P (X)" + konec},
        {"*D D\n**DX A\n**DY A\n**DS A B\n" + ravnina, mreza + "P (X)" + konec},
        {"*D H\n" + ravnina, mreza + "P (X)" + konec},
    };
    const std::string dir = TempDir("dolocenost");
    for (const char* metoda : {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"}) {
        for (const auto& [data, sporocilo] : primeri) {
            SCOPED_TRACE(std::string(metoda) + "\n" + data);
            WriteFile(dir + "/m.dat", std::string("*NUMSOLV ") + metoda + "\n" + data);
            const Izid r = RunNivex({"m.dat"}, dir);
            EXPECT_EQ(r.status, 1) << r.out;
            EXPECT_NE(r.out.find(sporocilo), std::string::npos) << r.out;
            EXPECT_EQ(ReadFile(dir + "/m.NVX").find("OCENJENE"), std::string::npos);
        }
    }
}
