#pragma once

#include <juce_core/juce_core.h>

namespace ui_core
{
// The control strip's icons as SVG text: 24 x 24 view boxes drawn in black, for IconButton::setIcon.
juce::String playIconSvg();
juce::String freezeIconSvg();
juce::String saveIconSvg();
} // namespace ui_core
