#!/usr/bin/env python3
"""Synthetic spatial network of GNSS baselines.

Usage: gen_vektorji.py N > vektorji.dat

About N points on a square grid 800 m apart (heights within 30 m), each
joined to its east, north and north-east neighbour by a baseline with
independent components (3, 3 and 4 mm); approximate coordinates within a
centimetre of the truth, the first point fixed, a lean run (*ICORRUNK 0,
*IZPENP 0).  Fixed seed.
"""
import random
import sys


def main():
    k = int(int(sys.argv[1]) ** 0.5)
    rnd = random.Random(20261207)
    tocke = {}
    for i in range(k):
        for j in range(k):
            tocke[(i, j)] = (4211000 + i * 800 + rnd.uniform(-50, 50), 1123000 + j * 800 + rnd.uniform(-50, 50),
                             4600000 + rnd.uniform(-30, 30))
    ime = lambda t: "T%d_%d" % t
    out = ["*DIM 3", "*D V", "**V T0_0", "*ICORRUNK 0", "*IZPENP 0"]
    for t, x in tocke.items():
        out.append("X %s %s" % (ime(t), " ".join("%.4f" % (c + rnd.uniform(-0.01, 0.01)) for c in x)))
    for (i, j), a in tocke.items():
        for di, dj in ((1, 0), (0, 1), (1, 1)):
            b = tocke.get((i + di, j + dj))
            if b:
                d = " ".join("%.4f" % (b[c] - a[c] + rnd.gauss(0, 0.003)) for c in range(3))
                out.append("V %s %s %s 3 3 4" % (ime((i, j)), ime((i + di, j + dj)), d))
    print("\n".join(out))


if __name__ == "__main__":
    main()
