#pragma once

#include "controls/Rotary3DKnob.h"
#include "controls/TextLabel.h"
#include "editor/PopupPanelStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// The card above the scale read-out: the X and Y display-gain knobs with their captions.
class ScaleControlsPanel final : public juce::Component
{
public:
    ScaleControlsPanel();

    // Copies the record, re-applies the knob and caption presets and repaints.
    void setStyle(const PopupPanelStyle& newStyle);
    const PopupPanelStyle& getStyle() const noexcept { return style; }

    ui_core::Rotary3DKnob& getXKnob() noexcept { return xKnob; }
    ui_core::Rotary3DKnob& getYKnob() noexcept { return yKnob; }
    const ui_core::TextLabel& getXLabel() const noexcept { return xLabel; }
    const ui_core::TextLabel& getYLabel() const noexcept { return yLabel; }

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    PopupPanelStyle style;
    ui_core::Rotary3DKnob xKnob, yKnob;
    ui_core::TextLabel xLabel, yLabel;
};
} // namespace ui_panels
