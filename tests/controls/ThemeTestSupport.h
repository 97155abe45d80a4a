#pragma once

#include "controls/ThemeSettings.h"

#include <gtest/gtest.h>

// The theme is process-wide: every test that changes it starts from and returns to the defaults.
class ThemeTest : public ::testing::Test
{
protected:
    void SetUp() override { restoreDefaults(); }
    void TearDown() override { restoreDefaults(); }

    static void restoreDefaults()
    {
        const ui_core::ThemeSettings defaults;
        ui_core::setTheme(defaults.primaryHue, defaults.secondaryHue, defaults.primarySaturationScale,
                          defaults.secondarySaturationScale, defaults.glowEnabled, defaults.glowIntensity);
    }
};
