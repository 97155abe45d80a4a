#pragma once

#include "controls/Rotary3DKnob.h"
#include "editor/PopupPanelStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_panels
{
// The card above the smoothing read-out: one knob for the smoothing window.
class SmoothingControlsPanel final : public juce::Component
{
public:
    SmoothingControlsPanel();

    // Copies the record, re-applies the knob preset and repaints.
    void setStyle(const PopupPanelStyle& newStyle);
    const PopupPanelStyle& getStyle() const noexcept { return style; }

    ui_core::Rotary3DKnob& getKnob() noexcept { return knob; }

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    PopupPanelStyle style;
    ui_core::Rotary3DKnob knob;
};
} // namespace ui_panels
