#!/usr/bin/env python3
"""Synthetic levelling network for whole-run benchmarks.

Usage: gen_nivelman.py N [NUMSOLV] > mreza.dat

N points on a near-square grid, each tied to its right, lower and lower-right
neighbour (about 3N height differences), four benchmarks at the corners held
fixed.  Heights follow a smooth terrain; observations carry pseudo-random
errors of their standard deviation (1 mm/sqrt(km), lines of 0.5 to 2 km);
approximate heights are off by a few centimetres.  Fixed seed.
"""
import math
import random
import sys


def main():
    n = int(sys.argv[1])
    solver = sys.argv[2] if len(sys.argv) > 2 else None
    rnd = random.Random(20261206)
    cols = max(2, int(math.sqrt(n)))
    rows = (n + cols - 1) // cols
    names, h = [], {}
    for k in range(n):
        r, c = divmod(k, cols)
        name = "P%d" % (k + 1)
        names.append(name)
        h[name] = 300.0 + 40.0 * math.sin(0.3 * r) + 25.0 * math.cos(0.2 * c) + 0.5 * r
    fixed = sorted({names[0], names[cols - 1], names[(rows - 1) * cols], names[-1]})

    def idx(r, c):
        k = r * cols + c
        return names[k] if 0 <= r < rows and 0 <= c < cols and k < n else None

    obs = []
    for k, a in enumerate(names):
        r, c = divmod(k, cols)
        for b in (idx(r, c + 1), idx(r + 1, c), idx(r + 1, c + 1)):
            if b is None:
                continue
            km = rnd.uniform(0.5, 2.0)
            sig = 1.0 * math.sqrt(km)
            dh = h[b] - h[a] + rnd.gauss(0.0, sig / 1000.0)
            obs.append((a, b, dh, sig))

    out = sys.stdout
    out.write("# synthetic levelling network: %d points, %d height differences\n" % (n, len(obs)))
    out.write("*DIM 1\n")
    if solver:
        out.write("*NUMSOLV %s\n" % solver)
    out.write("*D V\n")
    for f in fixed:
        out.write("**V %s\n" % f)
    for name in names:
        off = 0.0 if name in fixed else rnd.uniform(-0.05, 0.05)
        out.write("X %s %.4f\n" % (name, h[name] + off))
    for a, b, dh, sig in obs:
        out.write("h %s %s %.5f %.2f\n" % (a, b, dh, sig))
    out.write("*K\n")


if __name__ == "__main__":
    main()
