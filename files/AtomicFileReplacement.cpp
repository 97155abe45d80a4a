#include "files/AtomicFileReplacement.h"

namespace AtomicFileReplacement
{
bool replaceWithData(const juce::File& target, const void* data, size_t numBytes)
{
    if (target == juce::File() || data == nullptr || numBytes == 0)
        return false;

    juce::TemporaryFile temporary(target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out(temporary.getFile());
        if (!out.openedOk() || !out.write(data, numBytes))
            return false;

        out.flush();
        if (out.getStatus().failed())
            return false;
    }

    if (temporary.getFile().getSize() != static_cast<juce::int64>(numBytes))
        return false;

    // A target that cannot be replaced (a folder, a locked file) makes this fail; the temporary file
    // is removed when it goes out of scope.
    return temporary.overwriteTargetFileWithTemporary();
}
} // namespace AtomicFileReplacement
