#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// The theme card paints its sliders' tracks and thumbs itself; this look only makes the sliders
// map the mouse over the span the card draws the track on.
class ThemeOverlaySliderLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    int getSliderThumbRadius(juce::Slider& slider) override;
};
} // namespace ui_panels
