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
    assert 0.0 <= rad < 2.0 * math.pi
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

    def away_from_north(self, a, b):
        """Bearings near 0/360 would flip by 2pi when the approximate
        coordinates move, and azimuth misclosures are not reduced."""
        nu = bearing(self.truth[a], self.truth[b])
        assert math.radians(2.0) < nu < math.radians(358.0), "bearing %s-%s too close to north" % (a, b)

    def azi(self, a, b, sig):
        self.away_from_north(a, b)
        val = (bearing(self.truth[a], self.truth[b]) + self.angerr(sig)) % (2.0 * math.pi)
        self.obs.append(("A", "%-6s %-6s %s %5.1f" % (a, b, self.angfield(val), sig)))

    def para(self, i1, j1, i2, j2, sig):
        """Angle between the directions i1->j1 and i2->j2: bearing2 - bearing1.
        The model takes this difference as it comes (no reduction to a range),
        so only pairs with a positive difference are used."""
        t = self.truth
        self.away_from_north(i1, j1)
        self.away_from_north(i2, j2)
        val = bearing(t[i2], t[j2]) - bearing(t[i1], t[j1])
        assert val > math.radians(1.0), "angle %s-%s %s-%s must be positive" % (i1, j1, i2, j2)
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
            orient = first - self.rng.uniform(0.0003, 0.004)   # first reading 1..14 minutes
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


# Plane network shared by the DMS and the GON example: two trig points of the
# national network and six new points of a densification network, about
# 4 km x 4 km.
PLANE_POINTS = [
    ("GT12", 518742.3150, 122905.6610),
    ("GT21", 521385.2210, 119877.4380),
    ("101", 519960.442, 122310.718),
    ("102", 521204.169, 122055.931),
    ("103", 520102.853, 120844.364),
    ("104", 518911.604, 121120.153),
    ("105", 522460.382, 121390.807),
    ("106", 522106.884, 123412.027),
]
PLANE_SETS = [
    ("GT12", ["101", "104", "106"]),
    ("106", ["GT12", "101", "102", "105"]),
    ("GT21", ["103", "104", "102", "105"]),
    ("101", ["GT12", "106", "102", "103", "104"]),
    ("102", ["101", "106", "105", "GT21", "103"]),
    ("103", ["101", "102", "GT21", "104"]),
    ("104", ["GT12", "101", "103", "GT21"]),
    ("105", ["106", "102", "GT21"]),
]
PLANE_DIST = [("GT12", "101"), ("GT12", "104"), ("101", "102"), ("101", "103"), ("101", "104"),
              ("101", "106"), ("102", "103"), ("102", "105"), ("102", "106"), ("103", "GT21"),
              ("103", "104"), ("105", "GT21"), ("106", "105")]


def dist_sigma(net, a, b, const_mm=1.0, ppm=1.5):
    """Distance-meter accuracy a + b ppm, rounded to 0.1 mm."""
    return round(const_mm + ppm * hdist(net.truth[a], net.truth[b]) / 1000.0, 1)


def plane(net, fixed):
    for name, e, nn in PLANE_POINTS:
        net.point(name, e, nn, fixed=name in fixed)
    if net.unit == "DMS":
        net.blank("directions: station, target, reading [deg min sec], sigma [\"]")
        sig = 1.0
    else:
        net.blank("directions: station, target, reading [gon], sigma [mgon]")
        sig = 0.3
    net.blank("(one direction set per station, readings in clockwise order)")
    for st, targets in PLANE_SETS:
        net.dirset(st, targets, sig)
        net.blank()
    net.blank("horizontal distances: from, to, distance [m], sigma [mm] (1 mm + 1.5 ppm)")
    for a, b in PLANE_DIST:
        net.dist2(a, b, dist_sigma(net, a, b))


def net_ravninska_dms():
    n = Network("ravninska_dms", 2, "DMS", seed=2024)
    n.comments = [
        "Nivex example: plane (2D) network, angles in degrees-minutes-seconds",
        "",
        "Densification network of six new points (101 ... 106) tied to two trig",
        "points of the national network (GT12, GT21), which are held fixed.",
        "Extent about 4 km x 4 km, sight lengths 1.2 to 3.4 km.  Coordinates are",
        "given as easting, northing (y, x of the national grid): grid bearings",
        "run clockwise from grid north.",
        "Eight stations observed one direction set each (3 to 5 directions,",
        "1.0\" each); 13 horizontal distances (1 mm + 1.5 ppm).",
        "The program forms composed angles from neighbouring directions of a",
        "station, so no orientation unknowns appear.",
        "Approximate coordinates of the new points are off by up to 25 cm.",
    ]
    n.settings = ["*AU DMS", "*ITER 1", "*ITERMAX 10", "*NUMSOLV QRHOUS", "*CORKOT 1"]
    n.datum = "V"
    n.datum_lines = ["**V GT12", "**V GT21"]
    plane(n, {"GT12", "GT21"})
    return n


def net_ravninska_gon():
    n = Network("ravninska_gon", 2, "GON", seed=4002)
    n.comments = [
        "Nivex example: plane (2D) free network, angles in gon",
        "",
        "The geometry of ravninska_dms.dat observed a second time with an",
        "instrument graduated in gon: directions 0.3 mgon, distances",
        "1 mm + 1.5 ppm.  No point is held fixed: the datum is a free network",
        "(inner constraints over all eight points).  Directions and distances",
        "leave two translations and one rotation undetermined; the distances fix",
        "the scale.  Approximate coordinates of all points, including GT12 and",
        "GT21, are off by up to 25 cm; the adjusted coordinates keep the centroid",
        "and the mean orientation of the approximate ones.",
        "Coordinates are easting, northing; bearings clockwise from grid north.",
    ]
    n.settings = ["*AU GON", "*ITER 1", "*NUMSOLV QRMGS"]
    n.datum = "H"
    n.datum_lines = []
    plane(n, set())
    return n


def net_prostorska():
    n = Network("prostorska", 3, "DMS", seed=3030)
    n.ukrz = True
    n.kref = 0.13
    n.radius = 6379000.0
    n.comments = [
        "Nivex example: spatial (3D) network",
        "",
        "Control network for a dam in a hilly valley: three points of the",
        "existing network on the slopes (K1, K2, K3) are held fixed in all three",
        "coordinates; five new points (S1 ... S5) are determined.  Height",
        "differences up to about 190 m, sight lengths 0.4 to 1.5 km.",
        "A total station observed at every station a direction set (1.0\"), the",
        "zenith distances (2.0\") and slope distances (1 mm + 1.5 ppm) to the",
        "targets; instrument and target heights are already reduced to the marks.",
        "Zenith distances carry the earth's curvature and refraction: *UKRZ with",
        "a radius of 6379 km, refraction coefficient k = 0.13 taken as known",
        "(*KTYP NONE, no estimate).  Some lines were levelled as well (h).",
        "Coordinates are easting, northing, height [m]; bearings clockwise from",
        "grid north.  Approximate coordinates of the new points are off by up",
        "to 25 cm in each coordinate.",
    ]
    n.settings = ["*AU DMS", "*ITER 1", "*NUMSOLV CH", "*UKRZ", "*R_UKRZ 6379000",
                  "*K_REF 0.13", "*KTYP NONE"]
    n.datum = "V"
    n.datum_lines = ["**V K1", "**V K2", "**V K3"]
    pts = [("K1", 547812.6240, 131094.2850, 512.3410, True),
           ("K2", 549105.3370, 131420.7160, 598.9120, True),
           ("K3", 548630.1980, 129877.4530, 467.0840, True),
           ("S1", 548325.517, 130802.644, 431.972, False),
           ("S2", 548711.082, 130955.318, 428.665, False),
           ("S3", 548497.774, 130421.951, 409.218, False),
           ("S4", 548069.903, 130387.120, 452.804, False),
           ("S5", 548980.460, 130540.873, 438.117, False)]
    for name, e, nn, h, fx in pts:
        n.point(name, e, nn, h, fixed=fx)
    sets = [("K1", ["S1", "S4", "K3"]),
            ("K2", ["S5", "S2", "S1"]),
            ("K3", ["S3", "S5", "S4"]),
            ("S1", ["K1", "K2", "S2", "S3", "S4"]),
            ("S2", ["S1", "K2", "S5", "S3"]),
            ("S3", ["S1", "S2", "S5", "K3", "S4"]),
            ("S4", ["K1", "S1", "S3", "K3"]),
            ("S5", ["S2", "K2", "K3", "S3"])]
    n.blank("directions: station, target, reading [deg min sec], sigma [\"]")
    for st, targets in sets:
        n.dirset(st, targets, 1.0)
        n.blank()
    n.blank("zenith distances: station, target, zenith distance [deg min sec], sigma [\"]")
    for st, targets in sets:
        for q in targets:
            n.zen(st, q, 2.0)
        n.blank()
    n.blank("slope distances: from, to, distance [m], sigma [mm] (1 mm + 1.5 ppm)")
    done = set()
    for st, targets in sets:
        for q in targets:
            if (q, st) in done:
                continue
            done.add((st, q))
            n.dist3(st, q, round(1.0 + 1.5 * sdist(n.truth[st], n.truth[q]) / 1000.0, 1))
    n.blank()
    n.blank("levelled height differences: from, to, dh [m], sigma [mm]")
    for a, b, km in (("S1", "S2", 0.5), ("S2", "S5", 0.6), ("S3", "S1", 0.5), ("S4", "S3", 0.5),
                     ("S3", "S5", 0.6), ("K3", "S3", 0.8)):
        n.hdif(a, b, round(1.5 * math.sqrt(km), 2))
    return n


def net_mesana():
    n = Network("mesana", 2, "DMS", seed=5150)
    n.comments = [
        "Nivex example: plane (2D) network with mixed observations",
        "",
        "Survey network along a new road: two trig points (GT4, GT8) are held",
        "fixed; six new points (M1 ... M6) are determined from",
        "  - direction sets at four stations (1.0\") and horizontal distances",
        "    (1 mm + 1.5 ppm),",
        "  - grid bearings (A) of two lines from a gyro-theodolite (3.0\"),",
        "  - angles between two directions that do not share a station (P):",
        "    e.g. the angle from direction M1->M2 to direction M3->M4,",
        "    derived from a separate survey (2.0\"),",
        "  - RTK coordinates (C) of two points (10 mm),",
        "  - horizontal GNSS baselines (V): coordinate differences dE, dN with",
        "    3 mm each.",
        "Coordinates are easting, northing; bearings clockwise from grid north.",
        "Approximate coordinates of the new points are off by up to 25 cm.",
    ]
    n.settings = ["*AU DMS", "*ITER 1", "*NUMSOLV LU"]
    n.datum = "V"
    n.datum_lines = ["**V GT4", "**V GT8"]
    pts = [("GT4", 455318.2740, 97412.5580, True),
           ("GT8", 458904.1190, 98377.0230, True),
           ("M1", 455902.716, 98105.377, False),
           ("M2", 456611.048, 97652.810, False),
           ("M3", 457240.935, 98311.442, False),
           ("M4", 457905.267, 97790.668, False),
           ("M5", 458452.809, 98902.154, False),
           ("M6", 456480.331, 98784.206, False)]
    for name, e, nn, fx in pts:
        n.point(name, e, nn, fixed=fx)
    sets = [("GT4", ["M1", "M2"]),
            ("M2", ["GT4", "M1", "M6", "M3", "M4"]),
            ("M3", ["M2", "M6", "M5", "M4"]),
            ("M4", ["M2", "M3", "M5", "GT8"])]
    n.blank("directions: station, target, reading [deg min sec], sigma [\"]")
    for st, targets in sets:
        n.dirset(st, targets, 1.0)
        n.blank()
    n.blank("horizontal distances: from, to, distance [m], sigma [mm]")
    for a, b in (("GT4", "M1"), ("GT4", "M2"), ("M1", "M2"), ("M2", "M3"), ("M3", "M4"),
                 ("M2", "M4"), ("M4", "GT8"), ("M5", "GT8"), ("M3", "M6")):
        n.dist2(a, b, dist_sigma(n, a, b))
    n.blank()
    n.blank("grid bearings: from, to, bearing [deg min sec], sigma [\"]")
    n.azi("M1", "M6", 3.0)
    n.azi("M3", "M5", 3.0)
    n.blank()
    n.blank("angles between directions: from1, to1, from2, to2, angle [deg min sec], sigma [\"]")
    n.blank("(angle = bearing from2->to2 minus bearing from1->to1)")
    n.para("M1", "M6", "M3", "M5", 2.0)
    n.para("M6", "M3", "M5", "GT8", 2.0)
    n.para("M1", "M2", "M3", "M4", 2.0)
    n.blank()
    n.blank("RTK coordinates: point, E, N [m], sigma E, sigma N [mm]")
    n.crd("M5", (10.0, 10.0))
    n.crd("M6", (10.0, 10.0))
    n.blank()
    n.blank("GNSS baselines: from, to, dE, dN [m], sigma dE, sigma dN [mm]")
    n.vec("GT4", "M6", (3.0, 3.0))
    n.vec("M6", "M5", (3.0, 3.0))
    n.vec("M1", "M3", (3.0, 3.0))
    return n


def net_vektorji():
    n = Network("vektorji", 3, "DMS", seed=6060)
    n.comments = [
        "Nivex example: GNSS network (3D coordinate-difference vectors)",
        "",
        "Static GNSS campaign of six new points (G1 ... G6), baselines 6 to 11 km.",
        "Fourteen baselines, each given as coordinate differences dE, dN, dH [m]",
        "(2, 2 and 4 mm).  The coordinates of two reference stations (REF1,",
        "REF2) are known from the permanent network and enter as observed",
        "coordinates (C, 3, 3 and 6 mm); they also define the datum, so the",
        "datum kind is pseudo-observations (*D P) and every point, the reference",
        "stations included, gets coordinate unknowns.",
        "Coordinates are easting, northing, height [m].  Approximate coordinates",
        "are off by up to 25 cm in each coordinate.",
    ]
    n.settings = ["*ITER 1", "*NUMSOLV NS"]
    n.datum = "P"
    pts = [("REF1", 461734.2910, 100962.4470, 321.8480),
           ("REF2", 472108.6650, 94120.3380, 405.1190),
           ("G1", 465802.113, 106541.902, 487.336),
           ("G2", 474955.604, 104188.215, 612.804),
           ("G3", 459320.877, 93410.560, 298.452),
           ("G4", 467415.239, 89072.488, 351.907),
           ("G5", 478231.516, 97315.773, 532.661),
           ("G6", 466894.002, 97850.149, 302.775)]
    for name, e, nn, h in pts:
        n.point(name, e, nn, h)
    n.blank("observed coordinates: point, E, N, H [m], sigma E, N, H [mm]")
    n.crd("REF1", (3.0, 3.0, 6.0))
    n.crd("REF2", (3.0, 3.0, 6.0))
    n.blank()
    n.blank("baselines: from, to, dE, dN, dH [m], sigma dE, dN, dH [mm]")
    for a, b in (("REF1", "G1"), ("REF1", "G3"), ("REF1", "G6"), ("G1", "G2"), ("G1", "G6"),
                 ("G2", "G5"), ("G2", "G6"), ("G3", "G4"), ("G3", "G6"), ("G4", "REF2"),
                 ("G4", "G6"), ("REF2", "G5"), ("REF2", "G6"), ("G5", "G6")):
        n.vec(a, b, (2.0, 2.0, 4.0))
    return n


NETWORKS = [net_nivelman, net_ravninska_dms, net_ravninska_gon, net_prostorska, net_mesana,
            net_vektorji]


# ---------------------------------------------------------------------------
# Self-check: read a written file back by the data-file grammar, recompute the
# misclosures and adjust it
# ---------------------------------------------------------------------------

class CheckError(Exception):
    pass


SETTING_WORDS = {"*AU", "*EK", "*CORKOT", "*CONTPRINT", "*DIM", "*ITER", "*ITERMAX", "*RESSIS",
                 "*NUMSOLV", "*MATFULL", "*SVDTHRES", "*ITERTHRES", "*ROBSOLV", "*GMT", "*STR",
                 "*OPT2", "*XVT", "*XV0", "*S02", "*PGTEST", "*PDATAS", "*PIZAUP", "*PHIPEL",
                 "*PSKLAD", "*IZPSET", "*IZPPOD", "*IZPENP", "*IZPREZ", "*ICORRUNK", "*IZPLMR",
                 "*R_UKRZ", "*K_REF", "*KTYP", "*UKRZ", "*OBSRES"}
NO_VALUE = {"*GMT", "*STR", "*OPT2", "*XV0", "*UKRZ", "*OBSRES"}
SOLVERS = {"NS", "LU", "CH", "QR", "QRHOUS", "QRMGS", "QRGIV", "SVD"}


def read_file(path):
    """Parses a data file strictly: every line must be a comment, a known
    keyword, a datum line or a complete record with nothing left over."""
    f = {"dim": None, "unit": "DMS", "ukrz": False, "kref": 0.0, "ifkref": False, "ktyp": "NONE",
         "radius": 6371000.0, "corkot": 1, "datum": None, "V": [], "H": [], "pts": [], "crd": {},
         "rec": []}

    def need(cond, msg):
        if not cond:
            raise CheckError("%s:%d: %s" % (os.path.basename(path), lineno, msg))

    def num(w):
        try:
            return float(w)
        except ValueError:
            need(False, "not a number: " + w)

    ended = False
    with open(path, "rb") as fh:
        raw = fh.read()
    need_ascii = all(b < 128 for b in raw)
    lineno = 0
    if not need_ascii:
        raise CheckError(path + ": non-ASCII bytes")
    for lineno, line in enumerate(raw.decode("ascii").split("\n"), 1):
        need(len(line) < 200, "line too long")
        need("\t" not in line and "\r" not in line, "tab or carriage return")
        w = line.split()
        if not w or w[0].startswith("#"):
            continue
        if w[0] == "*K":
            ended = True
            break
        if w[0] == "*D":
            need(len(w) == 2 and w[1] in ("V", "P", "H", "D"), "datum kind")
            need(f["datum"] is None, "second *D line")
            f["datum"] = w[1]
            continue
        if w[0].startswith("**"):
            need(w[0] in ("**V", "**H") and len(w) == 2, "datum line " + w[0])
            need(f["datum"] == w[0][2], "datum line of another kind")
            f[w[0][2]].append(w[1])
            continue
        if w[0].startswith("*"):
            need(w[0] in SETTING_WORDS, "unknown keyword " + w[0])
            need(len(w) == (1 if w[0] in NO_VALUE else 2), "keyword value count " + w[0])
            k = w[0]
            if k == "*DIM":
                need(not f["pts"], "*DIM after an X record")
                f["dim"] = int(w[1])
            elif k in ("*AU", "*EK"):
                need(w[1] in ("DMS", "GON", "DEG"), "angle unit")
                f["unit"] = w[1]
            elif k == "*UKRZ":
                f["ukrz"] = True
            elif k == "*K_REF":
                f["kref"] = num(w[1])
            elif k == "*KTYP":
                need(w[1] in ("SINGLE", "STAT", "NONE"), "*KTYP")
                f["ktyp"] = w[1]
                f["ifkref"] = True
            elif k == "*R_UKRZ":
                f["radius"] = num(w[1])
            elif k == "*CORKOT":
                f["corkot"] = int(w[1])
            elif k in ("*NUMSOLV", "*RESSIS"):
                need(w[1] in SOLVERS, "solver")
            elif k in ("*ITER", "*ITERMAX"):
                int(w[1])
            continue
        letter = w[0][0]
        need(w[0] == letter, "record word " + w[0])
        dim = f["dim"]
        need(dim in (1, 2, 3), "*DIM missing before the first record")
        ang = 3 if f["unit"] == "DMS" else 1

        def angle(words):
            need(len(words) == ang, "angle field")
            if f["unit"] == "DMS":
                need(words[0].lstrip("-").isdigit() and words[1].isdigit(), "DMS degrees/minutes")
                need(0 <= int(words[1]) < 60 and 0.0 <= num(words[2]) < 60.0, "DMS minutes/seconds")
            return parse_angle(words, f["unit"])[0]

        a = w[1:]
        if letter == "X":
            need(len(a) == 1 + dim, "X field count")
            need(a[0] not in f["crd"], "point listed twice " + a[0])
            f["pts"].append(a[0])
            f["crd"][a[0]] = tuple(num(x) for x in a[1:])
            continue
        need(dim != 1 or letter in "Hh", "record kind %s in a levelling network" % letter)
        if letter in "hDL":
            need(len(a) == 4, "field count")
            rec = (letter, (a[0], a[1]), num(a[2]), num(a[3]) / 1000.0)
            need(num(a[3]) > 1e-3, "sigma")
        elif letter in "SZA":
            need(len(a) == 3 + ang, "field count")
            sig = num(a[-1])
            need(sig > 1e-3, "sigma")
            sig = sig / RHO_SEC if f["unit"] != "GON" else sig / RHO_MGON
            rec = (letter, (a[0], a[1]), angle(a[2:2 + ang]), sig)
        elif letter == "P":
            need(len(a) == 5 + ang, "field count")
            sig = num(a[-1])
            sig = sig / RHO_SEC if f["unit"] != "GON" else sig / RHO_MGON
            rec = (letter, tuple(a[0:4]), angle(a[4:4 + ang]), sig)
        elif letter == "C":
            need(len(a) == 1 + 2 * dim, "field count")
            rec = (letter, (a[0],), [num(x) for x in a[1:1 + dim]],
                   [num(x) / 1000.0 for x in a[1 + dim:]])
        elif letter == "V":
            need(len(a) == 2 + 2 * dim, "field count")
            rec = (letter, (a[0], a[1]), [num(x) for x in a[2:2 + dim]],
                   [num(x) / 1000.0 for x in a[2 + dim:]])
        else:
            need(False, "record kind " + letter)
        f["rec"].append(rec)
    if not ended:
        raise CheckError(path + ": no *K")
    # names and direction sets
    for letter, names, _, _ in f["rec"]:
        for nm in names:
            if nm not in f["crd"]:
                raise CheckError("%s: %s record names unknown point %s" % (path, letter, nm))
    for nm in f["V"] + f["H"]:
        if nm not in f["crd"]:
            raise CheckError("%s: datum names unknown point %s" % (path, nm))
    stations = []
    for letter, names, _, _ in f["rec"]:
        if letter == "S":
            if not stations or stations[-1] != names[0]:
                if names[0] in stations:
                    raise CheckError("%s: directions of %s not consecutive" % (path, names[0]))
                stations.append(names[0])
    return f


def compose_angles(f):
    """Composed angles from neighbouring directions of a station, with the
    covariance of angles that share a direction."""
    dirs = [r for r in f["rec"] if r[0] == "S"]
    angles = []
    for j in range(1, len(dirs)):
        p, q = dirs[j - 1], dirs[j]
        if p[1][0] != q[1][0]:
            continue
        angles.append({"names": (q[1][0], p[1][1], q[1][1]), "l": q[2] - p[2],
                       "var": p[3] ** 2 + q[3] ** 2, "first": p, "second": q})
    cov = []
    for k in range(len(angles) - 1):
        same = angles[k]["second"] is angles[k + 1]["first"]
        cov.append(-angles[k]["second"][3] ** 2 if (same and f["corkot"]) else 0.0)
    return angles, cov


def observations(f):
    """List of scalar observations: (kind, names, function(coords) -> computed
    value, observed value, sigma, reduce), in the program's kind order."""
    dim = f["dim"]
    rec = f["rec"]
    out = []
    for r in rec:
        if r[0] == "h":
            a, b = r[1]
            out.append(("h", r[1], lambda X, a=a, b=b: X[b][-1] - X[a][-1], r[2], r[3], False))
    for r in rec:
        if r[0] == "C":
            for k in range(dim):
                out.append(("C", r[1], lambda X, p=r[1][0], k=k: X[p][k], r[2][k], r[3][k], False))
    for r in rec:
        if r[0] == "V":
            for k in range(dim):
                out.append(("V", r[1], lambda X, a=r[1][0], b=r[1][1], k=k: X[b][k] - X[a][k],
                            r[2][k], r[3][k], False))
    for r in rec:
        if r[0] == "D":
            out.append(("D", r[1], lambda X, a=r[1][0], b=r[1][1]: hdist(X[a], X[b]), r[2], r[3], False))
    for r in rec:
        if r[0] == "L":
            out.append(("L", r[1], lambda X, a=r[1][0], b=r[1][1]: sdist(X[a], X[b]), r[2], r[3], False))
    angles, _ = compose_angles(f)
    for ang in angles:
        def fa(X, n=ang["names"]):
            nj = bearing(X[n[0]], X[n[1]])
            nk = bearing(X[n[0]], X[n[2]])
            if nk < nj:
                nk += 2.0 * math.pi
            return nk - nj
        out.append(("S", ang["names"], fa, ang["l"], math.sqrt(ang["var"]), True))
    for r in rec:
        if r[0] == "A":
            out.append(("A", r[1], lambda X, a=r[1][0], b=r[1][1]: bearing(X[a], X[b]), r[2], r[3], False))
    for r in rec:
        if r[0] == "P":
            n = r[1]
            out.append(("P", n, lambda X, n=n: bearing(X[n[2]], X[n[3]]) - bearing(X[n[0]], X[n[1]]),
                        r[2], r[3], False))
    k = f["kref"] if f["ifkref"] else 0.0
    for r in rec:
        if r[0] == "Z":
            out.append(("Z", r[1], lambda X, a=r[1][0], b=r[1][1]:
                        zenith(X[a], X[b], f["ukrz"], k, f["radius"]), r[2], r[3], False))
    return out


def misclosure(o, X):
    v = o[2](X) - o[3]
    if o[5] and abs(v - 2.0 * math.pi) < 0.1:
        v -= 2.0 * math.pi
    return v


def cholesky_solve(N, n):
    m = len(N)
    L = [[0.0] * m for _ in range(m)]
    for i in range(m):
        for j in range(i + 1):
            s = N[i][j] - sum(L[i][k] * L[j][k] for k in range(j))
            if i == j:
                if s <= 1e-12 * max(1.0, abs(N[i][i])):
                    raise CheckError("normal matrix singular at unknown %d" % i)
                L[i][i] = math.sqrt(s)
            else:
                L[i][j] = s / L[j][j]
    y = [0.0] * m
    for i in range(m):
        y[i] = (n[i] - sum(L[i][k] * y[k] for k in range(i))) / L[i][i]
    x = [0.0] * m
    for i in reversed(range(m)):
        x[i] = (y[i] - sum(L[k][i] * x[k] for k in range(i + 1, m))) / L[i][i]
    return x


def invert(M):
    m = len(M)
    A = [row[:] + [1.0 if i == j else 0.0 for j in range(m)] for i, row in enumerate(M)]
    for c in range(m):
        p = max(range(c, m), key=lambda r: abs(A[r][c]))
        A[c], A[p] = A[p], A[c]
        piv = A[c][c]
        A[c] = [v / piv for v in A[c]]
        for r in range(m):
            if r != c and A[r][c] != 0.0:
                fac = A[r][c]
                A[r] = [vr - fac * vc for vr, vc in zip(A[r], A[c])]
    return [row[m:] for row in A]


def datum_rows(f, X, unknown):
    """Inner constraints of a free network, with the defects that the kinds of
    observations leave (translations, rotation about the vertical, scale)."""
    dim = f["dim"]
    kinds = {r[0] for r in f["rec"]}
    if dim == 1:
        flags = {"t": True}
    else:
        flags = {"t": "C" not in kinds, "w": not ({"C", "V", "A"} & kinds),
                 "m": not ({"C", "V", "D", "L"} & kinds)}
        if dim == 3 and ({"C", "V", "h"} & kinds or sum(1 for r in f["rec"] if r[0] == "Z") > 1):
            flags["wxy"] = False
        elif dim == 3:
            flags["wxy"] = True
    pts = f["pts"]
    cen = [sum(X[p][k] for p in pts) / len(pts) for k in range(dim)]
    rows = []
    nunk = sum(len(c) for c in unknown.values())
    if flags.get("t"):
        for k in range(dim):
            row = [0.0] * nunk
            for p in pts:
                row[unknown[p][k]] = 1.0 / math.sqrt(len(pts))
            rows.append(row)
    if dim >= 2 and flags.get("w"):
        row = [0.0] * nunk
        for p in pts:
            row[unknown[p][0]] = -(X[p][1] - cen[1])
            row[unknown[p][1]] = X[p][0] - cen[0]
        nrm = math.sqrt(sum(v * v for v in row))
        rows.append([v / nrm for v in row])
    if dim >= 2 and flags.get("m"):
        row = [0.0] * nunk
        for p in pts:
            for k in range(dim):
                row[unknown[p][k]] = X[p][k] - cen[k]
        nrm = math.sqrt(sum(v * v for v in row))
        rows.append([v / nrm for v in row])
    if flags.get("wxy"):
        raise CheckError("horizontal rotations undetermined in a 3D free network")
    return rows


def chi2_quantile(p, r):
    """Wilson-Hilferty approximation, enough for a plausibility check."""
    # inverse normal by bisection on erf
    lo, hi = -10.0, 10.0
    for _ in range(200):
        mid = (lo + hi) / 2.0
        if 0.5 * (1.0 + math.erf(mid / math.sqrt(2.0))) < p:
            lo = mid
        else:
            hi = mid
    z = (lo + hi) / 2.0
    return r * (1.0 - 2.0 / (9.0 * r) + z * math.sqrt(2.0 / (9.0 * r))) ** 3


def adjust(f, start):
    """Gauss-Newton adjustment with the program's observation functions and
    weights 1/sigma^2; returns the adjusted coordinates and statistics."""
    dim = f["dim"]
    fixed = set(f["V"]) if f["datum"] == "V" else set()
    unknown = {}
    k = 0
    for p in f["pts"]:
        if p not in fixed:
            unknown[p] = list(range(k, k + dim))
            k += dim
    nunk = k
    obs = observations(f)
    angles, cov = compose_angles(f)
    nobs = len(obs)
    Q = [[0.0] * nobs for _ in range(nobs)]
    for i, o in enumerate(obs):
        Q[i][i] = o[4] ** 2
    first_angle = next((i for i, o in enumerate(obs) if o[0] == "S"), None)
    for j, c in enumerate(cov):
        if c != 0.0:
            Q[first_angle + j][first_angle + j + 1] = Q[first_angle + j + 1][first_angle + j] = c
    P = invert(Q)
    X = {p: list(c) for p, c in start.items()}
    step = 1e-3
    for it in range(1, 31):
        B = []
        fv = []
        for o in obs:
            row = [0.0] * nunk
            for p in set(o[1]):
                if p not in unknown:
                    continue
                for kk in range(dim):
                    save = X[p][kk]
                    X[p][kk] = save + step
                    fp = o[2](X)
                    X[p][kk] = save - step
                    fm = o[2](X)
                    X[p][kk] = save
                    row[unknown[p][kk]] = -(fp - fm) / (2.0 * step)   # B = -dF/dx
            B.append(row)
            fv.append(misclosure(o, X))
        PB = [[sum(P[i][m] * B[m][c] for m in range(nobs) if P[i][m] != 0.0) for c in range(nunk)]
              for i in range(nobs)]
        Pf = [sum(P[i][m] * fv[m] for m in range(nobs) if P[i][m] != 0.0) for i in range(nobs)]
        N = [[sum(B[i][a] * PB[i][b] for i in range(nobs)) for b in range(nunk)] for a in range(nunk)]
        n = [sum(B[i][a] * Pf[i] for i in range(nobs)) for a in range(nunk)]
        H = datum_rows(f, X, unknown) if f["datum"] == "H" else []
        # v + B dx = f  ->  dx = N^-1 B' P f ; inner constraints added as H'H
        scale = max(N[i][i] for i in range(nunk))
        for row in H:
            for a in range(nunk):
                for b in range(nunk):
                    N[a][b] += scale * row[a] * row[b]
        dx = cholesky_solve(N, n)
        for p, cols in unknown.items():
            for kk, c in enumerate(cols):
                X[p][kk] += dx[c]
        if max(abs(v) for v in dx) < 1e-7:
            break
    v = [fv[i] - sum(B[i][c] * dx[c] for c in range(nunk)) for i in range(nobs)]
    # residuals of the final linearisation (dx is tiny now)
    vpv = sum(v[i] * P[i][m] * v[m] for i in range(nobs) for m in range(nobs) if P[i][m] != 0.0)
    defect = len(H)
    red = nobs - nunk + defect
    # cofactors of the unknowns: N^-1, or for the free network the inverse that
    # keeps H dx = 0:  (N + s H'H)^-1 - H'H / s  (the rows of H are orthonormal)
    Qxx = invert(N)
    for row in H:
        for a in range(nunk):
            for b in range(nunk):
                Qxx[a][b] -= row[a] * row[b] / scale
    s0 = math.sqrt(vpv / red) if red > 0 else float("nan")
    sig = {p: [math.sqrt(max(Qxx[c][c], 0.0)) for c in cols] for p, cols in unknown.items()}
    return X, {"iter": it, "nobs": nobs, "nunk": nunk, "defect": defect, "red": red,
               "s0": s0, "vpv": vpv, "sig": sig}


def fit_rigid(X, T, names, dim):
    """Largest coordinate difference after moving X onto T by a translation and
    a rotation about the vertical (for a free network)."""
    cx = [sum(X[p][k] for p in names) / len(names) for k in range(dim)]
    ct = [sum(T[p][k] for p in names) / len(names) for k in range(dim)]
    sxy = sum((X[p][0] - cx[0]) * (T[p][1] - ct[1]) - (X[p][1] - cx[1]) * (T[p][0] - ct[0]) for p in names)
    sxx = sum((X[p][0] - cx[0]) * (T[p][0] - ct[0]) + (X[p][1] - cx[1]) * (T[p][1] - ct[1]) for p in names)
    w = math.atan2(-sxy, sxx)
    worst = 0.0
    for p in names:
        dx, dy = X[p][0] - cx[0], X[p][1] - cx[1]
        e = ct[0] + math.cos(w) * dx + math.sin(w) * dy
        n = ct[1] - math.sin(w) * dx + math.cos(w) * dy
        worst = max(worst, abs(e - T[p][0]), abs(n - T[p][1]))
    return worst


def read_truth(path):
    T = {}
    with open(path) as fh:
        for line in fh:
            if line.startswith("#") or not line.strip():
                continue
            w = line.split()
            T[w[0]] = tuple(float(x) for x in w[1:-1])
    return T


def write_adjusted(net, f, X, st):
    """Reference solution of this script's own adjustment, for comparing the
    program's results with values derived independently of it."""
    what = {1: "H", 2: "E N", 3: "E N H"}[f["dim"]]
    lines = [
        "# adjustment of %s.dat by gen_examples.py (Gauss-Newton, weights 1/sigma^2," % net.base,
        "# composed angles with the covariance of their shared direction)",
        "# datum %s  observations %d  unknowns %d  datum defect %d  redundancy %d  iterations %d"
        % (f["datum"], st["nobs"], st["nunk"], st["defect"], st["red"], st["iter"]),
        "# vpv %.6f  (with weights 1/sigma^2)" % st["vpv"],
        "# s0 %.6f  = a-posteriori / a-priori reference standard deviation" % st["s0"],
        "# name, adjusted %s [m], standard deviations %s [mm] (a-priori, i.e. s0 = 1),"
        % (what, what),
        "# 1 = fixed point (no unknowns, standard deviations 0)",
    ]
    for p in f["pts"]:
        sg = st["sig"].get(p, [0.0] * f["dim"])
        lines.append("%-6s " % p + " ".join("%.5f" % c for c in X[p]) + "  " +
                     " ".join("%.3f" % (1000.0 * c) for c in sg) +
                     " %d" % (0 if p in st["sig"] else 1))
    with open(os.path.join(TRUTHDIR, net.base + "_adjusted.txt"), "w", newline="\n") as fh:
        fh.write("\n".join(lines) + "\n")


def check_file(net):
    """Reads the written file back and checks it; raises CheckError on a fault."""
    path = os.path.join(EXDIR, net.base + ".dat")
    f = read_file(path)
    T = read_truth(os.path.join(TRUTHDIR, net.base + "_truth.txt"))
    if f["dim"] != net.dim or f["unit"] != net.unit or set(T) != set(f["crd"]):
        raise CheckError(path + ": dimension, unit or points differ from the definition")
    for p in f["V"]:
        if any(abs(a - b) > 1e-9 for a, b in zip(f["crd"][p], T[p])):
            raise CheckError("%s: fixed point %s not at its true coordinates" % (path, p))
    obs = observations(f)
    # misclosures at the true and at the approximate coordinates
    worst_truth = max(abs(misclosure(o, T)) / o[4] for o in obs)
    rms_truth = math.sqrt(sum((misclosure(o, T) / o[4]) ** 2 for o in obs) / len(obs))
    worst_apr = max(abs(misclosure(o, f["crd"])) for o in obs if o[0] in "SAPZ") \
        if any(o[0] in "SAPZ" for o in obs) else 0.0
    worst_apr_lin = max((abs(misclosure(o, f["crd"])) for o in obs if o[0] not in "SAPZ"), default=0.0)
    shift = max(abs(a - b) for p in f["pts"] for a, b in zip(f["crd"][p], T[p]))
    if worst_truth > 4.5:
        raise CheckError("%s: observation off by %.1f sigma at the truth" % (path, worst_truth))
    if worst_apr > 0.01:
        raise CheckError("%s: angular misclosure %.4f rad at the approximate coordinates" % (path, worst_apr))
    X, st = adjust(f, f["crd"])
    if f["datum"] == "H":
        diff = fit_rigid(X, T, f["pts"], f["dim"])
        what = "after rigid fit"
    else:
        diff = max(abs(X[p][k] - T[p][k]) for p in f["pts"] for k in range(f["dim"]))
        what = "adjusted-true"
    lo, hi = chi2_quantile(0.025, st["red"]), chi2_quantile(0.975, st["red"])
    ok = lo <= st["vpv"] <= hi
    print("  %-17s dim %d datum %s  obs %3d unk %3d defect %d red %3d | truth: max |f|/s %.2f rms %.2f"
          % (net.base + ".dat", f["dim"], f["datum"], st["nobs"], st["nunk"], st["defect"], st["red"],
             worst_truth, rms_truth))
    print("  %-17s approx: shift <= %.3f m, max angular f %.1f\", max linear f %.3f m" %
          ("", shift, worst_apr * RHO_SEC, worst_apr_lin))
    print("  %-17s adjusted in %d iterations: s0 = %.3f (vpv %.1f, 95%% range %.1f..%.1f %s), "
          "max %s %.4f m" % ("", st["iter"], st["s0"], st["vpv"], lo, hi, "ok" if ok else "OUTSIDE",
                             what, diff))
    if diff > 0.05:
        raise CheckError("%s: adjusted coordinates %.3f m from the truth" % (path, diff))
    write_adjusted(net, f, X, st)
    if st["iter"] >= 30:
        raise CheckError(path + ": adjustment did not converge")
    return ok


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
    print("checks (read back, misclosures, adjustment from the approximate coordinates):")
    failed = False
    for make in NETWORKS:
        net = make()
        try:
            check_file(net)
        except CheckError as e:
            print("  FAILED:", e)
            failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
