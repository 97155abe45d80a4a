#include "visualizer/ThemedVisualizerStyle.h"
#include "controls/ThemePalette.h"

#include "../controls/ThemeTestSupport.h"

namespace
{
TEST_F(ThemeTest, ThemedStyleFollowsTheThemeAndItsGlowSettings)
{
    const auto before = ui_core::themedVisualizerStyle();
    EXPECT_EQ(before.traceColour, ui_core::palette().primary6);
    EXPECT_EQ(before.secondTraceColour, ui_core::palette().secondary7);
    EXPECT_EQ(before.cornerMaskColour, ui_core::palette().neutral1);
    EXPECT_TRUE(before.glowEnabled);
    EXPECT_EQ(before.marginLeft, 8.0f);
    EXPECT_EQ(before.cornerRadius, 6.0f);
    EXPECT_EQ(before.edgeShadeDepth, before.cornerRadius);

    ui_core::setTheme(0.5f, 0.2f, 1.0f, 1.0f, false, 0.3f);
    const auto after = ui_core::themedVisualizerStyle();
    EXPECT_FALSE(after.glowEnabled);
    EXPECT_EQ(after.glowIntensity, 0.3f);
    EXPECT_EQ(after.traceColour, ui_core::palette().primary6);
    EXPECT_NE(after.traceColour, before.traceColour);
    EXPECT_TRUE(after != before);
}
} // namespace
