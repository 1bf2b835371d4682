// Plane and spatial networks end to end: composed angles against a model of
// directions with orientation unknowns, and the invariances of the
// adjustment under the solution method, the datum and the angle unit.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {

using LD = long double;

// Least squares with directions and one orientation unknown per direction
// set, written out independently of the program: Gauss-Newton on the normal
// equations with a plain Cholesky solve.
std::map<std::string, std::vector<LD>> SmeriZOrientacijami(const CNivex& n, std::map<std::string, std::vector<LD>> x)
{
    std::map<std::string, long> stolpec;
    std::map<std::string, bool> dana;
    for (unsigned long k = 0; k < n.gdatum.PTDV.size(); ++k) dana[n.gdatum.PTDV(k)] = true;
    long u = 0;
    for (const auto& [ime, _] : x)
        if (!dana[ime]) { stolpec[ime] = u; u += 2; }
    // One orientation per run of directions from the same station.
    std::vector<long> niz(n.TO.TODir.NObs());
    for (unsigned long i = 0; i < n.TO.TODir.NObs(); ++i) {
        if (i == 0 || n.TO.TODir.GetPTS(i, 0) != n.TO.TODir.GetPTS(i - 1, 0)) ++u;
        niz[i] = u - 1;
    }
    for (int it = 0; it < 8; ++it) {
        std::vector<LD> N(u * u, 0.0L), b(u, 0.0L), w(u, 0.0L);
        std::vector<std::vector<LD>> orient(u);
        // Start the orientations at the mean of (bearing - reading) of each set.
        std::vector<LD> om(u, 0.0L), cnt(u, 0.0L);
        auto smer = [&](const std::string& a, const std::string& t) {
            return std::atan2(x[t][0] - x[a][0], x[t][1] - x[a][1]);
        };
        for (unsigned long i = 0; i < n.TO.TODir.NObs(); ++i) {
            LD d = smer(n.TO.TODir.GetPTS(i, 0), n.TO.TODir.GetPTS(i, 1)) - n.TO.TODir.GetOBS(i, 0);
            d = std::remainder(d, 2.0L * M_PIl);
            if (cnt[niz[i]] > 0) d = om[niz[i]] / cnt[niz[i]] + std::remainder(d - om[niz[i]] / cnt[niz[i]], 2.0L * M_PIl);
            om[niz[i]] += d;
            cnt[niz[i]] += 1;
        }
        auto vrstica = [&](std::vector<std::pair<long, LD>> a, LD f, LD sig) {
            const LD p = 1.0L / (sig * sig);
            for (auto& [j, aj] : a)
                if (j >= 0) {
                    b[j] += p * aj * f;
                    for (auto& [k, ak] : a)
                        if (k >= 0) N[j * u + k] += p * aj * ak;
                }
        };
        auto col = [&](const std::string& ime) { return dana[ime] ? -1L : stolpec[ime]; };
        for (unsigned long i = 0; i < n.TO.TODir.NObs(); ++i) {
            const std::string& a = n.TO.TODir.GetPTS(i, 0);
            const std::string& t = n.TO.TODir.GetPTS(i, 1);
            const LD de = x[t][0] - x[a][0], dn = x[t][1] - x[a][1], s2 = de * de + dn * dn;
            const LD o = om[niz[i]] / cnt[niz[i]];
            const LD f = std::remainder(n.TO.TODir.GetOBS(i, 0) - (smer(a, t) - o), 2.0L * M_PIl);
            std::vector<std::pair<long, LD>> r;
            const long ca = col(a), ct = col(t);
            r.push_back({ca < 0 ? -1 : ca, -dn / s2});
            r.push_back({ca < 0 ? -1 : ca + 1, de / s2});
            r.push_back({ct < 0 ? -1 : ct, dn / s2});
            r.push_back({ct < 0 ? -1 : ct + 1, -de / s2});
            r.push_back({niz[i], -1.0L});
            vrstica(r, f, n.TO.TODir.GetSIG(i, 0));
        }
        for (unsigned long i = 0; i < n.TO.TODist2.NObs(); ++i) {
            const std::string& a = n.TO.TODist2.GetPTS(i, 0);
            const std::string& t = n.TO.TODist2.GetPTS(i, 1);
            const LD de = x[t][0] - x[a][0], dn = x[t][1] - x[a][1], d = std::sqrt(de * de + dn * dn);
            const long ca = col(a), ct = col(t);
            std::vector<std::pair<long, LD>> r = {{ca < 0 ? -1 : ca, -de / d}, {ca < 0 ? -1 : ca + 1, -dn / d},
                                                  {ct < 0 ? -1 : ct, de / d}, {ct < 0 ? -1 : ct + 1, dn / d}};
            vrstica(r, n.TO.TODist2.GetOBS(i, 0) - d, n.TO.TODist2.GetSIG(i, 0));
        }
        // Cholesky solve N dx = b.
        std::vector<LD> L(u * u, 0.0L);
        for (long i = 0; i < u; ++i)
            for (long j = 0; j <= i; ++j) {
                LD s = N[i * u + j];
                for (long k = 0; k < j; ++k) s -= L[i * u + k] * L[j * u + k];
                L[i * u + j] = i == j ? std::sqrt(s) : s / L[j * u + j];
            }
        std::vector<LD> y(u), dx(u);
        for (long i = 0; i < u; ++i) {
            LD s = b[i];
            for (long k = 0; k < i; ++k) s -= L[i * u + k] * y[k];
            y[i] = s / L[i * u + i];
        }
        for (long i = u - 1; i >= 0; --i) {
            LD s = y[i];
            for (long k = i + 1; k < u; ++k) s -= L[k * u + i] * dx[k];
            dx[i] = s / L[i * u + i];
        }
        for (auto& [ime, c] : stolpec) {
            x[ime][0] += dx[c];
            x[ime][1] += dx[c + 1];
        }
    }
    return x;
}

void PricakujKoordinate(const Izravnava& a, const Izravnava& b, LD tol)
{
    ASSERT_EQ(a.tocke.size(), b.tocke.size());
    for (const auto& [ime, x] : a.tocke)
        for (std::size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(x[k], b.tocke.at(ime)[k], tol) << ime << " " << k;
}

// Adjusted observations (computed + residual) are datum-free; compare f - v
// row by row over the observation rows.
void PricakujPopravke(const Izravnava& a, const Izravnava& b, LD tol)
{
    const long n = a.run->GMM.nobs;
    ASSERT_EQ(n, b.run->GMM.nobs);
    for (long i = 0; i < n; ++i) EXPECT_NEAR(a.run->GMMS.vvec(i), b.run->GMMS.vvec(i), tol) << i;
}

std::string Iteriraj(const std::string& data)
{
    std::string d = ZNastavitvijo(data, "*ITER", "1");
    d = ZNastavitvijo(d, "*ITERMAX", "20");
    return ZNastavitvijo(d, "*ITERTHRES", "1e-9");
}

}  // namespace

TEST(IzravnavaRavninska, ComposedAnglesEqualDirectionsWithOrientationUnknowns)
{
    const Izravnava iz = Izravnaj(Iteriraj(ZNastavitvijo(Primer("ravninska_dms.dat"), "*CORKOT", "1")));
    std::map<std::string, std::vector<LD>> start = iz.tocke;
    for (auto& [ime, x] : start)
        if (ime != "GT12" && ime != "GT21") { x[0] += 0.05L; x[1] -= 0.03L; }  // fixed points stay
    const auto ref = SmeriZOrientacijami(*iz.run, start);
    for (const auto& [ime, x] : ref) {
        EXPECT_NEAR(iz.tocke.at(ime)[0], x[0], 1e-6L) << ime;
        EXPECT_NEAR(iz.tocke.at(ime)[1], x[1], 1e-6L) << ime;
    }
    // Without the correlations the angles are a different (wrong) model.
    const Izravnava brez = Izravnaj(Iteriraj(ZNastavitvijo(Primer("ravninska_dms.dat"), "*CORKOT", "0")));
    LD najvec = 0;
    for (const auto& [ime, x] : ref) najvec = std::max(najvec, std::fabs(brez.tocke.at(ime)[0] - x[0]));
    EXPECT_GT(najvec, 1e-5L);
}

TEST(IzravnavaRavninska, EveryMethodGivesTheSameAdjustment)
{
    for (const std::string primer : {"ravninska_dms.dat", "ravninska_gon.dat", "prostorska.dat", "mesana.dat"}) {
        const std::string data = Iteriraj(Primer(primer));
        const Izravnava ref = Izravnaj(ZNastavitvijo(data, "*NUMSOLV", "NS"));
        for (const char* m : {"LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"}) {
            SCOPED_TRACE(primer + std::string(" ") + m);
            const Izravnava iz = Izravnaj(ZNastavitvijo(data, "*NUMSOLV", m));
            PricakujKoordinate(iz, ref, 1e-9L);
            EXPECT_NEAR(iz.run->GMMS.SoI, ref.run->GMMS.SoI, 1e-12L);
        }
    }
}

TEST(IzravnavaRavninska, DatumThatOnlyRemovesTheDefectLeavesObservationsAlone)
{
    const std::string data = Iteriraj(Primer("ravninska_dms.dat"));
    const Izravnava h = Izravnaj(ZDatumom(data, "*D H\n"));
    const Izravnava d = Izravnaj(ZDatumom(data, "*D D\n**DX GT12\n**DY GT12\n**DS GT12 101\n"));
    PricakujPopravke(d, h, 1e-8L);
    EXPECT_NEAR(d.run->GMMS.SoI, h.run->GMMS.SoI, 1e-12L);
    // Directions alone leave translation, rotation and scale: two fixed
    // points remove exactly that defect.
    std::string smeri;
    for (const std::string& l : Lines(data))
        if (l.empty() || l[0] != 'D') smeri += l + "\n";
    const Izravnava sh = Izravnaj(ZDatumom(smeri, "*D H\n"));
    const Izravnava sv = Izravnaj(ZDatumom(smeri, "*D V\n**V GT12\n**V GT21\n"));
    PricakujPopravke(sv, sh, 1e-8L);
    EXPECT_NEAR(sv.run->GMMS.SoI, sh.run->GMMS.SoI, 1e-12L);
    EXPECT_EQ(sh.run->GMM.nHdat, 4);
}

TEST(IzravnavaRavninska, AngleUnitsGiveTheSameCoordinates)
{
    // The GON example written again in DEG and in DMS: the readings in
    // radians are the same to the rounding of the written digits.
    const Izravnava gon = Izravnaj(Iteriraj(Primer("ravninska_gon.dat")));
    for (const char* enota : {"DEG", "DMS"}) {
        SCOPED_TRACE(enota);
        std::string data = ZNastavitvijo(Iteriraj(Primer("ravninska_gon.dat")), "*AU", enota);
        std::string out;
        for (const std::string& l : Lines(data)) {
            std::istringstream s(l);
            std::vector<std::string> w;
            std::string t;
            while (s >> t) w.push_back(t);
            if (w.size() == 5 && w[0] == "S") {
                const long double g = std::stold(w[3]), sig = std::stold(w[4]);
                const long double deg = g * 0.9L;
                char b[160];
                if (std::string(enota) == "DEG") {
                    std::snprintf(b, sizeof b, "S %s %s %.12Lf %.6Lf", w[1].c_str(), w[2].c_str(), deg,
                                  sig * 3.24L);
                } else {
                    const long double sec = deg * 3600.0L;
                    const long D = static_cast<long>(sec / 3600.0L);
                    const long M = static_cast<long>((sec - D * 3600.0L) / 60.0L);
                    std::snprintf(b, sizeof b, "S %s %s %ld %ld %.8Lf %.6Lf", w[1].c_str(), w[2].c_str(), D, M,
                                  sec - D * 3600.0L - M * 60.0L, sig * 3.24L);
                }
                out += std::string(b) + "\n";
            } else {
                out += l + "\n";
            }
        }
        const Izravnava iz = Izravnaj(out);
        PricakujKoordinate(iz, gon, 1e-6L);
        EXPECT_NEAR(iz.run->GMMS.SoI / iz.run->GMM.So, gon.run->GMMS.SoI / gon.run->GMM.So, 1e-6L);
    }
}

TEST(IzravnavaRavninska, IterationStopsWithCorrectionsBelowTheThreshold)
{
    std::string data = ZNastavitvijo(Primer("prostorska.dat"), "*ITER", "1");
    data = ZNastavitvijo(data, "*ITERMAX", "10");
    data = ZNastavitvijo(data, "*ITERTHRES", "1e-5");
    const Izravnava iz = Izravnaj(data);
    EXPECT_LE(iz.run->nPasses, 5);
    EXPECT_GE(iz.run->nPasses, 2);
    EXPECT_LT(iz.run->GMMS.GetNormX(), 1e-5L);
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
