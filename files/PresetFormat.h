#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <vector>

// The transfer-function preset (".tfunc"): one value tree in the framework's binary stream form,
// root "Preset", holding the table as a zlib-compressed float array. Version 5 is written;
// versions 3 to 5 are read.

struct PresetWriteResult
{
    bool ok = false;
    juce::MemoryBlock bytes; // the whole file
    juce::String error;
};

struct PresetReadResult
{
    bool ok = false;
    std::vector<double> values; // always tableSize entries on success
    juce::String error;         // empty on success

    // What the file held, for tools that describe a preset.
    int formatVersion = 0;
    std::size_t storedValueCount = 0; // before stretching to tableSize
};

namespace PresetFormat
{
inline constexpr int tableSize = 16384;
inline constexpr int writtenVersion = 5;

// An honest preset inflates to 64 KiB (floats) or 128 KiB (doubles). Anything beyond this is
// refused before it is inflated further, so a small file cannot demand gigabytes.
inline constexpr std::size_t maximumInflatedBytes = 16u * 1024u * 1024u;
} // namespace PresetFormat

PresetWriteResult writePreset(const std::vector<double>& values, const juce::String& artist);

// The caller parses the file bytes first (readValueTreeSafely).
PresetReadResult readPreset(const juce::ValueTree& tree);
