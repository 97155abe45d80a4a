#pragma once

#include "core/PluginAudioProcessor.h"
#include "tools/Console.h"

#include <functional>
#include <memory>

// Drives one real PluginAudioProcessor the way a host and the window do: parameters through the
// parameter state, audio through processBlock in host-sized blocks with the sidechain enabled, and
// the fit through snapshotCaptureAndRefit with the message loop running until the table changed.
class ProbeSession
{
public:
    static constexpr int blockSize = 512;

    // environment: the folders and artist name for saving into the preset library.
    explicit ProbeSession(PluginEnvironment environment);
    ~ProbeSession();

    // Sets a parameter from its plain value; refuses values outside the parameter's range.
    juce::Result setParameter(const char* id, double plainValue, const juce::String& optionName);
    // Sets a choice parameter by one of its choice names, compared without regard to case.
    juce::Result setChoice(const char* id, const juce::String& choiceName, const juce::String& optionName);

    // Fills x and y with up to n pairs; returns how many, 0 at the end, -1 on a read error.
    using PairReader = std::function<int(double* x, double* y, int n)>;

    // Plays every pair through the processor. totalPairs is for the progress display only.
    juce::Result feed(const PairReader& next, juce::int64 totalPairs, double sampleRate, Console& console);

    // Freezes the capture and waits until the refitted table has arrived.
    juce::Result fit(Console& console);

    int captureLength() const;
    juce::String parameterText(const char* id) const;
    // The plain value the processor reads, as stored (a latency keeps float precision).
    float parameterValue(const char* id) const;

    std::vector<double> tableValues() const;
    // The processor itself, for the window the screenshot command renders around it.
    PluginAudioProcessor& getProcessor() const { return *processor; }
    PresetLibrary& presetLibrary() const { return processor->getPresetLibrary(); }
    const std::vector<double>& rawBins() const;

private:
    std::unique_ptr<PluginAudioProcessor> processor;
};
