#include "controls/TextButton.h"

#include "controls/StyleColours.h"
#include "controls/WidgetAccessibilityHandler.h"

namespace ui_core
{
TextButton::TextButton(const juce::String& name)
    : juce::Button(name)
{
    setButtonText({});
}

void TextButton::setText(const juce::String& newText)
{
    if (newText == getButtonText())
        return;
    setButtonText(newText);
    updateTextArea();
}

void TextButton::setStyle(const TextButtonStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    updateTextArea();
    repaint();
}

void TextButton::resized()
{
    updateTextArea();
}

void TextButton::updateTextArea()
{
    const auto width = getWidth() - 2 * style.horizontalPadding;
    const auto height = getHeight() - 2 * style.verticalPadding;
    textArea = width > 0 && height > 0
                   ? juce::Rectangle<int>(style.horizontalPadding, style.verticalPadding, width, height)
                   : juce::Rectangle<int>();
}

void TextButton::paintButton(juce::Graphics& g, bool hovered, bool pressed)
{
    const auto enabled = isEnabled();
    const auto toggled = getToggleState();
    const auto bounds = getLocalBounds().toFloat();

    auto background = atOpacity(style.backgroundColour, style.backgroundAlpha);
    if (enabled && toggled)
        background = atOpacity(style.backgroundToggledColour, pressed   ? style.backgroundToggledPressedAlpha
                                                              : hovered ? style.backgroundToggledHoveredAlpha
                                                                        : style.backgroundToggledAlpha);
    else if (enabled && pressed)
        background = atOpacity(style.backgroundPressedColour, style.backgroundPressedAlpha);
    else if (enabled && hovered)
        background = atOpacity(style.backgroundHoveredColour, style.backgroundHoveredAlpha);
    g.setColour(background);
    g.fillRoundedRectangle(bounds, style.cornerRadius);

    auto text = style.textColour;
    if (!enabled)
        text = style.textDisabledColour;
    else if (pressed)
        text = style.textPressedColour;
    else if (toggled)
        text = style.textToggledColour.getAlpha() != 0 ? style.textToggledColour : style.textColour;
    else if (hovered)
        text = style.textHoveredColour;

    if (!textArea.isEmpty())
    {
        const auto shown = style.upperCase ? getButtonText().toUpperCase() : getButtonText();
        g.setColour(text);
        g.setFont(style.font);
        g.drawFittedText(shown, textArea, juce::Justification(style.justification), 1, 1.0f);
    }

    auto border = style.borderColour;
    if (pressed)
        border = style.borderPressedColour;
    else if (toggled)
        border = style.borderToggledColour;
    else if (hovered)
        border = style.borderHoveredColour;
    g.setColour(border);
    g.drawRoundedRectangle(bounds.getX() + 0.5f, bounds.getY() + 0.5f,
                           std::max(0.0f, bounds.getWidth() - 1.0f),
                           std::max(0.0f, bounds.getHeight() - 1.0f), style.cornerRadius, 1.0f);
}

std::unique_ptr<juce::AccessibilityHandler> TextButton::createAccessibilityHandler()
{
    return WidgetAccessibilityHandler::forButton(*this,
                                                 [this]
                                                 {
                                                     const auto text = getButtonText();
                                                     return text.isNotEmpty() ? text : getTooltip();
                                                 });
}
} // namespace ui_core
