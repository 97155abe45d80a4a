#pragma once

#include "visualizer/VisualizerStyle.h"

namespace ui_core
{
// The visualizer as the window shows it: shades of the current theme, the theme's glow settings,
// the frame's inner margin and corner radius. Rebuilt on the first call after a theme change; the
// editor hands a copy to WaveformVisualizer::setStyle after construction and after every change.
const VisualizerStyle& themedVisualizerStyle();
} // namespace ui_core
