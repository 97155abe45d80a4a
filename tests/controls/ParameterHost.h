#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>
#include <vector>

namespace testsupport
{
// A processor with the parameters the widgets are bound to, recording what a host would see:
// gesture begin and end, and value changes.
class ParameterHost final : public juce::AudioProcessor, private juce::AudioProcessorListener
{
public:
    // smoothingMaximum and smoothingDefault: the plug-in's own Smoothing is 1..100, 50 by default.
    explicit ParameterHost(int smoothingMaximum = 1024, int smoothingDefault = 16)
        : state(*this, nullptr, "PARAMETERS", layout(smoothingMaximum, smoothingDefault))
    {
        addListener(this);
    }

    ~ParameterHost() override { removeListener(this); }

    juce::AudioProcessorValueTreeState state;

    // "begin", "change" and "end" in the order the host received them.
    std::vector<std::string> events;

    // The events with repeated "change" entries folded into one.
    std::vector<std::string> gestureOutline() const
    {
        std::vector<std::string> outline;
        for (const auto& event : events)
            if (outline.empty() || event != "change" || outline.back() != "change")
                outline.push_back(event);
        return outline;
    }

    float value(const juce::String& id) const { return state.getRawParameterValue(id)->load(); }

    const juce::String getName() const override { return "ParameterHost"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

private:
    static juce::AudioProcessorValueTreeState::ParameterLayout layout(int smoothingMaximum,
                                                                      int smoothingDefault)
    {
        using Float = juce::AudioParameterFloat;
        return {std::make_unique<Float>(juce::ParameterID{"latencyX", 1}, "X Lag",
                                        juce::NormalisableRange<float>(0.0f, 512.0f, 0.01f), 0.0f),
                std::make_unique<Float>(juce::ParameterID{"scaleX", 1}, "Scale X",
                                        juce::NormalisableRange<float>(-36.0f, 36.0f, 0.1f), 0.0f),
                std::make_unique<Float>(juce::ParameterID{"scaleY", 1}, "Scale Y",
                                        juce::NormalisableRange<float>(-36.0f, 36.0f, 0.1f), 0.0f),
                std::make_unique<juce::AudioParameterInt>(juce::ParameterID{"smoothing", 1}, "Smoothing", 1,
                                                          smoothingMaximum, smoothingDefault)};
    }

    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override
    {
        events.push_back("change");
    }
    void audioProcessorChanged(juce::AudioProcessor*,
                               const juce::AudioProcessorListener::ChangeDetails&) override
    {
    }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int) override
    {
        events.push_back("begin");
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int) override
    {
        events.push_back("end");
    }
};
} // namespace testsupport
