#include "editor/ThemeOverlayStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_panels
{
namespace
{
auto fields(const ThemeOverlayStyle& s)
{
    return std::tie(s.cardBackground, s.cardBorder, s.cornerRadius, s.borderThickness, s.padding, s.cardWidth,
                    s.titleColour, s.titleFont, s.labelColour, s.labelFont, s.valueColour, s.valueFont,
                    s.trackColour, s.thumbColour, s.rowHeight, s.gap, s.swatchWidth, s.swatchCornerRadius,
                    s.buttonStyle, s.buttonHeight, s.buttonGap);
}
} // namespace

bool ThemeOverlayStyle::operator==(const ThemeOverlayStyle& other) const
{
    return fields(*this) == fields(other);
}

ThemeOverlayStyle themeOverlayPreset()
{
    const auto& p = ui_core::palette();
    const auto& radii = ui_core::radiusScale();
    const auto& spacings = ui_core::spacingScale();

    ThemeOverlayStyle s;
    s.cardBackground = p.neutral1;
    s.cardBorder = p.neutral2;
    s.cornerRadius = radii[7];
    s.borderThickness = ui_core::strokeScale()[1];
    s.padding = 24;
    s.cardWidth = 320;
    s.titleColour = p.neutral8;
    s.titleFont = ui_core::makeFont(ui_core::titleFontSpec).font;
    s.labelColour = p.neutral5;
    s.labelFont = ui_core::makeFont(ui_core::captionFontSpec).font;
    s.valueColour = p.neutral8;
    s.valueFont = s.labelFont;
    s.trackColour = p.neutral3;
    s.thumbColour = p.neutral8;
    s.rowHeight = 20;
    s.gap = spacings[7];
    s.swatchWidth = 20;
    s.swatchCornerRadius = radii[1];
    s.buttonStyle = ui_core::textButtonPreset();
    s.buttonHeight = 28;
    s.buttonGap = spacings[6];
    return s;
}
} // namespace ui_panels
