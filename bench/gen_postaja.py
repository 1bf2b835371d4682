#!/usr/bin/env python3
"""Synthetic network of one station with many directions.

Usage: gen_postaja.py N > postaja.dat

One station S0 in the middle and N targets around it (bearings spread over
the circle, distances 200 m to 2 km), observed from S0 in one set of N
directions (1"), so the composed angles form one chain of N - 1 correlated
angles (*CORKOT 1); every target also has its distance from S0 and the
distance to the next target (2 mm + 2 ppm), so the targets are determined
with about N degrees of freedom.  S0 and the first target are held fixed.
Angles in DMS, bearings clockwise from grid north.  Fixed seed.
"""
import math
import random
import sys

from gen_ravninska import dms


def main():
    n = int(sys.argv[1])
    rnd = random.Random(20261207)
    s0 = (500000.0, 100000.0)
    pts = []
    for k in range(n):
        b = 2.0 * math.pi * (k + rnd.uniform(0.1, 0.9)) / n
        d = rnd.uniform(200.0, 2000.0)
        pts.append(("T%d" % (k + 1), b, (s0[0] + d * math.sin(b), s0[1] + d * math.cos(b))))
    out = sys.stdout
    out.write("# synthetic network: one station, %d directions\n*DIM 2\n*AU DMS\n*CORKOT 1\n*ITER 1\n" % n)
    out.write("*D V\n**V S0\n**V T1\n")
    out.write("X S0 %.4f %.4f\n" % s0)
    for k, (name, _, (e, nn)) in enumerate(pts):
        if k > 0:
            e += rnd.uniform(-0.1, 0.1)
            nn += rnd.uniform(-0.1, 0.1)
        out.write("X %s %.4f %.4f\n" % (name, e, nn))
    orient = pts[0][1] - math.radians(0.1)
    for name, b, _ in pts:
        val = (b - orient + rnd.gauss(0.0, math.radians(1.0 / 3600.0))) % (2.0 * math.pi)
        out.write("S S0 %s %s 1.0\n" % (name, dms(val)))
    for k, (name, _, p) in enumerate(pts):
        for q, other in ((s0, "S0"), (pts[(k + 1) % n][2], pts[(k + 1) % n][0])):
            if other == "T1" and k == n - 1:
                continue
            d = math.hypot(q[0] - p[0], q[1] - p[1])
            sig = 2.0 + 2.0e-3 * d
            a, b = (other, name) if other == "S0" else (name, other)
            out.write("D %s %s %.4f %.2f\n" % (a, b, d + rnd.gauss(0.0, sig / 1000.0), sig))
    out.write("*K\n")


if __name__ == "__main__":
    main()
