#include "editor/SmoothingControlsPanel.h"

#include "controls/TextEntryStyle.h"

#include <algorithm>

namespace ui_panels
{
SmoothingControlsPanel::SmoothingControlsPanel()
{
    knob.setRange(1.0, 1024.0, 1.0);
    knob.setTooltip(
        "Smoothing - Transfer function smoothing window size.\nHigher values produce smoother curves.");
    knob.setStyle(ui_core::controlPanelKnobPreset());
    knob.getTextEntry().setStyle(ui_core::textEntryPreset());
    addAndMakeVisible(knob);
    setSize(90, 100);
}

void SmoothingControlsPanel::setStyle(const PopupPanelStyle& newStyle)
{
    style = newStyle;
    knob.setStyle(ui_core::controlPanelKnobPreset());
    resized();
    repaint();
}

void SmoothingControlsPanel::paint(juce::Graphics& g)
{
    paintPopupCard(g, static_cast<float>(getWidth()), static_cast<float>(getHeight()), style);
}

void SmoothingControlsPanel::resized()
{
    const auto pad = style.padding;
    const auto innerWidth = std::max(getWidth() - 2 * pad, 0);
    const auto innerHeight = std::max(getHeight() - 2 * pad, 0);
    const auto side = std::max(std::min(innerWidth, innerHeight), 40);
    knob.setBounds(pad + (innerWidth - side) / 2, pad + (innerHeight - side) / 2, side, side);
}
} // namespace ui_panels
