#pragma once

#include <juce_core/juce_core.h>

namespace update_check
{
// Whether latest is a newer release than current. Both split at every "." (empty pieces kept); piece
// by piece, each counts as the number its leading decimal digits spell (0 without any, 0 when
// missing), and the first unequal pair decides. The numbers are compared as digit strings, so a
// piece of any length compares correctly and nothing overflows.
bool isNewerVersion(const juce::String& latest, const juce::String& current);
} // namespace update_check
