#include "core/ParameterLayout.h"

namespace
{
std::unique_ptr<juce::AudioParameterFloat> makeLinearFloat(const char* id, const char* name, float minimum,
                                                           float maximum)
{
    return std::make_unique<juce::AudioParameterFloat>(
        juce::ParameterID{id, 0}, name, juce::NormalisableRange<float>(minimum, maximum, 0.01f), 0.0f);
}

std::unique_ptr<juce::AudioParameterChoice> makeChoice(const char* id, const char* name,
                                                       const juce::StringArray& choices, int defaultIndex)
{
    return std::make_unique<juce::AudioParameterChoice>(juce::ParameterID{id, 0}, name, choices,
                                                        defaultIndex);
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    layout.add(makeLinearFloat(ParameterIDs::scaleX, "Scale X", -36.0f, 36.0f));
    layout.add(makeLinearFloat(ParameterIDs::scaleY, "Scale Y", -36.0f, 36.0f));
    layout.add(makeLinearFloat(ParameterIDs::latencyX, "Latency X", 0.0f, 512.0f));
    layout.add(makeLinearFloat(ParameterIDs::latencyY, "Latency Y", 0.0f, 512.0f));
    layout.add(std::make_unique<juce::AudioParameterInt>(juce::ParameterID{ParameterIDs::smoothing, 0},
                                                         "Smoothing", 1, 100, 50));
    layout.add(makeChoice(ParameterIDs::captureAlgorithm, "Capture Algorithm", {"ODR", "Mean"}, 1));
    layout.add(makeChoice(ParameterIDs::captureLength, "Capture Length", {"16k", "32k", "64k", "128k"}, 2));
    layout.add(makeChoice(ParameterIDs::visualizationMode, "Visualization Mode", {"tfunc", "time"}, 0));
    layout.add(makeChoice(ParameterIDs::timeWindow, "Time Window", {"500", "1k", "2k", "4k", "8k"}, 2));

    return layout;
}
