#pragma once

#include <juce_graphics/juce_graphics.h>

namespace ui_core
{
// Blurs a premultiplied ARGB image in place; the trace glow and the glow spill hold one each.
class PhosphorBlur
{
public:
    virtual ~PhosphorBlur() = default;
    virtual void apply(juce::Image& image) = 0;
};
} // namespace ui_core
