#pragma once

#include "tools/CommandLineOptions.h"
#include "tools/Console.h"
#include "tools/ProbeSession.h"

// What "fit" and "demo" write: the preset (--output, or --save-to-library NAME into the user preset
// folder, with --artist) and the CSV (--csv) of the fitted table. Presets are saved through the
// processor's preset library, as the window's save button does.
namespace ProbeOutputs
{
// The output options, and the folder options that "library" shares.
inline const juce::StringArray optionNames{"artist",          "output",    "csv",
                                           "save-to-library", "user-data", "common-data"};
inline const juce::StringArray folderOptionNames{"user-data", "common-data"};

// The processor's folders and artist name: --user-data and --common-data stand for the user's and
// the all-users application-data folders (the real ones when absent and needsPresetFolders is set;
// none otherwise); --artist overrides the artist name of the user's settings.
PluginEnvironment environmentFor(const CommandLineOptions& options, bool needsPresetFolders);

// Adds the written paths to written; reports and returns false on the first failure.
bool save(const ProbeSession& session, const CommandLineOptions& options, juce::StringArray& written,
          Console& console);
} // namespace ProbeOutputs
