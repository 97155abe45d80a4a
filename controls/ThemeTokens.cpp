#include "controls/ThemeTokens.h"

#include "controls/ThemePalette.h"
#include "controls/ThemeTokenCache.h"

namespace ui_core
{
namespace
{
StateOpacities buildStateOpacities()
{
    return {{0.4f, 0.6f, 0.8f, 0.4f, 0.6f, 0.8f, 0.4f,  0.6f, 0.6f,  0.4f, 0.6f,
             0.6f, 0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.25f, 0.0f, 0.0f,  0.0f, 0.0f,
             0.0f, 0.0f, 1.0f, 0.8f, 0.6f, 0.4f, 0.15f, 0.1f, 0.05f, 0.0f}};
}

RadiusScale buildRadiusScale()
{
    return {{0.0f, 2.0f, 4.0f, 6.0f, 8.0f, 8.0f, 10.0f, 12.0f}};
}

SpacingScale buildSpacingScale()
{
    return {{6, 16, 8, 0, 2, 3, 4, 8, 12}};
}

StrokeScale buildStrokeScale()
{
    return {{4.0f, 1.0f, 1.5f, 2.0f, 2.5f}};
}

TextColours buildTextColours()
{
    const auto& p = palette();
    return {{p.neutral0, p.neutral9, p.neutral6, p.neutral3, p.primary5, p.primary8, p.neutral0}};
}
} // namespace

const StateOpacities& stateOpacities()
{
    static ThemeTokenCache<StateOpacities> cache(&buildStateOpacities);
    return cache.get();
}

const RadiusScale& radiusScale()
{
    static ThemeTokenCache<RadiusScale> cache(&buildRadiusScale);
    return cache.get();
}

const SpacingScale& spacingScale()
{
    static ThemeTokenCache<SpacingScale> cache(&buildSpacingScale);
    return cache.get();
}

const StrokeScale& strokeScale()
{
    static ThemeTokenCache<StrokeScale> cache(&buildStrokeScale);
    return cache.get();
}

const TextColours& textColours()
{
    static ThemeTokenCache<TextColours> cache(&buildTextColours);
    return cache.get();
}
} // namespace ui_core
