#pragma once

#include "estimation/LatencyEstimator.h"

#include <limits>
#include <string>
#include <vector>

namespace estimation
{

// A direction gap above this (a share of Y's peak) means rising and falling sweeps trace different
// curves: the device has memory. Memoryless test devices with noise of 0.005 peak (about -51 dB RMS)
// stay below 0.002, the test devices with memory (a low-pass before tanh, backlash) lie above 0.013.
// Noise alone raises the gap by about 0.4 times its peak at 16384 pairs.
inline constexpr double memoryGapThreshold = 0.005;
// A grid point counts towards the gap only where this many sweeps of each direction crossed it, so
// that a lone sweep's noise at the edge of the driven range does not decide.
inline constexpr int gapMinimumSweeps = 8;
// A filter that acts almost like a delay over the test signal's band closes the loop once the
// latency search has absorbed its delay, yet leaves Y off the curve, and smoothly so. A residual
// above this share of Y's peak (-40 dB) whose correlation from one pair to the next exceeds the
// second threshold is the device. Noise is white (correlation about 0.01); what a memoryless test
// device leaves smoothly, the fit's own error and that of a fractional alignment, stays below -59 dB,
// or below a correlation of 0.8 (the sweep mean of a 20 Hz to 5 kHz sweep, -38 dB). The test devices
// with memory leave -31 dB or more at a correlation of 0.98 or more, noise of -50 dB included.
inline constexpr double memoryResidualThreshold = 0.01;
inline constexpr double memoryCorrelationThreshold = 0.9;

// How well one capture lends itself to a static curve, in the units of the estimate (x and y scaled
// to their peaks).
struct FitReport
{
    LatencyEstimate latency; // as measured on the capture before alignment
    bool valid = false;      // false when no pair is left to describe; message says why
    std::string message;

    double coverage = 0.0; // share of the grid between the lowest and highest x reached
    double xMin = 0.0, xMax = 0.0;
    // Root-mean-square distance of y from the curve at each pair's x: the fitted curve when one
    // was given, else the capture's own sweep mean.
    double residual = std::numeric_limits<double>::quiet_NaN();
    bool residualAboutFit = false;
    // Correlation of the residual between neighbouring pairs of the capture: near 0 when it is
    // noise, near 1 when it moves with the signal. NaN when there is no residual.
    double residualCorrelation = std::numeric_limits<double>::quiet_NaN();
    // Largest difference between the mean curve of rising and of falling sweeps; NaN when the
    // capture does not cross any part of its range in both directions often enough.
    double directionGap = std::numeric_limits<double>::quiet_NaN();
    bool memoryWarning = false;
    std::string warning; // plain-language explanation when memoryWarning is set
};

// x and y: the pairs the fit uses, aligned by the latencies in use. fittedCurve: the unsmoothed
// estimate on the grid (rawBins), or empty. Pairs with a non-finite sample are left out.
FitReport makeFitReport(const std::vector<double>& x, const std::vector<double>& y, LatencyEstimate latency,
                        const std::vector<double>& fittedCurve = {});

} // namespace estimation
