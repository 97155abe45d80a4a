#include "ReferenceImages.h"
#include "VisualizerSignals.h"
#include "VisualizerTestSupport.h"

#include "../controls/ThemeTestSupport.h"

namespace
{
using Mode = ui_core::WaveformVisualizer::DisplayMode;

// Whole renders of the window's display in its themed look, at display scales 1 and 2.
struct ReferenceCase
{
    const char* name;
    void (*feed)(ui_core::WaveformVisualizer&);
};

void liveCloud(ui_core::WaveformVisualizer& v)
{
    v.setPoints(visualizertest::liveCloud());
}

void frozenCurve(ui_core::WaveformVisualizer& v)
{
    v.setPoints(visualizertest::frozenCurve());
}

void timeTraces(ui_core::WaveformVisualizer& v)
{
    const auto [x, y] = visualizertest::timeTraces();
    v.setTraces(x, y);
}

void scatterCloud(ui_core::WaveformVisualizer& v)
{
    v.setDisplayMode(Mode::scatter);
    v.setPoints(visualizertest::liveCloud(512));
}

class VisualizerReference : public ThemeTest,
                            public ::testing::WithParamInterface<std::tuple<ReferenceCase, int>>
{
};

TEST_P(VisualizerReference, RenderMatchesCommittedImage)
{
    const auto& [testCase, scale] = GetParam();
    visualizertest::VisualizerPanel panel(480, 330);
    testCase.feed(panel.visualizer);
    const auto image = visualizertest::render(panel, static_cast<float>(scale));
    EXPECT_TRUE(visualizertest::matchesReference(image, juce::String(testCase.name) + "_" +
                                                            juce::String(scale) + "x"));
}

INSTANTIATE_TEST_SUITE_P(Themed, VisualizerReference,
                         ::testing::Combine(::testing::Values(ReferenceCase{"cloud_glow", &liveCloud},
                                                              ReferenceCase{"curve_glow", &frozenCurve},
                                                              ReferenceCase{"time_glow", &timeTraces},
                                                              ReferenceCase{"scatter_glow", &scatterCloud}),
                                            ::testing::Values(1, 2)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::to_string(std::get<1>(info.param)) + "x";
                         });
} // namespace
