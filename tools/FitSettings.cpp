#include "tools/FitSettings.h"

#include "core/ParameterLayout.h"

#include <cmath>

namespace FitSettings
{
bool isAutomatic(const CommandLineOptions& options, const char* latencyOption)
{
    const auto text = options.get(latencyOption);
    return text && text->trim().equalsIgnoreCase("auto");
}

juce::Result apply(const CommandLineOptions& options, ProbeSession& session, bool allowAutomaticLatency)
{
    if (const auto algorithm = options.get("algorithm"))
        if (auto result = session.setChoice(ParameterIDs::captureAlgorithm, *algorithm, "algorithm");
            result.failed())
            return result;

    if (const auto length = options.get("length"))
        if (auto result = session.setChoice(ParameterIDs::captureLength, *length, "length"); result.failed())
            return result;

    if (const auto smoothing = options.get("smoothing"))
    {
        const auto value = parseInteger(*smoothing);
        if (!value)
            return juce::Result::fail("--smoothing needs a whole number, not " + *smoothing);
        if (auto result = session.setParameter(ParameterIDs::smoothing, *value, "smoothing"); result.failed())
            return result;
    }

    const std::pair<const char*, const char*> latencies[] = {{"latency-x", ParameterIDs::latencyX},
                                                             {"latency-y", ParameterIDs::latencyY}};
    for (const auto& [option, id] : latencies)
        if (const auto text = options.get(option))
        {
            if (isAutomatic(options, option))
            {
                if (allowAutomaticLatency)
                    continue;
                return juce::Result::fail("--" + juce::String(option) +
                                          " auto needs a recording: use it with fit or analyze");
            }
            const auto value = parseNumber(*text);
            if (!value)
                return juce::Result::fail("--" + juce::String(option) + " needs a number of samples, not " +
                                          *text);
            if (auto result = session.setParameter(id, *value, option); result.failed())
                return result;
        }

    return juce::Result::ok();
}

juce::Result applyMeasuredLatency(ProbeSession& session, double delay, bool automaticX, bool automaticY)
{
    // The two latencies only count relative to each other: X's minus Y's is the delay.
    auto latencyX = (double) session.parameterValue(ParameterIDs::latencyX);
    auto latencyY = (double) session.parameterValue(ParameterIDs::latencyY);
    if (automaticX && automaticY)
    {
        latencyX = std::max(delay, 0.0);
        latencyY = std::max(-delay, 0.0);
    }
    else if (automaticX)
    {
        latencyX = latencyY + delay;
        if (latencyX < 0.0)
            return juce::Result::fail("X would need a negative latency: delay Y instead (--latency-y auto)");
    }
    else if (automaticY)
    {
        latencyY = latencyX - delay;
        if (latencyY < 0.0)
            return juce::Result::fail("Y would need a negative latency: delay X instead (--latency-x auto)");
    }

    if (automaticX)
        if (auto result = session.setParameter(ParameterIDs::latencyX, latencyX, "latency-x");
            result.failed())
            return result;
    if (automaticY)
        if (auto result = session.setParameter(ParameterIDs::latencyY, latencyY, "latency-y");
            result.failed())
            return result;
    return juce::Result::ok();
}

juce::String describe(const ProbeSession& session)
{
    return session.parameterText(ParameterIDs::captureAlgorithm) + ", " +
           session.parameterText(ParameterIDs::captureLength) + ", smoothing " +
           session.parameterText(ParameterIDs::smoothing) + ", latency X " +
           session.parameterText(ParameterIDs::latencyX) + ", latency Y " +
           session.parameterText(ParameterIDs::latencyY);
}
} // namespace FitSettings
