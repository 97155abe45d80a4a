#include "editor/ThemeOverlayPanel.h"

#include "controls/SliderKeyboardControl.h"
#include "controls/StyleColours.h"
#include "controls/WidgetAccessibilityHandler.h"

#include <algorithm>

namespace ui_panels
{
namespace
{
const juce::String cardTitle{"Customize Colors"};
constexpr double sliderStep = 0.001;
constexpr int hueSegments = 36;
constexpr float thumbDiameter = 10.0f;
// Captions never grow wider than this; the rest of the row is the swatch or the value.
constexpr int captionWidth = 100;
// The glow amount's caption and value while glow is off.
constexpr float disabledCaptionOpacity = 0.3f;

// The span a slider's track is drawn on: inset at both ends, centred vertically.
struct TrackSpan
{
    float left, width, centreY;
};

TrackSpan trackSpanOf(const juce::Slider& slider)
{
    const auto bounds = slider.getBounds().toFloat();
    const auto inset = static_cast<float>(themeOverlayTrackInset);
    return {bounds.getX() + inset, std::max(bounds.getWidth() - 2.0f * inset, 0.0f), bounds.getCentreY()};
}
} // namespace

bool ThemeOverlayPanel::SliderKeys::keyPressed(const juce::KeyPress& key,
                                               juce::Component* originatingComponent)
{
    if (auto* slider = dynamic_cast<juce::Slider*>(originatingComponent))
        return ui_core::stepSliderWithKey(*slider, key);
    return false;
}

ThemeOverlayPanel::ThemeOverlayPanel()
{
    setupSlider(primaryHueSlider, 0.0, 1.0, values.primaryHue, "Primary Hue",
                &ThemeOverlayValues::primaryHue);
    setupSlider(secondaryHueSlider, 0.0, 1.0, values.secondaryHue, "Secondary Hue",
                &ThemeOverlayValues::secondaryHue);
    setupSlider(primarySaturationSlider, 0.25, 2.0, values.primarySaturationScale, "Primary Saturation",
                &ThemeOverlayValues::primarySaturationScale);
    setupSlider(secondarySaturationSlider, 0.25, 2.0, values.secondarySaturationScale, "Secondary Saturation",
                &ThemeOverlayValues::secondarySaturationScale);
    setupSlider(glowAmountSlider, 0.0, 1.0, values.glowIntensity, "Glow Amount",
                &ThemeOverlayValues::glowIntensity);
    setupGlowSwitch();

    setupButton(okButton, "OK");
    setupButton(cancelButton, "Cancel");
    setupButton(resetButton, "Reset");
    okButton.onClick = [this] { callWithValues(onOk); };
    cancelButton.onClick = [this] { cancel(); };
    resetButton.onClick = [this] { reset(); };

    for (auto* child : std::initializer_list<juce::Component*>{
             &primaryHueSlider, &secondaryHueSlider, &primarySaturationSlider, &secondarySaturationSlider,
             &glowSwitch, &glowAmountSlider, &resetButton, &cancelButton, &okButton})
        addAndMakeVisible(child);

    setInterceptsMouseClicks(true, true);
    setAlwaysOnTop(true);
    // Tab moves between the card's controls only, while the card is open.
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
    showValuesOnControls();
}

void ThemeOverlayPanel::setupSlider(juce::Slider& slider, double minimum, double maximum, double value,
                                    const juce::String& title, float ThemeOverlayValues::*setting)
{
    slider.setRange(minimum, maximum, sliderStep);
    slider.setValue(value, juce::dontSendNotification);
    slider.setSliderStyle(juce::Slider::LinearHorizontal);
    slider.setTextBoxStyle(juce::Slider::NoTextBox, true, 0, 0);
    // The card paints the tracks and thumbs.
    for (const auto id :
         {juce::Slider::backgroundColourId, juce::Slider::trackColourId, juce::Slider::thumbColourId})
        slider.setColour(id, juce::Colours::transparentBlack);
    slider.setLookAndFeel(&sliderLookAndFeel);
    // The slider draws nothing of its own, so hovering it changes nothing on screen.
    slider.setRepaintsOnMouseActivity(false);
    slider.setTitle(title);
    slider.setWantsKeyboardFocus(true);
    slider.addKeyListener(&sliderKeys);
    slider.onValueChange = [this, &slider, setting]
    {
        values.*setting = static_cast<float>(slider.getValue());
        notify();
    };
}

void ThemeOverlayPanel::setupGlowSwitch()
{
    glowSwitch.setToggleState(values.glowEnabled, juce::dontSendNotification);
    glowSwitch.setButtonText({});
    glowSwitch.setColour(juce::ToggleButton::tickColourId, juce::Colours::transparentBlack);
    glowSwitch.setColour(juce::ToggleButton::tickDisabledColourId, juce::Colours::transparentBlack);
    glowSwitch.setRepaintsOnMouseActivity(false);
    glowSwitch.setTitle("Glow");
    glowSwitch.onClick = [this]
    {
        values.glowEnabled = glowSwitch.getToggleState();
        glowAmountSlider.setEnabled(values.glowEnabled);
        notify();
    };
}

void ThemeOverlayPanel::setupButton(ui_core::TextButton& button, const juce::String& text)
{
    button.setComponentID(button.getName());
    button.setText(text);
    button.setStyle(style.buttonStyle);
}

void ThemeOverlayPanel::setStyle(const ThemeOverlayStyle& newStyle)
{
    if (newStyle == style)
        return;
    style = newStyle;
    for (auto* button : {&resetButton, &cancelButton, &okButton})
        button->setStyle(style.buttonStyle);
    resized();
    repaint();
}

void ThemeOverlayPanel::setValues(float primaryHue, float secondaryHue, float primarySaturationScale,
                                  float secondarySaturationScale, bool glowEnabled, float glowIntensity)
{
    values = {primaryHue,  secondaryHue, primarySaturationScale, secondarySaturationScale,
              glowEnabled, glowIntensity};
    showValuesOnControls();
    repaint(layout.card);
}

void ThemeOverlayPanel::showValuesOnControls()
{
    primaryHueSlider.setValue(values.primaryHue, juce::dontSendNotification);
    secondaryHueSlider.setValue(values.secondaryHue, juce::dontSendNotification);
    primarySaturationSlider.setValue(values.primarySaturationScale, juce::dontSendNotification);
    secondarySaturationSlider.setValue(values.secondarySaturationScale, juce::dontSendNotification);
    glowSwitch.setToggleState(values.glowEnabled, juce::dontSendNotification);
    glowAmountSlider.setValue(values.glowIntensity, juce::dontSendNotification);
    glowAmountSlider.setEnabled(values.glowEnabled);
}

void ThemeOverlayPanel::notify()
{
    // Only the card shows the values; the rest of the panel is see-through.
    repaint(layout.card);
    callWithValues(onChange);
}

void ThemeOverlayPanel::reset()
{
    values = ThemeOverlayValues::themeDefaults();
    showValuesOnControls();
    notify();
}

void ThemeOverlayPanel::callWithValues(const ValuesCallback& callback) const
{
    // Called through copies, so that the owner may replace the callbacks, or take the panel out of
    // the window, from inside them.
    if (callback == nullptr)
        return;
    const auto call = callback;
    const auto v = values;
    call(v.primaryHue, v.secondaryHue, v.primarySaturationScale, v.secondarySaturationScale, v.glowEnabled,
         v.glowIntensity);
}

void ThemeOverlayPanel::cancel()
{
    if (onCancel == nullptr)
        return;
    const auto call = onCancel;
    call();
}

void ThemeOverlayPanel::resized()
{
    layout = layOutThemeOverlay(style, getWidth(), getHeight());
    primaryHueSlider.setBounds(layout.primaryHue.slider);
    secondaryHueSlider.setBounds(layout.secondaryHue.slider);
    primarySaturationSlider.setBounds(layout.primarySaturation.slider);
    secondarySaturationSlider.setBounds(layout.secondarySaturation.slider);
    glowSwitch.setBounds(layout.glowSwitch);
    glowAmountSlider.setBounds(layout.glowAmount.slider);
    resetButton.setBounds(layout.resetButton);
    cancelButton.setBounds(layout.cancelButton);
    okButton.setBounds(layout.okButton);
    glowAmountSlider.setEnabled(values.glowEnabled);
}

void ThemeOverlayPanel::mouseDown(const juce::MouseEvent& event)
{
    // Presses on the controls reach the controls; a press on the card's own background does nothing.
    if (event.eventComponent == this && !layout.card.contains(event.getPosition()))
        cancel();
}

void ThemeOverlayPanel::paint(juce::Graphics& g)
{
    const auto card = layout.card.toFloat();
    g.setColour(style.cardBackground);
    g.fillRoundedRectangle(card, style.cornerRadius);
    g.setColour(style.cardBorder);
    g.drawRoundedRectangle(card.reduced(style.borderThickness * 0.5f), style.cornerRadius,
                           style.borderThickness);

    g.setColour(style.titleColour);
    g.setFont(style.titleFont);
    g.drawText(cardTitle, layout.title, juce::Justification::centredLeft, true);

    paintHueCaption(g, layout.primaryHue, "Primary Hue", values.primaryHue);
    paintHueCaption(g, layout.secondaryHue, "Secondary Hue", values.secondaryHue);
    paintValueCaption(g, layout.primarySaturation, "Primary Sat", values.primarySaturationScale, 1.0f);
    paintValueCaption(g, layout.secondarySaturation, "Secondary Sat", values.secondarySaturationScale, 1.0f);
    paintGlowSwitch(g);
    paintValueCaption(g, layout.glowAmount, "Glow Amount", values.glowIntensity,
                      values.glowEnabled ? 1.0f : disabledCaptionOpacity);

    paintHueTrack(g, primaryHueSlider, values.primaryHue);
    paintHueTrack(g, secondaryHueSlider, values.secondaryHue);
    paintBarTrack(g, primarySaturationSlider, values.primarySaturationScale);
    paintBarTrack(g, secondarySaturationSlider, values.secondarySaturationScale);
    if (values.glowEnabled)
        paintBarTrack(g, glowAmountSlider, values.glowIntensity);
}

void ThemeOverlayPanel::paintHueCaption(juce::Graphics& g, const ThemeOverlayRow& row,
                                        const juce::String& text, float hue) const
{
    const auto swatchWidth = std::min(row.label.getWidth(), style.swatchWidth);
    const auto swatch = row.label.withLeft(row.label.getRight() - swatchWidth).reduced(1);
    g.setColour(juce::Colour(hue, 0.6f, 0.9f, 1.0f));
    g.fillRoundedRectangle(swatch.toFloat(), style.swatchCornerRadius);

    g.setColour(style.labelColour);
    g.setFont(style.labelFont);
    g.drawText(text, row.label.withWidth(std::min(row.label.getWidth() - swatchWidth - 4, captionWidth)),
               juce::Justification::centredLeft, false);
}

void ThemeOverlayPanel::paintValueCaption(juce::Graphics& g, const ThemeOverlayRow& row,
                                          const juce::String& text, float value, float opacity) const
{
    auto caption = row.label;
    const auto label = caption.removeFromLeft(std::min(caption.getWidth(), captionWidth));
    const auto valueBox = caption.removeFromRight(std::min(caption.getWidth(), style.swatchWidth + 10));

    g.setColour(ui_core::fadedBy(style.labelColour, opacity));
    g.setFont(style.labelFont);
    g.drawText(text, label, juce::Justification::centredLeft, false);

    g.setColour(ui_core::fadedBy(style.valueColour, opacity));
    g.setFont(style.valueFont);
    g.drawText(juce::String(value, 2), valueBox, juce::Justification::centredRight, false);
}

void ThemeOverlayPanel::paintGlowSwitch(juce::Graphics& g) const
{
    g.setColour(style.labelColour);
    g.setFont(style.labelFont);
    g.drawText("Glow",
               layout.glowRow.withWidth(
                   std::min(layout.glowRow.getWidth() - layout.glowSwitch.getWidth() - 4, captionWidth)),
               juce::Justification::centredLeft, false);

    const auto box = layout.glowSwitch.toFloat().reduced(2.0f);
    g.setColour(style.trackColour);
    g.fillRoundedRectangle(box, style.swatchCornerRadius);
    if (values.glowEnabled)
    {
        g.setColour(style.thumbColour);
        g.fillRoundedRectangle(box.reduced(3.0f), 2.0f);
    }
}

void ThemeOverlayPanel::paintHueTrack(juce::Graphics& g, const juce::Slider& slider, float value) const
{
    const auto span = trackSpanOf(slider);
    const auto segmentWidth = span.width / static_cast<float>(hueSegments);
    for (int i = 0; i < hueSegments; ++i)
    {
        g.setColour(juce::Colour(static_cast<float>(i) / static_cast<float>(hueSegments), 0.7f, 0.85f, 1.0f));
        // One pixel wider than the step, so that no seam shows between neighbours.
        g.fillRect(juce::Rectangle<float>(span.left + static_cast<float>(i) * segmentWidth,
                                          span.centreY - 3.0f, segmentWidth + 1.0f, 6.0f));
    }
    paintThumb(g, slider, value);
}

void ThemeOverlayPanel::paintBarTrack(juce::Graphics& g, const juce::Slider& slider, float value) const
{
    const auto span = trackSpanOf(slider);
    g.setColour(style.trackColour);
    g.fillRoundedRectangle(span.left, span.centreY - 2.0f, span.width, 4.0f, 2.0f);
    paintThumb(g, slider, value);
}

void ThemeOverlayPanel::paintThumb(juce::Graphics& g, const juce::Slider& slider, float value) const
{
    const auto span = trackSpanOf(slider);
    const auto range = slider.getMaximum() - slider.getMinimum();
    const auto fraction = range > 0.0 ? juce::jlimit(0.0, 1.0, (value - slider.getMinimum()) / range) : 0.0;
    const auto thumb = juce::Rectangle<float>(thumbDiameter, thumbDiameter)
                           .withCentre({span.left + span.width * static_cast<float>(fraction), span.centreY});
    g.setColour(style.thumbColour);
    g.fillEllipse(thumb);
    g.setColour(style.cardBorder);
    g.drawEllipse(thumb, 1.0f);
}

std::unique_ptr<juce::AccessibilityHandler> ThemeOverlayPanel::createAccessibilityHandler()
{
    return std::make_unique<ui_core::WidgetAccessibilityHandler>(
        *this, juce::AccessibilityRole::dialogWindow, juce::AccessibilityActions(), [] { return cardTitle; });
}
} // namespace ui_panels
