#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <cstddef>

// The framework's value-tree parser trusts the counts and sizes it reads: ten bytes can make it
// reserve gigabytes for children, spin through two billion property slots, recurse until the stack
// runs out or negate INT_MIN. Preset files and host blobs are untrusted, so they are walked first
// with the same grammar and refused when a count or size exceeds the bytes that remain, the
// nesting is deeper than any real tree, an element names a property twice, a text is not valid
// UTF-8 (the framework would write it back with a wrong length, so the next saved state would be
// unreadable) or a number is not finite.
namespace ValueTreeStreamCheck
{
inline constexpr int maximumDepth = 32;

// True when the framework's parser can read these bytes without any of the hazards above. Says
// nothing about the tree being meaningful.
bool isSafeToParse(const void* data, std::size_t size);
} // namespace ValueTreeStreamCheck

// ValueTree::readFromData behind the check above; an invalid tree when the bytes are refused.
juce::ValueTree readValueTreeSafely(const void* data, std::size_t size);
