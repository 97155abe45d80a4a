#include "estimation/TricubeTaylorTable.h"

namespace estimation
{

TricubeTaylorTable::TricubeTaylorTable(double stepOverBandwidth, int maxOffsetSteps)
    : maxOffset(maxOffsetSteps)
    , width(2 * maxOffsetSteps + 4)
    , data(static_cast<size_t>(2 * Terms * width), 0.0)
{
    for (int side = 0; side < 2; ++side)
    {
        const long double s = side == 0 ? -1.0L : 1.0L;
        for (int n = -maxOffset; n <= maxOffset + 3; ++n)
        {
            const long double e = static_cast<long double>(-n) * static_cast<long double>(stepOverBandwidth);
            // r(t) = 1 - s (e + t)^3, then W = r^3.
            const long double r[4] = {1.0L - s * e * e * e, -3.0L * s * e * e, -3.0L * s * e, -s};
            long double r2[7] = {};
            for (int p = 0; p < 4; ++p)
                for (int q = 0; q < 4; ++q)
                    r2[p + q] += r[p] * r[q];
            long double r3[10] = {};
            for (int p = 0; p < 7; ++p)
                for (int q = 0; q < 4; ++q)
                    r3[p + q] += r2[p] * r[q];
            for (int j = 0; j < Terms; ++j)
                data[static_cast<size_t>((side * Terms + j) * width + n + maxOffset)] =
                    static_cast<double>(r3[j]);
        }
    }
}

} // namespace estimation
