#pragma once

#include "controls/PopupMenuStyle.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_core
{
// The framework's menu drawing in the colours and font of a PopupMenuStyle: the combo boxes' menus
// and the visualizer's context menu.
class ComboBoxPopupLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    ComboBoxPopupLookAndFeel();

    void setStyle(const PopupMenuStyle& newStyle);
    const PopupMenuStyle& getStyle() const noexcept { return style; }

    juce::Font getPopupMenuFont() override;

private:
    void applyColours();

    PopupMenuStyle style;
};
} // namespace ui_core
