// Covariance blocks (Q lines): the adjustment equals a generalised least
// squares computed here from the data text with its own formulas (directions
// with an orientation unknown per station, where the program forms composed
// angles), and differs from the one without correlations; snooping and the
// robust loop take a record out of its block and keep the rest of the block.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "IzravnavaUtil.h"
#include "TestUtil.h"

namespace {
using R = long double;
using Mat = std::vector<std::vector<R>>;
constexpr R kSek = 3.14159265358979323846264338327950288L / 648000.0L;

Mat Inverz(Mat A)
{
    const std::size_t n = A.size();
    Mat I(n, std::vector<R>(n, 0.0L));
    for (std::size_t i = 0; i < n; ++i) I[i][i] = 1.0L;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t p = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(A[r][c]) > std::fabs(A[p][c])) p = r;
        std::swap(A[c], A[p]);
        std::swap(I[c], I[p]);
        const R d = A[c][c];
        for (std::size_t j = 0; j < n; ++j) A[c][j] /= d, I[c][j] /= d;
        for (std::size_t r = 0; r < n; ++r)
            if (r != c && A[r][c] != 0.0L) {
                const R f = A[r][c];
                for (std::size_t j = 0; j < n; ++j) A[r][j] -= f * A[c][j], I[r][j] -= f * I[c][j];
            }
    }
    return I;
}

// Gauss-Newton GLS of the data text: point records X, datum **V, records
// H h C V D S (angles in DEG) and Q blocks.  Returns the adjusted points and
// v'C^-1 v / dof.
struct Gls {
    std::map<std::string, std::vector<R>> tocke;
    R vcv_f = 0;
};
Gls IzracunajGls(const std::string& data)
{
    int dim = 2;
    std::map<std::string, std::vector<R>> X;
    std::map<std::string, bool> dana;
    struct Opazovanje {
        std::string zapis;   // kind and points, as a Q line names it
        std::function<R(const std::map<std::string, std::vector<R>>&, const std::map<std::string, R>&)> f;
        R l, s;
        bool kot;
        int rec;   // the record of the row
    };
    int rec = 0;
    std::vector<Opazovanje> o;
    std::vector<std::pair<std::vector<std::string>, std::vector<R>>> bloki;
    for (const std::string& vrsta : Lines(data)) {
        std::istringstream in(vrsta);
        std::string k, a, b;
        in >> k;
        R x = 0.0L;
        if (!bloki.empty() && std::istringstream(k) >> x)   // a block goes on over lines
            for (bloki.back().second.push_back(x); in >> x;) bloki.back().second.push_back(x);
        if (k == "*DIM") in >> dim;
        if (k == "**V") in >> a, dana[a] = true;
        if (k == "X") {
            in >> a;
            X[a].resize(static_cast<std::size_t>(dim));
            for (R& x : X[a]) in >> x;
        }
        if (k.size() == 1 && std::string("HChVDS").find(k[0]) != std::string::npos) {
            const bool tocka = k == "H" || k == "C", kot = k == "S";
            in >> a;
            if (!tocka) in >> b;
            const std::size_t n = k == "C" || k == "V" ? static_cast<std::size_t>(dim) : 1;
            std::vector<R> l(n), s(n);
            for (R& x : l) in >> x;
            for (R& x : s) in >> x;
            for (std::size_t c = 0; c < n; ++c) {
                std::function<R(const std::map<std::string, std::vector<R>>&, const std::map<std::string, R>&)> f =
                    [a, b, c](const auto& t, const auto&) { return t.at(b)[c] - t.at(a)[c]; };
                if (tocka) f = [a, c](const auto& t, const auto&) { return t.at(a)[c]; };
                if (k == "D")
                    f = [a, b](const auto& t, const auto&) { return std::hypot(t.at(b)[0] - t.at(a)[0], t.at(b)[1] - t.at(a)[1]); };
                if (kot)
                    f = [a, b](const auto& t, const auto& z) {
                        return std::atan2(t.at(b)[0] - t.at(a)[0], t.at(b)[1] - t.at(a)[1]) - z.at(a);
                    };
                o.push_back({tocka ? k + " " + a : k + " " + a + " " + b, f, kot ? l[c] * kSek * 3600 : l[c],
                             kot ? s[c] * kSek : s[c] / 1000, kot, rec});
            }
            ++rec;
        }
        if (k == "Q") {
            int n = 0;
            in >> n;
            std::vector<std::string> imena;
            for (int i = 0; i < n; ++i) {
                std::string z, t;
                in >> z;
                const int tock = z == "H" || z == "C" ? 1 : 2;
                for (int j = 0; j < tock; ++j) in >> t, z += " " + t;
                imena.push_back(z);
            }
            std::vector<R> q;
            for (R x; in >> x;) q.push_back(x);
            bloki.push_back({imena, q});
        }
    }
    // Covariance: the records' deviations, then the blocks over their rows
    // (a name takes the first record of that name not yet in a block).
    const std::size_t m = o.size();
    Mat C(m, std::vector<R>(m, 0.0L));
    for (std::size_t i = 0; i < m; ++i) C[i][i] = o[i].s * o[i].s;
    std::vector<bool> vBloku(m, false);
    for (const auto& [imena, q] : bloki) {
        std::vector<std::size_t> v;
        for (const std::string& z : imena) {
            std::size_t i = 0;
            while (o[i].zapis != z || vBloku[i]) ++i;
            for (std::size_t j = i; j < m && o[j].rec == o[i].rec; ++j) v.push_back(j), vBloku[j] = true;
        }
        std::size_t e = 0;
        for (std::size_t a = 0; a < v.size(); ++a)
            for (std::size_t b = a; b < v.size(); ++b, ++e) C[v[a]][v[b]] = C[v[b]][v[a]] = q.at(e);
    }
    const Mat P = Inverz(C);
    // Unknowns: the coordinates of the points not held, one orientation per station.
    std::map<std::string, R> z;
    for (const auto& ob : o)
        if (ob.zapis[0] == 'S') z[ob.zapis.substr(2, ob.zapis.find(' ', 2) - 2)] = 0.0L;
    std::vector<std::pair<std::string, int>> u;
    for (const auto& [t, x] : X)
        if (!dana[t])
            for (int c = 0; c < dim; ++c) u.push_back({t, c});
    for (auto& [s, w] : z) u.push_back({s, -1}), w = 0.0L;
    auto vrednost = [&](std::size_t k) -> R& { return u[k].second < 0 ? z[u[k].first] : X[u[k].first][static_cast<std::size_t>(u[k].second)]; };
    auto ostanek = [&](std::size_t i) {
        R d = o[i].l - o[i].f(X, z);
        if (o[i].kot) d = std::remainder(d, 2 * 3.14159265358979323846264338327950288L);
        return d;
    };
    const std::size_t n = u.size();
    // Orientations from the first direction of each station.
    for (auto& [s, w] : z)
        for (std::size_t i = 0; i < m; ++i)
            if (o[i].zapis.rfind("S " + s + " ", 0) == 0) {
                w = -ostanek(i);
                break;
            }
    std::vector<R> d(m);
    for (int it = 0; it < 20; ++it) {
        Mat A(m, std::vector<R>(n));
        for (std::size_t k = 0; k < n; ++k) {
            const R h = 1e-4L, x0 = vrednost(k);
            vrednost(k) = x0 + h;
            std::vector<R> fp(m);
            for (std::size_t i = 0; i < m; ++i) fp[i] = o[i].f(X, z);
            vrednost(k) = x0 - h;
            for (std::size_t i = 0; i < m; ++i) A[i][k] = (fp[i] - o[i].f(X, z)) / (2 * h);
            vrednost(k) = x0;
        }
        for (std::size_t i = 0; i < m; ++i) d[i] = ostanek(i);
        Mat N(n, std::vector<R>(n, 0.0L));
        std::vector<R> b(n, 0.0L);
        for (std::size_t i = 0; i < m; ++i)
            for (std::size_t j = 0; j < m; ++j)
                if (P[i][j] != 0.0L)
                    for (std::size_t k = 0; k < n; ++k) {
                        b[k] += A[i][k] * P[i][j] * d[j];
                        for (std::size_t l = 0; l < n; ++l) N[k][l] += A[i][k] * P[i][j] * A[j][l];
                    }
        const Mat Ni = Inverz(N);
        for (std::size_t k = 0; k < n; ++k)
            for (std::size_t l = 0; l < n; ++l) vrednost(k) += Ni[k][l] * b[l];
    }
    Gls g;
    for (std::size_t i = 0; i < m; ++i) d[i] = ostanek(i);
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < m; ++j) g.vcv_f += d[i] * P[i][j] * d[j];
    g.vcv_f /= static_cast<R>(m - n);
    g.tocke = X;
    return g;
}

// Largest coordinate difference between the program and the GLS.
R Razlika(const Izravnava& iz, const Gls& g)
{
    R najvec = 0.0L;
    for (const auto& [t, x] : g.tocke)
        for (std::size_t c = 0; c < x.size(); ++c) najvec = std::max(najvec, std::fabs(iz.tocke.at(t).at(c) - x[c]));
    return najvec;
}

std::string BrezQ(const std::string& data)
{
    // The Q lines and the lines that go on with their elements.
    std::string out;
    bool q = false;
    for (const std::string& l : Lines(data)) {
        R x = 0.0L;
        q = l.rfind("Q ", 0) == 0 || (q && std::istringstream(l) >> x);
        if (!q) out += l + "\n";
    }
    return out;
}

std::string Gnss() { return ReadFile(std::string(NIVEX_SOURCE_DIR) + "/docs/examples/gnss.dat"); }
}  // namespace

TEST(Kovariance, BaselinesEqualTheGeneralisedLeastSquares)
{
    const std::string data = Gnss();
    const Gls g = IzracunajGls(data);
    for (const auto& [metoda, gosto] : {std::pair{"CH", false}, {"QR", true}, {"SVD", true}}) {
        SCOPED_TRACE(metoda);
        const Izravnava iz = IzravnajZ(data, metoda, gosto);
        EXPECT_LT(Razlika(iz, g), 1e-8L);
        const RezGlobalniTest& gt = iz.run->rez.globalniTest;
        EXPECT_NEAR(gt.statistika, g.vcv_f, 1e-9L * g.vcv_f);
        EXPECT_NEAR(gt.rsum, static_cast<R>(gt.prostostne), 1e-9L);
    }
    // Without the correlations: its own GLS, and the coordinates move by
    // more than a tenth of a millimetre.
    const Izravnava brez = Izravnaj(BrezQ(data));
    EXPECT_LT(Razlika(brez, IzracunajGls(BrezQ(data))), 1e-8L);
    EXPECT_GT(Razlika(brez, g), 1e-4L);
}

TEST(Kovariance, CoordinateHeightAndStationBlocksEqualTheGeneralisedLeastSquares)
{
    const std::string primeri[] = {
        // Observed heights of three points with a full covariance, levelled.
        "*DIM 1\n*D P\nX A 100\nX B 101\nX C 102\nH A 100.002 3\nH B 101.001 3\nH C 101.998 3\n"
        "Q 3 H A H B H C  9e-6 6e-6 4e-6  1.0e-5 5e-6  9e-6\n"
        "h A B 1.0005 1\nh B C 0.9985 1\nh A C 2.0003 1.5\n",
        // Observed coordinates of two points with a full 4 x 4 covariance, a
        // plane vector and distances.
        "*DIM 2\n*ITER 1\n*D P\nX A 500 500\nX B 900 520\nX C 700 800\n"
        "C A 500.003 499.998 3 3\nC B 900.001 520.004 3 3\n"
        "Q 2 C A C B  9e-6 2e-6 5e-6 1e-6  1e-5 1e-6 4e-6  9e-6 3e-6  1.1e-5\n"
        "V A B 400.004 20.003 2 2\nD A C 360.563 3\nD B C 344.095 3\nD A B 400.505 3\n",
        // One station's directions and distances with one covariance (rad^2,
        // m^2, m rad), next to a station of uncorrelated directions.
        "*DIM 2\n*AU DEG\n*ITER 1\n*D V\n**V A\n**V B\n**V C\nX A 5000 3000\nX B 6000 3000\nX C 5500 4000\n"
        "X P 5500.1 3399.9\nS P A 231.340194 2\nS P B 128.659806 2\nS P C 0.000556 2\n"
        "D P A 640.3134 3\nD P B 640.3104 3\nD P C 599.9985 3\n"
        "Q 6 S P A S P B S P C D P A D P B D P C\n"
        "  9.4e-11 3.0e-11 2.5e-11 4.0e-9 1.0e-9 0.0\n  9.4e-11 3.0e-11 0.0 4.0e-9 1.0e-9\n"
        "  9.4e-11 1.0e-9 0.0 4.0e-9\n  9e-6 3e-6 2e-6\n  9e-6 3e-6\n  9e-6\n"
        "S A B 90.0 3\nS A C 26.565 3\nS A P 51.3398 3\n",
    };
    for (const std::string& data : primeri) {
        SCOPED_TRACE(data);
        const Gls g = IzracunajGls(data);
        for (const bool gosto : {false, true}) EXPECT_LT(Razlika(Izravnaj(data, gosto), g), 1e-8L) << gosto;
        EXPECT_GT(Razlika(Izravnaj(BrezQ(data)), g), 1e-5L);
    }
}

TEST(Kovariance, SnoopingAndTheRobustLoopTakeTheRecordOutOfItsBlock)
{
    // The baselines A-B and A-C of one session, correlated with each other;
    // a blunder of 25 mm in the first component of A-B.
    const std::string qab = "Q 1  V A B   7.01e-06 1.96e-06 -2.97e-06  5.3e-06 2.35e-06  1.09e-05\n";
    const std::string qac = "Q 1  V A C   4.58e-06 2.56e-06 -2.82e-06  4.76e-06 1.66e-06  8.12e-06\n";
    const std::string skupaj =
        "Q 2 V A B V A C  7.01e-06 1.96e-06 -2.97e-06 2e-6 1e-6 0  5.3e-06 2.35e-06 1e-6 1.5e-6 0.5e-6\n"
        "  1.09e-05 0 1e-6 2e-6  4.58e-06 2.56e-06 -2.82e-06  4.76e-06 1.66e-06  8.12e-06\n";
    const auto zamenjaj = [](std::string s, const std::string& a, const std::string& b) {
        const std::size_t k = s.find(a);
        EXPECT_NE(k, std::string::npos) << a;
        return k == std::string::npos ? s : s.replace(k, a.size(), b);
    };
    const std::string vab = "V A B      820.4129     510.2217    -619.6678   2.6 2.3 3.3\n";
    const std::string slaba =
        zamenjaj(zamenjaj(zamenjaj(Gnss(), qab, ""), qac, skupaj), "820.4129", "820.4379");
    // The file without that record: the block shrinks to the rows and
    // columns of A-C, the covariance A-C had alone.
    const std::string brez = zamenjaj(zamenjaj(Gnss(), qab, ""), vab, "");
    const Izravnava ref = Izravnaj(brez);
    Gls g;
    g.tocke = ref.tocke;

    const Izravnava isk = Izravnaj(ZNastavitvijo(slaba, "*SNOOP", ""));
    ASSERT_EQ(isk.run->rez.iskanje.izloceni.size(), 1u);
    const RezIzlocen& z = isk.run->rez.iskanje.izloceni[0];
    EXPECT_EQ(z.vrsta, 'V');
    EXPECT_EQ(z.tocke, "A B");
    EXPECT_LT(Razlika(isk, g), 1e-8L);

    // Modified Huber rejects beyond 3 sigma0: the record goes as a whole.
    EXPECT_LT(Razlika(Izravnaj(ZNastavitvijo(slaba, "*ROBSOLV", "MHUB")), g), 1e-8L);
    // The block kept its correlations: without them A-C gives other coordinates.
    g.tocke = Izravnaj(zamenjaj(brez, qac, "")).tocke;
    EXPECT_GT(Razlika(isk, g), 1e-5L);
}
