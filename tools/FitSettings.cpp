#include "tools/FitSettings.h"

#include "core/ParameterLayout.h"

namespace FitSettings
{
juce::Result apply(const CommandLineOptions& options, ProbeSession& session)
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
            const auto value = parseNumber(*text);
            if (!value)
                return juce::Result::fail("--" + juce::String(option) + " needs a number of samples, not " +
                                          *text);
            if (auto result = session.setParameter(id, *value, option); result.failed())
                return result;
        }

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
