#include "editor/ScaleControlsPanel.h"

#include "controls/TextEntryStyle.h"

#include <algorithm>

namespace ui_panels
{
ScaleControlsPanel::ScaleControlsPanel()
{
    xKnob.setRange(-36.0, 36.0, 0.1);
    yKnob.setRange(-36.0, 36.0, 0.1);
    xKnob.setTooltip("Scale X - Visualization gain for sidechain input.\n"
                     "Higher values make smaller signals more visible.");
    yKnob.setTooltip("Scale Y - Visualization gain for main input.\n"
                     "Higher values make smaller signals more visible.");
    xLabel.setText("Scale X");
    yLabel.setText("Scale Y");

    for (auto* knob : {&xKnob, &yKnob})
    {
        knob->setStyle(ui_core::controlPanelKnobPreset());
        knob->getTextEntry().setStyle(ui_core::textEntryPreset());
        addAndMakeVisible(*knob);
    }
    for (auto* label : {&xLabel, &yLabel})
    {
        label->setStyle(ui_core::panelLabelPreset());
        addAndMakeVisible(*label);
    }
    setSize(180, 100);
}

void ScaleControlsPanel::setStyle(const PopupPanelStyle& newStyle)
{
    style = newStyle;
    for (auto* knob : {&xKnob, &yKnob})
        knob->setStyle(ui_core::controlPanelKnobPreset());
    for (auto* label : {&xLabel, &yLabel})
        label->setStyle(ui_core::panelLabelPreset());
    resized();
    repaint();
}

void ScaleControlsPanel::paint(juce::Graphics& g)
{
    paintPopupCard(g, static_cast<float>(getWidth()), static_cast<float>(getHeight()), style);
}

void ScaleControlsPanel::resized()
{
    const auto pad = style.padding;
    const auto gap = style.knobGap;
    const auto labelGap = style.labelGap;
    const auto labelHeight = xLabel.getPreferredHeight();
    const auto innerWidth = std::max(getWidth() - 2 * pad, 0);
    const auto innerHeight = std::max(getHeight() - 2 * pad, 0);

    // The knobs as large as the card allows, side by side under their captions, never below 40 px.
    const auto a = innerHeight - labelGap - labelHeight;
    const auto b = (innerWidth - gap) / 2;
    const auto k = std::max(std::min(a, b), 40);

    const auto top = (innerHeight - k - labelGap - labelHeight) / 2 + pad;
    const auto left = pad + (innerWidth - 2 * k - gap) / 2;
    xKnob.setBounds(left, top + labelHeight + labelGap, k, k);
    yKnob.setBounds(left + k + gap, top + labelHeight + labelGap, k, k);

    const auto labelLeft = left - gap / 4;
    xLabel.setBounds(labelLeft, top, k + gap / 2, labelHeight);
    yLabel.setBounds(labelLeft + k + gap, top, k + gap / 2, labelHeight);
}
} // namespace ui_panels
