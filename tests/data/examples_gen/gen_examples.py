#!/usr/bin/env python3
"""Writes the example data files of examples/ and the true coordinates behind them.

Each network is defined here by its true coordinates.  Observations are computed
from the truth with the same observation functions the adjustment uses and then
perturbed by normally distributed errors of the size of their standard
deviations (fixed seed, so the files are reproducible).  Approximate
coordinates of the points that are not fixed are the truth shifted by a few
centimetres to decimetres, so the iteration has work to do; fixed points are
written exactly.

Coordinate order is (e, n[, H]): the first coordinate is the easting (y of the
national grid), the second the northing (x).  The program measures bearings
from the second coordinate axis towards the first, so with this order every
bearing, direction and azimuth is the usual clockwise angle from grid north.

Usage:  python3 gen_examples.py [repo-root]
Writes  <root>/examples/*.dat and <root>/tests/data/examples_gen/*_truth.txt,
then checks every file it wrote (see check_file) and prints the misclosures.
Standard library only.
"""
import math
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.abspath(os.path.join(HERE, "..", "..", ".."))
EXDIR = os.path.join(ROOT, "examples")
TRUTHDIR = HERE

RHO_SEC = 180.0 * 3600.0 / math.pi
RHO_MGON = 200.0 * 1000.0 / math.pi


# ---------------------------------------------------------------------------
# Observation functions (the model the adjustment linearises)
# ---------------------------------------------------------------------------

def bearing(p, q):
    """Grid bearing p->q in [0, 2pi), from the second coordinate towards the first."""
    da = q[0] - p[0]
    db = q[1] - p[1]
    nu = math.atan2(da, db)
    if nu < 0.0:
        nu += 2.0 * math.pi
    return nu


def hdist(p, q):
    return math.hypot(q[0] - p[0], q[1] - p[1])


def sdist(p, q):
    return math.sqrt((q[0] - p[0]) ** 2 + (q[1] - p[1]) ** 2 + (q[2] - p[2]) ** 2)


def zenith(p, q, ukrz, kref, radius):
    """Zenith distance p->q as observed: geometric value plus the curvature and
    refraction term c*(u - k), c = s/(2R)*sin^2(z0)."""
    s = hdist(p, q)
    dz = q[2] - p[2]
    z0 = math.atan(s / dz) if dz != 0.0 else math.pi / 2.0
    if z0 < 0.0:
        z0 += math.pi
    c = (s / radius) / 2.0 * math.sin(z0) ** 2
    return z0 + c * ((1.0 if ukrz else 0.0) - kref)


# ---------------------------------------------------------------------------
# Formatting
# ---------------------------------------------------------------------------

def fmt_dms(rad):
    """Angle field in DMS: three words (degrees, minutes, seconds)."""
    sec_total = math.degrees(rad) * 3600.0
    sec_total = round(sec_total, 2)
    d = int(sec_total // 3600.0)
    rest = sec_total - d * 3600.0
    m = int(rest // 60.0)
    s = rest - m * 60.0
    if s >= 59.995:          # keep 60.00 out of the seconds field
        s = 0.0
        m += 1
    if m >= 60:
        m -= 60
        d += 1
    return "%3d %02d %05.2f" % (d, m, s)


def fmt_gon(rad):
    return "%10.5f" % (rad * 200.0 / math.pi)


def parse_angle(words, unit):
    """Inverse of the field formats: returns (radians, number of words used)."""
    if unit == "DMS":
        d = int(words[0]); m = int(words[1]); s = float(words[2])
        return math.radians(d + m / 60.0 + s / 3600.0), 3
    if unit == "GON":
        return float(words[0]) * math.pi / 200.0, 1
    return math.radians(float(words[0])), 1


# ---------------------------------------------------------------------------
# Network description and writer
# ---------------------------------------------------------------------------

class Network:
    def __init__(self, base, dim, unit="DMS", seed=1):
        self.base = base
        self.dim = dim
        self.unit = unit
        self.rng = random.Random(seed)
        self.comments = []
        self.settings = []        # lines such as "*ITER 1"
        self.datum = "V"
        self.datum_lines = []     # lines such as "**V T1"
        self.truth = {}           # name -> tuple of Dim coordinates
        self.order = []
        self.fixed = set()
        self.approx = {}
        self.obs = []             # (letter, text after the letter, comment or None)
        self.ukrz = False
        self.kref = 0.0
        self.radius = 6371000.0

    # points --------------------------------------------------------------
    def point(self, name, *crd, fixed=False, shift=None):
        assert len(crd) == self.dim, name
        self.truth[name] = tuple(float(c) for c in crd)
        self.order.append(name)
        if fixed:
            self.fixed.add(name)
            self.approx[name] = self.truth[name]
        else:
            if shift is None:
                # a few cm to a few dm in every coordinate, sign random
                shift = tuple(self.rng.choice((-1, 1)) * self.rng.uniform(0.03, 0.25)
                              for _ in range(self.dim))
            self.approx[name] = tuple(round(c + d, 3) for c, d in zip(self.truth[name], shift))

    def err(self, sigma):
        return self.rng.gauss(0.0, sigma)

    # observations (sigma in mm, or in arc seconds / milligon) --------------
    def angfield(self, rad):
        return fmt_dms(rad) if self.unit == "DMS" else fmt_gon(rad)

    def angerr(self, sig):
        """Random angle error in radians for a deviation in the file's small unit."""
        return self.err(sig / RHO_SEC if self.unit == "DMS" else sig / RHO_MGON)

    def hdif(self, a, b, sig_mm):
        t = self.truth
        val = t[b][-1] - t[a][-1] + self.err(sig_mm / 1000.0)
        self.obs.append(("h", "%-6s %-6s %11.5f %6.2f" % (a, b, val, sig_mm)))

    def dist2(self, a, b, sig_mm):
        val = hdist(self.truth[a], self.truth[b]) + self.err(sig_mm / 1000.0)
        self.obs.append(("D", "%-6s %-6s %12.4f %6.2f" % (a, b, val, sig_mm)))

    def dist3(self, a, b, sig_mm):
        val = sdist(self.truth[a], self.truth[b]) + self.err(sig_mm / 1000.0)
        self.obs.append(("L", "%-6s %-6s %12.4f %6.2f" % (a, b, val, sig_mm)))

    def zen(self, a, b, sig):
        val = zenith(self.truth[a], self.truth[b], self.ukrz, self.kref, self.radius) + self.angerr(sig)
        self.obs.append(("Z", "%-6s %-6s %s %5.1f" % (a, b, self.angfield(val), sig)))

    def azi(self, a, b, sig):
        val = (bearing(self.truth[a], self.truth[b]) + self.angerr(sig)) % (2.0 * math.pi)
        self.obs.append(("A", "%-6s %-6s %s %5.1f" % (a, b, self.angfield(val), sig)))

    def para(self, i1, j1, i2, j2, sig):
        """Angle between the directions i1->j1 and i2->j2: bearing2 - bearing1,
        taken in [0, 2pi) (the model does not reduce it, so keep it there)."""
        t = self.truth
        val = bearing(t[i2], t[j2]) - bearing(t[i1], t[j1])
        val = val % (2.0 * math.pi)
        val += self.angerr(sig)
        self.obs.append(("P", "%-6s %-6s %-6s %-6s %s %5.1f" % (i1, j1, i2, j2, self.angfield(val), sig)))

    def dirset(self, station, targets, sig, orient=None):
        """One direction set: targets sorted clockwise starting with targets[0],
        the orientation chosen so the first reading is a few seconds to minutes
        past zero, so the readings grow through the set without passing 360."""
        t = self.truth
        first = bearing(t[station], t[targets[0]])
        rel = sorted(targets, key=lambda q: (bearing(t[station], t[q]) - first) % (2.0 * math.pi))
        if orient is None:
            orient = first - self.rng.uniform(0.0, 0.004)   # first reading 0..14 minutes
        for q in rel:
            r = (bearing(t[station], t[q]) - orient) % (2.0 * math.pi) + self.angerr(sig)
            self.obs.append(("S", "%-6s %-6s %s %5.1f" % (station, q, self.angfield(r), sig)))

    def crd(self, a, sig_mm):
        val = [c + self.err(s / 1000.0) for c, s in zip(self.truth[a], sig_mm)]
        txt = "%-6s " % a + " ".join("%13.4f" % v for v in val) + " " + " ".join("%6.2f" % s for s in sig_mm)
        self.obs.append(("C", txt))

    def vec(self, a, b, sig_mm):
        val = [tb - ta + self.err(s / 1000.0) for ta, tb, s in zip(self.truth[a], self.truth[b], sig_mm)]
        txt = "%-6s %-6s " % (a, b) + " ".join("%11.4f" % v for v in val) + " " + " ".join("%6.2f" % s for s in sig_mm)
        self.obs.append(("V", txt))

    def blank(self, comment=None):
        self.obs.append((None, comment))

    # output --------------------------------------------------------------
    def text(self):
        out = []
        for c in self.comments:
            out.append(("# " + c).rstrip())
        out.append("#")
        out.append("*DIM %d" % self.dim)
        for s in self.settings:
            out.append(s)
        out.append("")
        out.append("# geodetic datum")
        out.append("*D %s" % self.datum)
        out.extend(self.datum_lines)
        out.append("")
        if self.dim == 1:
            out.append("# approximate heights [m]")
        elif self.dim == 2:
            out.append("# approximate coordinates: easting, northing [m]")
        else:
            out.append("# approximate coordinates: easting, northing, height [m]")
        for n in self.order:
            if n in self.fixed:
                for c in self.approx[n]:
                    assert abs(float("%.4f" % c) - c) < 1e-9, "fixed point %s not exact in 4 decimals" % n
            out.append("X  %-6s " % n + " ".join("%13.4f" % c if self.dim > 1 else "%10.4f" % c
                                                  for c in self.approx[n]))
        out.append("")
        for letter, txt in self.obs:
            if letter is None:
                out.append("" if txt is None else "# " + txt)
            else:
                out.append("%s  %s" % (letter, txt))
        out.append("")
        out.append("*K")
        return "\n".join(out) + "\n"

    def truth_text(self):
        what = {1: "height", 2: "easting northing", 3: "easting northing height"}[self.dim]
        lines = ["# true values of %s.dat: name, %s [m], 1 = fixed point" % (self.base, what)]
        for n in self.order:
            lines.append("%-6s " % n + " ".join("%.6f" % c for c in self.truth[n]) +
                         " %d" % (1 if n in self.fixed else 0))
        return "\n".join(lines) + "\n"


# ---------------------------------------------------------------------------
# The networks
# ---------------------------------------------------------------------------

def net_nivelman():
    n = Network("nivelman", 1, seed=1012)
    n.comments = [
        "Nivex example: levelling network",
        "",
        "Precise levelling around a small town: three benchmarks of the national",
        "levelling network (R12, R27, R45) are held fixed and eight new benchmarks",
        "N1 ... N8 are determined from fifteen levelling lines: five independent",
        "closed loops and two connections between the fixed benchmarks, so the",
        "network has 15 observations, 8 unknown heights and redundancy 7.",
        "Height difference h from-point to-point = H(to) - H(from), in metres;",
        "standard deviation 1.0 mm/sqrt(km) times the square root of the line",
        "length, in millimetres.  Approximate heights of N1 ... N8 are rounded",
        "values a few centimetres off; the fixed benchmarks carry their",
        "catalogue heights.",
    ]
    n.settings = ["*ITER 1", "*NUMSOLV CH"]
    n.datum = "V"
    n.point("R12", 296.4183, fixed=True)
    n.point("R27", 341.0736, fixed=True)
    n.point("R45", 318.2259, fixed=True)
    for name, h in (("N1", 302.1167), ("N2", 315.8842), ("N3", 327.5519), ("N4", 336.2974),
                    ("N5", 329.9603), ("N6", 311.7381), ("N7", 299.0425), ("N8", 322.4468)):
        n.point(name, h)
    n.datum_lines = ["**V R12", "**V R27", "**V R45"]
    lines = [("R12", "N1", 1.2), ("N1", "N2", 0.9), ("N2", "N3", 1.4), ("N3", "R27", 1.1),
             ("R27", "N4", 0.8), ("N4", "N5", 1.3), ("N5", "R45", 1.0), ("R45", "N6", 1.5),
             ("N6", "N7", 0.7), ("N7", "R12", 1.6), ("N1", "N7", 1.1), ("N2", "N6", 1.3),
             ("N3", "N4", 1.2), ("N5", "N8", 0.9), ("N8", "N2", 1.4)]
    n.blank("height differences: from, to, dh [m], sigma [mm]   (line length in km)")
    for a, b, km in lines:
        n.hdif(a, b, round(1.0 * math.sqrt(km), 2))
    return n


NETWORKS = [net_nivelman]


def main():
    os.makedirs(EXDIR, exist_ok=True)
    for make in NETWORKS:
        net = make()
        path = os.path.join(EXDIR, net.base + ".dat")
        with open(path, "w", newline="\n") as f:
            f.write(net.text())
        with open(os.path.join(TRUTHDIR, net.base + "_truth.txt"), "w", newline="\n") as f:
            f.write(net.truth_text())
        print("wrote", os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
