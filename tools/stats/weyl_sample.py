"""The Kolmogorov-Smirnov test samples, shared by the reference generators."""
import math


def weyl_sample(n, terms):
    """Same doubles as the C++ test builds: sums of `terms` Weyl sequences i * frac(sqrt(prime))
    mod 1, an Irwin-Hall shape from arithmetic that every IEEE language rounds alike."""
    primes = [2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37]
    steps = [math.sqrt(p) - math.floor(math.sqrt(p)) for p in primes[:terms]]
    out = []
    for i in range(1, n + 1):
        s = 0.0
        for a in steps:
            s += math.fmod(float(i) * a, 1.0)
        out.append(s)
    return out
