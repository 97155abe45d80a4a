#pragma once

#include <juce_core/juce_core.h>

#include <stdlib.h>
#include <string>

// A fresh folder under the system's temporary folder, deleted with everything in it at the end of
// the test, so that no test touches the user's real settings or presets.
namespace testsupport
{
class TemporaryFolder
{
public:
    // Test processes run in parallel: a random name, created atomically (mkdtemp), so that two
    // processes never share a folder.
    TemporaryFolder()
    {
        auto pattern = juce::File::getSpecialLocation(juce::File::tempDirectory)
                           .getChildFile("veltrane-files-test-XXXXXX")
                           .getFullPathName()
                           .toStdString();
        if (::mkdtemp(pattern.data()) != nullptr)
            folder = juce::File(pattern);
    }

    ~TemporaryFolder() { folder.deleteRecursively(); }

    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const juce::File& get() const noexcept { return folder; }

private:
    juce::File folder;
};
} // namespace testsupport
