#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

// Knows where transfer-function presets live and saves the current transfer function as a preset.
// Presets live in a factory folder shared by all users and in a user folder; a save aimed into the
// factory folder lands at the same relative path in the user folder, so factory presets are never
// overwritten. The library does not know the file format: its owner supplies callbacks that produce
// and consume preset bytes.
class PresetLibrary
{
public:
    // Fills the block with a preset of the current table for the given target; leaves it empty on
    // failure.
    using WriteCallback = std::function<void(juce::MemoryBlock&, const juce::File&)>;
    // Hands preset bytes to the owner.
    using LoadCallback = std::function<void(const void*, int, const juce::File&)>;
    // Reports the name of the current preset.
    using NameCallback = std::function<juce::String()>;
    // Told the full path of each saved preset.
    using SavedCallback = std::function<void(const juce::String&)>;

    struct Entry
    {
        juce::File file;
        bool isFactory = false;
    };

    static constexpr const char* factoryOverridesFileName = "factory-overrides.xml";

    // extension: without the dot ("tfunc"). Creates the user folder, with its missing parents, when it
    // does not exist. Either folder may be the empty path: the library then has no folder of that kind.
    PresetLibrary(WriteCallback write, LoadCallback load, NameCallback name, SavedCallback saved,
                  juce::String extension, juce::File factoryFolder, juce::File userFolder);

    // Writes a preset of the current table to target (redirected out of the factory folder). The
    // target is replaced only by a complete file; on failure it is left as it was, the index is
    // unchanged and the result is false.
    bool save(const juce::File& target);

    // Rebuilds the index: the factory presets that the overrides file does not hide, then the user
    // presets, sorted by full path without regard to letter case.
    void rescan();

    // True when the overrides file has an entry for key (compared exactly) marked hidden. The file is
    // read again for every question, so an edit takes effect at the next rescan.
    bool isFactoryPresetHidden(const juce::String& key) const;

    // The key of a factory preset: the factory folder's own name, "/", and the path relative to the
    // factory folder. Empty for a file that does not lie inside the factory folder.
    juce::String factoryPresetKey(const juce::File& preset) const;

    const std::vector<Entry>& getIndex() const noexcept { return index; }
    const juce::File& getFactoryFolder() const noexcept { return factoryFolder; }
    const juce::File& getUserFolder() const noexcept { return userFolder; }
    // Without the dot ("tfunc").
    const juce::String& getExtension() const noexcept { return extension; }

    // The user's maker folder + "factory-overrides.xml", next to the user preset folder. Read, never
    // written.
    juce::File getFactoryOverridesFile() const;

private:
    // Where a save aimed at target goes; the empty path when it cannot go anywhere.
    juce::File redirectedTarget(const juce::File& target) const;
    void addPresetsBelow(const juce::File& folder, bool isFactory);

    WriteCallback writeCallback;
    LoadCallback loadCallback;
    NameCallback nameCallback;
    SavedCallback savedCallback;
    juce::String extension;
    juce::File factoryFolder;
    juce::File userFolder;
    std::vector<Entry> index;
};
