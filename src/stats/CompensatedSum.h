#pragma once
// A running sum that keeps the rounding error of every addition (Knuth's two-sum) and adds
// it back at the end: within about one ulp of the exact sum, whatever the order and the
// count of the values, where a plain sum of tied values drifts by dozens of ulp.
class CompensatedSum {
public:
    void add(double v)
    {
        const double s = m_sum + v;
        const double z = s - m_sum;
        m_error += (m_sum - (s - z)) + (v - z);
        m_sum = s;
    }
    double value() const { return m_sum + m_error; }
    // The sum divided by n, rounded once more from the exact remainder of the division.
    double dividedBy(double n) const;

private:
    double m_sum = 0.0;
    double m_error = 0.0;
};

#include <cmath>

inline double CompensatedSum::dividedBy(double n) const
{
    const double q = value() / n;
    // m_sum - q n is exact through fma; what the sum still carries is added to it.
    const double remainder = std::fma(-q, n, m_sum) + m_error;
    return q + remainder / n;
}
