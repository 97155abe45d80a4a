#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace ui_core
{
// Keyboard control of a knob or number box: the cursor keys step the value by 1 % of the range
// (0.1 % with Shift), Page Up and Page Down by 10 %, Home and End go to the ends. Each step is one
// gesture. Returns whether the key was one of these.
bool stepSliderWithKey(juce::Slider& slider, const juce::KeyPress& key);
} // namespace ui_core
