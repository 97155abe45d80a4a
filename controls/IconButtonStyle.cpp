#include "controls/IconButtonStyle.h"

#include "controls/ThemePalette.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const IconButtonStyle& s)
{
    return std::tie(s.iconColour, s.iconHoveredColour, s.iconPressedColour, s.iconDisabledColour,
                    s.backgroundColour, s.backgroundHoveredColour, s.backgroundPressedColour,
                    s.focusOutlineColour, s.iconToggledColour, s.toggledOutlineColour, s.hoverBackgroundAlpha,
                    s.pressedBackgroundAlpha, s.cornerRadius, s.padding, s.iconSize, s.focusOutlineEnabled);
}

IconButtonStyle stripButtonPreset()
{
    const auto& p = palette();
    IconButtonStyle s;
    s.iconPressedColour = p.neutral1;
    s.iconDisabledColour = p.neutral4;
    s.backgroundColour = juce::Colours::transparentBlack;
    s.focusOutlineColour = p.primary5;
    s.toggledOutlineColour = p.primary5;
    s.cornerRadius = 8.0f;
    s.padding = 8;
    s.iconSize = 27;
    s.focusOutlineEnabled = false;
    return s;
}
} // namespace

bool IconButtonStyle::operator==(const IconButtonStyle& other) const
{
    return fields(*this) == fields(other);
}

IconButtonStyle playFreezeButtonPreset()
{
    const auto& p = palette();
    auto s = stripButtonPreset();
    s.iconColour = p.primary7;
    s.iconHoveredColour = p.primary6;
    s.backgroundHoveredColour = p.primary7;
    s.hoverBackgroundAlpha = 0.2f;
    s.backgroundPressedColour = p.primary5;
    s.pressedBackgroundAlpha = 0.3f;
    s.iconToggledColour = p.primary7;
    return s;
}

IconButtonStyle saveButtonPreset()
{
    const auto& p = palette();
    auto s = stripButtonPreset();
    s.iconColour = p.neutral8;
    s.iconHoveredColour = p.primary6;
    s.backgroundHoveredColour = p.neutral4;
    s.hoverBackgroundAlpha = 0.6f;
    s.backgroundPressedColour = p.neutral4;
    s.pressedBackgroundAlpha = 0.6f;
    s.iconToggledColour = p.primary6;
    return s;
}
} // namespace ui_core
