#include "core/PluginAudioProcessor.h"

#include "core/LatencyAlignment.h"
#include "core/ParameterLayout.h"
#include "core/ParameterValues.h"
#include "estimation/TransferFunctionEstimator.h"
#include "files/ApplicationDataFolders.h"
#include "files/PresetFormat.h"
#include "files/UserSettings.h"
#include "files/ValueTreeStreamCheck.h"

#include <algorithm>
#include <cmath>

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
    if (!environment.estimate)
        environment.estimate = estimation::estimateTransferFunction;
    if (!environment.startThread)
        environment.startThread = [](std::function<void()> job) { return std::thread(std::move(job)); };
    if (!environment.postToMessageThread)
        environment.postToMessageThread = [](std::function<void()> call)
        { return juce::MessageManager::callAsync(std::move(call)); };

    presetLibrary = std::make_unique<PresetLibrary>(
        [this](juce::MemoryBlock& block, const juce::File&) { writeCurrentTableAsPreset(block); },
        [this](const void* data, int size, const juce::File&) { restoreTransferFunction(data, size); },
        [] { return juce::String(); }, [](const juce::String&) {}, "tfunc",
        ApplicationDataFolders::presetFolderIn(environment.commonApplicationDataFolder),
        ApplicationDataFolders::presetFolderIn(environment.userApplicationDataFolder));
}

void PluginAudioProcessor::writeCurrentTableAsPreset(juce::MemoryBlock& destination) const
{
    std::vector<double> values((size_t) PresetFormat::tableSize, 0.0);
    for (int i = 0; i < TransferFunctionTable::size && i < (int) values.size(); ++i)
        values[(size_t) i] = transferFunction.get(i);

    const auto artist = environment.artistName ? environment.artistName() : getUserSettings().getArtistName();

    auto preset = writePreset(values, artist);
    if (preset.ok)
        destination = std::move(preset.bytes);
}

UserSettings PluginAudioProcessor::getUserSettings() const
{
    return UserSettings(ApplicationDataFolders::makerFolderIn(environment.userApplicationDataFolder));
}

PluginAudioProcessor::~PluginAudioProcessor()
{
    // A running estimate finishes; its completion, if still queued, sees the flag and does nothing.
    alive->store(false);
    if (refitWorker.joinable())
        refitWorker.join();
}

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
            destination[i] = (double) source[i];
    }

    processBlock(conversionBuffer, midi);

    for (int channel = 0; channel < numChannels; ++channel)
    {
        const auto* source = conversionBuffer.getReadPointer(channel);
        auto* destination = buffer.getWritePointer(channel);
        for (int i = 0; i < numSamples; ++i)
            destination[i] = (float) source[i];
    }
}

namespace
{
// A value such as "nan" would become a NaN parameter, which the framework then compares with the
// tree by turning it into text: undefined behaviour, and a latency of NaN on the audio thread.
// Such a state is refused as a whole, like any other unreadable one.
bool parameterValuesAreNumbers(const juce::ValueTree& tree)
{
    static const juce::Identifier valueProperty{"value"};
    for (const auto& child : tree)
        if (child.hasProperty(valueProperty) && !std::isfinite((double) child.getProperty(valueProperty)))
            return false;
    return true;
}
} // namespace

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
    auto tree = readValueTreeSafely(data, (size_t) sizeInBytes);
    if (tree.isValid() && parameterValuesAreNumbers(tree))
        parameterState.replaceState(tree);
}

bool PluginAudioProcessor::restoreTransferFunction(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return false;

    const auto preset = readPreset(readValueTreeSafely(data, (size_t) sizeInBytes));
    if (!preset.ok)
        return false;

    // The raw bins stay: a later smoothing change re-smooths the last fit, not the preset.
    transferFunction.store(preset.values);
    postTableChanged();
    return true;
}

void PluginAudioProcessor::snapshotCaptureAndRefit()
{
    const auto n = captureBuffer.getCapacity();
    snapshotX.resize((size_t) n);
    snapshotY.resize((size_t) n);
    captureBuffer.read(snapshotX.data(), snapshotY.data(), n);
    refitTransferFunction();
}

bool PluginAudioProcessor::isCaptureFull() const
{
    return captureBuffer.getTotalWritten() >= ParameterValues::captureLengthSamples(parameterState);
}

void PluginAudioProcessor::refitTransferFunction()
{
    if (snapshotX.empty())
        return;

    if (refitInProgress.load())
    {
        // Any number of requests now make one refit, with the parameters current when it starts.
        refitPending = true;
        return;
    }

    try
    {
        startRefit();
    }
    catch (...)
    {
        // Otherwise no later refit could ever start; the request waits for the next one.
        refitInProgress.store(false);
        refitPending = true;
        throw;
    }
}

void PluginAudioProcessor::startRefit()
{
    const auto captureLength = ParameterValues::captureLengthSamples(parameterState);
    const auto latencyX = (double) ParameterValues::raw(parameterState, ParameterIDs::latencyX);
    const auto latencyY = (double) ParameterValues::raw(parameterState, ParameterIDs::latencyY);
    auto aligned = LatencyAlignment::alignCapture(snapshotX, snapshotY, captureLength, latencyX, latencyY);
    if (!aligned)
    {
        // Nothing to estimate from; the window still hears that this request has ended.
        lastFitOutcome = RefitComputation::withoutPairs(latencyX, latencyY).outcome;
        postCallback(&PluginAudioProcessor::onFitFinished);
        return;
    }

    RefitComputation::Input input;
    input.x = std::move(aligned->x);
    input.y = std::move(aligned->y);
    // The delay is measured on the pairs the fit uses, before the latencies move them.
    const auto newest = (std::ptrdiff_t) std::min(snapshotX.size(), (size_t) captureLength);
    input.capturedX.assign(snapshotX.end() - newest, snapshotX.end());
    input.capturedY.assign(snapshotY.end() - newest, snapshotY.end());
    input.smoothing = ParameterValues::smoothing(parameterState);
    input.method = ParameterValues::choiceIndex(parameterState, ParameterIDs::captureAlgorithm, 1) == 0
                       ? estimation::EstimationMethod::OrthogonalFit
                       : estimation::EstimationMethod::SweepMean;
    input.latencyX = latencyX;
    input.latencyY = latencyY;

    // The previous worker has already posted its result, so this does not wait long.
    if (refitWorker.joinable())
        refitWorker.join();

    refitInProgress.exchange(true);
    refitPending = false;

    // The worker owns its input and copies of the estimator and the poster. It never reads the
    // processor, which outlives it (the destructor joins it); it only ends a refit whose result
    // cannot be delivered.
    auto job = [processor = this, flag = alive, estimate = environment.estimate,
                post = environment.postToMessageThread, input = std::move(input)]() mutable
    {
        auto answer = RefitComputation::run(input, estimate);
        input = {}; // the pairs go before the answer waits for the message thread

        bool posted = false;
        try
        {
            posted = post(
                [processor, flag, answer = std::move(answer)]() mutable
                {
                    if (flag->load())
                        processor->completeRefit(std::move(answer));
                });
        }
        catch (...)
        {
        }

        // The message loop is going away (or had no memory for the message): no completion will
        // come, so the worker returns the processor to idle itself. The undelivered message, with
        // the result, has been freed by the poster.
        if (!posted)
            processor->refitInProgress.store(false);
    };

    refitWorker = environment.startThread(std::move(job));
}

// Runs as a message-thread callback, so nothing may escape it.
void PluginAudioProcessor::completeRefit(RefitComputation::Answer answer) noexcept
{
    refitInProgress.store(false);

    // An invalid estimate keeps the previous table and raw bins.
    auto& result = answer.estimate;
    if (result.valid)
    {
        rawBins = std::move(result.rawBins);
        fitAvailable = true;
        writeSmoothedBinsToTransferFunction(result.smoothedBins);
    }
    lastFitOutcome = std::move(answer.outcome);

    if (refitPending)
    {
        refitPending = false;
        try
        {
            refitTransferFunction();
        }
        catch (...)
        {
            // Pending again (see refitTransferFunction): the next request or snapshot carries it out.
        }
    }

    // After the follow-up has started, so that a listener can tell a last answer from one that a
    // refit with newer settings will replace.
    postCallback(&PluginAudioProcessor::onFitFinished);
}

void PluginAudioProcessor::writeSmoothedBinsToTransferFunction(const std::vector<double>& values)
{
    transferFunction.store(values);
    postTableChanged();
}

void PluginAudioProcessor::postCallback(std::function<void()> PluginAudioProcessor::*callback) noexcept
{
    if (!(this->*callback))
        return;

    // Looks the callback up on arrival rather than carrying a copy, so that a listener removed in
    // the meantime is not called, and checks that the processor still exists. A notification that
    // cannot be posted is dropped: the state it tells of has been stored.
    try
    {
        environment.postToMessageThread(
            [processor = this, flag = alive, callback]
            {
                if (!flag->load())
                    return;
                try
                {
                    if (auto listener = processor->*callback)
                        listener();
                }
                catch (...)
                {
                    // A listener's exception must not reach the host's message loop.
                }
            });
    }
    catch (...)
    {
    }
}
