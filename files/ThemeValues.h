#pragma once

// The six theme values as the theme settings file holds them. The GUI side hands them to the
// window's theme (ui_core::setTheme); this record keeps the file code free of GUI modules.
struct ThemeValues
{
    double primaryHue = 0.011;
    double secondaryHue = 0.086;
    double primarySaturationScale = 1.0;
    double secondarySaturationScale = 1.0;
    bool glowEnabled = true;
    double glowIntensity = 0.716;
};
