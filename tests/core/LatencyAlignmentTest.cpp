#include "core/LatencyAlignment.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
constexpr int snapshotLength = 131072;
constexpr int captureLength = 16384;
constexpr int start = snapshotLength - captureLength;

// Each sample holds its own position, so a pair tells where both of its samples were taken.
// Y's positions are offset so that swapped streams cannot pass.
std::vector<double> positions(double offset)
{
    std::vector<double> v(snapshotLength);
    for (int i = 0; i < snapshotLength; ++i)
        v[(std::size_t) i] = offset + i;
    return v;
}

constexpr double yOffset = 1.0e6;

struct AlignmentCase
{
    const char* name;
    double latencyX, latencyY;
    std::size_t pairs;
    double firstXPosition, firstYPosition; // of pair 0, relative to the first captured pair
};

void PrintTo(const AlignmentCase& c, std::ostream* os)
{
    *os << c.name;
}

class LatencyAlignmentCases : public ::testing::TestWithParam<AlignmentCase>
{
};
} // namespace

TEST_P(LatencyAlignmentCases, PairsEachYSampleWithTheXSampleTheLatenciesPointTo)
{
    const auto& c = GetParam();
    const auto aligned = LatencyAlignment::alignCapture(positions(0.0), positions(yOffset), captureLength,
                                                        c.latencyX, c.latencyY);
    ASSERT_TRUE(aligned.has_value());
    ASSERT_EQ(aligned->x.size(), c.pairs);
    ASSERT_EQ(aligned->y.size(), c.pairs);

    for (std::size_t k = 0; k < c.pairs; ++k)
    {
        ASSERT_NEAR(aligned->x[k], start + c.firstXPosition + (double) k, 1e-9) << k;
        ASSERT_NEAR(aligned->y[k] - yOffset, start + c.firstYPosition + (double) k, 1e-9) << k;
        // X is taken latencyX before, Y latencyY before, one common reference.
        ASSERT_NEAR((aligned->y[k] - yOffset) - aligned->x[k], c.latencyX - c.latencyY, 1e-9) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    LatencyAlignment, LatencyAlignmentCases,
    ::testing::Values(AlignmentCase{"none", 0.0, 0.0, 16384, 0.0, 0.0},
                      AlignmentCase{"x3", 3.0, 0.0, 16381, 0.0, 3.0},
                      AlignmentCase{"y3", 0.0, 3.0, 16381, 3.0, 0.0},
                      // C = 2: X from 0 interpolated half a sample on, Y from 2; two trimmed at each end.
                      AlignmentCase{"x1_5", 1.5, 0.0, 16376, 2.5, 4.0},
                      AlignmentCase{"x2_25y0_75", 2.25, 0.75, 16375, 2.75, 4.25},
                      AlignmentCase{"both512", 512.0, 512.0, 15872, 0.0, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LatencyAlignment, UsesTheWholeSnapshotWhenItIsShorterThanTheCaptureLength)
{
    const std::vector<double> x{1, 2, 3, 4, 5, 6}, y{10, 20, 30, 40, 50, 60};
    const auto aligned = LatencyAlignment::alignCapture(x, y, captureLength, 2.0, 0.0);
    ASSERT_TRUE(aligned.has_value());
    EXPECT_EQ(aligned->x, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(aligned->y, (std::vector<double>{30, 40, 50, 60}));
}

struct SkipCase
{
    const char* name;
    std::size_t length;
    double latencyX, latencyY;
};

void PrintTo(const SkipCase& c, std::ostream* os)
{
    *os << c.name;
}

class LatencyAlignmentSkips : public ::testing::TestWithParam<SkipCase>
{
};

TEST_P(LatencyAlignmentSkips, LeavesNothingToEstimate)
{
    const auto& c = GetParam();
    const std::vector<double> x(c.length, 0.5), y(c.length, 0.25);
    EXPECT_FALSE(LatencyAlignment::alignCapture(x, y, captureLength, c.latencyX, c.latencyY).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    LatencyAlignment, LatencyAlignmentSkips,
    ::testing::Values(SkipCase{"emptySnapshot", 0, 0.0, 0.0},
                      SkipCase{"latencyConsumesEverything", 5, 5.0, 0.0},
                      // Whole latencies: one pair left is enough.
                      // Fractional: M = 10 - 2 - 4 = 4 would leave nothing after the trim.
                      SkipCase{"fractionalTrimLeavesNothing", 10, 3.5, 0.0},
                      SkipCase{"notANumber", 100, std::numeric_limits<double>::quiet_NaN(), 0.0},
                      SkipCase{"negative", 100, 0.0, -1.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LatencyAlignment, KeepsOnePairWhenTheLatenciesLeaveExactlyOne)
{
    const std::vector<double> x{1, 2, 3, 4, 5}, y{10, 20, 30, 40, 50};
    const auto whole = LatencyAlignment::alignCapture(x, y, captureLength, 4.0, 0.0);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->x, std::vector<double>{1});
    EXPECT_EQ(whole->y, std::vector<double>{50});

    // Fractional: M = 11 - 2 - 4 = 5 leaves one pair after the trim.
    const std::vector<double> x11(11, 0.5), y11(11, 0.25);
    const auto fractional = LatencyAlignment::alignCapture(x11, y11, captureLength, 3.5, 0.0);
    ASSERT_TRUE(fractional.has_value());
    EXPECT_EQ(fractional->x.size(), 1u);
}

TEST(LatencyAlignment, RefusesStreamsOfDifferentLengths)
{
    const std::vector<double> x(100, 0.5), y(99, 0.25);
    EXPECT_FALSE(LatencyAlignment::alignCapture(x, y, captureLength, 0.0, 0.0).has_value());
}
