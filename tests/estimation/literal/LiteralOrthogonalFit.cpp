#include "LiteralEstimator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace estimation_literal
{

namespace
{
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct LineFit
{
    bool ok = false;
    double value = 0.0;
    std::uint32_t count = 0;
};

// One window: the sorted pairs from the first with x >= g - b up to the first with x > g + b.
template <typename WeightOf>
LineFit fitWindow(const std::vector<Pair>& sorted, double g, double b, WeightOf weightOf)
{
    LineFit fit;
    auto start = std::lower_bound(sorted.begin(), sorted.end(), g - b,
                                  [](const Pair& p, double v) { return p.first < v; });
    double S0 = 0, Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    std::uint32_t k = 0;
    for (auto it = start; it != sorted.end(); ++it)
    {
        const double x = it->first, y = it->second;
        if (x > g + b)
            break;
        double u = std::fabs(x - g) / b;
        if (u >= 1.0)
            continue;
        double w = weightOf(x, u);
        if (w <= 1e-10)
            continue;
        ++k;
        S0 += w;
        Sx += w * x;
        Sy += w * y;
        Sxx += w * x * x;
        Sxy += w * x * y;
    }
    fit.count = k;
    if (k < 2)
        return fit;
    double D = Sxx * S0 - Sx * Sx;
    if (std::fabs(D) >= 1e-12)
    {
        double a = (Sxy * S0 - Sy * Sx) / D;
        double c = (Sy * Sxx - Sxy * Sx) / D;
        fit.ok = true;
        fit.value = a * g + c;
    }
    else if (S0 > 1e-10)
    {
        fit.ok = true;
        fit.value = Sy / S0;
    }
    return fit;
}

std::vector<Pair> sortedByX(const std::vector<Pair>& pairs)
{
    std::vector<Pair> sorted = pairs;
    std::sort(sorted.begin(), sorted.end(), [](const Pair& a, const Pair& b) { return a.first < b.first; });
    return sorted;
}

double tricube(double u)
{
    return std::pow(1.0 - u * u * u, 3);
}

} // namespace

SeedResult seedLocalLinear(const std::vector<Pair>& pairs, double bandwidth)
{
    SeedResult seed;
    seed.values.assign(16384, NaN);
    seed.counts.assign(16384, 0);
    if (pairs.empty())
        return seed;
    double b = std::min(std::max(bandwidth, 0.02), 0.5);
    std::vector<Pair> sorted = sortedByX(pairs);
    for (int i = 0; i < 16384; ++i)
    {
        double g = (2.0 * i) / 16383.0 - 1.0;
        LineFit fit = fitWindow(sorted, g, b, [](double, double u) { return tricube(u); });
        seed.counts[i] = fit.count;
        if (fit.ok)
            seed.values[i] = fit.value;
    }
    return seed;
}

RefineResult refineOrthogonal(const std::vector<Pair>& pairs, double h, double tolerance)
{
    RefineResult result;
    result.values.assign(16384, NaN);
    if (pairs.empty())
        return result;

    SeedResult seed = seedLocalLinear(pairs, h);
    bool anyValue = false;
    for (double v : seed.values)
        if (!std::isnan(v))
            anyValue = true;
    if (!anyValue)
        return result;

    std::vector<std::uint32_t> counts = seed.counts;
    std::vector<double> C(16384);
    std::vector<bool> everFitted(16384);
    for (int i = 0; i < 16384; ++i)
    {
        C[i] = std::isnan(seed.values[i]) ? 0.0 : seed.values[i];
        everFitted[i] = !std::isnan(seed.values[i]);
    }

    std::vector<Pair> sorted = sortedByX(pairs);
    int passCounter = 0;
    while (true)
    {
        std::vector<double> N = C;
        auto weightOf = [&C](double x, double u)
        {
            int j = (int) std::floor((x + 1.0) / (2.0 / 16383.0));
            if (j < 0)
                j = 0;
            if (j > 16383)
                j = 16383;
            double s;
            if (j == 0)
                s = (C[1] - C[0]) / (2.0 / 16383.0);
            else if (j == 16383)
                s = (C[16383] - C[16382]) / (2.0 / 16383.0);
            else
                s = (C[j + 1] - C[j - 1]) / (4.0 / 16383.0);
            if (s < -10.0)
                s = -10.0;
            if (s > 10.0)
                s = 10.0;
            return tricube(u) / (1.0 + s * s);
        };
        for (int i = 0; i < 16384; ++i)
        {
            double g = i * (2.0 / 16383.0) - 1.0;
            LineFit fit = fitWindow(sorted, g, h, weightOf);
            if (fit.ok)
            {
                N[i] = fit.value;
                everFitted[i] = true;
            }
        }
        ++result.passes;
        double delta = 0.0;
        for (int i = 0; i < 16384; ++i)
        {
            double diff = std::fabs(N[i] - C[i]);
            if (!std::isnan(diff) && diff > delta)
                delta = diff;
        }
        C = N;
        if (delta < tolerance)
            break;
        ++passCounter;
        if (passCounter == 5)
            break;
    }

    // A grid point keeps its curve value when a sample reached it in the seed, unless it never got a
    // fit of its own (its 0 is only a placeholder).
    for (int i = 0; i < 16384; ++i)
        if (counts[i] != 0 && everFitted[i])
            result.values[i] = C[i];
    return result;
}

TransferFunctionEstimate fitOrthogonalDistance(const std::vector<Pair>& pairs, const std::vector<double>& x,
                                               const std::vector<double>& y, int smoothing)
{
    RefineResult refined = refineOrthogonal(pairs, 0.05, 1e-4);
    bool allNaN = true;
    for (double v : refined.values)
        if (!std::isnan(v))
            allNaN = false;
    if (allNaN)
        return fitBinnedMean(x, y, smoothing);

    TransferFunctionEstimate result;
    result.rawBins = fillBinGaps(refined.values);
    result.smoothedBins = smoothBins(result.rawBins, smoothing);
    result.valid = true;
    return result;
}

} // namespace estimation_literal
