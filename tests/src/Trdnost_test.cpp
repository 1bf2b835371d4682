// Inputs that used to end a sound network badly: each now adjusts, and to the
// values of the plain form of the same network; a network too large for the
// memory ends with a framed message.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

// A byte-order mark and CR line ends read like the plain file; repeated point
// names keep their first record; one distance weighted by a kilometre acts as
// if it were left out.
TEST(Trdnost, EncodingsRepeatsAndKilometreWeight)
{
    // The same points with the same values.
    const auto enake = [](const Izravnava& a, const Izravnava& b, long double tol) {
        ASSERT_EQ(a.tocke.size(), b.tocke.size());
        for (const auto& [ime, x] : b.tocke)
            for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(a.tocke.at(ime)[k], x[k], tol) << ime;
    };
    const std::string niv = Primer("nivelman.dat");
    std::string cr = niv, ponovi = niv, bom = "\xEF\xBB\xBF" + ZNastavitvijo(niv, "*DIM", "1");
    for (char& c : cr) c = c == '\n' ? '\r' : c;
    ponovi.insert(ponovi.find("X  N2"), "X  N1 999.0\nX  R12 1.0\n");
    for (const std::string& d : {bom, cr, ponovi}) enake(Izravnaj(d), Izravnaj(niv), 1e-12L);
    const std::string m = "*DIM 2\n*AU DEG\n*D V\n**V A\n**V B\nX A 0 0\nX B 100 0\nX C 50 50\nX E 50 -50\nS A C 0 1\n"
                          "S A B 45.0003 1\nS A E 90 1\nD A C 70.711 1\nD B C 70.710 1\nD A E 70.712 1\nD B E 70.711 1\n";
    enake(Izravnaj(m + "D C E 100.5 1000000\n"), Izravnaj(m), 1e-9L);
}

// A levelling line of 30 000 points under a 1 GB address-space limit.
TEST(Trdnost, OutOfMemoryNamesTheMatrix)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    // The SVD works on the full design matrix (the other methods keep only
    // its non-zero elements, and this line would fit).
    std::string d = "*NUMSOLV SVD\n*DIM 1\n*D V\n**V P0\nX P0 0\n";
    for (int i = 1; i < 30000; ++i)
        d += "X P" + std::to_string(i) + " 0\nh P" + std::to_string(i - 1) + " P" + std::to_string(i) + " 1 1\n";
    const Izid r = RunChild([dat = Datoteka(d)] {
        const rlimit meja{1L << 30, 1L << 30};
        setrlimit(RLIMIT_AS, &meja);
        execl(NIVEX_EXE, NIVEX_EXE, dat.c_str(), static_cast<char*>(nullptr));
    });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Matrika:   29999 x 29999 (13732.0 MB)\nZa matriko ni dovolj pomnilnika"), std::string::npos);
}

// One station observing 3 000 targets in one set of correlated directions:
// the whitened rows of the chain fill, and the pattern of its normal matrix
// would need some 10^10 pairs of columns.  The run ends with the framed
// message before it asks for them, not killed by the system.
TEST(Trdnost, StationWithThousandsOfDirectionsAdjusts)
{
    // One set of 3000 correlated directions: the chain of angles has a dense
    // weight block of 3000^2 and whitened rows that reach every later
    // target; the run must not need either.  With velocities the set keeps
    // its dense block, and the pairs of its whitened rows would take more
    // than the machine has: refused at once.
    for (const bool hitrosti : {false, true}) {
        std::ostringstream d, obs;
        const std::string epoha = hitrosti ? " 2020.5" : "", zastavica = hitrosti ? " 0" : "";
        d << "*DIM 2\n*AU DEG\n*ICORRUNK 0\n*IZPENP 0\n" << (hitrosti ? "*XVT 2020.0\n" : "")
          << "*D V\n**V S\n**V P0\nX S 0 0" << zastavica << "\n" << std::fixed << std::setprecision(4);
        obs << std::fixed << std::setprecision(4);
        for (int i = 0; i < 3000; ++i) {
            const double a = 0.1 * i, r = 1000.0 + i % 7;
            d << "X P" << i << " " << r * std::cos(a * M_PI / 180) << " " << r * std::sin(a * M_PI / 180) << zastavica
              << "\n";
            obs << "S S P" << i << " " << 90.0 - a << " 1" << epoha << "\nD S P" << i << " " << r << " 2" << epoha << "\n";
        }
        const Izid izid = RunChild([dat = Datoteka(d.str() + obs.str())] {
            execl(NIVEX_EXE, NIVEX_EXE, dat.c_str(), static_cast<char*>(nullptr));
        });
        if (!hitrosti) {
            EXPECT_EQ(izid.status, 0) << izid.out;
            continue;
        }
        EXPECT_EQ(izid.status, 1);
        EXPECT_NE(izid.out.find(" **** Za izracun ni dovolj pomnilnika - mreza je prevelika za ta racunalnik      *** "),
                  std::string::npos)
            << izid.out;
    }
}
