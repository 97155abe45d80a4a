#pragma once

#include <juce_core/juce_core.h>

// A fresh folder under the system's temporary folder, deleted with everything in it at the end of
// the test, so that no test touches the user's real settings or presets.
class TemporaryFolder
{
public:
    TemporaryFolder()
        : folder(juce::File::getSpecialLocation(juce::File::tempDirectory)
                     .getNonexistentChildFile("veltrane-files-test", {}, false))
    {
        folder.createDirectory();
    }

    ~TemporaryFolder() { folder.deleteRecursively(); }

    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const juce::File& get() const noexcept { return folder; }

private:
    juce::File folder;
};
