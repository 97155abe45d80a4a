#include "core/ParameterValues.h"

#include "core/ParameterLayout.h"

#include <array>
#include <cmath>

namespace ParameterValues
{
float raw(const juce::AudioProcessorValueTreeState& state, const char* parameterID)
{
    if (auto* value = state.getRawParameterValue(parameterID))
        return value->load(std::memory_order_relaxed);

    jassertfalse;
    return 0.0f;
}

int choiceIndex(const juce::AudioProcessorValueTreeState& state, const char* parameterID, int lastIndex)
{
    const auto value = raw(state, parameterID);
    if (!std::isfinite(value))
        return 0;
    return juce::jlimit(0, lastIndex, (int) std::lround(value));
}

int captureLengthSamples(const juce::AudioProcessorValueTreeState& state)
{
    static constexpr std::array<int, 4> lengths{16384, 32768, 65536, 131072};
    return lengths[(size_t) choiceIndex(state, ParameterIDs::captureLength, 3)];
}

int timeWindowSamples(const juce::AudioProcessorValueTreeState& state)
{
    static constexpr std::array<int, 5> windows{500, 1024, 2048, 4096, 8192};
    return windows[(size_t) choiceIndex(state, ParameterIDs::timeWindow, 4)];
}

int smoothing(const juce::AudioProcessorValueTreeState& state)
{
    const auto value = raw(state, ParameterIDs::smoothing);
    return std::isfinite(value) ? (int) value : 1;
}
} // namespace ParameterValues
