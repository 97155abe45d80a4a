#include "controls/ThemePalette.h"

#include "ThemeTestSupport.h"

#include <cmath>

namespace
{
// The textbook HSV to RGB conversion, written independently of the framework's.
juce::Colour hsv(double hue, double saturation, double value)
{
    const auto sector = std::fmod(hue * 6.0, 6.0);
    const auto whole = static_cast<int>(std::floor(sector));
    const auto fraction = sector - whole;
    const auto p = value * (1.0 - saturation);
    const auto q = value * (1.0 - saturation * fraction);
    const auto t = value * (1.0 - saturation * (1.0 - fraction));

    double r = value, g = t, b = p;
    switch (whole)
    {
        case 1:
            r = q, g = value, b = p;
            break;
        case 2:
            r = p, g = value, b = t;
            break;
        case 3:
            r = p, g = q, b = value;
            break;
        case 4:
            r = t, g = p, b = value;
            break;
        case 5:
            r = value, g = p, b = q;
            break;
        default:
            break;
    }
    const auto byte = [](double channel) { return static_cast<juce::uint8>(std::lround(channel * 255.0)); };
    return juce::Colour(byte(r), byte(g), byte(b));
}

// Within one step of 255 per channel: the two conversions may round a half differently.
::testing::AssertionResult closeTo(juce::Colour actual, juce::Colour expected)
{
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    if (near(actual.getRed(), expected.getRed()) && near(actual.getGreen(), expected.getGreen()) &&
        near(actual.getBlue(), expected.getBlue()) && actual.getAlpha() == 255)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual.toDisplayString(true) << " is not " << expected.toDisplayString(true);
}
} // namespace

TEST_F(ThemeTest, DefaultShadesAreTheRampColoursOfTheDefaultHue)
{
    const auto& p = ui_core::palette();

    EXPECT_TRUE(closeTo(p.neutral1, hsv(0.011, 0.027, 0.10)));
    EXPECT_TRUE(closeTo(p.primary6, hsv(0.011, 0.623, 0.90)));
    EXPECT_TRUE(closeTo(p.secondary0, hsv(0.086, 1.0, 0.30)));
    EXPECT_TRUE(closeTo(p.neutral9, hsv(0.011, 0.027, 0.94)));
    EXPECT_TRUE(closeTo(p.primary10, hsv(0.011, 0.474, 0.99)));
}

TEST_F(ThemeTest, ScaledSaturationIsLimitedToOne)
{
    ui_core::setTheme(0.5f, 0.25f, 2.0f, 2.0f, true, 0.5f);

    EXPECT_TRUE(closeTo(ui_core::primaryShade(0), hsv(0.5, 1.0, 0.30)));    // 2 x 0.948
    EXPECT_TRUE(closeTo(ui_core::primaryShade(9), hsv(0.5, 1.0, 0.98)));    // 2 x 0.501
    EXPECT_TRUE(closeTo(ui_core::secondaryShade(3), hsv(0.25, 1.0, 0.58))); // 2 x 0.964
    EXPECT_TRUE(closeTo(ui_core::neutralShade(4), hsv(0.5, 0.108, 0.27)));  // 2 x 0.054
}

TEST_F(ThemeTest, SecondaryRampFollowsTheSecondaryHueAndScale)
{
    ui_core::setTheme(0.1f, 0.6f, 1.0f, 0.5f, true, 0.5f);

    EXPECT_TRUE(closeTo(ui_core::secondaryShade(5), hsv(0.6, 0.4285, 0.88)));
    EXPECT_TRUE(closeTo(ui_core::neutralShade(2), hsv(0.1, 0.041, 0.14)));
}

TEST_F(ThemeTest, ShadeIndexBeyondTheRampGivesItsLastStep)
{
    EXPECT_EQ(ui_core::neutralShade(12), ui_core::neutralShade(9));
    EXPECT_EQ(ui_core::primaryShade(15), ui_core::primaryShade(10));
    EXPECT_EQ(ui_core::secondaryShade(std::size_t(-1)), ui_core::secondaryShade(10));
    EXPECT_NE(ui_core::neutralShade(8), ui_core::neutralShade(9));
}

TEST_F(ThemeTest, PaletteFollowsSetTheme)
{
    const auto before = ui_core::palette().primary6;

    ui_core::setTheme(0.6f, 0.086f, 1.0f, 1.0f, true, 0.716f);

    EXPECT_NE(ui_core::palette().primary6, before);
    EXPECT_TRUE(closeTo(ui_core::palette().primary6, hsv(0.6, 0.623, 0.90)));
    EXPECT_EQ(ui_core::palette().secondary6, ui_core::secondaryShade(6));
}
