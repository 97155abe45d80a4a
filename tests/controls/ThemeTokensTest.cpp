#include "controls/ThemeTokens.h"

#include "controls/ThemePalette.h"

#include "ThemeTestSupport.h"

TEST_F(ThemeTest, TextColoursAreTheirShadesForTheCurrentTheme)
{
    ui_core::setTheme(0.7f, 0.2f, 1.5f, 1.0f, true, 0.5f);

    const auto& text = ui_core::textColours();
    const auto& p = ui_core::palette();
    EXPECT_EQ(text[1], p.neutral9);
    EXPECT_EQ(text[2], p.neutral6);
    EXPECT_EQ(text[3], p.neutral3);
    EXPECT_EQ(text[4], p.primary5);
    EXPECT_EQ(text[5], p.primary8);
    EXPECT_EQ(text[0], p.neutral0);
    EXPECT_EQ(text[6], p.neutral0);
}
