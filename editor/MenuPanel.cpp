#include "editor/MenuPanel.h"

namespace ui_panels
{
MenuPanel::MenuPanel(const ui_core::PopupMenuStyle& popupStyle, std::vector<Item> items)
    : backgroundColour(popupStyle.backgroundColour)
    , borderColour(popupStyle.borderColour)
    , cornerRadius(popupStyle.cornerRadius)
{
    const auto style = itemStyle(popupStyle);
    int y = 0;
    for (auto& item : items)
    {
        auto button = std::make_unique<ui_core::TextButton>(item.componentId);
        button->setComponentID(item.componentId);
        button->setText(item.text);
        button->setStyle(style);
        button->onClick = std::move(item.action);
        button->setBounds(0, y, width, itemHeight);
        addAndMakeVisible(*button);
        buttons.push_back(std::move(button));
        y += itemHeight;
    }
    setSize(width, y);
}

ui_core::TextButtonStyle MenuPanel::itemStyle(const ui_core::PopupMenuStyle& popupStyle)
{
    ui_core::TextButtonStyle s;
    s.font = popupStyle.font;
    s.justification = juce::Justification::centredLeft;
    s.upperCase = false;
    s.textColour = popupStyle.textColour;
    s.textHoveredColour = popupStyle.highlightedTextColour;
    s.textPressedColour = popupStyle.pressedTextColour;
    s.textDisabledColour = popupStyle.disabledTextColour;
    s.backgroundColour = juce::Colours::transparentBlack;
    s.backgroundHoveredColour = popupStyle.highlightedBackgroundColour;
    s.backgroundPressedColour = popupStyle.pressedBackgroundColour;
    s.backgroundToggledColour = juce::Colours::transparentBlack;
    s.borderColour = s.borderHoveredColour = s.borderPressedColour = s.borderToggledColour =
        juce::Colours::transparentBlack;
    s.backgroundAlpha = 0.0f;
    s.backgroundHoveredAlpha = 1.0f;
    s.backgroundPressedAlpha = 1.0f;
    s.horizontalPadding = 16;
    s.verticalPadding = 8;
    return s;
}

void MenuPanel::paint(juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setColour(backgroundColour);
    g.fillRoundedRectangle(bounds, cornerRadius);

    const auto inset = borderThickness * 0.5f;
    const auto outline =
        bounds.reduced(std::min(inset, bounds.getWidth() * 0.5f), std::min(inset, bounds.getHeight() * 0.5f));
    g.setColour(borderColour);
    g.drawRoundedRectangle(outline, cornerRadius, borderThickness);
}
} // namespace ui_panels
