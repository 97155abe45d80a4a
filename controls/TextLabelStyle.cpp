#include "controls/TextLabelStyle.h"

#include "controls/ThemeFonts.h"
#include "controls/ThemePalette.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fields(const TextLabelStyle& s)
{
    return std::tie(s.font, s.justification, s.upperCase, s.textColour, s.disabledTextColour,
                    s.backgroundColour, s.horizontalPadding, s.verticalPadding, s.focusOutlineEnabled,
                    s.focusOutlineColour, s.focusOutlineWidth, s.minimumHeight);
}
} // namespace

bool TextLabelStyle::operator==(const TextLabelStyle& other) const
{
    return fields(*this) == fields(other);
}

TextLabelStyle panelLabelPreset()
{
    const auto& p = palette();
    TextLabelStyle s;
    s.font = interfaceFont(1, 11.0f).withExtraKerningFactor(0.1f);
    s.justification = juce::Justification::centred;
    s.upperCase = true;
    s.textColour = p.neutral5;
    s.disabledTextColour = p.neutral4;
    s.minimumHeight = 14;
    return s;
}
} // namespace ui_core
