#pragma once

namespace estimation
{

// Process-wide knobs for how estimates are computed. Neither changes a result beyond rounding:
// every grid point is computed the same way whatever the thread count, and the vector path
// performs the same operations in the same order as the portable path.
struct ExecutionSettings
{
    int maxThreads = 0;          // 0: as many as the hardware offers (capped), 1: single-threaded
    bool allowVectorPath = true; // false forces the portable path even on AVX2 machines
};

void setExecutionSettings(const ExecutionSettings& settings);
ExecutionSettings getExecutionSettings();

// Resolved thread count for the current settings (at least 1).
int effectiveThreadCount();

// True when the AVX2 path is allowed and the processor supports it.
bool useAvx2Path();

} // namespace estimation
