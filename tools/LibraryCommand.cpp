#include "core/PluginAudioProcessor.h"
#include "tools/ProbeCommands.h"
#include "tools/ProbeOutputs.h"

namespace ProbeCommands
{
// Lists the preset library's index: the factory presets not hidden by the overrides file, then
// the user's, as the processor's library sees them.
int library(const juce::StringArray& arguments, Console& console)
{
    const auto parsed = CommandLineOptions::parseOptionsOnly(arguments, ProbeOutputs::folderOptionNames);
    if (!parsed.ok)
    {
        console.error(parsed.error);
        return usageError;
    }

    PluginAudioProcessor processor(ProbeOutputs::environmentFor(parsed.options, true));
    auto& library = processor.getPresetLibrary();
    library.rescan();

    console.print("factory folder: " + library.getFactoryFolder().getFullPathName());
    console.print("user folder: " + library.getUserFolder().getFullPathName());
    for (const auto& entry : library.getIndex())
        console.print(entry.file.getFullPathName() + (entry.isFactory ? " (factory)" : ""));
    console.print(juce::String(library.getIndex().size()) + " presets");
    return success;
}
} // namespace ProbeCommands
