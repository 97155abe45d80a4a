#include "LiteralEstimator.h"

#include <cmath>
#include <limits>

namespace estimation_literal
{

namespace
{
const double NaN = std::numeric_limits<double>::quiet_NaN();
}

std::vector<double> normaliseToPeak(const std::vector<double>& v)
{
    double largest = 0.0;
    for (double s : v)
    {
        if (std::fabs(s) > largest)
            largest = std::fabs(s);
    }
    if (v.empty() || largest == 0.0)
        return {};
    std::vector<double> result;
    for (double s : v)
        result.push_back(s / largest);
    return result;
}

TransferFunctionEstimate estimateTransferFunction(const std::vector<double>& x, const std::vector<double>& y,
                                                  int, int smoothing, EstimationMethod method)
{
    if (x.size() != y.size())
        return TransferFunctionEstimate{};
    std::vector<double> xf, yf;
    for (size_t k = 0; k < x.size(); ++k)
    {
        if (std::isfinite(x[k]) && std::isfinite(y[k]))
        {
            xf.push_back(x[k]);
            yf.push_back(y[k]);
        }
    }
    std::vector<double> xn = normaliseToPeak(xf);
    std::vector<double> yn = normaliseToPeak(yf);
    if (xn.empty() || yn.empty())
        return TransferFunctionEstimate{};
    std::vector<Pair> pairs;
    for (size_t k = 0; k < xn.size(); ++k)
        pairs.push_back(Pair(xn[k], yn[k]));
    if (method == EstimationMethod::OrthogonalFit)
        return fitOrthogonalDistance(pairs, xn, yn, smoothing);
    return fitSweepMean(pairs, xn, yn, smoothing);
}

std::vector<Sweep> findSweeps(const std::vector<double>& x, int minimumLength, double deadband)
{
    std::vector<Sweep> sweeps;
    const std::int64_t n = static_cast<std::int64_t>(x.size());
    if (n < 2)
        return sweeps;

    auto makeSweep = [&](std::int64_t s, std::int64_t e, int d)
    {
        Sweep sw;
        sw.first = s;
        sw.last = e;
        sw.rising = d > 0;
        sw.xMin = x[s];
        sw.xMax = x[s];
        for (std::int64_t k = s; k <= e; ++k)
        {
            if (x[k] < sw.xMin)
                sw.xMin = x[k];
            if (x[k] > sw.xMax)
                sw.xMax = x[k];
        }
        return sw;
    };

    int d = 0;
    std::int64_t s = 0;
    for (std::int64_t k = 0; k <= n - 2; ++k)
    {
        double delta = x[k + 1] - x[k];
        int c = 0;
        if (delta > deadband)
            c = 1;
        else if (delta < -deadband)
            c = -1;

        if (d == 0)
        {
            if (c != 0)
                d = c;
        }
        else if (c != 0 && c != d)
        {
            if (k - s + 1 >= minimumLength)
                sweeps.push_back(makeSweep(s, k, d));
            d = c;
            s = k;
        }
    }
    if ((n - 1) - s + 1 >= minimumLength && d != 0)
        sweeps.push_back(makeSweep(s, n - 1, d));
    return sweeps;
}

std::vector<double> resampleSweep(const std::vector<double>& x, const std::vector<double>& y,
                                  const Sweep& sweep)
{
    std::vector<double> bins(16384, NaN);
    if (sweep.last - sweep.first + 1 < 2 || x.size() != y.size() || sweep.last >= (std::int64_t) x.size())
        return bins;

    std::vector<double> xs(x.begin() + sweep.first, x.begin() + sweep.last + 1);
    std::vector<double> ys(y.begin() + sweep.first, y.begin() + sweep.last + 1);
    const size_t len = xs.size();

    for (int i = 0; i < 16384; ++i)
    {
        double d = (2.0 * i) / 16383.0 - 1.0;
        if (!(sweep.xMin <= d && d <= sweep.xMax))
            continue;
        for (size_t j = 0; j + 1 < len; ++j)
        {
            bool brackets = (xs[j] <= d && d <= xs[j + 1]) || (xs[j + 1] <= d && d <= xs[j]);
            if (!brackets)
                continue;
            if (std::fabs(xs[j + 1] - xs[j]) < 1e-12)
                bins[i] = ys[j];
            else
                bins[i] = ys[j] + (d - xs[j]) / (xs[j + 1] - xs[j]) * (ys[j + 1] - ys[j]);
            break;
        }
    }
    return bins;
}

std::vector<double> combineSweeps(const std::vector<std::vector<double>>& curves,
                                  const std::vector<Sweep>& sweeps)
{
    std::vector<double> combined(16384, NaN);
    for (int i = 0; i < 16384; ++i)
    {
        std::vector<double> risingGroup, fallingGroup;
        for (size_t k = 0; k < curves.size(); ++k)
        {
            double v = curves[k][i];
            if (std::isnan(v))
                continue;
            if (sweeps[k].rising)
                risingGroup.push_back(v);
            else
                fallingGroup.push_back(v);
        }
        auto mean = [](const std::vector<double>& g)
        {
            double sum = 0.0;
            for (double v : g)
                sum += v;
            return sum / g.size();
        };
        if (risingGroup.empty() && fallingGroup.empty())
            continue;
        if (!risingGroup.empty() && !fallingGroup.empty())
            combined[i] = (mean(fallingGroup) + mean(risingGroup)) * 0.5;
        else if (!risingGroup.empty())
            combined[i] = mean(risingGroup);
        else
            combined[i] = mean(fallingGroup);
    }
    return combined;
}

TransferFunctionEstimate fitSweepMean(const std::vector<Pair>& pairs, const std::vector<double>& x,
                                      const std::vector<double>& y, int smoothing)
{
    std::vector<Sweep> sweeps = findSweeps(x, 2, 1e-4);
    if (sweeps.empty())
        return fitOrthogonalDistance(pairs, x, y, smoothing);

    std::vector<std::vector<double>> curves;
    for (const Sweep& sw : sweeps)
        curves.push_back(resampleSweep(x, y, sw));
    std::vector<double> combined = combineSweeps(curves, sweeps);

    bool allNaN = true;
    for (double v : combined)
        if (!std::isnan(v))
            allNaN = false;
    if (allNaN)
        return fitOrthogonalDistance(pairs, x, y, smoothing);

    TransferFunctionEstimate result;
    result.rawBins = fillBinGaps(combined);
    result.smoothedBins = smoothBins(result.rawBins, smoothing);
    result.valid = true;
    return result;
}

} // namespace estimation_literal
