#include "stats/UnitScale.h"

#include <algorithm>
#include <cmath>

int UnitScale::exponentOf(double lowest, double highest)
{
    const double largest = std::max(std::fabs(lowest), std::fabs(highest));
    return largest > 0.0 ? std::min(-std::ilogb(largest), 1023) : 0;
}

double UnitScale::factorOf(double lowest, double highest)
{
    return std::ldexp(1.0, exponentOf(lowest, highest));
}
