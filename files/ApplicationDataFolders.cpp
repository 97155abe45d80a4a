#include "files/ApplicationDataFolders.h"

#if JUCE_WINDOWS
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <shlobj.h>
#include <windows.h>
#endif

namespace
{
#if JUCE_WINDOWS
juce::File shellFolder(int csidl)
{
    WCHAR path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) || path[0] == 0)
        return {};
    return juce::File(juce::String(path));
}
#endif

juce::File childOf(const juce::File& folder, const char* name)
{
    return folder == juce::File() ? juce::File() : folder.getChildFile(name);
}
} // namespace

namespace ApplicationDataFolders
{
juce::File userApplicationDataFolder()
{
#if JUCE_WINDOWS
    return shellFolder(CSIDL_APPDATA);
#else
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory);
#endif
}

juce::File commonApplicationDataFolder()
{
#if JUCE_WINDOWS
    return shellFolder(CSIDL_COMMON_APPDATA);
#else
    return juce::File::getSpecialLocation(juce::File::commonApplicationDataDirectory);
#endif
}

juce::File makerFolderIn(const juce::File& applicationDataFolder)
{
    return childOf(applicationDataFolder, "Corvane");
}

juce::File presetFolderIn(const juce::File& applicationDataFolder)
{
    return childOf(makerFolderIn(applicationDataFolder), "Transfer Functions");
}
} // namespace ApplicationDataFolders
