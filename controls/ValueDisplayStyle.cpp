#include "controls/ValueDisplayStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const ValueDisplayStyle& s)
{
    return std::tie(s.valueFont, s.labelFont, s.labelColour, s.valueColour, s.backgroundColour,
                    s.backgroundAlpha, s.hoverBackgroundColour, s.hoverBackgroundAlpha,
                    s.pressedBackgroundColour, s.pressedBackgroundAlpha, s.borderColour, s.borderAlpha,
                    s.borderThickness, s.cornerRadius, s.horizontalPadding, s.verticalPadding);
}
} // namespace

bool ValueDisplayStyle::operator==(const ValueDisplayStyle& other) const
{
    return fields(*this) == fields(other);
}

ValueDisplayStyle smoothingDisplayPreset()
{
    const auto& p = palette();
    const auto padding = spacingScale()[4];

    ValueDisplayStyle s;
    s.valueFont = interfaceFont(2, 14.0f);
    s.labelFont = interfaceFont(1, 11.0f).withExtraKerningFactor(0.1f);
    s.labelColour = p.neutral5;
    s.valueColour = p.primary6;
    s.backgroundColour = juce::Colours::transparentBlack;
    s.backgroundAlpha = 0.0f;
    s.hoverBackgroundColour = p.neutral3;
    s.hoverBackgroundAlpha = 0.3f;
    s.pressedBackgroundColour = p.neutral3;
    s.pressedBackgroundAlpha = 0.5f;
    s.borderColour = p.neutral2;
    s.borderAlpha = 0.6f;
    s.borderThickness = 1.0f;
    s.cornerRadius = 4.0f;
    s.horizontalPadding = padding;
    s.verticalPadding = padding;
    return s;
}

ValueDisplayStyle scaleDisplayPreset()
{
    auto s = smoothingDisplayPreset();
    s.valueFont = monoFont(15.0f);
    return s;
}
} // namespace ui_core
