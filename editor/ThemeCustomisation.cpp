#include "editor/ThemeCustomisation.h"

#include "controls/ThemePalette.h"
#include "controls/ThemeSettings.h"
#include "editor/ThemeOverlayStyle.h"

namespace ui_panels
{
ThemeCustomisation::ThemeCustomisation(juce::Component& windowToUse, PluginAudioProcessor& processorToUse,
                                       std::function<void()> applyToWindowToUse)
    : window(windowToUse)
    , processor(processorToUse)
    , applyToWindow(std::move(applyToWindowToUse))
    , slot(windowToUse)
{
}

void ThemeCustomisation::show()
{
    dismiss();

    const auto& theme = ui_core::themeSettings();
    themeBeforeOverlay = {
        theme.primaryHue,  theme.secondaryHue, theme.primarySaturationScale, theme.secondarySaturationScale,
        theme.glowEnabled, theme.glowIntensity};

    auto& card = slot.show(std::make_unique<ThemeOverlayPanel>(), "themeOverlay");
    card.setStyle(themeOverlayPreset());
    const auto& v = themeBeforeOverlay;
    card.setValues(v.primaryHue, v.secondaryHue, v.primarySaturationScale, v.secondarySaturationScale,
                   v.glowEnabled, v.glowIntensity);

    // The card lives inside the window and is detached before it goes: its callbacks never outlive it.
    card.onChange = [this](float primaryHue, float secondaryHue, float primarySaturation,
                           float secondarySaturation, bool glowEnabled, float glowIntensity) {
        apply({primaryHue, secondaryHue, primarySaturation, secondarySaturation, glowEnabled, glowIntensity});
    };
    card.onOk = [this](float primaryHue, float secondaryHue, float primarySaturation,
                       float secondarySaturation, bool glowEnabled, float glowIntensity)
    {
        apply({primaryHue, secondaryHue, primarySaturation, secondarySaturation, glowEnabled, glowIntensity});
        const auto& t = ui_core::themeSettings(); // as the theme took them, within its ranges
        processor.getUserSettings().saveThemeSettings({t.primaryHue, t.secondaryHue, t.primarySaturationScale,
                                                       t.secondarySaturationScale, t.glowEnabled,
                                                       t.glowIntensity});
        dismiss();
    };
    card.onCancel = [this]
    {
        apply(themeBeforeOverlay);
        dismiss();
    };
    layout();
}

void ThemeCustomisation::apply(const ThemeOverlayValues& v)
{
    ui_core::setTheme(v.primaryHue, v.secondaryHue, v.primarySaturationScale, v.secondarySaturationScale,
                      v.glowEnabled, v.glowIntensity);
    applyToWindow();
}

void ThemeCustomisation::dismiss()
{
    slot.dismiss();
}

void ThemeCustomisation::restyle()
{
    if (slot)
        slot->setStyle(themeOverlayPreset());
}

void ThemeCustomisation::layout()
{
    if (slot)
        slot->setBounds(window.getLocalBounds());
}
} // namespace ui_panels
