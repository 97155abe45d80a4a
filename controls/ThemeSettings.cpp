#include "controls/ThemeSettings.h"

#include <algorithm>
#include <cmath>

namespace ui_core
{
namespace
{
ThemeSettings& mutableSettings() noexcept
{
    static ThemeSettings settings;
    return settings;
}

float limited(float value, float lowest, float highest, float fallback) noexcept
{
    return std::isnan(value) ? fallback : std::clamp(value, lowest, highest);
}
} // namespace

const ThemeSettings& themeSettings() noexcept
{
    return mutableSettings();
}

void setTheme(float primaryHue, float secondaryHue, float primarySaturationScale,
              float secondarySaturationScale, bool glowEnabled, float glowIntensity) noexcept
{
    const ThemeSettings defaults;
    auto& settings = mutableSettings();
    settings.primaryHue = limited(primaryHue, 0.0f, 1.0f, defaults.primaryHue);
    settings.secondaryHue = limited(secondaryHue, 0.0f, 1.0f, defaults.secondaryHue);
    settings.primarySaturationScale =
        limited(primarySaturationScale, 0.25f, 2.0f, defaults.primarySaturationScale);
    settings.secondarySaturationScale =
        limited(secondarySaturationScale, 0.25f, 2.0f, defaults.secondarySaturationScale);
    settings.glowEnabled = glowEnabled;
    settings.glowIntensity = limited(glowIntensity, 0.0f, 1.0f, defaults.glowIntensity);

    // Released after the values, so a reader that sees the new version also sees the new values.
    settings.themeVersion.fetch_add(1, std::memory_order_acq_rel);
}
} // namespace ui_core
