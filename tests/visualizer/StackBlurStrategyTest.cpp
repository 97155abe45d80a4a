#include "visualizer/StackBlurStrategy.h"
#include "VisualizerSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
using ui_core::StackBlurStrategy;
using Path = StackBlurStrategy::Path;

juce::Image randomImage(int width, int height, std::uint32_t seed)
{
    juce::Image image(juce::Image::ARGB, width, height, false, juce::SoftwareImageType());
    visualizertest::Noise noise(seed);
    const juce::Image::BitmapData data(image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 4; ++x)
            data.getLinePointer(y)[x] = static_cast<juce::uint8>((noise.next() + 1.0) * 127.9);
    return image;
}

std::vector<juce::uint8> bytesOf(const juce::Image& image)
{
    const juce::Image::BitmapData data(image, juce::Image::BitmapData::readOnly);
    std::vector<juce::uint8> bytes;
    for (int y = 0; y < data.height; ++y)
        bytes.insert(bytes.end(), data.getLinePointer(y), data.getLinePointer(y) + data.width * 4);
    return bytes;
}

// The blur from its definition: each channel of each pixel becomes the sum of its 2r + 1
// neighbours weighted r + 1 - |offset|, edges replicated, divided by (r + 1)^2 (integer division);
// rows first, then columns.
std::vector<juce::uint8> triangleBlur(const juce::Image& image, int r)
{
    const int width = image.getWidth(), height = image.getHeight();
    auto bytes = bytesOf(image);
    auto at = [&](int x, int y, int c) -> juce::uint8&
    { return bytes[static_cast<std::size_t>((y * width + x) * 4 + c)]; };
    const int divisor = (r + 1) * (r + 1);

    for (const bool rows : {true, false})
    {
        const auto source = bytes;
        auto sourceAt = [&](int x, int y, int c)
        { return source[static_cast<std::size_t>((y * width + x) * 4 + c)]; };
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 4; ++c)
                {
                    int sum = 0;
                    for (int offset = -r; offset <= r; ++offset)
                    {
                        const auto sx = rows ? std::clamp(x + offset, 0, width - 1) : x;
                        const auto sy = rows ? y : std::clamp(y + offset, 0, height - 1);
                        sum += (r + 1 - std::abs(offset)) * sourceAt(sx, sy, c);
                    }
                    at(x, y, c) = static_cast<juce::uint8>(sum / divisor);
                }
    }
    return bytes;
}

std::vector<juce::uint8> blurred(const juce::Image& original, int radius, Path path)
{
    auto image = original.createCopy();
    StackBlurStrategy(radius, path).apply(image);
    return bytesOf(image);
}

struct BlurCase
{
    int width, height, radius;
};

class StackBlur : public ::testing::TestWithParam<BlurCase>
{
};

TEST_P(StackBlur, BothPathsAgreeWithTheTriangleKernel)
{
    const auto [width, height, radius] = GetParam();
    const auto image =
        randomImage(width, height, static_cast<std::uint32_t>(width * 131 + height * 7 + radius));
    const auto expected = triangleBlur(image, std::clamp(radius, 1, 31));

    EXPECT_EQ(blurred(image, radius, Path::scalar), expected);
    EXPECT_EQ(blurred(image, radius, Path::vector), expected);
}

// Odd sizes (rows and columns left over from the groups of four), an image too narrow for the
// vector path, radii beyond the window and at both limits.
INSTANTIATE_TEST_SUITE_P(Sizes, StackBlur,
                         ::testing::Values(BlurCase{37, 23, 2}, BlurCase{5, 9, 7}, BlurCase{101, 7, 31},
                                           BlurCase{4, 4, 3}, BlurCase{3, 100, 4}, BlurCase{100, 3, 4},
                                           BlurCase{1, 1, 5}, BlurCase{19, 13, 0}, BlurCase{19, 13, 50}));

TEST(StackBlurWithin, LeavingClearPartsAloneChangesNothing)
{
    // A few strokes in a clear image, told by the runs that hold them.
    juce::Image image(juce::Image::ARGB, 61, 47, true, juce::SoftwareImageType());
    std::vector<juce::Rectangle<int>> written;
    visualizertest::Noise noise(9);
    for (int i = 0; i < 30; ++i)
    {
        const juce::Rectangle<int> run(static_cast<int>((noise.next() + 1.0) * 25.0),
                                       static_cast<int>((noise.next() + 1.0) * 23.0),
                                       1 + static_cast<int>((noise.next() + 1.0) * 4.0), 1);
        image.clear(run, juce::Colour(0xffa03010));
        written.push_back(run);
    }
    for (const auto path : {Path::scalar, Path::vector})
        for (const auto radius : {2, 7})
        {
            auto whole = image.createCopy(), within = image.createCopy();
            StackBlurStrategy(radius, path).apply(whole);
            StackBlurStrategy(radius, path).applyWithin(within, written);
            EXPECT_EQ(bytesOf(within), bytesOf(whole)) << radius;
        }
}

TEST(StackBlurRadius, IsLimitedToOneTo31)
{
    EXPECT_EQ(StackBlurStrategy(0).getRadius(), 1);
    EXPECT_EQ(StackBlurStrategy(-4).getRadius(), 1);
    EXPECT_EQ(StackBlurStrategy(50).getRadius(), 31);
    EXPECT_EQ(StackBlurStrategy(31).getRadius(), 31);
}

TEST(StackBlurRadius, KeyFollowsTheTraceThickness)
{
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(1.75f), 2);
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(2.0f), 2);
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(4.0f), 4);
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(5.9995f), 6) << "within 0.001 below counts as reached";
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(40.0f), 31);
    EXPECT_EQ(StackBlurStrategy::keyForMeasure(std::numeric_limits<float>::quiet_NaN()), 2);
    for (int key = 2; key <= 31; ++key)
        EXPECT_EQ(StackBlurStrategy::radiusForKey(key), key);
}

TEST(StackBlurPaths, VectorPathIsAvailableOnThisMachine)
{
    // The agreement tests above mean nothing for the vector path without it.
    if (!juce::SystemStats::hasSSE41())
        GTEST_SKIP() << "no SSE4.1 here: only the scalar path ran";
    EXPECT_TRUE(StackBlurStrategy::vectorPathAvailable());
}
} // namespace
