#include "editor/PresetSaveTarget.h"

namespace PresetSaveTarget
{
juce::File withPresetExtension(const juce::File& chosen, const juce::String& extension)
{
    if (chosen == juce::File() || chosen.hasFileExtension(extension))
        return chosen;
    return chosen.withFileExtension(extension);
}

juce::File writtenFile(const PresetLibrary& library, const juce::File& target)
{
    const auto& factory = library.getFactoryFolder();
    if (factory == juce::File() || !target.isAChildOf(factory))
        return target;
    if (library.getUserFolder() == juce::File())
        return {};
    return library.getUserFolder().getChildFile(target.getRelativePathFrom(factory));
}

bool replacesUnwarnedFile(const PresetLibrary& library, const juce::File& chosen)
{
    const auto written = writtenFile(library, withPresetExtension(chosen, library.getExtension()));
    return written != juce::File() && written != chosen && written.exists();
}

juce::String failureReason(const PresetLibrary& library, const juce::File& target)
{
    const auto written = writtenFile(library, target);
    if (written == juce::File())
        return "there is no user preset folder to save into";

    const auto folder = written.getParentDirectory();
    if (!folder.isDirectory())
        return "the folder does not exist";
    if (!folder.hasWriteAccess())
        return "the folder is write-protected";
    if (written.isDirectory())
        return "a folder of that name is in the way";
    if (written.existsAsFile() && !written.hasWriteAccess())
        return "the existing file is write-protected";
    return "the file could not be written (is the disk full?)";
}
} // namespace PresetSaveTarget
