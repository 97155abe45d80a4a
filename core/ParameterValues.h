#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// Parameters are read on demand as plain floats: choice indices rounded to nearest and clamped,
// the integer smoothing value truncated toward zero.
namespace ParameterValues
{
float raw(const juce::AudioProcessorValueTreeState& state, const char* parameterID);
int choiceIndex(const juce::AudioProcessorValueTreeState& state, const char* parameterID, int lastIndex);

int captureLengthSamples(const juce::AudioProcessorValueTreeState& state); // 16384 .. 131072
int timeWindowSamples(const juce::AudioProcessorValueTreeState& state);    // 500 .. 8192
int smoothing(const juce::AudioProcessorValueTreeState& state);
} // namespace ParameterValues
