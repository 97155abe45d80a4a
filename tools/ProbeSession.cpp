#include "tools/ProbeSession.h"

#include "core/FitOutcomeText.h"
#include "core/ParameterValues.h"
#include "tools/MessageDispatch.h"

#include <system_error>

ProbeSession::ProbeSession(PluginEnvironment environment)
    : processor(std::make_unique<PluginAudioProcessor>(std::move(environment)))
{
    // Main input (Y) and sidechain (X) both on, as a host with the sidechain connected.
    processor->enableAllBuses();
}

ProbeSession::~ProbeSession() = default;

juce::Result ProbeSession::setParameter(const char* id, double plainValue, const juce::String& optionName)
{
    auto* parameter = processor->getParameterState().getParameter(id);
    jassert(parameter != nullptr);
    const auto& range = parameter->getNormalisableRange();

    if (!(plainValue >= range.start && plainValue <= range.end))
        return juce::Result::fail("--" + optionName + " " + juce::String(plainValue) + " is outside " +
                                  juce::String(range.start) + ".." + juce::String(range.end));

    parameter->setValueNotifyingHost(parameter->convertTo0to1((float) plainValue));
    return juce::Result::ok();
}

juce::Result ProbeSession::setChoice(const char* id, const juce::String& choiceName,
                                     const juce::String& optionName)
{
    auto* parameter =
        dynamic_cast<juce::AudioParameterChoice*>(processor->getParameterState().getParameter(id));
    jassert(parameter != nullptr);

    for (int i = 0; i < parameter->choices.size(); ++i)
        if (parameter->choices[i].equalsIgnoreCase(choiceName.trim()))
            return setParameter(id, i, optionName);

    return juce::Result::fail("--" + optionName + " " + choiceName + " is not one of " +
                              parameter->choices.joinIntoString(", ").toLowerCase());
}

juce::Result ProbeSession::feed(const PairReader& next, juce::int64 totalPairs, double sampleRate,
                                Console& console)
{
    processor->setRateAndBufferSizeDetails(sampleRate, blockSize);
    processor->prepareToPlay(sampleRate, blockSize);

    // Buses in order: main input (Y) channels 0-1, sidechain (X) channels 2-3.
    const auto numChannels = processor->getTotalNumInputChannels();
    const auto sidechainChannel = processor->getChannelIndexInProcessBlockBuffer(true, 1, 0);
    juce::AudioBuffer<double> buffer(juce::jmax(numChannels, processor->getTotalNumOutputChannels()),
                                     blockSize);
    juce::MidiBuffer midi;
    std::vector<double> x(blockSize), y(blockSize);

    juce::int64 fed = 0;
    int lastPercent = -1;
    for (;;)
    {
        const auto n = next(x.data(), y.data(), blockSize);
        if (n < 0)
            return juce::Result::fail("reading the audio failed");
        if (n == 0)
            break;

        buffer.setSize(buffer.getNumChannels(), n, false, false, true);
        buffer.clear();
        for (int i = 0; i < n; ++i)
        {
            buffer.setSample(0, i, y[(size_t) i]);
            buffer.setSample(sidechainChannel, i, x[(size_t) i]);
        }
        processor->processBlock(buffer, midi);
        fed += n;

        const auto percent = totalPairs > 0 ? (int) (100 * fed / totalPairs) : 0;
        if (percent != lastPercent)
        {
            console.progress("playing the recording through the processor: " + juce::String(percent) + "%");
            lastPercent = percent;
        }
    }
    console.endProgress();

    if (!processor->isSidechainConnected())
        return juce::Result::fail("the processor saw no sidechain input");
    return juce::Result::ok();
}

juce::Result ProbeSession::fit(Console& console)
{
    bool tableChanged = false;
    processor->onTableChanged = [&] { tableChanged = true; };

    try
    {
        processor->snapshotCaptureAndRefit();
    }
    catch (const std::system_error& e)
    {
        processor->onTableChanged = nullptr;
        return juce::Result::fail(juce::String("cannot start the fit: ") + e.what());
    }

    if (!processor->isRefitInProgress())
    {
        processor->onTableChanged = nullptr;
        return juce::Result::fail("the latencies leave no pairs to fit");
    }

    const auto started = juce::Time::getMillisecondCounterHiRes();
    while (processor->isRefitInProgress())
    {
        MessageDispatch::runFor(50);
        console.progress(
            "fitting: " + juce::String((juce::Time::getMillisecondCounterHiRes() - started) / 1000.0, 1) +
            " s");
    }

    // The table notification was posted by the completion; a marker posted now arrives after it.
    bool drained = false;
    juce::MessageManager::callAsync([&] { drained = true; });
    while (!drained)
        MessageDispatch::runFor(10);
    console.endProgress();
    processor->onTableChanged = nullptr;

    const auto& outcome = processor->getLastFitOutcome();
    if (!outcome.valid || !tableChanged)
        return juce::Result::fail("no curve. " + FitOutcomeText::failureMessage(outcome.failure));
    return juce::Result::ok();
}

int ProbeSession::captureLength() const
{
    return ParameterValues::captureLengthSamples(processor->getParameterState());
}

juce::String ProbeSession::parameterText(const char* id) const
{
    auto* parameter = processor->getParameterState().getParameter(id);
    return parameter->getCurrentValueAsText();
}

float ProbeSession::parameterValue(const char* id) const
{
    return ParameterValues::raw(processor->getParameterState(), id);
}

std::vector<double> ProbeSession::tableValues() const
{
    return processor->getTransferFunction().copyValues();
}

const std::vector<double>& ProbeSession::rawBins() const
{
    return processor->getRawBins();
}
