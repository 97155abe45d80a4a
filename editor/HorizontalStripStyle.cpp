#include "editor/HorizontalStripStyle.h"

#include "controls/ThemePalette.h"

#include <tuple>

namespace ui_panels
{
bool HorizontalStripStyle::operator==(const HorizontalStripStyle& other) const
{
    const auto fields = [](const HorizontalStripStyle& s)
    {
        return std::tie(s.backgroundColour, s.backgroundAlpha, s.borderColour, s.borderAlpha,
                        s.borderThickness, s.cornerRadius, s.shadowAlpha, s.shadowOffset, s.shadowRadius);
    };
    return fields(*this) == fields(other);
}

HorizontalStripStyle stripPreset()
{
    const auto& p = ui_core::palette();
    HorizontalStripStyle s;
    s.backgroundColour = p.neutral2;
    s.backgroundAlpha = 1.0f;
    s.borderColour = p.neutral4;
    s.borderAlpha = 0.3f;
    s.borderThickness = 1.0f;
    s.cornerRadius = 6.0f;
    s.shadowAlpha = 0.06f;
    s.shadowOffset = 1;
    s.shadowRadius = 3;
    return s;
}
} // namespace ui_panels
