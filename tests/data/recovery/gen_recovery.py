#!/usr/bin/env python3
"""Writes the data files of the recovery tests (tests/src/Obnova_test.cpp).

Observations are computed exactly from true values, with no noise, so that an
adjustment starting from approximate values must give the true values back:

  hitrosti.dat          plane network observed at two epochs; true coordinates
                        at the reference epoch 2020.0 and true velocities;
                        approximate coordinates off by centimetres, a-priori
                        velocities zero.
  refrakcija.dat        spatial network whose zenith distances carry the
                        earth's curvature and one refraction coefficient
                        k = 0.142 (estimated from *K_REF 0.10, *KTYP SINGLE).
  refrakcija_postaje.dat the same network with a coefficient of its own at
                        every station (*KTYP STAT).

Run it from anywhere: python3 gen_recovery.py; it rewrites the three files
beside itself.  The true values are repeated in the test.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
R = 6379000.0


def bearing(a, b):
    """Grid bearing from a to b, clockwise from the second axis, in [0, 2 pi)."""
    return math.atan2(b[0] - a[0], b[1] - a[1]) % (2 * math.pi)


def deg(x):
    return f"{math.degrees(x):.11f}"


# ---------------------------------------------------------------- velocities
T0 = 2020.0
EPOCHS = (2018.0, 2023.5)
FIXED = {"A": (1000.0, 1000.0), "B": (2400.0, 1150.0)}
NEW = {  # true coordinates at T0, true velocity [m per year], approximate offset [m]
    "P1": ((1350.0, 2100.0), (0.012, -0.007), (0.03, -0.02)),
    "P2": ((2150.0, 2300.0), (-0.009, 0.015), (-0.04, 0.02)),
    "P3": ((1700.0, 1500.0), (0.005, 0.008), (0.02, 0.05)),
}


def position(name, t):
    if name in FIXED:
        return FIXED[name]
    (x, y), (vx, vy), _ = NEW[name]
    return (x + (t - T0) * vx, y + (t - T0) * vy)


def velocities():
    names = list(FIXED) + list(NEW)
    out = [
        "# Plane network observed at two epochs (tests/data/recovery/gen_recovery.py):",
        "# A and B stable and fixed, P1 to P3 moving; exact observations.",
        "*DIM 2", "*AU DEG", "*NUMSOLV CH", f"*XVT {T0}", "*ITER 1", "*ITERMAX 20", "*ITERTHRES 1e-10",
        "*D V", "**V A", "**V B", "",
    ]
    for n in names:
        if n in FIXED:
            x, y = FIXED[n]
            out.append(f"X {n:4s} {x:.4f} {y:.4f} 0")
        else:
            (x, y), _, (dx, dy) = NEW[n]
            out.append(f"X {n:4s} {x + dx:.4f} {y + dy:.4f} 1")
    for e, t in enumerate(EPOCHS):
        out.append("")
        for s, st in enumerate(names):
            ps = position(st, t)
            orient = 0.37 * (s + 1) + 0.21 * e
            for tg in names:
                if tg != st:
                    r = (bearing(ps, position(tg, t)) - orient) % (2 * math.pi)
                    out.append(f"S {st:4s} {tg:4s} {deg(r)} 1.0 {t}")
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                pa, pb = position(a, t), position(b, t)
                out.append(f"D {a:4s} {b:4s} {math.dist(pa, pb):.7f} 1.0 {t}")
    out += ["*K", ""]
    return "\n".join(out)


# ---------------------------------------------------------------- refraction
POINTS3 = {
    "K1": (547812.624, 131094.285, 512.341),
    "K2": (549105.337, 131420.716, 598.912),
    "K3": (548630.198, 129877.453, 467.084),
    "S1": (548325.419, 130802.608, 432.221),
    "S2": (548711.304, 130955.416, 428.757),
    "S3": (548497.927, 130421.919, 409.385),
}
OFFSET3 = {"S1": (0.04, -0.03, 0.05), "S2": (-0.05, 0.02, -0.04), "S3": (0.03, 0.06, 0.02)}
K_SINGLE = 0.142
K_STAT = {"K1": 0.11, "K2": 0.15, "K3": 0.13, "S1": 0.18, "S2": 0.09, "S3": 0.12}


def refraction(ktyp, kof):
    names = list(POINTS3)
    out = [
        f"# Spatial network with refraction *KTYP {ktyp} (tests/data/recovery/gen_recovery.py):",
        "# zenith distances with the earth's curvature and known coefficients.",
        "*DIM 3", "*AU DEG", "*NUMSOLV CH", "*ITER 1", "*ITERMAX 20", "*ITERTHRES 1e-10",
        "*UKRZ", f"*R_UKRZ {R:.0f}", "*K_REF 0.10", f"*KTYP {ktyp}",
        "*D V", "**V K1", "**V K2", "**V K3", "",
    ]
    for n in names:
        p = list(POINTS3[n])
        for c, d in enumerate(OFFSET3.get(n, (0, 0, 0))):
            p[c] += d
        out.append(f"X {n:4s} {p[0]:.4f} {p[1]:.4f} {p[2]:.4f}")
    out.append("")
    for s, st in enumerate(names):
        for tg in names:
            if tg != st:
                r = (bearing(POINTS3[st], POINTS3[tg]) - 0.29 * s) % (2 * math.pi)
                out.append(f"S {st:4s} {tg:4s} {deg(r)} 1.0")
    out.append("")
    for st in names:
        for tg in names:
            if tg == st:
                continue
            a, b = POINTS3[st], POINTS3[tg]
            s = math.hypot(b[0] - a[0], b[1] - a[1])
            z0 = math.atan2(s, b[2] - a[2])
            c = (s / R) / 2 * math.sin(z0) ** 2
            out.append(f"Z {st:4s} {tg:4s} {deg(z0 + c * (1 - kof(st)))} 1.0")
    out.append("")
    for i, a in enumerate(names):
        for b in names[i + 1:]:
            out.append(f"L {a:4s} {b:4s} {math.dist(POINTS3[a], POINTS3[b]):.7f} 1.0")
    out += ["*K", ""]
    return "\n".join(out)


for name, text in (("hitrosti.dat", velocities()),
                   ("refrakcija.dat", refraction("SINGLE", lambda st: K_SINGLE)),
                   ("refrakcija_postaje.dat", refraction("STAT", lambda st: K_STAT[st]))):
    with open(os.path.join(HERE, name), "w") as f:
        f.write(text)
