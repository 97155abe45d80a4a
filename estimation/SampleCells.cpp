#include "estimation/SampleCells.h"

#include "estimation/EstimationTypes.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/ParallelFor.h"
#include "estimation/VectorTypes.h"

#include <algorithm>
#include <cmath>

namespace estimation
{
namespace
{

// Accumulates the moments of samples [begin, end) about centre c into out (24 values).
__attribute__((always_inline)) inline void cellMomentsBody(const double* xs, const double* ys,
                                                           const double* qs, std::int64_t begin,
                                                           std::int64_t end, double centre, double bandwidth,
                                                           double* out)
{
    Vec4 t0 = VT_SPLAT4(0.0), t1 = t0, t2 = t0, u0 = t0, u1 = t0, u2 = t0;
    for (std::int64_t s = begin; s < end; ++s)
    {
        const double t = (xs[s] - centre) / bandwidth;
        const double tt = t * t;
        const double t4 = tt * tt;
        const Vec4 p0 = Vec4{1.0, t, tt, tt * t};
        const Vec4 p1 = p0 * VT_SPLAT4(t4);
        const Vec4 p2 = p1 * VT_SPLAT4(t4);
        const Vec4 q = VT_SPLAT4(qs[s]);
        const Vec4 qy = VT_SPLAT4(qs[s] * ys[s]);
        t0 += q * p0;
        t1 += q * p1;
        t2 += q * p2;
        u0 += qy * p0;
        u1 += qy * p1;
        u2 += qy * p2;
    }
    VT_STORE4(out, t0);
    VT_STORE4(out + 4, t1);
    VT_STORE4(out + 8, t2);
    VT_STORE4(out + 12, u0);
    VT_STORE4(out + 16, u1);
    VT_STORE4(out + 20, u2);
}

__attribute__((target("avx2"))) void cellMomentsAvx2(const double* xs, const double* ys, const double* qs,
                                                     std::int64_t begin, std::int64_t end, double centre,
                                                     double bandwidth, double* out)
{
    cellMomentsBody(xs, ys, qs, begin, end, centre, bandwidth, out);
}

void cellMomentsPortable(const double* xs, const double* ys, const double* qs, std::int64_t begin,
                         std::int64_t end, double centre, double bandwidth, double* out)
{
    cellMomentsBody(xs, ys, qs, begin, end, centre, bandwidth, out);
}

} // namespace

SampleCells::SampleCells(const std::vector<double>& x, const std::vector<double>& y, double maxBandwidth)
{
    step = 2.0 / (BinCount - 1);
    const int reach = static_cast<int>(std::ceil(std::max(maxBandwidth, 0.0) / step)) + 4;
    ext = ((reach + CoarseSpan - 1) / CoarseSpan) * CoarseSpan;
    fineCells = BinCount + 2 * ext;

    const size_t n = std::min(x.size(), y.size());
    std::vector<std::int32_t> cellOf(n, -1);
    std::vector<std::int64_t> counts(static_cast<size_t>(fineCells) + 1, 0);
    const double lowest = -1.0 - ext * step, highest = 1.0 + ext * step;
    for (size_t k = 0; k < n; ++k)
    {
        const double xv = x[k];
        if (std::isnan(xv) || std::isnan(y[k]) || !(xv >= lowest && xv < highest))
            continue;
        const int f = std::clamp(static_cast<int>(std::floor((xv + 1.0) / step)) + ext, 0, fineCells - 1);
        cellOf[k] = f;
        ++counts[static_cast<size_t>(f) + 1];
    }
    starts.assign(static_cast<size_t>(fineCells) + 1, 0);
    for (int f = 0; f < fineCells; ++f)
        starts[static_cast<size_t>(f) + 1] =
            starts[static_cast<size_t>(f)] + counts[static_cast<size_t>(f) + 1];

    // Stable placement: within a cell, samples keep their capture order.
    const size_t kept = static_cast<size_t>(starts.back());
    xs.resize(kept);
    ys.resize(kept);
    qs.assign(kept, 1.0);
    std::vector<std::int64_t> fill(starts.begin(), starts.end() - 1);
    for (size_t k = 0; k < n; ++k)
    {
        if (cellOf[k] < 0)
            continue;
        const size_t at = static_cast<size_t>(fill[static_cast<size_t>(cellOf[k])]++);
        xs[at] = x[k];
        ys[at] = y[k];
    }
}

double SampleCells::coarseCentre(int coarse) const
{
    return -1.0 + static_cast<double>(coarse * CoarseSpan - ext + CoarseSpan / 2) * step;
}

void SampleCells::computeMoments(double newBandwidth)
{
    bandwidth = newBandwidth;
    fine.assign(static_cast<size_t>(fineCells) * MomentCount, 0.0);
    coarse_.assign(static_cast<size_t>(coarseCount()) * XFormCount, 0.0);
    const bool avx2 = useAvx2Path();

    parallelFor(
        coarseCount(),
        [&](int begin, int end)
        {
            for (int coarse = begin; coarse < end; ++coarse)
            {
                const double centre = coarseCentre(coarse);
                double total[MomentCount] = {};
                for (int f = coarse * CoarseSpan; f < (coarse + 1) * CoarseSpan; ++f)
                {
                    double* out = fine.data() + static_cast<size_t>(f) * MomentCount;
                    const std::int64_t b = starts[static_cast<size_t>(f)],
                                       e = starts[static_cast<size_t>(f) + 1];
                    if (b == e)
                        continue;
                    if (avx2)
                        cellMomentsAvx2(xs.data(), ys.data(), qs.data(), b, e, centre, bandwidth, out);
                    else
                        cellMomentsPortable(xs.data(), ys.data(), qs.data(), b, e, centre, bandwidth, out);
                    for (int m = 0; m < MomentCount; ++m)
                        total[m] += out[m];
                }
                toXForm(total, centre, bandwidth, coarse_.data() + static_cast<size_t>(coarse) * XFormCount);
            }
        });
}

void SampleCells::toXForm(const double* m, double centre, double bw, double* out)
{
    // x = centre + bw·t, so Σq x t^j = centre·T_j + bw·T_(j+1), and so on.
    double xt[11];
    for (int j = 0; j < 11; ++j)
        xt[j] = centre * m[j] + bw * m[j + 1];
    for (int j = 0; j < 10; ++j)
    {
        out[j] = m[j];
        out[10 + j] = xt[j];
        out[20 + j] = centre * xt[j] + bw * xt[j + 1];
        out[30 + j] = m[12 + j];
        out[40 + j] = centre * m[12 + j] + bw * m[13 + j];
    }
}

} // namespace estimation
