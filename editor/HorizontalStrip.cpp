#include "editor/HorizontalStrip.h"

#include "editor/CardPainting.h"

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
    paintCard(g, outline(), style);
}
} // namespace ui_panels
