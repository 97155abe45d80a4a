#include "core/PluginAudioProcessor.h"
#include "files/ApplicationDataFolders.h"

// The framework's plug-in wrappers create the processor through this function. Only here does the
// processor get the user's real application-data folders.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    PluginEnvironment environment;
    environment.userApplicationDataFolder = ApplicationDataFolders::userApplicationDataFolder();
    environment.commonApplicationDataFolder = ApplicationDataFolders::commonApplicationDataFolder();
    return new PluginAudioProcessor(std::move(environment));
}
