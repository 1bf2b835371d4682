// Inputs that used to end a sound network badly: each now adjusts, and to the
// values of the plain form of the same network.
#include <gtest/gtest.h>

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
void EnakeTocke(const Izravnava& a, const Izravnava& b, long double premik, long double tol)
{
    ASSERT_EQ(a.tocke.size(), b.tocke.size());
    for (const auto& [ime, x] : b.tocke)
        for (std::size_t k = 0; k < x.size(); ++k)
            EXPECT_NEAR(a.tocke.at(ime)[k] - (k == 1 ? premik : 0.0L), x[k], tol) << ime << " " << k;
}
}  // namespace

// A byte-order mark and CR line ends read like the plain file; a repeated
// point name keeps its first record and adds no unknown; one distance
// weighted by a kilometre acts as if it were left out; UTM-size northings
// adjust like the same network 4 980 km further south.
TEST(Trdnost, EncodingsRepeatsKilometreWeightAndUtmCoordinates)
{
    const std::string niv = Primer("nivelman.dat");
    const Izravnava ref = Izravnaj(niv);
    std::string cr = niv, ponovi = niv;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    ponovi.insert(ponovi.find("X  N2"), "X  N1       999.0\nX  R12      1.0\n");
    for (const std::string& d : {"\xEF\xBB\xBF" + niv, cr, ponovi}) {
        const Izravnava iz = Izravnaj(d);
        EXPECT_EQ(iz.run->GMM.nunk, ref.run->GMM.nunk);
        EnakeTocke(iz, ref, 0, 1e-12L);
    }

    const std::string mreza = "*DIM 2\n*AU DEG\n*D V\n**V A\n**V B\nX A 0 0\nX B 100 0\nX C 50 50\nX E 50 -50\n"
                              "S A C 0 1\nS A B 45.0003 1\nS A E 90 1\nD A C 70.711 1\nD B C 70.710 1\n"
                              "D A E 70.712 1\nD B E 70.711 1\n";
    EnakeTocke(Izravnaj(mreza + "D C E 100.5 1000000\n"), Izravnaj(mreza), 0, 1e-9L);

    EnakeTocke(Izravnaj(Primer("ravninska_utm.dat")), Izravnaj(Primer("ravninska_gon.dat")), 4980000, 2e-7L);
}

// A network whose matrices do not fit in the memory the process may take
// ends with a framed message naming the matrix, not with an abort.
TEST(Trdnost, OutOfMemoryNamesTheMatrix)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    std::string d = "*DIM 1\n*D V\n**V P0\n";
    for (int i = 0; i < 30000; ++i) d += "X P" + std::to_string(i) + " 0\n";
    for (int i = 1; i < 30000; ++i) d += "h P" + std::to_string(i - 1) + " P" + std::to_string(i) + " 1 1\n";
    const std::string dat = Datoteka(d);
    const Izid r = RunChild([&] {
        const rlimit meja{1L << 30, 1L << 30};
        setrlimit(RLIMIT_AS, &meja);
        execl(NIVEX_EXE, NIVEX_EXE, dat.c_str(), static_cast<char*>(nullptr));
    });
    EXPECT_EQ(r.status, 1) << r.out.substr(std::max<std::size_t>(r.out.size(), 600) - 600);
    EXPECT_NE(r.out.find("Matrika:   29999 x "), std::string::npos);
    EXPECT_NE(r.out.find("Za matriko ni dovolj pomnilnika - mreza je prevelika za ta racunalnik"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("Pritisni ENTER ... "));
}
