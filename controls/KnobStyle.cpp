#include "controls/KnobStyle.h"

#include "controls/ThemePalette.h"
#include "controls/ThemeTokens.h"

#include <tuple>

namespace ui_core
{
bool KnobStyle::operator==(const KnobStyle& other) const
{
    return std::tie(trackThickness, startAngle, endAngle, pointerWidth, trackColour, valueArcColour,
                    bodyColour, accentColour) ==
           std::tie(other.trackThickness, other.startAngle, other.endAngle, other.pointerWidth,
                    other.trackColour, other.valueArcColour, other.bodyColour, other.accentColour);
}

KnobStyle controlPanelKnobPreset()
{
    const auto& p = palette();
    KnobStyle s;
    s.trackThickness = 3.0f;
    s.pointerWidth = 2.0f;
    s.trackColour = p.neutral5.withAlpha(stateOpacities()[13]);
    s.valueArcColour = p.primary6;
    s.bodyColour = p.neutral4;
    s.accentColour = p.primary6;
    return s;
}
} // namespace ui_core
