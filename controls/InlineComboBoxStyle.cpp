#include "controls/InlineComboBoxStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const InlineComboBoxStyle& s)
{
    return std::tie(s.valueFont, s.captionFont, s.justification, s.captionColour, s.valueColour, s.captionGap,
                    s.hoverFillColour, s.hoverFillAlpha, s.hoverOutlineColour, s.hoverOutlineAlpha,
                    s.hoverOutlineWidth, s.cornerRadius, s.horizontalPadding, s.verticalPadding,
                    s.popupStyle);
}
} // namespace

bool InlineComboBoxStyle::operator==(const InlineComboBoxStyle& other) const
{
    return fields(*this) == fields(other);
}

InlineComboBoxStyle comboBoxPreset()
{
    const auto& p = palette();
    const auto& spacing = spacingScale();

    InlineComboBoxStyle s;
    s.valueFont = interfaceFont(2, 13.0f);
    s.captionFont = interfaceFont(1, 11.0f).withExtraKerningFactor(0.1f);
    s.justification = juce::Justification::centred;
    s.captionColour = p.neutral5;
    s.valueColour = p.primary6;
    s.captionGap = 2;
    s.hoverFillColour = p.neutral3;
    s.hoverFillAlpha = 0.6f;
    s.hoverOutlineColour = p.neutral3;
    s.hoverOutlineAlpha = 0.8f;
    s.hoverOutlineWidth = 1.0f;
    s.cornerRadius = 4.0f;
    s.horizontalPadding = spacing[0];
    s.verticalPadding = spacing[4];

    auto& popup = s.popupStyle;
    popup.font = s.valueFont;
    popup.backgroundColour = p.neutral1;
    popup.borderColour = p.neutral3;
    popup.textColour = p.neutral8;
    popup.highlightedTextColour = p.primary6;
    popup.pressedTextColour = p.neutral8;
    popup.disabledTextColour = p.neutral4;
    popup.separatorColour = p.neutral3.withAlpha(0.2f);
    popup.highlightedBackgroundColour = p.neutral0.withAlpha(0.6f);
    popup.pressedBackgroundColour = p.neutral0.withAlpha(0.9f);
    popup.scrollbarColour = p.neutral3.withAlpha(0.4f);
    popup.cornerRadius = 4.0f;
    popup.itemHorizontalPadding = 16;
    popup.itemVerticalPadding = 6;
    return s;
}
} // namespace ui_core
