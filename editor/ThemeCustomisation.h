#pragma once

#include "core/PluginAudioProcessor.h"
#include "editor/OverlaySlot.h"
#include "editor/ThemeOverlayPanel.h"
#include "editor/ThemeOverlayValues.h"

#include <functional>

namespace ui_panels
{
// "Customize Colors": the theme card over the window. Every change re-themes the whole window at once
// (through applyToWindow); OK stores the theme for every later window, Cancel and a click beside the
// card return to the theme of the moment it opened.
class ThemeCustomisation
{
public:
    ThemeCustomisation(juce::Component& window, PluginAudioProcessor& processor,
                       std::function<void()> applyToWindow);

    void show();
    void dismiss();
    ThemeOverlayPanel* get() const noexcept { return slot.get(); }
    void restyle();
    void layout();

private:
    void apply(const ThemeOverlayValues& values);

    juce::Component& window;
    PluginAudioProcessor& processor;
    std::function<void()> applyToWindow;
    OverlaySlot<ThemeOverlayPanel> slot;
    ThemeOverlayValues themeBeforeOverlay = ThemeOverlayValues::themeDefaults();
};
} // namespace ui_panels
