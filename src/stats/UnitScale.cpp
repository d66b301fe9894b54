#include "stats/UnitScale.h"

#include <cmath>

int UnitScale::exponentOf(const std::vector<double>& finite)
{
    double largest = 0.0;
    for (double v : finite)
        largest = std::fmax(largest, std::fabs(v));
    return exponentOf(largest);
}

int UnitScale::exponentOf(double largest)
{
    return largest > 0.0 ? -std::ilogb(largest) : 0;
}

const std::vector<double>& UnitScale::of(const std::vector<double>& finite, std::vector<double>& storage)
{
    const int e = exponentOf(finite);
    if (e == 0)
        return finite;
    storage.resize(finite.size());
    for (size_t i = 0; i < finite.size(); ++i)
        storage[i] = std::ldexp(finite[i], e);
    return storage;
}
