#include "src/FPribliznaGeometrija.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr real kPi = 3.141592653589793238462643383279502884L;
// Rays or arcs that cross at less than this angle (or more than its
// supplement) give no point: the error of the point grows by 1 / sin of the
// angle, and so does that of every point computed from it.
const real kNajmanjsiPresek = std::sin(20.0L * kPi / 180.0L);

real Det3(real a1, real a2, real a3, real b1, real b2, real b3, real c1, real c2, real c3)
{
    return a1 * (b2 * c3 - b3 * c2) - a2 * (b1 * c3 - b3 * c1) + a3 * (b1 * c2 - b2 * c1);
}
}  // namespace

real PribliznaNormiraj(real kot)
{
    kot = std::fmod(kot, 2.0L * kPi);
    return kot < 0.0L ? kot + 2.0L * kPi : kot;
}

real PribliznaSmer(const Tocka2& a, const Tocka2& b) { return PribliznaNormiraj(std::atan2(b[0] - a[0], b[1] - a[1])); }

real PribliznaMediana(std::vector<real> v)
{
    if (v.empty()) return 0.0L;
    const std::size_t n = v.size(), k = n / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(k), v.end());
    if (n % 2 == 1) return v[k];
    const real zgoraj = v[k];
    return (*std::max_element(v.begin(), v.begin() + static_cast<long>(k)) + zgoraj) / 2.0L;
}

real PribliznaMedianaKotov(std::vector<real> koti)
{
    if (koti.empty()) return 0.0L;
    const real prvi = koti[0];
    for (real& k : koti) {
        k = PribliznaNormiraj(k - prvi);
        if (k > kPi) k -= 2.0L * kPi;
    }
    return PribliznaNormiraj(prvi + PribliznaMediana(std::move(koti)));
}

Tocka2 PribliznoPolarno(const Tocka2& a, real t, real d) { return {a[0] + d * std::sin(t), a[1] + d * std::cos(t)}; }

bool PribliznoPresek(const Tocka2& a, real ta, const Tocka2& b, real tb, Tocka2& p)
{
    // a + u (sin ta, cos ta) = b + v (sin tb, cos tb)
    const real det = std::sin(tb - ta);
    if (std::fabs(det) < kNajmanjsiPresek) return false;
    const real dx = b[0] - a[0], dy = b[1] - a[1];
    const real u = (-dx * std::cos(tb) + dy * std::sin(tb)) / det;
    const real v = (-dx * std::cos(ta) + dy * std::sin(ta)) / det;
    if (u <= 0.0L || v <= 0.0L) return false;
    p = PribliznoPolarno(a, ta, u);
    return true;
}

bool PribliznoLok(const Tocka2& a, real da, const Tocka2& b, real db, Tocka2& p1, Tocka2& p2)
{
    const real dx = b[0] - a[0], dy = b[1] - a[1], d = std::hypot(dx, dy);
    if (d <= 0.0L || da <= 0.0L || db <= 0.0L) return false;
    const real x = (da * da - db * db + d * d) / (2.0L * d);
    const real h2 = da * da - x * x;
    if (h2 < 0.0L) return false;
    // The arcs cross at the angle whose sine is d h / (da db).
    if (d * std::sqrt(h2) < kNajmanjsiPresek * da * db) return false;
    const real h = std::sqrt(h2), ex = dx / d, ey = dy / d;
    p1 = {a[0] + x * ex + h * ey, a[1] + x * ey - h * ex};
    p2 = {a[0] + x * ex - h * ey, a[1] + x * ey + h * ex};
    return true;
}

bool PribliznoNazaj(const std::array<Tocka2, 3>& t, const std::array<real, 3>& r, Tocka2& p)
{
    // Reduced to the centroid and scaled to its spread, so that the four
    // unknowns are of one size.
    const real cx = (t[0][0] + t[1][0] + t[2][0]) / 3.0L, cy = (t[0][1] + t[1][1] + t[2][1]) / 3.0L;
    real s = 0.0L;
    for (const Tocka2& q : t) s += std::hypot(q[0] - cx, q[1] - cy);
    s /= 3.0L;
    if (s <= 0.0L) return false;
    std::array<std::array<real, 4>, 3> m{};
    for (int k = 0; k < 3; ++k) {
        const real x = (t[k][0] - cx) / s, y = (t[k][1] - cy) / s, cr = std::cos(r[k]), sr = std::sin(r[k]);
        m[k] = {x * cr - y * sr, -x * sr - y * cr, cr, sr};
    }
    // The null vector of the 3 x 4 matrix by its signed minors.
    std::array<real, 4> v{};
    for (int j = 0; j < 4; ++j) {
        std::array<std::array<real, 3>, 3> c{};
        for (int k = 0; k < 3; ++k)
            for (int l = 0, q = 0; l < 4; ++l)
                if (l != j) c[k][q++] = m[k][l];
        const real d = Det3(c[0][0], c[0][1], c[0][2], c[1][0], c[1][1], c[1][2], c[2][0], c[2][1], c[2][2]);
        v[j] = (j % 2 == 0 ? 1.0L : -1.0L) * d;
    }
    const real norma = std::hypot(v[0], v[1]), vse = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
    if (!(norma > 1e-9L * vse) || !(norma > 0.0L)) return false;
    const real c = v[0] / norma, sn = v[1] / norma, mm = v[2] / norma, nn = v[3] / norma;
    p = {cx + s * (sn * nn - c * mm), cy + s * (sn * mm + c * nn)};
    if (!std::isfinite(p[0]) || !std::isfinite(p[1])) return false;
    // Near the circle through the three targets (the danger circle) the
    // station is not determined: refused within a fifth of its radius.
    const real ax = t[0][0] - cx, ay = t[0][1] - cy, bx = t[1][0] - cx, by = t[1][1] - cy, qx = t[2][0] - cx,
               qy = t[2][1] - cy;
    const real dd = 2.0L * (ax * (by - qy) + bx * (qy - ay) + qx * (ay - by));
    if (std::fabs(dd) < 1e-12L * s * s) return true;   // targets on a line: no circle
    const real a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, q2 = qx * qx + qy * qy;
    const real ox = (a2 * (by - qy) + b2 * (qy - ay) + q2 * (ay - by)) / dd;
    const real oy = (a2 * (qx - bx) + b2 * (ax - qx) + q2 * (bx - ax)) / dd;
    const real polmer = std::hypot(ax - ox, ay - oy);
    return std::fabs(std::hypot(p[0] - cx - ox, p[1] - cy - oy) - polmer) > 0.2L * polmer;
}

bool PribliznaPodobnost(const std::vector<Tocka2>& lokalne, const std::vector<Tocka2>& globalne,
                        PodobnostRavnine& t)
{
    const std::size_t n = std::min(lokalne.size(), globalne.size());
    if (n < 2) return false;
    real lx = 0, ly = 0, gx = 0, gy = 0;
    for (std::size_t k = 0; k < n; ++k) {
        lx += lokalne[k][0]; ly += lokalne[k][1]; gx += globalne[k][0]; gy += globalne[k][1];
    }
    lx /= static_cast<real>(n); ly /= static_cast<real>(n); gx /= static_cast<real>(n); gy /= static_cast<real>(n);
    real sxx = 0, sa = 0, sb = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const real x = lokalne[k][0] - lx, y = lokalne[k][1] - ly, X = globalne[k][0] - gx, Y = globalne[k][1] - gy;
        sxx += x * x + y * y;
        sa += x * X + y * Y;
        sb += x * Y - y * X;
    }
    if (!(sxx > 1e-6L)) return false;
    t.a = sa / sxx;
    t.b = sb / sxx;
    t.tx = gx - (t.a * lx - t.b * ly);
    t.ty = gy - (t.b * lx + t.a * ly);
    return true;
}
