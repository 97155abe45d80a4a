#pragma once

#include "controls/ThemeSettings.h"

namespace ui_panels
{
// The six theme settings as the theme card shows and reports them.
struct ThemeOverlayValues
{
    float primaryHue = 0.0f;
    float secondaryHue = 0.0f;
    float primarySaturationScale = 1.0f;
    float secondarySaturationScale = 1.0f;
    bool glowEnabled = true;
    float glowIntensity = 0.0f;

    // The theme's compiled-in defaults, which the card starts with and Reset returns to.
    static ThemeOverlayValues themeDefaults()
    {
        const ui_core::ThemeSettings defaults;
        return {defaults.primaryHue,
                defaults.secondaryHue,
                defaults.primarySaturationScale,
                defaults.secondarySaturationScale,
                defaults.glowEnabled,
                defaults.glowIntensity};
    }
};
} // namespace ui_panels
