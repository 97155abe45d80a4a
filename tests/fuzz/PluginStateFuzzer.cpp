// Feeds arbitrary bytes to the processor's two byte entries: the host's state blob and the preset
// library's load callback. One processor lives for the whole run, as in a long host session.
#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"
#include "core/PluginAudioProcessor.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

class PluginAudioProcessorTestAccess
{
public:
    static bool restore(PluginAudioProcessor& processor, const std::uint8_t* data, std::size_t size)
    {
        return processor.restoreTransferFunction(data, (int) size);
    }
};

namespace
{
PluginAudioProcessor& processor()
{
    // Never destroyed: libFuzzer ends with exit(), and the framework's shutdown must not race the
    // destruction of its own statics then.
    static auto* framework = new juce::ScopedJuceInitialiser_GUI();
    static auto* instance = new PluginAudioProcessor();
    juce::ignoreUnused(framework);
    return *instance;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto& p = processor();
    p.setStateInformation(data, (int) size);

    // Whatever the blob held, the readers must answer within their ranges.
    const auto& state = p.getParameterState();
    const auto length = ParameterValues::captureLengthSamples(state);
    const auto smoothing = ParameterValues::smoothing(state);
    const auto window = ParameterValues::timeWindowSamples(state);
    if (length < 16384 || length > 131072 || window < 500 || window > 8192 || smoothing < 1 ||
        smoothing > 100)
        std::abort();
    for (const auto* parameter : p.getParameters())
        if (!std::isfinite(parameter->getValue()))
            std::abort();
    (void) p.isCaptureFull();

    // A state written after any restore must parse again.
    juce::MemoryBlock saved;
    p.getStateInformation(saved);
    if (!juce::ValueTree::readFromData(saved.getData(), saved.getSize()).isValid())
        std::abort();

    PluginAudioProcessorTestAccess::restore(p, data, size);
    for (int i = 0; i < TransferFunctionTable::size; i += 4096)
        (void) p.getTransferFunction().get(i);
    return 0;
}
