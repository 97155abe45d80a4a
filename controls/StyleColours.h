#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// The colour with its alpha replaced by an opacity given as a float: 0 or less (and NaN) is
// transparent, 1 or more opaque.
inline juce::Colour atOpacity(juce::Colour colour, float opacity) noexcept
{
    if (!(opacity > 0.0f))
        return colour.withAlpha(static_cast<juce::uint8>(0));
    if (opacity >= 1.0f)
        return colour.withAlpha(static_cast<juce::uint8>(255));
    return colour.withAlpha(opacity);
}

// The colour with its own alpha scaled (a disabled widget draws its texts at 40 %).
inline juce::Colour fadedBy(juce::Colour colour, float factor) noexcept
{
    return atOpacity(colour, colour.getFloatAlpha() * factor);
}
} // namespace ui_core
