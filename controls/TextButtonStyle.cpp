#include "controls/TextButtonStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"
#include "controls/ThemeTokenCache.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const TextButtonStyle& s)
{
    return std::tie(s.font, s.justification, s.upperCase, s.textColour, s.textHoveredColour,
                    s.textPressedColour, s.textDisabledColour, s.textToggledColour, s.backgroundColour,
                    s.backgroundHoveredColour, s.backgroundPressedColour, s.backgroundToggledColour,
                    s.borderColour, s.borderHoveredColour, s.borderPressedColour, s.borderToggledColour,
                    s.backgroundAlpha, s.backgroundHoveredAlpha, s.backgroundPressedAlpha,
                    s.backgroundToggledAlpha, s.backgroundToggledHoveredAlpha,
                    s.backgroundToggledPressedAlpha, s.cornerRadius, s.horizontalPadding, s.verticalPadding,
                    s.preferredWidth, s.preferredHeight);
}

TextButtonStyle buildTextButtonPreset()
{
    const auto& p = palette();
    const auto& opacities = stateOpacities();

    TextButtonStyle s;
    s.font = makeFont(titleFontSpec).font;
    s.justification = juce::Justification::centred;
    s.textColour = p.neutral8;
    s.textHoveredColour = p.neutral8;
    s.textPressedColour = p.primary9;
    s.textDisabledColour = p.neutral4;
    s.textToggledColour = p.primary6;
    s.backgroundColour = s.backgroundHoveredColour = s.backgroundPressedColour = s.backgroundToggledColour =
        p.neutral0;
    s.borderColour = p.neutral3;
    s.borderHoveredColour = p.neutral3;
    s.borderPressedColour = p.neutral4;
    s.borderToggledColour = p.primary5;
    s.backgroundAlpha = opacities[6];
    s.backgroundHoveredAlpha = opacities[7];
    s.backgroundPressedAlpha = opacities[8];
    s.backgroundToggledAlpha = opacities[9];
    s.backgroundToggledHoveredAlpha = opacities[10];
    s.backgroundToggledPressedAlpha = opacities[11];
    // The theme's control-button tokens.
    s.cornerRadius = 8.0f;
    s.horizontalPadding = 16;
    s.verticalPadding = 8;
    s.preferredWidth = 72;
    s.preferredHeight = 32;
    return s;
}
} // namespace

bool TextButtonStyle::operator==(const TextButtonStyle& other) const
{
    return fields(*this) == fields(other);
}

const TextButtonStyle& textButtonPreset()
{
    static ThemeTokenCache<TextButtonStyle> cache(&buildTextButtonPreset);
    return cache.get();
}
} // namespace ui_core
