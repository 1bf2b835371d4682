#!/usr/bin/python3
"""Reference values of the normal and chi-square functions and the gamma
family, computed with SciPy, for the tests of funkcije/NormPor, gamma, Hi2Por.

Run with Debian's python3-scipy:  /usr/bin/python3 gen_reference.py
It rewrites reference.csv beside itself.  Each line is
    function,a,b,c,value
with every number written as the shortest text that reads back to the same
double (repr).  Unused arguments are 0; for gammaln, b is the sign of Gamma
and for normpdf3 the arguments are x, mu and sigma.  The tests read
the arguments as doubles, so they evaluate exactly the arguments SciPy saw.
"""
import os
import numpy as np
import scipy
from scipy import special, stats

rows = []


def add(name, a, b, v, c=0.0):
    a, b, c, v = float(a), float(b), float(c), float(v)
    if not np.isfinite(v):
        return
    rows.append(f"{name},{a!r},{b!r},{c!r},{v!r}")


# Normal quantile: the central part, both tails down to 1e-300 and the
# switch between central and tail formulas at exp(-2).
ps = list(np.linspace(0.0005, 0.9995, 1999))
ps += list(np.logspace(-300, -1, 600))
ps += [1 - t for t in np.logspace(-16, -1, 300)]
e2 = np.exp(-2.0)
ps += [e2 * (1 + t) for t in np.linspace(-1e-6, 1e-6, 21)]
ps += [1 - e2 * (1 + t) for t in np.linspace(-1e-6, 1e-6, 21)]
ps += [0.5, 0.9, 0.95, 0.975, 0.99, 0.995, 1e-10, 1 - 1e-10, 1e-310, 5e-324]
for p in ps:
    add("ndtri", p, 0, special.ndtri(p))

# Chi-square quantile.
pp = [1e-10, 1e-5, 1e-3, 0.01, 0.025, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6,
      0.7, 0.8, 0.9, 0.95, 0.975, 0.99, 0.995, 0.999, 1 - 1e-5, 1 - 1e-10]
ks = list(range(1, 31)) + [35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200,
      300, 500, 700, 1000, 2000, 5000, 10000, 100000,
      1.5, 2.5, 3.7, 7.3, 12.5]
for k in ks:
    for p in pp:
        add("chi2ppf", p, k, stats.chi2.ppf(p, k))

# ln|Gamma| with its sign, and Gamma.
xs = list(np.linspace(-200.37, 200.37, 1601))
xs += list(np.logspace(-10, 12, 441))
xs += [-(n + f) for n in range(0, 60) for f in (1e-6, 0.25, 0.5, 0.75, 1 - 1e-6)]
xs += [2.0, 3.0, 1.0, 0.5, 13.0, 12.999999, 1000.0, 999.999, 1e8, 1.0000001e8]
for x in xs:
    add("gammaln", x, special.gammasgn(x), special.gammaln(x))
gx = list(np.linspace(-170.37, 171.5, 1501)) + list(np.logspace(-10, np.log10(171.6), 200))
gx += [-(n + f) for n in range(0, 40) for f in (1e-10, 1e-6, 0.5, 1 - 1e-6)]
gx += [33.0, 33.5, 32.99, 143.0, 143.1, 1e-9, 0.9e-9, -0.9e-9]
for x in gx:
    add("gamma", x, 0, special.gamma(x))

# Regularised incomplete gamma functions and the inverse of the upper one.
avals = list(np.logspace(-1.5, 4, 45)) + [0.5, 1, 1.5, 2, 2.5, 5, 10, 50]
for a in avals:
    xs = [a * t for t in np.logspace(-3, 1.3, 60)] + list(np.logspace(-6, 0, 10))
    for x in xs:
        add("gammainc", a, x, special.gammainc(a, x))
        add("gammaincc", a, x, special.gammaincc(a, x))
    for y in list(np.logspace(-12, -1, 23)) + list(np.linspace(0.05, 0.95, 19)) + \
            [1 - t for t in np.logspace(-12, -2, 11)]:
        add("gammainccinv", a, y, special.gammainccinv(a, y))

# Densities and distribution functions.
for x in np.linspace(-38, 38, 761):
    add("normpdf", x, 0, stats.norm.pdf(x))
    add("normcdf", x, 0, stats.norm.cdf(x))
for mu, s in [(0, 1), (10, 0.003), (-3, 25), (1e5, 2.5)]:
    for t in np.linspace(-30, 30, 121):
        x = mu + t * s
        add("normpdf3", x, mu, stats.norm.pdf(x, mu, s), s)
for k in [1, 2, 3, 4, 5, 7, 10, 15, 20, 30, 50, 100, 300, 600, 1000, 3000, 10000, 1.5, 2.5]:
    for t in np.logspace(-3, 1.2, 50):
        x = k * t
        add("chi2pdf", x, k, stats.chi2.pdf(x, k))
        add("chi2cdf", x, k, stats.chi2.cdf(x, k))
        add("chi2sf", x, k, stats.chi2.sf(x, k))

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference.csv")
with open(out, "w") as f:
    f.write(f"# SciPy {scipy.__version__}, NumPy {np.__version__}: function,a,b,c,value\n")
    f.write("\n".join(rows) + "\n")
print(len(rows), "rows ->", out)
