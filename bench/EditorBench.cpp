// The window's recurring costs: one tick of its 50 ms timer with a full capture buffer (copy, align,
// scale, hand to the plot), counted in time and in heap allocations, and one paint of the whole
// window with the software renderer.
#include "core/AllocationCounter.h"
#include "core/ParameterLayout.h"
#include "core/PluginAudioProcessor.h"
#include "editor/PluginProcessorEditor.h"
#include "visualizer/GlowSpillOverlay.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;

// A processor whose capture buffer is full of a 100 Hz sine through tanh, and its window.
struct Window
{
    explicit Window(int visualizationMode)
    {
        processor.enableAllBuses();
        processor.setRateAndBufferSizeDetails(sampleRate, blockSize);
        processor.prepareToPlay(sampleRate, blockSize);
        setChoice(ParameterIDs::visualizationMode, visualizationMode);
        setChoice(ParameterIDs::timeWindow, 4); // 8k
        juce::AudioBuffer<double> buffer(processor.getTotalNumInputChannels(), blockSize);
        juce::MidiBuffer midi;
        for (int done = 0; done <= CaptureBuffer::defaultCapacity; done += blockSize)
        {
            for (int i = 0; i < blockSize; ++i)
            {
                const auto x =
                    0.9 * std::sin(2.0 * juce::MathConstants<double>::pi * 100.0 * (done + i) / sampleRate);
                buffer.setSample(0, i, std::tanh(2.0 * x));
                buffer.setSample(2, i, x);
            }
            processor.processBlock(buffer, midi);
        }
        editor = std::make_unique<PluginProcessorEditor>(processor);
        editor->timerCallback(); // sizes what grows once
    }

    void setChoice(const char* id, int index)
    {
        auto* parameter = processor.getParameterState().getParameter(id);
        parameter->setValueNotifyingHost(parameter->convertTo0to1(static_cast<float>(index)));
    }

    // New audio, as between two ticks: a few pairs are enough to make the tick do all its work.
    void arrive()
    {
        phase += 0.37;
        const double x[] = {std::sin(phase), std::sin(phase + 0.01)};
        const double y[] = {std::tanh(2.0 * x[0]), std::tanh(2.0 * x[1])};
        processor.getCaptureBuffer().push(x, y, 2);
    }

    PluginAudioProcessor processor;
    std::unique_ptr<PluginProcessorEditor> editor;
    double phase = 0.0;
};

void tick(benchmark::State& state, int visualizationMode)
{
    Window window(visualizationMode);
    std::size_t allocations = 0;
    for (auto _ : state)
    {
        window.arrive();
        ScopedAllocationCounter counter;
        window.editor->timerCallback();
        allocations += counter.getCount();
    }
    state.counters["allocations_per_tick"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

// Paints the window at its initial size as a host repaints it after a tick brought new content: the
// plot with its glow, the spill around it (re-rendered every frame, at most every other one in use),
// the strip and its controls.
void frame(benchmark::State& state)
{
    Window window(0);
    ui_core::GlowSpillOverlay* spill = nullptr;
    for (auto* child : window.editor->getChildren())
        if (auto* overlay = dynamic_cast<ui_core::GlowSpillOverlay*>(child))
            spill = overlay;
    double spillClock = 0.0;
    if (spill != nullptr)
        spill->setClock([&spillClock] { return spillClock += 40.0; });

    juce::Image image(juce::Image::ARGB, window.editor->getWidth(), window.editor->getHeight(), true,
                      juce::SoftwareImageType());
    for (auto _ : state)
    {
        state.PauseTiming();
        window.arrive();
        window.editor->timerCallback();
        if (auto& visualizer = window.editor->getVisualizer(); visualizer.onFramePainted)
            visualizer.onFramePainted(); // the spill's refresh request
        state.ResumeTiming();

        juce::Graphics g(image);
        window.editor->paintEntireComponent(g, false);
        benchmark::ClobberMemory();
    }
}
} // namespace

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    benchmark::RegisterBenchmark("EditorTick/live_tfunc", [](benchmark::State& s) { tick(s, 0); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("EditorTick/live_time8192", [](benchmark::State& s) { tick(s, 1); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("EditorFrame/700x550_glow", frame)->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
