#include "core/PluginAudioProcessor.h"
#include "editor/PluginProcessorEditor.h"
#include "files/ApplicationDataFolders.h"

// The framework's plug-in wrappers create the processor through this function. Only here does the
// processor get the user's real application-data folders and its window.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    PluginEnvironment environment;
    environment.userApplicationDataFolder = ApplicationDataFolders::userApplicationDataFolder();
    environment.commonApplicationDataFolder = ApplicationDataFolders::commonApplicationDataFolder();
    environment.createEditor = [](PluginAudioProcessor& processor) -> juce::AudioProcessorEditor*
    { return new PluginProcessorEditor(processor); };
    return new PluginAudioProcessor(std::move(environment));
}
