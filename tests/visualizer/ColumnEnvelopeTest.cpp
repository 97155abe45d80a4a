#include "visualizer/ColumnEnvelope.h"
#include "VisualizerSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace
{
std::vector<juce::Point<float>> thin(const std::vector<juce::Point<float>>& line, float scale)
{
    juce::Path path;
    ui_core::ColumnEnvelope envelope;
    envelope.begin(path, scale);
    for (const auto& p : line)
        envelope.add(p);
    envelope.end();

    std::vector<juce::Point<float>> vertices;
    for (juce::Path::Iterator it(path); it.next();)
        vertices.push_back({it.x1, it.y1});
    return vertices;
}

struct Range
{
    float low = 1.0e9f, high = -1.0e9f;
    void add(float y) { low = std::min(low, y), high = std::max(high, y); }
};

std::map<int, Range> rangesByColumn(const std::vector<juce::Point<float>>& points, float scale)
{
    std::map<int, Range> ranges;
    for (const auto& p : points)
        ranges[static_cast<int>(std::floor(p.x * scale))].add(p.y);
    return ranges;
}

class ColumnEnvelopeAtScale : public ::testing::TestWithParam<float>
{
};

// Noise and a tone near the sampling rate over 20 points a column: each column keeps exactly its
// range, with at most four points (its ends and its extremes), and the line its two ends.
TEST_P(ColumnEnvelopeAtScale, KeepsEveryColumnsRangeAndBothEndsWithFourPointsAColumnAtMost)
{
    const auto scale = GetParam();
    visualizertest::Noise noise(3);
    std::vector<juce::Point<float>> line;
    for (int i = 0; i < 8000; ++i)
        line.push_back({10.0f + static_cast<float>(i) * 0.05f / scale,
                        100.0f + 60.0f * std::sin(2.094f * static_cast<float>(i)) +
                            10.0f * static_cast<float>(noise.next())});

    const auto vertices = thin(line, scale);
    const auto expected = rangesByColumn(line, scale);
    const auto kept = rangesByColumn(vertices, scale);
    ASSERT_EQ(kept.size(), expected.size());
    for (const auto& [column, range] : expected)
    {
        EXPECT_EQ(kept.at(column).low, range.low) << column;
        EXPECT_EQ(kept.at(column).high, range.high) << column;
    }
    EXPECT_LE(vertices.size(), 4 * expected.size());
    EXPECT_EQ(vertices.front(), line.front());
    EXPECT_EQ(vertices.back(), line.back());
    EXPECT_TRUE(std::is_sorted(vertices.begin(), vertices.end(),
                               [](const auto& a, const auto& b) { return a.x < b.x; }))
        << "the extremes of a column in the order they come";
}

// A line with no more than two points a column is kept whole, a one-point spike included; a line
// that only rises keeps two points a column.
TEST_P(ColumnEnvelopeAtScale, KeepsSparseLinesWhole)
{
    const auto scale = GetParam();
    std::vector<juce::Point<float>> line;
    for (int i = 0; i < 300; ++i)
        line.push_back({static_cast<float>(i) * 0.7f / scale, i == 137 ? 20.0f : 50.0f + 0.1f * i});
    EXPECT_EQ(thin(line, scale), line);

    std::vector<juce::Point<float>> rising;
    for (int i = 0; i < 3000; ++i)
        rising.push_back({static_cast<float>(i) * 0.1f / scale, 200.0f - 0.05f * static_cast<float>(i)});
    EXPECT_LE(thin(rising, scale).size(), 2 * rangesByColumn(rising, scale).size());
}

INSTANTIATE_TEST_SUITE_P(DisplayScales, ColumnEnvelopeAtScale, ::testing::Values(1.0f, 2.0f, 3.0f));
} // namespace
