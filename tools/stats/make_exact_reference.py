#!/usr/bin/python3
"""Exact reference values for the statistics engine tests, from mpmath (40-50 digits) and
Python's exact fractions only; independent of the C++ code.

    ln_fact.tsv       ln(k!) by mpmath's log-gamma
    ks_cdf.tsv        P(Dn <= d) where it is small: closed form near 0, else the Durbin
                      matrix in mpmath
    ks_far.tsv        Dn of a sample with values 40 fitted standard deviations out, by
                      mpmath's normal distribution function
    normal_far.tsv    P(Z <= x) past the end of the normal table (denormal results)
    shapiro_tail.tsv  W and p of Royston's method with exact normal quantiles, for samples
                      whose p lies far below 1e-16
    ties.tsv          mean and variances of tied samples, exactly rounded from fractions

Run:  python3 tools/stats/make_exact_reference.py   (writes tests/data/stats/)
"""
import math
import os
import random
from fractions import Fraction

import mpmath

from weyl_sample import weyl_sample

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "data", "stats")
HEADER = "# made by tools/stats/make_exact_reference.py ({}); do not edit by hand\n"


def r(value):
    """Shortest text that reads back as the same double."""
    return repr(float(value))


def digits(value):
    return mpmath.nstr(value, 20, min_fixed=1, max_fixed=0)


def write(name, how, columns, lines):
    with open(os.path.join(OUT, name), "w") as f:
        f.write(HEADER.format(how))
        f.write("# " + "\t".join(columns) + "\n")
        f.writelines("\t".join(line) + "\n" for line in lines)


def make_ln_fact():
    mpmath.mp.dps = 50
    lines = [(str(k), digits(mpmath.loggamma(k + 1))) for k in list(range(31)) + [31, 32, 50, 100, 500, 1000, 100000]]
    write("ln_fact.tsv", "mpmath loggamma(k + 1), 50 digits", ["k", "ln(k!)"], lines)


# ---------------------------------------------------------------- Kolmogorov distribution
def durbin_cdf(n, d):
    """P(Dn < d) by the Durbin matrix (Marsaglia, Tsang, Wang) in mpmath arithmetic."""
    d = mpmath.mpf(d)
    k = int(n * d) + 1
    m = 2 * k - 1
    h = k - n * d
    H = [[mpmath.mpf(1) if i - j + 1 >= 0 else mpmath.mpf(0) for j in range(m)] for i in range(m)]
    for i in range(m):
        H[i][0] -= h ** (i + 1)
        H[m - 1][i] -= h ** (m - i)
    if 2 * h - 1 > 0:
        H[m - 1][0] += (2 * h - 1) ** m
    for i in range(m):
        for j in range(m):
            if i - j + 1 > 0:
                H[i][j] /= mpmath.factorial(i - j + 1)

    def product(a, b):
        return [[mpmath.fsum(a[i][t] * b[t][j] for t in range(m)) for j in range(m)] for i in range(m)]

    result, base, e = None, H, n
    while e:
        if e & 1:
            result = base if result is None else product(result, base)
        e >>= 1
        if e:
            base = product(base, base)
    return result[k - 1][k - 1] * mpmath.factorial(n) / mpmath.mpf(n) ** n


def exact_cdf(n, d):
    d = mpmath.mpf(d)
    if d <= mpmath.mpf(1) / (2 * n):
        return mpmath.mpf(0)
    if d <= mpmath.mpf(1) / n:
        return mpmath.factorial(n) * (2 * d - mpmath.mpf(1) / n) ** n
    return durbin_cdf(n, d)


def make_ks_cdf():
    mpmath.mp.dps = 40
    cases = []
    # Near 0, where P(Dn <= d) = n! (2d - 1/n)^n.
    for n in [10, 100, 400, 500, 501, 1000, 20000]:
        cases += [(n, 0.6 / n), (n, 0.9 / n), (n, 0.999 / n)]
    # The Durbin matrix up to 500 values (n d^2 < 0.754693), the Pomeranz recursion above it.
    for n in [10, 50, 200, 500]:
        for w in [0.05, 0.2, 0.4, 0.7, 0.8, 1.2]:
            if math.sqrt(w * n) < 20:
                cases.append((n, math.sqrt(w / n)))
    cases += [(10, 0.274)]
    # Above 500 values near 0 (n^2 d^3 <= 7): the Durbin matrix still.
    for n in [501, 1000, 2000]:
        for c in [1.5, 4.0, 6.9]:
            cases.append((n, (c / n ** 2) ** (1.0 / 3.0)))
    lines = []
    for n, d in cases:
        d = float(d)
        lines.append((str(n), r(d), digits(exact_cdf(n, d))))
    write("ks_cdf.tsv", "P(Dn <= d): n! (2d - 1/n)^n near 0, else the Durbin matrix in mpmath at 40 digits",
          ["n", "d", "exact P(Dn <= d)"], lines)


# ---------------------------------------------------------------- far-out values
def make_ks_far():
    mpmath.mp.dps = 50
    lines = []
    # Far values placed so that the fitted normal puts them about 40 standard deviations out.
    for n, terms, far in [(6000, 3, [-48.0, 50.5]), (8000, 2, [60.25]), (5001, 1, [-30.0, -29.5, 32.0])]:
        x = [mpmath.mpf(v) for v in weyl_sample(n, terms) + far]
        count = len(x)
        mean = mpmath.fsum(x) / count
        sd = mpmath.sqrt(mpmath.fsum((v - mean) ** 2 for v in x) / (count - 1))
        u = sorted(mpmath.ncdf((v - mean) / sd) for v in x)
        dn = max(max(mpmath.mpf(k + 1) / count - u[k], u[k] - mpmath.mpf(k) / count) for k in range(count))
        z = max(abs(v - mean) / sd for v in x[n:])
        lines.append((str(n), str(terms), ",".join(r(v) for v in far), digits(dn), mpmath.nstr(z, 5)))
    write("ks_far.tsv", "Dn against the fitted normal by mpmath ncdf, 50 digits",
          ["n", "terms", "far values appended", "exact Dn", "largest |z| (information)"], lines)


def make_normal_far():
    mpmath.mp.dps = 50
    xs = [-37.9, -37.99, -38.0, -38.0001, -38.00006, -38.0002, -38.1, -38.3, -38.45, -38.5, -39.0, -40.0, -1e3]
    lines = [("cdf", r(x), digits(mpmath.ncdf(mpmath.mpf(x)))) for x in xs]
    write("normal_far.tsv", "mpmath ncdf, 50 digits; doubles below 2.2e-308 keep fewer digits",
          ["kind", "x", "exact P(Z<=x)"], lines)


# ---------------------------------------------------------------- Shapiro-Wilk far tail
def royston(values):
    """W and p of Royston's approximation (AS R94) with exact normal quantiles."""
    mp = mpmath.mpf
    x = sorted(mp(v) for v in values)
    n = len(x)
    h = n // 2
    m = [mpmath.sqrt(2) * mpmath.erfinv(2 * (i + mp("0.625")) / (n + mp("0.25")) - 1) for i in range(h)]
    summ2 = 2 * mpmath.fsum(v * v for v in m)
    u = 1 / mpmath.sqrt(n)

    def poly(c):
        c = [mp(v) for v in c]
        return u * (c[0] + u * (c[1] + u * (c[2] + u * (c[3] + u * c[4]))))

    a = [None] * h
    a[0] = m[0] / mpmath.sqrt(summ2) + poly([-0.221157, 0.147981, 2.07119, -4.434685, 2.706056])
    a[1] = m[1] / mpmath.sqrt(summ2) + poly([-0.042981, 0.293762, 1.752461, -5.682633, 3.582633])
    phi = (summ2 - 2 * m[0] ** 2 - 2 * m[1] ** 2) / (1 - 2 * a[0] ** 2 - 2 * a[1] ** 2)
    for i in range(2, h):
        a[i] = m[i] / mpmath.sqrt(phi)
    mean = mpmath.fsum(x) / n
    b = mpmath.fsum((x[i] - x[n - 1 - i]) * a[i] for i in range(h))
    w = b * b / mpmath.fsum((v - mean) ** 2 for v in x)
    ln = mpmath.log(n)
    mu = mp(-1.5861) - mp(0.31082) * ln - mp(0.083751) * ln ** 2 + mp(0.0038915) * ln ** 3
    sigma = mpmath.exp(mp(-0.4803) - mp(0.082676) * ln + mp(0.0030302) * ln ** 2)
    z = (mpmath.log(1 - w) - mu) / sigma
    return w, mpmath.ncdf(-z)


def make_shapiro_tail():
    mpmath.mp.dps = 40
    samples = [("squares", [float(i * i) for i in range(1, 1001)]),
               ("cubes", [float(i ** 3) for i in range(1, 301)]),
               ("squares", [float(i * i) for i in range(1, 121)])]
    lines = []
    for name, v in samples:
        w, p = royston(v)
        lines.append((name, str(len(v)), digits(w), digits(p), ",".join(r(t) for t in v)))
    write("shapiro_tail.tsv", "Royston's W and p with exact normal quantiles in mpmath, 40 digits",
          ["distribution", "n", "W", "p", "values"], lines)


# ---------------------------------------------------------------- tied samples
def make_ties():
    mpmath.mp.dps = 50
    rng = random.Random(22)
    pool = [0.1, 0.2, 0.3, 0.7, 1.1, 2.9, 3.3, 0.01, 1e9 + 0.1, -0.4, 5e-5]
    lines = []
    while len(lines) < 14:
        values = rng.sample(pool, rng.randint(1, 3))
        runs = []
        for _ in range(rng.randint(2, 8)):
            runs.append((rng.choice(values), rng.randint(1, 1500)))
        x = [v for v, count in runs for _ in range(count)]
        if min(x) == max(x):
            continue
        n = len(x)
        mean = sum(Fraction(v) for v in x) / n
        ss = sum((Fraction(v) - mean) ** 2 for v in x)

        def root(q):
            return digits(mpmath.sqrt(mpmath.mpf(q.numerator) / q.denominator))

        lines.append((",".join("%s*%d" % (r(v), c) for v, c in runs), r(float(mean)), r(float(ss / n)),
                      r(float(ss / (n - 1))), root(ss / n), root(ss / (n - 1))))
    write("ties.tsv", "exact fractions, each result rounded once; square roots by mpmath at 50 digits",
          ["values as value*count runs", "mean", "varianceP", "variance", "stdevP", "stdev"], lines)


if __name__ == "__main__":
    import sys
    todo = sys.argv[1:] or ["ln_fact", "ks_cdf", "ks_far", "normal_far", "shapiro_tail", "ties"]
    for name in todo:
        globals()["make_" + name]()
        print("wrote", name)
