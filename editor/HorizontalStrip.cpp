#include "editor/HorizontalStrip.h"

#include "controls/StyleColours.h"

namespace ui_panels
{
HorizontalStrip::HorizontalStrip()
{
    setInterceptsMouseClicks(false, false);
}

void HorizontalStrip::setStyle(const HorizontalStripStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    repaint();
}

juce::Path HorizontalStrip::outline() const
{
    juce::Path path;
    const auto bounds = getLocalBounds().toFloat();
    if (style.cornerRadius > 0.0f)
        path.addRoundedRectangle(bounds, style.cornerRadius);
    else
        path.addRectangle(bounds);
    return path;
}

void HorizontalStrip::paint(juce::Graphics& g)
{
    const auto path = outline();

    if (style.shadowAlpha > 0.0f)
        juce::DropShadow(ui_core::atOpacity(juce::Colours::black, style.shadowAlpha), style.shadowRadius,
                         {0, style.shadowOffset})
            .drawForPath(g, path);

    g.setColour(ui_core::atOpacity(style.backgroundColour, style.backgroundAlpha));
    g.fillPath(path);

    if (style.borderAlpha > 0.0f)
    {
        g.setColour(ui_core::atOpacity(style.borderColour, style.borderAlpha));
        g.strokePath(path, juce::PathStrokeType(style.borderThickness));
    }
}
} // namespace ui_panels
