#include "visualizer/ImageUpscaler.h"
#include "VisualizerSignals.h"

#include <gtest/gtest.h>

namespace
{
using ui_core::ImageUpscaler;

// A soft blob with clear surroundings, like a glow image, premultiplied.
juce::Image glowLikeImage(int width, int height, std::uint32_t seed)
{
    juce::Image image(juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    visualizertest::Noise noise(seed);
    juce::Graphics g(image);
    for (int i = 0; i < 12; ++i)
    {
        g.setColour(juce::Colour::fromFloatRGBA(static_cast<float>(noise.next() * 0.5 + 0.5), 0.3f, 0.8f,
                                                static_cast<float>(noise.next() * 0.4 + 0.6)));
        g.fillEllipse(static_cast<float>((noise.next() * 0.4 + 0.5) * width),
                      static_cast<float>((noise.next() * 0.4 + 0.5) * height), 3.0f, 2.0f);
    }
    return image;
}

juce::Image renderWith(float scale, const std::function<void(juce::Graphics&)>& draw)
{
    juce::Image target(juce::Image::ARGB, juce::roundToInt(120 * scale), juce::roundToInt(90 * scale), false,
                       juce::SoftwareImageType());
    target.clear(target.getBounds(), juce::Colour(0xff203040));
    juce::Graphics g(target);
    g.addTransform(juce::AffineTransform::scale(scale));
    draw(g);
    return target;
}

bool sameImage(const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}

struct Stretch
{
    float scale;           // of the display
    juce::Point<float> at; // where the half-resolution image goes
};

class UpscalerAgreement : public ::testing::TestWithParam<std::tuple<Stretch, ImageUpscaler::Path>>
{
};

// The stretch must give the pixels the framework gives with high-quality resampling: at display
// scales 1 and 2 (factors 2 and 4), at whole and at quarter-pixel positions, on either path.
TEST_P(UpscalerAgreement, GivesTheFrameworksPixels)
{
    const auto [stretch, path] = GetParam();
    const auto source = glowLikeImage(40, 30, 3);
    const juce::Rectangle<float> placement(stretch.at.x, stretch.at.y, 80.0f, 60.0f);

    const auto expected =
        renderWith(stretch.scale,
                   [&](juce::Graphics& g)
                   {
                       g.setImageResamplingQuality(juce::Graphics::highResamplingQuality);
                       g.drawImage(source, placement, juce::RectanglePlacement::stretchToFit);
                   });
    ImageUpscaler upscaler(path);
    const auto actual = renderWith(stretch.scale, [&](juce::Graphics& g)
                                   { upscaler.draw(g, source, source.getBounds(), placement); });
    EXPECT_TRUE(sameImage(actual, expected));
}

INSTANTIATE_TEST_SUITE_P(
    Stretches, UpscalerAgreement,
    ::testing::Combine(::testing::Values(Stretch{1.0f, {10.0f, 12.0f}}, Stretch{1.0f, {-6.25f, 3.75f}},
                                         Stretch{2.0f, {10.0f, 12.0f}}, Stretch{2.0f, {9.5f, -0.25f}}),
                       ::testing::Values(ImageUpscaler::Path::automatic, ImageUpscaler::Path::scalar)));

TEST(Upscaler, DrawsOnlyWhereAllowedAndWithinTheClip)
{
    const auto source = glowLikeImage(40, 30, 5);
    const juce::Rectangle<float> placement(0.0f, 0.0f, 80.0f, 60.0f);
    const juce::RectangleList<int> within(juce::Rectangle<int>(0, 0, 50, 90));
    ImageUpscaler upscaler;

    const auto limited = renderWith(1.0f,
                                    [&](juce::Graphics& g)
                                    {
                                        g.reduceClipRegion(0, 0, 120, 40);
                                        upscaler.draw(g, source, source.getBounds(), placement, &within);
                                    });
    const auto full = renderWith(1.0f,
                                 [&](juce::Graphics& g)
                                 {
                                     g.setImageResamplingQuality(juce::Graphics::highResamplingQuality);
                                     g.drawImage(source, placement, juce::RectanglePlacement::stretchToFit);
                                 });
    const auto untouched = renderWith(1.0f, [](juce::Graphics&) {});
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
        {
            const auto inside = x < 50 && y < 40;
            ASSERT_EQ(limited.getPixelAt(x, y), (inside ? full : untouched).getPixelAt(x, y))
                << x << ", " << y;
        }
}
} // namespace
