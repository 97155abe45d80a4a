#include "controls/ThemePalette.h"

#include "controls/ThemeSettings.h"
#include "controls/ThemeTokenCache.h"

#include <algorithm>

namespace ui_core
{
namespace
{
template <std::size_t steps>
juce::Colour shadeOf(const std::array<RampStep, steps>& ramp, std::size_t n, float hue, float saturationScale)
{
    const auto& step = ramp[std::min(n, steps - 1)];
    const auto saturation = std::clamp(saturationScale * step.saturationFactor, 0.0f, 1.0f);
    return juce::Colour(hue, saturation, step.brightness, 1.0f);
}
} // namespace

juce::Colour primaryShade(std::size_t n)
{
    const auto& settings = themeSettings();
    return shadeOf(primaryRamp, n, settings.primaryHue, settings.primarySaturationScale);
}

juce::Colour secondaryShade(std::size_t n)
{
    const auto& settings = themeSettings();
    return shadeOf(secondaryRamp, n, settings.secondaryHue, settings.secondarySaturationScale);
}

juce::Colour neutralShade(std::size_t n)
{
    const auto& settings = themeSettings();
    return shadeOf(neutralRamp, n, settings.primaryHue, settings.primarySaturationScale);
}

ThemePalette ThemePalette::build()
{
    ThemePalette p;
    juce::Colour* neutrals[] = {&p.neutral0, &p.neutral1, &p.neutral2, &p.neutral3, &p.neutral4,
                                &p.neutral5, &p.neutral6, &p.neutral7, &p.neutral8, &p.neutral9};
    juce::Colour* primaries[] = {&p.primary0, &p.primary1, &p.primary2, &p.primary3, &p.primary4, &p.primary5,
                                 &p.primary6, &p.primary7, &p.primary8, &p.primary9, &p.primary10};
    juce::Colour* secondaries[] = {&p.secondary0, &p.secondary1, &p.secondary2, &p.secondary3,
                                   &p.secondary4, &p.secondary5, &p.secondary6, &p.secondary7,
                                   &p.secondary8, &p.secondary9, &p.secondary10};

    static_assert(std::size(neutrals) == neutralRamp.size());
    static_assert(std::size(primaries) == primaryRamp.size());
    static_assert(std::size(secondaries) == secondaryRamp.size());

    for (std::size_t i = 0; i < std::size(neutrals); ++i)
        *neutrals[i] = neutralShade(i);
    for (std::size_t i = 0; i < std::size(primaries); ++i)
        *primaries[i] = primaryShade(i);
    for (std::size_t i = 0; i < std::size(secondaries); ++i)
        *secondaries[i] = secondaryShade(i);
    return p;
}

const ThemePalette& palette()
{
    static ThemeTokenCache<ThemePalette> cache(&ThemePalette::build);
    return cache.get();
}
} // namespace ui_core
