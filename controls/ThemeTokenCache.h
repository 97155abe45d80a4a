#pragma once

#include "controls/ThemeSettings.h"

#include <cstdint>

namespace ui_core
{
// A record derived from the theme, rebuilt on the first request after each theme change and kept
// otherwise. Used as a function-local static:
//
//     const ThemePalette& palette()
//     {
//         static ThemeTokenCache<ThemePalette> cache(&ThemePalette::build);
//         return cache.get();
//     }
//
// A theme change therefore costs nothing until the next paint or style rebuild asks for the record.
// Callers read what they need at once and keep copies of the colours, never the reference, across
// theme changes.
template <typename Record>
class ThemeTokenCache
{
public:
    using Builder = Record (*)();

    explicit ThemeTokenCache(Builder builderToUse) noexcept
        : builder(builderToUse)
    {
    }

    const Record& get()
    {
        const auto version = currentThemeVersion();
        if (stamp != version)
        {
            // Built aside and copied over in one go, so the record is never half old, half new.
            const Record rebuilt = builder();
            record = rebuilt;
            stamp = version;
        }
        return record;
    }

private:
    Builder builder;
    Record record{};
    std::int32_t stamp = -1;
};
} // namespace ui_core
