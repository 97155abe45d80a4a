#include "core/PluginAudioProcessor.h"

// The framework's plug-in wrappers create the processor through this function.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new PluginAudioProcessor();
}
