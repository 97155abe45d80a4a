#include "visualizer/VisualizerStyle.h"

#include <tuple>

namespace ui_core
{
namespace
{
auto fieldsOf(const VisualizerStyle& s) noexcept
{
    return std::tie(s.backgroundColour, s.traceColour, s.traceThickness, s.glowEnabled, s.glowIntensity,
                    s.glowSpreadScale, s.glowSpread, s.spillOpacity, s.spillBlurScale, s.spillMarginTop,
                    s.spillMarginBottom, s.spillMarginSides, s.spillEdgeFade, s.traceCoreColour,
                    s.traceCoreThickness, s.secondTraceColour, s.secondTraceCoreColour,
                    s.secondTraceThickness, s.secondTraceAlpha, s.marginLeft, s.marginRight, s.marginTop,
                    s.marginBottom, s.gridEnabled, s.minorLineColour, s.minorLineAlpha, s.majorInterval,
                    s.majorLineColour, s.majorLineAlpha, s.centreLineColour, s.centreLineAlpha,
                    s.borderColour, s.borderAlpha, s.borderThickness, s.cornerRadius, s.cornerMaskEnabled,
                    s.cornerMaskColour, s.edgeShadeEnabled, s.edgeShadeDepth, s.edgeShadeAlpha);
}
} // namespace

bool VisualizerStyle::operator==(const VisualizerStyle& other) const noexcept
{
    return fieldsOf(*this) == fieldsOf(other);
}
} // namespace ui_core
