#include "estimation/SweepMean.h"

#include "estimation/BinGapFilling.h"
#include "estimation/BinSmoothing.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/OrthogonalDistanceFit.h"
#include "estimation/ParallelFor.h"
#include "estimation/VectorTypes.h"

#include <algorithm>
#include <cmath>

namespace estimation
{
namespace
{

// Grid positions as the resampler computes them.
std::vector<double> resampleGrid()
{
    std::vector<double> d(BinCount);
    for (int i = 0; i < BinCount; ++i)
        d[static_cast<size_t>(i)] = (2.0 * i) / (BinCount - 1) - 1.0;
    return d;
}

const std::vector<double>& gridPositions()
{
    static const std::vector<double> d = resampleGrid();
    return d;
}

// Lowest grid index with d >= lo (BinCount if none).
int firstAtOrAbove(const std::vector<double>& d, double lo)
{
    double guess = std::ceil((lo + 1.0) * 0.5 * (BinCount - 1));
    int i = static_cast<int>(std::clamp(guess, 0.0, static_cast<double>(BinCount)));
    while (i > 0 && d[static_cast<size_t>(i - 1)] >= lo)
        --i;
    while (i < BinCount && d[static_cast<size_t>(i)] < lo)
        ++i;
    return i;
}

// Highest grid index with d <= hi (-1 if none).
int lastAtOrBelow(const std::vector<double>& d, double hi)
{
    double guess = std::floor((hi + 1.0) * 0.5 * (BinCount - 1));
    int i = static_cast<int>(std::clamp(guess, -1.0, static_cast<double>(BinCount - 1)));
    while (i < BinCount - 1 && d[static_cast<size_t>(i + 1)] <= hi)
        ++i;
    while (i >= 0 && d[static_cast<size_t>(i)] > hi)
        --i;
    return i;
}

// Adds the interpolated value of the interval (x0,y0)-(x1,y1) at grid points lo..hi.
__attribute__((always_inline)) inline void addSpanBody(const double* d, double* sum, int lo, int hi,
                                                       double x0, double x1, double y0, double y1)
{
    const double dx = x1 - x0;
    // A near-vertical step takes its first value; elsewhere the line through both ends.
    const double slope = std::abs(dx) < 1e-12 ? 0.0 : (y1 - y0) / dx;
    const Vec4 vx0 = VT_SPLAT4(x0), vy0 = VT_SPLAT4(y0), vslope = VT_SPLAT4(slope);
    int i = lo;
    for (; i + 4 <= hi + 1; i += 4)
    {
        Vec4 di, si;
        VT_LOAD4(di, d + i);
        VT_LOAD4(si, sum + i);
        si += vy0 + (di - vx0) * vslope;
        VT_STORE4(sum + i, si);
    }
    for (; i <= hi; ++i)
        sum[i] += y0 + (d[i] - x0) * slope;
}

__attribute__((target("avx2"))) void addSpanAvx2(const double* d, double* sum, int lo, int hi, double x0,
                                                 double x1, double y0, double y1)
{
    addSpanBody(d, sum, lo, hi, x0, x1, y0, y1);
}

void addSpanPortable(const double* d, double* sum, int lo, int hi, double x0, double x1, double y0, double y1)
{
    addSpanBody(d, sum, lo, hi, x0, x1, y0, y1);
}

} // namespace

std::vector<Sweep> findSweeps(const std::vector<double>& x, int minimumLength, double deadband)
{
    std::vector<Sweep> sweeps;
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    if (n < 2)
        return sweeps;

    auto emit = [&](std::int64_t s, std::int64_t e, int direction)
    {
        Sweep sweep;
        sweep.first = s;
        sweep.last = e;
        sweep.rising = direction > 0;
        sweep.xMin = x[static_cast<size_t>(s)];
        sweep.xMax = x[static_cast<size_t>(s)];
        for (std::int64_t k = s + 1; k <= e; ++k)
        {
            sweep.xMin = std::min(sweep.xMin, x[static_cast<size_t>(k)]);
            sweep.xMax = std::max(sweep.xMax, x[static_cast<size_t>(k)]);
        }
        sweeps.push_back(sweep);
    };

    int direction = 0;
    std::int64_t start = 0;
    for (std::int64_t k = 0; k + 1 < n; ++k)
    {
        const double delta = x[static_cast<size_t>(k + 1)] - x[static_cast<size_t>(k)];
        const int c = delta > deadband ? 1 : (delta < -deadband ? -1 : 0);
        if (c == 0 || c == direction)
            continue;
        if (direction == 0)
        {
            direction = c;
            continue;
        }
        if (k - start + 1 >= minimumLength)
            emit(start, k, direction);
        direction = c;
        start = k;
    }
    if ((n - 1) - start + 1 >= minimumLength && direction != 0)
        emit(start, n - 1, direction);
    return sweeps;
}

void resampleSweep(const std::vector<double>& x, const std::vector<double>& y, const Sweep& sweep,
                   SweepAccumulator& accumulator, int gridBegin, int gridEnd)
{
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    if (sweep.last - sweep.first + 1 < 2 || x.size() != y.size() || sweep.last >= n || sweep.first < 0)
        return;

    const std::vector<double>& d = gridPositions();
    const double* xs = x.data() + sweep.first;
    const double* ys = y.data() + sweep.first;
    const std::int64_t len = sweep.last - sweep.first + 1;
    const bool avx2 = useAvx2Path();
    double* sum = accumulator.sums(sweep.rising);

    auto addSpan = [&](int lo, int hi, std::int64_t j)
    {
        lo = std::max(lo, gridBegin);
        hi = std::min(hi, gridEnd - 1);
        if (lo > hi)
            return;
        if (avx2)
            addSpanAvx2(d.data(), sum, lo, hi, xs[j], xs[j + 1], ys[j], ys[j + 1]);
        else
            addSpanPortable(d.data(), sum, lo, hi, xs[j], xs[j + 1], ys[j], ys[j + 1]);
    };

    // The sweep is one connected path, so the grid points its first intervals bracket always form one
    // block [reachedLow, reachedHigh]. An interval's first-bracketed points are the parts of its own
    // range outside that block, even when the sweep wiggles back inside the deadband.
    int reachedLow = BinCount, reachedHigh = -1;
    for (std::int64_t j = 0; j + 1 < len; ++j)
    {
        const double x0 = xs[j], x1 = xs[j + 1];
        const int lo = firstAtOrAbove(d, std::min(x0, x1));
        const int hi = lastAtOrBelow(d, std::max(x0, x1));
        if (lo > hi)
            continue;
        if (reachedLow > reachedHigh)
        {
            addSpan(lo, hi, j);
        }
        else
        {
            addSpan(lo, std::min(hi, reachedLow - 1), j);
            addSpan(std::max(lo, reachedHigh + 1), hi, j);
        }
        reachedLow = std::min(reachedLow, lo);
        reachedHigh = std::max(reachedHigh, hi);
    }
    accumulator.countBlock(std::max(reachedLow, gridBegin), std::min(reachedHigh, gridEnd - 1), sweep.rising);
}

std::vector<double> combineSweeps(const SweepAccumulator& accumulator)
{
    return accumulator.combined();
}

TransferFunctionEstimate fitSweepMean(const std::vector<double>& x, const std::vector<double>& y,
                                      int smoothing)
{
    const std::vector<Sweep> sweeps = findSweeps(x, 2, 1e-4);
    if (sweeps.empty())
        return fitOrthogonalDistance(x, y, smoothing);

    SweepAccumulator accumulator;
    // Each thread owns a block of grid points and adds every sweep there in sweep order.
    parallelFor(BinCount,
                [&](int begin, int end)
                {
                    for (size_t k = 0; k < sweeps.size(); ++k)
                        resampleSweep(x, y, sweeps[k], accumulator, begin, end);
                });

    const std::vector<double> combined = combineSweeps(accumulator);
    if (std::all_of(combined.begin(), combined.end(), [](double v) { return std::isnan(v); }))
        return fitOrthogonalDistance(x, y, smoothing);

    return finishEstimate(combined, smoothing);
}

} // namespace estimation
