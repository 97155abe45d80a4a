#include "visualizer/ScanlineFiller.h"
#include "VisualizerSignals.h"
#include "visualizer/RoundStroker.h"

#include <gtest/gtest.h>

namespace
{
juce::Image background()
{
    juce::Image image(juce::Image::ARGB, 160, 120, true, juce::SoftwareImageType());
    juce::Graphics g(image);
    g.setGradientFill(
        juce::ColourGradient(juce::Colour(0x00000000), 0, 0, juce::Colour(0xc0336699), 160, 120, false));
    g.fillAll();
    return image;
}

bool sameBytes(const juce::Image& a, const juce::Image& b)
{
    const juce::Image::BitmapData da(a, juce::Image::BitmapData::readOnly),
        db(b, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < da.height; ++y)
        if (std::memcmp(da.getLinePointer(y), db.getLinePointer(y), static_cast<std::size_t>(da.width) * 4) !=
            0)
            return false;
    return true;
}

// A noisy trace's outline (self-overlapping, many short edges), a curve and a ring (non-zero
// winding with a hole), transformed and translucent: the filler must write the bytes the framework
// writes, over what is already there.
TEST(ScanlineFiller, WritesTheFrameworksPixels)
{
    juce::Path trace;
    visualizertest::Noise noise(11);
    trace.startNewSubPath(5.0f, 60.0f);
    for (int i = 1; i < 300; ++i)
        trace.lineTo(5.0f + 0.5f * static_cast<float>(i),
                     60.0f + 40.0f * std::sin(0.05f * static_cast<float>(i)) +
                         3.0f * static_cast<float>(noise.next()));
    juce::Path outline;
    ui_core::RoundStroker().createOutline(outline, trace, 2.5f, 0.5f);

    juce::Path shapes;
    shapes.addEllipse(20.0f, 10.0f, 70.0f, 50.0f);
    shapes.addEllipse(35.0f, 20.0f, 30.0f, 20.0f);
    shapes.addStar({120.0f, 80.0f}, 7, 10.0f, 30.0f, 0.3f);

    for (const auto& [path, transform, colour] :
         {std::tuple{outline, juce::AffineTransform::scale(0.5f).translated(3.25f, -1.5f),
                     juce::Colour(0xffe05020)},
          std::tuple{shapes, juce::AffineTransform(), juce::Colour(0xb3ffffff)},
          std::tuple{shapes, juce::AffineTransform::rotation(0.3f).scaled(1.3f), juce::Colour(0xff10ff80)}})
    {
        auto expected = background();
        {
            juce::Graphics g(expected);
            g.addTransform(transform);
            g.setColour(colour);
            g.fillPath(path);
        }
        auto actual = background();
        ui_core::ScanlineFiller filler;
        filler.fill(actual, path, transform, colour);
        EXPECT_TRUE(sameBytes(actual, expected));

        // The written spans hold every pixel that changed.
        const auto untouched = background();
        for (int y = 0; y < actual.getHeight(); ++y)
            for (int x = 0; x < actual.getWidth(); ++x)
            {
                if (actual.getPixelAt(x, y) == untouched.getPixelAt(x, y))
                    continue;
                ASSERT_TRUE(std::any_of(filler.getWrittenSpans().begin(), filler.getWrittenSpans().end(),
                                        [&](const auto& span) { return span.contains(x, y); }))
                    << x << ", " << y;
            }
    }
}
} // namespace
