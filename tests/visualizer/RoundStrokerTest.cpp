#include "visualizer/RoundStroker.h"
#include "VisualizerSignals.h"

#include <gtest/gtest.h>

namespace
{
struct Coverage
{
    juce::Image image;
    double total = 0.0;
};

Coverage render(const std::function<void(juce::Graphics&)>& draw)
{
    Coverage c{juce::Image(juce::Image::SingleChannel, 300, 200, true, juce::SoftwareImageType())};
    {
        juce::Graphics g(c.image);
        g.setColour(juce::Colours::white);
        draw(g);
    }
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            c.total += c.image.getPixelAt(x, y).getAlpha();
    return c;
}

// The outline, filled, is the stroke the framework draws with curved joints and rounded ends: the
// same ink, and no pixel more than a few levels off (its arcs are divided differently).
TEST(RoundStroker, OutlineIsTheFrameworksRoundStroke)
{
    juce::Path noisy, dots, sharp;
    visualizertest::Noise noise(5);
    noisy.startNewSubPath(20.0f, 100.0f);
    for (int i = 1; i < 500; ++i)
        noisy.lineTo(20.0f + 0.5f * static_cast<float>(i),
                     100.0f + 60.0f * std::sin(0.02f * static_cast<float>(i)) +
                         2.0f * static_cast<float>(noise.next()));
    for (int i = 0; i < 40; ++i)
    {
        const juce::Point<float> p(15.0f + 7.0f * static_cast<float>(i),
                                   30.0f + 3.0f * static_cast<float>(i % 5));
        dots.startNewSubPath(p);
        dots.lineTo(p.translated(0.01f, 0.0f));
    }
    sharp.startNewSubPath(50.0f, 180.0f);
    sharp.lineTo(150.0f, 20.0f);
    sharp.lineTo(160.0f, 185.0f);
    sharp.lineTo(40.0f, 60.0f);

    for (const auto& path : {noisy, dots, sharp})
        for (const auto width : {1.0f, 2.75f, 6.0f})
        {
            const auto expected = render(
                [&](juce::Graphics& g)
                {
                    g.strokePath(path, juce::PathStrokeType(width, juce::PathStrokeType::curved,
                                                            juce::PathStrokeType::rounded));
                });
            juce::Path outline;
            ui_core::RoundStroker().createOutline(outline, path, width, 1.0f);
            const auto actual = render([&](juce::Graphics& g) { g.fillPath(outline); });

            EXPECT_NEAR(actual.total, expected.total, expected.total * 0.005) << width;
            int largest = 0;
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 300; ++x)
                    largest = std::max(largest, std::abs(actual.image.getPixelAt(x, y).getAlpha() -
                                                         expected.image.getPixelAt(x, y).getAlpha()));
            EXPECT_LE(largest, 12) << width;
        }
}

TEST(RoundStroker, LeavesOutOnlyVerticesTheToleranceAllows)
{
    // A gentle arc: thinned at a quarter pixel, filled, it stays within that of the full outline.
    juce::Path arc;
    arc.startNewSubPath(10.0f, 150.0f);
    for (int i = 1; i <= 1000; ++i)
        arc.lineTo(10.0f + 0.28f * static_cast<float>(i),
                   150.0f - 100.0f * std::sin(0.003f * static_cast<float>(i)));

    juce::Path full, thinned;
    ui_core::RoundStroker stroker;
    stroker.createOutline(full, arc, 3.0f, 1.0f);
    stroker.createOutline(thinned, arc, 3.0f, 1.0f, 0.25f);
    int fullPoints = 0, thinnedPoints = 0;
    for (juce::Path::Iterator it(full); it.next();)
        ++fullPoints;
    for (juce::Path::Iterator it(thinned); it.next();)
        ++thinnedPoints;
    EXPECT_LT(thinnedPoints * 4, fullPoints);

    const auto a = render([&](juce::Graphics& g) { g.fillPath(full); });
    const auto b = render([&](juce::Graphics& g) { g.fillPath(thinned); });
    EXPECT_NEAR(b.total, a.total, a.total * 0.01);
}
} // namespace
