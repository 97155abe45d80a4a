#pragma once

#include <juce_core/juce_core.h>

// Where the per-user and all-users application data live. The processor, the preset library and the
// settings receive their folders from whoever creates them, so that tests and the command-line probe
// can point them at temporary folders and never touch the user's real files.
//
// A folder the platform cannot tell is the empty path, and the helpers keep it empty: joining a
// name to the empty path would otherwise give a folder at the root of the file system.
namespace ApplicationDataFolders
{
// The current user's application-data folder (on Windows the shell folder APPDATA).
juce::File userApplicationDataFolder();

// The application-data folder shared by all users (on Windows the shell folder COMMON_APPDATA).
juce::File commonApplicationDataFolder();

// applicationDataFolder + "Corvane": the settings files and the factory-overrides file.
juce::File makerFolderIn(const juce::File& applicationDataFolder);

// applicationDataFolder + "Corvane" + "Transfer Functions": a preset folder.
juce::File presetFolderIn(const juce::File& applicationDataFolder);
} // namespace ApplicationDataFolders
