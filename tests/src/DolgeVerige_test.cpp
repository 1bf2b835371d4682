// A station with a set of more directions than a short chain of correlated
// angles holds: the sparse solution takes the set by its directions with an
// orientation unknown, the dense one inverts the chain's band as it always
// did.  Both must give the same adjustment, the same redundancy numbers and
// the same record tests, with a datum of fixed points and in a free network.
#include <cmath>
#include <iomanip>
#include <sstream>

#include <gtest/gtest.h>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "matrika/bdmatrika.h"

namespace {
// n targets around S (directions in one set, 1", T20 twice in a row), every
// third also measured by distance from S, every one by distance to the
// next; a second station U with a short set, then a second long set at S.  Observations from the true coordinates with small
// deterministic errors; approximate coordinates of the targets but T0 3 to 6
// cm off.
std::string Mreza(int n, const std::string& datum, double groba = 0.0)
{
    const double pi = std::acos(-1.0);
    std::ostringstream d, o;
    d << std::fixed << std::setprecision(4) << "*DIM 2\n*AU DEG\n*CORKOT 1\n*ICORRUNK 0\n*IZPENP 0\n"
      << datum << "X S 1000 2000\nX U 1450 2310\n";
    o << std::fixed << std::setprecision(7);
    std::vector<double> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * pi * (i + 0.3 + 0.4 * std::sin(1.7 * i)) / n, r = 300.0 + 7.0 * (i % 5);
        x[i] = 1000.0 + r * std::sin(a);
        y[i] = 2000.0 + r * std::cos(a);
        const double o = i == 0 ? 0.0 : 1.0;   // T0 is held in the datum of fixed points
        d << "X T" << i << " " << x[i] + o * (0.03 + 0.03 * std::sin(i)) << " " << y[i] - o * 0.04 * std::cos(2.0 * i)
          << "\n";
    }
    const auto smer = [&](const std::string& s, double xs, double ys, int i, double e, double zasuk = 0.0) {
        double az = std::fmod(std::atan2(x[i] - xs, y[i] - ys) * 180.0 / pi + e / 3600.0 + zasuk, 360.0);
        if (az < 0) az += 360.0;
        o << "S " << s << " T" << i << " " << az << " 1\n";
    };
    // The target T20 twice in a row (an angle of 0 in the chain).
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < (i == 20 ? 2 : 1); ++k)
            smer("S", 1000, 2000, i, 0.8 * std::sin(3.1 * i + k) + (i == n / 3 ? groba : 0.0));
    for (int i = 0; i < 8; ++i) smer("U", 1450, 2310, i * (n / 8), 0.7 * std::cos(2.3 * i));
    // A second long set at S after U's, its circle turned by 37.123 deg.
    for (int i = 5; i < n - 5; ++i) smer("S", 1000, 2000, i, 0.9 * std::cos(1.9 * i), 37.123);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        o << std::setprecision(4) << "D T" << i << " T" << j << " "
          << std::hypot(x[j] - x[i], y[j] - y[i]) + 0.0015 * std::cos(1.3 * i) << " 2\n";
        if (i % 3 == 0) o << "D S T" << i << " " << std::hypot(x[i] - 1000, y[i] - 2000) - 0.001 * std::sin(i) << " 2\n";
    }
    return d.str() + o.str() + "*K\n";
}

const std::string kTocke = "*D V\n**V S\n**V T0\n";
const std::string kProsta = "*D H\n";
}  // namespace

TEST(DolgeVerige, SparseDirectionsEqualTheDenseChainOfAngles)
{
    for (const std::string& datum : {kTocke, kProsta}) {
        SCOPED_TRACE(datum);
        const std::string data = Iteriraj(Mreza(90, datum));
        const Izravnava redka = IzravnajZ(data, "CH", false), gosta = IzravnajZ(data, "QR", true);
        const CGMMSol &r = redka.run->GMMS, &g = gosta.run->GMMS;
        // Both long sets are held by their bands.
        const bdmatrika& P = redka.run->GMM.PllB;
        int trakov = 0;
        for (unsigned long b = 0; b < P.nblok(); ++b) trakov += P.trak(b) ? 1 : 0;
        ASSERT_EQ(trakov, 2);
        EXPECT_LT(NajvecjaRazlika(redka, gosta), 1e-9L);
        EXPECT_NEAR(r.SoI, g.SoI, 1e-9L * g.SoI);
        ASSERT_EQ(r.R.nrow(), g.R.nrow());
        long double najvec = 0.0L;
        for (unsigned long i = 0; i < r.R.nrow(); ++i) najvec = std::max(najvec, std::fabs(r.R(i) - g.R(i)));
        EXPECT_LT(najvec, 1e-9L);
        // Redundancy numbers sum to the degrees of freedom.
        EXPECT_NEAR(r.rsum, static_cast<long double>(redka.run->rez.globalniTest.prostostne), 1e-8L);
    }
}

TEST(DolgeVerige, SnoopingRemovesTheWrongDirectionOfALongSet)
{
    // 40" in the direction to T30 (n / 3).
    const std::string data = ZNastavitvijo(Iteriraj(Mreza(90, kTocke, 40.0)), "*SNOOP", "");
    const Izravnava redka = IzravnajZ(data, "CH", false), gosta = IzravnajZ(data, "QR", true);
    for (const Izravnava* iz : {&redka, &gosta}) {
        ASSERT_EQ(iz->run->rez.iskanje.izloceni.size(), 1u);
        const RezIzlocen& z = iz->run->rez.iskanje.izloceni[0];
        EXPECT_EQ(z.vrsta, 'S');
        EXPECT_EQ(z.tocke, "S T30");
    }
    const RezIzlocen &a = redka.run->rez.iskanje.izloceni[0], &b = gosta.run->rez.iskanje.izloceni[0];
    EXPECT_NEAR(a.w, b.w, 1e-7L * std::fabs(b.w));
    EXPECT_NEAR(a.groba, b.groba, 1e-9L);
    EXPECT_LT(NajvecjaRazlika(redka, gosta), 1e-9L);
}

TEST(DolgeVerige, RobustEstimationOfALongSetIsRefusedBySparseSolution)
{
    const std::string data = ZNastavitvijo(Mreza(bdmatrika::kDolgaVeriga + 2, kTocke), "*ROBSOLV", "HUB");
    const Izid izid = RunChild([dat = Datoteka(data)] {
        execl(NIVEX_EXE, NIVEX_EXE, dat.c_str(), static_cast<char*>(nullptr));
    });
    EXPECT_EQ(izid.status, 1);
    EXPECT_NE(izid.out.find("Robustna ocena (*ROBSOLV HUB) ni mogoca pri nizu vec kot 65 koreliranih smeri"),
              std::string::npos)
        << izid.out;
}
