#pragma once
// The pair a normality test gives: the statistic (W or Dn) and its p value.

struct NormalityResult {
    double statistic = 0.0;
    double p = 0.0;
};
