#pragma once

#include <atomic>
#include <cstdint>

namespace ui_core
{
// The six user settings every themed colour is derived from, one instance for the whole process.
// Read and written on the message thread; themeVersion counts the changes so that cached token
// records can tell that they are stale.
struct ThemeSettings
{
    float primaryHue = 0.011f;             // fraction of a turn, 0..1
    float secondaryHue = 0.086f;           // fraction of a turn, 0..1
    float primarySaturationScale = 1.0f;   // 0.25..2
    float secondarySaturationScale = 1.0f; // 0.25..2
    bool glowEnabled = true;
    float glowIntensity = 0.716f; // 0..1
    std::atomic<std::int32_t> themeVersion{0};
};

// The process-wide settings, starting at the defaults above.
const ThemeSettings& themeSettings() noexcept;

// Stores the six values, each limited to its range (NaN falls back to the default), and bumps
// themeVersion even when nothing changed, so that every cached record is rebuilt once.
void setTheme(float primaryHue, float secondaryHue, float primarySaturationScale,
              float secondarySaturationScale, bool glowEnabled, float glowIntensity) noexcept;

inline std::int32_t currentThemeVersion() noexcept
{
    return themeSettings().themeVersion.load(std::memory_order_acquire);
}
} // namespace ui_core
