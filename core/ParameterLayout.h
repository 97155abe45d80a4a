#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The nine host-automatable parameters, in the host's order.
namespace ParameterIDs
{
inline constexpr const char* scaleX = "scaleX";
inline constexpr const char* scaleY = "scaleY";
inline constexpr const char* latencyX = "latencyX";
inline constexpr const char* latencyY = "latencyY";
inline constexpr const char* smoothing = "smoothing";
inline constexpr const char* captureAlgorithm = "captureAlgorithm";
inline constexpr const char* captureLength = "captureLength";
inline constexpr const char* visualizationMode = "visualizationMode";
inline constexpr const char* timeWindow = "timeWindow";
} // namespace ParameterIDs

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();
