#include "visualizer/ThemedVisualizerStyle.h"

#include "controls/ThemePalette.h"
#include "controls/ThemeSettings.h"
#include "controls/ThemeTokenCache.h"
#include "controls/ThemeTokens.h"

namespace ui_core
{
namespace
{
VisualizerStyle buildThemedVisualizerStyle()
{
    const auto& p = palette();
    const auto& settings = themeSettings();
    const auto frameMargin = static_cast<float>(spacingScale()[7]);
    const auto cornerRadius = radiusScale()[3];

    VisualizerStyle s;
    s.backgroundColour = p.neutral0;
    s.traceColour = p.primary6;
    s.traceThickness = 2.0f;
    s.glowEnabled = settings.glowEnabled;
    s.glowIntensity = settings.glowIntensity;
    s.glowSpreadScale = 1.0f;
    s.glowSpread = 24.0f;
    s.spillOpacity = 0.25f;
    s.spillBlurScale = 4.0f;
    s.spillMarginTop = 24.0f;
    s.spillMarginBottom = 24.0f;
    s.spillMarginSides = 24.0f;
    s.spillEdgeFade = 8.0f;
    s.traceCoreColour = p.primary10;
    s.traceCoreThickness = 1.0f;
    s.secondTraceColour = p.secondary7;
    s.secondTraceCoreColour = p.secondary10;
    s.secondTraceThickness = 1.75f;
    s.secondTraceAlpha = 0.7f;
    s.marginLeft = frameMargin;
    s.marginRight = frameMargin;
    s.marginTop = 0.0f;
    s.marginBottom = 0.0f;
    s.gridEnabled = true;
    s.minorLineColour = p.neutral4;
    s.minorLineAlpha = 0.05f;
    s.majorInterval = 2;
    s.majorLineColour = p.neutral4;
    s.majorLineAlpha = 0.1f;
    s.centreLineColour = p.neutral4;
    s.centreLineAlpha = 0.15f;
    s.borderColour = p.neutral4;
    s.borderAlpha = 0.0f;
    s.borderThickness = 1.0f;
    s.cornerRadius = cornerRadius;
    s.cornerMaskEnabled = true;
    s.cornerMaskColour = p.neutral1;
    s.edgeShadeEnabled = true;
    s.edgeShadeDepth = cornerRadius; // the shade ends where the rounded corner does
    s.edgeShadeAlpha = 1.0f;
    return s;
}
} // namespace

const VisualizerStyle& themedVisualizerStyle()
{
    static ThemeTokenCache<VisualizerStyle> cache(&buildThemedVisualizerStyle);
    return cache.get();
}
} // namespace ui_core
