// Feeds arbitrary bytes to the preset reader twice: as a whole file, and as the base-layer payload
// of an otherwise well-formed preset, so that the inflater and the decoder see mutated data too.
#include "files/PresetFormat.h"
#include "files/ValueTreeStreamCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
void checkResult(const PresetReadResult& result)
{
    // Invariants every answer must keep; a broken one is reported as a crash.
    if (result.ok &&
        (result.values.size() != (std::size_t) PresetFormat::tableSize || result.error.isNotEmpty()))
        std::abort();
    if (!result.ok && (result.error.isEmpty() || !result.values.empty()))
        std::abort();
}

juce::ValueTree presetAround(const std::uint8_t* payload, std::size_t size, std::uint8_t options)
{
    static const char* const compressions[] = {"zlib", "none", "gzip", nullptr};
    juce::ValueTree root("Preset");
    root.setProperty("formatVersion", 3 + options % 3, nullptr);
    juce::ValueTree transferFunction("transferFunction");
    juce::ValueTree baseLayer("baseLayer");
    if (const auto* compression = compressions[(options >> 2) & 3])
        baseLayer.setProperty("compression", compression, nullptr);
    baseLayer.setProperty((options & 0x10) != 0 ? "data" : "dataF32", juce::MemoryBlock(payload, size),
                          nullptr);
    transferFunction.appendChild(baseLayer, nullptr);
    root.appendChild(transferFunction, nullptr);
    return root;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkResult(readPreset(readValueTreeSafely(data, size)));

    if (size > 0)
        checkResult(readPreset(presetAround(data + 1, size - 1, data[0])));
    return 0;
}
