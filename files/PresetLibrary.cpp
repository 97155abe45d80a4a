#include "files/PresetLibrary.h"

#include "files/AtomicFileReplacement.h"

#include <algorithm>

namespace
{
bool isEmptyPath(const juce::File& file)
{
    return file == juce::File();
}

bool isExistingFolder(const juce::File& folder)
{
    return !isEmptyPath(folder) && folder.isDirectory();
}
} // namespace

PresetLibrary::PresetLibrary(WriteCallback write, LoadCallback load, NameCallback name, SavedCallback saved,
                             juce::String extensionToUse, juce::File factoryFolderToUse,
                             juce::File userFolderToUse)
    : writeCallback(std::move(write))
    , loadCallback(std::move(load))
    , nameCallback(std::move(name))
    , savedCallback(std::move(saved))
    , extension(std::move(extensionToUse))
    , factoryFolder(std::move(factoryFolderToUse))
    , userFolder(std::move(userFolderToUse))
{
    if (!isEmptyPath(userFolder) && !userFolder.isDirectory())
        userFolder.createDirectory();
}

juce::File PresetLibrary::getFactoryOverridesFile() const
{
    if (isEmptyPath(userFolder))
        return {};
    return userFolder.getParentDirectory().getChildFile(factoryOverridesFileName);
}

juce::File PresetLibrary::redirectedTarget(const juce::File& target) const
{
    if (isEmptyPath(factoryFolder) || !target.isAChildOf(factoryFolder))
        return target;

    // Without a user folder there is nowhere to put the copy, and the factory file must stay as it is.
    if (isEmptyPath(userFolder))
        return {};

    const auto redirected = userFolder.getChildFile(target.getRelativePathFrom(factoryFolder));
    redirected.getParentDirectory().createDirectory();
    return redirected;
}

bool PresetLibrary::save(const juce::File& requestedTarget)
{
    if (!writeCallback)
        return false;

    const auto target = redirectedTarget(requestedTarget);
    if (isEmptyPath(target))
        return false;

    juce::MemoryBlock preset;
    writeCallback(preset, target);

    // The write callback leaves the block empty when it fails; an empty file must never replace a
    // preset.
    if (preset.isEmpty() ||
        !AtomicFileReplacement::replaceWithData(target, preset.getData(), preset.getSize()))
        return false;

    if (savedCallback)
        savedCallback(target.getFullPathName());

    rescan();
    return true;
}

juce::String PresetLibrary::factoryPresetKey(const juce::File& preset) const
{
    if (isEmptyPath(factoryFolder))
        return {};

    const auto relativePath = preset.getRelativePathFrom(factoryFolder);
    if (relativePath.isEmpty() || relativePath.startsWith(".."))
        return {};

    // File::getFileName takes the last path component with the platform's separator, which on
    // Windows is the name after the last backslash.
    return factoryFolder.getFileName() + "/" + relativePath;
}

void PresetLibrary::addPresetsBelow(const juce::File& folder, bool isFactory)
{
    // The pattern asks only for names ending in the extension, so "notatfunc" is a preset too.
    const auto files = folder.findChildFiles(juce::File::findFiles, true, "*" + extension);
    for (const auto& file : files)
    {
        if (isFactory)
        {
            const auto key = factoryPresetKey(file);
            if (key.isNotEmpty() && isFactoryPresetHidden(key))
                continue;
        }
        index.push_back({file, isFactory});
    }
}

void PresetLibrary::rescan()
{
    index.clear();

    if (isExistingFolder(factoryFolder))
        addPresetsBelow(factoryFolder, true);

    if (isExistingFolder(userFolder))
        addPresetsBelow(userFolder, false);

    std::sort(index.begin(), index.end(),
              [](const Entry& a, const Entry& b)
              {
                  const auto& pathA = a.file.getFullPathName();
                  const auto& pathB = b.file.getFullPathName();
                  const auto ignoringCase = pathA.compareIgnoreCase(pathB);
                  // Paths equal but for case keep a fixed order between them.
                  return ignoringCase != 0 ? ignoringCase < 0 : pathA.compare(pathB) < 0;
              });
}

bool PresetLibrary::isFactoryPresetHidden(const juce::String& key) const
{
    if (key.isEmpty())
        return false;

    const auto overridesFile = getFactoryOverridesFile();
    if (isEmptyPath(overridesFile) || !overridesFile.existsAsFile())
        return false;

    // A malformed or foreign file hides nothing.
    const auto overrides = juce::XmlDocument::parse(overridesFile);
    if (overrides == nullptr || !overrides->hasTagName("FactoryOverrides"))
        return false;

    for (const auto* entry : overrides->getChildIterator())
        if (entry->getStringAttribute("key") == key)
            return entry->getBoolAttribute("hidden", false);

    return false;
}
