#!/usr/bin/python3
"""Reference values for the statistics engine tests (tests/data/stats/*.tsv).

Independent of the C++ code: exact values by mpmath (50 digits) and by a Durbin-matrix
evaluation of the Kolmogorov distribution in numpy, cross-checked against R (fivenum,
boxplot.stats, var, sd, shapiro.test, the Marsaglia-Tsang-Wang Kolmogorov routine) and
scipy.stats. Needs Debian's python3-numpy, python3-scipy, python3-mpmath and r-base-core,
installed by hand (not by setup-deps: the tests read only the committed files).

Run:  /usr/bin/python3 tools/stats/make_stats_reference.py [normal|descriptives|shapiro|kolmogorov|kstest ...]
"""
import math
import os
import subprocess
import sys
import tempfile

import mpmath
import numpy as np
import scipy.special
import scipy.stats

from weyl_sample import weyl_sample

mpmath.mp.dps = 50
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "tests", "data", "stats")
HEADER = "# made by tools/stats/make_stats_reference.py ({}); do not edit by hand\n"


def r(value):
    """Shortest text that reads back as the same double."""
    return repr(float(value))


def run_r(script, values_by_name):
    """Runs an R script with doubles handed over in binary (no decimal rounding)."""
    with tempfile.TemporaryDirectory() as tmp:
        for name, values in values_by_name.items():
            np.asarray(values, dtype="<f8").tofile(os.path.join(tmp, name + ".bin"))
        path = os.path.join(tmp, "s.R")
        with open(path, "w") as f:
            f.write('rd <- function(n) readBin(file.path("%s", paste0(n, ".bin")), "double", n = 1e7, size = 8, endian = "little")\n' % tmp)
            f.write(script)
        out = subprocess.run(["Rscript", path], check=True, capture_output=True, text=True).stdout
    return out.split()


# ---------------------------------------------------------------- normal distribution
def make_normal():
    rng = np.random.default_rng(20261206)
    xs = [0.5, -0.5, 1.0, -1.0, 1.959963984540054, -3.0, 5.0, -8.0, 10.0, -20.0, 30.0, -37.0, 37.0,
          -36.99, 1 / 4096, -1 / 8192, 3 / 8192, -12345 / 4096, 6.103515625e-05]
    xs += list(rng.uniform(-37, 37, 300)) + list(rng.uniform(-4, 4, 200)) + list(rng.normal(size=100))
    lines = []
    for x in xs:
        cdf = mpmath.ncdf(mpmath.mpf(x))
        lines.append("cdf\t%s\t%s\n" % (r(x), mpmath.nstr(cdf, 20, min_fixed=1, max_fixed=0)))
    ps = [0.975, 0.025, 0.5 + 1e-12, 0.1, 0.9, 1e-3, 1e-10, 1e-100, 1e-300, 1 - 1e-15, 0.3, 0.7]
    ps += list(rng.uniform(0, 1, 200)) + list(10.0 ** rng.uniform(-300, -1, 100))
    for p in ps:
        target = mpmath.log(mpmath.mpf(p))
        z = mpmath.findroot(lambda t: mpmath.log(mpmath.ncdf(t)) - target, float(scipy.special.ndtri(p)))
        lines.append("inv\t%s\t%s\n" % (r(p), mpmath.nstr(z, 20, min_fixed=1, max_fixed=0)))
    with open(os.path.join(OUT, "normal.tsv"), "w") as f:
        f.write(HEADER.format("mpmath ncdf and its inverse by root finding, 50 digits"))
        f.write("# kind\tx or p\texact P(Z<=x) or quantile\n")
        f.writelines(lines)


# ---------------------------------------------------------------- descriptives
def moments(values):
    x = [mpmath.mpf(v) for v in values]
    n = len(x)
    mean = mpmath.fsum(x) / n
    d = [v - mean for v in x]
    ss = mpmath.fsum(v * v for v in d)
    m3 = mpmath.fsum(v ** 3 for v in d)
    m4 = mpmath.fsum(v ** 4 for v in d)
    out = {"mean": mean, "varianceP": ss / n, "stdevP": mpmath.sqrt(ss / n)}
    if n >= 2:
        out["variance"] = ss / (n - 1)
        out["stdev"] = mpmath.sqrt(ss / (n - 1))
    if n >= 2 and min(values) != max(values):
        sp = mpmath.sqrt(ss / n)
        s = mpmath.sqrt(ss / (n - 1))
        out["skP"] = m3 / sp ** 3 / n
        out["kuP"] = m4 / sp ** 4 / n - 3
        if n >= 3:
            out["sk"] = m3 / s ** 3 * n / ((n - 1) * (n - 2))
        if n >= 4:
            out["ku"] = mpmath.mpf(n + 1) * n / ((n - 1) * (n - 2) * (n - 3)) * m4 / s ** 4 - mpmath.mpf(3) * (n - 1) ** 2 / ((n - 2) * (n - 3))
    return out


def make_descriptives():
    rng = np.random.default_rng(7)
    samples = [[5.0], [1.0, 3.0], [4.0, 4.0, 4.0], [0.1, 0.1, 0.1], [1, 2, 3, 4, 5, 6, 7], [1, 2, 3, 4, 100],
               [1, 2, 9], [-3.5, 2.0, -3.5, 7.25], [1e9 + 0.5, 1e9 + 1.25, 1e9 + 0.75, 1e9 + 3.0],
               [-1e9 - 0.1, -1e9 - 0.2, -1e9 - 0.3, -1e9 - 0.4, -1e9 - 1.7], [2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 50, -40]]
    for n in range(1, 13):
        samples.append(list(np.round(rng.normal(0, 10, n), 2)))                 # negatives
        samples.append(list(rng.integers(-3, 4, n).astype(float)))               # ties
        samples.append(list(1e9 + np.round(rng.exponential(1.0, n), 3)))         # large offset
        samples.append(list(np.round(rng.standard_t(2, n) * 5, 1)))              # outliers likely
    keys = ["min", "max", "mean", "median", "varianceP", "variance", "stdevP", "stdev", "skP", "sk", "kuP", "ku"]
    # R's own view of the same doubles: var, sd, Tukey's five numbers and the box statistics.
    rscript = ""
    vals = {}
    for i, s in enumerate(samples):
        vals["s%d" % i] = s
        rscript += ('x <- rd("s%d"); b <- boxplot.stats(x); f <- fivenum(x); '
                    'cat(sprintf("%%.17g", c(if (length(x) > 1) var(x) else NA, f[2], f[3], f[4], b$stats[1], b$stats[5], length(b$out), sort(b$out))), "|\\n")\n') % i
    rout = " ".join(run_r(rscript, vals)).split("|")
    lines = []
    for i, s in enumerate(samples):
        x = [float(v) for v in s]
        srt = sorted(x)
        n = len(x)
        m = moments(x)
        med = srt[(n - 1) // 2] if n % 2 else (srt[n // 2 - 1] + srt[n // 2]) * 0.5
        row = {"min": srt[0], "max": srt[-1], "median": med}
        row.update(m)
        rv = [float("nan") if t == "NA" else float(t) for t in rout[i].split()]
        rvar, q1, rmed, q3, lo, hi, nout = rv[:7]
        outliers = rv[7:]
        assert int(nout) == len(outliers)
        assert rmed == med
        if n >= 2:
            assert abs(rvar - float(m["variance"])) <= 1e-9 * max(1.0, abs(rvar)), (x, rvar, m["variance"])
        shifted = np.array(x) - srt[0]   # exact for these samples; spares scipy the offset
        if n >= 3 and "sk" in m:
            assert abs(scipy.stats.skew(shifted, bias=False) - float(m["sk"])) < 1e-9, (x, m["sk"])
        if n >= 4 and "ku" in m:
            assert abs(scipy.stats.kurtosis(shifted, bias=False) - float(m["ku"])) < 1e-9, (x, m["ku"])
        cols = [",".join(r(v) for v in x)]
        cols += [("NA" if k not in row else mpmath.nstr(mpmath.mpf(row[k]), 20, min_fixed=1, max_fixed=0)) for k in keys]
        cols += [r(q1), r(q3), r(lo), r(hi), ",".join(r(v) for v in outliers) or "-"]
        lines.append("\t".join(cols) + "\n")
    with open(os.path.join(OUT, "descriptives.tsv"), "w") as f:
        f.write(HEADER.format("moments exact by mpmath; median, hinges, whisker ends and outliers from R fivenum/boxplot.stats"))
        f.write("# values\t" + "\t".join(keys) + "\tq1\tq3\tboxMin\tboxMax\toutliers\n")
        f.writelines(lines)


# ---------------------------------------------------------------- Shapiro-Wilk
def make_shapiro():
    rng = np.random.default_rng(2026)
    cases = []
    sizes = list(range(3, 31)) + [50, 100, 1000, 5000]
    for n in sizes:
        cases.append(("normal", rng.normal(10.0, 2.0, n)))
        cases.append(("uniform", rng.uniform(-1.0, 1.0, n)))
        cases.append(("exponential", rng.exponential(3.0, n)))
        if n <= 100:
            cases.append(("rounded", np.round(rng.normal(0.0, 1.0, n), 1)))
    vals = {"c%d" % i: v for i, (_, v) in enumerate(cases)}
    rscript = "".join('t <- shapiro.test(rd("c%d")); cat(sprintf("%%.17g", c(t$statistic, t$p.value)), "\\n")\n' % i
                      for i in range(len(cases)))
    out = run_r(rscript, vals)
    lines = []
    for i, (name, v) in enumerate(cases):
        w, p = out[2 * i], out[2 * i + 1]
        lines.append("%s\t%d\t%s\t%s\t%s\n" % (name, len(v), w, p, ",".join(r(t) for t in v)))
    with open(os.path.join(OUT, "shapiro.tsv"), "w") as f:
        f.write(HEADER.format("R shapiro.test, the AS R94 swilk routine in double precision"))
        f.write("# distribution\tn\tW\tp\tvalues\n")
        f.writelines(lines)


# ---------------------------------------------------------------- Kolmogorov-Smirnov
def durbin_cdf(n, d):
    """P(Dn < d) by the Durbin matrix (Marsaglia, Tsang, Wang), scaled by powers of two."""
    k = int(n * d) + 1
    m = 2 * k - 1
    h = k - n * d
    i = np.arange(m)
    H = (i[:, None] - i[None, :] + 1 >= 0).astype(float)
    H[:, 0] -= h ** (i + 1.0)
    H[m - 1, :] -= h ** (m - i * 1.0)
    if 2 * h - 1 > 0:
        H[m - 1, 0] += (2 * h - 1) ** m
    inverse_factorial = np.array([float(1 / mpmath.factorial(g)) for g in range(m + 1)])
    g = i[:, None] - i[None, :] + 1
    H = np.where(g > 0, H * inverse_factorial[np.clip(g, 0, m)], H)
    result, rexp = None, 0
    base, bexp = H.copy(), 0
    e = n
    while e:
        if e & 1:
            if result is None:
                result, rexp = base.copy(), bexp
            else:
                result = result @ base
                rexp += bexp
                s = np.frexp(result.max())[1]
                result = np.ldexp(result, -s)
                rexp += s
        e >>= 1
        if e:
            base = base @ base
            bexp *= 2
            s = np.frexp(base.max())[1]
            base = np.ldexp(base, -s)
            bexp += s
    s = mpmath.mpf(result[k - 1, k - 1]) * mpmath.mpf(2) ** rexp
    return s * mpmath.factorial(n) / mpmath.mpf(n) ** n


def exact_sf(n, d):
    if d >= 1:
        return mpmath.mpf(0)
    if d <= 0.5 / n:
        return mpmath.mpf(1)
    if d <= 1.0 / n:
        return 1 - mpmath.factorial(n) * (2 * mpmath.mpf(d) - mpmath.mpf(1) / n) ** n
    if d >= 1 - 1.0 / n:
        return 2 * (1 - mpmath.mpf(d)) ** n
    return 1 - durbin_cdf(n, d)


def make_kolmogorov():
    cases = []
    # (n, n d^2) pairs covering every method: near 0 (d <= 1/n), Durbin, Pomeranz, the
    # one-sided upper tail and, above 500 values, the Pelz-Good series.
    for n in [10, 50, 100, 200, 400, 500]:
        for w in [0.3, 0.6, 0.75, 0.76, 1.0, 1.5, 2.5, 3.9, 4.1, 6.0, 9.0]:
            cases.append((n, math.sqrt(w / n)))
        cases += [(n, 0.75 / n), (n, 0.95 / n), (n, 1 - 0.5 / n)]
    cases += [(10, 0.274), (10, 0.5), (10, 0.7), (10, 0.9)]
    for n in [501, 1000, 5000, 10000, 100000]:
        dz = (7.0 / n ** 2) ** (1.0 / 3.0)   # where the Durbin branch ends near 0
        for d in [0.9 * dz, 0.99 * dz, 1.01 * dz, 1.2 * dz]:
            if d > 1.0 / n:
                cases.append((n, d))
        for w in [0.3, 0.4, 0.8, 1.2, 1.6, 2.0, 2.6, 2.66, 2.7, 3.5, 5.0, 8.0]:
            cases.append((n, math.sqrt(w / n)))
        cases += [(n, 0.8 / n)]
    # Either side of the sizes where the series takes over from the Durbin matrix, at the
    # n d^2 where the series errs most.
    for n in [4000, 4001, 9000, 9001, 12000]:
        for w in [0.3, 0.75, 1.44, 1.46, 2.0, 2.64]:
            cases.append((n, math.sqrt(w / n)))
    lines = []
    check = {}
    for idx, (n, d) in enumerate(cases):
        d = float(d)
        p = exact_sf(n, d)
        lines.append("%d\t%s\t%s\n" % (n, r(d), mpmath.nstr(p, 20, min_fixed=1, max_fixed=0)))
        if n * d > 1 and n * d < n - 1 and n <= 5000 and n * d < 400:
            check[idx] = (n, d, p)
    # Cross-check against R's Marsaglia-Tsang-Wang routine.
    rscript = "".join('cat(sprintf("%%.17g", 1 - .Call(stats:::C_pKolmogorov2x, %s, %dL)), "\\n")\n' % (r(d), n)
                      for (n, d, _) in check.values())
    rout = run_r(rscript, {})
    for (n, d, p), rv in zip(check.values(), rout):
        assert abs(float(p) - float(rv)) < 1e-10, (n, d, p, rv)
    with open(os.path.join(OUT, "kolmogorov.tsv"), "w") as f:
        f.write(HEADER.format("P(Dn >= d) = 1 - P(Dn < d) by the Durbin matrix in numpy with exact rescaling, "
                              "checked against R's Marsaglia-Tsang-Wang routine"))
        f.write("# n\td\texact P(Dn >= d)\n")
        f.writelines(lines)


def make_kstest():
    lines = []
    for n, terms in [(6000, 1), (5001, 2), (6000, 3), (10007, 3), (20000, 12), (50000, 6)]:
        x = np.array(weyl_sample(n, terms))
        mean = mpmath.fsum(mpmath.mpf(v) for v in x) / n
        sd = mpmath.sqrt(mpmath.fsum((mpmath.mpf(v) - mean) ** 2 for v in x) / (n - 1))
        u = sorted(float(mpmath.ncdf((mpmath.mpf(v) - mean) / sd)) for v in x)
        dn = max(max((k + 1) / n - u[k], u[k] - k / n) for k in range(n))
        sc = scipy.stats.kstest(x, "norm", args=(float(mean), float(sd))).statistic
        assert abs(sc - dn) < 1e-12, (sc, dn)
        lines.append("%d\t%d\t%s\t%s\n" % (n, terms, r(dn), mpmath.nstr(exact_sf(n, dn), 20, min_fixed=1, max_fixed=0)))
    with open(os.path.join(OUT, "kstest.tsv"), "w") as f:
        f.write(HEADER.format("Dn of Weyl-sequence samples against the fitted normal (checked with scipy kstest), "
                              "p exact by the Durbin matrix"))
        f.write("# n\tterms\tDn\texact P(Dn >= d)\n")
        f.writelines(lines)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    todo = sys.argv[1:] or ["normal", "descriptives", "shapiro", "kolmogorov", "kstest"]
    for name in todo:
        globals()["make_" + name]()
        print("wrote", name)
