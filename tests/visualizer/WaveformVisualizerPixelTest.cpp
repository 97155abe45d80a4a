#include "VisualizerSignals.h"
#include "VisualizerTestSupport.h"

#include "../controls/ThemeTestSupport.h"

#include <cmath>
#include <vector>

namespace
{
using ui_core::VisualizerStyle;
using ui_core::WaveformVisualizer;
using Mode = WaveformVisualizer::DisplayMode;
using Strength = WaveformVisualizer::GridStrength;

// Built-in look (black, glow off) with a white trace, no margins and square corners.
VisualizerStyle plainStyle()
{
    VisualizerStyle style;
    style.traceColour = juce::Colours::white;
    return style;
}

// Coverage-weighted centre and total coverage of the lit pixels (red channel).
struct Blob
{
    juce::Point<double> centre;
    double coverage = 0.0;
};

Blob litBlob(const juce::Image& image, juce::Rectangle<int> area)
{
    Blob blob;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto c = image.getPixelAt(x, y).getRed() / 255.0;
            blob.coverage += c;
            blob.centre += juce::Point<double>(x + 0.5, y + 0.5) * c;
        }
    if (blob.coverage > 0.0)
        blob.centre /= blob.coverage;
    return blob;
}

bool sameImage(const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt(x, y) != b.getPixelAt(x, y))
                return false;
    return true;
}

TEST(VisualizerPixels, ExtremePointsLandOnTheCornersOfTheDataArea)
{
    WaveformVisualizer visualizer;
    auto style = plainStyle();
    style.marginLeft = style.marginRight = style.marginTop = style.marginBottom = 10.0f;
    visualizer.setStyle(style);
    visualizer.setSize(121, 121); // data area (10, 10) to (111, 111)
    visualizer.setDisplayMode(Mode::scatter);
    visualizer.setPoints({{1.0, 1.0}, {-1.0, -1.0}});

    const auto image = visualizertest::render(visualizer);
    const auto topRight = litBlob(image, {100, 0, 21, 21});
    EXPECT_NEAR(topRight.centre.x, 111.0, 0.05);
    EXPECT_NEAR(topRight.centre.y, 10.0, 0.05);
    EXPECT_GT(image.getPixelAt(110, 10).getRed(), 128) << "the top-right pixel of the data area";

    const auto bottomLeft = litBlob(image, {0, 100, 21, 21});
    EXPECT_NEAR(bottomLeft.centre.x, 10.0, 0.05);
    EXPECT_NEAR(bottomLeft.centre.y, 111.0, 0.05);
    EXPECT_GT(image.getPixelAt(10, 110).getRed(), 128);
}

TEST(VisualizerPixels, OversizedCornerRadiusIsLimitedForTheMapping)
{
    WaveformVisualizer visualizer;
    auto style = plainStyle();
    style.cornerRadius = 1000.0f;
    visualizer.setStyle(style);
    visualizer.setSize(200, 100); // radius 50: data area (50, 50), 100 wide, 0 high
    visualizer.setDisplayMode(Mode::scatter);
    visualizer.setPoints({{1.0, 1.0}, {-1.0, -1.0}});

    const auto image = visualizertest::render(visualizer);
    EXPECT_NEAR(litBlob(image, {130, 30, 40, 40}).centre.x, 150.0, 0.05);
    EXPECT_NEAR(litBlob(image, {30, 30, 40, 40}).centre.x, 50.0, 0.05);
}

TEST(VisualizerPixels, OversizedMarginsDrawOnlyTheBackground)
{
    for (const auto& margins : {juce::Point<float>(150, 0), juce::Point<float>(0, 80)})
    {
        auto style = ui_core::themedVisualizerStyle();
        style.marginLeft = style.marginRight = margins.x;
        style.marginTop = style.marginBottom = margins.y;

        WaveformVisualizer empty, fed;
        for (auto* v : {&empty, &fed})
        {
            v->setStyle(style);
            v->setSize(200, 100);
        }
        fed.setPoints(visualizertest::liveCloud());
        EXPECT_TRUE(sameImage(visualizertest::render(fed), visualizertest::render(empty)));
    }
}

class VisualizerGrid : public ThemeTest
{
protected:
    // Themed, 216 x 216: plot (8, 0, 200, 216), data area (14, 6, 188, 204).
    juce::Image renderGrid(Strength strength)
    {
        WaveformVisualizer visualizer;
        visualizer.setStyle(ui_core::themedVisualizerStyle());
        visualizer.setSize(216, 216);
        visualizer.setGridStrength(strength);
        return visualizertest::render(visualizer);
    }

    // The background with a line of the themed line colour at `alpha` over it.
    static juce::Colour lineOver(float alpha)
    {
        const auto& p = ui_core::palette();
        return p.neutral0.overlaidWith(p.neutral4.withAlpha(alpha));
    }

    static void expectColour(juce::Colour actual, juce::Colour expected, const char* what)
    {
        EXPECT_NEAR(actual.getRed(), expected.getRed(), 1) << what;
        EXPECT_NEAR(actual.getGreen(), expected.getGreen(), 1) << what;
        EXPECT_NEAR(actual.getBlue(), expected.getBlue(), 1) << what;
    }
};

TEST_F(VisualizerGrid, LinesSitAtTenthsOfTheDataAreaAndSkipTheEdges)
{
    const auto image = renderGrid(Strength::faint);
    const auto background = ui_core::palette().neutral0;

    // Row 100 crosses the vertical lines only; column 40 the horizontal ones only.
    std::vector<int> columns, rows;
    for (int x = 20; x < 196; ++x)
        if (image.getPixelAt(x, 100) != background)
            columns.push_back(x);
    for (int y = 10; y < 206; ++y)
        if (image.getPixelAt(40, y) != background)
            rows.push_back(y);

    // x = trunc(14 + c * 188), y = trunc(6 + (1 - c) * 204) for c = 0.1 .. 0.9.
    EXPECT_EQ(columns, (std::vector<int>{32, 51, 70, 89, 108, 126, 145, 164, 183}));
    EXPECT_EQ(rows, (std::vector<int>{26, 46, 67, 87, 108, 128, 148, 169, 189}));
}

TEST_F(VisualizerGrid, FaintAndStrongScaleTheLineAlphas)
{
    struct Expectation
    {
        Strength strength;
        float minor, major, centre;
    };
    for (const auto& e :
         {Expectation{Strength::faint, 0.05f, 0.1f, 0.15f}, Expectation{Strength::medium, 0.15f, 0.3f, 0.45f},
          Expectation{Strength::strong, 0.3f, 0.6f, 0.9f}})
    {
        const auto image = renderGrid(e.strength);
        expectColour(image.getPixelAt(51, 100), lineOver(e.minor), "minor line at 0.2");
        expectColour(image.getPixelAt(70, 100), lineOver(e.major), "major line at 0.3");
        expectColour(image.getPixelAt(108, 100), lineOver(e.centre), "centre line");
        expectColour(image.getPixelAt(40, 169), lineOver(e.minor), "minor horizontal line at 0.2");
    }
}

TEST(VisualizerPixels, ScatterWithoutGlowDrawsOneRoundDotOfDiameterTwoPerPoint)
{
    // 64 x 32 points, 8 pixels apart.
    WaveformVisualizer visualizer;
    visualizer.setStyle(plainStyle());
    visualizer.setSize(512, 256);
    visualizer.setDisplayMode(Mode::scatter);
    std::vector<juce::Point<double>> points;
    for (int row = 0; row < 32; ++row)
        for (int column = 0; column < 64; ++column)
            points.push_back({(4.0 + 8.0 * column) / 256.0 - 1.0, 1.0 - (4.3 + 8.0 * row) / 128.0});
    visualizer.setPoints(points);
    ASSERT_EQ(points.size(), 2048u);

    const auto image = visualizertest::render(visualizer);
    int dots = 0;
    for (int row = 0; row < 32; ++row)
        for (int column = 0; column < 64; ++column)
        {
            const auto cell = litBlob(image, {8 * column, 8 * row, 8, 8});
            // A disc of radius 1 covers pi pixels; the stroke's caps stretch it by 0.01.
            if (std::abs(cell.coverage - juce::MathConstants<double>::pi) < 0.25 &&
                cell.centre.getDistanceFrom({4.005 + 8.0 * column, 4.3 + 8.0 * row}) < 0.05)
                ++dots;
        }
    EXPECT_EQ(dots, 2048);

    // Nothing between the cells: every lit pixel belongs to a dot.
    double total = litBlob(image, image.getBounds()).coverage;
    EXPECT_NEAR(total, 2048 * juce::MathConstants<double>::pi, 2048 * 0.25);
}

TEST(VisualizerPixels, TracesOfUnequalOrTooFewSamplesDrawNothing)
{
    WaveformVisualizer empty, unequal, single;
    for (auto* v : {&empty, &unequal, &single})
    {
        v->setStyle(plainStyle());
        v->setSize(120, 60);
    }
    unequal.setTraces(std::vector<float>(999, 0.5f), std::vector<float>(1000, -0.5f));
    single.setTraces({0.5f}, {0.5f});

    const auto background = visualizertest::render(empty);
    EXPECT_TRUE(sameImage(visualizertest::render(unequal), background));
    EXPECT_TRUE(sameImage(visualizertest::render(single), background));
    EXPECT_TRUE(unequal.getMainPath().isEmpty());
}

// The lit rows of a column of the image (red above half), or an empty range.
juce::Range<int> litRows(const juce::Image& image, int x)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.getHeight(); ++y)
        if (image.getPixelAt(x, y).getRed() > 128)
        {
            if (top < 0)
                top = y;
            bottom = y + 1;
        }
    return top < 0 ? juce::Range<int>() : juce::Range<int>(top, bottom);
}

class VisualizerAtScale : public ::testing::TestWithParam<int>
{
};

// A tone at 0.333 of the sampling rate over 8192 samples: far more cycles than pixels. Every column
// must show the whole swing of the samples it covers, not the slow wave that thinning out samples
// aliases it into. (Sampled three times a cycle, the samples' peaks beat between half and all of
// the amplitude; every column spans at least the half.)
TEST_P(VisualizerAtScale, ToneAboveTheResolutionFillsItsEnvelope)
{
    const auto scale = GetParam();
    WaveformVisualizer visualizer;
    visualizer.setStyle(plainStyle());
    visualizer.setSize(600, 200);
    std::vector<float> tone(8192);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<float>(0.8 * std::sin(2.0 * juce::MathConstants<double>::pi * 0.333 * i));
    visualizer.setTraces(tone, tone);

    // The samples' range in each column of the image, in its pixels.
    const auto layout = ui_core::VisualizerLayout::compute(600.0f, 200.0f, plainStyle());
    std::vector<juce::Range<float>> expected(static_cast<std::size_t>(600 * scale));
    for (int i = 0; i < 8192; ++i)
    {
        const auto p =
            layout.tracePixel(i, 8192, tone[static_cast<std::size_t>(i)]) * static_cast<float>(scale);
        auto& range = expected[static_cast<std::size_t>(std::min(static_cast<int>(p.x), 600 * scale - 1))];
        range = range.isEmpty() ? juce::Range<float>(p.y, p.y + 0.001f) : range.getUnionWith(p.y);
    }

    const auto image = visualizertest::render(visualizer, static_cast<float>(scale));
    int filled = 0;
    for (int x = 0; x < image.getWidth(); ++x)
    {
        const auto lit = litRows(image, x);
        const auto& samples = expected[static_cast<std::size_t>(x)];
        filled += lit.getStart() <= samples.getStart() + 1.0f && lit.getEnd() >= samples.getEnd() - 1.0f &&
                  lit.getStart() <= 60 * scale && lit.getEnd() >= 140 * scale; // +-0.4 at 60 and 140
    }
    EXPECT_GE(filled, image.getWidth() * 95 / 100) << "of " << image.getWidth() << " columns";

    // Thinned to the envelope: at most four vertices a display column.
    int vertices = 0;
    for (juce::Path::Iterator it(visualizer.getMainPath()); it.next();)
        ++vertices;
    EXPECT_LE(vertices, 4 * image.getWidth());
}

// The fitted curve with one grid point 0.2 above its neighbours (a narrow feature of a lightly
// smoothed fit): the column that holds it rises to it, its neighbours further away do not.
TEST_P(VisualizerAtScale, OnePointFeatureOfTheCurveShowsInItsColumn)
{
    const auto scale = GetParam();
    const auto width = scale >= 3 ? 1600 : 480; // at scale 3, 4800 pixels wide
    WaveformVisualizer visualizer;
    visualizer.setStyle(plainStyle());
    visualizer.setSize(width, 200);
    auto curve = visualizertest::frozenCurve();
    for (auto& p : curve)
        p.y = 0.25 * p.x;
    constexpr std::size_t feature = 10001;
    curve[feature].y += 0.2;
    visualizer.setPoints(curve);

    const auto image = visualizertest::render(visualizer, static_cast<float>(scale));
    const auto layout = ui_core::VisualizerLayout::compute(static_cast<float>(width), 200.0f, plainStyle());
    const auto peak = layout.toPixel(curve[feature].x, curve[feature].y) * static_cast<float>(scale);
    const auto line = layout.toPixel(curve[feature].x, curve[feature].y - 0.2) * static_cast<float>(scale);
    const auto column = static_cast<int>(peak.x);

    auto highest = image.getHeight();
    for (int x = column - 1; x <= column + 1; ++x)
        highest = std::min(highest, litRows(image, x).getStart());
    EXPECT_NEAR(highest, peak.y, 1.5 * scale) << "the feature's top";
    for (const auto away : {-12 * scale, 12 * scale})
    {
        const auto rows = litRows(image, column + away);
        ASSERT_FALSE(rows.isEmpty()) << "the line is drawn";
        EXPECT_NEAR(rows.getStart(), line.y, 2.5 * scale) << "beside the feature, the line";
    }
}

INSTANTIATE_TEST_SUITE_P(DisplayScales, VisualizerAtScale, ::testing::Values(1, 2, 3));

// At scale 3 and 4 the largest window's plot is wider and taller than the sharp line's filler takes
// (4096 pixels): the line is drawn all the same, along its whole length.
TEST(VisualizerPixels, LineIsDrawnAtScalesThreeAndFourInTheLargestWindow)
{
    for (const auto scale : {3, 4})
    {
        WaveformVisualizer visualizer;
        visualizer.setStyle(plainStyle());
        visualizer.setSize(1600, 1930);
        auto curve = visualizertest::frozenCurve();
        visualizer.setPoints(curve);

        const auto image = visualizertest::render(visualizer, static_cast<float>(scale));
        const auto layout = ui_core::VisualizerLayout::compute(1600.0f, 1930.0f, plainStyle());
        int onTheCurve = 0, columns = 0;
        for (int x = scale; x < image.getWidth() - scale; x += 7)
        {
            ++columns;
            const auto value = 2.0 * (x + 0.5) / image.getWidth() - 1.0;
            const auto y = layout.toPixel(value, visualizertest::device(value)).y * static_cast<float>(scale);
            const auto rows = litRows(image, x);
            onTheCurve +=
                !rows.isEmpty() && rows.getStart() <= y + 2 * scale && rows.getEnd() >= y - 2 * scale;
        }
        EXPECT_EQ(onTheCurve, columns) << "scale " << scale;
    }
}

TEST(VisualizerPixels, BackgroundFollowsTheDisplayScaleAndIsRenderedOncePerScale)
{
    WaveformVisualizer visualizer;
    visualizer.setStyle(ui_core::themedVisualizerStyle());
    visualizer.setSize(200, 120);
    const auto& cache = visualizer.getBackgroundCache();

    visualizertest::render(visualizer, 1.5f);
    EXPECT_EQ(cache.getRenderCount(), 1);
    EXPECT_EQ(cache.getScale(), 1.5f);
    EXPECT_EQ(cache.getImage().getWidth(), 300);
    EXPECT_EQ(cache.getImage().getHeight(), 180);

    visualizertest::render(visualizer, 1.0f);
    visualizertest::render(visualizer, 1.0f);
    EXPECT_EQ(cache.getRenderCount(), 2) << "re-rendered exactly once for the new scale";
    EXPECT_EQ(cache.getImage().getWidth(), 200);

    visualizer.setGridStrength(Strength::strong);
    visualizertest::render(visualizer, 1.0f);
    EXPECT_EQ(cache.getRenderCount(), 3);
}
} // namespace
