#pragma once

#include "controls/TextButton.h"
#include "editor/ThemeOverlayLayout.h"
#include "editor/ThemeOverlaySliderLookAndFeel.h"
#include "editor/ThemeOverlayStyle.h"
#include "editor/ThemeOverlayValues.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace ui_panels
{
// "Customize Colors": covers the whole window and shows a card with the two hues, the two
// saturation scales, the glow switch and amount, and Reset, Cancel and OK. Every change of a control
// is reported at once so that the window can preview it. The panel never deletes itself: OK, Cancel
// and a press beside the card only call back, and the owner takes it out of the window and deletes
// it on a later turn of the message loop (the callbacks may run inside a button's click).
class ThemeOverlayPanel final : public juce::Component
{
public:
    using ValuesCallback =
        std::function<void(float primaryHue, float secondaryHue, float primarySaturationScale,
                           float secondarySaturationScale, bool glowEnabled, float glowIntensity)>;

    ThemeOverlayPanel();

    // After every change of a slider, the switch or Reset.
    ValuesCallback onChange;
    // The OK button, with the values shown.
    ValuesCallback onOk;
    // The Cancel button and a mouse press beside the card.
    std::function<void()> onCancel;

    // An identical style does nothing; any other is copied, laid out and repainted.
    void setStyle(const ThemeOverlayStyle& newStyle);
    const ThemeOverlayStyle& getStyle() const noexcept { return style; }

    // Shows the values on the controls without calling onChange (the editor, when it opens the card).
    void setValues(float primaryHue, float secondaryHue, float primarySaturationScale,
                   float secondarySaturationScale, bool glowEnabled, float glowIntensity);
    const ThemeOverlayValues& getValues() const noexcept { return values; }

    const ThemeOverlayLayout& getLayout() const noexcept { return layout; }
    juce::Rectangle<int> getCardBounds() const noexcept { return layout.card; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& event) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    // The cursor keys move a slider by 1 % of its range (0.1 % with Shift), Page Up and Down by 10 %,
    // Home and End to its ends, as on the window's knobs.
    struct SliderKeys final : juce::KeyListener
    {
        bool keyPressed(const juce::KeyPress& key, juce::Component* originatingComponent) override;
    };

    void setupSlider(juce::Slider& slider, double minimum, double maximum, double value,
                     const juce::String& title, float ThemeOverlayValues::*setting);
    void setupGlowSwitch();
    void setupButton(ui_core::TextButton& button, const juce::String& text);
    void showValuesOnControls();
    void notify();
    void reset();
    void callWithValues(const ValuesCallback& callback) const;
    void cancel();

    void paintHueCaption(juce::Graphics& g, const ThemeOverlayRow& row, const juce::String& text,
                         float hue) const;
    void paintValueCaption(juce::Graphics& g, const ThemeOverlayRow& row, const juce::String& text,
                           float value, float opacity) const;
    void paintGlowSwitch(juce::Graphics& g) const;
    void paintHueTrack(juce::Graphics& g, const juce::Slider& slider, float value) const;
    void paintBarTrack(juce::Graphics& g, const juce::Slider& slider, float value) const;
    void paintThumb(juce::Graphics& g, const juce::Slider& slider, float value) const;

    ThemeOverlayStyle style;
    ThemeOverlayValues values = ThemeOverlayValues::themeDefaults();
    // Both outlive the sliders that use them.
    ThemeOverlaySliderLookAndFeel sliderLookAndFeel;
    SliderKeys sliderKeys;

    juce::Slider primaryHueSlider;
    juce::Slider secondaryHueSlider;
    juce::Slider primarySaturationSlider;
    juce::Slider secondarySaturationSlider;
    juce::ToggleButton glowSwitch;
    juce::Slider glowAmountSlider;
    ui_core::TextButton okButton{"okBtn"};
    ui_core::TextButton cancelButton{"cancelBtn"};
    ui_core::TextButton resetButton{"resetBtn"};

    ThemeOverlayLayout layout;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ThemeOverlayPanel)
};
} // namespace ui_panels
