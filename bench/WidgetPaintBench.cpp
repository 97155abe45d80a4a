// Cost of one frame of the widgets that change while the user works them: the knob (its body blitted
// from the cached images, only arc, pointer and veil drawn) beside a frame that has to render the body
// afresh, and the number box while it is dragged. Software renderer, as the window's snapshots use.

#include "controls/KnobStyle.h"
#include "controls/NumberBox.h"
#include "controls/NumberBoxStyle.h"
#include "controls/Rotary3DKnob.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
float scaleOf(const benchmark::State& state)
{
    return static_cast<float>(state.range(0));
}

// One frame of a 60 x 60 knob whose value moves each frame.
void KnobFrame(benchmark::State& state)
{
    const auto scale = scaleOf(state);
    ui_core::Rotary3DKnob knob;
    knob.setStyle(ui_core::controlPanelKnobPreset());
    knob.setRange(1.0, 1024.0, 1.0);
    knob.setSize(60, 60);
    juce::Image frame(juce::Image::ARGB, 60 * static_cast<int>(scale), 60 * static_cast<int>(scale), true);

    double value = 1.0;
    for (auto _ : state)
    {
        knob.setValue(value, juce::dontSendNotification);
        value = value >= 1024.0 ? 1.0 : value + 7.0;
        juce::Graphics g(frame);
        g.addTransform(juce::AffineTransform::scale(scale));
        knob.paintEntireComponent(g, true);
    }
    state.counters["body_renders"] = static_cast<double>(knob.getBodyRenderCount());
}

// The same frame when the body has to be rendered again (a style change, a resize, a new display).
void KnobFrameRenderingTheBody(benchmark::State& state)
{
    const auto scale = scaleOf(state);
    ui_core::Rotary3DKnob knob;
    auto style = ui_core::controlPanelKnobPreset();
    knob.setRange(1.0, 1024.0, 1.0);
    knob.setSize(60, 60);
    juce::Image frame(juce::Image::ARGB, 60 * static_cast<int>(scale), 60 * static_cast<int>(scale), true);

    for (auto _ : state)
    {
        style.trackThickness = style.trackThickness == 3.0f ? 3.0001f : 3.0f;
        knob.setStyle(style);
        juce::Graphics g(frame);
        g.addTransform(juce::AffineTransform::scale(scale));
        knob.paintEntireComponent(g, true);
    }
}

// One frame of a latency box being dragged: background, border, caption and value text.
void NumberBoxFrame(benchmark::State& state)
{
    const auto scale = scaleOf(state);
    ui_core::NumberBox box("X Lag");
    box.setStyle(ui_core::numberBoxPreset());
    box.setRange(0.0, 512.0, 0.01);
    box.setSize(64, 50);
    juce::Image frame(juce::Image::ARGB, 64 * static_cast<int>(scale), 50 * static_cast<int>(scale), true);

    double value = 0.0;
    for (auto _ : state)
    {
        box.setValue(value, juce::dontSendNotification);
        value = value >= 512.0 ? 0.0 : value + 1.28;
        juce::Graphics g(frame);
        g.addTransform(juce::AffineTransform::scale(scale));
        box.paintEntireComponent(g, true);
    }
}
} // namespace

BENCHMARK(KnobFrame)->Arg(1)->Arg(2);
BENCHMARK(KnobFrameRenderingTheBody)->Arg(1)->Arg(2);
BENCHMARK(NumberBoxFrame)->Arg(1)->Arg(2);

int main(int argc, char** argv)
{
    // Components need the framework's message manager.
    const juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
