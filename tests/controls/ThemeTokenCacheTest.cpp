#include "controls/ThemeTokenCache.h"

#include "ThemeTestSupport.h"

namespace
{
// A record that remembers which build produced it and which hue it saw.
struct CountedRecord
{
    int build = 0;
    float primaryHue = 0.0f;
};

int builds = 0;

CountedRecord buildCountedRecord()
{
    return {++builds, ui_core::themeSettings().primaryHue};
}
} // namespace

TEST_F(ThemeTest, RecordIsBuiltOnceAndKeptUntilTheNextSetTheme)
{
    builds = 0;
    ui_core::ThemeTokenCache<CountedRecord> cache(&buildCountedRecord);

    const auto& first = cache.get();
    const auto& again = cache.get();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(&first, &again) << "callers get the same record, not a copy";

    ui_core::setTheme(0.4f, 0.1f, 1.0f, 1.0f, true, 0.5f);
    EXPECT_EQ(builds, 1) << "a theme change costs nothing until the record is asked for";

    EXPECT_EQ(cache.get().build, 2);
    EXPECT_FLOAT_EQ(cache.get().primaryHue, 0.4f);
    EXPECT_EQ(builds, 2);

    // Unchanged values still count as a change.
    const auto& s = ui_core::themeSettings();
    ui_core::setTheme(s.primaryHue, s.secondaryHue, s.primarySaturationScale, s.secondarySaturationScale,
                      s.glowEnabled, s.glowIntensity);
    cache.get();
    cache.get();
    EXPECT_EQ(builds, 3);
}
