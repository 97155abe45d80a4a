#pragma once

#include <juce_core/juce_core.h>

namespace ui_panels
{
// The logo's six layers as SVG text, bottom first: frame, screen, grid, ticks, curve and lamp, each
// in a 64 x 64 view box, drawn in black for MultiLayerLogoButton to recolour.
juce::StringArray logoLayers();
} // namespace ui_panels
