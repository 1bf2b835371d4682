// Plane networks end to end: composed angles with their correlations against
// an independent model of directions with orientation unknowns, and an
// iteration that diverges or runs out of passes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"
#include "matrika/chr.h"
#include "matrika/najdim.h"
#include "matrika/transpon.h"

namespace {

using LD = long double;
using Tocke = std::map<std::string, std::vector<LD>>;

// Gauss-Newton on directions (one orientation unknown per direction set) and
// distances with weights 1 / sigma^2, written out apart from the program's
// equations: central differences of the bearing and the length.
Tocke SmeriZOrientacijami(const CNivex& n, Tocke x)
{
    std::map<std::string, long> stolpec;  // first unknown of each free point
    long u = 0;
    for (const auto& [ime, _] : x)
        if (najdiA(n.gdatum.PTDV, ime) < 0) stolpec[ime] = (u += 2) - 2;
    const CTerObsDir& S = n.TODir;
    const CTerObsDist& D = n.TODist2;
    std::vector<long> niz(S.NObs());  // orientation unknown of each direction
    for (unsigned long i = 0; i < S.NObs(); ++i) niz[i] = (i == 0 || S.GetPTS(i, 0) != S.GetPTS(i - 1, 0)) ? u++ : u - 1;
    std::vector<LD> orient(u, 0.0L);
    const auto smer = [&](const Tocke& t, const std::string& a, const std::string& b) {
        return std::atan2(t.at(b)[0] - t.at(a)[0], t.at(b)[1] - t.at(a)[1]);
    };
    const auto dolzina = [&](const Tocke& t, const std::string& a, const std::string& b) {
        return std::hypot(t.at(b)[0] - t.at(a)[0], t.at(b)[1] - t.at(a)[1]);
    };
    for (unsigned long i = 0; i < S.NObs(); ++i)  // start each orientation at its first direction
        if (i == 0 || niz[i] != niz[i - 1]) orient[niz[i]] = smer(x, S.GetPTS(i, 0), S.GetPTS(i, 1)) - S.GetOBS(i, 0);
    const long m = static_cast<long>(S.NObs() + D.NObs());
    for (int it = 0; it < 6; ++it) {
        matrika<LD> A(m, u, 0.0L), f(m, 1, 0.0L);
        const auto vrstica = [&](long r, const std::string& a, const std::string& b, LD sig, LD l, bool kot) {
            const auto racun = [&](const Tocke& t) { return kot ? smer(t, a, b) : dolzina(t, a, b); };
            const LD F0 = racun(x);
            f(r) = (kot ? std::remainder(l - F0, 2 * M_PIl) : l - F0) / sig;
            for (const std::string& p : {a, b})
                for (int k = 0; k < 2 && stolpec.count(p); ++k) {
                    Tocke y = x, z = x;
                    y[p][k] += 1e-3L;
                    z[p][k] -= 1e-3L;
                    A(r, stolpec[p] + k) = (racun(y) - racun(z)) / 2e-3L / sig;
                }
        };
        for (unsigned long i = 0; i < S.NObs(); ++i) {
            vrstica(i, S.GetPTS(i, 0), S.GetPTS(i, 1), S.GetSIG(i, 0), S.GetOBS(i, 0) + orient[niz[i]], true);
            A(i, niz[i]) = -1 / S.GetSIG(i, 0);
        }
        for (unsigned long i = 0; i < D.NObs(); ++i)
            vrstica(S.NObs() + i, D.GetPTS(i, 0), D.GetPTS(i, 1), D.GetSIG(i, 0), D.GetOBS(i, 0), false);
        chr<LD> N;
        N.razcep(transpon(A) * A);
        const matrika<LD> dx = N.resiv(transpon(A) * f);
        for (auto& [ime, c] : stolpec)
            for (int k = 0; k < 2; ++k) x[ime][k] += dx(c + k);
        for (long o = 2 * static_cast<long>(stolpec.size()); o < u; ++o) orient[o] += dx(o);
    }
    return x;
}

}  // namespace

TEST(IzravnavaRavninska, ComposedAnglesEqualDirectionsWithOrientationUnknowns)
{
    const Izravnava iz = Izravnaj(Iteriraj(ZNastavitvijo(Primer("ravninska_dms.dat"), "*CORKOT", "1")));
    Tocke start = iz.tocke;
    for (auto& [ime, x] : start)
        if (najdiA(iz.run->gdatum.PTDV, ime) < 0) x[0] += 0.05L, x[1] -= 0.03L;
    const Tocke ref = SmeriZOrientacijami(*iz.run, start);
    // Without the correlations the angles are a different (wrong) model.
    const Izravnava brez = Izravnaj(Iteriraj(ZNastavitvijo(Primer("ravninska_dms.dat"), "*CORKOT", "0")));
    LD najvec = 0;
    for (const auto& [ime, x] : ref) {
        for (int k = 0; k < 2; ++k) EXPECT_NEAR(iz.tocke.at(ime)[k], x[k], 1e-6L) << ime;
        najvec = std::max(najvec, std::fabs(brez.tocke.at(ime)[0] - x[0]));
    }
    EXPECT_GT(najvec, 1e-5L);
}

TEST(IzravnavaRavninska, DivergingIterationIsRefusedAndTheLimitIsReported)
{
    const std::string dir = TempDir("razhaja");
    std::string data = Primer("ravninska_dms.dat");
    const std::string staro = "X  101      519960.5120   122310.7920";
    ASSERT_NE(data.find(staro), std::string::npos);
    // Point 101 three kilometres off: the corrections grow from pass to pass.
    WriteFile(dir + "/a.dat", std::string(data).replace(data.find(staro), staro.size(),
                                                        "X  101      522960.5120   122310.7920"));
    Izid r = RunNivex({"a.dat"}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("popravki neznank rastejo"), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(dir + "/a.NVX").find("izravnava se razhaja"), std::string::npos);
    EXPECT_EQ(r.out.find("KONCAL Z IZRACUNI"), std::string::npos);

    // Converging, but stopped by the limit before the threshold: a warning.
    WriteFile(dir + "/b.dat", ZNastavitvijo(ZNastavitvijo(data, "*ITERMAX", "0"), "*ITERTHRES", "1e-30"));
    r = RunNivex({"b.dat"}, dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(" #### Iteracija ni skonvergirala v 1 korakih"), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(dir + "/b.NVX").find("Iteracija ni skonvergirala"), std::string::npos);
}
