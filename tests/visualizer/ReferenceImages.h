#pragma once

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

namespace visualizertest
{
// Compares a rendered image with the committed reference references/<name>.png, channel by
// channel within `tolerance`. On a mismatch it writes <name>.actual.png and <name>.difference.png
// into the build folder and names them. With VELTRANE_UPDATE_REFERENCES=1 in the environment it
// writes the reference instead (and says so), so a test never regenerates its own expectation
// unless asked.
::testing::AssertionResult matchesReference(const juce::Image& actual, const juce::String& name,
                                            int tolerance = 6);
} // namespace visualizertest
