#pragma once

#include "controls/ThemeSettings.h"

#include <juce_events/juce_events.h>

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
//
// A record may hold fonts, and with them typefaces that belong to the framework: the record is
// emptied when the framework shuts down (the last plug-in instance going), not at static
// destruction, and built again if the framework starts once more in the same process.
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
            if (releaser == nullptr)
                releaser = new Releaser(*this);
        }
        return record;
    }

private:
    struct Releaser final : private juce::DeletedAtShutdown
    {
        explicit Releaser(ThemeTokenCache& cacheToEmpty)
            : cache(cacheToEmpty)
        {
        }
        ~Releaser() override
        {
            cache.record = Record{};
            cache.stamp = -1;
            cache.releaser = nullptr;
        }
        ThemeTokenCache& cache;
    };

    Builder builder;
    Record record{};
    std::int32_t stamp = -1;
    Releaser* releaser = nullptr;
};
} // namespace ui_core
