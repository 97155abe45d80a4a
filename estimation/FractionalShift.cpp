#include "estimation/FractionalShift.h"

#include <algorithm>

namespace estimation
{

std::vector<double> shiftByFraction(const std::vector<double>& v, double fraction)
{
    std::vector<double> out(v.size());
    shiftByFraction(v.data(), v.size(), fraction, out.data());
    return out;
}

void shiftByFraction(const double* v, std::size_t n, double f, double* out)
{
    if (n < 4)
    {
        std::copy(v, v + n, out);
        return;
    }

    out[0] = v[0];
    out[1] = v[1];
    out[n - 2] = v[n - 2];
    out[n - 1] = v[n - 1];
    const auto f2 = f * f;
    const auto f3 = f2 * f;
    for (std::size_t j = 2; j + 2 < n; ++j)
    {
        const auto p0 = v[j - 1], p1 = v[j], p2 = v[j + 1], p3 = v[j + 2];
        out[j] = 0.5 * (2.0 * p1 + (p2 - p0) * f + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * f2 +
                        (3.0 * p1 - p0 - 3.0 * p2 + p3) * f3);
    }
}

} // namespace estimation
