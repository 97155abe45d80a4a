#pragma once

#include <functional>

namespace estimation
{

// Splits [0, count) into contiguous chunks, one per thread, and runs body(begin, end) on each; the
// calling thread takes the first chunk. Callers write disjoint outputs per index, so the result never
// depends on how the range was split.
void parallelFor(int count, const std::function<void(int begin, int end)>& body);

} // namespace estimation
