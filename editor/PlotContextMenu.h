#pragma once

#include "controls/ComboBoxPopupLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace ui_panels
{
// The plot's right-click menu: "Grid Strength" and "Display Mode", each with the current choice
// ticked. Shown without blocking; a choice reaches the callbacks only while the menu's owner exists.
class PlotContextMenu
{
public:
    std::function<void(std::uint8_t strength)> onGridStrength;
    std::function<void(std::uint8_t mode)> onDisplayMode;

    // target: the plot, which the menu belongs to and whose deletion dismisses it.
    void show(juce::Component& target, const juce::MouseEvent& click, std::uint8_t gridStrength,
              std::uint8_t displayMode);

private:
    void chosen(int itemId);

    // Travels with the menu's callback, which may outlive the window.
    std::shared_ptr<ui_core::ComboBoxPopupLookAndFeel> look =
        std::make_shared<ui_core::ComboBoxPopupLookAndFeel>();

    JUCE_DECLARE_WEAK_REFERENCEABLE(PlotContextMenu)
};
} // namespace ui_panels
