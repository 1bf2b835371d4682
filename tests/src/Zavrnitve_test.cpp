// Bad data files run through the built program: each is refused with a clear
// framed message and exit status 1, which the report ends with whatever layer
// raised it (settings, reader, model, matrix library), or, where the data can
// still be adjusted, warned about; nothing is reported as a completed run when
// it was not.
#include <gtest/gtest.h>

#include "TestUtil.h"

namespace {
const std::string kGlava = "*DIM 1\n*D V\n**V A\nX A 100.0\nX B 101.0\n";

struct Primer {
    const char* ime;
    std::string data;
    int status;
    const char* sporocilo;
};
}  // namespace

TEST(Zavrnitve, BadDataFilesAsTheUserRunsThem)
{
    // A comment and a trailing remark of 100,000 characters.
    std::string dolga("# ");
    dolga.append(100000, 'x').append("\n").append(kGlava);
    dolga.append("h A B 1.0 1.0 ").append(100000, 'x').append("\n*K\n");
    const Primer primeri[] = {
        {"vejica", kGlava + "h A B 12,5 1.0\n*K\n", 1, "ni pravo stevilo -> 12,5"},
        {"crka O", kGlava + "h A B 1.0 1O.0\n*K\n", 1, "ni pravo stevilo -> 1O.0"},
        {"prekinjen s *K", kGlava + "h A B 1.0\n*K\n", 1, "je nepopoln: namesto polja stoji *K"},
        {"prekinjen s koncem", kGlava + "h A B 1.0", 1, "je nepopoln"},
        {"smer v nivelmanu", kGlava + "h A B 1.0 1.0\nS A B 1 2 3 1.0\n*K\n", 1, "ne sodi v visinsko mrezo"},
        {"XV0 brez XVT", "*XV0\n" + kGlava + "h A B 1.0 1.0\n*K\n", 1, "(*XV0) brez ocene hitrosti"},
        {"nicelni odklon", kGlava + "h A B 1.0 0.0\n*K\n", 1, "PODAN STANDARDNI ODKLON NUMERICNO NIC!!!!"},
        {"neznana tocka", kGlava + "h A C 1.0 1.0\n*K\n", 1, "C  NE OBSTAJA V SEZNAMU TOCK!!!!"},
        {"singularen sistem", "*NUMSOLV NS\n" + kGlava + "X C 102.0\nh B C 1.0 1.0\nh C B -1.0 1.0\n*K\n", 1,
         "Funkcija:   invgj() - Gauss Jacobi\nMatrika je singularna: "},
        {"dolga vrstica", dolga, 0, "KONCAL Z IZRACUNI"},
        {"ponovljena tocka", kGlava + "X A 100.0\nh A B 1.0 1.0\n*K\n", 0,
         "\n\n #### Tocka A je v seznamu tock navedena veckrat - upostevana je prva navedba      #### \n\n"},
    };
    const std::string dir = TempDir("zavrnitve");
    int k = 0;
    for (const Primer& p : primeri) {
        SCOPED_TRACE(p.ime);
        const std::string ime = std::to_string(k++).insert(0, 1, 'm');
        WriteFile(dir + "/" + ime + ".dat", p.data);
        const Izid r = RunNivex({ime + ".dat"}, dir);
        EXPECT_EQ(r.status, p.status) << r.out;
        EXPECT_NE(r.out.find(p.sporocilo), std::string::npos) << r.out;
        if (p.status != 0) {
            EXPECT_EQ(r.out.find("KONCAL Z IZRACUNI"), std::string::npos);
            const std::string rep = ReadFile(dir + "/" + ime + ".NVX");
            EXPECT_EQ(rep.find("OCENJENE"), std::string::npos);
            const std::size_t k = rep.rfind(p.sporocilo);
            ASSERT_NE(k, std::string::npos) << rep;
            // The message closes the report, as it closes the console before the prompt.
            EXPECT_TRUE(r.out.ends_with(rep.substr(k) + "Pritisni ENTER ... ")) << r.out;
        }
    }
}
