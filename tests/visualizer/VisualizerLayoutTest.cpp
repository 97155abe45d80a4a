#include "visualizer/VisualizerLayout.h"

#include <gtest/gtest.h>

namespace
{
using ui_core::VisualizerLayout;
using ui_core::VisualizerStyle;

VisualizerStyle withFrame(float left, float right, float top, float bottom, float radius)
{
    VisualizerStyle style;
    style.marginLeft = left;
    style.marginRight = right;
    style.marginTop = top;
    style.marginBottom = bottom;
    style.cornerRadius = radius;
    return style;
}

TEST(VisualizerLayout, DataAreaIsThePlotInsetByTheCornerRadius)
{
    const auto layout = VisualizerLayout::compute(700.0f, 482.0f, withFrame(8, 8, 0, 0, 6));
    EXPECT_EQ(layout.plotBounds, juce::Rectangle<float>(8, 0, 684, 482));
    EXPECT_EQ(layout.dataBounds, juce::Rectangle<float>(14, 6, 672, 470));
}

TEST(VisualizerLayout, CornerRadiusIsLimitedToHalfTheShorterSide)
{
    const auto layout = VisualizerLayout::compute(200.0f, 100.0f, withFrame(0, 0, 0, 0, 1000));
    EXPECT_EQ(layout.cornerRadius, 50.0f);
    EXPECT_EQ(layout.dataBounds, juce::Rectangle<float>(50, 50, 100, 0));

    EXPECT_EQ(VisualizerLayout::compute(200.0f, 100.0f, withFrame(0, 0, 0, 0, -3)).cornerRadius, 0.0f);
}

TEST(VisualizerLayout, OversizedMarginsLeaveNoDataAreaInEitherDirection)
{
    // Too wide, too high, and both: with a corner radius, a negative width must not turn into a
    // larger data height (nor the other way round).
    for (const auto& style :
         {withFrame(150, 150, 0, 0, 6), withFrame(0, 0, 80, 80, 6), withFrame(300, 0, 0, 300, 0)})
    {
        const auto layout = VisualizerLayout::compute(200.0f, 100.0f, style);
        EXPECT_EQ(layout.dataBounds.getWidth(), 0.0f);
        EXPECT_EQ(layout.dataBounds.getHeight(), 0.0f);
        EXPECT_TRUE(layout.plotBounds.isEmpty());
    }
}

TEST(VisualizerLayout, ValuesMapToTheDataAreaWithPlusOneAtTheTop)
{
    const auto layout = VisualizerLayout::compute(120.0f, 60.0f, withFrame(10, 10, 5, 5, 0));
    EXPECT_EQ(layout.toPixel(1.0, 1.0), juce::Point<float>(110, 5));
    EXPECT_EQ(layout.toPixel(-1.0, -1.0), juce::Point<float>(10, 55));
    EXPECT_EQ(layout.toPixel(0.0, 0.5), juce::Point<float>(60, 17.5f));

    // Trace samples run from the left to the right edge; values beyond -1..+1 are clamped.
    EXPECT_EQ(layout.tracePixel(0, 5, 2.0f), juce::Point<float>(10, 5));
    EXPECT_EQ(layout.tracePixel(4, 5, -1.0f), juce::Point<float>(110, 55));
    EXPECT_EQ(layout.tracePixel(2, 5, 0.0f), juce::Point<float>(60, 30));
}
} // namespace
