#pragma once

// A direct, unoptimised implementation of the estimators, used as the test oracle that the production
// library is checked against. Every step is written the obvious way: a bin vector per
// sweep, a linear scan for each grid point's interval, the slope looked up for every sample of every
// window, a direct convolution with mirrored indices.

#include "estimation/EstimationTypes.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace estimation_literal
{

using estimation::EstimationMethod;
using estimation::TransferFunctionEstimate;
using Pair = std::pair<double, double>;

struct Sweep
{
    std::int64_t first = 0;
    std::int64_t last = 0;
    bool rising = false;
    double xMin = 0.0;
    double xMax = 0.0;
};

struct SeedResult
{
    std::vector<double> values;
    std::vector<std::uint32_t> counts;
};

struct RefineResult
{
    std::vector<double> values;
    int passes = 0;
};

TransferFunctionEstimate estimateTransferFunction(const std::vector<double>& x, const std::vector<double>& y,
                                                  int tableSize, int smoothing, EstimationMethod method);
std::vector<double> normaliseToPeak(const std::vector<double>& v);

TransferFunctionEstimate fitSweepMean(const std::vector<Pair>& pairs, const std::vector<double>& x,
                                      const std::vector<double>& y, int smoothing);
std::vector<Sweep> findSweeps(const std::vector<double>& x, int minimumLength, double deadband);
std::vector<double> resampleSweep(const std::vector<double>& x, const std::vector<double>& y,
                                  const Sweep& sweep);
std::vector<double> combineSweeps(const std::vector<std::vector<double>>& curves,
                                  const std::vector<Sweep>& sweeps);

TransferFunctionEstimate fitOrthogonalDistance(const std::vector<Pair>& pairs, const std::vector<double>& x,
                                               const std::vector<double>& y, int smoothing);
SeedResult seedLocalLinear(const std::vector<Pair>& pairs, double bandwidth);
RefineResult refineOrthogonal(const std::vector<Pair>& pairs, double bandwidth, double tolerance);

TransferFunctionEstimate fitBinnedMean(const std::vector<double>& x, const std::vector<double>& y,
                                       int smoothing);
std::vector<double> fillBinGaps(const std::vector<double>& v);

std::vector<double> smoothBins(const std::vector<double>& raw, int smoothing);
std::vector<double> savitzkyGolaySmooth(const std::vector<double>& v, int window);
std::vector<double> shiftHalfBin(const std::vector<double>& t);

} // namespace estimation_literal
