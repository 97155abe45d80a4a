#pragma once

#include "core/CaptureBuffer.h"
#include "core/FitOutcome.h"
#include "core/RefitComputation.h"
#include "core/TransferFunctionTable.h"
#include "estimation/EstimationTypes.h"
#include "files/PresetLibrary.h"
#include "files/UserSettings.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class PluginAudioProcessor;

// What the processor is given by whoever creates it: the plug-in entry point, the command-line
// probe or a test. Keeps GUI code and the user's real folders out of the core.
struct PluginEnvironment
{
    // Creates the window; when empty, the framework's generic parameter editor is used.
    std::function<juce::AudioProcessorEditor*(PluginAudioProcessor&)> createEditor;

    using Estimator = RefitComputation::Estimator;
    using ThreadStarter = std::function<std::thread(std::function<void()> job)>;
    using MessagePoster = std::function<bool(std::function<void()> call)>;

    // Runs one estimate on the refit worker; when empty, estimation::estimateTransferFunction.
    Estimator estimate;
    // Starts the refit worker; when empty, a plain std::thread. May throw std::system_error.
    ThreadStarter startThread;
    // Hands a call to the message thread and tells whether it will run there (false while the
    // message manager shuts down); when empty, juce::MessageManager::callAsync.
    MessagePoster postToMessageThread;

    // The current user's and the all-users application-data folders. The preset folders and the
    // settings files live below them. Empty paths (the default) leave the processor without preset
    // folders, so that tests never touch the user's real files.
    juce::File userApplicationDataFolder;
    juce::File commonApplicationDataFolder;

    // The artist name embedded into saved presets; when empty, the one in the user's artist settings.
    std::function<juce::String()> artistName;
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

    // Refit, on the message thread. A refit needs a message loop: its result comes back through it.
    void snapshotCaptureAndRefit();
    bool isCaptureFull() const;
    // Throws when the refit cannot start (std::system_error without a thread, std::bad_alloc without
    // memory); no refit is then running and the request stays pending for the next one to carry out.
    void refitTransferFunction();
    void writeSmoothedBinsToTransferFunction(const std::vector<double>& values);

    // Called on the message thread after every table write. The callback installed when the
    // notification arrives is the one called, so assigning an empty function removes a listener
    // for notifications already on their way, too.
    std::function<void()> onTableChanged;
    // Called on the message thread, in the same way, after every refit that was asked for has ended,
    // with a curve or without one; getLastFitOutcome then tells what it found.
    std::function<void()> onFitFinished;

    const TransferFunctionTable& getTransferFunction() const noexcept { return transferFunction; }
    const std::vector<double>& getRawBins() const noexcept { return rawBins; }
    bool hasFit() const noexcept { return fitAvailable; }
    // What the last refit found (its report, or why it gave no curve); empty until one has ended.
    const FitOutcome& getLastFitOutcome() const noexcept { return lastFitOutcome; }
    bool isRefitInProgress() const noexcept { return refitInProgress.load(); }
    // A refit was asked for while one ran, or could not start; the next request carries it out.
    bool isRefitPending() const noexcept { return refitPending; }

    // Saves the current table as a preset file (the editor's save button, the command-line probe).
    PresetLibrary& getPresetLibrary() noexcept { return *presetLibrary; }

    // The per-user settings files (artist name, theme, grid strength) in this processor's user folder;
    // without one, every read gives the defaults and every write does nothing.
    UserSettings getUserSettings() const;

    // For the editor, the command-line probe and the tests.
    juce::AudioProcessorValueTreeState& getParameterState() noexcept { return parameterState; }
    CaptureBuffer& getCaptureBuffer() noexcept { return captureBuffer; }
    bool isSidechainConnected() const noexcept { return sidechainConnected.load(std::memory_order_relaxed); }

private:
    friend class PluginAudioProcessorTestAccess;

    static BusesProperties makeBusesProperties();

    // Replaces the table from the bytes of a preset file; the preset library's load callback.
    // Returns false, leaving the table as it was, when the bytes are not a readable preset.
    bool restoreTransferFunction(const void* data, int sizeInBytes);

    // The preset library's write callback: the current table as preset bytes; empty on failure.
    void writeCurrentTableAsPreset(juce::MemoryBlock& destination) const;

    void startRefit();
    void completeRefit(RefitComputation::Answer answer) noexcept;
    void postTableChanged() noexcept { postCallback(&PluginAudioProcessor::onTableChanged); }
    void postCallback(std::function<void()> PluginAudioProcessor::*callback) noexcept;

    PluginEnvironment environment;
    juce::UndoManager undoManager;
    juce::AudioProcessorValueTreeState parameterState;
    CaptureBuffer captureBuffer;

    // Written once per block by the audio thread, polled by the editor's timer.
    std::atomic<bool> sidechainConnected{false};
    juce::AudioBuffer<double> conversionBuffer;

    TransferFunctionTable transferFunction;

    // Refit state; all of it belongs to the message thread except the in-progress flag.
    std::vector<double> snapshotX, snapshotY;
    std::vector<double> rawBins; // of the last valid estimate, kept for re-smoothing
    bool fitAvailable = false;
    FitOutcome lastFitOutcome;
    std::thread refitWorker;
    std::atomic<bool> refitInProgress{false};
    bool refitPending = false;
    // Shared with every posted completion and notification, which do nothing once it is false.
    std::shared_ptr<std::atomic<bool>> alive = std::make_shared<std::atomic<bool>>(true);

    // Created last: its callbacks reach the table and the settings.
    std::unique_ptr<PresetLibrary> presetLibrary;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PluginAudioProcessor)
};
