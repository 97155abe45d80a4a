#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace ui_core
{
// Takes a component out of its parent at once and deletes it on a later turn of the message loop,
// for components whose own callback is still on the stack (a text editor committing on Return).
void deleteOnNextMessageLoopTurn(std::unique_ptr<juce::Component> component);
} // namespace ui_core
