#include "controls/TextLabel.h"

#include "controls/WidgetAccessibilityHandler.h"

#include <cmath>

namespace ui_core
{
void TextLabel::setText(const juce::String& newText)
{
    if (newText == text)
        return;
    text = newText;
    repaint();
}

void TextLabel::setStyle(const TextLabelStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    repaint();
}

int TextLabel::getPreferredHeight() const
{
    const auto height = std::max(static_cast<float>(style.minimumHeight),
                                 2.0f * static_cast<float>(style.verticalPadding) + style.font.getHeight());
    return static_cast<int>(std::ceil(height));
}

juce::String TextLabel::shownText() const
{
    return style.upperCase ? text.toUpperCase() : text;
}

void TextLabel::paint(juce::Graphics& g)
{
    if (style.backgroundColour.getAlpha() != 0)
        g.fillAll(style.backgroundColour);

    if (style.focusOutlineEnabled && hasKeyboardFocus(false))
    {
        g.setColour(style.focusOutlineColour);
        const auto inset = style.focusOutlineWidth / 2.0f;
        g.drawRect(getLocalBounds().toFloat().reduced(inset), style.focusOutlineWidth);
    }

    g.setColour(isEnabled() ? style.textColour : style.disabledTextColour);
    g.setFont(style.font);
    g.drawText(shownText(), getLocalBounds().reduced(style.horizontalPadding, style.verticalPadding),
               juce::Justification(style.justification), true);
}

std::unique_ptr<juce::AccessibilityHandler> TextLabel::createAccessibilityHandler()
{
    return std::make_unique<WidgetAccessibilityHandler>(
        *this, juce::AccessibilityRole::staticText, juce::AccessibilityActions(), [this] { return text; });
}
} // namespace ui_core
