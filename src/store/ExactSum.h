#pragma once

#include <cmath>

namespace granwise {

// Adds figures with a running compensation (Neumaier's variant of Kahan summation), so a sum
// of many decimal figures is as exact as a double can hold it: 0.1 added ten times is 1, and
// a hundred thousand amounts with two decimals add up to their decimal total.
class ExactSum {
public:
    void add(double value)
    {
        const double t = m_sum + value;
        if (std::fabs(m_sum) >= std::fabs(value))
            m_compensation += (m_sum - t) + value;
        else
            m_compensation += (value - t) + m_sum;
        m_sum = t;
    }
    void add(const ExactSum &other)
    {
        add(other.m_sum);
        add(other.m_compensation);
    }
    double value() const { return m_sum + m_compensation; }

private:
    double m_sum = 0;
    double m_compensation = 0;
};

} // namespace granwise
