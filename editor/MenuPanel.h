#pragma once

#include "controls/PopupMenuStyle.h"
#include "controls/TextButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace ui_panels
{
// The small panel that opens above the logo while the pointer rests on it: a column of text buttons
// that look like the entries of the themed popup menu. The panel never deletes itself: an entry's
// action runs inside its button's click, so the owner takes the panel out of the window and deletes it
// on a later turn of the message loop.
class MenuPanel final : public juce::Component
{
public:
    static constexpr int width = 170;
    static constexpr int itemHeight = 28;

    struct Item
    {
        juce::String componentId;
        juce::String text;
        std::function<void()> action;
    };

    MenuPanel(const ui_core::PopupMenuStyle& popupStyle, std::vector<Item> items);

    // The entries drawn as menu items in the popup style's colours and font.
    static ui_core::TextButtonStyle itemStyle(const ui_core::PopupMenuStyle& popupStyle);

    void paint(juce::Graphics& g) override;

private:
    juce::Colour backgroundColour;
    juce::Colour borderColour;
    float cornerRadius = 6.0f;
    float borderThickness = 1.0f;
    std::vector<std::unique_ptr<ui_core::TextButton>> buttons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MenuPanel)
};
} // namespace ui_panels
