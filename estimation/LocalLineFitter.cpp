#include "estimation/LocalLineFitter.h"

#include "estimation/EstimationTypes.h"
#include "estimation/ExecutionSettings.h"
#include "estimation/ParallelFor.h"
#include "estimation/TricubeTaylorTable.h"
#include "estimation/VectorTypes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace estimation
{
namespace
{

constexpr int Lanes = 4;
constexpr int Span = SampleCells::CoarseSpan;
constexpr int Terms = TricubeTaylorTable::Terms;
constexpr double weightFloor = 1e-10;
constexpr double determinantFloor = 1e-12;
// Cells summed through moments stay far enough inside every window that each of their samples is
// surely inside it with a weight at least five times the floor, even at the smallest slope factor
// 1 / (1 + 10²); the rest is weighted one by one.
constexpr double momentWeightMargin = 5.0;
constexpr double smallestSlopeFactor = 1.0 / 101.0;
constexpr int minimumMomentReach = 2 * Span;

struct StagePlan
{
    double bandwidth = 0.0;
    int momentReach = 0; // cells i-R .. i+R-1 of grid point i go through moments (0: none do)
    int directReach = 0; // every cell a window can touch lies within this many cells of i
    GridFormula formula = GridFormula::Seed;
};

void addFine(const SampleCells& cells, int from, int to, double* sum)
{
    for (int f = from; f < to; ++f)
    {
        const double* m = cells.fineMoments(f);
        for (int k = 0; k < SampleCells::MomentCount; ++k)
            sum[k] += m[k];
    }
}

// acc[family] += Σ_j a_j · X[family][j], the moments shared by the four lanes.
__attribute__((always_inline)) inline void dotShared(const TricubeTaylorTable& table, int side, int n0,
                                                     const double* xform, Vec4* acc)
{
    for (int j = 0; j < Terms; ++j)
    {
        Vec4 a;
        VT_LOAD4(a, table.row(side, j) + n0);
        acc[0] += a * VT_SPLAT4(xform[j]);
        acc[1] += a * VT_SPLAT4(xform[10 + j]);
        acc[2] += a * VT_SPLAT4(xform[20 + j]);
        acc[3] += a * VT_SPLAT4(xform[30 + j]);
        acc[4] += a * VT_SPLAT4(xform[40 + j]);
    }
}

// Same with moments of their own per lane.
__attribute__((always_inline)) inline void dotLanes(const TricubeTaylorTable& table, int side, int n0,
                                                    const Vec4* xform, Vec4* acc)
{
    for (int j = 0; j < Terms; ++j)
    {
        Vec4 a;
        VT_LOAD4(a, table.row(side, j) + n0);
        acc[0] += a * xform[j];
        acc[1] += a * xform[10 + j];
        acc[2] += a * xform[20 + j];
        acc[3] += a * xform[30 + j];
        acc[4] += a * xform[40 + j];
    }
}

__attribute__((always_inline)) inline void fitGroupsBody(const SampleCells& cells,
                                                         const TricubeTaylorTable& table,
                                                         const StagePlan& plan, int groupBegin, int groupEnd,
                                                         double* values, std::int32_t* counts)
{
    const int ext = cells.extension();
    const int fineCount = cells.fineCount();
    const double b = plan.bandwidth;
    const double* xs = cells.sampleX();
    const double* ys = cells.sampleY();
    const double* qs = cells.weightFactors();
    constexpr int L = 0, R = 1;

    for (int group = groupBegin; group < groupEnd; ++group)
    {
        const int i0 = group * Lanes;
        const int f0 = i0 + ext; // fine cell whose lower edge is grid point i0
        auto samplesIn = [&cells, fineCount](int from, int to) {
            return cells.cellStart(std::clamp(to, 0, fineCount)) -
                   cells.cellStart(std::clamp(from, 0, fineCount));
        };
        if (samplesIn(f0 - plan.directReach, f0 + Lanes + plan.directReach) == 0)
        {
            // No sample anywhere near: no fit and no neighbour.
            for (int l = 0; l < Lanes; ++l)
            {
                values[i0 + l] = std::numeric_limits<double>::quiet_NaN();
                counts[i0 + l] = 0;
            }
            continue;
        }
        auto emptyCoarse = [&](int coarse) { return samplesIn(coarse * Span, (coarse + 1) * Span) == 0; };
        double g[Lanes];
        for (int l = 0; l < Lanes; ++l)
            g[l] = gridPosition(i0 + l, plan.formula);

        Vec4 acc[5] = {VT_SPLAT4(0.0), VT_SPLAT4(0.0), VT_SPLAT4(0.0), VT_SPLAT4(0.0), VT_SPLAT4(0.0)};
        std::int64_t momentCount = 0;
        int leftBegin = f0 - plan.directReach, leftEnd, rightBegin, rightEnd = f0 + Lanes + plan.directReach;

        if (plan.momentReach > 0)
        {
            // Cells [first, last] lie inside the moment zone of all four lanes.
            const int first = f0 + (Lanes - 1) - plan.momentReach;
            const int last = f0 + plan.momentReach - 1;
            const int kink = f0 / Span; // coarse cell holding the four grid points
            momentCount = cells.cellStart(last + 1) - cells.cellStart(first);
            auto n0 = [f0](int coarse) { return f0 - coarse * Span - Span / 2; };

            // Left of every lane: a partial coarse cell, then whole ones up to the kink cell.
            int coarse = first / Span;
            if (first % Span != 0)
            {
                double m[SampleCells::MomentCount] = {}, xf[SampleCells::XFormCount];
                addFine(cells, first, (coarse + 1) * Span, m);
                SampleCells::toXForm(m, cells.coarseCentre(coarse), b, xf);
                dotShared(table, L, n0(coarse), xf, acc);
                ++coarse;
            }
            for (; coarse < kink; ++coarse)
                if (!emptyCoarse(coarse))
                    dotShared(table, L, n0(coarse), cells.coarseXForm(coarse), acc);

            // Right of every lane: whole coarse cells after the kink cell, then a partial one.
            const int endCoarse = (last + 1) / Span;
            for (coarse = kink + 1; coarse < endCoarse; ++coarse)
                if (!emptyCoarse(coarse))
                    dotShared(table, R, n0(coarse), cells.coarseXForm(coarse), acc);
            if ((last + 1) % Span != 0)
            {
                double m[SampleCells::MomentCount] = {}, xf[SampleCells::XFormCount];
                addFine(cells, endCoarse * Span, last + 1, m);
                SampleCells::toXForm(m, cells.coarseCentre(endCoarse), b, xf);
                dotShared(table, R, n0(endCoarse), xf, acc);
            }

            // The kink cell: lane l has fine cells below f0 + l on its left, the rest on its right.
            if (!emptyCoarse(kink))
            {
                double below[SampleCells::MomentCount] = {}, above[SampleCells::MomentCount] = {};
                addFine(cells, kink * Span, f0, below);
                addFine(cells, f0 + Lanes, (kink + 1) * Span, above);
                Vec4 leftForm[SampleCells::XFormCount], rightForm[SampleCells::XFormCount];
                const double centre = cells.coarseCentre(kink);
                for (int l = 0; l < Lanes; ++l)
                {
                    double lm[SampleCells::MomentCount], rm[SampleCells::MomentCount] = {};
                    std::copy(below, below + SampleCells::MomentCount, lm);
                    addFine(cells, f0, f0 + l, lm);
                    addFine(cells, f0 + l, f0 + Lanes, rm);
                    for (int k = 0; k < SampleCells::MomentCount; ++k)
                        rm[k] += above[k];
                    double lx[SampleCells::XFormCount], rx[SampleCells::XFormCount];
                    SampleCells::toXForm(lm, centre, b, lx);
                    SampleCells::toXForm(rm, centre, b, rx);
                    for (int k = 0; k < SampleCells::XFormCount; ++k)
                    {
                        leftForm[k][l] = lx[k];
                        rightForm[k][l] = rx[k];
                    }
                }
                dotLanes(table, L, n0(kink), leftForm, acc);
                dotLanes(table, R, n0(kink), rightForm, acc);
            }

            leftEnd = first;
            rightBegin = last + 1;
        }
        else
        {
            leftEnd = rightEnd;
            rightBegin = rightEnd;
        }

        // Samples near the window edges (or all of them without moments), weighted one by one.
        const Vec4 gv = Vec4{g[0], g[1], g[2], g[3]};
        const Vec4 lo = Vec4{g[0] - b, g[1] - b, g[2] - b, g[3] - b};
        const Vec4 hi = Vec4{g[0] + b, g[1] + b, g[2] + b, g[3] + b};
        const Vec4 bv = VT_SPLAT4(b), one = VT_SPLAT4(1.0), zero = VT_SPLAT4(0.0),
                   floorv = VT_SPLAT4(weightFloor);
        Vec4 d0 = zero, dx = zero, dxx = zero, dy = zero, dxy = zero, dn = zero;
        auto direct = [&](int fromCell, int toCell)
        {
            fromCell = std::clamp(fromCell, 0, fineCount);
            toCell = std::clamp(toCell, fromCell, fineCount);
            for (std::int64_t s = cells.cellStart(fromCell), e = cells.cellStart(toCell); s < e; ++s)
            {
                const Vec4 x = VT_SPLAT4(xs[s]), y = VT_SPLAT4(ys[s]), q = VT_SPLAT4(qs[s]);
                const Vec4 diff = x - gv;
                const Vec4 u = (diff < zero ? -diff : diff) / bv;
                const Vec4 om = one - u * u * u;
                const Vec4 w = om * om * om * q;
                const auto take = (x >= lo) & (x <= hi) & (u < one) & (w > floorv);
                const Vec4 wm = take ? w : zero;
                dn += take ? one : zero;
                d0 += wm;
                const Vec4 wx = wm * x;
                dx += wx;
                dxx += wx * x;
                dy += wm * y;
                dxy += wx * y;
            }
        };
        direct(leftBegin, leftEnd);
        direct(rightBegin, rightEnd);

        for (int l = 0; l < Lanes; ++l)
        {
            const double s0 = acc[0][l] + d0[l], sx = acc[1][l] + dx[l], sxx = acc[2][l] + dxx[l];
            const double sy = acc[3][l] + dy[l], sxy = acc[4][l] + dxy[l];
            const std::int64_t k = momentCount + static_cast<std::int64_t>(dn[l]);
            const size_t i = static_cast<size_t>(i0 + l);
            counts[i] = static_cast<std::int32_t>(
                std::min<std::int64_t>(k, std::numeric_limits<std::int32_t>::max()));
            double value = std::numeric_limits<double>::quiet_NaN();
            if (k >= 2)
            {
                const double det = sxx * s0 - sx * sx;
                if (std::abs(det) >= determinantFloor)
                {
                    const double slope = (sxy * s0 - sy * sx) / det;
                    const double intercept = (sy * sxx - sxy * sx) / det;
                    value = slope * g[l] + intercept;
                }
                else if (s0 > weightFloor)
                {
                    value = sy / s0;
                }
            }
            values[i] = value;
        }
    }
}

__attribute__((target("avx2"))) void fitGroupsAvx2(const SampleCells& cells, const TricubeTaylorTable& table,
                                                   const StagePlan& plan, int groupBegin, int groupEnd,
                                                   double* values, std::int32_t* counts)
{
    fitGroupsBody(cells, table, plan, groupBegin, groupEnd, values, counts);
}

void fitGroupsPortable(const SampleCells& cells, const TricubeTaylorTable& table, const StagePlan& plan,
                       int groupBegin, int groupEnd, double* values, std::int32_t* counts)
{
    fitGroupsBody(cells, table, plan, groupBegin, groupEnd, values, counts);
}

} // namespace

double gridPosition(int i, GridFormula formula)
{
    if (formula == GridFormula::Seed)
        return (2.0 * i) / (BinCount - 1) - 1.0;
    return i * (2.0 / (BinCount - 1)) - 1.0;
}

LocalLineFits fitLocalLines(const SampleCells& cells, double bandwidth, GridFormula formula)
{
    const double step = cells.gridStep();
    StagePlan plan;
    plan.bandwidth = bandwidth;
    plan.formula = formula;
    plan.directReach = static_cast<int>(std::ceil(bandwidth / step)) + 1;
    const double largestMomentU =
        std::cbrt(1.0 - std::cbrt(momentWeightMargin * weightFloor / smallestSlopeFactor));
    const int reach = static_cast<int>(std::floor(bandwidth * largestMomentU / step));
    plan.momentReach = reach >= minimumMomentReach ? reach : 0;
    // Every cell touched must exist; the cells extend a little beyond the widest window.
    plan.directReach = std::min(plan.directReach, cells.extension());

    const TricubeTaylorTable table(step / bandwidth, std::max(plan.momentReach, 0) + 2 * Span);

    LocalLineFits fits;
    fits.values.assign(BinCount, std::numeric_limits<double>::quiet_NaN());
    fits.counts.assign(BinCount, 0);
    const bool avx2 = useAvx2Path();
    parallelFor(BinCount / Lanes,
                [&](int begin, int end)
                {
                    if (avx2)
                        fitGroupsAvx2(cells, table, plan, begin, end, fits.values.data(), fits.counts.data());
                    else
                        fitGroupsPortable(cells, table, plan, begin, end, fits.values.data(),
                                          fits.counts.data());
                });
    return fits;
}

} // namespace estimation
