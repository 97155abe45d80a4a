#pragma once

#include "editor/HorizontalStripStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// The bar along the bottom of the window, drawn under the strip's controls (which are the editor's
// own children): a rounded rectangle with an optional drop shadow and outline.
class HorizontalStrip final : public juce::Component
{
public:
    HorizontalStrip();

    void setStyle(const HorizontalStripStyle& newStyle);
    const HorizontalStripStyle& getStyle() const noexcept { return style; }

    // The outline that is shadowed, filled and stroked.
    juce::Path outline() const;

    void paint(juce::Graphics& g) override;

private:
    HorizontalStripStyle style;
};
} // namespace ui_panels
