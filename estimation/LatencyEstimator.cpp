#include "estimation/LatencyEstimator.h"

#include "estimation/FractionalShift.h"
#include "estimation/ParallelFor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace estimation
{
namespace
{
// The whole-sample search: a mean per bin of x is enough to tell a right lag from a wrong one, on
// about this many pairs spread evenly over the capture.
constexpr int searchBins = 64;
constexpr int searchPairs = 16384;
// The check on every pair and the refinement: a line per bin, so that the curve's slope across a bin
// adds nothing that depends on the lag.
constexpr int refineBins = 256;
// Room beyond the largest lag for a refined delay up to 1.25 samples further out and the
// interpolation's neighbours.
constexpr int edgeMargin = 8;
constexpr int minimumWindow = 1024;
// A delay that leaves more than this share of Y unexplained is not a delay of this device.
constexpr double largestUnexplained = 0.5;
// A second basin that leaves no more than the best plus the larger of the best and this share of Y
// unexplained fits as well: the signal repeats.
constexpr double ambiguousFloor = 0.01;
constexpr double fractionTolerance = 1e-9;

int binOf(double v, int bins)
{
    const int b = static_cast<int>((v + 1.0) * 0.5 * bins);
    return std::clamp(b, 0, bins - 1);
}

std::string samplesText(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", v);
    return text;
}

// Peak-normalised copy; non-finite samples become 0. Returns the peak (0 for silence).
double normalisedCopy(const std::vector<double>& v, std::vector<double>& out)
{
    out.resize(v.size());
    double peak = 0.0;
    for (size_t k = 0; k < v.size(); ++k)
    {
        out[k] = std::isfinite(v[k]) ? v[k] : 0.0;
        peak = std::max(peak, std::abs(out[k]));
    }
    if (peak > 0.0)
        for (double& s : out)
            s /= peak;
    return peak;
}

// Sum of squares about the mean of y[begin..end).
double spread(const std::vector<double>& v, int begin, int end, int stride = 1)
{
    double sum = 0.0, sumSquares = 0.0;
    int count = 0;
    for (int n = begin; n < end; n += stride, ++count)
    {
        sum += v[static_cast<size_t>(n)];
        sumSquares += v[static_cast<size_t>(n)] * v[static_cast<size_t>(n)];
    }
    return count > 0 ? sumSquares - sum * sum / count : 0.0;
}

// The capture prepared for the search: normalised streams, the window of Y paired at every lag
// and, for the whole-sample search, x's bin of every sample and the thinned Y.
struct Search
{
    std::vector<double> x, y;
    int begin = 0, end = 0;
    std::vector<std::uint8_t> bins;
    std::vector<double> thinY;
    int stride = 1;
    double thinSumSquares = 0.0, thinSpread = 0.0, windowSpread = 0.0;
    mutable std::vector<double> shifted; // the refinement's working copy of X
};

// Unexplained share of the thinned Y when paired with x[n - lag], by the mean y of each x bin.
double searchUnexplained(const Search& s, int lag)
{
    // Four interleaved sets of sums, so that consecutive pairs in one bin do not wait on each other.
    std::array<std::array<double, searchBins>, 4> sums{};
    std::array<std::array<std::int32_t, searchBins>, 4> counts{};
    const std::uint8_t* bins = s.bins.data() + (s.begin - lag);
    const double* y = s.thinY.data();
    const size_t m = s.thinY.size();
    const size_t stride = static_cast<size_t>(s.stride);
    size_t k = 0;
    for (; k + 4 <= m; k += 4)
        for (size_t j = 0; j < 4; ++j)
        {
            const auto b = bins[(k + j) * stride];
            sums[j][b] += y[k + j];
            ++counts[j][b];
        }
    for (; k < m; ++k)
    {
        const auto b = bins[k * stride];
        sums[0][b] += y[k];
        ++counts[0][b];
    }

    double explained = 0.0;
    for (int b = 0; b < searchBins; ++b)
    {
        const double sum = sums[0][b] + sums[1][b] + sums[2][b] + sums[3][b];
        const int count = counts[0][b] + counts[1][b] + counts[2][b] + counts[3][b];
        if (count > 0)
            explained += sum * sum / count;
    }
    return (s.thinSumSquares - explained) / s.thinSpread;
}

// Unexplained share of Y's window when paired with x at n - lag (fractional lags by the refit's
// Catmull-Rom shift of X), by a least-squares line in each x bin.
double refineUnexplained(const Search& s, double lag)
{
    const int whole = static_cast<int>(std::floor(lag));
    const double fraction = lag - whole;
    const int count = s.end - s.begin;

    // x(n - lag) for n = begin + k is at xs[k + offset].
    const double* xs = nullptr;
    int offset = 0;
    if (fraction <= fractionTolerance)
    {
        xs = s.x.data() + (s.begin - whole);
    }
    else
    {
        // n - lag = (n - whole - 1) + (1 - fraction): shift a slice forward by 1 - fraction.
        s.shifted.resize(static_cast<size_t>(count + 4));
        shiftByFraction(s.x.data() + (s.begin - whole - 3), s.shifted.size(), 1.0 - fraction,
                        s.shifted.data());
        xs = s.shifted.data();
        offset = 2;
    }

    struct Sums
    {
        double n = 0, x = 0, y = 0, xx = 0, xy = 0, yy = 0;
    };
    std::array<Sums, refineBins> bins{};
    const double* y = s.y.data() + s.begin;
    for (int k = 0; k < count; ++k)
    {
        const double xv = xs[k + offset];
        const int b = binOf(xv, refineBins);
        // About the bin's centre, so that the sums of squares keep their precision.
        const double xc = xv - (-1.0 + (b + 0.5) * (2.0 / refineBins));
        const double yv = y[k];
        Sums& t = bins[static_cast<size_t>(b)];
        t.n += 1.0;
        t.x += xc;
        t.y += yv;
        t.xx += xc * xc;
        t.xy += xc * yv;
        t.yy += yv * yv;
    }

    double residual = 0.0;
    for (const Sums& t : bins)
    {
        if (t.n == 0.0)
            continue;
        double r = t.yy - t.y * t.y / t.n;
        const double sxx = t.xx - t.x * t.x / t.n;
        if (sxx > 1e-300)
        {
            const double sxy = t.xy - t.x * t.y / t.n;
            r -= sxy * sxy / sxx;
        }
        residual += std::max(r, 0.0);
    }
    return residual / s.windowSpread;
}

LatencyEstimate none(std::string message)
{
    LatencyEstimate e;
    e.message = std::move(message);
    return e;
}

LatencyEstimate doesNotFollow(int largestLag, double unexplained)
{
    return none("Y does not follow X at any delay within ±" + std::to_string(largestLag) +
                " samples: the best leaves " + samplesText(100.0 * unexplained) + " % of Y unexplained");
}

// The lag whose unexplained share is least, and the least share outside its basin (the run of lags
// around it below halfway to the median), or infinity when every lag is in the basin.
struct Minimum
{
    int index = 0;
    double best = 0.0, median = 0.0, outside = 0.0;
    int outsideIndex = -1;
};

Minimum findMinimum(const std::vector<double>& u)
{
    Minimum m;
    const int n = static_cast<int>(u.size());
    m.index = static_cast<int>(std::min_element(u.begin(), u.end()) - u.begin());
    m.best = u[static_cast<size_t>(m.index)];
    std::vector<double> sorted = u;
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    m.median = sorted[static_cast<size_t>(n / 2)];

    const double half = m.best + 0.5 * (m.median - m.best);
    int left = m.index, right = m.index;
    while (left > 0 && u[static_cast<size_t>(left - 1)] <= half)
        --left;
    while (right + 1 < n && u[static_cast<size_t>(right + 1)] <= half)
        ++right;
    m.outside = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i)
        if ((i < left || i > right) && u[static_cast<size_t>(i)] < m.outside)
        {
            m.outside = u[static_cast<size_t>(i)];
            m.outsideIndex = i;
        }
    return m;
}

} // namespace

LatencyEstimate estimateLatency(const std::vector<double>& x, const std::vector<double>& y, int largestLag)
{
    if (x.size() != y.size())
        return none("X and Y differ in length");
    largestLag = std::max(largestLag, 0);

    const long long n = static_cast<long long>(x.size());
    const long long needed = 2LL * (largestLag + edgeMargin) + minimumWindow;
    if (n < needed)
        return none("the capture is too short: " + std::to_string(n) + " pairs, and a search over ±" +
                    std::to_string(largestLag) + " samples needs at least " + std::to_string(needed));

    Search s;
    if (normalisedCopy(x, s.x) == 0.0)
        return none("X is silent: there is no input to time the output against");
    if (normalisedCopy(y, s.y) == 0.0)
        return none("Y is silent: the device gave no output to time");

    s.begin = largestLag + edgeMargin;
    s.end = static_cast<int>(n) - largestLag - edgeMargin;
    // Both streams are scaled to their peaks: a spread below 1e-6 of the peak (RMS) is a constant
    // with rounding on it, not a signal.
    const double flat = 1e-12 * (s.end - s.begin);
    if (spread(s.x, s.begin - largestLag, s.end + largestLag) <= flat)
        return none("X does not change: a constant input carries no timing");
    s.windowSpread = spread(s.y, s.begin, s.end);
    if (s.windowSpread <= flat)
        return none("Y does not change: a constant device output carries no timing");

    s.bins.resize(s.x.size());
    for (size_t k = 0; k < s.x.size(); ++k)
        s.bins[k] = static_cast<std::uint8_t>(binOf(s.x[k], searchBins));
    s.stride = std::max(1, (s.end - s.begin + searchPairs - 1) / searchPairs);
    for (int k = s.begin; k < s.end; k += s.stride)
    {
        s.thinY.push_back(s.y[static_cast<size_t>(k)]);
        s.thinSumSquares += s.thinY.back() * s.thinY.back();
    }
    s.thinSpread = spread(s.y, s.begin, s.end, s.stride);
    if (s.thinSpread <= flat / s.stride)
        return none("Y does not change: a constant device output carries no timing");

    // Whole-sample search over every lag; index i stands for lag i - largestLag.
    std::vector<double> unexplained(static_cast<size_t>(2 * largestLag + 1));
    parallelFor(static_cast<int>(unexplained.size()),
                [&](int begin, int end)
                {
                    for (int i = begin; i < end; ++i)
                        unexplained[static_cast<size_t>(i)] = searchUnexplained(s, i - largestLag);
                });
    const Minimum found = findMinimum(unexplained);
    if (found.best > largestUnexplained)
        return doesNotFollow(largestLag, found.best);
    if (found.outsideIndex >= 0 && found.outside - found.best < std::max(found.best, ambiguousFloor))
        return none("the test signal repeats: delays of " + samplesText(found.index - largestLag) + " and " +
                    samplesText(found.outsideIndex - largestLag) +
                    " samples fit about equally well; use a signal that does not repeat within ±" +
                    std::to_string(largestLag) + " samples (a sweep or noise), or set the latency by hand");

    // The thinned search is checked against every pair near its best.
    const int searched = found.index - largestLag;
    int lag = searched;
    double best = refineUnexplained(s, lag);
    for (int candidate = std::max(-largestLag, searched - 2); candidate <= std::min(largestLag, searched + 2);
         ++candidate)
        if (const double u = candidate == searched ? best : refineUnexplained(s, candidate); u < best)
        {
            best = u;
            lag = candidate;
        }
    if (best > largestUnexplained)
        return doesNotFollow(largestLag, best);

    // The fraction: parabolas through three points, narrowed around each vertex in turn. Near its
    // minimum the unexplained share grows with the square of the misalignment.
    double centre = lag, atCentre = best;
    for (double half = 0.5; half > 0.01; half *= 0.25)
    {
        const double below = refineUnexplained(s, centre - half), above = refineUnexplained(s, centre + half);
        const double curvature = below - 2.0 * atCentre + above;
        const double vertex = curvature > 0.0 ? centre + 0.5 * half * (below - above) / curvature
                                              : (below < above ? centre - half : centre + half);
        centre = std::clamp(vertex, centre - half, centre + half);
        atCentre = refineUnexplained(s, centre);
    }

    LatencyEstimate e;
    e.samples = centre;
    e.unexplained = atCentre;
    return e;
}

} // namespace estimation
