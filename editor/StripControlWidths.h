#pragma once

#include "controls/InlineComboBoxStyle.h"
#include "controls/NumberBoxStyle.h"

#include <juce_core/juce_core.h>

// Widths of the strip's measured controls: the wider of the upper-case caption and a reference value,
// each rounded up to a whole pixel, plus the horizontal paddings.
namespace StripControlWidths
{
// The latency boxes: caption "X Lag", reference value "512.00".
int numberBox(const ui_core::NumberBoxStyle& style, const juce::String& caption);

// A combo box with its caption and its widest entry ("Mean", "128k", "tfunc", "500").
int comboBox(const ui_core::InlineComboBoxStyle& style, const juce::String& caption,
             const juce::String& referenceItem);
} // namespace StripControlWidths
