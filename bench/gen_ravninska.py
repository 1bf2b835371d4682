#!/usr/bin/env python3
"""Synthetic plane network for whole-run benchmarks.

Usage: gen_ravninska.py N [NUMSOLV] > mreza.dat

N points on a jittered grid about 800 m apart; every point is a station with
one direction set to its (up to eight) neighbours within reach, and a
horizontal distance to each neighbour of higher number (about 4N distances
and 8N directions, i.e. 7N composed angles).  Four corner points are held
fixed.  Observations carry pseudo-random errors of their standard deviation
(1", 2 mm + 2 ppm); approximate coordinates are off by up to 10 cm.
Angles in DMS, bearings clockwise from grid north.  Fixed seed.
"""
import math
import random
import sys


def bearing(p, q):
    nu = math.atan2(q[0] - p[0], q[1] - p[1])
    return nu + 2.0 * math.pi if nu < 0.0 else nu


def dms(rad):
    s = round(math.degrees(rad) * 3600.0, 2)
    d = int(s // 3600.0)
    m = int((s - d * 3600.0) // 60.0)
    sec = s - d * 3600.0 - m * 60.0
    return "%3d %02d %05.2f" % (d, m, sec)


def main():
    n = int(sys.argv[1])
    solver = sys.argv[2] if len(sys.argv) > 2 else None
    rnd = random.Random(20261206)
    cols = max(2, int(math.sqrt(n)))
    rows = (n + cols - 1) // cols
    pts, names = {}, []
    for k in range(n):
        r, c = divmod(k, cols)
        name = "T%d" % (k + 1)
        names.append(name)
        pts[name] = (500000.0 + 800.0 * c + rnd.uniform(-150, 150),
                     100000.0 + 800.0 * r + rnd.uniform(-150, 150))
    fixed = sorted({names[0], names[cols - 1], names[(rows - 1) * cols], names[-1]})

    def neighbours(k):
        r, c = divmod(k, cols)
        out = []
        for dr in (-1, 0, 1):
            for dc in (-1, 0, 1):
                if dr == 0 and dc == 0:
                    continue
                rr, cc = r + dr, c + dc
                kk = rr * cols + cc
                if 0 <= rr < rows and 0 <= cc < cols and kk < n:
                    out.append(kk)
        return out

    out = sys.stdout
    out.write("# synthetic plane network: %d points\n*DIM 2\n*AU DMS\n*CORKOT 1\n*ITER 1\n" % n)
    if solver:
        out.write("*NUMSOLV %s\n" % solver)
    out.write("*D V\n")
    for f in fixed:
        out.write("**V %s\n" % f)
    for name in names:
        e, nn = pts[name]
        if name not in fixed:
            e += rnd.uniform(-0.1, 0.1)
            nn += rnd.uniform(-0.1, 0.1)
        out.write("X %s %.4f %.4f\n" % (name, e, nn))
    for k, a in enumerate(names):
        nb = neighbours(k)
        bs = sorted((bearing(pts[a], pts[names[j]]), names[j]) for j in nb)
        orient = bs[0][0] - math.radians(rnd.uniform(0.01, 0.2))
        for b, t in bs:
            val = (b - orient + rnd.gauss(0.0, math.radians(1.0 / 3600.0))) % (2.0 * math.pi)
            out.write("S %s %s %s 1.0\n" % (a, t, dms(val)))
    for k, a in enumerate(names):
        for j in neighbours(k):
            if j > k:
                b = names[j]
                d = math.hypot(pts[b][0] - pts[a][0], pts[b][1] - pts[a][1])
                sig = 2.0 + 2.0e-3 * d
                out.write("D %s %s %.4f %.2f\n" % (a, b, d + rnd.gauss(0.0, sig / 1000.0), sig))
    out.write("*K\n")


if __name__ == "__main__":
    main()
