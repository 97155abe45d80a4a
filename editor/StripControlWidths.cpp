#include "editor/StripControlWidths.h"

#include <algorithm>
#include <cmath>

namespace StripControlWidths
{
namespace
{
int widthOf(const juce::Font& font, const juce::String& text)
{
    return static_cast<int>(std::ceil(font.getStringWidthFloat(text)));
}
} // namespace

int numberBox(const ui_core::NumberBoxStyle& style, const juce::String& caption)
{
    return std::max(widthOf(style.captionFont, caption.toUpperCase()), widthOf(style.valueFont, "512.00")) +
           2 * style.horizontalPadding;
}

int comboBox(const ui_core::InlineComboBoxStyle& style, const juce::String& caption,
             const juce::String& referenceItem)
{
    return std::max(widthOf(style.captionFont, caption.toUpperCase()),
                    widthOf(style.valueFont, referenceItem)) +
           2 * style.horizontalPadding;
}
} // namespace StripControlWidths
