// Report titles, fixed-point output and the program's own messages.
#include <gtest/gtest.h>

#include <sstream>

#include "TestUtil.h"
#include "src/NivexAux.h"

TEST(NivexAux, TitlesAndSubtitles)
{
    const std::string crta(75, '=');
    std::ostringstream s;
    Naslov(s, "X", 0);
    EXPECT_EQ(s.str(), "");
    Naslov(s, "X", 1);
    EXPECT_EQ(s.str(), crta + "\nX\n" + crta + "\n\n");

    std::ostringstream p;
    PodNaslov(p, "17 znakov dolgo..", 1);
    EXPECT_EQ(p.str(), "17 znakov dolgo..\n" + std::string(17, '-') + "\n");
    std::ostringstream q;
    PodNaslov(q, "nic", 0);
    EXPECT_EQ(q.str(), "");

    const std::string pot = TempDir("naslov") + "/r.txt";
    {
        std::ofstream f(pot);
        Naslov(f, "REZULTATI", 1);
        PodNaslov(f, "Tocke", 1);
    }
    EXPECT_EQ(ReadFile(pot), crta + "\nREZULTATI\n" + crta + "\n\nTocke\n-----\n");

    std::ostringstream n;
    IzpisNastavitve(n, 3);
    n << 1.23456 << " " << 2.0L;
    EXPECT_EQ(n.str(), "1.235 2.000");
}

TEST(NivexAux, ErrorsAndWarnings)
{
    Izid r = RunChild([] { NivexError(" **** Napaka ***"); });
    EXPECT_EQ(r.status, 1);
    // The prompt follows on the same line as the closing words.
    EXPECT_EQ(r.out, "\n\n **** Napaka ***\n\n\tKoncujem program ... Pritisni ENTER ... ");

    const std::string pot = TempDir("napaka") + "/r.NVX";
    r = RunChild([&pot] {
        std::ofstream f(pot);
        f << "prej\n";
        NivexError(f, " **** Napaka v porocilu ***");
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadFile(pot), "prej\n\n\n **** Napaka v porocilu ***\n\n\tKoncujem program ... ");
    EXPECT_NE(r.out.find(" **** Napaka v porocilu ***"), std::string::npos);

    r = RunChild([] {
        NivexWarning(" #### Opozorilo #### ");
        std::cout << "naprej";
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "\n\n #### Opozorilo #### \n\nnaprej");
}
