#include "editor/PopupPanelStyle.h"

#include "controls/ThemePalette.h"
#include "editor/CardPainting.h"

#include <tuple>

namespace ui_panels
{
bool PopupPanelStyle::operator==(const PopupPanelStyle& other) const
{
    const auto fields = [](const PopupPanelStyle& s)
    {
        return std::tie(s.backgroundColour, s.backgroundAlpha, s.borderColour, s.borderAlpha,
                        s.borderThickness, s.cornerRadius, s.shadowAlpha, s.shadowOffset, s.shadowRadius,
                        s.padding, s.knobGap, s.labelGap);
    };
    return fields(*this) == fields(other);
}

PopupPanelStyle scalePanelPreset()
{
    const auto& p = ui_core::palette();
    PopupPanelStyle s;
    s.backgroundColour = p.neutral2;
    s.backgroundAlpha = 0.98f;
    s.borderColour = p.neutral2;
    s.borderAlpha = 0.6f;
    s.borderThickness = 1.0f;
    s.cornerRadius = 8.0f;
    s.shadowAlpha = 0.3f;
    s.shadowOffset = -2;
    s.shadowRadius = 8;
    s.padding = 6;
    s.knobGap = 8;
    s.labelGap = 2;
    return s;
}

PopupPanelStyle smoothingPanelPreset()
{
    // The smoothing card has a single knob: its gaps keep the constructor's values, which it never reads.
    auto s = scalePanelPreset();
    const PopupPanelStyle defaults;
    s.knobGap = defaults.knobGap;
    s.labelGap = defaults.labelGap;
    return s;
}

juce::Path popupCardOutline(float width, float height, float cornerRadius)
{
    const auto rx = std::min(width / 2.0f, cornerRadius);
    const auto ry = std::min(height / 2.0f, cornerRadius);
    constexpr float k = 0.45f;
    juce::Path path;
    path.startNewSubPath(0.0f, ry);
    path.cubicTo(0.0f, k * ry, k * rx, 0.0f, rx, 0.0f);
    path.lineTo(width - rx, 0.0f);
    path.cubicTo(width - k * rx, 0.0f, width, k * ry, width, ry);
    path.lineTo(width, height);
    path.lineTo(0.0f, height);
    path.closeSubPath();
    return path;
}

void paintPopupCard(juce::Graphics& g, float width, float height, const PopupPanelStyle& style)
{
    paintCard(g, popupCardOutline(width, height, style.cornerRadius), style);
}
} // namespace ui_panels
