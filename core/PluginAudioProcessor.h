#pragma once

#include "core/CaptureBuffer.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>

class PluginAudioProcessor;

// What the processor is given by whoever creates it: the plug-in entry point, the command-line
// probe or a test. Keeps GUI code and the user's real folders out of the core.
struct PluginEnvironment
{
    // Creates the window; when empty, the framework's generic parameter editor is used.
    std::function<juce::AudioProcessorEditor*(PluginAudioProcessor&)> createEditor;
};

class PluginAudioProcessor final : public juce::AudioProcessor
{
public:
    static constexpr const char* pluginName = "Veltrane Probe";

    explicit PluginAudioProcessor(PluginEnvironment environment = {});
    ~PluginAudioProcessor() override;

    // Framework processor interface
    const juce::String getName() const override { return pluginName; }
    void prepareToPlay(double sampleRate, int maximumBlockSize) override;
    void releaseResources() override {}
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;

    void processBlock(juce::AudioBuffer<double>& buffer, juce::MidiBuffer& midi) override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    bool supportsDoublePrecisionProcessing() const override { return true; }

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override { return true; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    // Validators reject a program list whose only program has no name.
    const juce::String getProgramName(int) override { return "Default"; }
    void changeProgramName(int, const juce::String&) override {}

    void getStateInformation(juce::MemoryBlock& destination) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    // For the editor, the command-line probe and the tests.
    juce::AudioProcessorValueTreeState& getParameterState() noexcept { return parameterState; }
    CaptureBuffer& getCaptureBuffer() noexcept { return captureBuffer; }
    bool isSidechainConnected() const noexcept { return sidechainConnected.load(std::memory_order_relaxed); }

private:
    static BusesProperties makeBusesProperties();

    PluginEnvironment environment;
    juce::UndoManager undoManager;
    juce::AudioProcessorValueTreeState parameterState;
    CaptureBuffer captureBuffer;

    // Written once per block by the audio thread, polled by the editor's timer.
    std::atomic<bool> sidechainConnected{false};
    juce::AudioBuffer<double> conversionBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PluginAudioProcessor)
};
