#pragma once

#include "estimation/EstimationTypes.h"
#include "estimation/FitReport.h"

// What the last refit found, for the window and the command-line probe: whether it gave a curve and
// why not, the report on its capture and the latencies that capture was aligned by.
struct FitOutcome
{
    bool valid = false;
    estimation::EstimateFailure failure = estimation::EstimateFailure::none;
    estimation::FitReport report;
    double latencyX = 0.0, latencyY = 0.0;
};
