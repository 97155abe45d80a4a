#pragma once

#include "controls/IconButton.h"
#include "controls/InlineComboBox.h"
#include "controls/MultiLayerLogoButton.h"
#include "controls/NumberBox.h"
#include "controls/ScaleDisplay.h"
#include "controls/SmoothingDisplay.h"
#include "editor/EditorLayout.h"
#include "editor/HorizontalStrip.h"
#include "editor/ScaleControlsPanel.h"
#include "editor/SmoothingControlsPanel.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace ui_panels
{
// The widgets of the window's bottom strip, declared in the order they are built and stacked: the
// strip's background, the logo, play, freeze and save, the scale read-out and its card, the two lag
// boxes, the smoothing read-out and its card, and the four selectors. The window owns them through this
// record and is their parent; this builds and themes them and sets their frozen or live states.
struct StripControls
{
    explicit StripControls(juce::AudioProcessorValueTreeState& state);

    // Builds every widget, adds it to the window (in stacking order) and wires the read-outs' popup
    // cards; relayout is the window's layout, run when a card opens or closes.
    void addTo(juce::Component& window, std::function<void()> relayout);
    // Once the window is going: the read-outs no longer reach their cards.
    void detachPopups();

    void applyTheme();
    // Play, freeze and save, the read-outs, lag boxes and selectors as the frozen or live view has
    // them; a card whose read-out is disabled closes.
    void setFrozen(bool frozen, bool canSave);
    // The sizes and states the layout needs, and the bounds it gives.
    void fillLayoutInput(EditorLayout::Input& in) const;
    void place(const EditorLayout& layout, bool frozen);

    HorizontalStrip controlStrip;
    ui_core::MultiLayerLogoButton logoButton{"logo"};
    ui_core::IconButton playButton{"play"};
    ui_core::IconButton freezeButton{"freeze"};
    ui_core::IconButton saveButton{"saveTransferFunction"};
    ui_core::ScaleDisplay scaleDisplay;
    ScaleControlsPanel scalePanel;
    ui_core::NumberBox xLagBox{"X Lag"};
    ui_core::NumberBox yLagBox{"Y Lag"};
    ui_core::SmoothingDisplay smoothingDisplay;
    SmoothingControlsPanel smoothingPanel;
    ui_core::InlineComboBox algorithmCombo{"Algo"};
    ui_core::InlineComboBox captureSizeCombo{"Size"};
    ui_core::InlineComboBox modeCombo{"Mode"};
    ui_core::InlineComboBox windowSizeCombo{"Size"};

private:
    void measure();
    static void wirePopup(ui_core::ValueDisplay& display, juce::Component& panel,
                          std::vector<juce::Component*> knobs, std::function<void()> relayout);

    // Widths of the measured controls.
    int lagWidth = 0, algorithmWidth = 0, captureSizeWidth = 0, modeWidth = 0, windowSizeWidth = 0;

    JUCE_DECLARE_NON_COPYABLE(StripControls)
};
} // namespace ui_panels
