#include "controls/NumberBoxStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const NumberBoxStyle& s)
{
    return std::tie(s.valueFont, s.captionFont, s.justification, s.captionColour, s.valueColour,
                    s.editTextColour, s.rowGap, s.backgroundColour, s.backgroundAlpha,
                    s.hoverBackgroundColour, s.hoverBackgroundAlpha, s.dragBackgroundColour,
                    s.dragBackgroundAlpha, s.editBackgroundColour, s.editBackgroundAlpha, s.borderColour,
                    s.borderAlpha, s.activeBorderColour, s.activeBorderAlpha, s.editBorderColour,
                    s.editBorderAlpha, s.borderThickness, s.cornerRadius, s.horizontalPadding,
                    s.verticalPadding, s.dragSensitivity, s.suffix);
}
} // namespace

bool NumberBoxStyle::operator==(const NumberBoxStyle& other) const
{
    return fields(*this) == fields(other);
}

NumberBoxStyle numberBoxPreset()
{
    const auto& p = palette();
    const auto padding = spacingScale()[4];

    NumberBoxStyle s;
    s.valueFont = monoFont(15.0f);
    s.captionFont = interfaceFont(1, 11.0f).withExtraKerningFactor(0.1f);
    s.captionColour = p.neutral5;
    s.valueColour = p.primary6;
    s.editTextColour = p.primary9;
    s.rowGap = 2;
    s.backgroundColour = juce::Colours::transparentBlack;
    s.backgroundAlpha = 0.0f;
    s.hoverBackgroundColour = p.neutral3;
    s.hoverBackgroundAlpha = 0.3f;
    s.dragBackgroundColour = p.neutral3;
    s.dragBackgroundAlpha = 0.5f;
    s.editBackgroundColour = p.neutral2;
    s.editBackgroundAlpha = 0.8f;
    s.borderColour = juce::Colours::transparentBlack;
    s.borderAlpha = 0.0f;
    s.activeBorderColour = p.neutral2;
    s.activeBorderAlpha = 0.6f;
    s.editBorderColour = p.primary6;
    s.editBorderAlpha = 0.8f;
    s.horizontalPadding = padding;
    s.verticalPadding = padding;
    s.suffix = {};
    return s;
}
} // namespace ui_core
