#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// A curve on the table grid as CSV: a header, then one row per grid point, every number with 17
// significant digits so that doubles survive the trip exactly.
namespace CurveCsv
{
// columns: names after "index,x"; each column holds one value per grid point.
juce::String format(const juce::StringArray& columns, const std::vector<const std::vector<double>*>& values);

bool write(const juce::File& file, const juce::String& text, juce::String& error);
} // namespace CurveCsv
