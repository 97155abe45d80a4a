// Frame and blur costs of the visualizer: one full paint of the window's display in its themed look
// (glow and spill on) with JUCE's software renderer, and the stack blur alone.
#include "visualizer/VisualizerSignals.h"
#include "visualizer/VisualizerTestSupport.h"

#include "visualizer/StackBlurStrategy.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace
{
constexpr int frameWidth = 700, frameHeight = 482;

// The display on its panel with the spill around it. A frame paints what the window repaints: the
// display (opaque in its themed look, so nothing behind it) and the spill overlay's strips. Every
// frame hands in new content, as the editor's timer does, and the spill re-renders in every frame
// (at most every other one in use).
struct Frame
{
    explicit Frame(float scaleToUse)
        : scale(scaleToUse)
        , panel(std::make_unique<visualizertest::VisualizerPanel>(frameWidth, frameHeight))
        , display(imageFor(panel->visualizer))
        , spill(imageFor(panel->spill))
    {
        panel->spill.setClock([this] { return spillClock += 40.0; });
    }

    juce::Image imageFor(const juce::Component& c) const
    {
        return {juce::Image::ARGB, juce::roundToInt(static_cast<float>(c.getWidth()) * scale),
                juce::roundToInt(static_cast<float>(c.getHeight()) * scale), true, juce::SoftwareImageType()};
    }

    void paint()
    {
        panel->visualizer.onFramePainted(); // the spill's refresh request
        for (auto [component, image] :
             {std::pair<juce::Component*, juce::Image*>{&panel->visualizer, &display},
              std::pair<juce::Component*, juce::Image*>{&panel->spill, &spill}})
        {
            juce::Graphics g(*image);
            g.addTransform(juce::AffineTransform::scale(scale));
            component->paintEntireComponent(g, false);
        }
    }

    float scale;
    double spillClock = 0.0;
    std::unique_ptr<visualizertest::VisualizerPanel> panel;
    juce::Image display, spill;
};

void runFrames(benchmark::State& state, float scale,
               const std::function<void(ui_core::WaveformVisualizer&, int)>& feed)
{
    Frame frame(scale);
    int iteration = 0;
    for (auto _ : state)
    {
        feed(frame.panel->visualizer, iteration++);
        frame.paint();
        benchmark::ClobberMemory();
    }
}

// Two slightly different clouds, so that no frame can reuse the last one's work.
const std::vector<juce::Point<double>>& cloud(int i)
{
    static const auto a = visualizertest::liveCloud();
    static const auto b = []
    {
        auto points = visualizertest::liveCloud();
        for (auto& p : points)
            p.y *= 0.98;
        return points;
    }();
    return (i & 1) != 0 ? b : a;
}

void feedCloud(ui_core::WaveformVisualizer& v, int i)
{
    v.setPoints(cloud(i));
}

void feedCurve(ui_core::WaveformVisualizer& v, int i)
{
    static const auto a = visualizertest::frozenCurve();
    static const auto b = []
    {
        auto points = visualizertest::frozenCurve();
        for (auto& p : points)
            p.y *= 0.98;
        return points;
    }();
    v.setPoints((i & 1) != 0 ? b : a);
}

void feedTraces(ui_core::WaveformVisualizer& v, int i)
{
    static const auto a = visualizertest::timeTraces(8192);
    static const auto b = visualizertest::timeTraces(8191);
    const auto& traces = (i & 1) != 0 ? b : a;
    v.setTraces(traces.first, traces.second);
}

void blur(benchmark::State& state, ui_core::StackBlurStrategy::Path path)
{
    const auto key = static_cast<int>(state.range(0));
    if (path == ui_core::StackBlurStrategy::Path::vector &&
        !ui_core::StackBlurStrategy::vectorPathAvailable())
    {
        state.SkipWithError("no vector path on this processor");
        return;
    }
    juce::Image image(juce::Image::ARGB, 350, 241, true, juce::SoftwareImageType());
    {
        juce::Graphics g(image);
        g.setColour(juce::Colours::orange);
        g.strokePath(
            []
            {
                juce::Path p;
                p.startNewSubPath(0, 120);
                for (int x = 0; x < 350; x += 5)
                    p.lineTo(static_cast<float>(x), 120.0f + 100.0f * std::sin(x * 0.05f));
                return p;
            }(),
            juce::PathStrokeType(2.0f));
    }
    ui_core::StackBlurStrategy strategy(ui_core::StackBlurStrategy::radiusForKey(key), path);
    for (auto _ : state)
    {
        strategy.apply(image);
        benchmark::ClobberMemory();
    }
}
} // namespace

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;

    auto frame = [](const char* name, float scale, void (*feed)(ui_core::WaveformVisualizer&, int))
    {
        benchmark::RegisterBenchmark(name, [scale, feed](benchmark::State& state)
                                     { runFrames(state, scale, feed); })
            ->Unit(benchmark::kMillisecond);
    };
    frame("VisualizerFrame/cloud2048", 1.0f, &feedCloud);
    frame("VisualizerFrame/curve16384", 1.0f, &feedCurve);
    frame("VisualizerFrame/time8192", 1.0f, &feedTraces);
    frame("VisualizerFrame/cloud2048_scale2", 2.0f, &feedCloud);

    for (const auto path :
         {ui_core::StackBlurStrategy::Path::scalar, ui_core::StackBlurStrategy::Path::vector})
        benchmark::RegisterBenchmark(path == ui_core::StackBlurStrategy::Path::scalar ? "StackBlur/scalar"
                                                                                      : "StackBlur/vector",
                                     [path](benchmark::State& state) { blur(state, path); })
            ->Arg(2)
            ->Arg(8)
            ->Arg(31)
            ->Unit(benchmark::kMicrosecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
