#include "core/PluginAudioProcessor.h"

#include "core/ParameterLayout.h"

PluginAudioProcessor::BusesProperties PluginAudioProcessor::makeBusesProperties()
{
    return BusesProperties()
        .withInput("Input", juce::AudioChannelSet::stereo(), true)
        .withInput("Sidechain", juce::AudioChannelSet::stereo(), true)
        .withOutput("Output", juce::AudioChannelSet::stereo(), true);
}

PluginAudioProcessor::PluginAudioProcessor(PluginEnvironment environmentToUse)
    : juce::AudioProcessor(makeBusesProperties())
    , environment(std::move(environmentToUse))
    , parameterState(*this, &undoManager, "PARAMETERS", createParameterLayout())
{
}

PluginAudioProcessor::~PluginAudioProcessor() = default;

void PluginAudioProcessor::prepareToPlay(double, int)
{
    captureBuffer.clear();
}

bool PluginAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto isMonoOrStereo = [](const juce::AudioChannelSet& set)
    { return set == juce::AudioChannelSet::mono() || set == juce::AudioChannelSet::stereo(); };

    const auto& mainOutput = layouts.getMainOutputChannelSet();
    if (!isMonoOrStereo(mainOutput))
        return false;

    if (layouts.getMainInputChannelSet() != mainOutput)
        return false;

    if (layouts.inputBuses.size() >= 2)
    {
        const auto& sidechain = layouts.inputBuses.getReference(1);
        if (sidechain.size() >= 1 && !isMonoOrStereo(sidechain))
            return false;
    }

    return true;
}

void PluginAudioProcessor::processBlock(juce::AudioBuffer<double>& buffer, juce::MidiBuffer&)
{
    // Sets FTZ and DAZ for the block and restores the caller's mode on every exit.
    juce::ScopedNoDenormals noDenormals;

    const auto mainInput = getBusBuffer(buffer, true, 0);
    bool connected = false;

    if (getBusCount(true) > 1)
    {
        const auto sidechain = getBusBuffer(buffer, true, 1);
        if (sidechain.getNumChannels() > 0 && mainInput.getNumChannels() > 0)
        {
            captureBuffer.push(sidechain.getReadPointer(0), mainInput.getReadPointer(0),
                               mainInput.getNumSamples());
            connected = true;
        }
    }

    if (!connected && mainInput.getNumChannels() > 0)
    {
        // Without a sidechain the pairs are still recorded, with X = 0.
        static constexpr double silence = 0.0;
        const auto* y = mainInput.getReadPointer(0);
        for (int i = 0; i < mainInput.getNumSamples(); ++i)
            captureBuffer.push(&silence, y + i, 1);
    }

    sidechainConnected.store(connected, std::memory_order_relaxed);
    // The output bus shares the main input's channels, so the audio passes through untouched.
}

void PluginAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    const auto numChannels = buffer.getNumChannels();
    const auto numSamples = buffer.getNumSamples();

    // Grows only when a block is larger than any before; never shrinks.
    conversionBuffer.setSize(numChannels, numSamples, false, false, true);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto* source = buffer.getReadPointer(channel);
        auto* destination = conversionBuffer.getWritePointer(channel);
        for (int i = 0; i < numSamples; ++i)
            destination[i] = (double)source[i];
    }

    processBlock(conversionBuffer, midi);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto* source = conversionBuffer.getReadPointer(channel);
        auto* destination = buffer.getWritePointer(channel);
        for (int i = 0; i < numSamples; ++i)
            destination[i] = (float)source[i];
    }
}

juce::AudioProcessorEditor* PluginAudioProcessor::createEditor()
{
    if (environment.createEditor)
        return environment.createEditor(*this);

    return new juce::GenericAudioProcessorEditor(*this);
}

void PluginAudioProcessor::getStateInformation(juce::MemoryBlock& destination)
{
    // copyState takes the parameter state's lock and copies the current values into the tree.
    const auto state = parameterState.copyState();
    juce::MemoryOutputStream stream(destination, true);
    state.writeToStream(stream);
}

void PluginAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    // The tree's type is not checked: any tree that parses becomes the parameter tree.
    auto tree = juce::ValueTree::readFromData(data, (size_t)sizeInBytes);
    if (tree.isValid())
        parameterState.replaceState(tree);
}
