#include "controls/ThemeSettings.h"

#include "ThemeTestSupport.h"

#include <limits>

using ui_core::setTheme;
using ui_core::themeSettings;

namespace
{
struct ClampCase
{
    const char* name;
    float primaryHue, secondaryHue, primarySaturation, secondarySaturation, glowIntensity;
    float expectedPrimaryHue, expectedSecondaryHue, expectedPrimarySaturation, expectedSecondarySaturation,
        expectedGlowIntensity;
};

void PrintTo(const ClampCase& c, std::ostream* out)
{
    *out << c.name;
}

constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
} // namespace

class ThemeClampTest : public ThemeTest, public ::testing::WithParamInterface<ClampCase>
{
};

TEST_P(ThemeClampTest, StoresEachValueWithinItsRange)
{
    const auto& c = GetParam();
    setTheme(c.primaryHue, c.secondaryHue, c.primarySaturation, c.secondarySaturation, false,
             c.glowIntensity);

    const auto& stored = themeSettings();
    EXPECT_FLOAT_EQ(stored.primaryHue, c.expectedPrimaryHue);
    EXPECT_FLOAT_EQ(stored.secondaryHue, c.expectedSecondaryHue);
    EXPECT_FLOAT_EQ(stored.primarySaturationScale, c.expectedPrimarySaturation);
    EXPECT_FLOAT_EQ(stored.secondarySaturationScale, c.expectedSecondarySaturation);
    EXPECT_FALSE(stored.glowEnabled);
    EXPECT_FLOAT_EQ(stored.glowIntensity, c.expectedGlowIntensity);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ThemeClampTest,
    ::testing::Values(ClampCase{"InRange", 0.5f, 0.25f, 1.5f, 0.5f, 0.3f, 0.5f, 0.25f, 1.5f, 0.5f, 0.3f},
                      ClampCase{"AboveRange", 1.3f, 7.0f, 3.0f, 2.5f, 1.5f, 1.0f, 1.0f, 2.0f, 2.0f, 1.0f},
                      ClampCase{"BelowRange", -0.2f, -1.0f, 0.1f, 0.0f, -0.5f, 0.0f, 0.0f, 0.25f, 0.25f,
                                0.0f},
                      ClampCase{"NotANumberFallsBackToDefault", nan, nan, nan, nan, nan, 0.011f, 0.086f, 1.0f,
                                1.0f, 0.716f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ThemeTest, EverySetThemeBumpsTheVersionByOneEvenWithoutChange)
{
    const auto before = ui_core::currentThemeVersion();
    const auto& s = themeSettings();

    setTheme(s.primaryHue, s.secondaryHue, s.primarySaturationScale, s.secondarySaturationScale,
             s.glowEnabled, s.glowIntensity);
    EXPECT_EQ(ui_core::currentThemeVersion(), before + 1);

    setTheme(0.5f, 0.5f, 1.0f, 1.0f, true, 0.5f);
    EXPECT_EQ(ui_core::currentThemeVersion(), before + 2);
}
