#include "controls/ComboBoxPopupLookAndFeel.h"

namespace ui_core
{
ComboBoxPopupLookAndFeel::ComboBoxPopupLookAndFeel()
{
    applyColours();
}

void ComboBoxPopupLookAndFeel::setStyle(const PopupMenuStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    applyColours();
}

void ComboBoxPopupLookAndFeel::applyColours()
{
    setColour(juce::PopupMenu::backgroundColourId, style.backgroundColour);
    setColour(juce::PopupMenu::textColourId, style.textColour);
    setColour(juce::PopupMenu::highlightedBackgroundColourId, style.highlightedBackgroundColour);
    setColour(juce::PopupMenu::highlightedTextColourId, style.highlightedTextColour);
}

juce::Font ComboBoxPopupLookAndFeel::getPopupMenuFont()
{
    return style.font;
}
} // namespace ui_core
